// A statement is prepared once per connection and run again with new values: every run
// must read what the store holds now, with the values of that run, and a statement that
// failed must not spoil the next run. Column types come from the schema as it is now.
#include <gtest/gtest.h>

#include "datamodule/catalogue_support.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::FieldType;
using base::Variant;
using datamodule::FirstValue;
using datamodule::Statement;
using datamodule::StoreConnection;

class PreparedStatementsTest : public StoreTest {
 protected:
  StoreConnection& c() { return rdm().adcRecebimento(); }
};

TEST_P(PreparedStatementsTest, OneStatementRunsAgainWithOtherValuesOfOtherKinds) {
  const Statement name{"name", "SELECT NMCONSUMIDOR FROM CONSUMIDOR WHERE CDCLIENTE = :C AND CDCONSUMIDOR = :K"};
  EXPECT_EQ(FirstValue(c().Query(name, {{"C", "000001"}, {"K", "0001"}}), "NMCONSUMIDOR").AsString(), "Maria da Silva");
  EXPECT_EQ(FirstValue(c().Query(name, {{"C", "000001"}, {"K", "0003"}}), "NMCONSUMIDOR").AsString(), "Ana Souza");
  EXPECT_TRUE(c().Query(name, {{"C", "000001"}, {"K", Variant::Null()}}).rows.empty()) << "null matches nothing";
  EXPECT_EQ(FirstValue(c().Query(name, {{"C", "000001"}, {"K", "0001"}}), "NMCONSUMIDOR").AsString(), "Maria da Silva")
      << "a value after a null is bound again";

  const Statement order{"order", "SELECT CDFAMILISALD FROM FAMSALDOFILI WHERE CDFILIAL = '0001' AND NRORDAPRSALD = :N"};
  EXPECT_EQ(FirstValue(c().Query(order, {{"N", Variant(int64_t{2})}}), "CDFAMILISALD").AsString(), "02");
  EXPECT_EQ(FirstValue(c().Query(order, {{"N", Variant(3.0)}}), "CDFAMILISALD").AsString(), "03");
  EXPECT_EQ(FirstValue(c().Query(order, {{"N", Variant(int64_t{1})}}), "CDFAMILISALD").AsString(), "01");
}

TEST_P(PreparedStatementsTest, ARunSeesWhatAnotherConnectionWroteAndHoldsNothingAfterIt) {
  const Statement balance{"balance",
                          "SELECT VRSALDCONFAM FROM SALDOCONS WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001' "
                          "AND CDFAMILISALD = :F",
                          {},
                          {{"VRSALDCONFAM", FieldType::Float}}};
  EXPECT_DOUBLE_EQ(FirstValue(c().Query(balance, {{"F", "02"}}), "VRSALDCONFAM").AsFloat(), 300.0);
  // Another register writes right after: a statement left open would hold the store
  // (SQLite) and the writer would wait until it gives up.
  Exec("UPDATE SALDOCONS SET VRSALDCONFAM = 250 WHERE CDCONSUMIDOR = '0001' AND CDFAMILISALD = '02'");
  EXPECT_DOUBLE_EQ(FirstValue(c().Query(balance, {{"F", "02"}}), "VRSALDCONFAM").AsFloat(), 250.0);
  Exec("UPDATE SALDOCONS SET VRSALDCONFAM = 200 WHERE CDCONSUMIDOR = '0001' AND CDFAMILISALD = '02'");
  EXPECT_DOUBLE_EQ(FirstValue(c().Query(balance, {{"F", "02"}}), "VRSALDCONFAM").AsFloat(), 200.0);
}

TEST_P(PreparedStatementsTest, AFailedRunDoesNotSpoilTheNext) {
  const Statement insert{"insert",
                         "INSERT INTO SALDOCONS (CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, VRSALDCONFAM) "
                         "VALUES ('000001', :K, '01', :V)"};
  EXPECT_THROW(c().Execute(insert, {{"K", "0001"}, {"V", 1.0}}), std::exception) << "the row is there already";
  c().CheckAfterFailure();
  EXPECT_EQ(c().Execute(insert, {{"K", "0004"}, {"V", 7.5}}), 1);
  const Statement read{"read",
                       "SELECT VRSALDCONFAM FROM SALDOCONS WHERE CDCONSUMIDOR = :K AND CDFAMILISALD = '01'",
                       {},
                       {{"VRSALDCONFAM", FieldType::Float}}};
  EXPECT_DOUBLE_EQ(FirstValue(c().Query(read, {{"K", "0004"}}), "VRSALDCONFAM").AsFloat(), 7.5);
  // Inside a transaction that is rolled back, then outside it.
  c().Begin();
  EXPECT_EQ(c().Execute(insert, {{"K", "0002"}, {"V", 1.0}}), 1);
  c().Rollback();
  EXPECT_TRUE(c().Query(read, {{"K", "0002"}}).rows.empty());
  EXPECT_EQ(c().Execute(insert, {{"K", "0002"}, {"V", 2.0}}), 1);
}

TEST_P(PreparedStatementsTest, TextsMadeAtRunTimeBeyondWhatIsKeptStayCorrect) {
  for (int i = 0; i < 600; i += (GetParam() == Engine::SQLite ? 1 : 7)) {
    const Statement s{"made", "SELECT CDCONSUMIDOR, " + std::to_string(i) +
                                  " AS N FROM CONSUMIDOR WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = :K"};
    const auto packet = c().Query(s, {{"K", i % 2 ? "0001" : "0003"}});
    ASSERT_EQ(packet.rows.size(), 1u);
    EXPECT_EQ(FirstValue(packet, "N").AsInteger(), i);
    EXPECT_EQ(FirstValue(packet, "CDCONSUMIDOR").AsString(), i % 2 ? "0001" : "0003");
  }
}

TEST_P(PreparedStatementsTest, AColumnAddedToTheSchemaIsTypedOnTheNextConnection) {
  const Statement q{"q", "SELECT VRNOVOLIMITE FROM CONSUMIDOR WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '0001'"};
  EXPECT_THROW(c().Query(q), std::exception) << "no such column yet";
  Exec("ALTER TABLE CONSUMIDOR ADD COLUMN VRNOVOLIMITE NUMERIC(18,4)");
  StoreConnection next([this] { return store().connection(); });
  const auto packet = next.Query(q);
  ASSERT_EQ(packet.fields.size(), 1u);
  EXPECT_EQ(packet.fields[0].type, FieldType::Float) << "the declared type, also for a null value";
}

RECEBIMENTO_BOTH_ENGINES(PreparedStatementsTest);

}  // namespace
}  // namespace recebimento::testing
