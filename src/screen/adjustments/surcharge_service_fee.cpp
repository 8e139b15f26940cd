// The sale's surcharge and the change of its service fee, both guarded by the host's
// access control and entered in the host's value-or-percentage dialog.
#include <string>

#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/adjustments/adjustments.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using runtime::FormatFloat;
using runtime::Trunc2;

std::string Adjustments::SurchargeRefusal(double base, double surcharge, double percent, double fee) {
  const double rounded_percent = runtime::RoundDec(percent, 6);
  if (s_.par.boUTILIZAIMPFIS) {
    // Fiscal printers take at most ten percent of the sale as a surcharge.
    if (Trunc2(surcharge) > Trunc2(base * 10 / 100) || rounded_percent > 10) return Msg("Ope_Acr_Maior");
    return std::string();
  }
  if (Trunc2(surcharge + fee) > Trunc2(base) || rounded_percent > 100)
    return Msg(s_.par.stIDPERACRTXSECUP == "S" && fee > 0 ? "Acr_Tax_Maior_Sat_Nfce" : "Ope_Acr_Maior_Sat_Nfce");
  return std::string();
}

void Adjustments::Surcharge() {
  SaleState& sale = s_.sale;
  if (!AuthorizeAdjustment(s_.par.inCTACRESCIMO)) return;

  ControlRegistry& c = s_.controls;
  c.SetEnabled("spbDesconto", false);
  c.SetEnabled("spbTaxaServico", false);
  auto enable_others = [&] {
    c.SetEnabled("spbDesconto", sale.stPodeDesconto != "N");
    c.SetEnabled("spbTaxaServico", sale.stPodeRetTaxaServ != "N");
  };

  std::string kind;
  double value = 0;
  if (!AskAdjustment("Acrescimo", sale.doVrTotal, kind, value) || !(value > 0)) {
    enable_others();
    return;
  }

  const double base = Trunc2(sale.doVrTotal - sale.doVrServico - sale.doVrAcrescimo);
  double surcharge = 0, percent = 0;
  if (kind == "P") {
    percent = value;
    surcharge = Trunc2(value * base / 100);
  } else {
    surcharge = Trunc2(value);
    percent = base > 0 ? value * 100 / base : 0;
  }
  // The surcharge replaces the service fee unless the branch prints both on the receipt.
  const double fee = s_.par.stIDPERACRTXSECUP == "S" ? sale.doVrServico : 0;

  // A refused surcharge leaves the one in force and the fee as they were.
  const std::string refusal = SurchargeRefusal(base, surcharge, percent, fee);
  if (!refusal.empty()) {
    s_.ShowMessage(refusal, runtime::kMsgBlocked);
    if (sale.doVrAcrescimo == 0) enable_others();
    return;
  }

  try {
    sale.doVrAcrescimo = surcharge;
    sale.doPercAcrescimo = percent;
    sale.doVrServico = fee;
    // The real total is the base plus the surcharge; the fee kept beside the surcharge
    // stays in the base so that the sale is not taken as paid without it.
    sale.doVrBaseAcrescimo = Trunc2(base + fee);
    sale.doVrTotal = Trunc2(sale.doVrBaseAcrescimo + sale.doVrAcrescimo);
    sale.doVrAPagar = Trunc2(sale.doVrTotal - sale.doVrPago - sale.doVrDesconto);
    c.Require("lblServico").caption = FormatFloat("0.00", sale.doVrServico);
    ShowAdjustmentsList();
    ShowAdjustedAmount("ACRESCIMO:", sale.doVrAcrescimo);
  } catch (const std::exception& e) {
    s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    s_.parts.exit.Clear();
  }
}

void Adjustments::ServiceFee() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (!AuthorizeAdjustment(par.inCTRETTAXASERV)) return;
  s_.ctx.host.access->LogControleAcess({par.stCDFILIAL, par.stCDCAIXA, "ALT_TAX", sale.stCdOperador, sale.stNmOperador,
                                        sale.stCdSupervisor,
                                        "Alterar valor da Taxa de Serviço da Mesa/Comanda Nº: " + sale.stNrComanda,
                                        "Alterar valor da Taxa de Serviço."});

  ControlRegistry& c = s_.controls;
  c.SetEnabled("spbTaxaServico", false);
  struct EnableAgain {
    ControlRegistry& c;
    const SaleState& sale;
    ~EnableAgain() { c.SetEnabled("spbTaxaServico", sale.stPodeRetTaxaServ != "N"); }
  } enable_again{c, sale};

  std::string kind;
  double value = 0;
  // A fee of 0 is how the operator removes it.
  if (!AskAdjustment("TaxaServico", sale.doVrTotal, kind, value) || value < 0) return;
  const double base = Trunc2(sale.doVrTotal - sale.doVrServico);
  const double fee = kind == "P" ? Trunc2(value * base / 100) : Trunc2(value);
  if (fee > sale.doVrServicoOrig && !s_.ShowMessage(Msg("Taxa_Maior"), runtime::kMsgQuestion)) return;

  sale.doVrServico = fee;
  sale.doVrTotal = Trunc2(base + fee);
  if (sale.doVrAcrescimo > 0) sale.doVrBaseAcrescimo = Trunc2(sale.doVrTotal - sale.doVrAcrescimo);
  sale.doVrAPagar = Trunc2(sale.doVrTotal - sale.doVrPago - sale.doVrDesconto);
  c.Require("lblValorPagar").caption = FormatFloat("0.00", sale.doVrAPagar);
  c.Require("lblValorTotal").caption = FormatFloat("0.00", sale.doVrTotal);
  c.Require("lblServico").caption = FormatFloat("0.00", sale.doVrServico);
  if (sale.doVrDesconto > 0 || sale.doVrAcrescimo > 0) ShowAdjustmentsList();
}

}  // namespace recebimento::screen
