#include "screen/frm_recebimento.h"

#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/receipt_footer.h"
#include "screen/message_table.h"
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

void TfrmRecebimento::InicializaForm(const InicializaFormArgs& a) {
  // The buttons reach their handlers once the screen serves a sale; each concern binds
  // the buttons it owns.
  LigaBotoesEntradaValor();
  LigaBotoesAjustes();

  // 1-2. The data module, the working set and the lists.
  if (!rdmRecebimento) {
    rdmRecebimento = new datamodule::TrdmRecebimento();
    rdmRecebimento->SetClock(&runtime::GetClock());
    rdmRecebimento->Open();
  }
  TrimAppMemorySize();
  for (const char* list : {"memLista", "memListaAux", "memDelivery"}) Ctl(list).lines.clear();

  // 3. Per-sale state and the arguments.
  ReiniciaEstadoVenda();
  CopiaArgumentos(a);

  // 4. Message line.
  Ctl("lblMens").caption = stMensagem;
  Ctl("lblMens").visible = !stMensagem.empty();
  Ctl("panImpTef").visible = !stMensagem.empty();
  Ctl("panFidelidadeOlga").enabled = false;

  // 5-7. Configuration, size, default pictures.
  CarregaParametrosZem();
  Control& lista = Ctl("memLista");
  Ctl("memListaAux").width = lista.width;
  Ctl("memListaAux").height = lista.height;
  Ctl("imgFotoConsumidor").stretch = false;
  Ctl("imgFotoConsumidor").glyph = Ctl("imgLogoPadrao").glyph;
  Ctl("dbgPromocao").color = 0x00FFFFFF;
  Ctl("dbgPromocao").font_color = 0x00000000;

  // 8. Mobile orders name the consumer in the items.
  if (stIdTipoVenda == "M" && stCdConsumidorFoto.empty() && stCdClienteVenda.empty() && TemItens()) {
    stCdConsumidorFoto = CampoItem("CDCONSUMIDOR");
    stCdClienteVenda = CampoItem("CDCLIENTE");
  }

  // 9. Loyalty and cashback discounts the sale brings.
  const bool restaurante = stModoVenda == "RES" || stModoVenda == "DLV";
  if (stIDEXTCONSONLINE == "S" && restaurante && stIDUTILFID4ALL == "N" && stIDUTILFIDUDS == "N" &&
      stIDUTICOREBANC == "N" && cdsDescFidelidade && cdsDescFidelidade->Active() && !cdsDescFidelidade->IsEmpty())
    doVrDescFid = cdsDescFidelidade->FieldByName("VRDESCFID").AsFloat();
  if (stIDUTILFID4ALL == "S" && restaurante && stIdTipoVenda != "B" && TemItens())
    doVrDescCash4All = cdsItensVenda->FieldByName("VRDESCCASH4ALL").AsFloat();
  if (stIDUTILFIDUDS == "S" && restaurante && stIdTipoVenda != "B" && TemItens())
    doVrDescCashUDS = cdsItensVenda->FieldByName("VRDESCCASHUDS").AsFloat();

  // 10-11. Product logo and the screen code.
  Ctl("imgTalvora").glyph = Ctl(boSISTEMAVANTOMI ? "imgVantomi" : "imgBrisova").glyph;
  Ctl("lblCodTela").caption = runtime::MontaRodapeGeral(boUTILIZAIMPFIS, "REV00000", "S");

  // 12-18. Photograph, identification, operator, tenders, limits, tax rates, client.
  CarregaArquivosReferencia(a);

  // 19-23.
  stTextoCupom = a.stTextoCupom;
  inPaginaBotoes = 1;
  stGrupoBotoes = "01";
  doVrConsumacao = doVrCouver = doVrAcrescimo = 0;
  std::string titulo = Msg("BALCAO", MessageComponent::msgPadrao2);
  if (stModoVenda == "CMD") titulo = Msg("COMANDA", MessageComponent::msgPadrao2);
  else if (stModoVenda == "RES" && stIdTipoVenda != "B") titulo = Msg("MESA", MessageComponent::msgPadrao2);
  else if (stModoVenda == "DLV") titulo = Msg("DELIVERY", MessageComponent::msgPadrao2);
  Ctl("lblTitulo").caption = titulo;
  if (stIdTipoVenda != "B") stIdTpVendaCons = rdmRecebimento->getTipoVendaCons(stCdClienteVenda, stCdConsumidorFoto);
  const bool pesquisa = stModoVenda == "RES" && stIdTipoVenda == "B" && stTipoTela == "N" &&
                        (boSISTEMAZEMNFCE || boSISTEMAZEMSAT);
  Ctl("bltPesquisar").visible = Ctl("bltPesquisar").enabled = pesquisa;
  Ctl("spbClear").enabled = stIdTela != "S";

  // 24-36. Layouts, totals, lists; the badge layouts skip the sale's own lines.
  if (!AplicaLayoutTipoTela()) {
    AplicaLayoutModoVenda();
    try {
      AplicaBotoesImpressora();
      CalculaTotais();
      MontaListaPagamentos();
      MostraDisplayCliente();
      MostraClienteConsumidor();
      MostraSaldoConsumidor();
      if (!stNmGarcom.empty()) {
        Linha(Ctl("memLista"), Msg("GARCOM") + "  " + stNmGarcom, true);
      }
      if (stIdTela == "T") {
        Linha(Ctl("memLista"), Msg("TROCA") + "  " + runtime::FormatFloat("0.00", ValorItem("VRDESCOMANDA")), true);
      }
      MontaMenuGrupo();
      MontaBotoes(stGrupoBotoes, std::to_string(inPaginaBotoes));
      Ctl("panKeyboard").visible = false;
      Ctl("sbtVoltar").enabled = false;
    } catch (const std::exception& e) {
      // The screen still opens; what was computed before the failure stays.
      runtime::Mensagem(e.what(), "", "N", "N", runtime::kMsgBlocked, "", "", 0, nullptr);
    }
  }

  // 37-38. Fiscal date and the operator's rights.
  if (boUTILIZAIMPFIS) dtMoviFiscal = pos::Host().printer->DataMoviFiscal(stIDESQUEMA);
  AplicaDireitosOperador();

  // 39-43. Recharge layout, consumer name on the sale, integrations, Dotz, branch flags.
  AplicaLayoutRecarga();
  if (cdsItProdVend.Active()) cdsItProdVend.EmptyDataSet();
  boImpNomeConsumidor = rdmRecebimento->getImpNomeConsumidorVenda(stCDFILIAL, stCDCAIXA);
  ReiniciaIntegracoes();
  if (stIDEXISTECAMPDOTZ == "S" &&
      runtime::Mensagem(Msg("UTI_DOTZ"), "", "N", "N", runtime::kMsgQuestion, "", "", 0, nullptr))
    spbDotzClick();
  stIDFECHRECAUT = rdmRecebimento->getIDFECHRECAUT(stCDFILIAL);
  stIdUsaCupomDesc = "N";
  stIDUTCUPOMDESC = rdmRecebimento->getIDUTCUPOMDESC();
}

void TfrmRecebimento::spbClearClick() { LimpaRecebimentos(); }

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

void TfrmRecebimento::spbSairClick() { ExecutaSaida(); }

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
          {"stIdTipoVenda", Variant(stIdTipoVenda)},
          {"doVrServicoOrig", Variant(doVrServicoOrig)},
          {"doVrAcrComanda", Variant(doVrAcrComanda)},
          {"doVrDescComanda", Variant(doVrDescComanda)},
          {"doVrDescItens", Variant(doVrDescItens)},
          {"doVrConsumacao", Variant(doVrConsumacao)},
          {"doVrCouver", Variant(doVrCouver)},
          {"doVrUnitVendCl", Variant(doVrUnitVendCl)},
          {"doAcrItem", Variant(doAcrItem)},
          {"doSaldoCons", Variant(doSaldoCons)},
          {"stNrComanda", Variant(stNrComanda)},
          {"stOrigemVenda", Variant(stOrigemVenda)},
          {"stCdOperador", Variant(stCdOperador)},
          {"stCdClienteCons", Variant(stCdClienteCons)},
          {"stCdConsumidorCons", Variant(stCdConsumidorCons)},
          {"stPodeDesconto", Variant(stPodeDesconto)},
          {"stPodeAcrescimo", Variant(stPodeAcrescimo)},
          {"stPodeRetTaxaServ", Variant(stPodeRetTaxaServ)},
          {"stPodeSelecCliCons", Variant(stPodeSelecCliCons)},
          {"stGrupoBotoes", Variant(stGrupoBotoes)},
          {"inPaginaBotoes", Variant(static_cast<int64_t>(inPaginaBotoes))},
          {"inQTDMAXDIGNSU", Variant(static_cast<int64_t>(inQTDMAXDIGNSU))},
          {"boPagouMobile", Variant(boPagouMobile)},
          {"boPagouDelivery", Variant(boPagouDelivery)}};
}

}  // namespace recebimento::screen
