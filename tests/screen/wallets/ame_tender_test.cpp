// The AME tender on the screen: the order for the typed amount, its QR code printed, at
// most five authorisation queries 5 s apart, the line with the order; one AME payment a
// sale; the payment captured when the sale closes, cancelled when it is left or cleared.
#include <gtest/gtest.h>

#include "base/dataset_columns.h"
#include "host/runtime/base64.h"
#include "screen/frame/message_table.h"
#include "screen/support/wallet_tender_fixture.h"

namespace recebimento::testing {
namespace {

using AmeTender = WalletTenderTest;

TEST_F(AmeTender, PaysTheTypedAmountOnceTheConsumerAuthorises) {
  ame_.AuthoriseOnQuery(2);
  const int64_t start = clock_.TickMs();
  Pay("010", "10,00");
  ASSERT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"010", 10.0}}));
  movi_.First();
  EXPECT_EQ(base::ColumnText(movi_, "IDTRANSAME"), "ord-1");
  EXPECT_EQ(sale().doVrAPagar, 90.0);
  EXPECT_EQ(clock_.TickMs() - start, 10000) << "two queries, each 5 s after the one before";
  EXPECT_EQ(ame_.CallbackQueries(), 2);

  // Homologation: its own credentials, and a base without "/api".
  EXPECT_EQ(ame_.Server().Requests().front().Header("Authorization"),
            "Basic " + runtime::encodeBase64("hom-id:hom-s3cr3t"));
  EXPECT_EQ(ame_.Server().Requests().front().path, "/api/auth/oauth/token");
  ASSERT_EQ(ame_.OrderBodies().size(), 1u);
  EXPECT_NE(ame_.OrderBodies()[0].find("\"amount\":1000,"), std::string::npos);
  EXPECT_NE(ame_.OrderBodies()[0].find("\"cashbackAmountValue\":50,"), std::string::npos);
  const auto printed = sim_->Record().CallsOf("ImprimeQRCodeAME");
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].args[0].AsString(), "2");
  EXPECT_EQ(printed[0].args[1].AsString(), "https://ame.test/qr/ord-1");
  EXPECT_TRUE(Shown(screen::Msg("SOLCONSLEIQR")));
  EXPECT_TRUE(Shown(screen::Msg("QRCODDELIDO")));

  for (const char* secret : {"hom-s3cr3t", "prod-s3cr3t", "tok-ame-7f3a9c"})
    EXPECT_FALSE(LoggedAnywhere(secret)) << secret;
  EXPECT_TRUE(LoggedAnywhere("Busca Callback AME"));

  parts().selection.DoMenuRecebimentoClick("010", "");  // refused before any amount
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_TRUE(Shown(screen::Msg("AME_JA")));
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(AmeTender, AnAuthorisationThatNeverComesEndsAfterFiveQueries) {
  ame_.AuthoriseOnQuery(0);
  const int64_t start = clock_.TickMs();
  Pay("010", "10,00");
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(ame_.CallbackQueries(), 5);
  EXPECT_EQ(clock_.TickMs() - start, 25000);
  EXPECT_TRUE(Shown(screen::Msg("QRCODENLIDO")));
  EXPECT_FALSE(parts().wallets.Ame().boPagouAme);

  // A callback service that fails counts as not yet authorised, no more.
  ame_.Override(FakeAme::kCallback, ServerError());
  Pay("010", "10,00");
  EXPECT_EQ(ame_.CallbackQueries(), 10);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(AmeTender, FailuresBeforeThePaymentRefuseTheTenderWithTheirMessage) {
  ame_.Override(FakeAme::kToken, ServerError());
  parts().selection.DoMenuRecebimentoClick("010", "");  // refused before any amount
  EXPECT_TRUE(Shown(screen::Msg("IMPCONAME")));
  ame_.Override(FakeAme::kToken, std::nullopt);
  ame_.Override(FakeAme::kOrder, MalformedJson());
  Pay("010", "10,00");
  EXPECT_TRUE(Shown(screen::Msg("NORDEMAME")));
  ame_.Override(FakeAme::kOrder, std::nullopt);
  ame_.OrderWithoutLink(true);
  Pay("010", "10,00");
  EXPECT_TRUE(Shown(screen::Msg("QRCODENGERADO")));
  EXPECT_EQ(sim_->Record().CountOf("ImprimeQRCodeAME"), 0u);
  EXPECT_EQ(Pending(), 0u);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(ame_.CallbackQueries(), 0);

  // A printer that cannot print the QR code: nobody can pay it.
  ame_.OrderWithoutLink(false);
  config_.services.answers["ImprimeQRCodeAME"].push_back({false, {}});
  BuildParts(&answers_);
  BindButtons();
  parts().wallets.LoadSettings();
  Pay("010", "10,00");
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(sim_->Record().CountOf("ImprimeQRCodeAME"), 1u);
  EXPECT_EQ(ame_.CallbackQueries(), 0);
  EXPECT_EQ(Pending(), 0u) << "a QR code nobody saw holds nothing";
}

TEST_F(AmeTender, ABranchWithoutAnEnvironmentAsksNobody) {
  StoreSetting("IDAMBIENTEAME = NULL");
  EXPECT_TRUE(parts().wallets.AmeSettings().IsEmpty());
  parts().selection.DoMenuRecebimentoClick("010", "");
  EXPECT_TRUE(Shown(screen::Msg("IMPCONAME")));
  EXPECT_EQ(ame_.Server().RequestCount(), 0u);
}

TEST_F(AmeTender, TheCloseCapturesTheAuthorisedPaymentAndRecordsItOnTheLine) {
  Pay("010", "10,00");
  ASSERT_EQ(Pending(), 1u) << "an authorised payment the sale holds";
  parts().wallets.SaleRecorded();
  EXPECT_EQ(parts().wallets.Journal()->Entries()[0].phase, "sale");
  EXPECT_TRUE(parts().wallets.CaptureAtClose());
  EXPECT_EQ(ame_.Captured(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_TRUE(ame_.Cancelled().empty());
  EXPECT_EQ(Pending(), 0u);
  movi_.First();
  EXPECT_EQ(base::ColumnText(movi_, "IDTRANSAME"), "ord-1");
}

TEST_F(AmeTender, LeavingOrClearingTheSaleCancelsThePayment) {
  Pay("010", "10,00");
  parts().wallets.RefundClearedPayments();
  EXPECT_EQ(ame_.Cancelled(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_EQ(Pending(), 0u);
  EXPECT_FALSE(parts().wallets.Ame().boPagouAme) << "the cleared sale may pay with AME again";

  Pay("010", "10,00");
  parts().wallets.CancelPendingAmeOrder();
  EXPECT_EQ(ame_.Cancelled().size(), 2u);
  EXPECT_TRUE(ame_.Captured().empty());

  // The exit of a sale that also paid by card, with no card transaction left pending.
  ame_.AuthoriseOnQuery(1);
  Pay("010", "10,00");
  sale().inQtdeTef = 1;
  controls().SetEnabled("sbt1", false);  // no typed amount for Escape to drop first
  parts().exit.Leave();
  EXPECT_TRUE(window_.Closed());
  EXPECT_EQ(ame_.Cancelled().size(), 3u);
  EXPECT_EQ(Pending(), 0u);
}

TEST_F(AmeTender, ACancelThatFailsLeavesThePaymentForTheNextStart) {
  Pay("010", "10,00");
  ame_.Override(FakeAme::kCancel, ServerError());
  parts().wallets.CancelPendingAmeOrder();
  ASSERT_EQ(Pending(), 1u);
  ame_.Override(FakeAme::kCancel, std::nullopt);

  // A start whose token request is refused by a reply that quotes the credentials: the
  // settlement's line says why, and no file under the host folder holds them in clear.
  ame_.Override(FakeAme::kToken, FakeReply(401, R"({"error":"invalid_client","client_secret":"echo-cl13nt-s3cr3t",)"
                                                R"("access_token":"echo-4cc3ss-t0k3n"})"));
  parts().wallets.LoadSettings();
  ASSERT_EQ(Pending(), 1u);
  EXPECT_TRUE(LoggedAnywhere("fica para a próxima abertura"));
  for (const char* secret : {"echo-cl13nt-s3cr3t", "echo-4cc3ss-t0k3n"})
    EXPECT_TRUE(FilesUnderHostHolding(secret).empty()) << secret;
  ame_.Override(FakeAme::kToken, std::nullopt);
  parts().wallets.LoadSettings();  // the next start
  EXPECT_EQ(ame_.Cancelled(), std::vector<std::string>{"pay-ord-1"});
  EXPECT_EQ(Pending(), 0u);
}

}  // namespace
}  // namespace recebimento::testing
