// Titles, numbers and buttons the screen shows for each kind of sale and screen: table,
// tab, delivery, counter, badge recharge, account advance, card recharge; and the
// buttons the operator's rights and the printer leave usable.
#include <gtest/gtest.h>

#include "screen_init_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class LayoutTest : public ScreenInitTest {
 protected:
  void Tab(const std::string& ds, const std::string& nr) {
    Fill(items_, {{{"VRPRECCOMVEN", Variant(10.0)}, {"QTPRODCOMVEN", Variant(1.0)}, {"DSCOMANDA", Variant(ds)},
                   {"NRCOMANDA", Variant(nr)}}});
  }
};

TEST_F(LayoutTest, TitleAndNumberFollowTheSalesOrigin) {
  struct Case {
    const char *modo, *tipo_venda, *titulo, *numero, *curto;
  } cases[] = {
      {"CMD", "C", "COMANDA", "20457", "0457"},
      {"RES", "M", "MESA", "20457", "0457"},
      {"DLV", "D", "DELIVERY", "000000123456", "0457"},
      {"BAL", "B", "BALCÃO", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modo);
    Tab("20457", "000000123456");
    args_.stModoVenda = c.modo;
    args_.stIdTipoVenda = c.tipo_venda;
    auto& frm = Init();
    EXPECT_EQ(C("lblTitulo").caption, c.titulo);
    EXPECT_EQ(C("lblNrVenda").caption, std::string(c.modo) == "RES" ? c.curto : c.numero);
    EXPECT_EQ(frm.stNrComanda, c.curto);
    EXPECT_EQ(C("lblServico").visible, std::string(c.modo) == "CMD" || std::string(c.modo) == "RES");
    EXPECT_EQ(C("lblTipoTela").caption, "Recebimento da Venda");
  }
}

TEST_F(LayoutTest, ATabNamedByTextTakesItsNumberFromTheTabCode) {
  Tab("MESA DO JOÃO", "0000001234567");
  args_.stModoVenda = "CMD";
  auto& frm = Init();
  EXPECT_EQ(frm.stNrComanda, "1234");
  EXPECT_EQ(C("lblNrVenda").caption, "0000001234567");
}

TEST_F(LayoutTest, BadgeRechargeShowsTheBadgeAndSkipsTheSalesLines) {
  args_.stTipoTela = "S";
  args_.stCdConsumidorFoto = "C0099";
  args_.stNmClienteVenda = "ANA";
  args_.doVrCarga = 35.5;
  args_.stNmGarcom = "JOAO";
  pago_ = 20;
  auto& frm = Init();
  EXPECT_EQ(C("lblTitulo").caption, "CRACHÁ");
  EXPECT_EQ(C("lblTipoTela").caption, "Carga de Crédito");
  EXPECT_EQ(C("lblCrachaNome").caption, "C0099 - ANA");
  EXPECT_EQ(C("lblSaldoFam").caption, "35,50");
  EXPECT_EQ(C("lblTotalCarga").caption, "20,00");
  EXPECT_TRUE(C("panCargaCredito").visible);
  EXPECT_FALSE(C("spbDesconto").visible);
  EXPECT_TRUE(C("panKeyboard").visible);
  EXPECT_TRUE(C("memLista").lines.empty()) << "the waiter line belongs to sales only";
  EXPECT_TRUE(payments_.Active());
  EXPECT_EQ(frm.stPodeDesconto, "S") << "rights are still asked";
}

TEST_F(LayoutTest, SaleScreensHideTheKeypadAndShowCashbackOnlyForCounterSales) {
  WriteParametros({{"IDUTILFID4ALL", Variant("S")}, {"IDUTILFIDUDS", Variant("N")}, {"IDUTICOREBANC", Variant("S")}});
  args_.stModoVenda = "BAL";
  args_.stIdTipoVenda = "B";
  Init();
  EXPECT_FALSE(C("panKeyboard").visible);
  EXPECT_FALSE(C("sbtVoltar").enabled);
  EXPECT_TRUE(C("sbtCashback").visible);
  EXPECT_FALSE(C("sbtCashbackUDS").visible);
  EXPECT_TRUE(C("sbtCashbackCore").visible);
  EXPECT_FALSE(C("spbTaxaServico").visible);
  args_.stIdTipoVenda = "M";
  Init();
  EXPECT_FALSE(C("sbtCashback").visible);
}

TEST_F(LayoutTest, RightsRefusedDisableTheirButtons) {
  WriteParametros({{"CTCUPDESCONTO", Variant(12)}, {"CTACRESCIMO", Variant(13)}, {"CTRETTAXASERV", Variant(14)}});
  config_.access.rights = {{12, "N"}, {13, "SUP01"}, {14, "N"}};
  args_.stModoVenda = "CMD";
  auto& frm = Init();
  EXPECT_EQ(frm.stPodeDesconto, "N");
  EXPECT_EQ(frm.stPodeAcrescimo, "SUP01");
  EXPECT_FALSE(C("spbDesconto").enabled);
  EXPECT_TRUE(C("spbAcrescimo").enabled) << "a supervisor's code is not a refusal";
  EXPECT_FALSE(C("spbTaxaServico").enabled);
}

TEST_F(LayoutTest, CardRechargeAndMessageLine) {
  args_.stTextoTitulo = "RECARGAVAVOZUZED";
  args_.stMensagem = "Pedido pago pelo aplicativo";
  Init();
  EXPECT_EQ(C("lblTitulo").caption, "Recarga Cartão Vavozuzed");
  EXPECT_EQ(C("lblNomeCons").caption, "Tipos de recebimento");
  EXPECT_FALSE(C("lblCPFCliente").visible);
  EXPECT_TRUE(C("lblMens").visible);
  EXPECT_EQ(C("lblMens").caption, "Pedido pago pelo aplicativo");
  EXPECT_TRUE(C("panImpTef").visible);
}

TEST_F(LayoutTest, ConsumerDocumentAndClientLines) {
  Fill(items_, {{{"VRPRECCOMVEN", Variant(10.0)}, {"QTPRODCOMVEN", Variant(1.0)}, {"CDCLIENTE", Variant("0042")}}});
  Fill(clients_, {{{"CDCLIENTE", Variant("0001")}, {"NRINSJURCLIE", Variant("1")}, {"NMRAZSOCCLIE", Variant("A")}},
                  {{"CDCLIENTE", Variant("0042")}, {"NRINSJURCLIE", Variant("12345678000195")},
                   {"NMRAZSOCCLIE", Variant("EMPRESA X")}}});
  args_.stNrDocConsCupom = "12345678909";
  args_.stNmConsCupom = "CARLOS";
  auto& frm = Init();
  EXPECT_EQ(C("lblCPFCliente").caption, "12345678000195");
  EXPECT_EQ(C("lblNomeCliente").caption, "EMPRESA X");
  EXPECT_EQ(C("lblCPFCons").caption, "12345678909");
  EXPECT_EQ(C("lblNomeCons").caption, "CARLOS");
  EXPECT_FALSE(C("bltPesquisar").enabled);
  EXPECT_EQ(frm.stCdClienteCons, "0042") << "screen kind N charges the items' client";
}

}  // namespace
}  // namespace recebimento::testing
