// Promotions and discount coupons: the common limit of a loyalty discount, a coupon once
// a sale (a percentage of what the sale admits), a promotion once, and the promotions'
// panel that lists them until the operator closes it.
#include <gtest/gtest.h>

#include "base/dataset_columns.h"
#include "datamodule/store_connection.h"
#include "screen/frame/message_table.h"
#include "screen/support/adjustments_fixture.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class LoyaltyDiscountsTest : public AdjustmentsTest {
 protected:
  void SetUp() override {
    AdjustmentsTest::SetUp();
    items_.Close();
    items_.AddField("CDCUPOMDESCZEM", base::FieldType::String, 30);
    items_.CreateDataSet();
  }

  void Coupons(const std::string& values) {
    const std::string store = "sqlite:" + (dir_ / "store.db").string();
    datamodule::StoreConnection admin([store] { return store; });
    admin.ExecuteRaw(
        "INSERT INTO CUPOMDESCZEM (CDCUPOMDESCZEM, DSCUPOMDESC, IDTIPODESC, VRDESCCUPOM, IDUSOUNICO) "
        "VALUES " +
        values);
    admin.Close();
  }

  void Promotions(const std::vector<Row>& rows) {
    Fill(promo_, rows);
    sale().cdsPromoComanda = &promo_;
  }

  bool Shown(const std::string& text) const {
    for (const auto& m : Messages())
      if (m.find(text) != std::string::npos) return true;
    return false;
  }

  screen::LoyaltyDiscounts& discounts() { return parts().discounts; }
  base::Dataset promo_{"cdsPromoComanda"};
};

TEST_F(LoyaltyDiscountsTest, ADiscountThatTakesTheWholeSaleLeavesACentPerUnit) {
  AddItem("1", 2, 10);
  AddItem("2", 1, 25.55);
  StartSale(45.55);
  EXPECT_DOUBLE_EQ(discounts().LargestDiscount(), 45.55);
  EXPECT_DOUBLE_EQ(discounts().ItemUnits(), 3);
  EXPECT_DOUBLE_EQ(discounts().Limited(10.009), 10.0);
  EXPECT_DOUBLE_EQ(discounts().Limited(45.55), 45.52);
  EXPECT_DOUBLE_EQ(discounts().Limited(99), 45.52);
  // Half a unit still counts as an item line.
  items_.First();
  items_.Edit();
  base::SetColumn(items_, "QTPRODCOMVEN", Variant(0.5));
  items_.Post();
  EXPECT_DOUBLE_EQ(discounts().ItemUnits(), 2);
}

TEST_F(LoyaltyDiscountsTest, APercentageCouponOnceASale) {
  AddItem("1", 1, 45.55);
  StartSale(45.55);
  Coupons("('DEZ', 'Dez por cento', 'P', 10, 'N'), ('CINCO', 'Cinco reais', 'V', 5, 'N')");
  Answer(Variant(std::string("DEZ")));
  ASSERT_TRUE(discounts().ValidaCupomDesconto());
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 4.55);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 41.0);
  EXPECT_EQ(Item("CDCUPOMDESCZEM"), "DEZ");

  // A second coupon is refused before its code is asked.
  EXPECT_FALSE(discounts().ValidaCupomDesconto());
  EXPECT_TRUE(Shown(screen::Msg("CUPOM_JA_UTIL")));
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 4.55);
  EXPECT_EQ(Calls("CriaInfAdicional"), 1u);
}

TEST_F(LoyaltyDiscountsTest, AnUnknownCouponOrNoCodeLeavesTheSaleAsItWas) {
  AddItem("1", 1, 30);
  StartSale(30);
  Coupons("('CINCO', 'Cinco reais', 'V', 5, 'N')");
  Answer(Variant(std::string("NADA")));
  EXPECT_FALSE(discounts().ValidaCupomDesconto());
  EXPECT_TRUE(Shown(screen::Msg("CUPOM_NAO_ENC")));
  AnswerCancel();
  EXPECT_FALSE(discounts().ValidaCupomDesconto());
  EXPECT_EQ(sale().doVrDesconto, 0);
  EXPECT_EQ(Item("CDCUPOMDESCZEM"), "");
  EXPECT_FALSE(sale().discount_coupon_used);
}

TEST_F(LoyaltyDiscountsTest, ThePanelsChoiceLeadsToTheCoupon) {
  AddItem("1", 1, 30);
  StartSale(30);
  Coupons("('CINCO', 'Cinco reais', 'V', 5, 'N')");
  pump_.Push([this] { controls().Press("btnAplicarCupom"); }, "coupon");
  controls().Bind("btnAplicarCupom", [this] { discounts().btnAplicarCupomClick(); });
  Answer(Variant(std::string("CINCO")));
  EXPECT_EQ(parts().loyalty.CriaInformaDesconto(), "CUPOM");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 5);
  EXPECT_FALSE(ctl("panInformaDesconto").visible);
  pump_.Push([this] { discounts().btnCancelarDescClick(); }, "leave");
  EXPECT_EQ(parts().loyalty.CriaInformaDesconto(), "SAIR");
}

TEST_F(LoyaltyDiscountsTest, APromotionIsOfferedOnceAndOneAlreadyUsedNever) {
  AddItem("1", 1, 100);
  StartSale(100);
  Promotions({{{"IDPROMOCOM", Variant("W1")},
               {"NMPROMOCOM", Variant("Carteira")},
               {"IDTPPROMOCOM", Variant("C")},
               {"IDUTPROMOCOM", Variant("S")},
               {"CDTIPORECE", Variant("")},
               {"IDTPDESCPROMO", Variant("V")},
               {"VRDESCPROMO", Variant(7.0)}},
              {{"IDPROMOCOM", Variant("001")},
               {"NMPROMOCOM", Variant("Dinheiro 10%")},
               {"IDTPPROMOCOM", Variant("P")},
               {"IDUTPROMOCOM", Variant("N")},
               {"CDTIPORECE", Variant("")},
               {"IDTPDESCPROMO", Variant("P")},
               {"VRDESCPROMO", Variant(10.0)}}});
  Fill(sale().cdsReceb, {{{"CDTIPORECE", Variant("001")}, {"NMTIPORECE", Variant("DINHEIRO")}}});
  Answer(Variant(true));
  discounts().ConsultaPromo();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 10.0);
  std::vector<std::string> questions;
  for (const auto& m : Messages())
    if (m.find("promoção") != std::string::npos) questions.push_back(m);
  ASSERT_EQ(questions.size(), 1u) << "the wallet promotion was used already";
  EXPECT_NE(questions[0].find("DINHEIRO"), std::string::npos);
  promo_.Locate("IDPROMOCOM", Variant("001"));
  EXPECT_EQ(base::ColumnText(promo_, "IDUTPROMOCOM"), "S");
  discounts().ConsultaPromo();  // nothing left to offer: no question is asked
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 10.0);
}

TEST_F(LoyaltyDiscountsTest, ThePromotionsPanelListsUntilClosed) {
  StartSale(50);
  Promotions({{{"IDPROMOCOM", Variant("001")},
               {"NMPROMOCOM", Variant("Dinheiro")},
               {"IDTPPROMOCOM", Variant("P")},
               {"IDUTPROMOCOM", Variant("N")},
               {"IDTPDESCPROMO", Variant("V")},
               {"VRDESCPROMO", Variant(5.0)}},
              {{"IDPROMOCOM", Variant("002")},
               {"NMPROMOCOM", Variant("Sem valor")},
               {"IDTPPROMOCOM", Variant("P")},
               {"IDUTPROMOCOM", Variant("N")},
               {"IDTPDESCPROMO", Variant("V")},
               {"VRDESCPROMO", Variant(0.0)}},
              {{"IDPROMOCOM", Variant("003")},
               {"NMPROMOCOM", Variant("Credito")},
               {"IDTPPROMOCOM", Variant("P")},
               {"IDUTPROMOCOM", Variant("N")},
               {"IDTPDESCPROMO", Variant("P")},
               {"VRDESCPROMO", Variant(12.5)}}});
  Fill(sale().cdsReceb, {{{"CDTIPORECE", Variant("001")}, {"NMTIPORECE", Variant("DINHEIRO")}},
                         {{"CDTIPORECE", Variant("003")}, {"NMTIPORECE", Variant("CREDITO")}}});
  bool shown = false;
  pump_.Push([&] { shown = ctl("panConsultaPromo").visible; }, "look");
  pump_.Push([this] { discounts().btnProximoClick(); }, "next");
  pump_.Push([this] { discounts().btnSairClick(); }, "close");
  discounts().ListaPromo();
  EXPECT_TRUE(shown);
  const base::Dataset& list = discounts().Promotions();
  EXPECT_EQ(list.RecordCount(), 2);
  EXPECT_EQ(ctl("dbgPromocao").lines,
            (std::vector<std::string>{"  Dinheiro | DINHEIRO | R$ 5,00", "> Credito | CREDITO | 12,50%"}));
  EXPECT_FALSE(ctl("panConsultaPromo").visible);
  EXPECT_EQ(ctl("panConsultaPromo").left, 802);
  EXPECT_EQ(ctl("panConsultaPromo").top, 408);
  EXPECT_FALSE(promo_.Filtered());
}

}  // namespace
}  // namespace recebimento::testing
