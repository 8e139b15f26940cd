#include "package/recebimento.h"

#include <cmath>
#include <cstdint>
#include <exception>

#include "host/pos/host_services.h"
#include "package/leftovers.h"
#include "package/package_globals.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/screen_globals.h"

namespace recebimento::package {

using screen::TfrmRecebimento;

namespace {

// Reloads each host dataset from the screen's working data. The screen works on the
// host's own objects, so this re-opens each at its first row with its current rows.
void ReloadFromScreen(base::Dataset* host, const base::Dataset* working) {
  if (!host || !working || !working->Active()) return;
  host->SetData(working->Data());
}

// Sum of the item discounts; a failure while summing counts as no discount.
double ItemDiscounts(base::Dataset* items) {
  try {
    if (!items) return 0;
    int64_t cents = 0;
    for (items->First(); !items->Eof(); items->Next())
      cents += std::llround(items->FieldByName("VRDESCCOMVEN").AsFloat() * 100.0);
    return static_cast<double>(cents) / 100.0;
  } catch (...) {
    return 0;
  }
}

void LogReceiptAdjustment(const TfrmRecebimento& frm, const char* event, const char* short_key,
                          const char* long_key, const std::string& receipt) {
  pos::Host().access->LogControleAcess({frm.stCDFILIAL, frm.stCDCAIXA, event, frm.stCdOperador, frm.stNmOperador,
                                        frm.stCdSupervisor, screen::Msg(short_key), screen::Msg(long_key) + receipt});
}

bool Run(RecebimentoArgs& a) {
  // Without the host's services the screen would wait on an event loop nobody drives.
  pos::Host();
  if (!frmRecebimento) frmRecebimento = new TfrmRecebimento();
  TfrmRecebimento& frm = *frmRecebimento;

  oleRetorno = base::Variant::Array(10);
  RemoveInterruptedWrites();

  frm.cdsItensVenda = a.cdsItensVenda;
  frm.cdsItensCancelados = a.cdsItensCancelados;
  frm.cdsMoviVenda = a.cdsMoviVenda;
  frm.cdsSaldoFamilia = a.cdsSaldoFamilia;
  frm.cdsDescFidelidade = a.cdsDescFidelidade;
  frm.cdsPromoComanda = a.cdsPromoComanda;
  frm.stObsVenda = a.stObsVenda;
  frm.stIdDescFidelidade.clear();
  frm.stPontosFidelidade.clear();
  frm.stVrDescFidelidade.clear();
  stOBSFINVEN.clear();

  screen::InicializaFormArgs init;
  init.cdsEmprestimoFamHost = a.cdsEmprestimoFamHost;
  init.boCupomCancelado = a.boCupomCancelado;
  init.stNrCupom = &a.stNrCupom;
  init.stNrContCupom = &a.stNrContCupom;
  init.stRetImpressora = &a.stRetImpressora;
  init.stNrVenda = &a.stNrVenda;
  init.stCdConsumidor = &a.stCdConsumidor;
  init.stIdCPFCupom = &a.stIdCPFCupom;
  init.doVrPago = &a.doVrPago;
  init.cdsClienteHost = a.cdsClienteHost;
  init.cdsAliqImpFisHost = a.cdsAliqImpFisHost;
  init.cdsRecebHost = a.cdsRecebHost;
  init.cdsAuxHost = a.cdsAuxHost;
  init.stModoVenda = a.stModoVenda;
  init.stCdClienteVenda = a.stCdClienteVenda;
  init.stCdConsumidorVenda = a.stCdConsumidorVenda;
  init.stTipoTela = a.stTipoTela;
  init.stNmClienteVenda = a.stNmClienteVenda;
  init.stCdConsumidorFoto = a.stCdConsumidorFoto;
  init.stTextoTitulo = a.stTextoTitulo;
  init.stNrDocConsCupom = a.stNrDocConsCupom;
  init.stNmConsCupom = a.stNmConsCupom;
  init.stNrIdEstrangeiro = a.stNrIdEstrangeiro;
  init.doVrCarga = a.doVrCarga;
  init.stTextoCupom = a.stTextoCupom;
  init.stIdTipoVenda = a.stIdTipoVenda;
  init.stParamCupom = a.stParamCupom;
  init.stNmGarcom = a.stNmGarcom;
  init.stNmFantCliente = a.stNmFantCliente;
  init.stIdTela = a.stIdTela;
  init.stMensagem = a.stMensagem;
  frm.InicializaForm(init);
  ReportNumbersStillReserved(frm);

  frm.spbClearClick();
  frm.VerifPagamentoMob();
  frm.VerifPagamentoDLV();

  // A remote order already paid in full settles the sale without the screen. Amounts are
  // compared in cents so that binary leftovers of a subtraction count as zero.
  const bool settled_remotely =
      (frm.boPagouMobile || frm.boPagouDelivery) && std::llround(frm.doVrAPagar * 100.0) == 0;
  if (!settled_remotely) frm.ShowModal();

  frm.setCPFCons();

  a.stIdCPFCupom = frm.stIdCPFCupom;
  a.stNrVenda = frm.stNrVenda;
  a.doVrPago = frm.doVrPago;
  a.boCupomCancelado = frm.boCupomCancelado;
  a.stCdConsumidor = frm.stCDIDCONSUMID;
  a.stCdSupervisor = frm.stCdSupervisor;
  a.stCdCampanha = frm.stCdCampanha;
  a.stlRetorno = frm.stlRetorno;
  a.stIdDescFidelidade = frm.stIdDescFidelidade;
  a.stPontosFidelidade = frm.stPontosFidelidade;
  a.stVrDescFidelidade = frm.stVrDescFidelidade;
  a.stIdPagouTEF = frm.stIdPagouTEF;
  a.stRetTender = frm.stRetTender;
  a.stNrCupom = frm.boUTILIZAIMPFIS ? frm.stNrCupomFis : frm.stNrVenda;
  a.stRetImpressora = frm.stRetImpressora;
  // The host's own counter wins; the printer's is only a fallback.
  if (!frm.stNrContCupom.empty() && a.stNrContCupom.empty()) a.stNrContCupom = frm.stNrContCupom;

  ReloadFromScreen(a.cdsItensVenda, frm.cdsItensVenda);
  ReloadFromScreen(a.cdsItensCancelados, frm.cdsItensCancelados);
  ReloadFromScreen(a.cdsMoviVenda, frm.cdsMoviVenda);
  ReloadFromScreen(a.cdsSaldoFamilia, frm.cdsSaldoFamilia);
  ReloadFromScreen(a.cdsDescFidelidade, frm.cdsDescFidelidade);
  ReloadFromScreen(a.cdsPromoComanda, frm.cdsPromoComanda);
  ReloadFromScreen(a.cdsEmprestimoFamHost, &frm.cdsEmprestimoFam);

  const double item_discounts = ItemDiscounts(a.cdsItensVenda);
  // Only a completed sale leaves a trace of its discount or surcharge.
  if (frm.boVendaOk && item_discounts > 0)
    LogReceiptAdjustment(frm, "CUP_DES", "Mot_Des_Cup1", "Mot_Des_Cup", a.stNrCupom);
  if (frm.boVendaOk && frm.doVrAcrescimo > 0)
    LogReceiptAdjustment(frm, "CUP_ACR", "Mot_Acr_Cup1", "Mot_Acr_Cup", a.stNrCupom);

  return frm.boVendaOk;
}

}  // namespace

void ClearGlobals() noexcept { screen::ClearScreenGlobals(); }

bool Recebimento(RecebimentoArgs& args) {
  bool result = false;
  std::exception_ptr failure;
  try {
    result = Run(args);
  } catch (...) {
    failure = std::current_exception();
  }
  // Whatever happened, the next call must find no screen and no data module.
  screen::FreeScreenAndDataModule();
  if (failure) std::rethrow_exception(failure);
  return result;
}

}  // namespace recebimento::package
