// What the screen shows about who pays: the customer display line, the client and
// consumer lines, the consumer's account balance; and the operator's rights.
#include <string>

#include "base/text.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

using runtime::Trunc2;

void TfrmRecebimento::MostraDisplayCliente() {
  if (!boDisplayOK) return;
  const std::string valor = Ctl("lblValorPagar").caption;
  const long largura = static_cast<long>(inTAMDISPLAY) - static_cast<long>(base::Utf8Length(valor));
  const std::string linha = base::Utf8PadRight("A PAGAR:", largura > 0 ? static_cast<size_t>(largura) : 0) + valor;
  pos::Host().display->LimpaDisplay();
  pos::Host().display->DisplayEnviaTexto(linha, 1, 1);
}

void TfrmRecebimento::MostraClienteConsumidor() {
  // Client of the sale.
  const std::string cliente = CampoItem("CDCLIENTE");
  const bool achou = !cliente.empty() && cdsCliente.Active() && cdsCliente.FieldIndex("CDCLIENTE") >= 0 &&
                     cdsCliente.Locate("CDCLIENTE", base::Variant(cliente));
  if (achou) {
    auto campo = [this](const char* c) {
      return cdsCliente.FieldIndex(c) >= 0 ? cdsCliente.FieldByName(c).AsString() : std::string();
    };
    Ctl("lblCPFCliente").caption = campo("NRINSJURCLIE");
    Ctl("lblNomeCliente").caption = campo("NMRAZSOCCLIE");
  } else {
    Ctl("lblCPFCliente").caption = Msg("Cliente", MessageComponent::msgPadrao2);
    Ctl("lblNomeCliente").caption = Msg("nm_cliente", MessageComponent::msgPadrao2);
  }

  // Consumer document and name for the receipt.
  if (!stNrDocConsCupom.empty()) {
    Ctl("lblCPFCons").caption = stNrDocConsCupom;
    Ctl("lblCPFCons").visible = true;
    Ctl("bltPesquisar").enabled = false;
    if (!stNmConsCupom.empty()) Ctl("lblNomeCons").caption = stNmConsCupom;
  } else {
    Ctl("lblCPFCons").visible = false;
    if (!stNmClienteVenda.empty()) Ctl("lblNomeCons").caption = stNmClienteVenda;
  }

  // Codes of the consumer account the sale may be charged to.
  if (stTipoTela == "C") {
    stCdClienteCons = stCdClienteVenda;
    stCdConsumidorCons = stCdConsumidorVenda;
  } else if (stTipoTela == "N") {
    stCdClienteCons = cliente;
    stCdConsumidorCons = CampoItem("CDCONSUMIDOR");
  } else {
    stCdClienteCons.clear();
    stCdConsumidorCons.clear();
  }
}

void TfrmRecebimento::MostraSaldoConsumidor() {
  if (stCdConsumidorCons.empty()) return;
  const base::Variant consumidor = runtime::MensagemMetodo(
      rdmRecebimento->getConsumidor(stCdClienteCons, stCdConsumidorCons, stCDFILIAL), true, 0, "getConsumidor",
      "Cli_Rev00000", stCdClienteCons + "-" + stCdConsumidorCons + "-" + stCDFILIAL);
  if (!runtime::IsResultPacket(consumidor)) return;
  cdsConsumidor.SetData(consumidor);
  if (!cdsConsumidor.Active() || cdsConsumidor.IsEmpty()) return;
  auto campo = [this](const char* c) {
    return cdsConsumidor.FieldIndex(c) >= 0 ? cdsConsumidor.FieldByName(c).AsString() : std::string();
  };
  stIDVERSALDCON = campo("IDVERSALDCON");
  stVRLIMDEBCONS = campo("VRLIMDEBCONS");
  const double limite =
      cdsConsumidor.FieldIndex("VRLIMDEBCONS") >= 0 ? cdsConsumidor.FieldByName("VRLIMDEBCONS").AsFloat() : 0;
  if (stIDVERSALDCON != "S") return;

  // Debits still pending are booked before the balance is read.
  const base::DateTime desde = runtime::GetClock().Now().AddDays(-120);
  AtualizaDebitosConsumidor(desde);
  if (stIDDEBCONSCENTRAL == "S")
    pos::Host().consumers->AtuSaldoDebCons(stCDFILIAL, stCdClienteCons, stCdConsumidorCons, desde, stCdOperador);

  MostraSaldoCons("1", stCdClienteCons, stCdConsumidorCons, "");
  const double saldo = Trunc2(doVrSaldoConsAtual);
  doSaldoCons = stVRLIMDEBCONS.empty() ? saldo : runtime::RoundDec(saldo - Trunc2(limite), 2);
  const std::string rotulo = Msg("SALDOCONS");
  const long largura = 50 - static_cast<long>(base::Utf8Length(rotulo));
  Ctl("lblSaldoCons").caption =
      rotulo + base::Utf8PadLeft(runtime::FormatFloat("0.00", doSaldoCons), static_cast<size_t>(largura > 0 ? largura : 0));
}

void TfrmRecebimento::AplicaDireitosOperador() {
  pos::AccessControl& acesso = *pos::Host().access;
  stPodeAcrescimo = acesso.ControleAcess(inCTACRESCIMO, stCdOperador);
  stPodeRetTaxaServ = acesso.ControleAcess(inCTRETTAXASERV, stCdOperador);
  stPodeDesconto = acesso.ControleAcess(inCTCUPDESCONTO, stCdOperador);
  stPodeSelecCliCons = acesso.ControleAcess(inCTSELECCLICONS, stCdOperador);
  Ctl("spbAcrescimo").enabled = stPodeAcrescimo != "N";
  Ctl("spbTaxaServico").enabled = stPodeRetTaxaServ != "N";
  Ctl("spbDesconto").enabled = stPodeDesconto != "N";
}

}  // namespace recebimento::screen
