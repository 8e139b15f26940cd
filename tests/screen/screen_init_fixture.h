#pragma once
// A payment screen initialised as the entry does it, on simulated host services, a
// host folder of its own and an empty store database; the host's datasets are built
// by the test.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/dataset.h"
#include "base/event_pump.h"
#include "host/pos/host_simulator.h"
#include "screen/frm_recebimento.h"
#include "support/temp_dir.h"

namespace recebimento::testing {

// One item row: column -> value (texts, numbers).
using Row = std::map<std::string, base::Variant>;

class ScreenInitTest : public ::testing::Test {
 protected:
  ScreenInitTest();
  ~ScreenInitTest() override;

  // Fills `ds` with the rows given; the fields are the union of the rows' columns
  // (numbers as floats, everything else as text).
  static void Fill(base::Dataset& ds, const std::vector<Row>& rows);
  // Writes PARAMETROSZEM.CDS in the host folder: every column the screen reads with its
  // empty value, overridden by `values` (texts, numbers, booleans); `without` is left out.
  void WriteParametros(const Row& values, const std::string& without = "");

  // Creates the screen and runs its initialisation with `args_`.
  screen::TfrmRecebimento& Init();
  screen::Control& C(const std::string& name) { return *frm_->Controls().FindComponent(name); }
  std::vector<std::string> DialogTexts() const;

  TempDir dir_;
  base::VirtualClock clock_;
  base::ScriptedEventPump pump_;
  pos::SimulatorConfig config_;
  std::unique_ptr<pos::HostSimulator> sim_;
  base::Dataset items_{"cdsItensVenda"}, payments_{"cdsMoviVenda"}, clients_{"cdsClienteHost"},
      tenders_{"cdsRecebHost"};
  double pago_ = 0;
  screen::InicializaFormArgs args_;
  std::unique_ptr<screen::TfrmRecebimento> frm_;
};

}  // namespace recebimento::testing
