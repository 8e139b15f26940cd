#pragma once
// The screen's message table: texts looked up by key in one of its two components.
#include <string>

namespace recebimento::screen {

enum class MessageComponent { msgPadrao, msgPadrao2 };

// The text of the key; an empty text when the component has no such key.
std::string Msg(const std::string& key, MessageComponent component = MessageComponent::msgPadrao);

}  // namespace recebimento::screen
