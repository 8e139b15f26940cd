#include "scripted_run.h"

#include <map>

#include "base/clock.h"
#include "datamodule/connection_config.h"
#include "harness_session.h"
#include "host/pos/host_simulator.h"
#include "host_config.h"
#include "json_values.h"
#include "operator_script.h"
#include "package/leftovers.h"
#include "package/recebimento.h"
#include "run_checks.h"
#include "sale_file.h"
#include "screen/frame/frm_recebimento.h"
#include "screen/frame/screen_globals.h"
#include "screen_state.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;
using package::RecebimentoArgs;

namespace {

json ArgumentsJson(const RecebimentoArgs& args) {
  json out = json::object();
  for (const auto& info : package::ArgumentTable()) {
    // Every argument the host passes by reference: the outputs and the var input 39.
    if (info.direction == package::ArgDirection::In && std::string(info.name) != "stObsVenda") continue;
    std::visit(
        [&](auto member) {
          using M = decltype(member);
          if constexpr (!std::is_same_v<M, base::Dataset * RecebimentoArgs::*>) out[info.name] = args.*member;
        },
        info.member);
  }
  return out;
}

json DatasetsJson(const Sale& sale) {
  json out = json::object();
  for (const auto& info : package::ArgumentTable()) {
    const bool dataset = std::holds_alternative<base::Dataset * RecebimentoArgs::*>(info.member);
    if (!dataset || info.direction == package::ArgDirection::In) continue;
    out[info.name] = DatasetToJson(*sale.datasets.at(info.name));
  }
  return out;
}

json HostJson(pos::HostRecord& record) {
  json calls = json::array();
  for (const auto& c : record.Calls()) {
    json args = json::array();
    for (const auto& a : c.args) args.push_back(VariantToJson(a));
    calls.push_back({{"name", c.name}, {"args", args}});
  }
  json dialogs = json::array();
  for (const auto& d : record.Dialogs())
    dialogs.push_back({{"kind", d.kind},
                       {"title", d.title},
                       {"text", d.text},
                       {"answer", VariantToJson(d.answer)},
                       {"type", d.type}});
  json printed = json::array();
  for (const auto& p : record.Printed()) printed.push_back(p.text);
  return {{"hostCalls", calls}, {"dialogs", dialogs}, {"printed", printed}};
}

json IgnoredJson(const OperatorScript& script) {
  json ignored = json::array();
  for (const auto& i : script.Ignored()) ignored.push_back({{"line", i.line}, {"action", i.action}, {"why", i.why}});
  return ignored;
}

// The output's shape with nothing gathered yet: what a run that could not start reports.
json EmptyOutput(const std::string& error) {
  return {{"result", false},          {"args", json::object()},      {"datasets", json::object()},
          {"dialogs", json::array()}, {"hostCalls", json::array()},  {"printed", json::array()},
          {"screen", nullptr},        {"snapshots", json::object()}, {"reservedNumbers", json::array()},
          {"error", error},           {"ignored", json::array()}};
}

base::DateTime StartOfClock(const std::string& text) {
  if (text.empty()) {
    base::RealClock real;
    const auto now = real.Now();
    return now.AddMilliseconds(-now.Millisecond());
  }
  auto parsed = base::DateTime::Parse(text);
  if (!parsed) throw InputError("--clock: '" + text + "' is not a date and time (e.g. 2026-12-06T12:00:00)");
  return *parsed;
}

}  // namespace

RunOutcome RunScriptedSale(const RunOptions& options) {
  RunOutcome outcome;
  const StoreSettings store{options.host_dir, options.db, options.db_wait_ms};
  std::unique_ptr<Sale> sale;
  OperatorScript script;
  pos::SimulatorConfig config;
  base::DateTime start;
  try {
    CheckHostFolder(options.host_dir);
    CheckOutputWritable(options.out_path);
    sale = LoadSale(options.sale_path);
    if (!options.script_path.empty()) script = OperatorScript::Load(options.script_path);
    config = ParseHostConfig(sale->host, options.host_dir);
    start = StartOfClock(options.clock);
    ConfigureStore(store);
    CheckStoreReady(datamodule::_GetStringConexZem(""));
  } catch (const std::exception& e) {
    return {1, EmptyOutput(e.what()), e.what()};
  }

  base::VirtualClock clock(start);
  json snapshots = json::object();
  json closed_screen = nullptr;
  // The screen as a script error found it, so the output shows where the run stopped.
  auto capture_screen = [&closed_screen] {
    if (screen::frmRecebimento) closed_screen = ScreenStateJson(*screen::frmRecebimento);
  };
  // Whenever the screen waits, the script's next line is the operator's next action.
  base::ScriptedEventPump pump(clock);
  pump.SetActionSource([&script, &capture_screen] {
    if (script.RunNext()) return true;
    capture_screen();  // the pump reports the script as run out
    return false;
  });
  pos::HostSimulator host(config, pump, &script);

  script.Attach(
      &clock, [&pump] { pump.ProcessMessages(); },
      [&snapshots](const std::string& name) {
        snapshots[name] = screen::frmRecebimento ? ScreenStateJson(*screen::frmRecebimento) : json(nullptr);
      });
  script.OnFailure(capture_screen);
  // A wait passes its time timer by timer: the card panel's counter and the CHART
  // software act at their own moments within it.
  script.OnWait([&pump](int64_t ms) { pump.AdvanceTime(ms); });

  HarnessSession session(host.Services(), store);
  session.OnScreenClosed([&closed_screen, &script](const screen::TfrmRecebimento& frm) {
    script.TakeSnapshots();
    closed_screen = ScreenStateJson(frm);
  });
  json reserved = json::array();
  session.OnReservedNumbers([&reserved](const base::DataPacket& numbers) {
    const json packet = PacketToJson(numbers);
    for (const json& row : packet["rows"])
      reserved.push_back({{"counter", row["CDCONTADOR"]}, {"number", row["NRRESERVADO"]}, {"since", row["DTRESERVA"]}});
  });

  bool result = false;
  json error = nullptr;
  auto script_error = [&](const std::string& message) {
    error = message;
    outcome.message = message;
    outcome.exit_code = 1;
  };
  try {
    if (options.around_call) options.around_call(true);
    result = package::Recebimento(sale->args);
    if (options.around_call) options.around_call(false);
    host.AfterCall(result);
    // Lines the screen never took would pass unnoticed: the script meant something else.
    if (const auto left = script.NextLine())
      script_error("script line " + std::to_string(left->number) + ": left over, the payment screen " +
                   (closed_screen.is_null() ? "never opened" : "had closed already"));
  } catch (const ScriptError& e) {
    script_error(e.what());
  } catch (const base::ScriptExhausted& e) {
    script_error(e.what());
  } catch (const pos::DialogUnanswered& e) {
    script_error(e.what());
  } catch (const std::exception& e) {
    error = e.what();
    outcome.exit_code = 2;
  } catch (...) {
    error = "an unknown exception reached the host";
    outcome.exit_code = 2;
  }

  json out = {{"result", result}, {"args", ArgumentsJson(sale->args)}, {"datasets", DatasetsJson(*sale)}};
  json recorded = HostJson(host.Record());
  out["dialogs"] = std::move(recorded["dialogs"]);
  out["hostCalls"] = std::move(recorded["hostCalls"]);
  out["printed"] = std::move(recorded["printed"]);
  out["screen"] = std::move(closed_screen);
  out["snapshots"] = std::move(snapshots);
  out["reservedNumbers"] = std::move(reserved);
  out["error"] = std::move(error);
  out["ignored"] = IgnoredJson(script);
  outcome.output = std::move(out);
  return outcome;
}

}  // namespace recebimento::harness
