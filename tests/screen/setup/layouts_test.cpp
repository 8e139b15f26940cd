// Titles, numbers and buttons the screen shows for each kind of sale and screen: table,
// tab, delivery, counter, badge recharge, account advance, card recharge; and the
// buttons the operator's rights and the printer leave usable.
#include <gtest/gtest.h>

#include "screen/support/screen_setup_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class LayoutTest : public ScreenSetupTest {
 protected:
  void Tab(const std::string& ds, const std::string& nr) {
    Fill(items_, {{{"VRPRECCOMVEN", Variant(10.0)},
                   {"QTPRODCOMVEN", Variant(1.0)},
                   {"DSCOMANDA", Variant(ds)},
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
    Init();
    EXPECT_EQ(ctl("lblTitulo").caption, c.titulo);
    EXPECT_EQ(ctl("lblNrVenda").caption, std::string(c.modo) == "RES" ? c.curto : c.numero);
    EXPECT_EQ(sale().stNrComanda, c.curto);
    EXPECT_EQ(ctl("lblServico").visible, std::string(c.modo) == "CMD" || std::string(c.modo) == "RES");
    EXPECT_EQ(ctl("lblTipoTela").caption, "Recebimento da Venda");
  }
}

TEST_F(LayoutTest, ATabNamedByTextTakesItsNumberFromTheTabCode) {
  Tab("MESA DO JOÃO", "0000001234567");
  args_.stModoVenda = "CMD";
  Init();
  EXPECT_EQ(sale().stNrComanda, "1234");
  EXPECT_EQ(ctl("lblNrVenda").caption, "0000001234567");
}

TEST_F(LayoutTest, BadgeRechargeShowsTheBadgeAndSkipsTheSalesLines) {
  args_.stTipoTela = "S";
  args_.stCdConsumidorFoto = "C0099";
  args_.stNmClienteVenda = "ANA";
  args_.doVrCarga = 35.5;
  args_.stNmGarcom = "JOAO";
  pago_ = 20;
  Init();
  EXPECT_EQ(ctl("lblTitulo").caption, "CRACHÁ");
  EXPECT_EQ(ctl("lblTipoTela").caption, "Carga de Crédito");
  EXPECT_EQ(ctl("lblCrachaNome").caption, "C0099 - ANA");
  EXPECT_EQ(ctl("lblSaldoFam").caption, "35,50");
  EXPECT_EQ(ctl("lblTotalCarga").caption, "20,00");
  EXPECT_TRUE(ctl("panCargaCredito").visible);
  EXPECT_FALSE(ctl("spbDesconto").visible);
  EXPECT_TRUE(ctl("panKeyboard").visible);
  EXPECT_TRUE(ctl("memLista").lines.empty()) << "the waiter line belongs to sales only";
  EXPECT_TRUE(payments_.Active());
  EXPECT_EQ(sale().stPodeDesconto, "S") << "rights are still asked";
}

TEST_F(LayoutTest, SaleScreensHideTheKeypadAndShowCashbackOnlyForCounterSales) {
  WriteParametros({{"IDUTILFID4ALL", Variant("S")}, {"IDUTILFIDUDS", Variant("N")}, {"IDUTICOREBANC", Variant("S")}});
  args_.stModoVenda = "BAL";
  args_.stIdTipoVenda = "B";
  Init();
  EXPECT_FALSE(ctl("panKeyboard").visible);
  EXPECT_FALSE(ctl("sbtVoltar").enabled);
  EXPECT_TRUE(ctl("sbtCashback").visible);
  EXPECT_FALSE(ctl("sbtCashbackUDS").visible);
  EXPECT_TRUE(ctl("sbtCashbackCore").visible);
  EXPECT_FALSE(ctl("spbTaxaServico").visible);
  args_.stIdTipoVenda = "M";
  Init();
  EXPECT_FALSE(ctl("sbtCashback").visible);
}

TEST_F(LayoutTest, RightsRefusedDisableTheirButtons) {
  WriteParametros({{"CTCUPDESCONTO", Variant(12)}, {"CTACRESCIMO", Variant(13)}, {"CTRETTAXASERV", Variant(14)}});
  config_.access.rights = {{12, "N"}, {13, "SUP01"}, {14, "N"}};
  args_.stModoVenda = "CMD";
  Init();
  EXPECT_EQ(sale().stPodeDesconto, "N");
  EXPECT_EQ(sale().stPodeAcrescimo, "SUP01");
  EXPECT_FALSE(ctl("spbDesconto").enabled);
  EXPECT_TRUE(ctl("spbAcrescimo").enabled) << "a supervisor's code is not a refusal";
  EXPECT_FALSE(ctl("spbTaxaServico").enabled);
}

TEST_F(LayoutTest, CardRechargeAndMessageLine) {
  args_.stTextoTitulo = "RECARGAVAVOZUZED";
  args_.stMensagem = "Pedido pago pelo aplicativo";
  Init();
  EXPECT_EQ(ctl("lblTitulo").caption, "Recarga Cartão Vavozuzed");
  EXPECT_EQ(ctl("lblNomeCons").caption, "Tipos de recebimento");
  EXPECT_FALSE(ctl("lblCPFCliente").visible);
  EXPECT_TRUE(ctl("lblMens").visible);
  EXPECT_EQ(ctl("lblMens").caption, "Pedido pago pelo aplicativo");
  EXPECT_TRUE(ctl("panImpTef").visible);
}

TEST_F(LayoutTest, ConsumerDocumentAndClientLines) {
  Fill(items_, {{{"VRPRECCOMVEN", Variant(10.0)}, {"QTPRODCOMVEN", Variant(1.0)}, {"CDCLIENTE", Variant("0042")}}});
  Fill(clients_, {{{"CDCLIENTE", Variant("0001")}, {"NRINSJURCLIE", Variant("1")}, {"NMRAZSOCCLIE", Variant("A")}},
                  {{"CDCLIENTE", Variant("0042")},
                   {"NRINSJURCLIE", Variant("12345678000195")},
                   {"NMRAZSOCCLIE", Variant("EMPRESA X")}}});
  args_.stNrDocConsCupom = "12345678909";
  args_.stNmConsCupom = "CARLOS";
  Init();
  EXPECT_EQ(ctl("lblCPFCliente").caption, "12345678000195");
  EXPECT_EQ(ctl("lblNomeCliente").caption, "EMPRESA X");
  EXPECT_EQ(ctl("lblCPFCons").caption, "12345678909");
  EXPECT_EQ(ctl("lblNomeCons").caption, "CARLOS");
  EXPECT_FALSE(ctl("bltPesquisar").enabled);
  EXPECT_EQ(sale().stCdClienteCons, "0042") << "screen kind N charges the items' client";
}

}  // namespace
}  // namespace recebimento::testing
