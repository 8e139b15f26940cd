#pragma once
// A working copy of a host folder with some of its parameters changed: the pictures of
// the documentation and the tests run a sale on their own copy and never touch the
// example host.
#include <string>

#include <nlohmann/json.hpp>

namespace recebimento::harness {

// Copies the folder `source` to `target` (which must not exist yet) and sets the columns
// named in `parameters` ({"UTILIZAIMPFIS": false, "IDIMPCUPMEI": "S"}) in the copy's
// parameters file. std::runtime_error (or the dataset's error) naming what is wrong: an
// unknown column, a value that is not a flag, number or text.
void CopyHostWithParameters(const std::string& source, const std::string& target, const nlohmann::json& parameters);

// The same, with the parameters read from a JSON file holding one object.
void CopyHostWithParametersFile(const std::string& source, const std::string& target,
                                const std::string& parameters_file);

}  // namespace recebimento::harness
