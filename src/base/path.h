#pragma once
// Paths as the host writes them ("\Dados\Cadastros\X.cds") mapped under a base folder,
// and file names taken from data kept inside their folder.
#include <optional>
#include <stdexcept>
#include <string>

namespace recebimento::base {

class PathError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// base + "\Dados\Cadastros\X.cds" -> base/Dados/Cadastros/X.cds. "\" and "/" both
// separate; a leading separator or a drive letter ("C:\") still means "under base"; "."
// is dropped and ".." may not climb above base (PathError).
std::string JoinSpecPath(const std::string& base_folder, const std::string& spec_path);

// Like JoinSpecPath, but each part is matched to what exists on disk ignoring case
// ("PARAMETROSZEM.CDS" finds "ParametrosZem.cds"). Empty when nothing matches.
std::optional<std::string> FindSpecPath(const std::string& base_folder, const std::string& spec_path);

// A plain file name: not empty, not "." or "..", no separator, drive colon or NUL.
bool IsPlainFileName(const std::string& name);
// folder/name for a name taken from data; PathError when the name could leave the folder.
std::string SafeChild(const std::string& folder, const std::string& name_from_data);

// The entry of `folder` whose name equals `name` ignoring case (an exact match first).
std::optional<std::string> FindFileCaseInsensitive(const std::string& folder, const std::string& name);

}  // namespace recebimento::base
