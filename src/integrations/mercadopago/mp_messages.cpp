#include "integrations/mercadopago/mp_messages.h"

#include <algorithm>
#include <cctype>

#include "host/runtime/format.h"
#include "host/runtime/json_helpers.h"
#include "integrations/rest/json_extractors.h"

namespace recebimento::integrations {

namespace {

bool IsUtcOffset(const std::string& text) {
  return text.size() == 6 && (text[0] == '+' || text[0] == '-') && std::isdigit(static_cast<unsigned char>(text[1])) &&
         std::isdigit(static_cast<unsigned char>(text[2])) && text[3] == ':' &&
         std::isdigit(static_cast<unsigned char>(text[4])) && std::isdigit(static_cast<unsigned char>(text[5]));
}

// The sponsor id goes unquoted, as a number; an id that is no number goes quoted, so the
// body stays JSON.
std::string SponsorId(const std::string& id) { return runtime::IsJsonNumberLiteral(id) ? id : runtime::JsonQuote(id); }

}  // namespace

std::string MercadoPagoExternalReference(const base::DateTime& now) {
  return "order-id-" + now.Format("mmddyyyyhhnnss");
}

std::string MercadoPagoAmount(double amount) {
  std::string text = runtime::FormatFloat("", amount, runtime::EnglishNumberLocale());
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

std::string ServerUtcOffset(const std::string& server_time) {
  const std::string offset = server_time.size() >= 25 ? server_time.substr(19, 6) : std::string();
  return IsUtcOffset(offset) ? offset : "-03:00";
}

std::string MercadoPagoOrderBody(const MercadoPagoState& state, const base::DateTime& now,
                                 const std::string& server_time) {
  const std::string amount = MercadoPagoAmount(state.doValorMP);
  const std::string description = runtime::JsonQuote(state.stDESCRIPTION);
  const std::string expiration =
      now.AddMilliseconds(604800).Format("yyyy-mm-ddThh:nn:ss.zzz") + ServerUtcOffset(server_time);
  return "{\"external_reference\":" + runtime::JsonQuote(state.stEXTERNALREFERENCE) + ",\"title\":" + description +
         ",\"description\":" + description + ",\"notification_url\":" + runtime::JsonQuote(state.stNOTIFICATIONURL) +
         ",\"expiration_date\":" + runtime::JsonQuote(expiration) + ",\"total_amount\":" + amount +
         ",\"items\":[{\"category\":\"FOOD\",\"title\":" + description + ",\"description\":" + description +
         ",\"unit_price\":" + amount + ",\"quantity\":1,\"unit_measure\":\"unit\",\"total_amount\":" + amount +
         "}],\"sponsor\":{\"id\":" + SponsorId(state.stSPONSOR) + "}}";
}

std::vector<MerchantOrderSeen> ReadMerchantOrders(const pugi::xml_document& doc) {
  std::vector<MerchantOrderSeen> orders;
  for (const pugi::xml_node& order : doc.child("root").child("elements").children()) {
    MerchantOrderSeen seen;
    for (const pugi::xml_node& member : order.children()) {
      const std::string name = member.name();
      if (name == "id") {
        seen.id = member.child_value();
      } else if (name == "order_status") {
        seen.order_status = member.child_value();
      } else if (name == "payments") {
        const pugi::xml_node first = member.first_child();
        if (std::string(first.name()) == "item") {
          seen.payment_status = first.child("status").child_value();
          seen.payment_id = first.child("id").child_value();
        }
      }
    }
    if (seen.payment_status != "approved") seen.payment_id.clear();
    orders.push_back(seen);
  }
  return orders;
}

std::string ApprovedPaymentOfPaidOrder(const std::string& stMpResult) {
  if (retornaCampoJSONMp(stMpResult, "order_status", "", 1) != "paid") return "";
  // The first approved payment, not merely the first: a rejected attempt may come before
  // the one that paid.
  constexpr int kMostPayments = 50;
  std::string previous;
  for (int k = 1; k <= kMostPayments; ++k) {
    const std::string id = retornaCampoJSONMp(stMpResult, "payments", "id", k);
    if (k > 1 && id == previous) break;  // past the last payment
    if (retornaCampoJSONMp(stMpResult, "payments", "status", k) == "approved") return id;
    previous = id;
  }
  return "";
}

}  // namespace recebimento::integrations
