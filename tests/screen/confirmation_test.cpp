// Confirming a sale without a fiscal printer, with its sale number from the store, and
// discarding or leaving a sale: on SQLite and on PostgreSQL.
#include <gtest/gtest.h>

#include "support/store_fixture.h"
#include "datamodule/trdm_recebimento.h"
#include "grid_keyboard_fixture.h"
#include "screen/message_table.h"
#include "screen/screen_globals.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class ConfirmationTest : public GridKeyboardTest, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    if (GetParam() == Engine::PostgreSQL && PostgresAdminConnInfo().empty())
      GTEST_SKIP() << "RECEBIMENTO_TEST_PG is not set: no PostgreSQL server for this run";
    GridKeyboardTest::SetUp();
    store_ = std::make_unique<TestStore>(GetParam());
    screen::rdmRecebimento = new datamodule::TrdmRecebimento(store_->connection());
    screen::rdmRecebimento->SetClock(&clock_);

    screen::TfrmRecebimento& f = frm();
    f.LigaBotoesEntradaValor();
    f.stCDFILIAL = "0001";
    f.stCDCAIXA = "001";
    f.stModoVenda = "RES";
    f.stTipoTela = "N";
    f.stIdTipoVenda = "M";
    itens_.AddField("CDPRODUTO", base::FieldType::String, 16);
    itens_.AddField("QTPRODCOMVEN", base::FieldType::Float);
    itens_.AddField("VRPRECCOMVEN", base::FieldType::Float);
    itens_.AddField("VRTXSERVICO", base::FieldType::Float);
    itens_.AddField("VRDESCOMANDA", base::FieldType::Float);
    itens_.AddField("DSOBSFINVEN", base::FieldType::String, 100);
    itens_.CreateDataSet();
    itens_.AppendRecord({Variant("7001"), Variant(2.0), Variant(12.5), Variant(0.0), Variant(0.0), Variant("")});
    f.cdsItensVenda = &itens_;
    AddPayment("009", "9", 10.0);  // paid before the screen opened
    f.doVrPago = 10.0;
    f.CalculaTotais();
    f.LimpaRecebimentos();  // as the entry does before showing the screen
  }

  void TearDown() override {
    GridKeyboardTest::TearDown();
    delete screen::rdmRecebimento;
    screen::rdmRecebimento = nullptr;
    store_.reset();
  }

  // The operator pays the rest in cash on the screen.
  void PayTheRestInCash() {
    AddPayment("001", "4", 15.0);
    frm().doVrPago = 25.0;
    frm().doVrAPagar = 0;
    ctl("spbOk").enabled = ctl("spbOk").visible = true;
  }

  std::unique_ptr<TestStore> store_;
  base::Dataset itens_{"cdsItensVenda"};
};

TEST_P(ConfirmationTest, SaleWithoutFiscalPrinterGetsItsNumberAndCloses) {
  PayTheRestInCash();
  frm().Controls().Click("spbOk");
  ASSERT_TRUE(frm().boVendaOk) << (Messages().empty() ? "" : Messages().front());
  EXPECT_TRUE(frm().Closed());
  EXPECT_EQ(frm().stNrVenda, "0000000002");  // the demo register already has sale 1
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 1u);
  EXPECT_EQ(sim_->Record().CallsOf("DisparaImpressaoNaoFiscal")[0].args[0].AsString(), "CUPOM");
  EXPECT_GE(sim_->Record().CountOf("AbreGaveta"), 1u) << "cash opens the drawer";
  const auto log = sim_->Record().CallsOf("LogImpNFiscal");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].args[0].AsString(),
            "Recebimento ---  Valor Venda: 25,00 Tipo Rec: 009/001 Valor Pago: 25,00 Troco: 0,00");
  EXPECT_EQ(frm().cdsParamImpCupNF.FieldByName("NRNAOFISCAL").AsString(), "0000000002");
  EXPECT_EQ(frm().cdsParamImpCupNF.FieldByName("VENDAREALIZADA").AsString(), "A");
  EXPECT_TRUE(Messages().empty());
}

TEST_P(ConfirmationTest, ConfirmingAgainWhileItRunsOrAfterwardsRunsItOnce) {
  PayTheRestInCash();
  // The summary panel holds the confirmation while the operator presses OK again.
  frm().stIDIMPCUPMEI = "S";
  frm().stNmConsCupom = "Maria";
  pump_.Push([this] { frm().spbOkClick(); }, "OK pressed again");
  pump_.Push([this] { frm().Controls().Click("btnConfDadosVenda"); }, "summary confirmed");
  frm().Controls().Click("spbOk");
  EXPECT_TRUE(frm().Closed());
  frm().spbOkClick();
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 1u);
  EXPECT_EQ(frm().stNrVenda, "0000000002");
  EXPECT_EQ(screen::rdmRecebimento->getPrxVendaVista("0001", "001").AsString(), "0000000003")
      << "one number was spent";
}

TEST_P(ConfirmationTest, RefusedSummaryLeavesTheSaleOpenToConfirmAgain) {
  PayTheRestInCash();
  frm().stIDIMPCUPMEI = "S";
  frm().stNmConsCupom = "Maria";
  pump_.Push([this] { frm().Controls().Click("btnCancDadosVenda"); }, "summary refused");
  frm().Controls().Click("spbOk");
  EXPECT_FALSE(frm().Closed());
  EXPECT_FALSE(frm().boVendaOk);
  EXPECT_TRUE(ctl("spbOk").enabled);
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 0u);
  EXPECT_TRUE(frm().stNrVenda.empty());
}

TEST_P(ConfirmationTest, StoreFailureRecordsNothingAndKeepsTheSaleOpen) {
  PayTheRestInCash();
  store_->Exec("DROP TABLE NOVOCODIGO");
  frm().Controls().Click("spbOk");
  EXPECT_FALSE(frm().boVendaOk);
  EXPECT_FALSE(frm().Closed());
  EXPECT_TRUE(frm().stNrVenda.empty()) << "an error text is never a sale number";
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages().back().find("Erro no banco de dados"), std::string::npos) << Messages().back();
  EXPECT_EQ(sim_->Record().CountOf("AbreGaveta"), 0u);
  EXPECT_EQ(sim_->Record().CountOf("LogImpNFiscal"), 0u);
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 0u);
  EXPECT_TRUE(ctl("spbOk").enabled);
}

TEST_P(ConfirmationTest, ClearingPutsTheSaleBackAsItCameAndLeavingKeepsIt) {
  const base::DataPacket itens = itens_.Data(), pagamentos = movi_.Data();
  const auto lista = ctl("memLista").lines;
  const double a_pagar = frm().doVrAPagar;
  EXPECT_DOUBLE_EQ(a_pagar, 15.0);

  // Work on the screen: a cash payment, a discount written into the sale, a list line.
  PayTheRestInCash();
  itens_.First();
  itens_.Edit();
  itens_.FieldByName("VRDESCOMANDA").SetAsFloat(5.0);
  itens_.Post();
  frm().doVrDesconto = 5.0;
  ctl("memLista").lines.push_back("Dinheiro 15,00");

  frm().Controls().Click("spbClear");
  EXPECT_EQ(movi_.Data(), pagamentos);
  EXPECT_EQ(itens_.Data(), itens);
  EXPECT_EQ(ctl("memLista").lines, lista);
  EXPECT_DOUBLE_EQ(frm().doVrPago, 10.0);
  EXPECT_DOUBLE_EQ(frm().doVrDesconto, 0.0);
  EXPECT_DOUBLE_EQ(frm().doVrAPagar, a_pagar);
  EXPECT_EQ(frm().tpInputStep, screen::isNone);

  frm().ExecutaSaida();
  EXPECT_TRUE(frm().Closed());
  EXPECT_FALSE(frm().boVendaOk);
  EXPECT_EQ(movi_.Data(), pagamentos);
  EXPECT_EQ(itens_.Data(), itens);
}

RECEBIMENTO_BOTH_ENGINES(ConfirmationTest);

}  // namespace
}  // namespace recebimento::testing
