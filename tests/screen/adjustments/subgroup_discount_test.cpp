// Item discounts by product subgroup and quantity band, read from the store on SQLite
// and on PostgreSQL.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "datamodule/trdm_recebimento.h"
#include "screen/support/demo_store.h"
#include "screen/support/screen_parts_fixture.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

// The demo store: product 1002 is in subgroup 20/01, whose bands give 5 % from 6 units
// and 10 % from 12; 1001 (10/01) and 1003 (20/02) have no bands.
class SubgroupDiscount : public DemoStore, public ScreenPartsTest, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    if (!OpenDemoStore(GetParam())) GTEST_SKIP() << "RECEBIMENTO_TEST_PG is not set: no PostgreSQL server for this run";
    rdm_ = std::make_unique<datamodule::TrdmRecebimento>(store_->connection());
    BuildParts();
    items_.AddField("CDPRODUTO", base::FieldType::String, 16);
    items_.AddField("QTPRODCOMVEN", base::FieldType::Float);
    items_.AddField("VRPRECCOMVEN", base::FieldType::Float);
    items_.AddField("VRDESCCOMVEN", base::FieldType::Float);
    items_.CreateDataSet();
  }

  void Exec(const std::string& sql) { store_->Exec(sql); }
  void Item(const std::string& product, double qty, double price, double discount = 0) {
    items_.AppendRecord({Variant(product), Variant(qty), Variant(price), Variant(discount)});
  }
  std::vector<double> Discounts() {
    std::vector<double> out;
    for (items_.First(); !items_.Eof(); items_.Next()) out.push_back(items_.FieldByName("VRDESCCOMVEN").AsFloat());
    return out;
  }
  void Run() { parts().adjustments.CalculaDescSubGrupo(items_); }

  base::Dataset items_{"cdsItensVenda"};
};

TEST_P(SubgroupDiscount, BandOfTheSubgroupsQuantityGivesEveryItemOfItsDiscount) {
  Item("1002", 4, 10);
  Item("1001", 10, 5, 0.7);
  Item("1002", 3, 10.01);
  Item("1003", 2, 8, 0.3);
  Item("9999", 1, 3);
  items_.SetRecNo(2);
  Run();
  EXPECT_EQ(Discounts(), (std::vector<double>{2.0, 0.7, 1.5, 0.3, 0})) << "7 units of 20/01: 5 %";
  EXPECT_TRUE(Messages().empty());

  Item("1002", 5, 10);
  Run();
  EXPECT_EQ(Discounts(), (std::vector<double>{4.0, 0.7, 3.0, 0.3, 0, 5.0})) << "12 units: 10 %";
}

TEST_P(SubgroupDiscount, EveryItemKeepsACentAndAQuantityOutsideTheBandsChangesNothing) {
  Exec(
      "INSERT INTO DESCQTDESUB (CDGRUPPROD, CDSUBGRPROD, QTINICIALFX, QTFINALFX, QTPERCDESC) "
      "VALUES ('20', '02', 1, 5, 100)");
  Item("1003", 1, 2);
  Item("1002", 2, 10, 0.4);
  Run();
  EXPECT_EQ(Discounts(), (std::vector<double>{1.99, 0.4}));
}

TEST_P(SubgroupDiscount, StoreErrorIsShownAndLeavesTheItemsAsTheyWere) {
  Item("1002", 8, 10, 0.25);
  Exec("DROP TABLE DESCQTDESUB");
  Run();
  EXPECT_EQ(Discounts(), (std::vector<double>{0.25}));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("getDescQtdeSub"), std::string::npos) << Messages()[0];
}

RECEBIMENTO_BOTH_ENGINES(SubgroupDiscount);

}  // namespace
}  // namespace recebimento::testing
