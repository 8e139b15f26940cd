#include "run_checks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/atomic_file.h"
#include "base/text.h"
#include "datamodule/trdm_recebimento.h"
#include "json_values.h"

namespace recebimento::harness {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path) { return "\"" + base::Excerpt(path, 300) + "\""; }

}  // namespace

void CheckHostFolder(const std::string& host_dir) {
  std::error_code ec;
  const auto status = fs::status(host_dir, ec);
  if (!fs::exists(status)) throw InputError("--host-dir: the host folder " + Quoted(host_dir) + " does not exist");
  if (!fs::is_directory(status)) throw InputError("--host-dir: " + Quoted(host_dir) + " is not a folder");
}

void CheckOutputWritable(const std::string& out_path) {
  if (out_path.empty()) return;
  fs::path folder = fs::path(out_path).parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    throw InputError("--out: cannot write " + Quoted(out_path) + ": the folder " + Quoted(folder.string()) +
                     " does not exist");
  if (fs::is_directory(out_path, ec)) throw InputError("--out: " + Quoted(out_path) + " is a folder");
  base::RemoveInterruptedWritesOf(out_path);
  // The result is written the way it will be at the end: a temporary file beside it.
  std::string probe = (folder / (fs::path(out_path).filename().string() + ".tmp-XXXXXX")).string();
  std::vector<char> name(probe.begin(), probe.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    const int err = errno;
    throw InputError("--out: cannot write " + Quoted(out_path) + ": " + std::strerror(err));
  }
  ::close(fd);
  ::unlink(name.data());
}

void CheckStoreReady(const std::string& connection) {
  try {
    datamodule::TrdmRecebimento store(connection);
    store.Open();
  } catch (const std::exception& e) {
    throw InputError(std::string("store: ") + e.what());
  }
}

}  // namespace recebimento::harness
