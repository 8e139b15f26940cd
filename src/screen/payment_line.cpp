// The payment line in the host's payment dataset, its line in the payment list, and the
// amounts paid and still to pay on the screen and the POS keyboard's display.
#include <string>

#include "base/text.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "host/runtime/result_check.h"
#include "host/runtime/strings.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/payment_line_fields.h"
#include "screen/screen_globals.h"
#include "screen/typed_amount.h"

namespace recebimento::screen {

namespace {

using base::Variant;

// The most one sale may take: the fiscal printers hold six whole digits.

std::string LinhaLista(const std::string& nome, double valor) {
  return runtime::AjustaL(nome, 20) + " " + runtime::AjustaR(runtime::FormatFloat("0.00", valor), 14);
}

// A label and an amount right-aligned to the display's width.
std::string LinhaDisplay(const std::string& rotulo, double valor, int largura) {
  const int resto = largura - static_cast<int>(base::Utf8Length(rotulo));
  return rotulo + runtime::TamFixoR(runtime::FormatFloat("0.00", valor), resto > 0 ? resto : 0);
}

void Legenda(ControlRegistry& c, const char* name, const std::string& caption) {
  if (Control* ctl = c.FindComponent(name)) ctl->caption = caption;
}

// The tender's columns copied from the row of a tender table (cdsReceb, cdsTroco,
// cdsTipoConsFili).
void PoeTipoRecebimento(base::Dataset& movi, base::Dataset& tipo) {
  for (const char* f : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "CDTIPOTROCO", "NRORDTROCO", "DSIMPFISCAL",
                        "CDFPIMPFIS"})
    PoeCampo(movi, f, Variant(TextoCampo(tipo, f)));
}

// No balance was redeemed through this line.
void LimpaResgate(base::Dataset& movi) {
  for (const char* f : {"CDCNPJRESGSALDO", "CDCONSRESGSALDO", "CDINTRESGSALDO"}) PoeCampo(movi, f, Variant(std::string()));
  PoeCampo(movi, "VRSALDORESTCP", Variant(0.0));
  PoeCampo(movi, "IDTIPORESGATE", Variant(std::string("N")));
}

}  // namespace

void TfrmRecebimento::PreencheConsumidorLinha(base::Dataset& movi) {
  const base::DateTime agora = runtime::GetClock().Now();
  PoeCampo(movi, "CDFILIAL", Variant(stCDFILIAL));
  PoeCampo(movi, "DTHRINCMOV", Variant(agora));
  PoeCampo(movi, "DTMOVIMCAIXA", Variant(agora.Date()));
  PoeCampo(movi, "CDCLIENTE", Variant(stCdClienteReceb));
  PoeCampo(movi, "CDCONSUMIDOR", Variant(stCdConsumidorReceb));
  PoeCampo(movi, "NMCONSUMIDOR", Variant(stNmConsumidorReceb));
  PoeCampo(movi, "CDIDCONSUMID", Variant(stCDIDCONSUMID));
  std::string centro_custo;
  if (!stCdConsumidorReceb.empty() && movi.FieldIndex("CDCCUSCLIE") >= 0) {
    const Variant r = runtime::MensagemMetodo(rdmRecebimento->getCentroCusto(stCdClienteReceb, stCdConsumidorReceb),
                                              true, 0, "getCentroCusto", "Cli_Rev00000", stCDFILIAL);
    if (runtime::IsResultPacket(r)) {
      const base::DataPacket& p = r.AsPacket();
      const int i = p.FieldIndex("CDCCUSCLIE");
      if (i >= 0 && !p.rows.empty()) centro_custo = p.rows[0][i].AsString();
    }
  }
  PoeCampo(movi, "CDCCUSCLIE", Variant(centro_custo));
}

void TfrmRecebimento::GravaLinhaPagamento(double amount) {
  if (!cdsMoviVenda) return;
  base::Dataset& movi = *cdsMoviVenda;
  if (!movi.Active()) RecriaMoviVenda();
  if (amount > kLimiteRecebimento || runtime::Trunc2(amount + doVrPago) > kLimiteRecebimento) {
    RecusaRecebimento("Lim_Pag");
    return;
  }
  const std::string codigo = TextoCampo(cdsReceb, "CDTIPORECE");
  const std::string kind = base::Trim(TextoCampo(cdsReceb, "IDTIPORECE"));

  // Cash goes into the open cash line of the sale: the same tender, not a card line
  // (no host NSU) and not change given back.
  bool mesclou = false;
  if (kind == "4" && stTipoTela != "D") {
    for (movi.First(); !movi.Eof(); movi.Next()) {
      if (TextoCampo(movi, "CDTIPORECE") == codigo && TextoCampo(movi, "CDNSUHOSTTEF").empty() &&
          TextoCampo(movi, "IDTIPOMOVIVE") != "S") {
        movi.Edit();
        PoeCampo(movi, "VRMOVIVEND", Variant(runtime::Trunc2(ValorCampo(movi, "VRMOVIVEND") + amount)));
        movi.Post();
        mesclou = true;
        break;
      }
    }
  }

  if (!mesclou) {
    const bool valor_tef = stIDUTILTEF != "N" && TextoCampo(cdsReceb, "IDDESABTEF") != "S" && stIDUTILCHEQ == "S" &&
                           stIDSOLICITANSU == "N" && (kind == "1" || kind == "2" || kind == "3");
    // The card terminal's approved amount, once it approved one for this tender.
    const double valor = valor_tef && doVrTef > 0 ? runtime::Trunc2(doVrTef) : amount;
    const DadosTefLinha& tef = dadosTefReceb;
    movi.Append();
    PreencheConsumidorLinha(movi);
    PoeCampo(movi, "IDTIPOMOVIVE", Variant(std::string(kind == "A" ? "T" : "E")));
    PoeTipoRecebimento(movi, cdsReceb);
    PoeCampo(movi, "VRMOVIVEND", Variant(valor));
    if (kind == "6") {
      PoeCampo(movi, "VRMOVIVEOUT", Variant(doVrMoedaEstrangeira));
      PoeCampo(movi, "VRCOTINDOUT", Variant(doVrCotacao));
    }
    const std::pair<const char*, const std::string*> cartao[] = {
        {"NRCARTBANCO", &tef.NRCARTBANCO},   {"CDNSUHOSTTEF", &tef.CDNSUHOSTTEF}, {"CDNSUTEF", &tef.CDNSUTEF},
        {"NRCONTROLTEF", &tef.NRCONTROLTEF}, {"NMBANDTEF", &tef.NMBANDTEF},       {"NRAUTORIZATEF", &tef.NRAUTORIZATEF},
        {"DSCARTDIGITAL", &tef.DSCARTDIGITAL}, {"IDFILAPAGMFE", &tef.IDFILAPAGMFE}, {"CDAUTORIZMFE", &tef.CDAUTORIZMFE},
        {"CDBINCARTMFE", &tef.CDBINCARTMFE}, {"NMINSTFINMFE", &tef.NMINSTFINMFE}, {"CDPAGAMENMFE", &tef.CDPAGAMENMFE},
        {"CDINSTCAR", &tef.CDINSTCAR}};
    for (const auto& [campo, texto] : cartao) PoeCampo(movi, campo, Variant(*texto));
    const int parcelas = tef.QTPARCRECEB > 1 ? tef.QTPARCRECEB : (inQtParcReceb > 0 ? inQtParcReceb : 1);
    PoeCampo(movi, "QTPARCRECEB", Variant(parcelas));
    const bool debito = kind == "2" || kind == "F" || kind == "G";
    if (debito && !tef.CDBANCARTCR.empty()) PoeCampo(movi, "CDBANCARTCR", Variant(tef.CDBANCARTCR));
    if ((debito && !tef.CDBANCARTCR.empty()) || (kind == "H" && !tef.DSCARTDIGITAL.empty())) {
      PoeCampo(movi, "CDTIPORECEORIG", Variant(tef.CDTIPORECEORIG));
      PoeCampo(movi, "NMTIPORECEORIG", Variant(tef.NMTIPORECEORIG));
    }
    if (kind == "I") PoeCampo(movi, "IDTRANSAME", Variant(tef.IDTRANSAME));
    LimpaResgate(movi);
    movi.Post();

    // A top-up of a bonus type also records the bonus in the type's own tender.
    if (stTipoTela == "S" && stIdRecebeBonus == "S" && cdsTipoConsFili.Active() && !cdsTipoConsFili.IsEmpty()) {
      movi.Append();
      PreencheConsumidorLinha(movi);
      PoeCampo(movi, "IDTIPOMOVIVE", Variant(std::string("E")));
      PoeTipoRecebimento(movi, cdsTipoConsFili);
      PoeCampo(movi, "VRMOVIVEND", Variant(runtime::Trunc2(doVrBonusCredito)));
      PoeCampo(movi, "DSOPEEXTCONS", Variant(Msg("OBS_BONUS")));
      PoeCampo(movi, "QTPARCRECEB", Variant(1));
      LimpaResgate(movi);
      movi.Post();
    }
  }

  Linha(Ctl("memLista"), LinhaLista(TextoCampo(cdsReceb, "NMTIPORECE"), amount), false);
}

void TfrmRecebimento::AtualizaValoresPagos(double amount) {
  ControlRegistry& c = Controls();
  doVrAPagar = runtime::Trunc2(doVrAPagar - amount);
  if (doVrAPagar < 0) doVrAPagar = 0;
  doVrPago = runtime::Trunc2(doVrPago + amount);
  const std::string pago = runtime::FormatFloat("0.00", doVrPago);
  Legenda(c, "lblValorPago", pago);
  Legenda(c, "lblTotalCarga", pago);
  // A top-up shows what is being loaded.
  Legenda(c, "lblValorPagar", runtime::FormatFloat("0.00", stTipoTela == "S" || stTipoTela == "A" ? doVrPago : doVrAPagar));
  if (runtime::Trunc2(doVrAPagar - amount) != 0) {
    if (Control* d = c.FindComponent("spbDesconto")) {
      d->enabled = false;
      d->visible = false;
    }
  }
  MostraTotaisTecladoPOS();
}

void TfrmRecebimento::MostraTotaisTecladoPOS() {
  pos::PosKeyboard& teclado = *pos::Host().keyboard;
  if (!teclado.Teclado_OK()) return;
  const int largura = inTAMDISPLAY > 0 ? inTAMDISPLAY : 40;
  teclado.ProcTeclFormFeed();
  const std::pair<const char*, double> linhas[] = {
      {"Total", doVrTotal}, {"TotalPago", doVrPago}, {"TotalAPagar", doVrAPagar}, {"APAGAR", doVrAPagar}};
  int linha = 1;
  for (const auto& [chave, valor] : linhas) {
    teclado.ProcTeclGoToXY(1, linha++);
    teclado.ProcTeclDispStr(LinhaDisplay(Msg(chave), valor, largura));
  }
}

void TfrmRecebimento::RedesenhaListaPagamentos() {
  MostraListaAjustes();
  if (!cdsMoviVenda || !cdsMoviVenda->Active()) return;
  base::Dataset& movi = *cdsMoviVenda;
  Control& lista = Ctl("memLista");
  for (movi.First(); !movi.Eof(); movi.Next()) {
    const double valor = ValorCampo(movi, "VRMOVIVEND");
    if (TextoCampo(movi, "IDTIPOMOVIVE") == "S") {
      Linha(lista, "", false);
      Linha(lista, LinhaLista(Msg("TROCO") + ": ", valor), false);
    } else {
      Linha(lista, LinhaLista(TextoCampo(movi, "NMTIPORECE"), valor), false);
    }
  }
}

}  // namespace recebimento::screen
