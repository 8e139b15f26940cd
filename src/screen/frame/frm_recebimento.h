#pragma once
// The payment screen TfrmRecebimento: its named controls, the handlers the screen's
// contract names (each hands the work to the part that owns it), and the parts
// themselves with the configuration and the sale's shared state they work on.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/variant.h"
#include "screen/frame/controls.h"
#include "screen/frame/screen_context.h"
#include "screen/frame/screen_scope.h"
#include "screen/setup/parametros_zem.h"
#include "screen/setup/sale_state.h"

namespace recebimento::screen {

struct ScreenParts;

class TfrmRecebimento {
 public:
  explicit TfrmRecebimento(ScreenContext& ctx);
  virtual ~TfrmRecebimento();
  TfrmRecebimento(const TfrmRecebimento&) = delete;
  TfrmRecebimento& operator=(const TfrmRecebimento&) = delete;

  // --- Operations the entry calls.
  void InicializaForm(const InicializaFormArgs& args);
  void spbClearClick();
  void VerifPagamentoMob();
  void VerifPagamentoDLV();
  // Shows the screen and waits, through the host's event pump, until it closes.
  void ShowModal();
  // The screen became the active window (also when it comes back after another window).
  void FormActivate();
  void setCPFCons();

  // --- Operator input.
  // Windows virtual-key codes; `key` is set to 0 when the screen swallows it (Alt+F4).
  void FormKeyDown(int& key, bool shift, bool alt, bool ctrl);
  void FormKeyPress(char32_t ch);
  void FormClose();
  void spbOkClick();
  void spbSairClick();
  void spbDescontoClick();
  void spbAcrescimoClick();
  void spbTaxaServicoClick();
  void spbDotzClick();
  void spbCNPJCPFClick();
  void bltPesquisarClick();
  void btnCPFPinPadClick();
  void btnCPFSistemaClick();
  void btnSairCPFClick();
  // The six group buttons and the thirty tender buttons share one handler each; `sender`
  // is the name of the pressed button.
  void tcbGrupo01Click(const std::string& sender);
  void tcbBalcao01Click(const std::string& sender);
  // The keypad; a digit button's tag is its character code.
  void sbt1Click(const std::string& sender);
  void sbt00Click();
  void sbt000Click();
  void sbtVirgulaClick();
  void sbtCorrigirClick();
  void sbtEnterClick();
  void sbtVoltarClick();
  // The POS-terminal panel of an MF-e card payment.
  void sbtConfPosClick();
  void sbtCancPosClick();

  ControlRegistry& Controls() { return controls_; }
  const ControlRegistry& Controls() const { return controls_; }
  bool Showing() const { return window_.Showing(); }
  bool Closed() const { return window_.Closed(); }
  SaleState& Sale() { return sale_; }
  const SaleState& Sale() const { return sale_; }
  const ParametrosZem& Par() const { return par_; }
  ScreenParts& Parts() { return *parts_; }

  // Named state fields (amounts as numbers), for snapshots of the screen.
  std::vector<std::pair<std::string, base::Variant>> StateFields() const;

 private:
  // Every button reaches its handler.
  void BindHandlers();

  ScreenContext& ctx_;
  ParametrosZem par_;
  SaleState sale_;
  ControlRegistry controls_;
  ScreenWindow window_;
  std::unique_ptr<ScreenParts> parts_;
};

// The screen's named controls, placed on the 800 x 600 form.
void CreateScreenControls(ControlRegistry& registry);

// Called with the screen when it closes, before the entry frees it (the scripted run
// records the screen's last state through it).
void SetScreenClosedObserver(std::function<void(const TfrmRecebimento&)> observer);

}  // namespace recebimento::screen
