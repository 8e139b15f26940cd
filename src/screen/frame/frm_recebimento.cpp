#include "screen/frame/frm_recebimento.h"

#include <initializer_list>
#include <tuple>
#include <utility>

#include "screen/frame/input_steps.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using base::Variant;

namespace {

std::function<void(const TfrmRecebimento&)>& ClosedObserver() {
  static std::function<void(const TfrmRecebimento&)> observer;
  return observer;
}

std::string TwoDigits(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

}  // namespace

void SetScreenClosedObserver(std::function<void(const TfrmRecebimento&)> observer) {
  ClosedObserver() = std::move(observer);
}

TfrmRecebimento::TfrmRecebimento(ScreenContext& ctx) : ctx_(ctx) {
  CreateScreenControls(controls_);
  parts_ = std::make_unique<ScreenParts>(ctx_, par_, sale_, controls_, window_);
  BindHandlers();
}

TfrmRecebimento::~TfrmRecebimento() = default;

void TfrmRecebimento::BindHandlers() {
  ControlRegistry& c = controls_;
  for (int d = 0; d <= 9; ++d) {
    const std::string name = "sbt" + std::to_string(d);
    if (Control* b = c.FindComponent(name)) b->tag = '0' + d;
    c.Bind(name, [this, name] { sbt1Click(name); });
  }
  c.Bind("sbt00", [this] { sbt00Click(); });
  c.Bind("sbt000", [this] { sbt000Click(); });
  c.Bind("sbtVirgula", [this] { sbtVirgulaClick(); });
  c.Bind("sbtCorrigir", [this] { sbtCorrigirClick(); });
  c.Bind("sbtEnter", [this] { sbtEnterClick(); });
  c.Bind("sbtVoltar", [this] { sbtVoltarClick(); });
  c.Bind("spbOk", [this] { spbOkClick(); });
  c.Bind("spbSair", [this] { spbSairClick(); });
  c.Bind("spbClear", [this] { spbClearClick(); });
  c.Bind("spbDesconto", [this] { spbDescontoClick(); });
  c.Bind("spbAcrescimo", [this] { spbAcrescimoClick(); });
  c.Bind("spbTaxaServico", [this] { spbTaxaServicoClick(); });
  c.Bind("spbCNPJCPF", [this] { spbCNPJCPFClick(); });
  HostLoyaltyProviders& providers = parts_->host_loyalty;
  for (const auto& [name, handler] : std::initializer_list<std::pair<const char*, void (HostLoyaltyProviders::*)()>>{
           {"sbtCashback", &HostLoyaltyProviders::sbtCashbackClick},
           {"sbtCashbackUDS", &HostLoyaltyProviders::sbtCashbackUDSClick},
           {"sbtCashbackCore", &HostLoyaltyProviders::sbtCashbackCoreClick},
           {"btnCoreBancCash", &HostLoyaltyProviders::btnCoreBancCashClick},
           {"btnCoreBancCorp", &HostLoyaltyProviders::btnCoreBancCorpClick},
           {"btnCoreBancQual", &HostLoyaltyProviders::btnCoreBancQualClick},
           {"btnCoreBancSair", &HostLoyaltyProviders::btnCoreBancSairClick},
           {"sbtFidelidadeOlga", &HostLoyaltyProviders::sbtFidelidadeOlgaClick},
           {"btnCashBackOlga", &HostLoyaltyProviders::btnCashBackOlgaClick},
           {"btnBeneficioOlga", &HostLoyaltyProviders::btnBeneficioOlgaClick},
           {"btnCancelaOlga", &HostLoyaltyProviders::btnCancelaOlgaClick},
           {"btnTransVenda", &HostLoyaltyProviders::btnTransVendaClick},
           {"btnNTransVenda", &HostLoyaltyProviders::btnNTransVendaClick}})
    c.Bind(name, [&providers, handler = handler] { (providers.*handler)(); });
  c.Bind("bltPesquisar", [this] { bltPesquisarClick(); });
  c.Bind("btnCPFPinPad", [this] { btnCPFPinPadClick(); });
  c.Bind("btnCPFSistema", [this] { btnCPFSistemaClick(); });
  c.Bind("btnSairCPF", [this] { btnSairCPFClick(); });
  c.Bind("sbtConfPos", [this] { sbtConfPosClick(); });
  c.Bind("sbtCancPos", [this] { sbtCancPosClick(); });
  for (int i = 1; i <= 6; ++i) {
    const std::string name = "tcbGrupo" + TwoDigits(i);
    c.Bind(name, [this, name] { tcbGrupo01Click(name); });
  }
  for (int i = 1; i <= 30; ++i) {
    const std::string name = "tcbBalcao" + TwoDigits(i);
    c.Bind(name, [this, name] { tcbBalcao01Click(name); });
  }

  // The promotions' list and the choice between a discount and a coupon.
  c.Bind("btnAnterior", [this] { parts_->discounts.btnAnteriorClick(); });
  c.Bind("btnProximo", [this] { parts_->discounts.btnProximoClick(); });
  c.Bind("btnSair", [this] { parts_->discounts.btnSairClick(); });
  c.Bind("btnAplicarDesc", [this] { parts_->discounts.btnAplicarDescClick(); });
  c.Bind("btnAplicarCupom", [this] { parts_->discounts.btnAplicarCupomClick(); });
  c.Bind("btnCancelarDesc", [this] { parts_->discounts.btnCancelarDescClick(); });

  // The sale summary is answered on its own panel: the confirmation waiting for the
  // panel to close reads the answer.
  if (c.FindComponent("panDadosVenda")) {
    for (const auto& [name, caption, confirmed, left] : {std::tuple{"btnConfDadosVenda", "Confirmar", true, 100},
                                                         std::tuple{"btnCancDadosVenda", "Cancelar", false, 210}}) {
      Control* b = c.FindComponent(name);
      if (!b) b = &c.Add(name, "button", caption, left, 190, 90, 50, "panDadosVenda");
      b->on_click = [this, confirmed = confirmed] { parts_->confirmation.AnswerSaleSummary(confirmed); };
    }
  }
}

void TfrmRecebimento::InicializaForm(const InicializaFormArgs& args) { parts_->setup.Initialise(args); }
void TfrmRecebimento::spbClearClick() { parts_->exit.Clear(); }
void TfrmRecebimento::VerifPagamentoMob() { parts_->remote_orders.CheckMobileOrder(); }
void TfrmRecebimento::VerifPagamentoDLV() { parts_->remote_orders.CheckDeliveryOrder(); }
void TfrmRecebimento::setCPFCons() { parts_->identification.setCPFCons(); }

void TfrmRecebimento::ShowModal() {
  window_.SetShowing(true);
  window_.Open();
  FormActivate();
  ctx_.pump.RunUntil([this] { return window_.Closed(); }, "payment screen");
  window_.SetShowing(false);
  if (ClosedObserver()) ClosedObserver()(*this);
}

void TfrmRecebimento::FormKeyDown(int& key, bool shift, bool alt, bool ctrl) {
  parts_->keyboard.KeyDown(key, shift, alt, ctrl);
}
void TfrmRecebimento::FormKeyPress(char32_t ch) { parts_->keyboard.KeyPress(ch); }
void TfrmRecebimento::FormClose() { window_.Close(); }
void TfrmRecebimento::spbOkClick() { parts_->confirmation.Confirm(); }
void TfrmRecebimento::spbSairClick() { parts_->exit.Leave(); }
void TfrmRecebimento::spbDescontoClick() { parts_->adjustments.Discount(); }
void TfrmRecebimento::spbAcrescimoClick() { parts_->adjustments.Surcharge(); }
void TfrmRecebimento::spbTaxaServicoClick() { parts_->adjustments.ServiceFee(); }
void TfrmRecebimento::spbDotzClick() { parts_->loyalty.Dotz(); }
void TfrmRecebimento::spbCNPJCPFClick() { parts_->identification.spbCNPJCPFClick(); }
void TfrmRecebimento::bltPesquisarClick() { parts_->identification.bltPesquisarClick(); }
void TfrmRecebimento::btnCPFPinPadClick() { parts_->identification.btnCPFPinPadClick(); }
void TfrmRecebimento::btnCPFSistemaClick() { parts_->identification.btnCPFSistemaClick(); }
void TfrmRecebimento::btnSairCPFClick() { parts_->identification.btnSairCPFClick(); }
void TfrmRecebimento::tcbGrupo01Click(const std::string& sender) { parts_->grid.PressGroup(sender); }
void TfrmRecebimento::tcbBalcao01Click(const std::string& sender) { parts_->grid.PressTender(sender); }
void TfrmRecebimento::sbt1Click(const std::string& sender) { parts_->keyboard.PressDigit(sender); }
void TfrmRecebimento::sbt00Click() { parts_->keyboard.PressDoubleZero(); }
void TfrmRecebimento::sbt000Click() { parts_->keyboard.PressTripleZero(); }
void TfrmRecebimento::sbtVirgulaClick() { parts_->keyboard.PressSeparator(); }
void TfrmRecebimento::sbtCorrigirClick() { parts_->keyboard.PressCorrect(); }
void TfrmRecebimento::sbtEnterClick() { parts_->keyboard.PressEnter(); }
void TfrmRecebimento::FormActivate() {
  if (!window_.Closed()) parts_->activation.FormActivate();
}
void TfrmRecebimento::sbtVoltarClick() { parts_->keyboard.BackToGrid(); }
void TfrmRecebimento::sbtConfPosClick() { parts_->fiscal.ConfirmPosTerminal(); }
void TfrmRecebimento::sbtCancPosClick() { parts_->fiscal.CancelPosTerminal(); }

std::vector<std::pair<std::string, Variant>> TfrmRecebimento::StateFields() const {
  const SaleState& s = sale_;
  const TenderGrid& grid = parts_->grid;
  return {{"doVrTotal", Variant(s.doVrTotal)},
          {"doVrAPagar", Variant(s.doVrAPagar)},
          {"doVrPago", Variant(s.doVrPago)},
          {"doVrTroco", Variant(s.doVrTroco)},
          {"doVrDesconto", Variant(s.doVrDesconto)},
          {"doVrAcrescimo", Variant(s.doVrAcrescimo)},
          {"doVrServico", Variant(s.doVrServico)},
          {"doVrRepique", Variant(s.doVrRepique)},
          {"tpInputStep", Variant(std::string(InputStepName(s.tpInputStep)))},
          {"boVendaOk", Variant(s.boVendaOk)},
          {"boCupomCancelado", Variant(s.boCupomCancelado)},
          {"stModoVenda", Variant(s.stModoVenda)},
          {"stTipoTela", Variant(s.stTipoTela)},
          {"stIdTipoVenda", Variant(s.stIdTipoVenda)},
          {"doVrServicoOrig", Variant(s.doVrServicoOrig)},
          {"doVrAcrComanda", Variant(s.doVrAcrComanda)},
          {"doVrDescComanda", Variant(s.doVrDescComanda)},
          {"doVrDescItens", Variant(s.doVrDescItens)},
          {"doVrConsumacao", Variant(s.doVrConsumacao)},
          {"doVrCouver", Variant(s.doVrCouver)},
          {"doVrUnitVendCl", Variant(s.doVrUnitVendCl)},
          {"doAcrItem", Variant(s.doAcrItem)},
          {"doSaldoCons", Variant(s.doSaldoCons)},
          {"stNrComanda", Variant(s.stNrComanda)},
          {"stOrigemVenda", Variant(s.stOrigemVenda)},
          {"stCdOperador", Variant(s.stCdOperador)},
          {"stCdClienteCons", Variant(s.stCdClienteCons)},
          {"stCdConsumidorCons", Variant(s.stCdConsumidorCons)},
          {"stPodeDesconto", Variant(s.stPodeDesconto)},
          {"stPodeAcrescimo", Variant(s.stPodeAcrescimo)},
          {"stPodeRetTaxaServ", Variant(s.stPodeRetTaxaServ)},
          {"stPodeSelecCliCons", Variant(s.stPodeSelecCliCons)},
          {"stGrupoBotoes", Variant(grid.Group())},
          {"inPaginaBotoes", Variant(static_cast<int64_t>(grid.Page()))},
          {"inQTDMAXDIGNSU", Variant(static_cast<int64_t>(par_.inQTDMAXDIGNSU))},
          {"boPagouMobile", Variant(s.boPagouMobile)},
          {"boPagouDelivery", Variant(s.boPagouDelivery)},
          {"doPercDesconto", Variant(s.doPercDesconto)},
          {"doPercAcrescimo", Variant(s.doPercAcrescimo)},
          {"doVrBaseAcrescimo", Variant(s.doVrBaseAcrescimo)},
          {"stIdPagouTEF", Variant(s.stIdPagouTEF)},
          {"inQtdeTef", Variant(static_cast<int64_t>(s.inQtdeTef))}};
}

}  // namespace recebimento::screen
