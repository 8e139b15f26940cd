// Sale, NFC-e and external numbers with their day counters, on both engines.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "base/clock.h"
#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::DateTime;
using base::Variant;

class SaleNumbersTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    rdm().SetClock(&clock_);
  }

  // The counter's value, or "<none>".
  std::string Counter(const std::string& key) {
    const datamodule::Statement q{"q", "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR = :P_K"};
    const Variant v = datamodule::FirstValue(store().admin().Query(q, {{"P_K", key}}), "NRSEQUENCIAL");
    return v.IsNull() ? "<none>" : v.AsString();
  }

  long long Count(const std::string& sql) {
    const datamodule::Statement q{"q", sql, {}, {{"N", base::FieldType::Integer}}};
    return datamodule::FirstValue(store().admin().Query(q), "N").AsInteger();
  }

  base::VirtualClock clock_{DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
};

TEST_P(SaleNumbersTest, SaleNumberRecordsTheFirstOfTheDayOnce) {
  // The demo register 001 already has sale 0000000001.
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000002");
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "C").AsString(), "0000000003");
  EXPECT_EQ(Counter("VENDAVISTAPRIM000100106/12/2026"), "0000000002");
  clock_.Set(DateTime::FromYMD(2026, 12, 7, 8, 0, 0));
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000004");
  EXPECT_EQ(Counter("VENDAVISTAPRIM000100107/12/2026"), "0000000004");
  EXPECT_EQ(Counter("VENDAVISTAPRIM000100106/12/2026"), "0000000002");
}

TEST_P(SaleNumbersTest, FirstReceiptOfTheDayIsKeptLeftAlignedAndNeverReplaced) {
  const DateTime day = DateTime::FromYMD(2026, 12, 6);
  EXPECT_EQ(rdm().setGravaCupomInicial("0001", "001", "4711", day), "");
  EXPECT_EQ(rdm().setGravaCupomInicial("0001", "001", "4712", day), "");
  EXPECT_EQ(Counter("CUPINICIAL000100106/12/2026"), "4711      ");
  EXPECT_EQ(Counter("CUPINICIAL000100206/12/2026"), "<none>");
}

TEST_P(SaleNumbersTest, NfceNumberWithItsDayCounterAndSetAside) {
  EXPECT_EQ(rdm().setNumeroNFCe("0001", "001", "1", "2", false).AsString(), "1");
  EXPECT_EQ(rdm().setNumeroNFCe("0001", "001", "1", "2", true).AsString(), "2");
  EXPECT_EQ(Counter("NFCE-PRIM_00011-06/12/2026_TpAmb2"), "1");
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM INUTILIZANFCE WHERE CDFILIAL = '0001' AND CDCAIXA = '001' "
                  "AND NRNOTAFISCALCE = '2' AND NRSERIENFCE = '1' AND IDTPAMBNFCE = '2' AND IDSTATUSINUT = 'P'"),
            1);
  // Number 1 went to a sale: it waits in the same table, reserved, until the sale is recorded.
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM INUTILIZANFCE WHERE NRNOTAFISCALCE = '1' AND IDSTATUSINUT = 'P'"), 1);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM INUTILIZANFCE"), 2);
}

TEST_P(SaleNumbersTest, FailedSetAsideSpendsNoNumberAndCreatesNoCounter) {
  // Number 1 already set aside: recording it again breaks the table's key.
  Exec(
      "INSERT INTO INUTILIZANFCE (CDFILIAL, CDCAIXA, NRNOTAFISCALCE, NRSERIENFCE, IDTPAMBNFCE, IDSTATUSINUT) "
      "VALUES ('0001', '001', '1', '1', '2', 'P')");
  const Variant failed = rdm().setNumeroNFCe("0001", "001", "1", "2", true);
  EXPECT_NE(failed.AsString().find("Erro no banco de dados"), std::string::npos) << failed.AsString();
  EXPECT_FALSE(rdm().InTransaction());
  EXPECT_EQ(Counter("NFCE-PRIM_00011-06/12/2026_TpAmb2"), "<none>");
  // A number set aside is never given to a sale.
  EXPECT_EQ(rdm().setNumeroNFCe("0001", "001", "1", "2", false).AsString(), "2");
}

TEST_P(SaleNumbersTest, ExternalNumbersRunThroughTheRangeAndStopAtItsEnd) {
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0098", "0100").AsString(), "0098");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0098", "0100").AsString(), "0099");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0098", "0100").AsString(), "0100");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0098", "0100").AsString(), "CUPINV");
  EXPECT_EQ(std::stoll(Counter("VENDACOLOMBIA0001001")), 100);
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0098", "0100").AsString(), "CUPINV");
  EXPECT_EQ(std::stoll(Counter("VENDACOLOMBIA0001001")), 100);
  // A counter left below a new range jumps to its first number.
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0500", "0900").AsString(), "0500");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0500", "0900").AsString(), "0501");
}

TEST_P(SaleNumbersTest, NewExternalCounterContinuesAfterTheRegistersLastNumber) {
  Exec(
      "INSERT INTO VENDA (CDFILIAL, CDCAIXA, NRSEQVENDA, NRVENDAEXT) VALUES ('0001', '002', '0000000007', 'SETP0041')");
  Exec(
      "INSERT INTO VENDA (CDFILIAL, CDCAIXA, NRSEQVENDA, NRVENDAEXT) VALUES ('0001', '002', '0000000008', 'SETP0042')");
  Exec(
      "INSERT INTO VENDA (CDFILIAL, CDCAIXA, NRSEQVENDA, NRVENDAEXT) VALUES ('0001', '002', '0000000009', 'OTRO0077')");
  // 0042 is already on a sale: the register goes on with 0043, never 0042 again.
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "002", "SETP", "0001", "9999").AsString(), "0043");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "002", "SETP", "0001", "9999").AsString(), "0044");
}

TEST_P(SaleNumbersTest, ImpossibleRangeIsAnErrorText) {
  const Variant v = rdm().getPrxVendaColombia("0001", "001", "SETP", "0100", "0050");
  EXPECT_NE(v.AsString().find("inválida"), std::string::npos) << v.AsString();
  EXPECT_NE(rdm().getPrxVendaColombia("0001", "001", "SETP", "", "0050").AsString().find("inválida"),
            std::string::npos);
  EXPECT_EQ(Counter("VENDACOLOMBIA0001001"), "<none>");
}

// Registers creating the same day's counter at the same moment: each one succeeds, the
// first creation is the one kept, and every register got a number of its own.
TEST_P(SaleNumbersTest, RegistersCreatingTheSameDayCounterAtOnceAllSucceed) {
  constexpr int kRegisters = 6;
  std::vector<std::string> receipt_results(kRegisters), sale_numbers(kRegisters), external(kRegisters);
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kRegisters; ++t) {
    threads.emplace_back([&, t] {
      datamodule::TrdmRecebimento own(store().connection());
      own.SetClock(&clock_);
      own.Open();
      ++ready;
      while (ready.load() < kRegisters) std::this_thread::yield();
      receipt_results[t] =
          own.setGravaCupomInicial("0001", "002", std::to_string(100 + t), DateTime::FromYMD(2026, 12, 6));
      sale_numbers[t] = own.setNrVendaNFisc("0001", "002", "V").AsString();
      external[t] = own.getPrxVendaColombia("0001", "002", "SETP", "0001", "0999").AsString();
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kRegisters; ++t) EXPECT_EQ(receipt_results[t], "") << "register " << t;
  const std::string first_receipt = base::Trim(Counter("CUPINICIAL000100206/12/2026"));
  EXPECT_GE(std::stoi(first_receipt), 100);
  EXPECT_LT(std::stoi(first_receipt), 100 + kRegisters);

  const std::set<std::string> sales(sale_numbers.begin(), sale_numbers.end());
  ASSERT_EQ(sales.size(), static_cast<size_t>(kRegisters)) << sale_numbers[0];
  EXPECT_EQ(*sales.begin(), "0000000001");
  EXPECT_EQ(*sales.rbegin(), "0000000006");
  EXPECT_EQ(Counter("VENDAVISTAPRIM000100206/12/2026"), "0000000001");

  const std::set<std::string> externals(external.begin(), external.end());
  ASSERT_EQ(externals.size(), static_cast<size_t>(kRegisters)) << external[0];
  EXPECT_EQ(*externals.begin(), "0001");
  EXPECT_EQ(*externals.rbegin(), "0006");
}

RECEBIMENTO_BOTH_ENGINES(SaleNumbersTest);

}  // namespace
}  // namespace recebimento::testing
