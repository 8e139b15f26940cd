// Consumer registration and CPF, a tab's consumer prices and kitchen orders, on both
// engines.
#include <gtest/gtest.h>

#include <string>

#include "base/clock.h"
#include "base/data_packet.h"
#include "datamodule/catalogue_support.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::DataPacket;
using base::Variant;

class ConsumerRecordsTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    rdm().SetClock(&clock_);
  }
  std::string Text(const std::string& sql) {
    const datamodule::Statement q{"q", sql};
    const Variant v = datamodule::FirstValue(store().admin().Query(q), "V");
    return v.IsNull() ? "<null>" : v.AsString();
  }
  double Number(const std::string& sql) {
    const datamodule::Statement q{"q", sql, {}, {{"V", base::FieldType::Float}}};
    return datamodule::FirstValue(store().admin().Query(q), "V").AsFloat();
  }
  std::string Cpf(const std::string& consumer) {
    return Text("SELECT NRCPFRESPCON AS V FROM CONSUMIDOR WHERE CDCLIENTE = '000001' AND CDCONSUMIDOR = '" + consumer +
                "'");
  }
  Variant Record(const std::string& consumer, const std::string& mode, const std::string& cpf) {
    return rdm().setGravaConsumidor("000001", consumer, "Novo Nome", "MAT9", "0001", "01", "", "", "", "CAIXA", mode,
                                    cpf);
  }

  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
};

TEST_P(ConsumerRecordsTest, OnlyAValidNewCpfIsKeptAndOnlyWhereItMayBe) {
  // Eleven equal digits, a wrong check digit, punctuation: not kept, and no error either.
  for (const char* bad : {"11111111111", "52998224726", "529.982.247-25", ""}) {
    EXPECT_TRUE(Record("0001", "2", bad).AsBoolean()) << bad;
    EXPECT_EQ(Cpf("0001"), "52998224725") << bad;
  }
  EXPECT_TRUE(Record("0001", "2", "39053344705").AsBoolean());
  EXPECT_EQ(Cpf("0001"), "39053344705");
  EXPECT_EQ(Text("SELECT IDATUCONSUMI AS V FROM CONSUMIDOR WHERE CDCONSUMIDOR = '0001'"), "A");
  // A consumer whose CPF is not to be updated keeps it.
  EXPECT_TRUE(Record("0002", "2", "39053344705").AsBoolean());
  EXPECT_EQ(Cpf("0002"), "11144477735");

  // A new consumer, registered with a valid CPF; registering it twice is an error text.
  EXPECT_TRUE(Record("0009", "1", "12345678909").AsBoolean());
  EXPECT_EQ(Cpf("0009"), "12345678909");
  EXPECT_EQ(Text("SELECT IDSITCONSUMI AS V FROM CONSUMIDOR WHERE CDCONSUMIDOR = '0009'"), "1");
  EXPECT_EQ(Text("SELECT IDATUCONSUMI AS V FROM CONSUMIDOR WHERE CDCONSUMIDOR = '0009'"), "I");
  const Variant again = Record("0009", "1", "12345678909");
  EXPECT_TRUE(again.IsString());
  EXPECT_FALSE(rdm().InTransaction());
}

TEST_P(ConsumerRecordsTest, TabPricesChangeTogetherOrNotAtAll) {
  const char* price =
      "SELECT VRPRECCOMVEN AS V FROM ITCOMANDAVEN WHERE NRVENDAREST = '0000000010' AND NRPRODCOMVEN = '000001'";
  Exec("UPDATE COMANDAVEN SET VRDESCFID = 3 WHERE NRCOMANDA = '0100'");
  // The host hands the amounts over in single precision.
  EXPECT_EQ(rdm().setPrecCons("0001", "0000000010", "0100", "1001", "000001", "BAL", "1", "000001", "0001",
                              static_cast<float>(27.35), static_cast<float>(1.1), 0.0f),
            "");
  EXPECT_DOUBLE_EQ(Number(price), 27.35);
  EXPECT_EQ(Text("SELECT CDCONSUMIDOR AS V FROM VENDAREST WHERE NRVENDAREST = '0000000010'"), "0001");
  EXPECT_EQ(Text("SELECT VRDESCFID AS V FROM COMANDAVEN WHERE NRCOMANDA = '0100'"), "<null>");

  // The last step failing undoes the first ones.
  Exec("DROP TABLE COMANDAVEN");
  const std::string error = rdm().setPrecCons("0001", "0000000010", "0100", "1001", "000001", "BAL", "1", "000001",
                                              "0003", 30.0f, 0.0f, 0.0f);
  EXPECT_FALSE(error.empty());
  EXPECT_DOUBLE_EQ(Number(price), 27.35);
  EXPECT_EQ(Text("SELECT CDCONSUMIDOR AS V FROM VENDAREST WHERE NRVENDAREST = '0000000010'"), "0001");
  EXPECT_FALSE(rdm().InTransaction());
}

TEST_P(ConsumerRecordsTest, AKitchenOrderHoldsTheShopsItemsOnceHoweverOftenItIsSent) {
  DataPacket sale;
  sale.fields = {{"CDFILIAL", base::FieldType::String, 4},     {"CDCAIXA", base::FieldType::String, 4},
                 {"NRSEQVENDA", base::FieldType::String, 10},  {"NRNOTAFISCALCE", base::FieldType::String, 10},
                 {"CDPRODUTO", base::FieldType::String, 16},   {"QTPRODCOMVEN", base::FieldType::Float, 0},
                 {"TXPRODCOMVEN", base::FieldType::String, 60}};
  auto item = [](const char* product, double qty, const char* text) {
    return std::vector<Variant>{Variant("0001"),  Variant("001"), Variant("0000000050"), Variant(""),
                                Variant(product), Variant(qty),   Variant(text)};
  };
  // 1001 is the kitchen's, 1002 the other shop's, 1003 the bar's (not this register's sector).
  sale.rows = {item("1001", 1, "bem passado"), item("1002", 2, ""), item("1001", 1, ""), item("1003", 1, "")};
  Exec("UPDATE VENDA SET NRNOTAFISCALCE = '000123' WHERE NRSEQVENDA = '0000000001'");
  Variant packet(sale);
  EXPECT_TRUE(rdm().verifPedido("0001", "000124"));
  EXPECT_EQ(rdm().setPedidoKDS(packet, "N", true), "");
  EXPECT_EQ(Number("SELECT COUNT(*) AS V FROM PEDIDOZEM"), 0) << "not sent to the kitchen display";
  for (int sent = 0; sent < 2; ++sent) {
    ASSERT_EQ(rdm().setPedidoKDS(packet, "S", true), "");
    EXPECT_EQ(Number("SELECT COUNT(*) AS V FROM PEDIDOZEM"), 1);
    EXPECT_EQ(Number("SELECT COUNT(*) AS V FROM ITPEDIDOZEM"), 2);
  }
  // The next SAT number names the order and goes back to the host in the packet.
  EXPECT_EQ(Text("SELECT DSPEDIDOZEM AS V FROM PEDIDOZEM"), "000124");
  EXPECT_EQ(Text("SELECT IDSTATUSPED AS V FROM PEDIDOZEM"), "VENDA");
  EXPECT_EQ(packet.AsPacket().rows[0][3].AsString(), "000124");
  EXPECT_FALSE(rdm().verifPedido("0001", "000124"));
  EXPECT_FALSE(rdm().verifItPedido("0001", "000124", "1001", 2));
  EXPECT_TRUE(rdm().verifItPedido("0001", "000124", "1001", 3));
  EXPECT_EQ(Text("SELECT TXPRODPED AS V FROM ITPEDIDOZEM WHERE TXPRODPED <> ''"), "bem passado");
}

RECEBIMENTO_BOTH_ENGINES(ConsumerRecordsTest);

}  // namespace
}  // namespace recebimento::testing
