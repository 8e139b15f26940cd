#pragma once
// The Mercado Pago in-store QR state: the register's point of sale at Mercado Pago, the
// order being paid, and the payments taken in this sale.
#include <memory>
#include <pugixml.hpp>
#include <string>

namespace recebimento::integrations {

inline constexpr const char* kMercadoPagoApi = "https://api.mercadopago.com";

struct MercadoPagoState {
  std::string stUSERID;             // the collector id
  std::string stSPONSOR;            // the sponsor id
  std::string stEXTERNALSTOREID;    // "LOJA" + branch + store
  std::string stEXTERNALPOSID;      // "CAIXA" + branch + register
  std::string stDESCRIPTION;        // branch name + " - " + the point of sale
  std::string stNOTIFICATIONURL;    // the store's notification relay; "" when there is none
  std::string stEXTERNALREFERENCE;  // of the order being paid: "order-id-" + mmddyyyyhhnnss
  std::string stIdOrdemMp;          // the merchant order found paid
  double doValorMP = 0;             // the amount of the order
  bool boPagouMp = false;
  // Payment ids taken in this sale, comma separated, and the one being refunded.
  std::string stPAYMENTID, stPAYMENTIDestorno;
  // The last search result as the JSON reader's XML document.
  std::unique_ptr<pugi::xml_document> xmlResponse;

  // The Mercado Pago API endpoint: the store's own where it gives one.
  std::string api_base = kMercadoPagoApi;
  // The journal entry of the order being paid.
  std::string journal_entry;

  // The first payment listed, which a refund takes next.
  std::string FirstPaymentId() const { return stPAYMENTID.substr(0, stPAYMENTID.find(',')); }
  // Drops the first payment listed (and its comma).
  void DropFirstPaymentId();
  // Lists a payment taken.
  void AddPaymentId(const std::string& id) { stPAYMENTID += (stPAYMENTID.empty() ? "" : ",") + id; }
};

}  // namespace recebimento::integrations
