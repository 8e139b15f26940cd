// ClubPetro on the screen: points of the consumer's CPF taken as tender kind "5" (token,
// consultation retried while the operator asks, at most three times), and at the close
// the points redeemed and the sale reported with its items by product family.
#include <algorithm>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/documents.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/loyalty_programs.h"

namespace recebimento::screen {

namespace {

constexpr int kMostConsultations = 3;
constexpr size_t kCpfLength = 11;

// Keeps timClubPetro running while ClubPetro is asked, and the host's progress notice up.
class WhileClubPetroAnswers {
 public:
  WhileClubPetroAnswers(base::Timer& timer, pos::HostDialogs* dialogs) : timer_(timer), dialogs_(dialogs) {
    timer_.SetEnabled(true);
    if (dialogs_) dialogs_->AtivaProcesso("frmRecebimento", "Conectando ClubPetro! Aguarde...");
  }
  ~WhileClubPetroAnswers() {
    timer_.SetEnabled(false);
    if (dialogs_) dialogs_->DesativaProcesso();
  }
  WhileClubPetroAnswers(const WhileClubPetroAnswers&) = delete;
  WhileClubPetroAnswers& operator=(const WhileClubPetroAnswers&) = delete;

 private:
  base::Timer& timer_;
  pos::HostDialogs* dialogs_;
};

}  // namespace

integrations::ClubPetroClient LoyaltyPrograms::ClubPetroApi() {
  return integrations::ClubPetroClient(s_.ctx.integration, s_.ctx.log, club_frame_, club_, shared_, Loaded().club);
}

void LoyaltyPrograms::inicializaVarClubPetro() {
  club_.UrlRaizAPIClubPetro.clear();
  club_.stCDCNPJRESGSALDO.clear();
  club_.stCDINTRESGSALDO.clear();
  club_.boCliClubPetroExiste = true;
  club_.boMsgErrClubPetro = false;
  club_.doSaldoValorClubPetro = 0;
  club_.stIDTIPORESGATE = "N";
  club_.doSaldoRest = 0;
  SaleState& sale = s_.sale;
  if (sale.stCpfClubPetro.empty()) {
    for (const std::string* doc : {&sale.stNrDocConsCupom, &sale.stNrIdEstrangeiro})
      if (!base::Trim(*doc).empty()) {
        sale.stCpfClubPetro = base::Utf8Left(base::Trim(*doc), kCpfLength);
        break;
      }
  }
}

bool LoyaltyPrograms::ConsultClubPetro() {
  TenderSelection& selection = s_.parts.selection;
  const std::string document = base::Trim(s_.sale.stCpfClubPetro);
  auto end = [&](const std::string& text) {
    s_.sale.boFalhaReceb = true;
    s_.parts.grid.CtrlBotoes("D", 1);
    s_.ShowMessage(text, runtime::kMsgBlocked);
    return false;
  };
  if (!Loaded().club.HasCredentials()) return end(Msg("PARAMRESGSALDO"));
  club_.stCNPJFil = s_.ctx.rdm.getCNPJFil(s_.par.stCDFILIAL);
  integrations::ClubPetroClient api = ClubPetroApi();
  for (club_.doTentativaClubPetro = 1;; ++club_.doTentativaClubPetro) {
    integrations::ClubPetroRefusal why = integrations::ClubPetroRefusal::NoAnswer;
    bool token = false, found = false;
    {
      WhileClubPetroAnswers busy(timClubPetro, s_.ctx.host.dialogs);
      token = api.buscaTokenResgate();
      if (token) {
        club_.ResetConsumers();
        found = api.buscaDadosConsClubPetro(club_frame_.stTokenApiClubPetro, document, "N", &why);
      }
    }
    if (found) return true;
    if (why != integrations::ClubPetroRefusal::NoAnswer) return end(Msg(club_frame_.stMensagemClubPetro));
    if (club_.doTentativaClubPetro >= kMostConsultations) return end(Msg("TENTA_CLUBPETRO3"));
    if (!s_.ShowMessage(Msg("TENTA_CLUBPETRO"), runtime::kMsgQuestion)) {
      selection.Refuse(token ? "ERROCLUBPETRO" : "IMPCONAPI_CLUBPETRO");
      return false;
    }
  }
}

bool LoyaltyPrograms::ClubPetroTender(TenderPayment& /*tender*/, double& amount) {
  TenderSelection& selection = s_.parts.selection;
  SaleState& sale = s_.sale;
  base::Dataset& cons = club_.cdsConsClubPetro;
  if (cons.Active() && !cons.IsEmpty() && base::ColumnNumber(cons, "VRRESGATE") > 0) {
    selection.Refuse("CLUBPETRO_JAINF");
    return false;
  }
  inicializaVarClubPetro();
  const std::string digits = runtime::DocumentDigits(sale.stCpfClubPetro);
  if (base::Trim(sale.stCpfClubPetro).empty()) {
    selection.Refuse("CONS_N_INF");
    return false;
  }
  if (digits.size() > kCpfLength) {  // a CNPJ: the programme is for people
    selection.Refuse("INTSOMENTECPF2");
    return false;
  }
  const bool found = ConsultClubPetro();
  club_frame_.desalocaVariaveisClubPetro();
  if (!found) return false;
  const double balance = club_.PointsBalance();
  if (balance <= 0) {
    selection.Refuse("SALDPETRO_ZERO");
    return false;
  }
  s_.ShowMessage(Msg("SALDOCONS_PETRO") + runtime::FormatFloat("0.00", balance), runtime::kMsgPrompt);
  if (!selection.AmountFromKeypad(isTicket1, std::min(balance, sale.doVrAPagar), amount) ||
      !selection.CheckTypedAmount(amount, false))
    return false;
  amount = runtime::Trunc2(amount);
  if (amount > balance) {
    selection.Refuse("ValorInvMaior");
    return false;
  }
  if (!s_.ShowMessage(Msg("CONFIRMAPETRO"), runtime::kMsgQuestion)) {
    sale.boFalhaReceb = true;
    s_.parts.grid.CtrlBotoes("D", 1);
    return false;
  }
  const base::DateTime now = s_.ctx.clock.Now();
  club_.dtAgoraClubPetro = now;
  club_.stIdUnicoClubPetro = s_.par.stCDFILIAL + s_.par.stCDCAIXA + now.Format("yyyymmddhhnnss");
  club_.dbPontosClubPetro = amount;
  cons.Edit();
  base::SetColumn(cons, "VRRESGATE", base::Variant(amount));
  base::SetColumn(cons, "CDCONSRESGSALDO", base::Variant(base::ColumnText(cons, "COD_CLIENTE")));
  cons.Post();
  return true;
}

std::vector<integrations::ClubPetroItem> LoyaltyPrograms::ClubPetroItems() const {
  std::vector<integrations::ClubPetroItem> items;
  if (!s_.sale.HasItems()) return items;
  base::Dataset& ds = *s_.sale.cdsItensVenda;
  const int current = ds.RecNo();
  for (ds.First(); !ds.Eof(); ds.Next()) {
    integrations::ClubPetroItem item;
    item.CDPRODUTO = base::ColumnTrimmed(ds, "CDPRODUTO");
    item.QTPRODCOMVEN = base::ColumnNumber(ds, "QTPRODCOMVEN");
    item.VRPRECCOMVEN = base::ColumnNumber(ds, "VRPRECCOMVEN");
    item.VRUNITVENDCL = base::ColumnNumber(ds, "VRUNITVENDCL");
    item.VRDESCCOMVEN = base::ColumnNumber(ds, "VRDESCCOMVEN");
    item.VRACRCOMVEN = base::ColumnNumber(ds, "VRACRCOMVEN");
    items.push_back(item);
  }
  if (current > 0) ds.SetRecNo(current);
  return items;
}

void LoyaltyPrograms::MarkPointsLine() {
  base::Dataset* movi = s_.sale.cdsMoviVenda;
  if (!movi || !movi->Active() || movi->FieldIndex("IDTIPORECE") < 0) return;
  if (!movi->Locate("IDTIPORECE", base::Variant(std::string("5")))) return;
  movi->Edit();
  base::SetColumn(*movi, "CDCNPJRESGSALDO", base::Variant(club_.stCDCNPJRESGSALDO));
  base::SetColumn(*movi, "CDINTRESGSALDO", base::Variant(club_.stCDINTRESGSALDO));
  base::SetColumn(*movi, "CDCONSRESGSALDO", base::Variant(base::ColumnText(club_.cdsConsClubPetro, "COD_CLIENTE")));
  base::SetColumn(*movi, "IDTIPORESGATE", base::Variant(club_.stIDTIPORESGATE));
  base::SetColumn(*movi, "VRSALDORESTCP", base::Variant(club_.doSaldoRest));
  movi->Post();
}

bool LoyaltyPrograms::RedeemPoints(integrations::ClubPetroClient& api) {
  base::Dataset& cons = club_.cdsConsClubPetro;
  const double points = base::ColumnNumber(cons, "VRRESGATE");
  if (points_redeemed_ || !(points > 0) || !s_.sale.HasPaymentWith("IDTIPORECE", "5")) return true;
  if (!api.ResgataPontos(club_frame_.stTokenApiClubPetro, points, s_.sale.stCdOperador, club_.dtAgoraClubPetro)) {
    s_.ctx.log.LogRev00000("ClubPetro: resgate de pontos não realizado");
    s_.ShowMessage(Msg("ERROCLUBPETRO"), runtime::kMsgBlocked);
    return false;
  }
  MarkPointsLine();
  points_redeemed_ = true;
  return true;
}

bool LoyaltyPrograms::resgatePontoClubPetro() {
  integrations::ClubPetroClient api = ClubPetroApi();
  WhileClubPetroAnswers busy(timClubPetro, nullptr);
  if (!RedeemPoints(api)) return false;
  if (!api.buscaTokenResgate()) {
    s_.ctx.log.logClubPetro("Não foi possível buscar o token para usar no resgate. Detalhes da requisição:" +
                                club_frame_.stMensagemClubPetro,
                            "N", "S", club_frame_.stMensagemClubPetroAux);
    s_.ShowMessage(FormatMsg(Msg("IMPCONAPIRESG_CLUBPETRO"), {Msg("Token")}), runtime::kMsgBlocked);
    return false;
  }
  return api.InformaVenda(ClubPetroItems(), club_.dtAgoraClubPetro);
}

bool LoyaltyPrograms::CapturesBeforeReceipt() {
  base::Dataset& cons = club_.cdsConsClubPetro;
  if (cons.Active() && !cons.IsEmpty() && !club_.UrlRaizAPIClubPetro.empty()) {
    integrations::ClubPetroClient api = ClubPetroApi();
    WhileClubPetroAnswers busy(timClubPetro, nullptr);
    if (!RedeemPoints(api)) return false;
  }
  Settings& settings = Loaded();
  if (settings.gcom.InUse() && gcom_.consulted && !gcom_reserved_) {
    if (!ResgataCashBackGCOM("balanceReserve")) {
      // The discount stays given, so its reservation is still owed.
      gcom_.consulted = true;
      return false;
    }
    gcom_reserved_ = true;
  }
  return true;
}

void LoyaltyPrograms::RedeemPointsAtClose() {
  base::Dataset& cons = club_.cdsConsClubPetro;
  if (!cons.Active() || cons.IsEmpty()) return;
  if (!club_.UrlRaizAPIClubPetro.empty()) resgatePontoClubPetro();
  cons.EmptyDataSet();
  if (club_.stClubPetroOnline == "S") club_.stClubPetroOnline = "N";
  club_frame_.desalocaVariaveisClubPetro();
}

}  // namespace recebimento::screen
