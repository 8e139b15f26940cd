#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace recebimento::base {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& what, int err) {
  throw AtomicFileError("cannot write \"" + path + "\": " + what + ": " + std::strerror(err));
}

// Owns the temporary file until it has been renamed into place.
class TempFile {
 public:
  explicit TempFile(const std::string& target) {
    std::string pattern = target + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) Fail(target, "cannot create a temporary file", errno);
    name_.assign(name.data());
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_; }
  const std::string& name() const { return name_; }
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void Release() { name_.clear(); }

 private:
  int fd_ = -1;
  std::string name_;
};

void SyncFolder(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);  // best effort: the rename is already done
    ::close(fd);
  }
}

constexpr std::string_view kTempMark = ".tmp-";
constexpr size_t kTempSuffix = 6;  // mkstemp's XXXXXX
constexpr int kSearchDepth = 4;

bool IsTempName(const std::string& name) {
  if (name.size() < kTempMark.size() + kTempSuffix + 1) return false;
  const size_t mark = name.size() - kTempSuffix - kTempMark.size();
  if (name.compare(mark, kTempMark.size(), kTempMark) != 0) return false;
  for (size_t i = name.size() - kTempSuffix; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

void RemoveIfTemp(const std::filesystem::directory_entry& entry, const std::string& target_name,
                  std::vector<std::string>& removed) {
  std::error_code ec;
  if (!entry.is_regular_file(ec) || entry.is_symlink(ec)) return;
  const std::string name = entry.path().filename().string();
  if (!IsTempName(name)) return;
  if (!target_name.empty() &&
      name.compare(0, target_name.size() + kTempMark.size(), target_name + std::string(kTempMark)) != 0)
    return;
  if (std::filesystem::remove(entry.path(), ec)) removed.push_back(entry.path().string());
}

}  // namespace

std::vector<std::string> RemoveInterruptedWrites(const std::string& folder) {
  std::vector<std::string> removed;
  std::error_code ec;
  std::filesystem::recursive_directory_iterator it(folder, std::filesystem::directory_options::skip_permission_denied,
                                                   ec);
  for (const std::filesystem::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    // The files written atomically live a few levels down (Dados/Cadastros/...); a deep
    // tree under the folder is not searched on every call.
    if (it.depth() >= kSearchDepth) it.disable_recursion_pending();
    RemoveIfTemp(*it, "", removed);
  }
  return removed;
}

std::vector<std::string> RemoveInterruptedWritesOf(const std::string& path) {
  std::vector<std::string> removed;
  const std::filesystem::path target(path);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
    RemoveIfTemp(*it, target.filename().string(), removed);
  }
  return removed;
}

void WriteFileAtomically(const std::string& path, std::string_view content, Durability durability) {
  if (path.empty()) throw AtomicFileError("cannot write a file without a name");
  TempFile temp(path);

  // Keep the permissions of the file being replaced; new files get the usual rw-r--r--.
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(temp.fd(), mode);

  const char* p = content.data();
  size_t left = content.size();
  while (left > 0) {
    const ssize_t n = ::write(temp.fd(), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path, "write failed", errno);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  const bool flush = durability == Durability::PowerLoss;
  if (flush && ::fsync(temp.fd()) != 0) Fail(path, "flush failed", errno);
  if (temp.Close() != 0) Fail(path, "close failed", errno);
  if (::rename(temp.name().c_str(), path.c_str()) != 0) Fail(path, "rename failed", errno);
  temp.Release();
  if (flush) SyncFolder(path);
}

}  // namespace recebimento::base
