// The tip ("repique") kept from the change: proposed, asked or typed on the keypad,
// bounded by the change and the branch's maximum, and recorded on the sale's items.
#include <string>

#include "host/runtime/current_pump.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"
#include "screen/frm_recebimento.h"
#include "screen/message_format.h"
#include "screen/message_table.h"

namespace recebimento::screen {

using runtime::Trunc2;

namespace {

std::string TextoCampo(base::Dataset& ds, const char* campo) {
  return ds.Active() && ds.FieldIndex(campo) >= 0 ? ds.FieldByName(campo).AsString() : std::string();
}

}  // namespace

double TfrmRecebimento::DigitaRepique(const std::string& idTipoRece) {
  CtrlBotoes("E", 1);
  CtrlBotoes("H", 1);
  ControlRegistry& c = Controls();
  for (const char* n : {"spbTaxaServico", "spbDesconto", "sbtCashback", "sbtCashbackUDS", "sbtCashbackCore"})
    if (Control* b = c.FindComponent(n)) b->enabled = b->visible = false;
  // Enter must not confirm the sale while the tip is being typed.
  if (Control* ok = c.FindComponent("spbOk")) ok->enabled = false;
  Ctl("panKeyboard").visible = idTipoRece != "8";
  Ctl("panKeyboard").enabled = true;
  KeybEnabled(true);

  tpInputStep = isDinheiro1;
  stValorDigitado.clear();
  Ctl("lblInputReceb2").caption.clear();
  doVrDigitado = 0;
  boLimpaEntrada = false;
  boEntradaGorjeta = true;
  struct FimEntrada {
    bool& flag;
    ~FimEntrada() { flag = false; }
  } fim{boEntradaGorjeta};
  // Enter ends the step; going back to the grid means no tip.
  runtime::GetEventPump().RunUntil([this] { return tpInputStep == isNone || boSelecionandoTipo; }, "tip");
  if (tpInputStep != isNone) {
    tpInputStep = isNone;
    return 0;
  }
  const double valor = Trunc2(doVrDigitado);
  return valor > 0 ? valor : 0;
}

void TfrmRecebimento::Controla_Repique(base::Dataset& tender) {
  const std::string uso = TextoCampo(tender, "IDUTCONTRREPIQ");
  if (stIDTPCONTRREPIQ == "N" || (uso != "S" && uso != "A")) return;
  const double troco = Trunc2(doVrTroco);
  if (troco < 0.01) return;

  const bool comissao = stIDCOMISVENDA == "S";
  const double proposta = comissao ? Trunc2((doVrTotal - doVrServico) / 100 * doVRCOMISVENDA) : doVrServico;
  const double maximo = Trunc2(doVrTotal * doVRPEMAXREPIQMRX / 100);
  // A commission charged as a product of its own: the tip starts empty and is typed.
  const bool especial = stIdTipoVenda != "B" && proposta != doVrServico &&
                        (stIDCOMISVENDA == "S" || stIDCOMISVENDA == "G") && stIDTRATTAXASERV == "P";
  double repique = especial ? 0 : troco;

  const bool automatico = uso == "A" || stIDTPCONTRREPIQ == "A";
  bool digitar = false;
  if (automatico) {
    digitar = false;
  } else if (especial) {
    digitar = true;
  } else if (stIDTPCONTRREPIQ == "V") {
    digitar = MostraMensagem(MsgFmt("Conf_Repiq", {repique}), runtime::kMsgQuestion) || repique > troco;
  } else {
    digitar = true;
  }

  const std::string tipo = TextoCampo(tender, "IDTIPORECE");
  // The change step goes on in its own input step once the tip is typed.
  const TInputStep passo = tpInputStep;
  const bool digitou = digitar;
  while (digitar) {
    const double digitado = DigitaRepique(tipo);
    if (digitado > troco) {
      MostraMensagem(Msg("Repiq_N_Perm"), runtime::kMsgBlocked);
      continue;
    }
    if (!especial && doVRPEMAXREPIQMRX > 0 && digitado > maximo) {
      MostraMensagem(MsgFmt("Repiq_Maior_PerMax", {runtime::FormatFloat("0.##", doVRPEMAXREPIQMRX)}),
                     runtime::kMsgBlocked);
      continue;
    }
    repique = digitado;
    digitar = false;
  }

  if (digitou) tpInputStep = passo;

  doVrRepique = Trunc2(repique);
  if (TemItens()) {
    base::Dataset& itens = *cdsItensVenda;
    if (itens.FieldIndex("VRREPIQUEVENDA") >= 0) {
      const int atual = itens.RecNo();
      for (itens.First(); !itens.Eof(); itens.Next()) {
        itens.Edit();
        itens.FieldByName("VRREPIQUEVENDA").SetAsFloat(doVrRepique);
        itens.Post();
      }
      if (atual > 0) itens.SetRecNo(atual);
    }
  }
  if (doVrRepique > 0)
    Linha(Ctl("memLista"),
          runtime::AjustaL(Msg("REPIQUE") + ": ", 20) + runtime::AjustaR(FormatMoney(doVrRepique), 14), false);
}

}  // namespace recebimento::screen
