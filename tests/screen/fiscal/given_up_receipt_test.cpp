// An item the printer refuses and the operator gives up: the sale is recorded in the
// store as cancelled with what the printer registered, the printer's receipt is
// cancelled, and the screen is left; on SQLite and on PostgreSQL.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "datamodule/statement.h"
#include "screen/fiscal/fiscal_fixture.h"

namespace recebimento::testing {
namespace {

class GivenUpReceiptTest : public FiscalTest, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    if (!Start(GetParam())) GTEST_SKIP() << "RECEBIMENTO_TEST_PG is not set: no PostgreSQL server for this run";
  }
};

TEST_P(GivenUpReceiptTest, TheSaleIsRecordedAsCancelledAndTheScreenLeft) {
  config_.printer_failures["VendaItem"] = 2;
  Rebuild();
  AddItem("1001", "PRATO", 2, 10.0, {{"VRDESCOMANDA", base::Variant(3.0)}});
  AddItem("1002", "SUCO", 1, 5.0, {{"VRDESCOMANDA", base::Variant(3.0)}});
  AddCancelledItem("1003", 1, 4.0);
  Pay("001", "4", 25.0);
  Answer(false);
  sale().boProcessandoSaida = true;  // as the confirmation holds it

  EXPECT_FALSE(Print());
  EXPECT_TRUE(parts().fiscal.Abandoned());
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_TRUE(window_.Closed()) << "the screen was left";
  EXPECT_EQ(Count("FechaCupom"), 0u);
  EXPECT_TRUE(sale().boCupomCancelado) << "the printer's receipt is cancelled too";
  const auto messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Impressora Fiscal com erro.Cupom Fiscal deve ser cancelado."),
            messages.end());

  // Only what the printer registered stays in the sale, and in the record.
  ASSERT_EQ(items_.RecordCount(), 1);
  items_.First();
  EXPECT_EQ(items_.FieldByName("CDPRODUTO").AsString(), "1001");
  const datamodule::Statement sales{
      "q", "SELECT NRSEQVENDA, IDSITUVENDA, NRCUPOMFIS, VRTOTVENDA FROM VENDA WHERE IDSITUVENDA = 'C'"};
  const base::DataPacket recorded = store_->admin().Query(sales);
  ASSERT_EQ(recorded.rows.size(), 1u);
  EXPECT_EQ(recorded.rows[0][0].AsString(), "0000000002");
  EXPECT_EQ(recorded.rows[0][2].AsString(), "000001");
  // 20.00 sold less the tab's 3.00 discount, and the 4.00 item cancelled before payment.
  EXPECT_DOUBLE_EQ(recorded.rows[0][3].AsFloat(), 21.0);
  const datamodule::Statement gone{"q",
                                   "SELECT COUNT(*) AS N FROM ITVENDACAN WHERE NRSEQVENDA = '0000000002'",
                                   {},
                                   {{"N", base::FieldType::Integer}}};
  EXPECT_EQ(store_->admin().Query(gone).rows[0][0].AsInteger(), 1);
}

RECEBIMENTO_BOTH_ENGINES(GivenUpReceiptTest);

}  // namespace
}  // namespace recebimento::testing
