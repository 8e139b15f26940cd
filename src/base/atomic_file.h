#pragma once
// Whole-file writes that never leave a truncated file behind: the content goes to a
// temporary file in the same folder, is flushed to disk and then renamed over the target.
// On any failure the old file is left as it was and the temporary file is removed.
#include <stdexcept>
#include <string>
#include <string_view>

namespace recebimento::base {

class AtomicFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace recebimento::base
