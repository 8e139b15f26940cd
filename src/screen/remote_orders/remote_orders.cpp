// Remote orders paid from a consumer's personal credit: the payment the host brings is
// validated as a consumer-account tender would be, becomes the sale's payment line and
// confirms the sale at once.
#include "screen/remote_orders/remote_orders.h"

#include <filesystem>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/frame/input_steps.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::SetColumn;
using base::Variant;

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void RemoteOrders::CheckMobileOrder() {
  if (s_.sale.boPagouMobile) CheckRemoteOrder(false);
}

void RemoteOrders::CheckDeliveryOrder() {
  if (s_.sale.boPagouDelivery) CheckRemoteOrder(true);
}

bool RemoteOrders::LocateRemotePayment(base::Dataset& movi) {
  if (!movi.Active() || movi.IsEmpty() || movi.FieldIndex("IDTIPORECE") < 0) return false;
  movi.SetFiltered(false);
  for (movi.First(); !movi.Eof(); movi.Next())
    if (base::ColumnTrimmed(movi, "IDTIPORECE") == "9" && base::ColumnTrimmed(movi, "IDTIPOMOVIVE") != "S") return true;
  return false;
}

bool RemoteOrders::ItemsOfOneFamily() {
  SaleState& sale = s_.sale;
  if (!sale.HasItems()) return true;
  base::Dataset& items = *sale.cdsItensVenda;
  items.First();
  const std::string first = base::ColumnTrimmed(items, "CDFAMILISALD");
  for (items.Next(); !items.Eof(); items.Next())
    if (base::ColumnTrimmed(items, "CDFAMILISALD") != first) return false;
  items.First();
  return true;
}

void RemoteOrders::ShowPromptOnPosKeyboard() {
  pos::PosKeyboard& keyboard = *s_.ctx.host.keyboard;
  if (!keyboard.Teclado_OK()) return;
  keyboard.ProcTeclDispClrLn2();
  keyboard.ProcTeclGoToXY(2, 1);
  keyboard.ProcTeclDispStr(Msg(InputStepPosKeyboardKey(s_.sale.tpInputStep)));
}

void RemoteOrders::ShowOnCustomerDisplay(const std::string& first, const std::string& second) {
  if (!s_.par.boDisplayOK) return;
  pos::CustomerDisplay& display = *s_.ctx.host.display;
  display.LimpaDisplay();
  display.DisplayEnviaTexto(first, 1, 1);
  display.DisplayEnviaTexto(second, 2, 1);
}

void RemoteOrders::CheckRemoteOrder(bool delivery) {
  SaleState& sale = s_.sale;
  ScreenParts& parts = s_.parts;
  if (!sale.cdsMoviVenda || !LocateRemotePayment(*sale.cdsMoviVenda)) return;
  base::Dataset& movi = *sale.cdsMoviVenda;
  const base::Dataset::Bookmark remote = movi.GetBookmark();
  ShowPromptOnPosKeyboard();

  // A personal credit pays one family: an order of several goes to the operator.
  if (!ItemsOfOneFamily()) {
    parts.grid.CtrlBotoes("D", 1);
    s_.ShowMessage(Msg("N_FORMA_CRED2"), runtime::kMsgBlocked);
    return DropRemotePayment(movi, remote);
  }
  parts.keyboard.KeybEnabled(true);
  const double amount = base::ColumnNumber(movi, "VRMOVIVEND");

  // The consumer of the order.
  ChargedConsumer& who = sale.charged;
  who.client = base::Trim(sale.ItemText("CDCLIENTE"));
  who.consumer = base::Trim(sale.ItemText("CDCONSUMIDOR"));
  if (who.client.empty()) who.client = base::ColumnTrimmed(movi, "CDCLIENTE");
  if (who.consumer.empty()) who.consumer = base::ColumnTrimmed(movi, "CDCONSUMIDOR");
  if (who.client.empty()) who.client = sale.stCdClienteVenda;
  if (who.consumer.empty()) who.consumer = sale.stCdConsumidorVenda;
  who.cer_number = sale.ItemText("NRCERVENDAREST");
  who.coo_number = sale.ItemText("NRCOOVENDAREST");
  datamodule::TrdmRecebimento& rdm = s_.ctx.rdm;
  if (delivery && rdm.getVerifConsAtivo(who.client, who.consumer) != "1") {
    s_.ShowMessage(Msg("CONSINATIVO"), runtime::kMsgBlocked);
    return DropRemotePayment(movi, remote);
  }
  const std::string sale_type = rdm.getTipoVendaCons(who.client, who.consumer);
  if (sale_type == "1" || sale_type == "5") {
    s_.ShowMessage(Msg("FORMPG_NPER"), runtime::kMsgBlocked);
    return DropRemotePayment(movi, remote);
  }

  // The consumer's own checks, as a personal-credit tender of the order's amount.
  const Variant record = rdm.getConsumidor(who.client, who.consumer, s_.par.stCDFILIAL);
  if (runtime::IsResultPacket(record)) {
    base::Dataset consumer;
    consumer.SetData(record);
    ShowOnCustomerDisplay(Msg("CNPJCPF") + " : " + base::ColumnText(consumer, "NRCPFRESPCON"),
                          Msg("Nome") + " : " + base::ColumnText(consumer, "NMCONSUMIDOR"));
  }
  if (!parts.consumer.ChargeCredit(amount)) return DropRemotePayment(movi, remote);
  parts.consumer.UpdateStatement(amount);

  movi.SetFiltered(false);
  if (!movi.BookmarkValid(remote)) return;
  movi.GotoBookmark(remote);
  RecordPayment(movi, amount);
  parts.confirmation.Confirm();
}

void RemoteOrders::DropRemotePayment(base::Dataset& movi, base::Dataset::Bookmark remote) {
  movi.SetFiltered(false);
  if (!movi.BookmarkValid(remote)) return;
  movi.GotoBookmark(remote);
  const std::string line =
      base::Utf8Left(PaymentListLine(base::ColumnText(movi, "NMTIPORECE"), base::ColumnNumber(movi, "VRMOVIVEND")), 35);
  movi.Delete();
  for (const char* list : {"memLista", "memListaAux", "memDelivery"}) {
    std::vector<std::string>& lines = s_.controls.Require(list).lines;
    for (auto it = lines.begin(); it != lines.end(); ++it)
      if (*it == line) {
        lines.erase(it);
        break;
      }
  }
  s_.parts.exit.KeepHostPaymentsAsTheyAre();
  s_.ctx.log.LogRev00000("pagamento remoto recusado: retirado dos recebimentos");
}

bool RemoteOrders::LocateTender(const std::string& code, base::Dataset*& tender) {
  const ParametrosZem& par = s_.par;
  if (!cdsTipoRece.Active()) {
    std::string file = s_.ctx.paths.Reference(par.stDSDIRCAD, "\\Dados\\Cadastros\\tiporece.cds");
    if (!FileExists(file)) file = s_.ctx.paths.Find("\\Dados\\Cadastros\\tiporece.cds").value_or("");
    try {
      if (FileExists(file)) cdsTipoRece.LoadFromFile(file);
    } catch (const std::exception& e) {
      // A damaged catalogue: the tender table names the payment instead.
      s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    }
  }
  if (cdsTipoRece.Active() && cdsTipoRece.FieldIndex("CDTIPORECE") >= 0 &&
      cdsTipoRece.Locate("CDTIPORECE", Variant(code))) {
    tender = &cdsTipoRece;
    return true;
  }
  base::Dataset& receb = s_.sale.cdsReceb;
  receb.SetFiltered(false);
  if (receb.Active() && receb.FieldIndex("CDTIPORECE") >= 0 && receb.Locate("CDTIPORECE", Variant(code))) {
    tender = &receb;
    return true;
  }
  return false;
}

void RemoteOrders::RecordPayment(base::Dataset& movi, double amount) {
  SaleState& sale = s_.sale;
  const base::DateTime now = s_.ctx.clock.Now();
  const std::string code = base::ColumnTrimmed(movi, "CDTIPORECE");
  base::Dataset* tender = nullptr;
  const bool named = LocateTender(code, tender);
  base::Dataset& consumer = sale.cdsConsumidor;
  sale.stCDIDCONSUMID = base::ColumnText(consumer, "CDIDCONSUMID");

  movi.Edit();
  SetColumn(movi, "CDFILIAL", Variant(s_.par.stCDFILIAL));
  SetColumn(movi, "IDTIPOMOVIVE", Variant(std::string("E")));
  if (named) {
    for (const char* f : {"NMTIPORECE", "DSIMPFISCAL", "CDFPIMPFIS", "CDTIPOTROCO", "NRORDTROCO"})
      SetColumn(movi, f, Variant(base::ColumnText(*tender, f)));
  }
  if (base::ColumnText(movi, "DTHRINCMOV").empty()) SetColumn(movi, "DTHRINCMOV", Variant(now));
  SetColumn(movi, "DTMOVIMCAIXA", Variant(now.Date()));
  SetColumn(movi, "VRMOVIVEOUT", Variant(0.0));
  SetColumn(movi, "VRCOTINDOUT", Variant(0.0));
  SetColumn(movi, "CDCLIENTE", Variant(sale.charged.client));
  SetColumn(movi, "CDCONSUMIDOR", Variant(sale.charged.consumer));
  SetColumn(movi, "NMCONSUMIDOR", Variant(base::ColumnText(consumer, "NMCONSUMIDOR")));
  SetColumn(movi, "CDIDCONSUMID", Variant(sale.stCDIDCONSUMID));
  if (base::ColumnTrimmed(movi, "CDCCUSCLIE").empty())
    SetColumn(movi, "CDCCUSCLIE", Variant(base::ColumnText(consumer, "CDCCUSCLIE")));
  if (base::ColumnNumber(movi, "QTPARCRECEB") < 1) SetColumn(movi, "QTPARCRECEB", Variant(1));
  if (base::ColumnTrimmed(movi, "IDTIPORESGATE").empty()) SetColumn(movi, "IDTIPORESGATE", Variant(std::string("N")));
  movi.Post();

  ScreenParts& parts = s_.parts;
  parts.payments.UpdatePaidAmounts(amount);
  if (sale.stTipoTela == "N" || sale.stTipoTela == "C") parts.payments.SettleChange();
  const int width = s_.par.inTAMDISPLAY > 0 ? s_.par.inTAMDISPLAY : 40;
  ShowOnCustomerDisplay(DisplayLine(Msg("TotalPago"), sale.doVrPago, width),
                        DisplayLine(Msg("Troco_disp"), sale.doVrTroco, width));
}

}  // namespace recebimento::screen
