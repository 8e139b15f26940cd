// The store's loyalty campaigns over the demo store: the Dotz of the sale listed once the
// host names the consumer's account, the loyalty discount of a delivery's campaign or of
// the consumer's points (once a sale, within the common limit, the points spent those of
// the discount given) and the discount paid with the loyalty balance.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/support/consumer_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class LoyaltyCampaignsTest : public ConsumerTest {
 protected:
  void SetUp() override {
    ConsumerTest::SetUp();
    par().stIDEXISTECAMPDOTZ = "S";
    ctl("memLista").lines = {"PRODUTO 1001         10,00"};
  }
  static Row OnTab(Row item, const std::string& tab) {
    item["NRCOMANDA"] = Variant(tab);
    return item;
  }
  screen::LoyaltyCampaigns& campaigns() { return parts().campaigns; }
  pos::ScriptedServices& Host() { return sim_->AnsweringServices(); }
  static Variant Balances(const std::string& campaign, double balance) {
    base::DataPacket p;
    p.fields = {{"CDCAMPANHA", base::FieldType::String, 10},
                {"NMCONSUMIDOR", base::FieldType::String, 60},
                {"VRSALDOCONS", base::FieldType::Float, 0}};
    p.rows.push_back({Variant(campaign), Variant("Maria da Silva"), Variant(balance)});
    return Variant(p);
  }
};

TEST_F(LoyaltyCampaignsTest, TheSalesDotzAreListedForTheConsumersAccountAndForgottenWhenCleared) {
  Items({Item("1001", 10, "01", 1.5), Item("2001", 10, "01", 3)});  // 45,00
  campaigns().spbDotzClick();                                       // the host names no account: nothing
  EXPECT_EQ(ctl("memLista").lines.size(), 1u);

  Host().Script("CriaDadosDotz", {true, Variant(std::string("DZ-77"))});
  campaigns().spbDotzClick();
  // Ten reais a point on 45,00; two extra points a unit of product 2001.
  EXPECT_DOUBLE_EQ(campaigns().DotzTotal(), 4);
  EXPECT_DOUBLE_EQ(campaigns().DotzExtras(), 6);
  EXPECT_EQ(ctl("memLista").lines,
            (std::vector<std::string>{"PRODUTO 1001         10,00", "Dotz ganhos nesta compra: 4",
                                      "Dotz extras nos produtos: 6"}));
  EXPECT_FALSE(ctl("spbDotz").visible);
  campaigns().CalculoDotz();  // worked out again, listed once
  EXPECT_EQ(ctl("memLista").lines.size(), 3u);

  campaigns().LimpaDotz();
  EXPECT_EQ(ctl("memLista").lines, (std::vector<std::string>{"PRODUTO 1001         10,00"}));
  EXPECT_EQ(campaigns().DotzTotal(), 0);
  EXPECT_TRUE(ctl("spbDotz").visible);
  EXPECT_TRUE(ctl("spbDotz").enabled);
  campaigns().CalculoDotz();  // no account any more
  EXPECT_EQ(ctl("memLista").lines.size(), 1u);
}

TEST_F(LoyaltyCampaignsTest, ADeliverysRedeemedCampaignIsTheSalesLoyaltyDiscountOnce) {
  Items({OnTab(Item("1001", 50, "01"), "0110")});
  ASSERT_TRUE(campaigns().DescontoVendaFidelidade());
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 10);
  EXPECT_EQ(sale().stIdDescFidelidade, "E");
  EXPECT_EQ(sale().stCdCampanha, "CAMP-E");
  EXPECT_EQ(sale().stPontosFidelidade, "200");
  EXPECT_FALSE(campaigns().DescontoVendaFidelidade()) << "once a sale";
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 10);

  // Discarded with the payments, it may be given again.
  campaigns().PaymentsDiscarded();
  EXPECT_TRUE(sale().stIdDescFidelidade.empty());
  EXPECT_FALSE(campaigns().LoyaltyDiscountGranted());
}

TEST_F(LoyaltyCampaignsTest, ThePointsDiscountIsOfferedAndLimitedAndSpendsOnlyItsPoints) {
  // Maria's 340 points give 3 x 5,00; the sale of 12,00 admits 11,99.
  Items({OnTab(Item("1001", 12, "01"), "0100")});
  WillAnswer(false);
  EXPECT_FALSE(campaigns().DescontoVendaFidelidade());
  EXPECT_EQ(sale().doVrDesconto, 0);
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages().back().find("Ao gerar 100 pontos o consumidor ganha R$ 5,00"), std::string::npos);
  EXPECT_NE(Messages().back().find("Maria da Silva"), std::string::npos);

  WillAnswer(true);
  ASSERT_TRUE(campaigns().DescontoVendaFidelidade());
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 11.99);
  EXPECT_EQ(sale().stPontosFidelidade, "239");
  EXPECT_EQ(sale().stVrDescFidelidade, "11,99");

  // A consumer without points is offered nothing.
  BuildParts(&answers_);
  sale().doVrDesconto = 0;
  Items({OnTab(Item("1001", 12, "01", 1, "0003"), "0100")});
  EXPECT_FALSE(campaigns().DescontoVendaFidelidade());
  EXPECT_EQ(sale().doVrDesconto, 0);
}

TEST_F(LoyaltyCampaignsTest, TheLoyaltyBalancePaysADiscountWhenTheServiceAnswers) {
  Items({Item("1001", 100, "01")});
  sale().boTelefoneSolicitado = true;  // the telephone was asked already
  campaigns().DescontoSaldoFidelidade();
  EXPECT_TRUE(ShownWith("servidor de fidelidade"));
  EXPECT_EQ(sale().doVrDesconto, 0);

  // A balance of another campaign is no balance.
  Host().Script("FidelidadeOnline:CONSULTA_SALDO", {true, Balances("CAMP-X", 25)});
  Host().Script("FidelidadeOnline:CONSULTA_SALDO", {true, Balances("CAMP-S", 25)});
  EXPECT_FALSE(campaigns().DescontoSaldoFidelidade());
  EXPECT_TRUE(ShownWith("não possui saldo de fidelidade"));
  WillAnswer(true);
  ASSERT_TRUE(campaigns().DescontoSaldoFidelidade());
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 25);
  EXPECT_EQ(sale().stIdDescFidelidade, "S");
  EXPECT_EQ(sale().stCdCampanha, "CAMP-S");
  EXPECT_NE(Messages().back().find("Maria da Silva possui saldo de fidelidade de R$ 25,00"), std::string::npos);
}

TEST_F(LoyaltyCampaignsTest, TheFirstTenderOffersTheLoyaltyDiscountsOnceWhereTheStoreRunsItsLoyalty) {
  Items({OnTab(Item("1001", 12, "01"), "0100")});
  controls().Press("tcbBalcao01");  // the store's loyalty is not in use
  EXPECT_TRUE(Messages().empty());

  par().stIDEXTCONSONLINE = "S";
  par().stIDUTILFIDUDS = "S";  // UDS is the branch's loyalty
  controls().Press("tcbBalcao01");
  EXPECT_TRUE(Messages().empty());

  par().stIDUTILFIDUDS = "N";
  WillAnswer(false);
  controls().Press("tcbBalcao01");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages().back().find("Maria da Silva"), std::string::npos);
  controls().Press("tcbBalcao01");
  EXPECT_EQ(Messages().size(), 1u) << "declined once, not asked at every tender";

  // Discarded payments offer it again; accepted, it is the sale's discount.
  campaigns().PaymentsDiscarded();
  WillAnswer(true);
  controls().Press("tcbBalcao01");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 11.99);
  EXPECT_EQ(sale().stIdDescFidelidade, "E");
}

TEST_F(LoyaltyCampaignsTest, WithoutPointsTheFirstTenderOffersTheLoyaltyBalance) {
  Items({Item("1001", 100, "01", 1, "0003")});
  par().stIDEXTCONSONLINE = "S";
  par().stCDURLFIDONLINE = "https://fidelidade.example/";
  sale().boTelefoneSolicitado = true;
  Host().Script("FidelidadeOnline:CONSULTA_SALDO", {true, Balances("CAMP-S", 25)});
  WillAnswer(true);
  controls().Press("tcbBalcao01");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 25);
  EXPECT_EQ(sale().stIdDescFidelidade, "S");
  EXPECT_EQ(sim_->Record().CountOf("FidelidadeOnline"), 1u);
  controls().Press("tcbBalcao01");
  EXPECT_EQ(sim_->Record().CountOf("FidelidadeOnline"), 1u) << "once a sale";
}

}  // namespace
}  // namespace recebimento::testing
