#pragma once
// The start of a sale on the screen's parts, as the entry starts it: the host's datasets
// built by the test, its parameters file and reference files in the host folder, and an
// empty store database.
#include <string>
#include <vector>

#include "screen/support/screen_parts_fixture.h"

namespace recebimento::testing {

class ScreenSetupTest : public ScreenPartsTest {
 protected:
  ScreenSetupTest();

  // Runs the initialisation with `args_` on a screen as it is created: fresh controls,
  // configuration, sale state and parts over a new simulated host.
  void Init();

  base::Dataset items_{"cdsItensVenda"}, payments_{"cdsMoviVenda"}, clients_{"cdsClienteHost"},
      tenders_{"cdsRecebHost"};
  double pago_ = 0;
  screen::InicializaFormArgs args_;
};

}  // namespace recebimento::testing
