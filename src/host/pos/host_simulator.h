#pragma once
// Every host service simulated at once, sharing one record of what the host saw. The
// scripted run, the demo and the tests install these as the host services.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "base/event_pump.h"
#include "host/pos/access_control_sim.h"
#include "host/pos/chart_sim.h"
#include "host/pos/devices_sim.h"
#include "host/pos/dialogs_sim.h"
#include "host/pos/fiscal_printer_sim.h"
#include "host/pos/host_record.h"
#include "host/pos/host_services.h"
#include "host/pos/services_sim.h"
#include "host/pos/tef_exchange_folder.h"
#include "host/pos/tef_sim.h"

namespace recebimento::pos {

struct SimulatorConfig {
  // The host program's folder; relative device files below are placed under it.
  std::string host_dir = ".";
  FiscalPrinterConfig printer;
  std::map<std::string, int> printer_failures;  // operation -> n-th call fails (0: every call)
  DrawerConfig drawer;
  DisplayConfig display;
  TefConfig tef;
  std::string tef_exchange_dir;  // default <host>/Tef/Resp
  std::string tef_pending_dir;   // default <host>/Tef/Pendentes
  // The CHART card software: without it none runs. Its exchange folders (requests out,
  // answers in) default to <host>/Teftx and <host>/Tefrx; relative ones lie under the host.
  std::optional<ChartConfig> chart;
  std::string card_request_dir;
  std::string card_answer_dir;
  AccessConfig access;
  ServicesConfig services;
  std::map<std::string, DialogAnswer> dialog_defaults;
  base::Variant currency_rates;  // packet CriaOutrasMoedas hands back
};

class HostSimulator {
 public:
  HostSimulator(SimulatorConfig config, base::EventPump& pump, DialogAnswerSource* answers = nullptr);
  HostSimulator(const HostSimulator&) = delete;
  HostSimulator& operator=(const HostSimulator&) = delete;

  // The services structure to install; the simulator must outlive its use.
  HostServices Services();

  // What the host does once the call returned: a completed sale's receipt (printed by the
  // host after the call, as an NFC-e is) carries its card transactions, which the
  // terminal then confirms; an abandoned sale leaves nothing for it to confirm.
  void AfterCall(bool sale_completed);

  HostRecord& Record() { return record_; }
  SimulatedFiscalPrinter& Printer() { return *printer_; }
  SimulatedDrawer& Drawer() { return *drawer_; }
  SimulatedDisplays& Displays() { return *displays_; }
  SimulatedTef& Tef() { return *tef_; }
  // The CHART software, when the configuration runs one.
  SimulatedChartSoftware* Chart() { return chart_.get(); }
  const std::string& CardRequestDir() const { return card_request_dir_; }
  const std::string& CardAnswerDir() const { return card_answer_dir_; }
  TefExchangeFolder& TefFiles() { return *tef_files_; }
  SimulatedDialogs& Dialogs() { return *dialogs_; }
  SimulatedAccessControl& Access() { return *access_; }
  ScriptedServices& AnsweringServices() { return *services_; }
  const SimulatorConfig& Config() const { return config_; }

 private:
  SimulatorConfig config_;
  base::EventPump& pump_;
  HostRecord record_;
  std::unique_ptr<TefExchangeFolder> tef_files_;
  std::unique_ptr<SimulatedFiscalPrinter> printer_;
  std::unique_ptr<SimulatedDrawer> drawer_;
  std::unique_ptr<SimulatedDisplays> displays_;
  std::unique_ptr<SimulatedTef> tef_;
  std::unique_ptr<SimulatedDialogs> dialogs_;
  std::unique_ptr<SimulatedAccessControl> access_;
  std::unique_ptr<ScriptedServices> services_;
  std::string card_request_dir_, card_answer_dir_;
  std::unique_ptr<SimulatedChartSoftware> chart_;
};

}  // namespace recebimento::pos
