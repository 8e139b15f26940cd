#include "screen/frm_recebimento.h"

#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

using base::Variant;

namespace {
std::function<void(const TfrmRecebimento&)>& ClosedObserver() {
  static std::function<void(const TfrmRecebimento&)> observer;
  return observer;
}
}  // namespace

void SetScreenClosedObserver(std::function<void(const TfrmRecebimento&)> observer) {
  ClosedObserver() = std::move(observer);
}

TfrmRecebimento::TfrmRecebimento() {
  CreateControls();
  // Family loans recorded on the screen; handed back to the host as a packet.
  cdsEmprestimoFam.AddField("CDFILIAL", base::FieldType::String, 4);
  cdsEmprestimoFam.AddField("CDCLIENTE", base::FieldType::String, 21);
  cdsEmprestimoFam.AddField("CDCONSUMIDOR", base::FieldType::String, 21);
  cdsEmprestimoFam.AddField("CDFAMILISALD", base::FieldType::String, 4);
  cdsEmprestimoFam.AddField("CDFAMILISALDEMP", base::FieldType::String, 4);
  cdsEmprestimoFam.AddField("VREMPRESTIMO", base::FieldType::Float);
  cdsEmprestimoFam.CreateDataSet();
}

TfrmRecebimento::~TfrmRecebimento() = default;

void TfrmRecebimento::CreateControls() {
  controls_.Add("lblTitulo", "label");
  controls_.Add("lblMens", "label");
  controls_.Add("lblValorTotal", "label", "0,00");
  controls_.Add("lblValorPagar", "label", "0,00");
  controls_.Add("lblValorPago", "label", "0,00");
  controls_.Add("memLista", "list");
  controls_.Add("spbSair", "button", "Sair").on_click = [this] { spbSairClick(); };
}

void TfrmRecebimento::InicializaForm(const InicializaFormArgs& a) {
  if (!rdmRecebimento) {
    rdmRecebimento = new datamodule::TrdmRecebimento();
    rdmRecebimento->SetClock(&runtime::GetClock());
    rdmRecebimento->Open();
  }
  boVendaOk = boPagouMobile = boPagouDelivery = boCupomCancelado = false;
  stCdSupervisor.clear();
  stIdCPFCupom.clear();
  stRetTender.clear();
  stModoVenda = a.stModoVenda;
  stCdClienteVenda = a.stCdClienteVenda;
  stCdConsumidorVenda = a.stCdConsumidorVenda;
  stTipoTela = a.stTipoTela;
  stNmClienteVenda = a.stNmClienteVenda;
  stCdConsumidorFoto = a.stCdConsumidorFoto;
  stTextoTitulo = a.stTextoTitulo;
  stNrDocConsCupom = a.stNrDocConsCupom;
  stNmConsCupom = a.stNmConsCupom;
  stNrIdEstrangeiro = a.stNrIdEstrangeiro;
  doVrCarga = a.doVrCarga;
  stTextoCupom = a.stTextoCupom;
  stIdTipoVenda = a.stIdTipoVenda;
  stParamCupom = a.stParamCupom;
  stNmGarcom = a.stNmGarcom;
  stNmFantCliente = a.stNmFantCliente;
  stIdTela = a.stIdTela;
  stMensagem = a.stMensagem;
  if (cdsItensVenda && cdsItensVenda->Active() && cdsItensVenda->FindField("DSENDEVENDA"))
    stDsEndeVenda = cdsItensVenda->FieldByName("DSENDEVENDA").AsString();
  doVrPago = a.doVrPago && *a.doVrPago > 0 ? *a.doVrPago : 0;
  stlRetorno.clear();

  Control& mens = *controls_.FindComponent("lblMens");
  mens.caption = stMensagem;
  mens.visible = !stMensagem.empty();
}

void TfrmRecebimento::spbClearClick() {
  stlRetorno.clear();
  tpInputStep = isNone;
}

// Delivery and mobile orders already paid are settled here once their checks exist;
// until then no such payment is ever found.
void TfrmRecebimento::VerifPagamentoMob() {}
void TfrmRecebimento::VerifPagamentoDLV() {}

void TfrmRecebimento::ShowModal() {
  showing_ = true;
  closed_ = false;
  runtime::GetEventPump().RunUntil([this] { return closed_; }, "payment screen");
  showing_ = false;
  if (ClosedObserver()) ClosedObserver()(*this);
}

void TfrmRecebimento::setCPFCons() {}

void TfrmRecebimento::FormKeyDown(int key, bool shift, bool alt, bool ctrl) {
  constexpr int kEscape = 27, kF1 = 112;
  if (key == kF1 && stIdTipoVenda != "B") pos::Host().fiscal->RelFiscais();
  if (key == kEscape && !shift && !alt && !ctrl) spbSairClick();
}

void TfrmRecebimento::FormKeyPress(char32_t) {}

void TfrmRecebimento::spbSairClick() {
  boVendaOk = false;
  FormClose();
}

void TfrmRecebimento::FormClose() { closed_ = true; }

std::vector<std::pair<std::string, Variant>> TfrmRecebimento::StateFields() const {
  return {{"doVrTotal", Variant(doVrTotal)},
          {"doVrAPagar", Variant(doVrAPagar)},
          {"doVrPago", Variant(doVrPago)},
          {"doVrTroco", Variant(doVrTroco)},
          {"doVrDesconto", Variant(doVrDesconto)},
          {"doVrAcrescimo", Variant(doVrAcrescimo)},
          {"doVrServico", Variant(doVrServico)},
          {"doVrRepique", Variant(doVrRepique)},
          {"tpInputStep", Variant(std::string(InputStepName(tpInputStep)))},
          {"boVendaOk", Variant(boVendaOk)},
          {"boCupomCancelado", Variant(boCupomCancelado)},
          {"stModoVenda", Variant(stModoVenda)},
          {"stTipoTela", Variant(stTipoTela)},
          {"stIdTipoVenda", Variant(stIdTipoVenda)}};
}

}  // namespace recebimento::screen
