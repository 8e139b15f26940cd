// The store's consumer balances on both engines: the family check of a personal-credit
// sale with its loans, the running balances of the statement and the debit account, also
// with several registers booking one consumer at once.
#include <gtest/gtest.h>

#include <fmt/format.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "base/data_packet.h"
#include "datamodule/catalogue_support.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::DataPacket;
using base::DateTime;
using base::Variant;
using datamodule::ConsumerBalanceError;

class ConsumerBalancesTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    rdm().SetClock(&clock_);
  }

  // What a sale draws, family by family.
  static Variant Draws(const std::map<std::string, double>& draws) {
    DataPacket p;
    p.fields = {{"CDFAMILISALD", base::FieldType::String, 4}, {"VRSALDCONFAM", base::FieldType::Float, 0}};
    for (const auto& [family, amount] : draws) p.rows.push_back({Variant(family), Variant(amount)});
    return Variant(p);
  }

  // The check of consumer 0001 at register 001; the loans, or the refusal's text.
  Variant Check(const std::map<std::string, double>& draws, const std::string& central = "N") {
    return rdm().setValidaSaldoCons("0001", "001", "000001", "0001", "N", "", central, Draws(draws),
                                    DateTime::FromYMD(2026, 12, 6, 7));
  }
  std::string Refusal(const std::map<std::string, double>& draws) {
    try {
      Check(draws);
    } catch (const ConsumerBalanceError& e) {
      return e.what();
    }
    return "<accepted>";
  }

  void Balance(const std::string& family, double value) {
    Exec(
        fmt::format("UPDATE SALDOCONS SET VRSALDCONFAM = {} WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001' "
                    "AND CDFAMILISALD = '{}'",
                    value, family));
  }
  double Number(const std::string& sql) {
    const datamodule::Statement q{"q", sql, {}, {{"V", base::FieldType::Float}}};
    return datamodule::FirstValue(store().admin().Query(q), "V").AsFloat();
  }
  static std::string Text(const DataPacket& p, size_t row, const std::string& column) {
    return p.rows.at(row).at(static_cast<size_t>(p.FieldIndex(column))).AsString();
  }
  static double Amount(const DataPacket& p, size_t row, const std::string& column) {
    return p.rows.at(row).at(static_cast<size_t>(p.FieldIndex(column))).AsFloat();
  }

  base::VirtualClock clock_{DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
};

TEST_P(ConsumerBalancesTest, DailyCapsRefuseWhatGoesBeyondThemAndAZeroCapRefusesAll) {
  // The consumer's own cap of the food family is 60: reached exactly it passes.
  EXPECT_TRUE(Check({{"01", 60}}).AsPacket().rows.empty());
  EXPECT_EQ(Refusal({{"01", 60.01}}), "ERRO_1 01 - Alimentação@@60==0@@60,01");
  Exec("UPDATE FAMSALDOFILI SET VRCONSDIAFAM = 0 WHERE CDFILIAL = '0001' AND CDFAMILISALD = '02'");
  EXPECT_EQ(Refusal({{"02", 0.5}}), "ERRO_3 02 - Combustível");
  // Today's sales count against the cap; credits without a deposit give some back.
  Exec(
      "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, "
      "VRMOVEXTCONS) VALUES ('000001', '0001', '01', '2026-12-06 09:00:00', '001', 'V', 50)");
  Exec(
      "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, "
      "VRMOVEXTCONS) VALUES ('000001', '0001', '01', '2026-12-06 10:00:00', '001', 'C', 5)");
  EXPECT_EQ(Refusal({{"01", 15.01}}), "ERRO_1 01 - Alimentação@@60==45@@15,01");
  EXPECT_TRUE(Check({{"01", 15}}).AsPacket().rows.empty());
}

TEST_P(ConsumerBalancesTest, AShortfallIsLentWhollyByTheNearestEarlierFamily) {
  Balance("02", 50);
  const DataPacket loans = Check({{"02", 80}}).AsPacket();
  ASSERT_EQ(loans.rows.size(), 2u);
  EXPECT_EQ(Text(loans, 0, "CDFAMILISALD"), "01");
  EXPECT_EQ(Text(loans, 0, "IDTPMOVEXT"), "D");
  EXPECT_EQ(Text(loans, 0, "DSOPEEXTCONS"), "ZEM - Debito Oper.Interna");
  EXPECT_DOUBLE_EQ(Amount(loans, 0, "VRMOVEXTCONS"), 30);
  EXPECT_DOUBLE_EQ(Amount(loans, 0, "VRSALDCONEXT"), 90.5);
  EXPECT_EQ(Text(loans, 1, "CDFAMILISALD"), "02");
  EXPECT_EQ(Text(loans, 1, "IDTPMOVEXT"), "C");
  EXPECT_DOUBLE_EQ(Amount(loans, 1, "VRSALDCONEXT"), 80);
  EXPECT_EQ(Text(loans, 0, "CDTIPORECE"), "020");  // the internal debit tender
  EXPECT_EQ(Text(loans, 0, "NRSEQMOVEXT"), "001");
  EXPECT_EQ(Text(loans, 0, "CDCAIXA"), "001");

  // A family the sale draws from itself lends only what the sale leaves of it.
  Exec("UPDATE RALIMENT SET VRCONSDIARAL = 200 WHERE CDCONSUMIDOR = '0001' AND CDFAMILISALD = '01'");
  EXPECT_EQ(Refusal({{"01", 100}, {"02", 80}}), "ERRO_202 - Combustível");
  // Two families short in one sale: two loans of the same lender, numbered apart.
  Exec("UPDATE FAMSALDOFILI SET IDSALDNEGFAM = 'N' WHERE CDFILIAL = '0001' AND CDFAMILISALD = '03'");
  Balance("03", 0);
  const DataPacket two = Check({{"02", 60}, {"03", 20}}).AsPacket();
  ASSERT_EQ(two.rows.size(), 4u);
  EXPECT_EQ(Text(two, 0, "NRSEQMOVEXT"), "001");
  // "02" comes nearer to "03" but the sale takes all it has: "01" lends again.
  EXPECT_EQ(Text(two, 2, "CDFAMILISALD"), "01");
  EXPECT_EQ(Text(two, 2, "NRSEQMOVEXT"), "002");
  EXPECT_EQ(Text(two, 3, "CDFAMILISALD"), "03");
}

TEST_P(ConsumerBalancesTest, NegativeFamiliesNeverBorrowAndLendWithoutAsking) {
  // The convenience family may go below zero: it draws past its balance without a loan.
  EXPECT_TRUE(Check({{"03", 40}}).AsPacket().rows.empty());
  // Two earlier families could cover the shortfall together, but a loan is one family's.
  Exec("UPDATE FAMSALDOFILI SET IDSALDNEGFAM = 'N' WHERE CDFILIAL = '0001' AND CDFAMILISALD = '03'");
  Balance("01", 20);
  Balance("02", 20);
  Balance("03", 0);
  EXPECT_EQ(Refusal({{"03", 30}}), "ERRO_203 - Conveniência");
  // A lender allowed below zero lends the whole shortfall whatever its balance.
  Exec("UPDATE FAMSALDOFILI SET IDSALDNEGFAM = 'S' WHERE CDFILIAL = '0001' AND CDFAMILISALD = '02'");
  const DataPacket loans = Check({{"03", 30}}).AsPacket();
  ASSERT_EQ(loans.rows.size(), 2u);
  EXPECT_EQ(Text(loans, 0, "CDFAMILISALD"), "02");
  EXPECT_DOUBLE_EQ(Amount(loans, 0, "VRSALDCONEXT"), -10);
}

TEST_P(ConsumerBalancesTest, ALenderKeepsTheConsumersFloorAndTheCentralMustAnswer) {
  // The consumer's credit floor is -50: lending 60 of an empty family would pass it.
  Exec("UPDATE FAMSALDOFILI SET IDSALDNEGFAM = 'S' WHERE CDFILIAL = '0001' AND CDFAMILISALD = '01'");
  Balance("01", 0);
  Balance("02", 20);
  EXPECT_EQ(Refusal({{"02", 80}}), "ERRO_5 01 - Alimentação@@-50==0@@60");
  EXPECT_THROW(Check({{"02", 10}}, "S"), ConsumerBalanceError);
  try {
    Check({{"02", 10}}, "S");
  } catch (const ConsumerBalanceError& e) {
    EXPECT_STREQ(e.what(), "EXTCONSCENTRAL_ERRO");
  }
}

TEST_P(ConsumerBalancesTest, TheStatementCarriesRunningBalancesAndEvolvingTwiceChangesNothing) {
  Exec(
      "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, "
      "VRMOVEXTCONS) VALUES ('000001', '0001', '01', '2026-12-06 09:00:00', '001', 'V', 20.5)");
  Exec(
      "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, "
      "VRMOVEXTCONS) VALUES ('000001', '0001', '01', '2026-12-06 09:00:00', '002', 'C', 0.3)");
  for (int run = 0; run < 2; ++run) {
    rdm().EvoluiSaldo("0001", "000001", "0001", DateTime::FromYMD(2026, 12, 1));
    EXPECT_NEAR(Number("SELECT VRSALDCONFAM AS V FROM SALDOCONS WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001' "
                       "AND CDFAMILISALD = '01'"),
                100.3, 1e-9);
    EXPECT_NEAR(Number("SELECT VRSALDCONEXT AS V FROM EXTRATOCONS WHERE CDFAMILISALD = '01' AND NRSEQMOVEXT = '001' "
                       "AND DTMOVEXTCONS >= '2026-12-06 00:00:00'"),
                100.0, 1e-9);
  }
  // Families without a statement keep the balance they were given.
  EXPECT_NEAR(Number("SELECT VRSALDCONFAM AS V FROM SALDOCONS WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001' "
                     "AND CDFAMILISALD = '02'"),
              300, 1e-9);
}

// A register books a movement and brings the balances up to date in one transaction;
// another register's update of the same consumer waits for it and counts that movement.
TEST_P(ConsumerBalancesTest, ABalanceUpdateWaitsForTheRegisterBookingTheSameConsumer) {
  rdm().StartTrans();
  rdm().adcRecebimento().Execute(datamodule::Statement{
      "sale",
      "INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, NRSEQMOVEXT, IDTPMOVEXT, "
      "VRMOVEXTCONS) VALUES ('000001', '0001', '01', '2026-12-06 10:00:00', '001', 'V', 20)"});
  rdm().EvoluiSaldo("0001", "000001", "0001", DateTime::FromYMD(2026, 12, 6));
  std::string failure;
  std::thread other([&] {
    try {
      datamodule::TrdmRecebimento second(store().connection());
      second.EvoluiSaldo("0001", "000001", "0001", DateTime::FromYMD(2026, 12, 6));
    } catch (const std::exception& e) {
      failure = e.what();
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  rdm().CommitTrans();
  other.join();
  EXPECT_EQ(failure, "");
  EXPECT_NEAR(Number("SELECT VRSALDCONFAM AS V FROM SALDOCONS WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001' "
                     "AND CDFAMILISALD = '01'"),
              100.5, 1e-9);
}

// Several registers each book movements of one consumer and bring the balances up to
// date at the same moment: whatever the order, every movement is in the balance.
TEST_P(ConsumerBalancesTest, RegistersBookingOneConsumerAtOnceLoseNoMovement) {
  constexpr int kRegisters = 6, kEach = 5;
  std::vector<std::thread> registers;
  std::vector<std::string> failures(kRegisters);
  for (int r = 0; r < kRegisters; ++r) {
    registers.emplace_back([&, r] {
      try {
        datamodule::TrdmRecebimento mine(store().connection());
        base::VirtualClock clock(DateTime::FromYMD(2026, 12, 6, 12));
        mine.SetClock(&clock);
        for (int m = 0; m < kEach; ++m) {
          const int n = r * 10 + m;
          const std::string when = fmt::format("2026-12-06 10:{:02d}:{:02d}", r, m);
          const datamodule::Statement sale{
              "sale", fmt::format("INSERT INTO EXTRATOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, DTMOVEXTCONS, "
                                  "NRSEQMOVEXT, IDTPMOVEXT, VRMOVEXTCONS) VALUES ('000001', '0001', '01', '{}', "
                                  "'001', 'V', 1.01)",
                                  when)};
          const datamodule::Statement debit{
              "debit", fmt::format("INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, "
                                   "IDTIPMOCVLI, VRMOVCLI) VALUES ('000001', {}, '0001', '{}', 'D', 2.02)",
                                   100 + n, when)};
          mine.adcRecebimento().Execute(sale);
          mine.adcRecebimento().Execute(debit);
          mine.EvoluiSaldo("0001", "000001", "0001", DateTime::FromYMD(2026, 12, 6));
          mine.setAtualizaDebCons("0001", "000001", "0001", DateTime::FromYMD(2026, 12, 6), "OP" + std::to_string(r));
        }
      } catch (const std::exception& e) {
        failures[static_cast<size_t>(r)] = e.what();
      }
    });
  }
  for (auto& t : registers) t.join();
  for (const auto& f : failures) EXPECT_EQ(f, "");

  const double movements = kRegisters * kEach;
  EXPECT_NEAR(Number("SELECT VRSALDCONFAM AS V FROM SALDOCONS WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001' "
                     "AND CDFAMILISALD = '01'"),
              120.5 - movements * 1.01, 1e-9);
  // The last movement of the day carries the same balance, and the debit account too.
  EXPECT_NEAR(Number("SELECT VRSALDCONEXT AS V FROM EXTRATOCONS WHERE DTMOVEXTCONS = '2026-12-06 10:05:04'"),
              120.5 - movements * 1.01, 1e-9);
  EXPECT_NEAR(Number("SELECT VRSALDOCONS AS V FROM MOVICLIE WHERE NRSEQMOVCLIE = 154"), 464.1 - movements * 2.02, 1e-9);
  EXPECT_EQ(Number("SELECT COUNT(*) AS V FROM MOVICLIE WHERE DTMOVCLI IS NULL"), 0) << "every debit was booked";
  // Every movement carries the balance after it, in the order of the movements.
  auto running = [&](const std::string& sql, double start, double each) {
    const datamodule::Statement q{"q", sql, {}, {{"V", base::FieldType::Float}}};
    const base::DataPacket rows = store().admin().Query(q);
    double expected = start;
    for (const auto& row : rows.rows) {
      expected -= each;
      EXPECT_NEAR(row[0].AsFloat(), expected, 1e-9);
    }
    EXPECT_EQ(rows.rows.size(), static_cast<size_t>(movements));
  };
  running(
      "SELECT VRSALDCONEXT AS V FROM EXTRATOCONS WHERE CDFAMILISALD = '01' AND IDTPMOVEXT = 'V' "
      "AND DTMOVEXTCONS >= '2026-12-06 00:00:00' ORDER BY DTMOVEXTCONS, NRSEQMOVEXT",
      120.5, 1.01);
  running("SELECT VRSALDOCONS AS V FROM MOVICLIE WHERE NRSEQMOVCLIE >= 100 ORDER BY DTMOVIMCLIE, NRSEQMOVCLIE", 464.1,
          2.02);
  const base::DataPacket shown = rdm().getSaldoCons("000001", "0001").AsPacket();
  EXPECT_NEAR(Amount(shown, 0, "VRSALDOCONS"), 464.1 - movements * 2.02, 1e-9);
}

RECEBIMENTO_BOTH_ENGINES(ConsumerBalancesTest);

}  // namespace
}  // namespace recebimento::testing
