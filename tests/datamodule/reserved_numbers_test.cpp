// Every number a register takes is recorded as reserved in the transaction that takes
// it, becomes used when its sale is recorded, and is reported while it stays reserved.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "datamodule/catalogue_support.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::DateTime;
using base::Variant;

class ReservedNumbersTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    rdm().SetClock(&clock_);
  }

  long long Count(const std::string& sql) {
    const datamodule::Statement q{"q", sql, {}, {{"N", base::FieldType::Integer}}};
    return datamodule::FirstValue(store().admin().Query(q), "N").AsInteger();
  }

  // "counter number" of each number the register still has reserved, oldest first.
  std::vector<std::string> StillReserved(const std::string& branch, const std::string& register_) {
    const Variant v = rdm().NumbersStillReserved(branch, register_);
    EXPECT_TRUE(v.IsPacket()) << v.AsString();
    std::vector<std::string> out;
    if (!v.IsPacket()) return out;
    const base::DataPacket& p = v.AsPacket();
    for (const auto& row : p.rows)
      out.push_back(row[p.FieldIndex("CDCONTADOR")].AsString() + " " + row[p.FieldIndex("NRRESERVADO")].AsString());
    return out;
  }

  base::VirtualClock clock_{DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
};

TEST_P(ReservedNumbersTest, EachKindOfNumberIsReservedUntilItsSaleIsRecorded) {
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000002");
  clock_.Advance(1000);
  EXPECT_EQ(rdm().setNumeroNFCe("0001", "001", "1", "2", false).AsString(), "1");
  clock_.Advance(1000);
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0001", "0100").AsString(), "0001");
  EXPECT_EQ(
      StillReserved("0001", "001"),
      (std::vector<std::string>{"PRXNFCE|0001|1|2 1", "PRXVENDA|0001|001 0000000002", "VENDACOLOMBIA0001001 SETP0001"}))
      << "the NFC-e number carries its day; the others their moment";
  EXPECT_TRUE(StillReserved("0001", "002").empty()) << "another register's numbers are its own";

  EXPECT_EQ(rdm().MarkNumberUsed("0001", "001", "0000000002"), "");
  EXPECT_EQ(rdm().MarkNumberUsed("0001", "001", "1"), "");
  EXPECT_EQ(rdm().MarkNumberUsed("0001", "001", "SETP0001"), "");
  EXPECT_TRUE(StillReserved("0001", "001").empty());
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM NUMERORESERVADO WHERE IDSTATUSRES = 'U' AND DTUSO IS NOT NULL"), 2);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM INUTILIZANFCE WHERE IDSTATUSINUT = 'U'"), 1);
  EXPECT_EQ(rdm().MarkNumberUsed("0001", "001", "0000000002"), "") << "marking twice changes nothing";
}

TEST_P(ReservedNumbersTest, NumbersRecordedBeforeArePassedOver) {
  // Numbers 3 and 4 of the register were handed out once already (a counter reset).
  Exec(
      "INSERT INTO NUMERORESERVADO (CDCONTADOR, NRRESERVADO, CDFILIAL, CDCAIXA, IDSTATUSRES) VALUES "
      "('PRXVENDA|0001|001', '0000000002', '0001', '001', 'U')");
  Exec(
      "INSERT INTO NUMERORESERVADO (CDCONTADOR, NRRESERVADO, CDFILIAL, CDCAIXA, IDSTATUSRES) VALUES "
      "('PRXVENDA|0001|001', '0000000003', '0001', '001', 'P')");
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000004");
  Exec(
      "INSERT INTO INUTILIZANFCE (CDFILIAL, CDCAIXA, NRNOTAFISCALCE, NRSERIENFCE, IDTPAMBNFCE, IDSTATUSINUT) "
      "VALUES ('0001', '001', '1', '1', '2', 'U')");
  EXPECT_EQ(rdm().setNumeroNFCe("0001", "001", "1", "2", false).AsString(), "2");
  Exec(
      "INSERT INTO NUMERORESERVADO (CDCONTADOR, NRRESERVADO, CDFILIAL, CDCAIXA, IDSTATUSRES) VALUES "
      "('VENDACOLOMBIA0001001', 'SETP0005', '0001', '001', 'U')");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0005", "0006").AsString(), "0006");
  EXPECT_EQ(rdm().getPrxVendaColombia("0001", "001", "SETP", "0005", "0006").AsString(), "CUPINV");
}

TEST_P(ReservedNumbersTest, NoNumberWithoutBranchAndRegister) {
  for (const Variant& v :
       {rdm().setNrVendaNFisc("", "001", "V"), rdm().setNrVendaNFisc("0001", " ", "C"),
        rdm().setNumeroNFCe("0001", "", "1", "2", false), rdm().getPrxVendaColombia("", "", "SETP", "0001", "0100")})
    EXPECT_NE(v.AsString().find("filial e o caixa"), std::string::npos) << v.AsString();
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM NOVOCODIGO"), 0) << "no counter under an empty branch or register";
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM NUMERORESERVADO"), 0);
}

// A failure after the number was taken takes the number back with its record.
TEST_P(ReservedNumbersTest, AFailedReservationLeavesNeitherNumberNorRecord) {
  // The day's first-number counter cannot be written: the whole reservation fails.
  Exec(GetParam() == Engine::SQLite
           ? "CREATE TRIGGER TRG_BLOQUEIO BEFORE INSERT ON NOVOCODIGO WHEN NEW.CDCONTADOR LIKE 'VENDAVISTAPRIM%' "
             "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"
           : "CREATE FUNCTION F_BLOQUEIO() RETURNS trigger AS $$ BEGIN IF NEW.CDCONTADOR LIKE 'VENDAVISTAPRIM%' THEN "
             "RAISE EXCEPTION 'bloqueado'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql");
  if (GetParam() == Engine::PostgreSQL)
    Exec("CREATE TRIGGER TRG_BLOQUEIO BEFORE INSERT ON NOVOCODIGO FOR EACH ROW EXECUTE FUNCTION F_BLOQUEIO()");
  const Variant failed = rdm().setNrVendaNFisc("0001", "001", "V");
  EXPECT_NE(failed.AsString().find("bloqueado"), std::string::npos) << failed.AsString();
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM NUMERORESERVADO"), 0);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM NOVOCODIGO"), 0);
  Exec("DROP TRIGGER TRG_BLOQUEIO" + std::string(GetParam() == Engine::PostgreSQL ? " ON NOVOCODIGO" : ""));
  EXPECT_EQ(rdm().setNrVendaNFisc("0001", "001", "V").AsString(), "0000000002") << "the number was not spent";
}

RECEBIMENTO_BOTH_ENGINES(ReservedNumbersTest);

}  // namespace
}  // namespace recebimento::testing
