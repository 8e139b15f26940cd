#pragma once
// Appending a line to a daily log file. A log is an aid, not part of the sale: a file
// that cannot be written never stops the caller.
#include <string>

namespace recebimento::runtime {

// Creates `folder` when missing and appends `line` and a CR LF to folder/file.
void AppendLogLine(const std::string& folder, const std::string& file, const std::string& line) noexcept;

}  // namespace recebimento::runtime
