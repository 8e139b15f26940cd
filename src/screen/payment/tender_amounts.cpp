// The amounts of the simple tenders: typed on the keypad (cash, cheque, voucher, paid on
// site), the whole amount of an agreement sale, and foreign currency at the day's rate.
#include <filesystem>
#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/currency_rates.h"
#include "screen/payment/tender_selection.h"

namespace recebimento::screen {

bool TenderSelection::AmountFromKeypad(TInputStep step, double proposed, double& amount) {
  ControlRegistry& c = s_.controls;
  SaleState& sale = s_.sale;
  Keyboard& keyboard = s_.parts.keyboard;
  const pos::HostServices& host = s_.ctx.host;
  sale.tpInputStep = step;
  const std::string proposal = runtime::FormatFloat("0.00", proposed);
  c.SetCaption("lblInputReceb2", proposal);
  if (!InputStepMessageKey(step).empty()) c.SetCaption("lblNrCupom", Msg(InputStepMessageKey(step)));
  if (host.keyboard->Teclado_OK()) {
    host.keyboard->ProcTeclDispClrLn2();
    host.keyboard->ProcTeclGoToXY(2, 1);
    host.keyboard->ProcTeclDispStr(Msg(InputStepPosKeyboardKey(step)) + proposal);
  }
  keyboard.SetTypedText(proposal);
  boDigitouValor = true;
  keyboard.SetReplaceOnNextChar(true);

  if (step != isPagSite && sale.stTipoTela == "S" && stIdRecebeBonus == "S") {
    // A top-up of a bonus type loads its fixed amount.
    sale.tpInputStep = isNone;
    amount = runtime::Trunc2(doVrCargaCredito);
  } else {
    TenderGrid& grid = s_.parts.grid;
    s_.ctx.pump.RunUntil([&] { return sale.boFalhaReceb || sale.tpInputStep != step || grid.Selecting(); },
                         "amount on the keypad");
    if (grid.Selecting()) {
      sale.tpInputStep = isNone;
      if (sale.stConsPesquisado != "S") c.SetEnabled("bltPesquisar", true);
      return false;
    }
    if (sale.boFalhaReceb) return false;
    amount = runtime::Trunc2(keyboard.TakenAmount());
  }
  if (amount <= 0) {
    Refuse("Dig_Val");
    return false;
  }
  return true;
}

bool TenderSelection::CheckTypedAmount(double amount, bool paid_on_site) {
  if (!AdvanceAllows(amount)) return false;
  if (paid_on_site) return true;
  if (!AskInstallments(amount)) return false;
  MarkManualCardSale();
  return true;
}

bool TenderSelection::AdvanceAllows(double amount) {
  SaleState& sale = s_.sale;
  if (sale.stTipoTela == "D" && !(amount < runtime::Trunc2(sale.doVrTotal - sale.doVrPago))) {
    Refuse("Ad_N_Per");
    return false;
  }
  return true;
}

bool TenderSelection::AskInstallments(double amount) {
  SaleState& sale = s_.sale;
  base::Dataset& receb = sale.cdsReceb;
  if (base::ColumnText(receb, "IDSOLIQTPARC") != "S") return true;
  Installments& installments = s_.parts.installments;
  current_.installments =
      static_cast<int>(installments.SolicitaQuantidadeParcelas(base::ColumnNumber(receb, "QTMAXPARC")));
  std::string message;
  installments.ValidaQuantidadeParcelas(base::ColumnNumber(receb, "VRMINPARC"), amount, current_.installments, message);
  if (message.empty()) return true;
  s_.controls.SetEnabled("spbSair", true);
  sale.boFalhaReceb = true;
  return false;
}

void TenderSelection::MarkManualCardSale() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (base::ColumnText(sale.cdsReceb, "IDHABVENDAMAN") == "S" && sale.stNrDocConsCupom.empty() &&
      par.boSISTEMAVANTOMI && (par.boSISTEMAZEMNFCE || par.boSISTEMAZEMSAT))
    sale.stIdPagouTEF = "S";
}

bool TenderSelection::AgreementAmount(double& amount) {
  SaleState& sale = s_.sale;
  pos::ConsumerSearchRequest request;
  request.title = Msg("Vend_Conve");
  request.clients = &sale.cdsCliente;
  pos::ConsumerSearchResult chosen;
  if (!s_.ctx.host.dialogs->PesqConsumidor(request, chosen)) {
    // Nobody chosen: the sale's own consumer stays and the grid is offered again.
    sale.charged.client = sale.stCdClienteVenda;
    sale.charged.consumer = sale.stCdConsumidorVenda;
    sale.charged.name = sale.stNmConsCupom.empty() ? sale.stNmClienteVenda : sale.stNmConsCupom;
    s_.parts.grid.CtrlBotoes("D", 1);
    return false;
  }
  const std::string type = s_.ctx.rdm.getTipoVendaCons(chosen.CDCLIENTE, chosen.CDCONSUMIDOR);
  if (type != "3" && type != "5" && type != "6" && type != "7") {
    const std::string name = chosen.NMCONSUMIDOR.empty() ? chosen.CDCONSUMIDOR : chosen.NMCONSUMIDOR;
    sale.boFalhaReceb = true;
    s_.parts.grid.CtrlBotoes("D", 1);
    s_.ShowMessage(MsgFmt("CONS_BLOQ_VENDA", {name}), runtime::kMsgBlocked);
    return false;
  }
  sale.charged.client = chosen.CDCLIENTE;
  sale.charged.consumer = chosen.CDCONSUMIDOR;
  sale.charged.name = chosen.NMCONSUMIDOR;
  sale.charged.agreement_client = chosen.NMRAZSOCCLIE;
  sale.charged.agreement_text = chosen.complement;
  amount = runtime::Trunc2(sale.doVrAPagar);
  if (amount <= 0) {
    Refuse("Dig_Val");
    return false;
  }
  return true;
}

bool TenderSelection::LoadCurrencyRates() {
  const std::string file = CurrencyRatesFile(s_);
  const base::DateTime today = s_.ctx.clock.Now().Date();
  auto of_today = [&] {
    if (!cdsMoedas.Active() || cdsMoedas.IsEmpty() || cdsMoedas.FieldIndex("DTCOTACAO") < 0) return false;
    cdsMoedas.First();
    return cdsMoedas.FieldByName("DTCOTACAO").AsDateTime().Date() == today;
  };
  auto load = [&] {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    cdsMoedas.LoadFromFile(file);
    if (!cdsMoedas.Active()) cdsMoedas.Open();
    return true;
  };
  try {
    if (load() && of_today()) return true;
    // Missing or of another day: the host asks for the day's rates.
    base::Variant rates;
    if (!s_.ctx.host.dialogs->CriaOutrasMoedas(rates) || !rates.IsPacket()) return false;
    cdsMoedas.SetData(rates);
    cdsMoedas.SaveToFile(file);
    return load();
  } catch (const std::exception& e) {
    // A damaged rates file or one that cannot be written: the tender cannot go on.
    s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    cdsMoedas.Close();
    return false;
  }
}

bool TenderSelection::ForeignCurrencyAmount(double& amount) {
  SaleState& sale = s_.sale;
  const std::string index = base::ColumnText(sale.cdsReceb, "CDINDICE");
  double rate = 0;
  if (LoadCurrencyRates() && cdsMoedas.Locate("CDINDICE", base::Variant(index)))
    rate = base::ColumnNumber(cdsMoedas, "VRCOTACAO");
  if (rate <= 0) {
    // No rate for the currency: back to the grid.
    sale.boFalhaReceb = true;
    s_.parts.grid.CtrlBotoes("D", 1);
    return false;
  }

  // First the amount in the currency, proposed as what is still to pay converted; its
  // Enter moves to the second step, which confirms (or corrects) the amount in local money.
  double in_currency = 0;
  if (!AmountFromKeypad(isMoeda1, runtime::Trunc2(sale.doVrAPagar / rate), in_currency)) return false;
  double local = runtime::Trunc2(in_currency * rate);
  if (sale.tpInputStep == isMoeda2) {
    s_.parts.grid.CtrlBotoes("H", 1);
    s_.controls.SetVisible("panKeyboard", true);
    if (!AmountFromKeypad(isMoeda2, local, local)) return false;
  }
  current_.rate = rate;
  current_.foreign_amount = runtime::Trunc2(local / rate);
  amount = local;
  return true;
}

}  // namespace recebimento::screen
