#include "host/pos/host_simulator.h"

#include <filesystem>

namespace recebimento::pos {

namespace {

// A relative device path lives under the host folder.
std::string UnderHost(const std::string& host_dir, const std::string& path, const std::string& fallback) {
  const std::string p = path.empty() ? fallback : path;
  if (p.empty()) return p;
  std::filesystem::path fp(p);
  return fp.is_absolute() ? p : (std::filesystem::path(host_dir) / fp).string();
}

}  // namespace

HostSimulator::HostSimulator(SimulatorConfig config, base::EventPump& pump, DialogAnswerSource* answers)
    : config_(std::move(config)), pump_(pump) {
  const std::string& host = config_.host_dir;
  tef_files_ = std::make_unique<TefExchangeFolder>(UnderHost(host, config_.tef_exchange_dir, "Tef/Resp"),
                                                   UnderHost(host, config_.tef_pending_dir, "Tef/Pendentes"));
  FiscalPrinterConfig printer = config_.printer;
  printer.journal_path = UnderHost(host, printer.journal_path, "Dados/ImpFiscal/FitaDetalhe.txt");
  printer_ = std::make_unique<SimulatedFiscalPrinter>(printer, record_, pump_.GetClock(), *tef_files_);
  drawer_ = std::make_unique<SimulatedDrawer>(config_.drawer, record_);
  // The drawer hangs on the printer: its operations fail with the printer's.
  for (const auto& [op, nth] : config_.printer_failures) {
    if (op == "Abre_Gaveta_Imp" || op == "Estado_Gaveta_Imp")
      drawer_->Failures().FailAt(op, nth);
    else
      printer_->Failures().FailAt(op, nth);
  }
  displays_ = std::make_unique<SimulatedDisplays>(config_.display, record_);
  TefConfig tef = config_.tef;
  if (!tef.last_transactions_file.empty()) tef.last_transactions_file = UnderHost(host, tef.last_transactions_file, "");
  tef_ = std::make_unique<SimulatedTef>(tef, record_, pump_.GetClock(), *tef_files_);
  tef_->Variables().DsDirTef = tef_files_->ExchangeDir();
  tef_->SetPump(&pump_);
  dialogs_ = std::make_unique<SimulatedDialogs>(record_, answers);
  for (const auto& [kind, answer] : config_.dialog_defaults) dialogs_->SetDefault(kind, answer);
  dialogs_->SetCurrencyRates(config_.currency_rates);
  AccessConfig access = config_.access;
  if (!access.log_path.empty()) access.log_path = UnderHost(host, access.log_path, "");
  access_ = std::make_unique<SimulatedAccessControl>(access, record_);
  services_ = std::make_unique<ScriptedServices>(config_.services, record_);
  services_->SetDialogs(dialogs_.get());
  card_request_dir_ = UnderHost(host, config_.card_request_dir, "Teftx");
  card_answer_dir_ = UnderHost(host, config_.card_answer_dir, "Tefrx");
  if (config_.chart)
    chart_ =
        std::make_unique<SimulatedChartSoftware>(*config_.chart, card_request_dir_, card_answer_dir_, record_, pump_);
}

void HostSimulator::AfterCall(bool sale_completed) {
  if (sale_completed) tef_files_->ConfirmAll();
}

HostServices HostSimulator::Services() {
  HostServices s;
  s.printer = printer_.get();
  s.drawer = drawer_.get();
  s.display = displays_.get();
  s.keyboard = displays_.get();
  s.tef = tef_.get();
  s.tef_dedicated = tef_.get();
  s.dialogs = dialogs_.get();
  s.messages = dialogs_.get();
  s.access = access_.get();
  s.consumers = services_.get();
  s.fiscal = services_.get();
  s.loyalty = services_.get();
  s.pump = &pump_;
  s.card_request_dir = card_request_dir_;
  s.card_answer_dir = card_answer_dir_;
  return s;
}

}  // namespace recebimento::pos
