// The loyalty programmes on the screen against fake services: the CRM Bonus offer before
// a tender, the ClubPetro points tender with its redemption at the close, and failures
// that leave no discount or payment and the screen usable.
#include <gtest/gtest.h>

#include "base/dataset_columns.h"
#include "datamodule/store_connection.h"
#include "screen/frame/message_table.h"
#include "screen/support/tender_selection_fixture.h"
#include "support/fake_loyalty_services.h"
#include "support/fake_wallet_services.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

class LoyaltyProgramsTest : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    const std::string store = SqliteStoreAt(dir_ / "loyalty.db", true);
    datamodule::StoreConnection admin([store] { return store; });
    admin.ExecuteRaw("UPDATE LOJA SET IDCRMBONUS = 'S', CDURLCRMBONUS = '" + crm_.Base() +
                     "', CDAUTHCRMBONUS = 'crm-auth-9f2', CDCODECRMBONUS = 'EMP01' WHERE CDFILIAL = '0001' AND "
                     "CDLOJA = '0001'");
    admin.ExecuteRaw("UPDATE LOJA SET IDUTLINTEGCOM = '" + gcom_in_use_ + "', CDBRANDIDGCOM = 'BR-1', CDURLGCOM = '" +
                     gcom_.Base() + "', IDTOKENAPIGCOM = 'gcom-t0k3n' WHERE CDFILIAL = '0001' AND CDLOJA = '0001'");
    admin.ExecuteRaw("UPDATE PARAVEND SET DSIDRESGS = 'cp-client', DSSENHARESGS = 'cp-s3cr3t', DSURLRAIZ = '" +
                     club_.TokenUrl() + "' WHERE CDFILIAL = '0001'");
    admin.Close();
    UseStore(store, &answers_);
    par().stCDFILIAL = "0001";
    par().stCDLOJA = "0001";
    par().stCDCAIXA = "001";
    AddTender("050", "PONTOS CLUBPETRO", "5", "", "");
    sale().stTelefoneCons = "11999990000";
  }

  bool Shown(const std::string& text) const {
    for (const auto& m : Messages())
      if (m.find(text) != std::string::npos) return true;
    return false;
  }

  FakeCrmBonus crm_;
  FakeClubPetro club_;
  FakeGcom gcom_;
  std::string gcom_in_use_ = "N";
};

// The confirmation asks the programmes that take money back from the consumer before
// anything is printed or recorded: a refusal keeps the sale open, and a second
// confirmation neither records the sale twice nor lets the benefit go untaken.
TEST_F(LoyaltyProgramsTest, ARefusedRedemptionKeepsTheSaleOpenWithNothingRecorded) {
  club_.Consumer("12345678909", "40.00");
  sale().stCpfClubPetro = "12345678909";
  WillAnswer(true);  // CONFIRMAPETRO
  Pay("050", "25,00");
  Pay("001", "75,00");
  club_.Override("consumo_ponto", ServerError());
  controls().Press("spbOk");
  EXPECT_TRUE(Shown(screen::Msg("ERROCLUBPETRO")));
  EXPECT_FALSE(sale().boVendaOk) << "nothing recorded while the points are not redeemed";
  EXPECT_FALSE(window_.Closed());
  EXPECT_TRUE(ctl("spbOk").enabled) << "the operator may confirm again";
  EXPECT_EQ(club_.SaleBodies().size(), 2u) << "consultation and the refused redemption; no sale report";

  club_.Override("consumo_ponto", std::nullopt);
  controls().Press("spbOk");
  EXPECT_TRUE(sale().boVendaOk);
  EXPECT_TRUE(window_.Closed());
  const auto bodies = club_.SaleBodies();
  ASSERT_EQ(bodies.size(), 4u);  // consultation, refused and taken redemptions, sale report
  EXPECT_NE(bodies[3].find("\"venda\""), std::string::npos);
  movi_.First();
  EXPECT_EQ(base::ColumnText(movi_, "CDINTRESGSALDO"), "AUT-7781");
}

TEST_F(LoyaltyProgramsTest, CrmReportsOnlyItsOwnBonusAsUsed) {
  crm_.Balance("10.00");
  WillAnswer(true);
  parts().programs.OffersBeforeTender();
  ASSERT_DOUBLE_EQ(sale().doVrDesconto, 10.0);
  parts().discounts.Apply(5);  // a coupon, say: not CRM's money
  parts().programs.ReportsAtClose();
  const auto bodies = BodiesTo(crm_.Server(), "/crm/bonusProcessing");
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_NE(bodies[0].find("<bonusUsed>10.00</bonusUsed>"), std::string::npos) << bodies[0];
}

class GcomAtConfirmationTest : public LoyaltyProgramsTest {
 protected:
  void SetUp() override {
    gcom_in_use_ = "S";
    LoyaltyProgramsTest::SetUp();
  }
};

TEST_F(GcomAtConfirmationTest, ARefusedReservationKeepsTheSaleOpenAndIsAskedAgain) {
  gcom_.Consumer("30.00", "0");
  crm_.Balance("0");  // CRM Bonus asks nothing
  WillAnswer(true);   // GCOM's balance
  parts().programs.OffersBeforeTender();
  ASSERT_DOUBLE_EQ(sale().doVrDesconto, 30.0);
  Pay("001", "70,00");
  gcom_.Override("/gcom/balanceReserve", ServerError());
  controls().Press("spbOk");
  EXPECT_TRUE(Shown(screen::Msg("N_RESERV_CASHBAC", screen::MessageComponent::msgPadrao2)));
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_FALSE(window_.Closed());

  gcom_.Override("/gcom/balanceReserve", std::nullopt);
  controls().Press("spbOk");
  EXPECT_TRUE(sale().boVendaOk) << "the reservation still owed was taken";
  EXPECT_EQ(BodiesTo(gcom_.Server(), "/gcom/balanceReserve").size(), 2u);
}

TEST_F(LoyaltyProgramsTest, CrmBalanceAboveTheTotalOffersTheTotalLessACentAUnit) {
  crm_.Balance("250.00");
  WillAnswer(true);
  parts().programs.OffersBeforeTender();
  EXPECT_TRUE(Shown("R$ 100")) << "the total, not the balance";
  EXPECT_EQ(sale().stUtilDescCrmBonus, "S");
  EXPECT_LT(sale().doVrDesconto, 100.0) << "the sale keeps a price";
  EXPECT_GT(sale().doVrAPagar, 0.0);
  parts().programs.OffersBeforeTender();
  EXPECT_EQ(BodiesTo(crm_.Server(), "/crm/getBalance").size(), 1u) << "asked once a sale";
}

TEST_F(LoyaltyProgramsTest, CrmBalanceOfZeroAsksNothingButCounts) {
  crm_.Balance("0");
  parts().programs.OffersBeforeTender();
  parts().programs.OffersBeforeTender();
  EXPECT_EQ(BodiesTo(crm_.Server(), "/crm/getBalance").size(), 1u);
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  EXPECT_EQ(sale().stUtilDescCrmBonus, "N");
}

TEST_F(LoyaltyProgramsTest, CrmFailuresApplyNothingAndAskAgainLater) {
  for (const FakeReply& bad : {ServerError(), EmptyReply(), FakeReply(200, "<root", "application/xml")}) {
    crm_.Override("/crm/getBalance", bad);
    parts().programs.OffersBeforeTender();
    EXPECT_EQ(sale().doVrDesconto, 0.0);
    EXPECT_EQ(sale().doVrAPagar, 100.0);
  }
  EXPECT_EQ(BodiesTo(crm_.Server(), "/crm/getBalance").size(), 3u);
  Pay("001", "100,00");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"001", 100.0}})) << "the screen goes on";
}

TEST_F(LoyaltyProgramsTest, ClubPetroPointsPayAndAreRedeemedAtTheClose) {
  club_.Consumer("12345678909", "40.00");
  sale().stCpfClubPetro = "12345678909";
  WillAnswer(true);  // CONFIRMAPETRO
  Pay("050", "25,00");
  ASSERT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"050", 25.0}}));
  EXPECT_DOUBLE_EQ(base::ColumnNumber(parts().programs.ClubPetro().cdsConsClubPetro, "VRRESGATE"), 25.0);

  parts().selection.DoMenuRecebimentoClick("050", "");
  EXPECT_TRUE(Shown(screen::Msg("CLUBPETRO_JAINF")));

  parts().programs.RedeemPointsAtClose();
  const auto bodies = club_.SaleBodies();
  ASSERT_EQ(bodies.size(), 3u);  // consultation, redemption, sale report
  EXPECT_NE(bodies[1].find("\"pontostotal\":\"25.00\""), std::string::npos);
  EXPECT_NE(bodies[2].find("\"venda\""), std::string::npos);
  movi_.First();
  EXPECT_EQ(base::ColumnText(movi_, "CDINTRESGSALDO"), "AUT-7781");
  EXPECT_EQ(base::ColumnText(movi_, "IDTIPORESGATE"), "O");
  EXPECT_EQ(base::ColumnText(movi_, "CDCONSRESGSALDO"), "C-12345678909");
  EXPECT_FALSE(base::ColumnText(movi_, "CDCNPJRESGSALDO").empty()) << "the branch's CNPJ";
  EXPECT_DOUBLE_EQ(base::ColumnNumber(movi_, "VRSALDORESTCP"), 12.5);
  EXPECT_TRUE(parts().programs.ClubPetro().cdsConsClubPetro.IsEmpty());
}

TEST_F(LoyaltyProgramsTest, ClubPetroFailuresTakeNoPointsAndLeaveTheGrid) {
  sale().stCpfClubPetro = "12345678909";
  club_.Override("Consulta", ServerError());
  WillAnswer(true);   // try again
  WillAnswer(false);  // give up
  parts().selection.DoMenuRecebimentoClick("050", "");
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(club_.SaleBodies().size(), 2u);

  club_.Override("Consulta", std::nullopt);  // unknown consumer, also as foreign document
  parts().selection.DoMenuRecebimentoClick("050", "");
  EXPECT_TRUE(Shown(screen::Msg("CLICLUBPETRO_NAO")));
  EXPECT_TRUE(Lines().empty());
  Pay("001", "100,00");
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(GcomAtConfirmationTest, TheOfferFollowsThePercentageTheRegistrationAndTheCentAUnit) {
  crm_.Balance("0");  // CRM Bonus asks nothing
  const auto offer = [this](const std::string& balance, const std::string& percentage, const std::string& status) {
    parts().programs.PaymentsCleared();
    sale().doVrDesconto = 0;
    parts().adjustments.AplicaDesconto();
    gcom_.Consumer(balance, percentage, status);
    WillAnswer(true);
    parts().programs.OffersBeforeTender();
  };
  offer("80.00", "10", "S");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 10.0) << "10 % of the sale, whatever the balance";

  offer("80.00", "0", "N");
  EXPECT_TRUE(Shown(screen::Msg("CLI_CAD_INCOM_GCOM", screen::MessageComponent::msgPadrao2)));
  EXPECT_EQ(sale().doVrDesconto, 0.0);

  offer("100.00", "0", "S");
  EXPECT_GE(sale().doVrAPagar, 0.01) << "every unit keeps a price";
  EXPECT_DOUBLE_EQ(sale().doVrDesconto + sale().doVrAPagar, 100.0);

  // A service that fails gives nothing and is asked again at the next tender.
  parts().programs.PaymentsCleared();
  sale().doVrDesconto = 0;
  parts().adjustments.AplicaDesconto();
  gcom_.Override("/gcom/getConsumerBalance", ServerError());
  parts().programs.OffersBeforeTender();
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  gcom_.Override("/gcom/getConsumerBalance", std::nullopt);
  gcom_.Consumer("20.00", "0");
  WillAnswer(true);
  parts().programs.OffersBeforeTender();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 20.0);
}

}  // namespace
}  // namespace recebimento::testing
