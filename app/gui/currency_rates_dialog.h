#pragma once
// The host's foreign-currency rates of the day: one line per currency, the rate typed
// with a decimal comma. The answer is the rate table (cdsMoedas) dated today.
#include <optional>
#include <string>

#include <QString>

#include "base/data_packet.h"
#include "base/datetime.h"

class QWidget;

namespace recebimento::gui {

// A rate typed the Brazilian way ("5,4321"): positive, up to six decimals.
std::optional<double> ParseRate(const QString& text);

// The currencies to ask for: the rows of `known` (a rate table: CDINDICE, NMTIPORECE,
// VRCOTACAO, DTCOTACAO) or, when it has none, the usual ones. Their rates are proposed.
base::DataPacket RatesToAsk(const base::DataPacket* known);

// Null when the operator cancels; the table with every rate typed and dated `today`.
std::optional<base::DataPacket> AskCurrencyRates(const base::DataPacket& to_ask, base::DateTime today,
                                                 QWidget* parent = nullptr);

}  // namespace recebimento::gui
