#pragma once
// The payment screen's daily trace: "\Dados\LogRev00000\yyyy\MM\LogRev00000_DD.txt"
// under the host's folder, one line per call: the date and time, " - ", the text.
#include <string>

namespace recebimento::screen {

// Appends the line; a trace that cannot be written never stops the sale.
void LogRev00000(const std::string& text);

}  // namespace recebimento::screen
