#pragma once
// The texts of the card terminal's return codes.
#include <string>

namespace recebimento::screen {

// Text of a card-terminal return code; "Erro não documentado" for a code it does not know.
std::string MsgErro(const std::string& codigo);

}  // namespace recebimento::screen
