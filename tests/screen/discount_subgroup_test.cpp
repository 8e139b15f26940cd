// Item discounts by product subgroup and quantity band, read from the store on SQLite
// and on PostgreSQL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/store_fixture.h"
#include "host/runtime/messages.h"
#include "screen/frm_recebimento.h"
#include "screen/screen_globals.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class CapturedMessages : public runtime::MessageDialogs {
 public:
  bool Show(const runtime::MessageRequest& r) override {
    texts.push_back(r.text);
    return false;
  }
  std::vector<std::string> texts;
};

// The demo store: product 1002 is in subgroup 20/01, whose bands give 5 % from 6 units
// and 10 % from 12; 1001 (10/01) and 1003 (20/02) have no bands.
class SubgroupDiscount : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    screen::rdmRecebimento = &rdm();
    runtime::SetMessageDialogs(&messages_);
    items_.AddField("CDPRODUTO", base::FieldType::String, 16);
    items_.AddField("QTPRODCOMVEN", base::FieldType::Float);
    items_.AddField("VRPRECCOMVEN", base::FieldType::Float);
    items_.AddField("VRDESCCOMVEN", base::FieldType::Float);
    items_.CreateDataSet();
  }
  void TearDown() override {
    screen::rdmRecebimento = nullptr;  // the store fixture owns it
    runtime::SetMessageDialogs(nullptr);
    StoreTest::TearDown();
  }

  void Item(const std::string& product, double qty, double price, double discount = 0) {
    items_.AppendRecord({Variant(product), Variant(qty), Variant(price), Variant(discount)});
  }
  std::vector<double> Discounts() {
    std::vector<double> out;
    for (items_.First(); !items_.Eof(); items_.Next()) out.push_back(items_.FieldByName("VRDESCCOMVEN").AsFloat());
    return out;
  }

  CapturedMessages messages_;
  screen::TfrmRecebimento frm_;
  base::Dataset items_{"cdsItensVenda"};
};

TEST_P(SubgroupDiscount, BandOfTheSubgroupsQuantityGivesEveryItemOfItsDiscount) {
  Item("1002", 4, 10);
  Item("1001", 10, 5, 0.7);
  Item("1002", 3, 10.01);
  Item("1003", 2, 8, 0.3);
  Item("9999", 1, 3);
  items_.SetRecNo(2);
  frm_.CalculaDescSubGrupo(items_);
  EXPECT_EQ(Discounts(), (std::vector<double>{2.0, 0.7, 1.5, 0.3, 0})) << "7 units of 20/01: 5 %";
  EXPECT_TRUE(messages_.texts.empty());

  Item("1002", 5, 10);
  frm_.CalculaDescSubGrupo(items_);
  EXPECT_EQ(Discounts(), (std::vector<double>{4.0, 0.7, 3.0, 0.3, 0, 5.0})) << "12 units: 10 %";
}

TEST_P(SubgroupDiscount, EveryItemKeepsACentAndAQuantityOutsideTheBandsChangesNothing) {
  Exec("INSERT INTO DESCQTDESUB (CDGRUPPROD, CDSUBGRPROD, QTINICIALFX, QTFINALFX, QTPERCDESC) "
       "VALUES ('20', '02', 1, 5, 100)");
  Item("1003", 1, 2);
  Item("1002", 2, 10, 0.4);
  frm_.CalculaDescSubGrupo(items_);
  EXPECT_EQ(Discounts(), (std::vector<double>{1.99, 0.4}));
}

TEST_P(SubgroupDiscount, StoreErrorIsShownAndLeavesTheItemsAsTheyWere) {
  Item("1002", 8, 10, 0.25);
  Exec("DROP TABLE DESCQTDESUB");
  frm_.CalculaDescSubGrupo(items_);
  EXPECT_EQ(Discounts(), (std::vector<double>{0.25}));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find("getDescQtdeSub"), std::string::npos) << messages_.texts[0];
}

RECEBIMENTO_BOTH_ENGINES(SubgroupDiscount);

}  // namespace
}  // namespace recebimento::testing
