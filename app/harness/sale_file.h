#pragma once
// SALE.json: {"args": {...}, "datasets": {...}, "host": {...}}. Arguments by their names
// in the argument table, datasets by name, and the script of the simulated host.
#include <map>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "base/dataset.h"
#include "package/recebimento_args.h"

namespace recebimento::harness {

struct Sale {
  package::RecebimentoArgs args;
  // One dataset object per dataset argument, owned here as the host owns them; the
  // arguments point at these.
  std::map<std::string, std::unique_ptr<base::Dataset>> datasets;
  nlohmann::ordered_json host = nlohmann::ordered_json::object();
};

// InputError naming the member at fault.
std::unique_ptr<Sale> ParseSale(const nlohmann::ordered_json& sale);
// Also InputError when the file cannot be read or is not JSON.
std::unique_ptr<Sale> LoadSale(const std::string& path);

}  // namespace recebimento::harness
