// The dedicated card transaction: the terminal's configuration, its function lists and
// operation numbers, the host's CriaDedicado, and what an approval or a refusal leaves.
#include <fmt/format.h>

#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "screen/card/card_tenders.h"
#include "screen/card/tef_return_codes.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

bool DebitFamily(const std::string& kind) { return kind == "2" || kind == "F" || kind == "G"; }

// How the log lines name the tender.
std::string LogName(const std::string& kind) {
  if (kind == "3") return "cheque";
  return DebitFamily(kind) ? "cartao de debito" : "cartao de credito";
}

// The text shown when the Auttar terminal refuses with a code; the host's own message
// table has none for it.
std::string AuttarRefusal(int code) {
  const std::string text = code >= 0 ? fmt::format("{:02d}", code) : std::to_string(code);
  const std::string own = Msg("Erro_Auttar");
  const std::string description = MsgErro(text);
  if (!own.empty()) return MsgFmt("Erro_Auttar", {description});
  return "Transação não realizada no TEF: " + description + " (" + text + ").";
}

}  // namespace

bool CardTenders::DedicatedConfigured() const {
  const ParametrosZem& par = s_.par;
  if (par.stIDTPTEF == "2") return !par.stCDTERTEF.empty();
  if (par.stIDTPTEF == "0") return !par.stDSENDIPSITEF.empty() && !par.stCDLOJATEF.empty() && !par.stCDTERTEF.empty();
  if (par.stIDTPTEF == "6") return !par.stCDLOJATEF.empty() && !par.stCDTERTEF.empty();
  return true;
}

std::string CardTenders::FunctionList(const std::string& kind) const {
  if (kind == "H") return "[]";
  const bool debit = DebitFamily(kind);
  if (s_.par.stIDTPTEF != "0") return debit ? "101" : "112";
  const bool long_list = s_.par.stIDHABFORMTEF == "N";
  const char* functions = debit ? (long_list ? "10;17;18;19;25;31;32;33;40;3031;3988]" : "10;25;31;32;33;40]")
                                : (long_list ? "10;27;28;31;32;33;36;40;3031;3988]" : "10;15;31;32;33;40]");
  return s_.parts.selection.TefFunctions() + functions;
}

int CardTenders::OperationNumber(const std::string& kind) const {
  if (kind == "H") return 122;
  if (kind == "3") return 1;
  if (!DebitFamily(kind)) return 3;
  return s_.par.stIDTPTEF == "B" && (kind == "F" || kind == "G") ? 4 : 2;
}

bool CardTenders::RunDedicated(const std::string& kind, TenderPayment& tender, double& amount) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (!DedicatedConfigured()) {
    Fail(Msg("CONF_TEF"));
    return false;
  }
  const std::string form = PaymentFormText();
  pos::DedicatedTefRequest request;
  request.function_list = FunctionList(kind);
  request.operation = OperationNumber(kind);
  request.stDSENDIPSITEF = par.stDSENDIPSITEF;
  request.stCDLOJATEF = par.stCDLOJATEF;
  request.stCDTERTEF = par.stCDTERTEF;
  request.stCDPORTATEF = par.stCDPORTATEF;
  request.stCDESTTEF = par.stCDESTTEF;
  request.stIDTPTEF = par.stIDTPTEF;
  request.doVrTotal = sale.doVrTotal;
  request.stNrComandaCurto = sale.stNrComandaCurto;
  const base::DateTime now = s_.ctx.clock.Now();
  request.date = now.Format("yyyymmdd");
  request.time = now.Format("hhnnss");
  request.stIDESQUEMA = par.stIDESQUEMA;
  request.IDSOLIQTPARC = base::ColumnText(sale.cdsReceb, "IDSOLIQTPARC");
  request.installments = tender.installments;
  request.stNRCNPJLOJA = par.stNRCNPJLOJA;
  request.stNRCNPJTEFHOUSE = par.stNRCNPJTEFHOUSE;
  request.stCDTOKENTLS = par.stCDTOKENTLS;
  request.stCDTPCOMUNTLS = par.stCDTPCOMUNTLS;
  request.stCDTPPROXYTLS = par.stCDTPPROXYTLS;
  request.stCDENPROXYTLS = par.stCDENPROXYTLS;

  pos::DedicatedTef& tef = *s_.ctx.host.tef_dedicated;
  const bool wallet = kind == "H";
  if (!wallet) s_.ctx.log.LogRev00000("inicia Tef - " + LogName(kind));
  // Change through the terminal: the host's variable for a credit, the screen's change
  // for a debit.
  double& change = DebitFamily(kind) ? sale.doVrTroco : tef.Variables().Rev_doTrocoTef;
  pos::DedicatedTefResult result;
  bool approved = false;
  {
    TefPanelShown shown(panel_, kTefPanelText);
    approved = tef.CriaDedicado(request, amount, change, result);
  }
  if (!approved) {
    if (!wallet) s_.ctx.log.LogRev00000("Tef nao Ok - " + LogName(kind));
    if (par.stIDTPTEF == "0" && result.result_code == -5) {
      Fail(Msg("N_CONEX_TEF"));
    } else if (par.stIDTPTEF == "1" && result.result_code != 0) {
      sale.boOperacaoEmCurso = true;
      Fail(AuttarRefusal(result.result_code));
    } else {
      // A refused transaction never records a line, whatever the terminal's kind or code.
      Fail("");
    }
    return false;
  }
  if (!wallet) s_.ctx.log.LogRev00000("Tef Ok - " + LogName(kind));
  if (!TakeDedicatedApproval(kind, result, tender, amount)) return false;
  sale.stFormaPagTef = form;
  return true;
}

bool CardTenders::TakeDedicatedApproval(const std::string& kind, const pos::DedicatedTefResult& result,
                                        TenderPayment& tender, double& amount) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  pos::DedicatedTef& tef = *s_.ctx.host.tef_dedicated;
  const bool wallet = kind == "H";
  if (par.stIDIMPRCUPTEFRED == "S") sale.stRetTender = result.reduced_receipt;
  if (result.host_nsu.empty() && par.stIDTPTEF != "6" && par.stIDTPTEF != "H") {
    // Approved by the terminal but unusable here: it is taken back, or the customer
    // would pay for a line the sale never records.
    tef.FinalizaTransTef(false);
    Fail(Msg("ERR_TEF"));
    return false;
  }
  sale.stIdCPFCupom = "c";
  sale.inQtdeTef += 1;
  const bool top_up = sale.stTipoTela == "S" || sale.stTipoTela == "A";
  if (result.discount > 0 && (!wallet || !top_up)) {
    if (kind == "1") s_.ctx.log.LogRev00000("aplica desconto tef: " + runtime::FormatFloat("0.00", result.discount));
    ApplyDiscount(result.discount, amount);
  }
  double& rev = tef.Variables().Rev_doTrocoTef;
  tender.doVrTef = amount + rev;
  if (kind == "1") {
    s_.ctx.log.LogRev00000("Valor tef: " + runtime::FormatFloat("0.00", tender.doVrTef));
    s_.ctx.log.LogRev00000("Valor: " + runtime::FormatFloat("0.00", amount));
    s_.ctx.log.LogRev00000("A pagar: " + runtime::FormatFloat("0.00", sale.doVrAPagar));
  }
  sale.doVrTotalTef += tender.doVrTef;
  if (rev != 0) sale.doVrTroco += rev;
  rev = 0;
  sale.boTemPagtoTef = true;
  sale.boOperacaoEmCurso = true;

  CardData& card = tender.card;
  card.NRCARTBANCO = result.bin;
  card.CDNSUHOSTTEF = result.host_nsu;
  card.CDNSUTEF = result.nsu;
  card.NRCONTROLTEF = result.control;
  card.NMBANDTEF = result.brand_name;
  card.NRAUTORIZATEF = result.authorization;
  card.DSCARTDIGITAL = result.wallet_text;
  card.CDINSTCAR = result.institution;
  card.QTPARCRECEB = result.installments;

  const std::string line = (wallet ? "CARTEIRA DIGITAL: " + result.wallet_text : "COD BIN: " + result.bin) +
                           " | COD BAN: " + result.brand_code + " | COD NSU HOST: " + result.host_nsu;
  if (par.boUTILIZAIMPFIS)
    s_.ctx.host.printer->ImpFisDebug(line);
  else
    s_.ctx.host.fiscal->LogImpNFiscal(line);
  if (kind != "3") MoveToMatchingTender(kind, wallet ? result.wallet_text : result.brand_code, tender);
  return true;
}

}  // namespace recebimento::screen
