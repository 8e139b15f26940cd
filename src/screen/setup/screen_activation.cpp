// The screen's activation: the buyer on the receipt the first time, the promotions every
// time, and the FixeCRM stamps once per screen.
#include "screen/setup/screen_activation.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using base::Variant;

namespace {

constexpr const char* kNoConsumerCaption = "Consumidor:";
constexpr const char* kNoStampsToRedeem = "Saldo insuficiente para resgate.";
constexpr int kWaitingLeft = 145, kWaitingTop = 200;
constexpr size_t kMostCpfCharacters = 11;

Variant Element(const Variant& answer, size_t i) {
  if (!answer.IsArray() || answer.Size() <= i) return Variant();
  return answer[i];
}

std::string Text(const Variant& v) {
  try {
    return v.IsEmptyOrNull() ? std::string() : v.AsString();
  } catch (const std::exception&) {
    return std::string();
  }
}

// The balance the host answered, as a number or a text with either separator; 0 for
// anything else.
double Amount(const Variant& v) {
  if (v.IsEmptyOrNull()) return 0;
  try {
    if (!v.IsString()) return v.AsFloat();
    std::string text = base::Trim(v.AsString());
    std::replace(text.begin(), text.end(), ',', '.');
    size_t used = 0;
    const double value = std::stod(text, &used);
    return used == text.size() ? value : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

ScreenActivation::ScreenActivation(ScreenScope& s) : s_(s) {}

void ScreenActivation::FormActivate() {
  if (boPrimeiraAtivacao) {
    FirstActivation();
    boPrimeiraAtivacao = false;
  }
  ListPromotions();
  if (const std::string cpf = FixeCrmDocument(); !cpf.empty()) ConsultaFixeCRM(cpf);
}

// --- The buyer on the receipt.

void ScreenActivation::LoadSaleConsumer() {
  const SaleState& sale = s_.sale;
  const std::string client = base::Trim(sale.ItemText("CDCLIENTE"));
  const std::string consumer = base::Trim(sale.ItemText("CDCONSUMIDOR"));
  sale_consumer_.Close();
  if (client.empty() || consumer.empty()) return;
  const Variant record = s_.CheckResult(s_.ctx.rdm.getConsumidor(client, consumer, s_.par.stCDFILIAL), "getConsumidor",
                                        client + "-" + consumer + "-" + s_.par.stCDFILIAL);
  if (record.IsPacket()) sale_consumer_.SetData(record);
}

bool ScreenActivation::SaleConsumerFound() const { return sale_consumer_.Active() && !sale_consumer_.IsEmpty(); }

void ScreenActivation::TakeSaleConsumer() {
  SaleState& sale = s_.sale;
  sale.stNmConsCupom = base::ColumnTrimmed(sale_consumer_, "NMCONSUMIDOR");
  sale.stNrDocConsCupom = base::ColumnTrimmed(sale_consumer_, "NRCPFRESPCON");
  sale.stDsEndeVenda = base::ColumnTrimmed(sale_consumer_, "DSENDECONS");
  stIdImpCPFCupom = base::ColumnTrimmed(sale_consumer_, "IDIMPCPFCUPOM");
  ResetClubPetroBuyer();
}

void ScreenActivation::ResetClubPetroBuyer() {
  // The ClubPetro buyer of this sale is the receipt's document, cut to a CPF's length.
  SaleState& sale = s_.sale;
  if (!sale.stCpfClubPetro.empty()) return;
  for (const std::string* text : {&sale.stNrDocConsCupom, &sale.stNrIdEstrangeiro}) {
    const std::string doc = base::Trim(*text);
    if (doc.empty()) continue;
    sale.stCpfClubPetro = base::Utf8Length(doc) > kMostCpfCharacters ? base::Utf8Left(doc, kMostCpfCharacters) : doc;
    return;
  }
}

void ScreenActivation::OpenIdentification() { s_.parts.identification.spbCNPJCPFClick(); }

void ScreenActivation::SeatIdentification(bool counter) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const std::string table = base::Trim(sale.ItemText("NRCOMANDA"));
  const std::string seat = base::Trim(sale.ItemText("NRLUGARMESA"));
  const Variant recorded = s_.CheckResult(s_.ctx.rdm.getCPFCNPJ(par.stCDFILIAL, table, seat), "setCPFCNPJ",
                                          par.stCDFILIAL + "-" + table + "-" + seat, 0, "Cli_Rev00100");
  // A failed read was reported; the activation goes on with what the dataset holds.
  if (recorded.IsPacket()) cdsCPFCNPJ.SetData(recorded);
  const bool none = !cdsCPFCNPJ.Active() || cdsCPFCNPJ.IsEmpty();

  if (par.stIDSOLICITACPF == "S" && none) {
    const bool consumer_named = !base::Trim(sale.ItemText("CDCLIENTE")).empty() &&
                                !base::Trim(sale.ItemText("CDCONSUMIDOR")).empty() && SaleConsumerFound();
    if (consumer_named) {
      if (par.stIDIMPCNPJCLIE == "N" && base::Trim(sale.stNrDocConsCupom).empty()) {
        TakeSaleConsumer();
        if (stIdImpCPFCupom != "S") {
          sale.stNrDocConsCupom.clear();
          OpenIdentification();
        }
      }
      return;
    }
    const bool something_given =
        !sale.stNrDocConsCupom.empty() || !sale.stNmConsCupom.empty() || !sale.stDsEndeVenda.empty();
    if (counter ? stIdImpCPFCupom != "S" : something_given) OpenIdentification();
    return;
  }
  if (none) return;
  cdsCPFCNPJ.First();
  sale.stNmConsCupom = base::ColumnTrimmed(cdsCPFCNPJ, "NMCONSVEND");
  sale.stNrDocConsCupom = base::ColumnTrimmed(cdsCPFCNPJ, "NRINSCRCONS");
  sale.stDsEndeVenda = base::ColumnTrimmed(cdsCPFCNPJ, "DSENDEVENDA");
  sale.stNrIdEstrangeiro = base::ColumnTrimmed(cdsCPFCNPJ, "NRIDESTRANGEIRA");
  ResetClubPetroBuyer();
  sale.SetOnEveryItem("NMCONSVEND", Variant(sale.stNmConsCupom));
  sale.SetOnEveryItem("NRINSCRCONS", Variant(sale.stNrDocConsCupom));
  sale.SetOnEveryItem("DSENDEVENDA", Variant(sale.stDsEndeVenda));
  sale.SetOnEveryItem("NRIDESTRANGEIRA", Variant(sale.stNrIdEstrangeiro));
  if (!sale.stNrDocConsCupom.empty()) {
    s_.controls.SetCaption("lblCPFCons", sale.stNrDocConsCupom);
    s_.controls.SetVisible("lblCPFCons", true);
  }
  if (!sale.stNmConsCupom.empty()) s_.controls.SetCaption("lblNomeCons", sale.stNmConsCupom);
}

void ScreenActivation::FirstActivation() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  LoadSaleConsumer();
  const bool counter = sale.stIdTipoVenda == "B";
  if (counter && par.boUTILIZAIMPFIS) s_.controls.SetEnabled("spbCNPJCPF", false);
  if (sale.stTipoTela == "S" || sale.stTipoTela == "A") return;  // a badge top-up names nobody
  if (!counter) {
    SeatIdentification(false);
    return;
  }
  if ((par.stIDMOMENTOCPFVEN == "D" || par.stIDUTILFIXECRM == "S") && s_.controls.IsEnabled("spbCNPJCPF")) {
    SeatIdentification(true);
    return;
  }
  if (SaleConsumerFound() && base::Trim(sale.stNrDocConsCupom).empty()) {
    TakeSaleConsumer();
    if (par.stIDSOLICITACPF == "S" && stIdImpCPFCupom != "S" && par.stIDMOMENTOCPFVEN != "A") {
      sale.stNrDocConsCupom.clear();
      OpenIdentification();
    }
  }
}

// --- Promotions.

void ScreenActivation::ListPromotions() {
  const SaleState& sale = s_.sale;
  if (s_.par.stIDUTILINTEPROMO == "S" && (sale.stIdTipoVenda == "B" || sale.stModoVenda == "RES") &&
      sale.stIdTela != "S")
    s_.parts.discounts.ListaPromo();
}

// --- FixeCRM.

std::string ScreenActivation::FixeCrmDocument() const {
  const SaleState& sale = s_.sale;
  if (s_.par.stIDUTILFIXECRM != "S" || boConsultouFixeCRM || sale.stConsultaFixeCRM == "N") return "";
  const Control* label = s_.controls.FindComponent("lblCPFCons");
  const std::string shown = label && label->visible ? base::Trim(label->caption) : std::string();
  const std::string document = base::Trim(sale.stNrDocConsCupom);
  // A CNPJ (12 characters or more, in the document or on the label) never goes to FixeCRM.
  if (base::Utf8Length(document) > kMostCpfCharacters || base::Utf8Length(shown) > kMostCpfCharacters) return "";
  if (!document.empty()) return document;
  return shown == kNoConsumerCaption ? std::string() : shown;
}

void ScreenActivation::ShowWaiting(bool on) {
  ControlRegistry& c = s_.controls;
  if (on) {
    Control& panel = c.Require("panTef");
    panel.left = kWaitingLeft;
    panel.top = kWaitingTop;
    c.SetCaption("lblTef", kFixeCrmWaiting);
    c.SetVisible("lblSegundos", false);
    panel.visible = true;
    s_.ctx.pump.ProcessMessages();
  } else {
    c.SetVisible("panTef", false);
  }
}

void ScreenActivation::ForgetTelephone() {
  SaleState& sale = s_.sale;
  sale.stTelefoneCons.clear();
  sale.boTelefoneSolicitado = false;
}

bool ScreenActivation::Question(const std::string& text) {
  return runtime::ShowMessage(s_.ctx.host.messages,
                              {text, "", "N", "N", runtime::kMsgQuestion, "", s_.par.stIDESQUEMA, 0, nullptr});
}

double ScreenActivation::RedeemFixeCrm() {
  SaleState& sale = s_.sale;
  if (!Question(stMsgFixeCRM)) return 0;
  const double base = runtime::Trunc2(sale.doVrTotal - sale.doVrServico - sale.doVrAcrComanda);
  const double units = s_.parts.discounts.ItemUnits();
  double discount = 0, redeemed = 0;
  if (doSaldoFixeCRM >= base) {
    // The stamps cover the sale: one cent per unit sold stays to pay.
    discount = runtime::Trunc2(base - runtime::Trunc2(0.01 * units));
    redeemed = base;
  } else {
    discount = redeemed = runtime::Trunc2(doSaldoFixeCRM);
  }
  if (!(discount > 0)) return 0;
  sale.doVrDesconto = discount;
  s_.parts.adjustments.AplicaDesconto();
  s_.ctx.log.LogRev00000("FixeCRM: desconto " + runtime::FormatFloat("0.00", discount));
  return redeemed;
}

void ScreenActivation::ConsultaFixeCRM(const std::string& cpf) {
  SaleState& sale = s_.sale;
  if (base::Trim(sale.stNrDocConsCupom).empty()) sale.stNrDocConsCupom = cpf;
  ShowWaiting(true);
  boConsultouFixeCRM = true;
  const std::vector<Variant> args = {Variant(std::string("CONSULTA_SELOS")),
                                     Variant(s_.par.stCDURLFIXECRM),
                                     Variant(std::string()),
                                     Variant(std::string()),
                                     Variant(std::string()),
                                     Variant(cpf),
                                     Variant(std::string()),
                                     Variant(std::string()),
                                     Variant(std::string()),
                                     Variant(std::string())};
  const bool called = s_.ctx.host.loyalty->FixeCRM(args, sale.oleRetorno);
  ShowWaiting(false);
  const std::string unreachable = Msg("FALHA_CONEXAO_FIXECRM", MessageComponent::msgPadrao2);
  if (!called) {
    s_.ShowMessage(unreachable, runtime::kMsgBlocked);
    ForgetTelephone();
    return;
  }
  s_.controls.SetVisible("lblSegundos", true);
  const Variant message = Element(sale.oleRetorno, 0);
  if (Text(message).empty()) {
    s_.ShowMessage(unreachable, runtime::kMsgBlocked);
    ForgetTelephone();
  } else {
    stMsgFixeCRM = Text(message);
    doSaldoFixeCRM = Amount(Element(sale.oleRetorno, 1));
    if (base::Utf8Left(stMsgFixeCRM, 32) == kNoStampsToRedeem) {
      s_.ShowMessage(stMsgFixeCRM, runtime::kMsgPrompt);
      sale.SetOnEveryItem("NRCPFFIXECRM", Variant(cpf));
      sale.SetOnEveryItem("VRRESGFIXECRM", Variant(0.0));
    } else {
      const double redeemed = RedeemFixeCrm();
      sale.SetOnEveryItem("NRCPFFIXECRM", Variant(cpf));
      sale.SetOnEveryItem("VRRESGFIXECRM", Variant(redeemed));
    }
  }
  if (!Question(kFixeCrmPrintCpf)) OpenIdentification();
}

}  // namespace recebimento::screen
