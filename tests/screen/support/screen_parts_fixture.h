#pragma once
// The payment screen's parts over a context of their own: simulated host services (not
// installed in the process), a virtual clock with a scripted pump, a host folder and a
// store file in a temporary folder, and the screen's controls. Nothing process-wide is
// set: each part is built and driven as the form would, without the form.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/dataset.h"
#include "base/event_pump.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_simulator.h"
#include "screen/frame/screen_parts.h"
#include "support/temp_dir.h"

namespace recebimento::testing {

// One row: column -> value (texts, numbers).
using Row = std::map<std::string, base::Variant>;

class ScreenPartsTest : public ::testing::Test {
 protected:
  ScreenPartsTest();
  ~ScreenPartsTest() override;

  // Builds the simulated host from config_ (with `answers` answering its dialogs) and the
  // parts over it, anew; the configuration, the sale state and the controls stay.
  void BuildParts(pos::DialogAnswerSource* answers = nullptr);
  // Binds the buttons to the parts, as the form binds them to its handlers (the sale
  // summary's answers included). The bindings reach the parts built last.
  void BindButtons();
  // The parts are built anew over the store `store` (a connection string), with `answers`
  // answering the dialogs, and their buttons bound.
  void UseStore(const std::string& store, pos::DialogAnswerSource* answers) {
    auto previous = std::make_unique<datamodule::TrdmRecebimento>(store);
    std::swap(rdm_, previous);
    BuildParts(answers);
    BindButtons();
  }

  screen::ScreenParts& parts() { return *parts_; }
  screen::SaleState& sale() { return sale_; }
  screen::ParametrosZem& par() { return par_; }
  screen::ControlRegistry& controls() { return controls_; }
  // The control of that name (the test fails when the screen has none).
  screen::Control& ctl(const std::string& name);

  // Fills `ds` with the rows given; the fields are the union of the rows' columns
  // (numbers as floats, everything else as text).
  static void Fill(base::Dataset& ds, const std::vector<Row>& rows);
  // Writes PARAMETROSZEM.CDS in the host folder: every column the screen reads with its
  // empty value, overridden by `values`; `without` is left out.
  void WriteParametros(const Row& values, const std::string& without = "");

  // Texts of the message dialogs shown so far, and of every dialog.
  std::vector<std::string> Messages() const;
  std::vector<std::string> DialogTexts() const;

  TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12)};
  base::ScriptedEventPump pump_{clock_};
  pos::SimulatorConfig config_;
  std::unique_ptr<pos::HostSimulator> sim_;
  std::unique_ptr<datamodule::TrdmRecebimento> rdm_;
  screen::ParametrosZem par_;
  screen::SaleState sale_;
  screen::ControlRegistry controls_;
  screen::ScreenWindow window_;

 private:
  pos::HostServices services_;  // the context keeps a reference to them
  std::unique_ptr<screen::ScreenContext> ctx_;
  std::unique_ptr<screen::ScreenParts> parts_;
};

}  // namespace recebimento::testing
