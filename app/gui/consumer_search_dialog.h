#pragma once
// The host's consumer search on the touch screen: the client is picked from the sale's
// client list, the consumer is given by code (and name, responsible's CPF, phone).
#include <optional>
#include <string>

#include "host/pos/host_dialogs.h"

class QWidget;

namespace recebimento::gui {

std::optional<pos::ConsumerSearchResult> AskConsumer(const pos::ConsumerSearchRequest& request,
                                                     QWidget* parent = nullptr);

}  // namespace recebimento::gui
