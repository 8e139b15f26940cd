#include "gui_sale.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include "base/clock.h"
#include "datamodule/connection_config.h"
#include "dialog_kit.h"
#include "harness_session.h"
#include "host/pos/host_simulator.h"
#include "host_config.h"
#include "json_values.h"
#include "message_dialogs.h"
#include "operator_script.h"
#include "package/recebimento.h"
#include "qt_event_pump.h"
#include "qt_host_dialogs.h"
#include "sale_file.h"
#include "screen/frame/frm_recebimento.h"
#include "screen_pictures.h"
#include "screen_view.h"
#include "screen_window.h"
#include "script_player.h"

namespace recebimento::gui {

namespace {

// The dialogs lose their owner window when the sale ends, whatever way it ends.
struct DialogOwnerFor {
  explicit DialogOwnerFor(QWidget* window) { SetDialogOwner(window); }
  ~DialogOwnerFor() { SetDialogOwner(nullptr); }
};

// Says "first paint" on standard output after the view's first paint event is done.
class FirstPaintReport : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      QMetaObject::invokeMethod(
          this, [] { std::cout << "first paint" << std::endl; }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool reported_ = false;
};

}  // namespace

GuiSaleOutcome RunSaleOnScreen(const GuiSaleOptions& options) {
  GuiSaleOutcome outcome;
  std::unique_ptr<harness::Sale> sale;
  pos::SimulatorConfig config;
  std::unique_ptr<harness::OperatorScript> script;
  try {
    sale = harness::LoadSale(options.sale_path);
    config = harness::ParseHostConfig(sale->host, options.host_dir);
    if (!options.script_path.empty())
      script = std::make_unique<harness::OperatorScript>(harness::OperatorScript::Load(options.script_path));
    if (!options.screenshots_dir.empty()) std::filesystem::create_directories(options.screenshots_dir);
  } catch (const std::exception& e) {
    outcome.exit_code = 1;
    outcome.message = e.what();
    return outcome;
  }

  base::RealClock clock;
  QtEventPump pump(clock);
  // With a script the dialogs answer from it, as in a scripted run; else a person does.
  pos::HostSimulator host(config, pump, script.get());
  QtMessageDialogs messages;
  QtHostDialogs dialogs([&clock] { return clock.Now(); },
                        config.currency_rates.IsPacket() ? config.currency_rates.AsPacket() : base::DataPacket{});

  OpenScreenTarget target;
  auto* view = new ScreenView(target, &pump);
  ScreenWindow window(view);

  auto picture = [&](const std::string& name) {
    if (options.screenshots_dir.empty()) return;
    view->Sync();
    const std::string file = (std::filesystem::path(options.screenshots_dir) / (name + ".png")).string();
    WritePicture(*view, file);
    outcome.pictures.push_back(file);
  };
  std::unique_ptr<ScriptPlayer> player;
  base::VirtualClock waits(base::DateTime::FromYMD(2000, 1, 1));
  int64_t waited_ms = 0;
  if (script) {
    // A script's "wait" lets real time pass on the window: the script adds its
    // milliseconds to this tally, and the window runs on for as long before the next
    // action (a plain loop, not a wait of the screen, so no action is played meanwhile).
    script->Attach(
        &waits,
        [&] {
          const int64_t ms = waits.TickMs() - waited_ms;
          waited_ms = waits.TickMs();
          if (ms > 0) {
            QEventLoop loop;
            QTimer::singleShot(static_cast<int>(std::min<int64_t>(ms, 24 * 3600 * 1000)), &loop, &QEventLoop::quit);
            loop.exec();
          }
          pump.ProcessMessages();
        },
        picture);
    player = std::make_unique<ScriptPlayer>(
        pump, [&script] { return script->HasAction(); }, [&script] { script->RunNext(); },
        [&target] { return target.Accepting(); });
  }

  pos::HostServices services = host.Services();
  if (!script) {
    services.dialogs = &dialogs;
    services.messages = &messages;
  }
  services.pump = &pump;
  harness::HarnessSession session(services, {options.host_dir, options.db});
  DialogOwnerFor owner(&window);
  session.OnScreenClosed([&](const screen::TfrmRecebimento&) {
    try {
      picture("tela-fechada");
    } catch (const std::exception&) {
      // A picture that cannot be written does not change the sale.
    }
  });

  FirstPaintReport first_paint;
  if (options.report_first_paint) view->installEventFilter(&first_paint);
  if (options.windowed) {
    window.resize(ScreenView::kWidth, ScreenView::kHeight);
    window.show();
  } else {
    // A full-screen request is the window manager's to honour; a register without one
    // (a bare X server) would leave the window in a corner. Take the display ourselves.
    if (QScreen* display = QGuiApplication::primaryScreen()) window.setGeometry(display->geometry());
    window.showFullScreen();
  }
  view->Sync();
  if (options.on_window_shown) options.on_window_shown(window, pump);

  try {
    outcome.result = package::Recebimento(sale->args);
    host.AfterCall(outcome.result);
  } catch (const harness::ScriptError& e) {
    outcome.exit_code = 1;
    outcome.message = e.what();
  } catch (const WaitAborted& e) {
    outcome.exit_code = 1;
    outcome.message = e.what();
  } catch (const pos::DialogUnanswered& e) {
    outcome.exit_code = 1;
    outcome.message = e.what();
  } catch (const std::exception& e) {
    outcome.exit_code = 2;
    outcome.message = e.what();
  } catch (...) {
    outcome.exit_code = 2;
    outcome.message = "an unknown exception reached the host";
  }
  for (const auto& p : host.Record().Printed()) outcome.printed.push_back(p.text);
  if (auto it = sale->datasets.find("cdsMoviVenda"); it != sale->datasets.end() && it->second->Active())
    outcome.payments = it->second->Data();
  window.SetClosable(true);
  window.close();
  return outcome;
}

}  // namespace recebimento::gui
