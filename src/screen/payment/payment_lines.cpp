// The payment line in the host's payment dataset, its line in the payment list, and the
// amounts paid and still to pay on the screen and the POS keyboard's display.
#include "screen/payment/payment_lines.h"

#include <string>
#include <utility>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/typed_amount.h"

namespace recebimento::screen {

namespace {

using base::SetColumn;
using base::Variant;

// The tender's columns copied from the row of a tender table (cdsReceb, cdsTroco,
// cdsTipoConsFili).
void CopyTenderColumns(base::Dataset& movi, base::Dataset& tender) {
  for (const char* f :
       {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "CDTIPOTROCO", "NRORDTROCO", "DSIMPFISCAL", "CDFPIMPFIS"})
    SetColumn(movi, f, Variant(base::ColumnText(tender, f)));
}

// No balance was redeemed through this line.
void NoRedemption(base::Dataset& movi) {
  for (const char* f : {"CDCNPJRESGSALDO", "CDCONSRESGSALDO", "CDINTRESGSALDO"})
    SetColumn(movi, f, Variant(std::string()));
  SetColumn(movi, "VRSALDORESTCP", Variant(0.0));
  SetColumn(movi, "IDTIPORESGATE", Variant(std::string("N")));
}

}  // namespace

void PaymentLines::FillConsumerColumns(base::Dataset& movi) {
  const SaleState& sale = s_.sale;
  const base::DateTime now = s_.ctx.clock.Now();
  SetColumn(movi, "CDFILIAL", Variant(s_.par.stCDFILIAL));
  SetColumn(movi, "DTHRINCMOV", Variant(now));
  SetColumn(movi, "DTMOVIMCAIXA", Variant(now.Date()));
  SetColumn(movi, "CDCLIENTE", Variant(sale.charged.client));
  SetColumn(movi, "CDCONSUMIDOR", Variant(sale.charged.consumer));
  SetColumn(movi, "NMCONSUMIDOR", Variant(sale.charged.name));
  SetColumn(movi, "CDIDCONSUMID", Variant(sale.stCDIDCONSUMID));
  std::string cost_centre;
  if (!sale.charged.consumer.empty() && movi.FieldIndex("CDCCUSCLIE") >= 0) {
    const Variant r = s_.CheckResult(s_.ctx.rdm.getCentroCusto(sale.charged.client, sale.charged.consumer),
                                     "getCentroCusto", s_.par.stCDFILIAL);
    if (runtime::IsResultPacket(r)) {
      const base::DataPacket& p = r.AsPacket();
      if (!p.rows.empty()) cost_centre = base::ColumnText(p, p.rows[0], "CDCCUSCLIE");
    }
  }
  SetColumn(movi, "CDCCUSCLIE", Variant(cost_centre));
}

void PaymentLines::WritePaymentLine(double amount, const TenderPayment& tender) {
  SaleState& sale = s_.sale;
  if (!sale.cdsMoviVenda) return;
  base::Dataset& movi = *sale.cdsMoviVenda;
  base::Dataset& receb = sale.cdsReceb;
  if (!movi.Active()) ResetPaymentDataset();
  if (amount > kPaymentLimit || runtime::Trunc2(amount + sale.doVrPago) > kPaymentLimit) {
    s_.parts.selection.Refuse("Lim_Pag");
    return;
  }
  const std::string code = base::ColumnText(receb, "CDTIPORECE");
  const std::string kind = base::ColumnTrimmed(receb, "IDTIPORECE");

  // Cash goes into the open cash line of the sale: the same tender, not a card line
  // (no host NSU) and not change given back.
  bool merged = false;
  if (kind == "4" && sale.stTipoTela != "D") {
    for (movi.First(); !movi.Eof(); movi.Next()) {
      if (base::ColumnText(movi, "CDTIPORECE") == code && base::ColumnText(movi, "CDNSUHOSTTEF").empty() &&
          base::ColumnText(movi, "IDTIPOMOVIVE") != "S") {
        movi.Edit();
        SetColumn(movi, "VRMOVIVEND", Variant(runtime::Trunc2(base::ColumnNumber(movi, "VRMOVIVEND") + amount)));
        movi.Post();
        merged = true;
        break;
      }
    }
  }

  if (!merged) {
    const ParametrosZem& par = s_.par;
    const bool tef_amount = par.stIDUTILTEF != "N" && base::ColumnText(receb, "IDDESABTEF") != "S" &&
                            par.stIDUTILCHEQ == "S" && par.stIDSOLICITANSU == "N" &&
                            (kind == "1" || kind == "2" || kind == "3");
    // The card terminal's approved amount, once it approved one for this tender.
    const double value = tef_amount && tender.doVrTef > 0 ? runtime::Trunc2(tender.doVrTef) : amount;
    const CardData& card = tender.card;
    movi.Append();
    FillConsumerColumns(movi);
    SetColumn(movi, "IDTIPOMOVIVE", Variant(std::string(kind == "A" ? "T" : "E")));
    CopyTenderColumns(movi, receb);
    SetColumn(movi, "VRMOVIVEND", Variant(value));
    if (kind == "6") {
      SetColumn(movi, "VRMOVIVEOUT", Variant(tender.foreign_amount));
      SetColumn(movi, "VRCOTINDOUT", Variant(tender.rate));
    }
    const std::pair<const char*, const std::string*> card_columns[] = {
        {"NRCARTBANCO", &card.NRCARTBANCO},     {"CDNSUHOSTTEF", &card.CDNSUHOSTTEF},
        {"CDNSUTEF", &card.CDNSUTEF},           {"NRCONTROLTEF", &card.NRCONTROLTEF},
        {"NMBANDTEF", &card.NMBANDTEF},         {"NRAUTORIZATEF", &card.NRAUTORIZATEF},
        {"DSCARTDIGITAL", &card.DSCARTDIGITAL}, {"IDFILAPAGMFE", &card.IDFILAPAGMFE},
        {"CDAUTORIZMFE", &card.CDAUTORIZMFE},   {"CDBINCARTMFE", &card.CDBINCARTMFE},
        {"NMINSTFINMFE", &card.NMINSTFINMFE},   {"CDPAGAMENMFE", &card.CDPAGAMENMFE},
        {"CDINSTCAR", &card.CDINSTCAR}};
    for (const auto& [column, text] : card_columns) SetColumn(movi, column, Variant(*text));
    const int installments =
        card.QTPARCRECEB > 1 ? card.QTPARCRECEB : (tender.installments > 0 ? tender.installments : 1);
    SetColumn(movi, "QTPARCRECEB", Variant(installments));
    const bool debit = kind == "2" || kind == "F" || kind == "G";
    if (debit && !card.CDBANCARTCR.empty()) SetColumn(movi, "CDBANCARTCR", Variant(card.CDBANCARTCR));
    if ((debit && !card.CDBANCARTCR.empty()) || (kind == "H" && !card.DSCARTDIGITAL.empty())) {
      SetColumn(movi, "CDTIPORECEORIG", Variant(card.CDTIPORECEORIG));
      SetColumn(movi, "NMTIPORECEORIG", Variant(card.NMTIPORECEORIG));
    }
    if (kind == "I") SetColumn(movi, "IDTRANSAME", Variant(card.IDTRANSAME));
    NoRedemption(movi);
    movi.Post();

    if (tender.bonus_tender) {
      movi.Append();
      FillConsumerColumns(movi);
      SetColumn(movi, "IDTIPOMOVIVE", Variant(std::string("E")));
      CopyTenderColumns(movi, *tender.bonus_tender);
      SetColumn(movi, "VRMOVIVEND", Variant(runtime::Trunc2(tender.bonus_amount)));
      SetColumn(movi, "DSOPEEXTCONS", Variant(Msg("OBS_BONUS")));
      SetColumn(movi, "QTPARCRECEB", Variant(1));
      NoRedemption(movi);
      movi.Post();
    }
  }

  Linha(s_.controls.Require("memLista"), PaymentListLine(base::ColumnText(receb, "NMTIPORECE"), amount), false);
  // A card line that moved to the tender of its brand leaves the grid's tender current.
  if (!tender.card.CDTIPORECEORIG.empty()) receb.Locate("CDTIPORECE", Variant(tender.card.CDTIPORECEORIG));
}

void PaymentLines::UpdatePaidAmounts(double amount) {
  ControlRegistry& c = s_.controls;
  SaleState& sale = s_.sale;
  sale.doVrAPagar = runtime::Trunc2(sale.doVrAPagar - amount);
  if (sale.doVrAPagar < 0) sale.doVrAPagar = 0;
  sale.doVrPago = runtime::Trunc2(sale.doVrPago + amount);
  const std::string paid = runtime::FormatFloat("0.00", sale.doVrPago);
  c.SetCaption("lblValorPago", paid);
  c.SetCaption("lblTotalCarga", paid);
  // A top-up shows what is being loaded.
  const bool top_up = sale.stTipoTela == "S" || sale.stTipoTela == "A";
  c.SetCaption("lblValorPagar", runtime::FormatFloat("0.00", top_up ? sale.doVrPago : sale.doVrAPagar));
  if (runtime::Trunc2(sale.doVrAPagar - amount) != 0) {
    c.SetEnabled("spbDesconto", false);
    c.SetVisible("spbDesconto", false);
  }
  ShowTotalsOnPosKeyboard();
}

void PaymentLines::ShowTotalsOnPosKeyboard() {
  pos::PosKeyboard& keyboard = *s_.ctx.host.keyboard;
  if (!keyboard.Teclado_OK()) return;
  const SaleState& sale = s_.sale;
  const int width = s_.par.inTAMDISPLAY > 0 ? s_.par.inTAMDISPLAY : 40;
  keyboard.ProcTeclFormFeed();
  const std::pair<const char*, double> lines[] = {{"Total", sale.doVrTotal},
                                                  {"TotalPago", sale.doVrPago},
                                                  {"TotalAPagar", sale.doVrAPagar},
                                                  {"APAGAR", sale.doVrAPagar}};
  int line = 1;
  for (const auto& [key, value] : lines) {
    keyboard.ProcTeclGoToXY(1, line++);
    keyboard.ProcTeclDispStr(DisplayLine(Msg(key), value, width));
  }
}

void PaymentLines::RedrawList() {
  s_.parts.adjustments.ShowAdjustmentsList();
  base::Dataset* movi = s_.sale.cdsMoviVenda;
  if (!movi || !movi->Active()) return;
  Control& list = s_.controls.Require("memLista");
  for (movi->First(); !movi->Eof(); movi->Next()) {
    const double amount = base::ColumnNumber(*movi, "VRMOVIVEND");
    if (base::ColumnText(*movi, "IDTIPOMOVIVE") == "S") {
      Linha(list, "", false);
      Linha(list, PaymentListLine(Msg("TROCO") + ": ", amount), false);
    } else {
      Linha(list, PaymentListLine(base::ColumnText(*movi, "NMTIPORECE"), amount), false);
    }
  }
}

}  // namespace recebimento::screen
