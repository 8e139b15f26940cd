// The buyer's document for the receipt: the loyalty lock, the name and address the amount
// makes mandatory, the PIN pad or the host's entry dialog (plain, or the CRM dialog that
// also consults the loyalty integration), and the result on the screen and the items.
#include "screen/consumer/consumer_identification.h"

#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

// Restores a setting however the run ends.
struct RestoreOnExit {
  std::string& setting;
  std::string saved;
  ~RestoreOnExit() { setting = saved; }
};

std::string Element(const Variant& result, size_t i) {
  if (!result.IsArray() || result.Size() <= i) return std::string();
  try {
    return base::Trim(result[i].AsString());
  } catch (const std::exception&) {
    return std::string();
  }
}

}  // namespace

bool ConsumerIdentification::AmountRequiresDocument() const {
  const ParametrosZem& par = s_.par;
  return (par.boSISTEMAZEMNFCE || par.boSISTEMAZEMSAT) && par.doVROBRIGCPFNOTA != 0 &&
         s_.sale.doVrTotal >= par.doVROBRIGCPFNOTA;
}

std::string ConsumerIdentification::LoyaltyCpf() const {
  const SaleState& sale = s_.sale;
  if (!sale.HasItems()) return std::string();
  const std::string uds = base::Trim(sale.ItemText("NRCPFFIDUDS"));
  const std::string core = base::Trim(sale.ItemText("NRCPFCOREBANC"));
  if (s_.par.stIDUTICOREBANC == "S") return core.empty() ? uds : core;
  return uds.empty() ? core : uds;
}

void ConsumerIdentification::spbCNPJCPFClick() {
  SaleState& sale = s_.sale;
  ParametrosZem& par = s_.par;
  if (sale.boProcessandoSaida) return;

  // A CPF already given to a cashback service is the receipt's: it changes only while
  // the amount still asks for a document the receipt lacks.
  const bool incomplete = base::Trim(sale.stNrDocConsCupom).empty() || base::Trim(sale.stNmConsCupom).empty() ||
                          base::Trim(sale.stDsEndeVenda).empty();
  if (!LoyaltyCpf().empty() && !(AmountRequiresDocument() && incomplete)) {
    s_.ShowMessage(Msg("CPF_JA_INF"), runtime::kMsgBlocked);
    return;
  }

  // From this amount the receipt names the buyer and the address too, this time.
  RestoreOnExit restore{par.stIDINFNOMEEND, par.stIDINFNOMEEND};
  if (par.stIDINFNOMEEND == "N" && AmountRequiresDocument()) par.stIDINFNOMEEND = "S";

  std::string digits;
  bool system_path = false;
  if (par.stIDINFOCPFPINPAD == "S" && par.stIDUTILTEF == "T") {
    const std::string choice = MensagemCPFPinpad();
    s_.controls.SetVisible("panCPFPinPad", false);
    if (choice == "PINPAD") {
      if (!DigitsFromPinpad(digits)) return;
    } else if (choice == "SISTEMA") {
      system_path = true;
    } else {
      return;  // not informed: the identification stays as it was
    }
  }
  Variant result;
  if (RunEntryDialogs(system_path, digits, result)) TakeResult(result);
}

std::string ConsumerIdentification::MensagemCPFPinpad() {
  TenderGrid& grid = s_.parts.grid;
  grid.CtrlBotoes("C", 1);
  choice_.clear();
  Control& panel = s_.controls.Require("panCPFPinPad");
  panel.top = 228;
  panel.left = 155;
  panel.visible = true;
  panel.enabled = true;
  s_.ctx.pump.RunUntil([&] { return !choice_.empty() || s_.window.Closed(); }, "CPF/CNPJ on the PIN pad or typed");
  if (choice_.empty()) choice_ = "SAIR";
  grid.CtrlBotoes("C", 2);
  return choice_;
}

bool ConsumerIdentification::DigitsFromPinpad(std::string& digits) {
  const ParametrosZem& par = s_.par;
  const Variant answer = s_.ctx.host.tef_dedicated->DigitaCpfPinpad(par.stDSENDIPSITEF, par.stCDLOJATEF, par.stCDTERTEF,
                                                                    par.stIDTPTEF, par.stNRINSJURFILI, true);
  int64_t status = -1, code = 0;
  try {
    if (answer.IsArray() && answer.Size() >= 2) {
      status = answer[0].AsInteger();
      code = answer[1].AsInteger();
    }
  } catch (const std::exception&) {
    status = -1;  // an answer the screen cannot read ends the identification
  }
  digits.clear();
  if (status == 0) {
    if (code == 0) {
      digits = Element(answer, 2);
      return true;
    }
    if (code == -43) {
      s_.ShowMessage(Msg("ERRO_INI"), runtime::kMsgBlocked);
      return true;
    }
    return false;
  }
  std::string key;
  if (status == 1) key = "IP_INV";
  if (status == 2 || status == 3) key = "LOJA_INV";
  if (status == 6 || status == 7) key = "ERRO_INI";
  if (status == 8) key = "NAO_TEF";
  if (status == 10) key = "NAO_CLISITEF";
  if (key.empty()) return false;
  // The PIN pad is not there: the document may still be typed.
  s_.ShowMessage(Msg(key), runtime::kMsgBlocked);
  return true;
}

Variant ConsumerIdentification::EntryDialog(const std::string& digits, bool crm_mode) {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const std::vector<Variant> args = {Variant(sale.stNrDocConsCupom),
                                     Variant(sale.stNmConsCupom),
                                     Variant(sale.stDsEndeVenda),
                                     Variant(sale.stNrIdEstrangeiro),
                                     Variant(par.stIDINFNOMEEND),
                                     Variant(par.stIDESQUEMA),
                                     Variant(std::string(crm_mode ? "CRM" : "")),
                                     Variant(digits),
                                     Variant(std::string(par.stIDINTRESGSALDO == "S" ? "S" : "N")),
                                     Variant(par.stIDUTILFIXECRM),
                                     Variant(par.stCDURLFIXECRM),
                                     Variant(par.stCDFILIAL),
                                     Variant(par.stCDCAIXA),
                                     Variant(sale.stCdOperador),
                                     Variant(sale.doVrTotal),
                                     Variant(par.stIDSOLICITACPF)};
  Variant out;
  const bool confirmed = s_.ctx.host.dialogs->CriaInfAdicional(args, out);
  // A cancelled dialog leaves the receipt without identification.
  if (!confirmed || !out.IsArray()) return Variant(std::vector<Variant>(6, Variant(std::string())));
  return out;
}

bool ConsumerIdentification::RunEntryDialogs(bool system_path, const std::string& digits, Variant& result) {
  const ParametrosZem& par = s_.par;
  SaleState& sale = s_.sale;
  if (system_path && par.stIDINTRESGSALDO == "S") {
    result = EntryDialog(digits, false);
    return true;
  }
  if (par.stIDUTILFIXECRM == "S" && base::Trim(sale.stNrDocConsCupom).empty()) {
    result = EntryDialog(digits, true);
    sale.stConsultaFixeCRM = "N";  // the CRM dialog consulted the loyalty integration itself
    if (Element(result, 0).empty() && s_.ShowMessage("Deseja informar o CPF no cupom?", runtime::kMsgQuestion))
      result = EntryDialog(digits, false);
    return true;
  }
  result = EntryDialog(digits, false);
  return true;
}

void ConsumerIdentification::TakeResult(const Variant& result) {
  SaleState& sale = s_.sale;
  ControlRegistry& c = s_.controls;
  std::string document = Element(result, 0);
  std::string name = Element(result, 1);
  std::string address = Element(result, 2);
  const std::string foreigner = Element(result, 5);
  if (const std::string loyalty = LoyaltyCpf(); !loyalty.empty()) document = loyalty;

  std::string club = document;
  const bool foreign_number = !foreigner.empty() && foreigner != "S";
  if (club.empty() && foreign_number) club = foreigner;
  if (!foreign_number && base::Utf8Length(club) > 11) club = base::Utf8Left(club, 11);
  sale.stCpfClubPetro = club;

  // "0": the buyer is not identified.
  if (document == "0") {
    name.clear();
    address.clear();
  }
  if (!document.empty()) {
    c.SetCaption("lblCPFCons", document);
    c.SetVisible("lblCPFCons", true);
  }
  if (!name.empty()) c.SetCaption("lblNomeCons", name);
  sale.stNrDocConsCupom = document;
  sale.stNmConsCupom = name;
  sale.stDsEndeVenda = address;
  sale.stNrIdEstrangeiro = foreigner;
  sale.SetOnEveryItem("NMCONSVEND", Variant(name));
  sale.SetOnEveryItem("NRINSCRCONS", Variant(document));
  sale.SetOnEveryItem("DSENDEVENDA", Variant(address));
  sale.SetOnEveryItem("NRIDESTRANGEIRA", Variant(foreigner));
}

}  // namespace recebimento::screen
