#include "package/recebimento.h"

#include <cmath>
#include <cstdint>
#include <exception>

#include <memory>

#include "datamodule/connection_config.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_paths.h"
#include "host/pos/host_services.h"
#include "host/runtime/money.h"
#include "package/leftovers.h"
#include "package/package_globals.h"
#include "screen/frame/frm_recebimento.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_context.h"
#include "screen/frame/screen_globals.h"

namespace recebimento::package {

using screen::SaleState;
using screen::ScreenContext;
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
      cents += runtime::ToCents(items->FieldByName("VRDESCCOMVEN").AsFloat());
    return runtime::FromCents(cents);
  } catch (...) {
    return 0;
  }
}

void LogReceiptAdjustment(const pos::HostServices& host, const TfrmRecebimento& frm, const char* event,
                          const char* short_key, const char* long_key, const std::string& receipt) {
  const SaleState& sale = frm.Sale();
  host.access->LogControleAcess({frm.Par().stCDFILIAL, frm.Par().stCDCAIXA, event, sale.stCdOperador, sale.stNmOperador,
                                 sale.stCdSupervisor, screen::Msg(short_key), screen::Msg(long_key) + receipt});
}

// The screen's results the package exports as globals, for the host to read.
void PublishGlobals(const SaleState& sale) {
  oleRetorno = sale.oleRetorno;
  stOBSFINVEN = sale.stOBSFINVEN;
  doAcrItem = sale.doAcrItem;
}

bool Run(RecebimentoArgs& a, std::unique_ptr<ScreenContext>& context) {
  // Without the host's services the screen would wait on an event loop nobody drives.
  const pos::HostServices& host = pos::Host();
  // The host names its folder with its services; a host that named none set it on the
  // store's configuration, whose default is the current folder.
  pos::HostPaths paths(host.host_dir.empty() ? datamodule::HostFolder() : host.host_dir, host.card_request_dir,
                       host.card_answer_dir);
  if (!rdmRecebimento) rdmRecebimento = new datamodule::TrdmRecebimento();
  context = std::make_unique<ScreenContext>(host, *rdmRecebimento, std::move(paths));
  if (!frmRecebimento) frmRecebimento = new TfrmRecebimento(*context);
  TfrmRecebimento& frm = *frmRecebimento;
  SaleState& sale = frm.Sale();

  oleRetorno = base::Variant::Array(10);
  sale.oleRetorno = oleRetorno;
  RemoveInterruptedWrites(*context);

  sale.cdsItensVenda = a.cdsItensVenda;
  sale.cdsItensCancelados = a.cdsItensCancelados;
  sale.cdsMoviVenda = a.cdsMoviVenda;
  sale.cdsSaldoFamilia = a.cdsSaldoFamilia;
  sale.cdsDescFidelidade = a.cdsDescFidelidade;
  sale.cdsPromoComanda = a.cdsPromoComanda;
  sale.stObsVenda = a.stObsVenda;
  sale.stIdDescFidelidade.clear();
  sale.stPontosFidelidade.clear();
  sale.stVrDescFidelidade.clear();
  sale.stOBSFINVEN.clear();
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
  ReportNumbersStillReserved(*context, frm.Par());

  // A sale the screen cannot take (its amounts) was refused at the start: nothing more
  // happens to it.
  if (!sale.refused) {
    frm.spbClearClick();
    frm.VerifPagamentoMob();
    frm.VerifPagamentoDLV();

    // A remote order already paid in full settles the sale without the screen. Amounts
    // are compared in cents so that binary leftovers of a subtraction count as zero.
    const bool settled_remotely =
        (sale.boPagouMobile || sale.boPagouDelivery) && runtime::ToCents(sale.doVrAPagar) == 0;
    if (!settled_remotely) frm.ShowModal();
  }

  frm.setCPFCons();
  PublishGlobals(sale);

  a.stIdCPFCupom = sale.stIdCPFCupom;
  a.stNrVenda = sale.stNrVenda;
  a.doVrPago = sale.doVrPago;
  a.boCupomCancelado = sale.boCupomCancelado;
  a.stCdConsumidor = sale.stCDIDCONSUMID;
  a.stCdSupervisor = sale.stCdSupervisor;
  a.stCdCampanha = sale.stCdCampanha;
  a.stlRetorno = sale.stlRetorno;
  a.stIdDescFidelidade = sale.stIdDescFidelidade;
  a.stPontosFidelidade = sale.stPontosFidelidade;
  a.stVrDescFidelidade = sale.stVrDescFidelidade;
  a.stIdPagouTEF = sale.stIdPagouTEF;
  a.stRetTender = sale.stRetTender;
  a.stNrCupom = frm.Par().boUTILIZAIMPFIS ? sale.stNrCupomFis : sale.stNrVenda;
  a.stRetImpressora = sale.stRetImpressora;
  // The host's own counter wins; the printer's is only a fallback.
  if (!sale.stNrContCupom.empty() && a.stNrContCupom.empty()) a.stNrContCupom = sale.stNrContCupom;

  ReloadFromScreen(a.cdsItensVenda, sale.cdsItensVenda);
  ReloadFromScreen(a.cdsItensCancelados, sale.cdsItensCancelados);
  ReloadFromScreen(a.cdsMoviVenda, sale.cdsMoviVenda);
  ReloadFromScreen(a.cdsSaldoFamilia, sale.cdsSaldoFamilia);
  ReloadFromScreen(a.cdsDescFidelidade, sale.cdsDescFidelidade);
  ReloadFromScreen(a.cdsPromoComanda, sale.cdsPromoComanda);
  ReloadFromScreen(a.cdsEmprestimoFamHost, &sale.cdsEmprestimoFam);

  const double item_discounts = ItemDiscounts(a.cdsItensVenda);
  // Only a completed sale leaves a trace of its discount or surcharge.
  if (sale.boVendaOk && item_discounts > 0)
    LogReceiptAdjustment(host, frm, "CUP_DES", "Mot_Des_Cup1", "Mot_Des_Cup", a.stNrCupom);
  if (sale.boVendaOk && sale.doVrAcrescimo > 0)
    LogReceiptAdjustment(host, frm, "CUP_ACR", "Mot_Acr_Cup1", "Mot_Acr_Cup", a.stNrCupom);

  return sale.boVendaOk;
}

}  // namespace

void ClearGlobals() noexcept { screen::ClearScreenGlobals(); }

bool Recebimento(RecebimentoArgs& args) {
  bool result = false;
  std::exception_ptr failure;
  // The screen's context outlives the screen, which is freed below.
  std::unique_ptr<ScreenContext> context;
  try {
    result = Run(args, context);
  } catch (...) {
    failure = std::current_exception();
  }
  // Whatever happened, the next call must find no screen and no data module.
  screen::FreeScreenAndDataModule();
  if (failure) std::rethrow_exception(failure);
  return result;
}

}  // namespace recebimento::package
