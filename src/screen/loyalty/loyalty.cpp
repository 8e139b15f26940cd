// Points tenders are not taken until their flow lands here; prepaid and gift cards go
// to their own part.
#include "screen/loyalty/loyalty.h"

#include "host/runtime/messages.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

bool Loyalty::StepsBeforeTender() {
  if (!s_.parts.identification.DocumentGivenForAmount()) return false;
  s_.parts.campaigns.OffersBeforeTender();
  return true;
}

bool Loyalty::LoyaltyTender(const std::string& kind, TenderPayment& tender, double& amount) {
  if (kind == "K") return s_.parts.prepaid.PrepaidTender(tender, amount);
  s_.parts.selection.Refuse("N_FORMA");
  return false;
}

void Loyalty::Dotz() { s_.parts.campaigns.spbDotzClick(); }

void Loyalty::QueryPromotions() { s_.parts.discounts.ConsultaPromo(); }

std::string Loyalty::CriaInformaDesconto() {
  const std::string choice = s_.parts.discounts.CriaInformaDesconto();
  if (choice == "CUPOM") s_.parts.discounts.ValidaCupomDesconto();
  return choice;
}

bool Loyalty::RedeemPrepaidCards() { return s_.parts.prepaid.RedeemAtConfirmation(); }

bool Loyalty::PaymentsMayBeDiscarded() {
  std::string taken;
  if (s_.parts.prepaid.AnyRedeemed()) taken = "pelo cartão pré-pago";
  if (s_.parts.programs.TakenBeforeReceipt())
    taken += std::string(taken.empty() ? "" : " e ") + "pelo programa de fidelidade";
  if (taken.empty()) return true;
  // The services cannot give it back: discarding the payments would charge the consumer
  // twice. The sale is confirmed again once what stopped it is mended.
  s_.ctx.log.LogRev00000("Limpa recebimentos recusado: " + taken + " já debitado");
  s_.ShowMessage(
      "Operação bloqueada. O consumidor já foi debitado " + taken + " nesta venda; confirme a venda novamente.",
      runtime::kMsgBlocked);
  return false;
}

double Loyalty::DotzCampaignPoints() const { return s_.parts.campaigns.DotzTotal(); }

double Loyalty::DotzProductPoints() const { return s_.parts.campaigns.DotzExtras(); }

bool Loyalty::DotzReceiptsPending() const { return DotzCampaignPoints() + DotzProductPoints() > 0; }

}  // namespace recebimento::screen
