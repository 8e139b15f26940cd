// CRM Bonus on the screen: the balance of the consumer's phone offered as a discount
// before the first tender, and at the close the bonus used and the sale reported, with
// the bonus on every item line.
#include <algorithm>

#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/loyalty_programs.h"

namespace recebimento::screen {

integrations::CrmBonusClient LoyaltyPrograms::CrmApi() {
  return integrations::CrmBonusClient(s_.ctx.integration, s_.ctx.log, crm_frame_, crm_, shared_, Loaded().crm);
}

bool LoyaltyPrograms::criaOrdemCRMBONUS() {
  SaleState& sale = s_.sale;
  const double total = sale.doVrTotal;
  if (!CrmApi().ConsultaSaldo(base::Trim(sale.stTelefoneCons), total)) return false;
  crm_.balance_asked = true;
  if (crm_.doSaldoCRMBONUS <= 0) return true;
  const double to_use = crm_.doSaldoCRMBONUS > total ? total : crm_.doSaldoCRMBONUS;
  crm_.stSaldoCRMBONUS = runtime::FormatFloat("#,##0.00", crm_.doSaldoCRMBONUS);
  const std::string question =
      FormatMsg(Msg("UTI_CRMBONUS"), {crm_.stSaldoCRMBONUS, runtime::FormatFloat("#,##0.00", to_use)});
  if (!s_.ShowMessage(question, runtime::kMsgQuestion)) {
    sale.stUtilDescCrmBonus = "N";
    return true;
  }
  sale.stUtilDescCrmBonus = "S";
  const double discount = AdmissibleDiscount(to_use);
  if (discount > 0) {
    crm_.doValorDesc = discount;
    s_.parts.discounts.Apply(discount);
  }
  return true;
}

void LoyaltyPrograms::FinalizaVendaCRMBONUS() {
  SaleState& sale = s_.sale;
  const std::string phone = base::Trim(sale.stTelefoneCons);
  integrations::CrmBonusClient api = CrmApi();
  const bool used = sale.stUtilDescCrmBonus == "S";
  // The bonus the offer granted, never more than the discount still in force (the
  // operator may have lowered it since); other discounts of the sale are not CRM's.
  const double discount = used ? std::min(sale.doVrDesconto, crm_.doValorDesc) : 0;
  if (api.ProcessaBonus(phone, sale.doVrTotal, used, discount)) {
    s_.ShowMessage(Msg("RESG_CRM", MessageComponent::msgPadrao2), runtime::kMsgPrompt);
    sale.SetOnEveryItem("VRDESCCRM", base::Variant(crm_.doValorDesc));
    sale.SetOnEveryItem("NRIDBONUSCRM", base::Variant(crm_.stIdOrdemCRMBONUS));
    sale.SetOnEveryItem("NRNFCECRMBONUS", base::Variant(crm_.stNrNfceCRMBonus));
  } else {
    s_.ShowMessage(Msg("N_RESG_CRM", MessageComponent::msgPadrao2), runtime::kMsgBlocked);
  }
  // The sale is reported whatever the bonus answered; the sale completes either way.
  const std::string value = integrations::CrmBonusAmount(sale.doVrTotal);
  if (s_.ctx.host.tef_dedicated) s_.ctx.host.tef_dedicated->Variables().stValor = value;
  api.InformaVenda(phone, value);
}

}  // namespace recebimento::screen
