#include "integrations/ame/ame_messages.h"

#include <algorithm>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/json_helpers.h"
#include "host/runtime/numbers.h"
#include "integrations/rest/json_extractors.h"

namespace recebimento::integrations {

std::string AmeCents(double amount) {
  std::string text = runtime::FormatFloat("#,##0.00", amount, runtime::BrazilianNumberLocale());
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '.' || c == ','; }), text.end());
  // "0,05" gives "005": a JSON number has no leading zeros.
  const size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? "0" : text.substr(first);
}

std::string AmeOrderBody(double amount, double cashback_percent, const std::string& callback_base,
                         const base::DateTime& now) {
  const double cashback = runtime::RoundDec(cashback_percent / 100.0 * amount, 2);
  return "{\"title\":\"Venda_Brisova\",\"description\":" + runtime::JsonQuote(now.Format("dd/mm/yyyy-hh:nn:ss")) +
         ",\"amount\":" + AmeCents(amount) +
         ",\"type\":\"PAYMENT\",\"attributes\":{\"cashbackAmountValue\":" + AmeCents(cashback) +
         ",\"transactionChangedCallbackUrl\":" + runtime::JsonQuote(base::Trim(callback_base) + "/callbackaut") +
         ",\"paymentOnce\":true}}";
}

AmeOrderReply ReadAmeOrderReply(std::string& stAmeResult) {
  AmeOrderReply r;
  r.id = retornaCampoJSONAme(stAmeResult, "id");
  r.qr_code_link = retornaCampoJSONAme(stAmeResult, "qrCodeLink");
  r.qr_code_link.erase(std::remove(r.qr_code_link.begin(), r.qr_code_link.end(), '\\'), r.qr_code_link.end());
  return r;
}

AmeCallbackReply ReadAmeCallbackReply(std::string& stAmeResult) {
  AmeCallbackReply r;
  r.id = retornaCampoJSONAme(stAmeResult, "id");
  r.status = retornaCampoJSONAme(stAmeResult, "status");
  r.type = retornaCampoJSONAme(stAmeResult, "type");
  return r;
}

bool AmeCallbackReply::Authorized() const { return base::Utf8Upper(status) == "AUTHORIZED" && !id.empty(); }

}  // namespace recebimento::integrations
