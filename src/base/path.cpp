#include "base/path.h"

#include <cctype>
#include <filesystem>
#include <vector>

#include "base/text.h"

namespace fs = std::filesystem;

namespace recebimento::base {

namespace {

// The parts of a host path below the base folder, with "." and ".." resolved.
std::vector<std::string> SpecParts(const std::string& spec_path) {
  std::string p = spec_path;
  if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) p = p.substr(2);
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  if (p.find('\0') != std::string::npos) throw PathError("path \"" + spec_path + "\" contains a NUL character");
  std::vector<std::string> parts;
  for (const std::string& part : Split(p, "/")) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.empty()) throw PathError("path \"" + spec_path + "\" climbs above its base folder");
      parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  return parts;
}

}  // namespace

std::string JoinSpecPath(const std::string& base_folder, const std::string& spec_path) {
  fs::path out = base_folder.empty() ? fs::path(".") : fs::path(base_folder);
  for (const std::string& part : SpecParts(spec_path)) out /= part;
  return out.string();
}

std::optional<std::string> FindSpecPath(const std::string& base_folder, const std::string& spec_path) {
  std::string current = base_folder.empty() ? std::string(".") : base_folder;
  for (const std::string& part : SpecParts(spec_path)) {
    auto next = FindFileCaseInsensitive(current, part);
    if (!next) return std::nullopt;
    current = *next;
  }
  std::error_code ec;
  if (!fs::exists(current, ec)) return std::nullopt;
  return current;
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

std::string SafeChild(const std::string& folder, const std::string& name_from_data) {
  if (!IsPlainFileName(name_from_data)) {
    std::string shown = name_from_data;
    for (char& c : shown) {
      if (c == '\0') c = '?';
    }
    throw PathError("\"" + shown + "\" is not a plain file name and may not be used inside \"" + folder + "\"");
  }
  return (fs::path(folder) / name_from_data).string();
}

std::optional<std::string> FindFileCaseInsensitive(const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name)) return std::nullopt;
  std::error_code ec;
  const fs::path exact = fs::path(folder) / name;
  if (fs::exists(exact, ec)) return exact.string();
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (IEquals(it->path().filename().string(), name)) return it->path().string();
  }
  return std::nullopt;
}

}  // namespace recebimento::base
