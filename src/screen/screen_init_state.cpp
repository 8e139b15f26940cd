// The per-sale state the initialisation starts from, the arguments it keeps, and the
// small readers of the host's items the other initialisation steps share.
#include <stdexcept>

#include "screen/frm_recebimento.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

Control& TfrmRecebimento::Ctl(const std::string& name) {
  Control* c = controls_.FindComponent(name);
  if (!c) throw std::logic_error("the payment screen has no control named " + name);
  return *c;
}

bool TfrmRecebimento::TemItens() const {
  return cdsItensVenda && cdsItensVenda->Active() && !cdsItensVenda->IsEmpty();
}

std::string TfrmRecebimento::CampoItem(const std::string& column) const {
  if (!TemItens() || cdsItensVenda->FieldIndex(column) < 0) return "";
  return cdsItensVenda->FieldByName(column).AsString();
}

double TfrmRecebimento::ValorItem(const std::string& column) const {
  if (!TemItens() || cdsItensVenda->FieldIndex(column) < 0) return 0;
  return cdsItensVenda->FieldByName(column).AsFloat();
}

void TfrmRecebimento::ReiniciaEstadoVenda() {
  boVendaOk = boPagouMobile = boPagouDelivery = boCupomCancelado = false;
  doVrDescFid = doVrDescCash4All = doVrDescCashUDS = 0;
  doAcrItem = 0;
  stCdSupervisor.clear();
  stNrDocConsCupom.clear();
  stIdCPFCupom.clear();
  stRetTender.clear();
  stCdNsuHostTef.clear();
  stIdTpVendaCons.clear();
  stOrigemVenda.clear();
  doVrTotal = doVrAPagar = doVrPago = doVrTroco = doVrDesconto = doVrAcrescimo = 0;
  doVrServico = doVrServicoOrig = doVrRepique = 0;
  doVrAcrComanda = doVrDescComanda = doVrDescItens = 0;
  doVrConsumacao = doVrCouver = doVrUnitVendCl = 0;
  doSaldoCons = doVrSaldoConsAtual = 0;
}

void TfrmRecebimento::CopiaArgumentos(const InicializaFormArgs& a) {
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
  stDsEndeVenda = CampoItem("DSENDEVENDA");
  doVrPago = a.doVrPago && *a.doVrPago > 0 ? *a.doVrPago : 0;
  stlRetorno.clear();
}

}  // namespace recebimento::screen
