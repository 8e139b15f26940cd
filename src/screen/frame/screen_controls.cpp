// Every named control of the payment screen, placed on the 800 x 600 form. The form binds
// the handlers.
#include <string>

#include "screen/frame/frm_recebimento.h"

namespace recebimento::screen {

namespace {

std::string TwoDigits(int i) { return (i < 10 ? "0" : "") + std::to_string(i); }

// Background of an empty tender or group button, as the grid clears them.
constexpr int64_t kButtonBack = 0x00B09090;
constexpr int64_t kBlack = 0x00000000;
constexpr int64_t kWhite = 0x00FFFFFF;
constexpr int64_t kNavy = 0x00800000;
constexpr int64_t kPanelBack = 0x00F0F0F0;

}  // namespace

void CreateScreenControls(ControlRegistry& r) {
  auto label = [&](const char* name, const std::string& caption, int l, int t, int w, int h,
                   const std::string& parent = "") -> Control& {
    return r.Add(name, "label", caption, l, t, w, h, parent);
  };
  auto button = [&](const std::string& name, const std::string& caption, int l, int t, int w, int h,
                    const std::string& parent = "") -> Control& {
    return r.Add(name, "button", caption, l, t, w, h, parent);
  };
  auto panel = [&](const char* name, int l, int t, int w, int h, const std::string& parent = "") -> Control& {
    Control& c = r.Add(name, "panel", "", l, t, w, h, parent);
    c.color = kPanelBack;
    return c;
  };
  auto image = [&](const char* name, int l, int t, int w, int h, bool visible) -> Control& {
    Control& c = r.Add(name, "image", "", l, t, w, h);
    c.visible = visible;
    return c;
  };

  // Header.
  Control& titulo = label("lblTitulo", "", 0, 0, 800, 36);
  titulo.color = kNavy;
  titulo.font_color = kWhite;
  titulo.font_size = 16;
  label("lblTipoTela", "", 8, 40, 300, 22).font_size = 12;
  label("lblNrVenda", "", 8, 62, 300, 22).font_size = 12;
  Control& codigo = label("lblCodTela", "", 560, 20, 116, 14);
  codigo.font_size = 7;
  codigo.font_color = kWhite;
  Control& mens = label("lblMens", "", 8, 528, 296, 22);
  mens.visible = false;
  mens.font_color = 0x000000FF;

  // Consumer and client.
  image("imgFotoConsumidor", 8, 88, 90, 110, true);
  image("imgLogoPadrao", 8, 88, 90, 110, false);
  // The maker's logos sit on the title bar.
  image("imgTalvora", 680, 2, 112, 32, true);
  image("imgVantomi", 680, 2, 112, 32, false);
  image("imgBrisova", 680, 2, 112, 32, false);
  label("lblCPFCliente", "", 104, 88, 200, 18);
  label("lblNomeCliente", "", 104, 106, 200, 18);
  label("lblCPFCons", "", 104, 128, 200, 18);
  label("lblNomeCons", "", 104, 146, 200, 18);
  label("lblSaldoCons", "", 104, 166, 200, 18);
  label("lblFamilia", "", 104, 184, 120, 18);
  label("lblSaldoFam", "", 224, 184, 80, 18);
  label("lblCrachaNome", "", 8, 200, 296, 18);

  // Payment list.
  panel("panLista", 8, 220, 296, 224);
  r.Add("memLista", "list", "", 0, 0, 296, 224, "panLista");
  Control& aux = r.Add("memListaAux", "list", "", 0, 0, 296, 224, "panLista");
  aux.visible = false;  // the same lines, kept for printing
  r.Add("memDelivery", "list", "", 8, 372, 296, 72).visible = false;

  // Amounts of the sale.
  panel("panFundoVendaVista", 8, 446, 296, 80);
  label("lblTotal", "Total", 4, 2, 90, 18, "panFundoVendaVista");
  label("lblValorTotal", "0,00", 94, 2, 100, 18, "panFundoVendaVista").font_size = 12;
  label("lblPago", "Pago", 4, 22, 90, 18, "panFundoVendaVista");
  label("lblValorPago", "0,00", 94, 22, 100, 18, "panFundoVendaVista").font_size = 12;
  label("lblPagar", "A Pagar", 4, 44, 90, 22, "panFundoVendaVista").font_size = 14;
  Control& pagar = label("lblValorPagar", "0,00", 94, 44, 120, 22, "panFundoVendaVista");
  pagar.font_size = 14;
  pagar.font_color = 0x000000C0;
  // Side figures of the sale: a small caption and its amount.
  auto figure = [&](const char* caption_name, const char* caption, const char* value_name, int top) {
    Control& c = label(caption_name, caption, 196, top, 60, 16, "panFundoVendaVista");
    c.font_size = 7;
    c.visible = false;
    label(value_name, "0,00", 256, top, 40, 16, "panFundoVendaVista").visible = false;
  };
  figure("lblTxServico", "Serviço", "lblServico", 2);
  figure("lblConsumacao", "Consumação", "lblVrConsumacao", 20);
  figure("lblCouver", "Couvert", "lblVrCouver", 38);
  r.Add("bsdAcres", "panel", "", 194, 56, 102, 20, "panFundoVendaVista").visible = false;
  figure("lblAcres", "Acréscimo", "lblVrAcrescimo", 58);

  // Badge recharge and advance.
  Control& carga = panel("panCargaCredito", 8, 446, 296, 80);
  carga.visible = false;
  label("lblTotalFam", "", 4, 4, 150, 20, "panCargaCredito");
  label("lblTotalCarga", "0,00", 160, 4, 120, 20, "panCargaCredito").font_size = 14;

  // Group row and tender grid.
  for (int i = 1; i <= 6; ++i) {
    const int col = (i - 1) % 3, row = (i - 1) / 3;
    Control& g = button("tcbGrupo" + TwoDigits(i), "", 312 + col * 160, 40 + row * 34, 156, 32);
    g.color = kButtonBack;
    g.font_color = kBlack;
    g.visible = false;
    Control& corner = r.Add("stt" + TwoDigits(i), "label", std::string(1, char('A' + i - 1)), g.left, g.top, 14, 14);
    corner.color = kButtonBack;
    corner.visible = false;
  }
  for (int i = 1; i <= 30; ++i) {
    const int col = (i - 1) % 6, row = (i - 1) / 6;
    Control& b = button("tcbBalcao" + TwoDigits(i), "", 312 + col * 80, 110 + row * 54, 80, 52);
    b.color = kButtonBack;
    b.font_color = kBlack;
    b.visible = false;
    Control& corner = r.Add("sttP" + TwoDigits(i), "label", TwoDigits(i), b.left, b.top, 16, 14);
    corner.color = kButtonBack;
    corner.visible = false;
  }
  // The page arrows' pictures ship with the program.
  image("imgDireita", 0, 0, 32, 32, false).glyph = kBuiltinArrowRight;
  image("imgEsquerda", 0, 0, 32, 32, false).glyph = kBuiltinArrowLeft;

  // Keypad.
  Control& teclado = panel("panKeyboard", 312, 380, 480, 170);
  label("lblNrCupom", "Valor", 4, 4, 160, 24, "panKeyboard");
  label("lblInputReceb2", "", 164, 4, 200, 24, "panKeyboard").font_size = 14;
  image("imgReceb", 0, 0, 0, 0, true).parent = "panKeyboard";
  const char* keys[] = {"sbt7", "sbt8", "sbt9", "sbt4", "sbt5",  "sbt6",
                        "sbt1", "sbt2", "sbt3", "sbt0", "sbt00", "sbt000"};
  for (int i = 0; i < 12; ++i) {
    std::string caption = std::string(keys[i]).substr(3);
    button(keys[i], caption, 4 + (i % 3) * 62, 32 + (i / 3) * 33, 60, 31, "panKeyboard");
  }
  button("sbtVirgula", ",", 194, 32, 60, 31, "panKeyboard");
  button("sbtCorrigir", "Corrigir", 194, 65, 90, 31, "panKeyboard");
  button("sbtEnter", "Enter", 194, 98, 90, 64, "panKeyboard");
  button("sbtVoltar", "Voltar", 290, 98, 90, 64, "panKeyboard");
  (void)teclado;

  // Function buttons, on the confirmation bar that enables and disables them together;
  // tall enough for a finger.
  panel("panFundoConfirma", 0, 552, 800, 48).color = Control::kDefaultColor;
  const struct {
    const char* name;
    const char* caption;
  } functions[] = {{"spbOk", "OK"},
                   {"spbSair", "Sair"},
                   {"spbClear", "Limpar"},
                   {"spbCNPJCPF", "CPF/CNPJ"},
                   {"spbDesconto", "Desconto"},
                   {"spbAcrescimo", "Acréscimo"},
                   {"spbTaxaServico", "Taxa Serviço"},
                   {"sbtCashback", "Cashback"},
                   {"sbtCashbackUDS", "Cashback UDS"},
                   {"sbtCashbackCore", "Cashback Banco"},
                   {"sbtFidelidadeOlga", "Fidelidade"},
                   {"spbDotz", "Dotz"},
                   {"bltPesquisar", "Pesquisar"}};
  int x = 4;
  for (const auto& f : functions) {
    button(f.name, f.caption, x, 2, 60, 44, "panFundoConfirma");
    x += 61;
  }
  // Nothing to confirm until the sale is paid.
  r.FindComponent("spbOk")->enabled = false;
  for (const char* hidden : {"spbTaxaServico", "sbtCashback", "sbtCashbackUDS", "sbtCashbackCore", "sbtFidelidadeOlga",
                             "spbDotz", "bltPesquisar"})
    r.FindComponent(hidden)->visible = false;

  // Waiting panels.
  Control& tef = panel("panTef", 145, 200, 510, 120);
  tef.visible = false;
  label("lblTef", "", 8, 8, 494, 60, "panTef").font_size = 12;
  label("lblSegundos", "( 0 )", 8, 80, 494, 24, "panTef");
  Control& imptef = panel("panImpTef", 145, 340, 510, 60);
  imptef.visible = false;
  label("lblImpTef", "Aguarde.. Imprimindo o Cupom TEF.", 8, 8, 494, 40, "panImpTef").font_size = 12;
  // The operator's way out of a CHART card answer that does not come.
  button("sbtCancelaChart", "Cancelar", 404, 8, 98, 44, "panImpTef").visible = false;
  Control& dados = panel("panDadosVenda", 200, 150, 400, 250);
  dados.visible = false;
  label("lblDadosVenda", "", 8, 8, 384, 176, "panDadosVenda");

  // Consumer document through the PIN pad or typed.
  Control& pinpad = panel("panCPFPinPad", 155, 228, 525, 125);
  pinpad.visible = false;
  pinpad.caption = "Deseja informar CPF/CNPJ ?";
  button("btnCPFPinPad", "CPF no PinPad", 10, 50, 160, 60, "panCPFPinPad");
  button("btnCPFSistema", "CPF no Sistema", 182, 50, 160, 60, "panCPFPinPad");
  button("btnSairCPF", " Não Informar", 354, 50, 160, 60, "panCPFPinPad");

  // Promotions and discount coupons.
  panel("panConsultaPromo", 150, 100, 500, 360).visible = false;
  r.Add("dbgPromocao", "list", "", 8, 8, 484, 280, "panConsultaPromo");
  button("btnAnterior", "<", 8, 300, 80, 50, "panConsultaPromo");
  button("btnProximo", ">", 96, 300, 80, 50, "panConsultaPromo");
  button("btnSair", "Sair", 408, 300, 80, 50, "panConsultaPromo");
  panel("panInformaDesconto", 200, 200, 400, 140).visible = false;
  button("btnAplicarDesc", "Desconto", 45, 80, 90, 50, "panInformaDesconto");
  button("btnAplicarCupom", "Cupom", 155, 80, 90, 50, "panInformaDesconto");
  button("btnCancelarDesc", "Sair", 265, 80, 90, 50, "panInformaDesconto");

  // Loyalty and banking-core panels.
  Control& olga = panel("panFidelidadeOlga", 200, 200, 400, 140);
  olga.visible = false;
  olga.enabled = false;
  button("btnBeneficioOlga", "Benefício", 10, 60, 90, 50, "panFidelidadeOlga");
  button("btnCashBackOlga", "Cashback", 105, 60, 90, 50, "panFidelidadeOlga");
  // The question of transmitting the sale takes the panel once a benefit was taken.
  button("btnTransVenda", "Transferir", 105, 60, 90, 50, "panFidelidadeOlga").visible = false;
  button("btnNTransVenda", "Não transferir", 200, 60, 90, 50, "panFidelidadeOlga").visible = false;
  button("btnCancelaOlga", "Cancelar", 295, 60, 90, 50, "panFidelidadeOlga");
  panel("panCoreBancario", 200, 200, 400, 140).visible = false;
  button("btnCoreBancCash", "Cashback", 10, 60, 90, 50, "panCoreBancario");
  button("btnCoreBancCorp", "Corporativo", 105, 60, 90, 50, "panCoreBancario");
  button("btnCoreBancQual", "Qualificado", 200, 60, 90, 50, "panCoreBancario");
  button("btnCoreBancSair", "Sair", 295, 60, 90, 50, "panCoreBancario");
  panel("panSerialPos", 200, 200, 400, 140).visible = false;
  r.Add("lstSerialPos", "list", "", 10, 10, 380, 64, "panSerialPos");
  button("sbtConfPos", "Confirmar", 100, 80, 90, 50, "panSerialPos");
  button("sbtCancPos", "Cancelar", 210, 80, 90, 50, "panSerialPos");
}

}  // namespace recebimento::screen
