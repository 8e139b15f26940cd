// The amounts of the simple tenders: typed on the keypad (cash, cheque, voucher, paid on
// site), the whole amount of an agreement sale, and foreign currency at the day's rate.
#include <filesystem>
#include <string>

#include "base/path.h"
#include "base/text.h"
#include "datamodule/connection_config.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frm_recebimento.h"
#include "screen/message_format.h"
#include "screen/message_table.h"
#include "screen/payment_line_fields.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

namespace {

void Legenda(ControlRegistry& c, const char* name, const std::string& caption) {
  if (Control* ctl = c.FindComponent(name)) ctl->caption = caption;
}

// The rates file lives with the host's other data files.
std::string ArquivoMoedas(const std::string& dsdircad) {
  return base::JoinSpecPath(datamodule::HostFolder(), dsdircad + "cdsMoedas.cds");
}

}  // namespace

// Puts the step on the keypad with `proposed` shown, and waits until the operator's
// Enter moves the step on (or the screen goes back to the grid).
bool TfrmRecebimento::ValorDoTeclado(TInputStep step, double proposed, double& amount) {
  ControlRegistry& c = Controls();
  const pos::HostServices& host = pos::Host();
  tpInputStep = step;
  const std::string proposto = runtime::FormatFloat("0.00", proposed);
  Legenda(c, "lblInputReceb2", proposto);
  if (!MsgInputStep[step].empty()) Legenda(c, "lblNrCupom", Msg(MsgInputStep[step]));
  if (host.keyboard->Teclado_OK()) {
    host.keyboard->ProcTeclDispClrLn2();
    host.keyboard->ProcTeclGoToXY(2, 1);
    host.keyboard->ProcTeclDispStr(Msg(TeclMsgInputStep[step]) + proposto);
  }
  stValorDigitado = proposto;
  boDigitouValor = true;
  boLimpaEntrada = true;

  if (step != isPagSite && stTipoTela == "S" && stIdRecebeBonus == "S") {
    // A top-up of a bonus type loads its fixed amount.
    tpInputStep = isNone;
    amount = runtime::Trunc2(doVrCargaCredito);
  } else {
    runtime::GetEventPump().RunUntil(
        [this, step] { return boFalhaReceb || tpInputStep != step || boSelecionandoTipo; }, "amount on the keypad");
    if (boSelecionandoTipo) {
      tpInputStep = isNone;
      if (stConsPesquisado != "S") {
        if (Control* b = c.FindComponent("bltPesquisar")) b->enabled = true;
      }
      return false;
    }
    if (boFalhaReceb) return false;
    amount = runtime::Trunc2(doVrDigitado);
  }
  if (amount <= 0) {
    RecusaRecebimento("Dig_Val");
    return false;
  }
  return true;
}

bool TfrmRecebimento::ConfereValorDigitado(double amount, bool paid_on_site) {
  if (stTipoTela == "D" && !(amount < runtime::Trunc2(doVrTotal - doVrPago))) {
    RecusaRecebimento("Ad_N_Per");
    return false;
  }
  if (!paid_on_site && TextoCampo(cdsReceb, "IDSOLIQTPARC") == "S") {
    inQtParcReceb = static_cast<int>(SolicitaQuantidadeParcelas(ValorCampo(cdsReceb, "QTMAXPARC")));
    std::string mensagem;
    ValidaQuantidadeParcelas(ValorCampo(cdsReceb, "VRMINPARC"), amount, inQtParcReceb, mensagem);
    if (!mensagem.empty()) {
      if (Control* b = Controls().FindComponent("spbSair")) b->enabled = true;
      boFalhaReceb = true;
      return false;
    }
  }
  if (!paid_on_site && TextoCampo(cdsReceb, "IDHABVENDAMAN") == "S" && stNrDocConsCupom.empty() && boSISTEMAVANTOMI &&
      (boSISTEMAZEMNFCE || boSISTEMAZEMSAT))
    stIdPagouTEF = "S";
  return true;
}

bool TfrmRecebimento::RecebeConvenio(double& amount) {
  pos::ConsumerSearchRequest pedido;
  pedido.title = Msg("Vend_Conve");
  pedido.clients = &cdsCliente;
  pos::ConsumerSearchResult escolhido;
  if (!pos::Host().dialogs->PesqConsumidor(pedido, escolhido)) {
    // Nobody chosen: the sale's own consumer stays and the grid is offered again.
    stCdClienteReceb = stCdClienteVenda;
    stCdConsumidorReceb = stCdConsumidorVenda;
    stNmConsumidorReceb = stNmConsCupom.empty() ? stNmClienteVenda : stNmConsCupom;
    CtrlBotoes("D", 1);
    return false;
  }
  const std::string tipo = rdmRecebimento->getTipoVendaCons(escolhido.CDCLIENTE, escolhido.CDCONSUMIDOR);
  if (tipo != "3" && tipo != "5" && tipo != "6" && tipo != "7") {
    const std::string nome = escolhido.NMCONSUMIDOR.empty() ? escolhido.CDCONSUMIDOR : escolhido.NMCONSUMIDOR;
    boFalhaReceb = true;
    CtrlBotoes("D", 1);
    MostraMensagem(MsgFmt("CONS_BLOQ_VENDA", {nome}), runtime::kMsgBlocked);
    return false;
  }
  stCdClienteReceb = escolhido.CDCLIENTE;
  stCdConsumidorReceb = escolhido.CDCONSUMIDOR;
  stNmConsumidorReceb = escolhido.NMCONSUMIDOR;
  amount = runtime::Trunc2(doVrAPagar);
  if (amount <= 0) {
    RecusaRecebimento("Dig_Val");
    return false;
  }
  return true;
}

bool TfrmRecebimento::CarregaMoedas() {
  const std::string arquivo = ArquivoMoedas(stDSDIRCAD);
  const base::DateTime hoje = runtime::GetClock().Now().Date();
  auto de_hoje = [&] {
    if (!cdsMoedas.Active() || cdsMoedas.IsEmpty() || cdsMoedas.FieldIndex("DTCOTACAO") < 0) return false;
    cdsMoedas.First();
    return cdsMoedas.FieldByName("DTCOTACAO").AsDateTime().Date() == hoje;
  };
  auto carrega = [&] {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(arquivo, ec)) return false;
    cdsMoedas.LoadFromFile(arquivo);
    if (!cdsMoedas.Active()) cdsMoedas.Open();
    return true;
  };
  try {
    if (carrega() && de_hoje()) return true;
    // Missing or of another day: the host asks for the day's rates.
    base::Variant taxas;
    if (!pos::Host().dialogs->CriaOutrasMoedas(taxas) || !taxas.IsPacket()) return false;
    cdsMoedas.SetData(taxas);
    cdsMoedas.SaveToFile(arquivo);
    return carrega();
  } catch (const std::exception& e) {
    // A damaged rates file or one that cannot be written: the tender cannot go on.
    MostraMensagem(e.what(), runtime::kMsgBlocked);
    cdsMoedas.Close();
    return false;
  }
}

bool TfrmRecebimento::RecebeMoedaEstrangeira(double& amount) {
  ControlRegistry& c = Controls();
  const std::string indice = TextoCampo(cdsReceb, "CDINDICE");
  double cotacao = 0;
  if (CarregaMoedas() && cdsMoedas.Locate("CDINDICE", base::Variant(indice)))
    cotacao = ValorCampo(cdsMoedas, "VRCOTACAO");
  if (cotacao <= 0) {
    // No rate for the currency: back to the grid.
    boFalhaReceb = true;
    CtrlBotoes("D", 1);
    return false;
  }

  // First the amount in the currency, proposed as what is still to pay converted; its
  // Enter moves to the second step, which confirms (or corrects) the amount in local money.
  double na_moeda = 0;
  if (!ValorDoTeclado(isMoeda1, runtime::Trunc2(doVrAPagar / cotacao), na_moeda)) return false;
  double local = runtime::Trunc2(na_moeda * cotacao);
  if (tpInputStep == isMoeda2) {
    CtrlBotoes("H", 1);
    if (Control* p = c.FindComponent("panKeyboard")) p->visible = true;
    if (!ValorDoTeclado(isMoeda2, local, local)) return false;
  }
  doVrCotacao = cotacao;
  doVrMoedaEstrangeira = runtime::Trunc2(local / cotacao);
  amount = local;
  return true;
}

}  // namespace recebimento::screen
