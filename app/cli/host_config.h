#pragma once
// The "host" member of a sale: how the simulated devices and services behave.
#include <string>

#include <nlohmann/json.hpp>

#include "host/pos/host_simulator.h"

namespace recebimento::cli {

// InputError naming the member at fault.
pos::SimulatorConfig ParseHostConfig(const nlohmann::ordered_json& host, const std::string& host_dir);

// A dialog answer from its JSON form: true/false, a text or number, an object of
// fields, or null for a dismissed dialog.
pos::DialogAnswer ParseDialogAnswer(const nlohmann::ordered_json& answer, const std::string& where);

}  // namespace recebimento::cli
