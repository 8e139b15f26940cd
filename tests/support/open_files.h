// How many of the test process's open files are a given file (from /proc/self/fd).
#pragma once

#include <filesystem>

namespace recebimento::testing {

inline int OpenDescriptorsOf(const std::filesystem::path& file) {
  const auto target = std::filesystem::weakly_canonical(file);
  int count = 0;
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    std::error_code link_ec;
    if (std::filesystem::read_symlink(fd.path(), link_ec) == target) ++count;
  }
  return count;
}

}  // namespace recebimento::testing
