// The integrated card transaction: the host's DoTef runs the terminal while the card panel
// counts the seconds, and an approval lands on the tender with its discount and brand.
#include <set>
#include <string>

#include "base/dataset_columns.h"
#include "screen/card/card_tenders.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

// The printer models that name the payment form by its code rather than its text.
bool PrinterTakesFormCode(int model) {
  static const std::set<int> models = {3, 4, 7, 10, 11, 12, 13, 17, 25};
  return models.count(model) > 0;
}

}  // namespace

std::string CardTenders::PaymentFormText() const {
  base::Dataset& receb = s_.sale.cdsReceb;
  return base::ColumnText(receb, PrinterTakesFormCode(s_.par.inIDTIPOIMPFIS) ? "CDFPIMPFIS" : "DSIMPFISCAL");
}

bool CardTenders::RunIntegrated(const std::string& kind, const std::string& letter, TenderPayment& tender,
                                double& amount) {
  SaleState& sale = s_.sale;
  const std::string form = PaymentFormText();
  pos::TefApproval approval;
  bool approved = false;
  {
    TefPanelShown shown(panel_, kTefPanelText);
    approved = s_.ctx.host.tef->DoTef(s_.par.stIDESQUEMA, letter, sale.stlRetorno, amount, sale.doVrAPagar,
                                      sale.inCtrlCupomTef, sale.inQtdeTef, approval);
  }
  if (!approved) {
    s_.ctx.log.LogRev00000("Tef nao Ok - " + letter);
    Fail("");
    return false;
  }
  s_.controls.SetEnabled("spbClear", false);
  ApplyDiscount(approval.discount, amount);
  CardData& card = tender.card;
  card.CDNSUHOSTTEF = approval.host_nsu;
  card.NRAUTORIZATEF = approval.authorization;
  card.NRCONTROLTEF = approval.control;
  if (kind != "3") MoveToMatchingTender(kind, approval.brand_code, tender);
  tender.doVrTef += amount;
  sale.doVrTotalTef += amount;
  sale.stFormaPagTef = form;
  sale.boTemPagtoTef = true;
  sale.boOperacaoEmCurso = true;
  s_.ctx.log.LogRev00000("Tef Ok - " + letter + " | COD BAN: " + approval.brand_code +
                         " | COD NSU HOST: " + approval.host_nsu);
  return true;
}

}  // namespace recebimento::screen
