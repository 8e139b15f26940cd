// Change: what was paid over the amount due, given back in the change tender of the last
// payment (a voucher, cash or a foreign currency), or taken back from the payments when
// no tender gives change.
#include <filesystem>
#include <string>
#include <vector>

#include "base/path.h"
#include "base/text.h"
#include "datamodule/connection_config.h"
#include "host/pos/host_services.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/payment_line_fields.h"

namespace recebimento::screen {

namespace {

using base::Variant;

bool EhTroco(base::Dataset& movi) { return TextoCampo(movi, "IDTIPOMOVIVE") == "S"; }

// Lines of the sale that count as payments, in stored order.
std::vector<base::Dataset::Bookmark> LinhasPagamento(base::Dataset& movi) {
  std::vector<base::Dataset::Bookmark> linhas;
  for (movi.First(); !movi.Eof(); movi.Next())
    if (!EhTroco(movi)) linhas.push_back(movi.GetBookmark());
  return linhas;
}

std::string LinhaDisplay(const std::string& rotulo, double valor, int largura) {
  const int resto = largura - static_cast<int>(base::Utf8Length(rotulo));
  return rotulo + runtime::TamFixoR(runtime::FormatFloat("0.00", valor), resto > 0 ? resto : 0);
}

}  // namespace

bool TfrmRecebimento::TrataTroco() {
  if (!cdsMoviVenda || !cdsMoviVenda->Active()) return true;
  base::Dataset& movi = *cdsMoviVenda;
  ControlRegistry& c = Controls();
  const double excesso = runtime::Trunc2(doVrPago - (runtime::Trunc2(doVrTotal) - doVrDesconto));
  if (excesso < 0.01) return true;
  doVrTroco = excesso;

  const std::vector<base::Dataset::Bookmark> pagamentos = LinhasPagamento(movi);
  bool da_troco = false;
  for (auto b : pagamentos) {
    movi.GotoBookmark(b);
    if (!TextoCampo(movi, "CDTIPOTROCO").empty() && runtime::Trunc2(ValorCampo(movi, "VRMOVIVEND")) >= doVrTroco)
      da_troco = true;
  }

  if (!da_troco && stSGESTADOFILI != "SC") {
    const std::string chave = pagamentos.size() == 1 ? "NoRecebTroco" : "RecebNoTroco";
    if (!MostraMensagem(Msg(chave), runtime::kMsgQuestion)) {
      // The operator keeps the payments as they are; only clearing them goes on.
      for (const char* n : {"panKeyboard", "spbOk"})
        if (Control* ctl = c.FindComponent(n)) ctl->enabled = false;
      if (Control* s = c.FindComponent("spbSair")) s->enabled = true;
      if (Control* l = c.FindComponent("spbClear")) l->enabled = stIdTela != "S";
      EnabledBotoes(false);
      return false;
    }
    // Take the excess back from the payments that give no change, oldest first.
    double resto = excesso;
    for (auto b : pagamentos) {
      if (resto < 0.01) break;
      if (!movi.BookmarkValid(b)) continue;
      movi.GotoBookmark(b);
      if (!TextoCampo(movi, "CDTIPOTROCO").empty()) continue;
      const double valor = runtime::Trunc2(ValorCampo(movi, "VRMOVIVEND"));
      if (valor > resto) {
        movi.Edit();
        PoeCampo(movi, "VRMOVIVEND", Variant(runtime::Trunc2(valor - resto)));
        movi.Post();
        resto = 0;
      } else {
        movi.Delete();
        resto = runtime::Trunc2(resto - valor);
      }
    }
    doVrPago = runtime::Trunc2(doVrPago - (excesso - resto));
    doVrTroco = resto;
    RedesenhaListaPagamentos();
    if (Control* l = c.FindComponent("lblValorPago")) l->caption = runtime::FormatFloat("0.00", doVrPago);
    return true;
  }

  // The change tender is the one the last payment names.
  std::string tipo_troco;
  base::DateTime mais_recente;
  for (auto b : pagamentos) {
    movi.GotoBookmark(b);
    const base::DateTime quando =
        movi.FieldIndex("DTHRINCMOV") >= 0 ? movi.FieldByName("DTHRINCMOV").AsDateTime() : base::DateTime();
    if (quando >= mais_recente) {
      mais_recente = quando;
      tipo_troco = TextoCampo(movi, "CDTIPOTROCO");
    }
  }
  cdsTroco.SetFiltered(false);
  const bool achou = !tipo_troco.empty() && cdsTroco.Locate("CDTIPORECE", Variant(tipo_troco));
  const std::string kind_troco = achou ? base::Trim(TextoCampo(cdsTroco, "IDTIPORECE")) : "";
  const std::string nome_troco = achou ? TextoCampo(cdsTroco, "NMTIPORECE") : "";
  double cotacao = 1.0;
  if (kind_troco == "6") {
    try {
      const std::string arquivo = base::JoinSpecPath(datamodule::HostFolder(), stDSDIRCAD + "cdsMoedas.cds");
      cdsMoedas.LoadFromFile(arquivo);
      if (!cdsMoedas.Active()) cdsMoedas.Open();
      if (cdsMoedas.Locate("NMTIPORECE", Variant(nome_troco)) && ValorCampo(cdsMoedas, "VRCOTACAO") > 0)
        cotacao = ValorCampo(cdsMoedas, "VRCOTACAO");
    } catch (const std::exception& e) {
      // Without the rate the change is given in local money.
      MostraMensagem(e.what(), runtime::kMsgBlocked);
      cdsMoedas.Close();
    }
  }

  tpInputStep = isTroco;
  const bool contra_vale = kind_troco == "5" || kind_troco == "7";
  const std::string rotulo = Msg(contra_vale ? "CONTRA-VALE" : "TROCO") + ": ";
  if (Control* l = c.FindComponent("lblPagar")) l->caption = rotulo;
  if (Control* l = c.FindComponent("lblValorPagar")) l->caption = runtime::FormatFloat("0.00", doVrTroco);
  const double troco_exibido = kind_troco == "6" ? runtime::Trunc2(doVrTroco / cotacao) : doVrTroco;
  Linha(Ctl("memLista"),
        runtime::AjustaL(Msg("TROCO") + " (" + nome_troco + "):", 20) + " " +
            runtime::AjustaR(runtime::FormatFloat("0.00", troco_exibido), 14),
        false);

  if (stIDTPCONTRREPIQ != "N" && !contra_vale && achou) Controla_Repique(cdsTroco);

  const pos::HostServices& host = pos::Host();
  if (host.keyboard->Teclado_OK()) {
    host.keyboard->ProcTeclDispClrLn2();
    host.keyboard->ProcTeclGoToXY(1, 2);
    host.keyboard->ProcTeclDispStr(rotulo + runtime::FormatFloat("0.00", doVrTroco));
  }
  if (boDisplayOK) {
    const int largura = inTAMDISPLAY > 0 ? inTAMDISPLAY : 20;
    host.display->LimpaDisplay();
    host.display->DisplayEnviaTexto(LinhaDisplay(Msg("TotalPago"), doVrPago, largura), 1, 1);
    host.display->DisplayEnviaTexto(LinhaDisplay(Msg("Troco_disp"), doVrTroco, largura), 2, 1);
  }

  // The change line.
  const bool repique_fora = doVrTroco - doVrRepique > 0 && stIDTRATTAXASERV == "P" && doVrServico > 0 &&
                            stIdTipoVenda != "B";
  movi.Append();
  PreencheConsumidorLinha(movi);
  PoeCampo(movi, "IDTIPOMOVIVE", Variant(std::string("S")));
  for (const char* f : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "DSIMPFISCAL", "CDFPIMPFIS"})
    PoeCampo(movi, f, Variant(achou ? TextoCampo(cdsTroco, f) : std::string()));
  PoeCampo(movi, "VRMOVIVEND", Variant(runtime::Trunc2(repique_fora ? doVrTroco - doVrRepique : doVrTroco)));
  if (kind_troco == "6") {
    PoeCampo(movi, "VRMOVIVEOUT", Variant(runtime::Trunc2(doVrTroco / cotacao)));
    PoeCampo(movi, "VRCOTINDOUT", Variant(cotacao));
  }
  PoeCampo(movi, "QTPARCRECEB", Variant(1));
  for (const char* f : {"CDCNPJRESGSALDO", "CDCONSRESGSALDO", "CDINTRESGSALDO"}) PoeCampo(movi, f, Variant(std::string()));
  PoeCampo(movi, "IDTIPORESGATE", Variant(std::string("N")));
  movi.Post();
  return true;
}

}  // namespace recebimento::screen
