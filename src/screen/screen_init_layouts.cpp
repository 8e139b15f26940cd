// The screen's layout for the kind of screen (badge recharge, badge or account advance,
// sale) and for the sale's origin (tab, table, delivery, counter), the printer-dependent
// buttons and the card-recharge layout.
#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"

namespace recebimento::screen {

namespace {

bool NumeroInteiro(const std::string& s) {
  if (s.empty()) return false;
  size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

bool TfrmRecebimento::AplicaLayoutTipoTela() {
  const bool cracha = stTipoTela == "S" || stTipoTela == "A";
  const bool adiantamento_conta = stTipoTela == "D";

  for (const char* name : {"panFundoVendaVista", "panKeyboard", "sbtVoltar"}) {
    Ctl(name).visible = true;
    Ctl(name).enabled = true;
  }
  auto limpa_cracha = [this] {
    for (const char* name : {"lblCrachaNome", "lblFamilia", "lblSaldoFam", "lblTotalFam"}) Ctl(name).caption.clear();
  };

  if (cracha || adiantamento_conta) {
    for (const char* name : {"spbCNPJCPF", "spbDesconto", "spbAcrescimo", "spbTaxaServico", "spbDotz", "sbtCashback",
                             "sbtCashbackUDS", "sbtCashbackCore", "sbtFidelidadeOlga"})
      Ctl(name).visible = false;
    // The recharge panel takes the place of the cash-sale amounts.
    Control& fundo = Ctl("panFundoVendaVista");
    Control& carga = Ctl("panCargaCredito");
    carga.left = fundo.left;
    carga.top = fundo.top;
    carga.width = fundo.width;
    carga.height = fundo.height;
    carga.visible = true;
  }

  if (cracha) {
    Ctl("lblNrVenda").caption = stCdConsumidorFoto;
    Ctl("lblNomeCons").caption = stNmClienteVenda;
    Ctl("lblCrachaNome").caption = stCdConsumidorFoto + " - " + stNmClienteVenda;
    Ctl("lblTotalCarga").caption = runtime::FormatFloat("0.00", doVrPago);
    Ctl("lblTitulo").caption = Msg("CRACHA");
    if (stTipoTela == "S") {
      Ctl("lblTipoTela").caption = Msg("Carga");
      Ctl("lblFamilia").caption = Msg("Saldo") + " " + stNmClienteVenda;
      Ctl("lblSaldoFam").caption = runtime::FormatFloat("0.00", doVrCarga);
      Ctl("lblTotalFam").caption = "Total Carga";
    } else {
      Ctl("lblTipoTela").caption = Msg("AdiantamentoEnc");
      Ctl("lblTotalFam").caption = "Total Adiantamento";
    }
    MontaMenuGrupo();
    MontaBotoes(stGrupoBotoes, std::to_string(inPaginaBotoes));
    if (cdsMoviVenda && !cdsMoviVenda->Active()) RecriaMoviVenda();
    return true;
  }

  if (adiantamento_conta) {
    Ctl("lblTipoTela").caption = "Adiantamento de Conta";
    Ctl("lblNomeCons").caption = "Tipos de Recebimento";
    limpa_cracha();
    return false;
  }

  for (const char* name : {"spbCNPJCPF", "spbDesconto", "spbAcrescimo"}) Ctl(name).visible = true;
  for (const char* name : {"spbDotz", "spbTaxaServico"}) Ctl(name).visible = false;
  const bool balcao = stIdTipoVenda == "B" && stIdTela != "S";
  Ctl("sbtCashback").visible = balcao && stIDUTILFID4ALL == "S";
  Ctl("sbtCashbackUDS").visible = balcao && stIDUTILFIDUDS == "S";
  Ctl("sbtCashbackCore").visible = balcao && stIDUTICOREBANC == "S";
  Ctl("lblTipoTela").caption = Msg("TEXTO_PADRAO");
  Ctl("lblNomeCons").caption = Msg("tipo_rece_venda", MessageComponent::msgPadrao2);
  limpa_cracha();
  return false;
}

void TfrmRecebimento::AplicaLayoutModoVenda() {
  auto mostra_taxas = [this] {
    for (const char* name :
         {"lblTxServico", "lblServico", "lblConsumacao", "lblVrConsumacao", "lblCouver", "lblVrCouver"})
      Ctl(name).visible = true;
  };
  const std::string dscomanda = CampoItem("DSCOMANDA");
  const std::string nrcomanda = CampoItem("NRCOMANDA");
  // The tab's own number, or four digits of the tab code when the description is a name.
  auto numero_comanda = [&] {
    if (NumeroInteiro(dscomanda)) {
      stNrComanda = base::Utf8Right(dscomanda, 4);
      Ctl("lblNrVenda").caption = dscomanda;
    } else {
      stNrComanda = base::Utf8Mid(nrcomanda, 6, 4);
      Ctl("lblNrVenda").caption = nrcomanda;
    }
    stNrComandaCurto = stNrComanda;
  };

  if (stModoVenda == "CMD") {
    mostra_taxas();
    numero_comanda();
  } else if (stModoVenda == "RES" && stIdTipoVenda != "B") {
    mostra_taxas();
    // The table's number comes from the items as a tab's does; nothing else gives it.
    if (stNrComanda.empty()) numero_comanda();
    Ctl("lblNrVenda").caption = stNrComanda;
    stNrComandaCurto = stNrComanda;
  } else if (stModoVenda == "DLV" && stIdTipoVenda != "B") {
    Ctl("lblNrVenda").caption = nrcomanda;
    stNrComanda = stNrComandaCurto = base::Utf8Right(dscomanda, 4);
  } else if (stTipoTela == "N") {
    Ctl("lblNrVenda").caption = stNrComanda;
  } else {
    Ctl("lblTitulo").caption = Msg("CRACHA");
    Ctl("lblTipoTela").caption = Msg("VENDA_VISTA_CONS");
    Ctl("lblNrVenda").caption = stCdConsumidorFoto;
  }
}

void TfrmRecebimento::AplicaBotoesImpressora() {
  if (!boUTILIZAIMPFIS) return;
  const bool bloqueia = inIDTIPOIMPFIS == 16 || inIDTIPOIMPFIS == 21 || inIDTIPOIMPFIS == 30 || stIdTela == "T";
  if (bloqueia) {
    for (const char* name :
         {"spbDesconto", "spbAcrescimo", "spbTaxaServico", "sbtCashback", "sbtCashbackUDS", "sbtCashbackCore"})
      Ctl(name).enabled = false;
    return;
  }
  Ctl("spbDesconto").enabled = stPodeDesconto != "N";
  Ctl("spbAcrescimo").enabled = stPodeAcrescimo != "N";
  Ctl("spbTaxaServico").enabled = stPodeRetTaxaServ != "N";
  for (const char* name : {"sbtCashback", "sbtCashbackUDS", "sbtCashbackCore"}) Ctl(name).enabled = true;
}

void TfrmRecebimento::AplicaLayoutRecarga() {
  if (stTextoTitulo != "RECARGAVAVOZUZED") return;
  Ctl("lblTitulo").caption = "Recarga Cartão Vavozuzed";
  for (const char* name : {"lblCPFCliente", "lblNomeCliente", "lblCPFCons", "lblFamilia", "lblSaldoFam"})
    Ctl(name).visible = false;
  Ctl("lblNomeCons").caption = "Tipos de recebimento";
}

}  // namespace recebimento::screen
