#include "host/pos/host_paths.h"

#include <utility>

#include "base/path.h"
#include "base/text.h"

namespace recebimento::pos {

HostPaths::HostPaths() : HostPaths(".") {}

HostPaths::HostPaths(std::string host_folder, std::string card_request_dir, std::string card_answer_dir)
    : host_folder_(host_folder.empty() ? "." : std::move(host_folder)),
      card_request_dir_(card_request_dir.empty() ? Under("\\Teftx") : std::move(card_request_dir)),
      card_answer_dir_(card_answer_dir.empty() ? Under("\\Tefrx") : std::move(card_answer_dir)) {}

std::string HostPaths::Under(const std::string& spec_path) const { return base::JoinSpecPath(host_folder_, spec_path); }

std::optional<std::string> HostPaths::Find(const std::string& spec_path) const {
  return base::FindSpecPath(host_folder_, spec_path);
}

std::string HostPaths::DataFolder() const { return Under("\\Dados"); }

std::string HostPaths::Reference(const std::string& dsdircad, const std::string& rest) const {
  return Under(dsdircad + rest);
}

std::string HostPaths::ConfiguredFolder(const std::string& folder_text) const {
  const std::string folder = base::Trim(folder_text);
  if (folder.empty()) return {};
  if (folder[0] == '/') return folder;
  try {
    return Under(folder);
  } catch (const base::PathError&) {
    return {};
  }
}

std::string HostPaths::LogFolder(const std::string& name, const base::DateTime& day) const {
  return Under("\\Dados\\" + name + "\\" + day.Format("yyyy") + "\\" + day.Format("mm"));
}

}  // namespace recebimento::pos
