#include "host_copy.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "base/dataset.h"

namespace recebimento::harness {

namespace fs = std::filesystem;

namespace {

base::Variant ValueOf(const std::string& column, const nlohmann::json& v) {
  if (v.is_boolean()) return base::Variant(v.get<bool>());
  if (v.is_number_integer()) return base::Variant(v.get<int64_t>());
  if (v.is_number()) return base::Variant(v.get<double>());
  if (v.is_string()) return base::Variant(v.get<std::string>());
  throw std::runtime_error("the parameter " + column + " must be a flag, a number or a text");
}

}  // namespace

void CopyHostWithParameters(const std::string& source, const std::string& target, const nlohmann::json& parameters) {
  if (!fs::is_directory(source)) throw std::runtime_error("no host folder " + source);
  if (fs::exists(target)) throw std::runtime_error("the copy " + target + " already exists");
  if (!parameters.is_object()) throw std::runtime_error("the parameters must be one JSON object");
  fs::copy(source, target, fs::copy_options::recursive);
  fs::create_directories(fs::path(target) / "Dados");
  if (parameters.empty()) return;

  const std::string file = (fs::path(target) / "PARAMETROSZEM.CDS").string();
  base::Dataset p("cdsParametrosZem");
  p.LoadFromFile(file);
  if (p.IsEmpty()) throw std::runtime_error(file + " has no row of parameters");
  p.First();
  p.Edit();
  for (const auto& [column, value] : parameters.items()) {
    if (p.FieldIndex(column) < 0) throw std::runtime_error(file + " has no parameter " + column);
    p.FieldByName(column).SetValue(ValueOf(column, value));
  }
  p.Post();
  p.SaveToFile(file);
}

void CopyHostWithParametersFile(const std::string& source, const std::string& target,
                                const std::string& parameters_file) {
  std::ifstream in(parameters_file);
  if (!in) throw std::runtime_error("cannot read " + parameters_file);
  const nlohmann::json parameters = nlohmann::json::parse(in, nullptr, false);
  if (parameters.is_discarded()) throw std::runtime_error(parameters_file + " is not JSON");
  CopyHostWithParameters(source, target, parameters);
}

}  // namespace recebimento::harness
