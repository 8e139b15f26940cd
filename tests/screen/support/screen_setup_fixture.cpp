#include "screen/support/screen_setup_fixture.h"

#include "screen/frame/frm_recebimento.h"

namespace recebimento::testing {

ScreenSetupTest::ScreenSetupTest() {
  args_.doVrPago = &pago_;
  args_.cdsClienteHost = &clients_;
  args_.cdsRecebHost = &tenders_;
  args_.stTipoTela = "N";
}

void ScreenSetupTest::Init() {
  controls_ = screen::ControlRegistry();
  screen::CreateScreenControls(controls_);
  par_ = screen::ParametrosZem();
  sale_ = screen::SaleState();
  window_ = screen::ScreenWindow();
  BuildParts();
  BindButtons();
  sale_.cdsItensVenda = &items_;
  sale_.cdsMoviVenda = &payments_;
  parts().setup.Initialise(args_);
}

}  // namespace recebimento::testing
