// The service and delivery fees turned into item lines: one line up to 10 % of the sale,
// the excess on a line of its own above it, the tip kept from the change with the fee,
// the fee products' tax data checked only where the branch closes receipts with it, and
// the fee line printed like any item.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/fiscal/fiscal_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class FeeItemsTest : public FiscalTest {
 protected:
  void SetUp() override {
    if (!Start()) GTEST_SKIP() << "no server for this engine";
    par().stCDPRODTAXASERV = "9001";
    par().stCDPRODTAXAENTR = "9002";
    par().stIDFECHACUPOM = "S";
  }

  // A sale of 100.00 of items with `fee` of service fee on every line.
  void SaleWithFee(double fee) {
    AddItem("1001", "PRATO", 1, 60.0, {{"VRTXSERVICO", Variant(fee)}});
    AddItem("1002", "SUCO", 2, 20.0, {{"VRTXSERVICO", Variant(fee)}});
    sale().doVrServico = fee;
    sale().doVrTotal = 100.0 + fee;
  }

  // (product, price, marker) of each line, in order.
  std::vector<std::tuple<std::string, double, std::string>> Lines() {
    std::vector<std::tuple<std::string, double, std::string>> out;
    for (items_.First(); !items_.Eof(); items_.Next())
      out.emplace_back(base::ColumnText(items_, "CDPRODUTO"), base::ColumnNumber(items_, "VRPRECCOMVEN"),
                       base::ColumnText(items_, "IDPRODTAXASERV"));
    return out;
  }
  std::vector<std::tuple<std::string, double, std::string>> Fees() {
    auto lines = Lines();
    return {lines.begin() + 2, lines.end()};
  }
};

TEST_F(FeeItemsTest, TenPercentIsOneLineAndAboveItTheExcessHasItsOwn) {
  par().stCDPRODTXEXCEDE = "9005";
  SaleWithFee(10.0);
  parts().fiscal.CriaItemTaxaServ();
  EXPECT_EQ(Fees(), (std::vector<std::tuple<std::string, double, std::string>>{{"9001", 10.0, "S"}}));
  EXPECT_EQ(sale().doVrServico, 0.0) << "the fee now lives in its item";
  items_.First();
  EXPECT_EQ(base::ColumnNumber(items_, "VRTXSERVICO"), 0.0);

  items_.EmptyDataSet();
  SaleWithFee(10.01);
  parts().fiscal.CriaItemTaxaServ();
  EXPECT_EQ(Fees(),
            (std::vector<std::tuple<std::string, double, std::string>>{{"9005", 0.01, "X"}, {"9001", 10.0, "S"}}));
}

TEST_F(FeeItemsTest, TheFeeLineTakesTheSalesColumnsAndTheProductsOwn) {
  SaleWithFee(10.0);
  items_.Last();
  items_.Edit();
  items_.FieldByName("NRCOMANDA").SetAsString("000012");
  items_.FieldByName("CDPRODIMPFIS").SetAsString("FIS1002");
  items_.Post();
  parts().fiscal.CriaItemTaxaServ();
  items_.Last();
  EXPECT_EQ(base::ColumnText(items_, "NRCOMANDA"), "000012");
  EXPECT_EQ(base::ColumnText(items_, "CDPRODIMPFIS"), "") << "not the last item's own fiscal code";
  EXPECT_EQ(base::ColumnText(items_, "NMPRODUTO"), "Taxa de Serviço");
  EXPECT_EQ(base::ColumnText(items_, "CDARVPROD"), "9001");
  EXPECT_EQ(base::ColumnText(items_, "SGUNIDADE"), "UN");
  EXPECT_EQ(base::ColumnText(items_, "IDTPIMPOSFIS"), "S");
  EXPECT_EQ(base::ColumnNumber(items_, "QTPRODCOMVEN"), 1.0);

  // It reaches the printer as an item with the fee's tax code.
  Pay("001", "4", 110.0);
  ASSERT_TRUE(parts().fiscal.ImprimeCupom());
  const auto sent = Calls("VendaItem");
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2].args[3].AsString(), "9001");
  EXPECT_EQ(sent[2].args[5].AsString(), "S05");
  EXPECT_TRUE(PrintedLine("TOTAL 110.00"));
}

TEST_F(FeeItemsTest, TheTipKeptFromTheChangeGoesWithTheFee) {
  SaleWithFee(10.0);
  sale().doVrTroco = 7.0;
  sale().doVrRepique = 3.0;
  parts().fiscal.CriaItemTaxaServ();
  EXPECT_EQ(std::get<1>(Fees().at(0)), 13.0);

  items_.EmptyDataSet();
  SaleWithFee(10.0);
  sale().doVrTroco = 2.0;  // the whole change is the tip
  sale().doVrRepique = 2.0;
  parts().fiscal.CriaItemTaxaServ();
  EXPECT_EQ(std::get<1>(Fees().at(0)), 12.0);
}

TEST_F(FeeItemsTest, FeeProductsWithoutTaxDataAreRefusedOnlyWhereTheBranchClosesWithIt) {
  store_->Exec("UPDATE PRODUTO SET CDCFOPPFIS = NULL WHERE CDPRODUTO IN ('9001', '9002')");
  SaleWithFee(10.0);
  parts().fiscal.CriaItemTaxaServ();
  EXPECT_TRUE(Fees().empty());
  EXPECT_EQ(sale().doVrServico, 10.0) << "the fee stays a fee";
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages().back(),
            "Produto parametrizado como Taxa de Serviço não pode ser vendido, pois não possui CFOP parametrizado e a "
            "filial utiliza a rotina de Fechamento de Cupom. O valor da taxa será incluído como Acréscimo no cupom.");

  par().stIDFECHACUPOM = "N";
  parts().fiscal.CriaItemTaxaServ();
  EXPECT_EQ(Fees().size(), 1u) << "sold without tax data when the branch does not ask for it";
}

TEST_F(FeeItemsTest, TheDeliveryFeeBecomesALineAndLeavesTheSurcharge) {
  AddItem("1001", "PIZZA", 1, 50.0, {{"VRACRCOMANDA", Variant(8.0)}});
  sale().doVrAcrComanda = 8.0;
  parts().fiscal.CriaItemTaxaEntr();
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], (std::tuple<std::string, double, std::string>{"9002", 8.0, "E"}));
  EXPECT_EQ(sale().doVrAcrComanda, 0.0);
  items_.First();
  EXPECT_EQ(base::ColumnNumber(items_, "VRACRCOMANDA"), 0.0);

  // A delivery product without its NCM: the message of the delivery fee.
  items_.EmptyDataSet();
  store_->Exec("UPDATE PRODUTO SET CDCLASFISC = '' WHERE CDPRODUTO = '9002'");
  AddItem("1001", "PIZZA", 1, 50.0, {{"VRACRCOMANDA", Variant(8.0)}});
  parts().fiscal.CriaItemTaxaEntr();
  EXPECT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Messages().back(),
            "Produto parametrizado como Taxa de Entrega não pode ser vendido, pois não possui NCM parametrizado. O "
            "valor da taxa será incluído como Acréscimo no cupom.");
}

}  // namespace
}  // namespace recebimento::testing
