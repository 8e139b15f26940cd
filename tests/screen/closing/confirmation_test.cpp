// Confirming a sale without a fiscal printer, with its sale number from the store: the
// receipt, the drawer and the log, the sale summary, a second OK, and a store failure; on
// SQLite and on PostgreSQL.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/data_packet.h"
#include "datamodule/trdm_recebimento.h"
#include "screen/support/demo_store.h"
#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class ConfirmationTest : public DemoStore, public GridKeyboardTest, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    if (!OpenDemoStore(GetParam())) GTEST_SKIP() << "RECEBIMENTO_TEST_PG is not set: no PostgreSQL server for this run";
    GridKeyboardTest::SetUp();
    rdm_ = std::make_unique<datamodule::TrdmRecebimento>(store_->connection());
    rdm_->SetClock(&clock_);
    RebuildHost();

    par().stCDFILIAL = "0001";
    par().stCDCAIXA = "001";
    sale().stModoVenda = "RES";
    sale().stTipoTela = "N";
    sale().stIdTipoVenda = "M";
    itens_.AddField("CDPRODUTO", base::FieldType::String, 16);
    itens_.AddField("QTPRODCOMVEN", base::FieldType::Float);
    itens_.AddField("VRPRECCOMVEN", base::FieldType::Float);
    itens_.AddField("VRTXSERVICO", base::FieldType::Float);
    itens_.AddField("VRDESCOMANDA", base::FieldType::Float);
    itens_.AddField("DSOBSFINVEN", base::FieldType::String, 100);
    itens_.CreateDataSet();
    itens_.AppendRecord({Variant("7001"), Variant(2.0), Variant(12.5), Variant(0.0), Variant(0.0), Variant("")});
    sale().cdsItensVenda = &itens_;
    AddPayment("009", "9", 10.0);  // paid before the screen opened
    sale().doVrPago = 10.0;
    parts().setup.ComputeTotals();
    parts().exit.Clear();  // as the entry does before showing the screen
  }

  // A column of the non-fiscal receipt's parameters as the host received them.
  std::string ReceiptParameter(const std::string& column) {
    const auto calls = sim_->Record().CallsOf("DisparaImpressaoNaoFiscal");
    if (calls.empty() || calls[0].args.size() < 2 || !calls[0].args[1].IsPacket()) return "(none)";
    const base::DataPacket& p = calls[0].args[1].AsPacket();
    const int i = p.FieldIndex(column);
    if (i < 0 || p.rows.empty()) return "(none)";
    return p.rows[0][static_cast<size_t>(i)].AsString();
  }

  // The operator pays the rest in cash on the screen.
  void PayTheRestInCash() {
    AddPayment("001", "4", 15.0);
    sale().doVrPago = 25.0;
    sale().doVrAPagar = 0;
    ctl("spbOk").enabled = ctl("spbOk").visible = true;
  }

  base::Dataset itens_{"cdsItensVenda"};
};

TEST_P(ConfirmationTest, SaleWithoutFiscalPrinterGetsItsNumberAndCloses) {
  PayTheRestInCash();
  controls().Click("spbOk");
  ASSERT_TRUE(sale().boVendaOk) << (Messages().empty() ? "" : Messages().front());
  EXPECT_TRUE(Closed());
  EXPECT_EQ(sale().stNrVenda, "0000000002");  // the demo register already has sale 1
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 1u);
  EXPECT_EQ(sim_->Record().CallsOf("DisparaImpressaoNaoFiscal")[0].args[0].AsString(), "CUPOM");
  EXPECT_GE(sim_->Record().CountOf("AbreGaveta"), 1u) << "cash opens the drawer";
  const auto log = sim_->Record().CallsOf("LogImpNFiscal");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].args[0].AsString(),
            "Recebimento ---  Valor Venda: 25,00 Tipo Rec: 009/001 Valor Pago: 25,00 Troco: 0,00");
  EXPECT_EQ(ReceiptParameter("NRNAOFISCAL"), "0000000002");
  EXPECT_EQ(ReceiptParameter("VENDAREALIZADA"), "A");
  EXPECT_TRUE(Messages().empty());
}

TEST_P(ConfirmationTest, ConfirmingAgainWhileItRunsOrAfterwardsRunsItOnce) {
  PayTheRestInCash();
  // The summary panel holds the confirmation while the operator presses OK again.
  par().stIDIMPCUPMEI = "S";
  sale().stNmConsCupom = "Maria";
  pump_.Push([this] { parts().confirmation.Confirm(); }, "OK pressed again");
  pump_.Push([this] { controls().Click("btnConfDadosVenda"); }, "summary confirmed");
  controls().Click("spbOk");
  EXPECT_TRUE(Closed());
  parts().confirmation.Confirm();
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 1u);
  EXPECT_EQ(sale().stNrVenda, "0000000002");
  EXPECT_EQ(rdm_->getPrxVendaVista("0001", "001").AsString(), "0000000003") << "one number was spent";
}

TEST_P(ConfirmationTest, RefusedSummaryLeavesTheSaleOpenToConfirmAgain) {
  PayTheRestInCash();
  par().stIDIMPCUPMEI = "S";
  sale().stNmConsCupom = "Maria";
  pump_.Push([this] { controls().Click("btnCancDadosVenda"); }, "summary refused");
  controls().Click("spbOk");
  EXPECT_FALSE(Closed());
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_TRUE(ctl("spbOk").enabled);
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 0u);
  EXPECT_TRUE(sale().stNrVenda.empty());
}

TEST_P(ConfirmationTest, StoreFailureRecordsNothingAndKeepsTheSaleOpen) {
  PayTheRestInCash();
  store_->Exec("DROP TABLE NOVOCODIGO");
  controls().Click("spbOk");
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(sale().stNrVenda.empty()) << "an error text is never a sale number";
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages().back().find("Erro no banco de dados"), std::string::npos) << Messages().back();
  EXPECT_EQ(sim_->Record().CountOf("AbreGaveta"), 0u);
  EXPECT_EQ(sim_->Record().CountOf("LogImpNFiscal"), 0u);
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 0u);
  EXPECT_TRUE(ctl("spbOk").enabled);
}

RECEBIMENTO_BOTH_ENGINES(ConfirmationTest);

}  // namespace
}  // namespace recebimento::testing
