// The wallets' part: settings, the journal, the dispatch of a wallet tender, and what
// the close does with the sale's wallet payments.
#include "screen/wallets/wallets.h"

#include <algorithm>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/result_check.h"
#include "integrations/wallet_journal/wallet_recovery.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

constexpr const char* kJournalFile = "wallet_journal.json";

}  // namespace

Wallets::Wallets(ScreenScope& s) : s_(s) {}

Wallets::~Wallets() = default;

integrations::AmeClient Wallets::AmeApi() {
  return integrations::AmeClient(s_.ctx.integration, s_.ctx.log, ame_frame_, ame_, shared_, ame_settings_,
                                 journal_.get());
}

integrations::MercadoPagoClient Wallets::MercadoPagoApi() {
  return integrations::MercadoPagoClient(s_.ctx.integration, s_.ctx.log, mp_frame_, mp_, journal_.get());
}

void Wallets::LoadAmeSettings() {
  const ParametrosZem& par = s_.par;
  ame_settings_ = {};  // settings loaded again never keep the ones they replace
  const base::Variant ame = s_.ctx.rdm.getDadosAme(par.stCDFILIAL);
  if (!runtime::IsResultPacket(ame)) return;
  cdsDadosAme.SetData(ame);
  if (!cdsDadosAme.Active() || cdsDadosAme.IsEmpty() || cdsDadosAme.FieldIndex("IDAMBIENTEAME") < 0) return;
  const std::string environment = base::ColumnText(cdsDadosAme, "IDAMBIENTEAME");
  if (environment.empty()) {
    cdsDadosAme.EmptyDataSet();
    return;
  }
  // Production or homologation credentials; the four sources are not kept.
  const bool production = environment == "P";
  const std::string login = base::ColumnText(cdsDadosAme, production ? "DSLOGINAME" : "DSLOGINAMEHOM");
  const std::string password = base::ColumnText(cdsDadosAme, production ? "DSSENHAAME" : "DSSENHAAMEHOM");
  cdsDadosAme.Edit();
  base::SetColumn(cdsDadosAme, "DSLOGIN", base::Variant(login));
  base::SetColumn(cdsDadosAme, "DSSENHA", base::Variant(password));
  for (const char* c : {"DSLOGINAME", "DSLOGINAMEHOM", "DSSENHAAME", "DSSENHAAMEHOM"})
    base::SetColumn(cdsDadosAme, c, base::Variant(std::string()));
  cdsDadosAme.Post();
  ame_settings_ = integrations::AmeSettingsFrom(cdsDadosAme);
  ame_.inicializaVarAME();
}

void Wallets::LoadSettings() {
  const ParametrosZem& par = s_.par;
  ame_.inicializaVarAME();
  mp_.stPAYMENTID.clear();
  mp_payments_taken_.clear();
  const base::Variant mp = s_.ctx.rdm.getDadosMp(par.stCDFILIAL, par.stCDCAIXA);
  if (runtime::IsResultPacket(mp)) cdsDadosMp.SetData(mp);
  LoadAmeSettings();
  if (cdsDadosMp.Active() && !cdsDadosMp.IsEmpty()) MercadoPagoApi().inicializaVarMP(cdsDadosMp);

  // What a process that died left open is settled before this sale takes anything.
  journal_ =
      std::make_unique<integrations::WalletJournal>(s_.ctx.paths.DataFolder() + "/" + kJournalFile, s_.ctx.clock);
  if (!journal_->Problem().empty()) s_.ctx.log.LogRev00000(journal_->Problem());
  for (const std::string& line :
       integrations::SettleWalletJournal(s_.ctx.integration, s_.ctx.log, *journal_, ame_settings_, cdsDadosMp))
    s_.ctx.log.LogRev00000(line);
}

bool Wallets::WalletTender(const std::string& kind, TenderPayment& tender, double& amount) {
  return kind == "I" ? AmeTender(tender, amount) : MercadoPagoTender(tender, amount);
}

void Wallets::CancelSelection(const std::string& text) {
  s_.sale.boFalhaReceb = true;
  s_.parts.grid.CtrlBotoes("D", 1);
  if (!text.empty()) s_.ShowMessage(text, runtime::kMsgBlocked);
}

bool Wallets::CancelWaitOnEscape() {
  if (!waiting_) return false;
  cancel_requested_ = true;
  return true;
}

bool Wallets::WaitForOperator(int64_t deadline) {
  const auto cancelled = [this] {
    return cancel_requested_ || s_.parts.grid.Selecting() || s_.sale.boFalhaReceb || s_.window.Closed();
  };
  s_.ctx.pump.RunUntil([&] { return cancelled() || s_.ctx.clock.TickMs() >= deadline; }, "wallet payment");
  return cancelled();
}

void Wallets::SaleRecorded() {
  if (!journal_) return;
  for (const integrations::WalletJournalEntry& e : std::vector(journal_->Entries())) {
    if (e.provider == integrations::WalletJournalEntry::kAme && e.id == ame_.journal_entry &&
        base::Utf8Upper(ame_.stIdStatusOrdAME) == "AUTHORIZED") {
      // The recorded sale's AME payment is to be captured, not cancelled, if the
      // process dies before the capture.
      integrations::WalletJournalEntry sale = e;
      sale.phase = integrations::WalletJournalEntry::kSale;
      journal_->Update(sale);
    } else if (e.provider == integrations::WalletJournalEntry::kMercadoPago &&
               e.kind == integrations::WalletJournalEntry::kPayment &&
               std::count(mp_payments_taken_.begin(), mp_payments_taken_.end(), e.payment) > 0) {
      journal_->Remove(e.id);
    }
  }
}

bool Wallets::CaptureAtClose() {
  SaleRecorded();
  if (!ame_.boPagouAme) return true;
  MarkAmeLine(true);
  integrations::AmeClient ame = AmeApi();
  if (base::Utf8Upper(ame_.stIdStatusOrdAME) == "AUTHORIZED") {
    ame.capturaOrdemAME();
  } else {
    ame.cancelaOrdemAME();
  }
  // The sale completes whatever AME answered; a capture still owed is retried from the
  // journal at the next start.
  return true;
}

}  // namespace recebimento::screen
