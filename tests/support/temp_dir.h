#pragma once
// A folder under /tmp that lives for one test and is removed with everything in it.
#include <filesystem>
#include <string>

namespace recebimento::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Writes `content` to the relative path, creating folders; returns the full path.
  std::filesystem::path Write(const std::string& relative, const std::string& content) const;
  std::string Read(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

}  // namespace recebimento::testing
