// The sale's discount: typed by the operator (with supervisor control and the host's
// value-or-percentage dialog) or granted by an integration, its limits, and how the screen
// shows a discount or surcharge in force.
#include <cmath>
#include <string>
#include <vector>

#include "base/text.h"
#include "host/pos/host_services.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/message_format.h"
#include "screen/message_table.h"

namespace recebimento::screen {

using base::Variant;
using runtime::FormatFloat;
using runtime::Trunc2;

namespace {

// Percentages are compared on six decimals: 99 typed as a value of 99.00 on 100.00 must
// not read as 99.00000000000001.
double Percentual(double x) { return runtime::RoundDec(x, 6); }

// A discount or surcharge line: the label and its percentage in the name column, the
// signed amount right-aligned in the value column.
std::string LinhaAjuste(const std::string& rotulo, double percentual, const char* sinal, double valor) {
  return runtime::AjustaL(rotulo + " " + FormatFloat("0.00", percentual) + "% ", 20) + " " +
         runtime::AjustaR(sinal + FormatFloat("0.00", valor), 14);
}

// "A PAGAR:" and the amount at the right edge of a display `largura` characters wide.
std::string LinhaDisplay(const std::string& rotulo, double valor, int largura) {
  const std::string texto = FormatFloat("0.00", valor);
  const int espaco = largura - static_cast<int>(base::Utf8Length(texto));
  if (espaco <= static_cast<int>(base::Utf8Length(rotulo))) return rotulo + " " + texto;
  return runtime::AjustaL(rotulo, espaco) + texto;
}

std::string TextoCampo(base::Dataset& ds, const char* campo) {
  return ds.FieldIndex(campo) >= 0 ? ds.FieldByName(campo).AsString() : std::string();
}

double ValorCampo(base::Dataset& ds, const char* campo) {
  return ds.FieldIndex(campo) >= 0 ? ds.FieldByName(campo).AsFloat() : 0.0;
}

}  // namespace

bool TfrmRecebimento::PedeDescontoHost(const std::string& title, double total, std::string& tipo, double& valor) {
  tipo.clear();
  valor = 0;
  Variant resposta;
  if (!pos::Host().dialogs->CriaDesconto({Variant(title), Variant(total)}, resposta)) return false;
  if (!resposta.IsPacket()) {
    MostraMensagem("O diálogo de desconto não devolveu um valor.", runtime::kMsgBlocked);
    return false;
  }
  base::Dataset lido("cdsDescontoHost");
  lido.SetData(resposta);
  if (!lido.Active()) lido.Open();
  if (lido.IsEmpty()) return false;
  lido.First();
  if (lido.FieldIndex("TIPO") >= 0 && lido.FieldIndex("VALOR") >= 0) {
    tipo = base::Trim(TextoCampo(lido, "TIPO"));
    valor = ValorCampo(lido, "VALOR");
  } else {
    // Dialogs that answer the amount and the percentage in columns of their own: a
    // percentage typed wins, as the operator chose it over the amount.
    const double percentual = ValorCampo(lido, "PCDESCONTO");
    tipo = percentual > 0 ? "P" : "V";
    valor = percentual > 0 ? percentual : ValorCampo(lido, "VRDESCONTO");
  }
  if (tipo != "P") tipo = "V";
  if (!std::isfinite(valor)) valor = 0;

  cdsDesconto.Close();
  cdsDesconto.SetFields({{"TIPO", base::FieldType::String, 1}, {"VALOR", base::FieldType::Float, 0}});
  cdsDesconto.CreateDataSet();
  cdsDesconto.AppendRecord({Variant(tipo), Variant(valor)});
  return true;
}

void TfrmRecebimento::MostraListaAjustes() {
  Control& lista = Ctl("memLista");
  lista.lines = Ctl("memListaAux").lines;
  const bool desconto = doVrDesconto > 0, acrescimo = doVrAcrescimo > 0;
  if (desconto) Linha(lista, LinhaAjuste(Msg("Desconto"), doPercDesconto, "-", doVrDesconto), false);
  if (acrescimo) Linha(lista, LinhaAjuste(Msg("Acrescimo"), doPercAcrescimo, "+", doVrAcrescimo), false);
  if (desconto || acrescimo)
    Linha(lista,
          runtime::AjustaL(Msg("Subtotal"), 20) + " " +
              runtime::AjustaR(FormatFloat("0.00", Trunc2(doVrTotal - doVrDesconto)), 14),
          false);
}

void TfrmRecebimento::MostraValorAjustado(const std::string& display_label, double amount) {
  Ctl("lblValorPagar").caption = FormatFloat("0.00", doVrAPagar);
  // The client of the sale is shown again with the new amounts (not on badge screens).
  if (stTipoTela != "S" && stTipoTela != "A" && TemItens()) {
    const std::string cliente = CampoItem("CDCLIENTE");
    if (!cliente.empty() && cdsCliente.Active() && cdsCliente.Locate("CDCLIENTE", Variant(cliente))) {
      Ctl("lblCPFCliente").caption = TextoCampo(cdsCliente, "NRINSJURCLIE");
      Ctl("lblNomeCliente").caption = TextoCampo(cdsCliente, "NMRAZSOCCLIE");
    }
  }
  if (!boDisplayOK) return;
  pos::CustomerDisplay& display = *pos::Host().display;
  display.LimpaDisplay();
  display.DisplayEnviaTexto(LinhaDisplay("A PAGAR:", doVrAPagar, inTAMDISPLAY), 1, 1);
  display.DisplayEnviaTexto(LinhaDisplay(display_label, amount, inTAMDISPLAY), 2, 1);
}

void TfrmRecebimento::LigaBotoesAjustes() {
  ControlRegistry& c = Controls();
  if (Control* b = c.FindComponent("spbDesconto")) b->on_click = [this] { spbDescontoClick(); };
  if (Control* b = c.FindComponent("spbAcrescimo")) b->on_click = [this] { spbAcrescimoClick(); };
  if (Control* b = c.FindComponent("spbTaxaServico")) b->on_click = [this] { spbTaxaServicoClick(); };
}

// Until the discount-coupon flow is built the branch's coupon setting leads straight to
// the manual discount.
std::string TfrmRecebimento::CriaInformaDesconto() { return std::string(); }

void TfrmRecebimento::spbDescontoClick() {
  if (stIDUTCUPOMDESC == "S" && stIdUsaCupomDesc != "S") {
    const std::string escolha = CriaInformaDesconto();
    if (escolha == "CUPOM" || escolha == "SAIR") return;
  }

  std::string supervisor;
  if (!pos::Host().access->VerificaAcesso(inCTCUPDESCONTO, stCdOperador, supervisor)) return;
  stCdSupervisor = supervisor;

  ControlRegistry& c = Controls();
  Habilita(c, "spbAcrescimo", false);
  Habilita(c, "spbTaxaServico", false);
  auto reabilita = [&] {
    Habilita(c, "spbAcrescimo", stPodeAcrescimo != "N");
    Habilita(c, "spbTaxaServico", stPodeRetTaxaServ != "N");
  };

  if (stIDSOLOBSDESC == "S") {
    Variant motivo;
    pos::Host().dialogs->Observacao(
        {Variant(std::string("Motivo do desconto")), Variant(std::string("Informe o motivo do desconto")),
         Variant(stDSOBSDESC)},
        motivo);
    // The dialog answers the reason, or the reason and its group.
    if (motivo.IsArray()) {
      const auto& partes = motivo.AsArray();
      stDSOBSDESC = partes.empty() ? std::string() : partes[0].AsString();
      stCDGRPOCORDESC = partes.size() > 1 ? partes[1].AsString() : std::string();
    } else {
      stDSOBSDESC = motivo.IsNull() ? std::string() : motivo.AsString();
      stCDGRPOCORDESC.clear();
    }
    if (stDSOBSDESC == "erro") {
      stDSOBSDESC.clear();
      stCDGRPOCORDESC.clear();
    }
  }

  std::string tipo;
  double valor = 0;
  const std::string titulo = stUtilDescCrmBonus == "S" ? "DescontoCRMBONUS" : "Desconto";
  if (!PedeDescontoHost(titulo, doVrTotal, tipo, valor) || !(valor > 0)) {
    reabilita();
    return;
  }

  // A refused discount leaves the one already in force, so the screen and the amounts
  // keep telling the same story.
  const double vr_anterior = doVrDesconto, perc_anterior = doPercDesconto;
  const double base_produtos = doVrTotal - doVrServico - doVrAcrComanda;
  if (tipo == "P") {
    doPercDesconto = valor;
    doVrDesconto = Trunc2(valor * base_produtos / 100);
  } else {
    doVrDesconto = Trunc2(valor);
    doPercDesconto = doVrTotal != 0 ? valor * 100 / doVrTotal : 0;
  }

  const std::string recusa = RecusaDesconto();
  if (!recusa.empty()) {
    doVrDesconto = vr_anterior;
    doPercDesconto = perc_anterior;
    MostraMensagem(recusa, runtime::kMsgBlocked);
    if (doVrDesconto == 0) reabilita();
    return;
  }

  try {
    doVrAPagar = Trunc2(doVrTotal - doVrPago - doVrDesconto);
    MostraListaAjustes();
    MostraValorAjustado("DESCONTO:", doVrDesconto);
    if (doVrDesconto != 0 && doPercDesconto != 0) MarcaItensDesconto();
  } catch (const std::exception& e) {
    MostraMensagem(e.what(), runtime::kMsgBlocked);
    spbClearClick();
  }
}

std::string TfrmRecebimento::RecusaDesconto() {
  const double desconto = Trunc2(doVrDesconto);
  if (boPagouMobile && desconto > Trunc2(doVrTotal - doVrPago)) return Msg("Ope_Desc_Maior_Rest");
  if (desconto >= Trunc2(doVrTotal)) return Msg("Ope_Desc_Maior");

  // Every item must keep at least one cent: per unit sold and per item line.
  const double base_produtos = Trunc2(doVrTotal - doVrServico - doVrAcrComanda);
  const double liquido = Trunc2(doVrTotal - doVrServico - doVrAcrComanda - doVrDesconto);
  double unidades = 0;
  int linhas = 0;
  if (TemItens()) {
    base::Dataset& itens = *cdsItensVenda;
    const int atual = itens.RecNo();
    for (itens.First(); !itens.Eof(); itens.Next()) {
      unidades += ValorCampo(itens, "QTPRODCOMVEN");
      ++linhas;
    }
    if (atual > 0) itens.SetRecNo(atual);
  }
  for (const double minimo : {Trunc2(unidades / 100), Trunc2(linhas / 100.0)}) {
    if (minimo > liquido) return MsgFmt("Desc_Max", {Trunc2(base_produtos - minimo)});
  }

  if (inIDTIPOIMPFIS == 31 || inIDTIPOIMPFIS == 33) {
    const double limite = Trunc2((doVrTotal - doVrServico) * 99 / 100);
    if (Percentual(doPercDesconto) > 99 || desconto > limite) return MsgFmt("Desc_MaxEpson", {limite, "99%"});
  }
  return std::string();
}

void TfrmRecebimento::MarcaItensDesconto() {
  if (!TemItens()) return;
  base::Dataset& itens = *cdsItensVenda;
  const int atual = itens.RecNo();
  auto grava = [&](const char* campo, const Variant& valor) {
    if (itens.FieldIndex(campo) >= 0) itens.FieldByName(campo).SetValue(valor);
  };
  for (itens.First(); !itens.Eof(); itens.Next()) {
    itens.Edit();
    grava("DSOBSDESC", Variant(stDSOBSDESC));
    grava("CDGRPOCORDESC", Variant(stCDGRPOCORDESC));
    grava("CDSUPERVISOR", Variant(stCdSupervisor));
    // A manual discount replaces the cashback discounts the sale carried: they must not
    // be redeemed with the provider as well.
    grava("VRDESCCASH4ALL", Variant(0.0));
    grava("VRDESCPROMO4ALL", Variant(0.0));
    grava("CDPROMOFID4ALL", Variant(std::string()));
    grava("VRDESCCASHUDS", Variant(0.0));
    itens.Post();
  }
  if (atual > 0) itens.SetRecNo(atual);
  doVrDescCash4All = 0;
  doVrDescCashUDS = 0;
}

void TfrmRecebimento::AplicaDesconto() {
  doPercDesconto = doVrTotal != 0 ? 100 * doVrDesconto / doVrTotal : 0;
  doVrAPagar = Trunc2(doVrTotal - doVrPago - doVrDesconto);
  MostraListaAjustes();
  MostraValorAjustado("DESCONTO:", doVrDesconto);
}

}  // namespace recebimento::screen
