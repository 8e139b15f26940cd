// The sale's surcharge and the change of its service fee, both guarded by the host's
// access control and entered in the host's value-or-percentage dialog.
#include <string>

#include "host/pos/host_services.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/control_state.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"

namespace recebimento::screen {

using runtime::FormatFloat;
using runtime::Trunc2;

namespace {

}  // namespace

std::string TfrmRecebimento::RecusaAcrescimo(double base, double acrescimo, double percentual, double servico) {
  const double perc = runtime::RoundDec(percentual, 6);
  if (boUTILIZAIMPFIS) {
    // Fiscal printers take at most ten percent of the sale as a surcharge.
    if (Trunc2(acrescimo) > Trunc2(base * 10 / 100) || perc > 10) return Msg("Ope_Acr_Maior");
    return std::string();
  }
  if (Trunc2(acrescimo + servico) > Trunc2(base) || perc > 100)
    return Msg(stIDPERACRTXSECUP == "S" && servico > 0 ? "Acr_Tax_Maior_Sat_Nfce" : "Ope_Acr_Maior_Sat_Nfce");
  return std::string();
}

void TfrmRecebimento::spbAcrescimoClick() {
  std::string supervisor;
  if (!pos::Host().access->VerificaAcesso(inCTACRESCIMO, stCdOperador, supervisor)) return;
  stCdSupervisor = supervisor;

  ControlRegistry& c = Controls();
  Habilita(c, "spbDesconto", false);
  Habilita(c, "spbTaxaServico", false);
  auto reabilita = [&] {
    Habilita(c, "spbDesconto", stPodeDesconto != "N");
    Habilita(c, "spbTaxaServico", stPodeRetTaxaServ != "N");
  };

  std::string tipo;
  double valor = 0;
  if (!PedeDescontoHost("Acrescimo", doVrTotal, tipo, valor) || !(valor > 0)) {
    reabilita();
    return;
  }

  const double base = Trunc2(doVrTotal - doVrServico - doVrAcrescimo);
  double acrescimo = 0, percentual = 0;
  if (tipo == "P") {
    percentual = valor;
    acrescimo = Trunc2(valor * base / 100);
  } else {
    acrescimo = Trunc2(valor);
    percentual = base > 0 ? valor * 100 / base : 0;
  }
  // The surcharge replaces the service fee unless the branch prints both on the receipt.
  const double servico = stIDPERACRTXSECUP == "S" ? doVrServico : 0;

  // A refused surcharge leaves the one in force and the fee as they were.
  const std::string recusa = RecusaAcrescimo(base, acrescimo, percentual, servico);
  if (!recusa.empty()) {
    MostraMensagem(recusa, runtime::kMsgBlocked);
    if (doVrAcrescimo == 0) reabilita();
    return;
  }

  try {
    doVrAcrescimo = acrescimo;
    doPercAcrescimo = percentual;
    doVrServico = servico;
    // The real total is the base plus the surcharge; the fee kept beside the surcharge
    // stays in the base so that the sale is not taken as paid without it.
    doVrBaseAcrescimo = Trunc2(base + servico);
    doVrTotal = Trunc2(doVrBaseAcrescimo + doVrAcrescimo);
    doVrAPagar = Trunc2(doVrTotal - doVrPago - doVrDesconto);
    Ctl("lblServico").caption = FormatFloat("0.00", doVrServico);
    MostraListaAjustes();
    MostraValorAjustado("ACRESCIMO:", doVrAcrescimo);
  } catch (const std::exception& e) {
    MostraMensagem(e.what(), runtime::kMsgBlocked);
    spbClearClick();
  }
}

void TfrmRecebimento::spbTaxaServicoClick() {
  std::string supervisor;
  if (!pos::Host().access->VerificaAcesso(inCTRETTAXASERV, stCdOperador, supervisor)) return;
  stCdSupervisor = supervisor;
  pos::Host().access->LogControleAcess({stCDFILIAL, stCDCAIXA, "ALT_TAX", stCdOperador, stNmOperador,
                                        stCdSupervisor,
                                        "Alterar valor da Taxa de Serviço da Mesa/Comanda Nº: " + stNrComanda,
                                        "Alterar valor da Taxa de Serviço."});

  ControlRegistry& c = Controls();
  Habilita(c, "spbTaxaServico", false);
  struct Reabilita {
    TfrmRecebimento* tela;
    ~Reabilita() {
      if (Control* b = tela->Controls().FindComponent("spbTaxaServico")) b->enabled = tela->stPodeRetTaxaServ != "N";
    }
  } reabilita{this};

  std::string tipo;
  double valor = 0;
  // A fee of 0 is how the operator removes it.
  if (!PedeDescontoHost("TaxaServico", doVrTotal, tipo, valor) || valor < 0) return;
  const double base = Trunc2(doVrTotal - doVrServico);
  const double nova = tipo == "P" ? Trunc2(valor * base / 100) : Trunc2(valor);
  if (nova > doVrServicoOrig && !MostraMensagem(Msg("Taxa_Maior"), runtime::kMsgQuestion)) return;

  doVrServico = nova;
  doVrTotal = Trunc2(base + nova);
  if (doVrAcrescimo > 0) doVrBaseAcrescimo = Trunc2(doVrTotal - doVrAcrescimo);
  doVrAPagar = Trunc2(doVrTotal - doVrPago - doVrDesconto);
  Ctl("lblValorPagar").caption = FormatFloat("0.00", doVrAPagar);
  Ctl("lblValorTotal").caption = FormatFloat("0.00", doVrTotal);
  Ctl("lblServico").caption = FormatFloat("0.00", doVrServico);
  if (doVrDesconto > 0 || doVrAcrescimo > 0) MostraListaAjustes();
}

}  // namespace recebimento::screen
