#pragma once
// Whole-file writes that never leave a truncated file behind: the content goes to a
// temporary file in the same folder, is flushed to disk and then renamed over the target.
// On any failure the old file is left as it was and the temporary file is removed.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace recebimento::base {

class AtomicFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How much a write must outlive. The system's own records (the sale's backup, the card
// and wallet journals) are flushed to the disk with their folder, so they outlive the
// machine losing power. A simulated device's files need only outlive the program being
// killed: the rename keeps them whole, and the disk's flush is the real device's cost.
enum class Durability { PowerLoss, ProcessDeath };

void WriteFileAtomically(const std::string& path, std::string_view content,
                         Durability durability = Durability::PowerLoss);

// A write killed half way leaves its temporary file ("<target>.tmp-" and six letters or
// digits) behind. These remove such files, in `folder` and the folders below it (down to
// four levels), or beside one target, and return the paths removed. They never throw; a
// file that cannot be removed is left.
std::vector<std::string> RemoveInterruptedWrites(const std::string& folder);
std::vector<std::string> RemoveInterruptedWritesOf(const std::string& path);

}  // namespace recebimento::base
