#include "sale_file.h"

#include <fstream>
#include <sstream>

#include "base/text.h"
#include "host/pos/sale_dataset_layouts.h"
#include "json_text.h"
#include "json_values.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;
using package::ArgumentInfo;
using package::RecebimentoArgs;

namespace {

bool IsDatasetArgument(const ArgumentInfo& a) {
  return std::holds_alternative<base::Dataset * RecebimentoArgs::*>(a.member);
}

void SetArgument(RecebimentoArgs& args, const ArgumentInfo& info, const json& v, const std::string& where) {
  std::visit(
      [&](auto member) {
        using M = decltype(member);
        if constexpr (std::is_same_v<M, std::string RecebimentoArgs::*>) {
          if (!v.is_string()) throw InputError(where + ": expected a text, got " + JsonExcerpt(v));
          args.*member = v.get<std::string>();
        } else if constexpr (std::is_same_v<M, double RecebimentoArgs::*>) {
          if (!v.is_number()) throw InputError(where + ": expected an amount, got " + JsonExcerpt(v));
          args.*member = v.get<double>();
        } else if constexpr (std::is_same_v<M, bool RecebimentoArgs::*>) {
          if (!v.is_boolean()) throw InputError(where + ": expected true or false, got " + JsonExcerpt(v));
          args.*member = v.get<bool>();
        } else if constexpr (std::is_same_v<M, std::vector<std::string> RecebimentoArgs::*>) {
          if (!v.is_array()) throw InputError(where + ": expected a list of texts");
          std::vector<std::string> lines;
          for (size_t i = 0; i < v.size(); ++i) {
            if (!v[i].is_string()) throw InputError(where + "[" + std::to_string(i) + "]: expected a text");
            lines.push_back(v[i].get<std::string>());
          }
          args.*member = lines;
        } else {
          throw InputError(where + ": datasets go under \"datasets\", not \"args\"");
        }
      },
      info.member);
}

// `[]` is the plain way to say "none" (no cancelled items, no payments yet): an open,
// empty dataset with the columns the host contract gives it.
void LoadSaleDataset(base::Dataset& ds, const std::string& name, const json& v, const std::string& where) {
  const std::vector<base::FieldDef>* layout = pos::FixedDatasetLayout(name);
  if (!v.is_array() || !v.empty() || !layout) {
    LoadDataset(ds, v, where);
    return;
  }
  ds.Close();
  ds.SetFields(*layout);
  ds.CreateDataSet();
}

}  // namespace

std::unique_ptr<Sale> ParseSale(const json& sale) {
  if (!sale.is_object()) throw InputError("sale: the file must hold one JSON object");
  for (const auto& [key, v] : sale.items())
    if (key != "args" && key != "datasets" && key != "host")
      throw InputError(base::Excerpt(key) + ": unknown member (expected args, datasets, host)");

  auto out = std::make_unique<Sale>();
  for (const auto& info : package::ArgumentTable()) {
    if (!IsDatasetArgument(info)) continue;
    auto ds = std::make_unique<base::Dataset>(info.name);
    out->args.*std::get<base::Dataset * RecebimentoArgs::*>(info.member) = ds.get();
    out->datasets[info.name] = std::move(ds);
  }

  if (sale.contains("args")) {
    const json& args = sale["args"];
    if (!args.is_object()) throw InputError("args: expected an object of arguments by name");
    for (const auto& [name, v] : args.items()) {
      const ArgumentInfo* info = package::FindArgument(name);
      if (!info) throw InputError("args." + base::Excerpt(name) + ": no argument of that name");
      SetArgument(out->args, *info, v, "args." + name);
    }
  }
  if (sale.contains("datasets")) {
    const json& datasets = sale["datasets"];
    if (!datasets.is_object()) throw InputError("datasets: expected an object of datasets by name");
    for (const auto& [name, v] : datasets.items()) {
      auto it = out->datasets.find(name);
      if (it == out->datasets.end())
        throw InputError("datasets." + base::Excerpt(name) + ": no dataset argument of that name");
      LoadSaleDataset(*it->second, name, v, "datasets." + name);
    }
  }
  if (sale.contains("host")) {
    if (!sale["host"].is_object()) throw InputError("host: expected an object");
    out->host = sale["host"];
  }
  return out;
}

std::unique_ptr<Sale> LoadSale(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw InputError(base::Excerpt(path, 300) + ": cannot read the sale file");
  std::stringstream text;
  text << in.rdbuf();
  json sale;
  try {
    sale = ParseJsonText(text.str());
  } catch (const json::parse_error& e) {
    throw InputError(base::Excerpt(path, 300) + ": not valid JSON (" + e.what() + ")");
  } catch (const InputError& e) {
    throw InputError(base::Excerpt(path, 300) + ": " + e.what());
  }
  return ParseSale(sale);
}

}  // namespace recebimento::harness
