// The limits of the payment flow played through `recebimento run` on the demo host
// without a fiscal printer: a cent over, change where no tender gives it, confirming
// twice, installments, the one-cent floor of a discount and the 99 % printers.
#include "scenario_fixture.h"

namespace recebimento::testing {
namespace {

using namespace act;

class FlowLimits : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (!IsSkipped() && !HasFatalFailure()) Parameters({{"UTILIZAIMPFIS", base::Variant(false)}});
  }
};

// One item of 10,00 paid by cheque (03) that may ask for up to three installments of at
// least 5,00, and a voucher without a change tender (02).
json ChequeSale() {
  return Sale(
      {{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}}, json::array({Item("1001", 10)}),
      json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}}), Tender("005", "TICKET", "7", "02"),
                   Tender("004", "CHEQUE", "3", "03", {{"IDSOLIQTPARC", "S"}, {"QTMAXPARC", 3}, {"VRMINPARC", 5}})}));
}

// An advance (screen kind "D") confirms by itself after a tender, but only after one that
// was taken: an amount refused as not below the order's total leaves the sale open.
TEST_P(FlowLimits, AnAdvanceRefusedIsNeverConfirmed) {
  json sale = ChequeSale();
  sale["args"]["stTipoTela"] = "D";
  json o = Run(sale, Pays("tcbBalcao01", "10") + Wait(1) + Snapshot("refused") + Pays("tcbBalcao01", "4"));
  EXPECT_TRUE(Shown(o, "adiantamento")) << o["dialogs"].dump();
  EXPECT_EQ(o["snapshots"]["refused"]["state"]["boVendaOk"], false);
  EXPECT_EQ(o["snapshots"]["refused"]["state"]["doVrPago"], 0.0);
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 4.0}}));
  EXPECT_EQ(o["result"], true) << "the advance taken is confirmed";
  EXPECT_EQ(o["args"]["doVrPago"], 4.0);
}

// Amounts are kept in whole cents, so the smallest over-payment is one cent: change.
TEST_P(FlowLimits, OneCentOverGivesOneCentOfChange) {
  json o;
  o = Run(ChequeSale(), Pays("tcbBalcao01", "10,01") + Wait(1) + Snapshot("paid") + Click("spbOk"));
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrTroco"], 0.01);
  EXPECT_EQ(PaymentLines(o), (std::vector<PaymentLine>{{"001", "E", 10.01}, {"001", "S", 0.01}}));
}

TEST_P(FlowLimits, InSantaCatarinaChangeIsGivenWithoutAChangeTender) {
  Parameters({{"SGESTADOFILI", base::Variant(std::string("SC"))}});
  json o = Run(ChequeSale(), Pays("tcbBalcao02", "12") + Wait(1) + Snapshot("paid") + Click("spbOk"));
  EXPECT_FALSE(Shown(o, "Assumir valor da venda?")) << "no question in that state";
  EXPECT_EQ(o["snapshots"]["paid"]["state"]["doVrTroco"], 2.0);
  ASSERT_EQ(PaymentLines(o).size(), 2u);
  EXPECT_EQ(PaymentLines(o)[0], (PaymentLine{"005", "E", 12.0}));
  EXPECT_EQ(std::get<1>(PaymentLines(o)[1]), "S");
  EXPECT_EQ(std::get<2>(PaymentLines(o)[1]), 2.0);
}

// The second press comes while the first confirmation waits on the sale summary for the
// receipt's consumer; the confirmation button is then disabled.
TEST_P(FlowLimits, ConfirmingTwiceRecordsTheSaleOnce) {
  Parameters({{"IDIMPCUPMEI", base::Variant(std::string("S"))}});
  json sale = ChequeSale();
  sale["args"]["stNmConsCupom"] = "MARIA";
  json o = Run(sale, Pays("tcbBalcao01", "10") + Click("spbOk") + Click("spbOk") + Click("btnConfDadosVenda"));
  EXPECT_EQ(o["result"], true);
  ASSERT_EQ(o["ignored"].size(), 1u) << o["ignored"].dump();
  EXPECT_EQ(o["ignored"][0]["line"], 6);
  EXPECT_EQ(o["ignored"][0]["why"], "spbOk is disabled");
  EXPECT_EQ(HostCalls(o, "DisparaImpressaoNaoFiscal").size(), 1u);
  EXPECT_EQ(o["args"]["stNrVenda"], "0000000002") << "one number reserved, not two";
}

TEST_P(FlowLimits, InstallmentsAreAskedWithinTheMaximumAndTheMinimumValue) {
  // "0" is one installment. A cheque the card terminal consulted that pays the sale
  // confirms it by itself.
  json o = Run(ChequeSale(), Pays("tcbBalcao03", "10") + Answer("0"));
  ASSERT_EQ(o["datasets"]["cdsMoviVenda"]["rows"].size(), 1u) << o.dump();
  EXPECT_EQ(o["datasets"]["cdsMoviVenda"]["rows"][0]["QTPARCRECEB"], 1);

  // Four is above the maximum and is asked again; three of 3,33 are below the minimum
  // and leave no line; two of 5,00 are taken.
  o = Run(ChequeSale(), Pays("tcbBalcao03", "10") + Answer("4") + Answer("3") + Wait(1) + Snapshot("refused") +
                            Pays("tcbBalcao03", "10") + Answer("2"));
  EXPECT_TRUE(Shown(o, "Quantidade máxima de parcelas: 3")) << o["dialogs"].dump();
  EXPECT_TRUE(Shown(o, "Valor da parcela: R$ 3,33")) << o["dialogs"].dump();
  EXPECT_EQ(o["snapshots"]["refused"]["state"]["doVrPago"], 0.0);
  ASSERT_EQ(o["datasets"]["cdsMoviVenda"]["rows"].size(), 1u) << o.dump();
  EXPECT_EQ(o["datasets"]["cdsMoviVenda"]["rows"][0]["QTPARCRECEB"], 2);
  EXPECT_EQ(o["result"], true);

  // Three is exactly the maximum.
  json sale = ChequeSale();
  sale["datasets"]["cdsRecebHost"][2]["VRMINPARC"] = 0;
  o = Run(sale, Pays("tcbBalcao03", "10") + Answer("3"));
  ASSERT_EQ(o["datasets"]["cdsMoviVenda"]["rows"].size(), 1u) << o.dump();
  EXPECT_EQ(o["datasets"]["cdsMoviVenda"]["rows"][0]["QTPARCRECEB"], 3);
}

TEST_P(FlowLimits, ADiscountLeavesACentForEveryUnitSold) {
  // Three units worth 0,05 in all.
  const json sale =
      Sale({{"stModoVenda", "BAL"}, {"stIdTipoVenda", "B"}}, json::array({Item("1001", 0.03), Item("1002", 0.01, 2)}),
           json::array({Tender("001", "DINHEIRO", "4", "01", {{"CDTIPOTROCO", "001"}})}));
  json o = Run(sale, Click("spbDesconto") + Adjustment('V', 0.03) + Snapshot("refused") + Click("spbDesconto") +
                         Adjustment('V', 0.02) + Snapshot("taken") + Click("spbSair"));
  EXPECT_TRUE(Shown(o, "O desconto máximo desta venda é de R$ 0,02")) << o["dialogs"].dump();
  EXPECT_EQ(o["snapshots"]["refused"]["state"]["doVrDesconto"], 0.0);
  EXPECT_EQ(o["snapshots"]["taken"]["state"]["doVrDesconto"], 0.02);
  EXPECT_EQ(o["snapshots"]["taken"]["state"]["doVrAPagar"], 0.03);
}

TEST_P(FlowLimits, PrintersThatTakeAtMostNinetyNinePercent) {
  for (int model : {31, 33}) {
    SCOPED_TRACE(model);
    Parameters({{"UTILIZAIMPFIS", base::Variant(true)}, {"IDTIPOIMPFIS", base::Variant(int64_t{model})}});
    json o = Run(ChequeSale(), Click("spbDesconto") + Adjustment('P', 99.5) + Snapshot("refused") +
                                   Click("spbDesconto") + Adjustment('P', 99) + Snapshot("taken") + Click("spbSair"));
    EXPECT_TRUE(Shown(o, "99%")) << o["dialogs"].dump();
    EXPECT_EQ(o["snapshots"]["refused"]["state"]["doVrDesconto"], 0.0);
    EXPECT_EQ(o["snapshots"]["taken"]["state"]["doVrDesconto"], 9.9);
  }
}

RECEBIMENTO_SCENARIO_ENGINES(FlowLimits);

}  // namespace
}  // namespace recebimento::testing
