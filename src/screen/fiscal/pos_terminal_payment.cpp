// The MF-e payment of a card tender paid on a POS terminal: the terminal chosen on the
// panel panSerialPos (or the card terminal itself), the payment sent to the MF-e
// validator, and its status asked once the operator says the terminal is done.
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::ColumnTrimmed;
using base::Variant;

std::string Element(const Variant& answer, size_t i) {
  return answer.IsArray() && answer.Size() > i && !answer[i].IsEmptyOrNull() ? answer[i].AsString() : std::string();
}

}  // namespace

bool FiscalReceipt::FuncoesVFPe(CardData& card) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const bool pos_terminal = ColumnTrimmed(sale.cdsReceb, "IDDESABTEF") == "S" || par.stIDUTILTEF == "N";
  if (pos_terminal) {
    const Variant terminals =
        s_.CheckResult(s_.ctx.rdm.getSerialPos(par.stCDFILIAL), "getSerialPos", par.stCDFILIAL, 0, "Cli_Rev00100");
    if (!runtime::IsResultPacket(terminals)) return false;
    cdsSerialPos.SetData(terminals);
    if (!cdsSerialPos.Active() || cdsSerialPos.IsEmpty()) {
      s_.ShowMessage("Venda POS não permitida. Não existem POS cadastrados para essa filial.", runtime::kMsgBlocked);
      return false;
    }
    // The operator picks the terminal on the panel's list (the first one unless another
    // is chosen) and confirms once it is paid there.
    Control& list = s_.controls.Require("lstSerialPos");
    list.lines.clear();
    list.tag = 0;
    for (cdsSerialPos.First(); !cdsSerialPos.Eof(); cdsSerialPos.Next())
      list.lines.push_back(
          base::Trim(ColumnTrimmed(cdsSerialPos, "CDSERIEPOS") + " " + ColumnTrimmed(cdsSerialPos, "DSDESCPOS")));
    Control& panel = s_.controls.Require("panSerialPos");
    panel.left = (800 - panel.width) / 2;
    panel.top = (600 - panel.height) / 2;
    panel.visible = panel.enabled = true;
    pos_terminal_answer_ = 0;
    s_.ctx.pump.RunUntil([&] { return pos_terminal_answer_ != 0 || s_.window.Closed(); }, "POS terminal");
    panel.visible = false;
    if (pos_terminal_answer_ != 1) return false;
    cdsSerialPos.SetRecNo(list.tag >= 0 && list.tag < cdsSerialPos.RecordCount() ? list.tag + 1 : 1);
  } else {
    cdsSerialPos.Close();
    cdsSerialPos.SetFields({{"CDSERIEPOS", base::FieldType::String, 30},
                            {"CDCHAVACESVALI", base::FieldType::String, 100},
                            {"CDCHAVEREQUI", base::FieldType::String, 100}});
    cdsSerialPos.CreateDataSet();
    cdsSerialPos.AppendRecord({Variant("TEF"), Variant(""), Variant("")});
  }

  std::vector<Variant> terminal = {Variant(ColumnTrimmed(cdsSerialPos, "CDCHAVACESVALI")),
                                   Variant(ColumnTrimmed(cdsSerialPos, "CDCHAVEREQUI")),
                                   Variant(ColumnTrimmed(cdsSerialPos, "CDSERIEPOS")),
                                   Variant(par.stNRINSJURFILI),
                                   Variant(par.stCDFILIAL),
                                   Variant(par.stCDCAIXA),
                                   Variant(sale.doVrTotal)};
  pos::FiscalPrinter& printer = *s_.ctx.host.printer;
  std::vector<Variant> send = {Variant("GeraXMLEnviarPagamento")};
  send.insert(send.end(), terminal.begin(), terminal.end());
  Variant sent;
  if (!printer.ChamaFuncaoMFe(send, sent) || Element(sent, 0).empty()) {
    s_.ShowMessage("Não foi possível enviar o pagamento ao validador fiscal (MF-e).", runtime::kMsgBlocked);
    return false;
  }
  const std::string payment_id = Element(sent, 0);

  s_.ShowMessage("Atenção! Pressione OK somente apos o pagamento no POS estiver finalizado.", runtime::kMsgPrompt);
  pos::HostDialogs& dialogs = *s_.ctx.host.dialogs;
  dialogs.AtivaProcesso("frmRecebimento", "Verificando retorno do VFPe! Aguarde...");
  s_.ctx.clock.Sleep(3000);
  dialogs.DesativaProcesso();

  std::vector<Variant> ask = {Variant("GeraXMLVerificarStatusValidador")};
  ask.insert(ask.end(), terminal.begin(), terminal.end());
  ask.push_back(Variant(payment_id));
  Variant status;
  const bool answered = printer.ChamaFuncaoMFe(ask, status);
  if (answered && Element(status, 0) == "0") {
    card.IDFILAPAGMFE = payment_id;
    card.CDPAGAMENMFE = Element(status, 1);
    card.NMINSTFINMFE = Element(status, 2);
    card.CDAUTORIZMFE = Element(status, 3);
    card.CDBINCARTMFE = Element(status, 4);
    return true;
  }
  // A payment the validator does not confirm is no payment: the tender is not taken.
  card.IDFILAPAGMFE = card.CDPAGAMENMFE = card.NMINSTFINMFE = card.CDAUTORIZMFE = card.CDBINCARTMFE = "";
  s_.ShowMessage("O validador fiscal (MF-e) não confirmou o pagamento no POS.", runtime::kMsgBlocked);
  return false;
}

void FiscalReceipt::ConfirmPosTerminal() { pos_terminal_answer_ = 1; }

void FiscalReceipt::CancelPosTerminal() {
  pos_terminal_answer_ = 2;
  s_.parts.grid.CtrlBotoes("D", 1);
}

}  // namespace recebimento::screen
