#pragma once
// The "host" member of a sale: how the simulated devices and services behave.
#include <string>

#include <nlohmann/json.hpp>

#include "host/pos/host_simulator.h"

namespace recebimento::harness {

// InputError naming the member at fault.
pos::SimulatorConfig ParseHostConfig(const nlohmann::ordered_json& host, const std::string& host_dir);

// The answer to a dialog of that kind from its JSON form: true/false, a text or number,
// an object of the fields the dialog knows, or null for a dismissed dialog. InputError
// naming the member for a field the dialog does not know, or fields for a dialog that
// takes a value.
pos::DialogAnswer ParseDialogAnswer(const nlohmann::ordered_json& answer, const std::string& where,
                                    const std::string& kind);

}  // namespace recebimento::harness
