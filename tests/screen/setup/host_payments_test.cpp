// Payments already in the host's dataset when the screen opens: rows worth nothing go,
// change lines, mobile and delivery orders, and the list's columns.
#include <gtest/gtest.h>

#include "screen/support/screen_setup_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

Row Payment(const std::string& name, double amount, const std::string& kind = "E", const std::string& ds = "",
            const std::string& nsu = "") {
  return {{"NMTIPORECE", Variant(name)},
          {"VRMOVIVEND", Variant(amount)},
          {"IDTIPOMOVIVE", Variant(kind)},
          {"DSMOVIVEND", Variant(ds)},
          {"CDNSUHOSTTEF", Variant(nsu)}};
}

class PaymentListTest : public ScreenSetupTest {
 protected:
  PaymentListTest() {
    Fill(items_, {{{"CDPRODUTO", Variant("1")},
                   {"VRPRECCOMVEN", Variant(80.0)},
                   {"QTPRODCOMVEN", Variant(1.0)},
                   {"NRCOMANDA", Variant("0000000077")},
                   {"DSCOMANDA", Variant("77")}}});
  }
};

TEST_F(PaymentListTest, RowsWorthNothingAreRemovedFromTheHostsDataset) {
  args_.stModoVenda = "RES";
  Fill(payments_, {Payment("DINHEIRO", 0), Payment("CARTÃO DE CRÉDITO MASTERCARD", 30.5, "E", "PAGAMENTO MOBILE"),
                   Payment("VALE", 0), Payment("DINHEIRO", 12.1, "S")});
  Init();
  ASSERT_EQ(payments_.RecordCount(), 2);
  payments_.First();
  EXPECT_DOUBLE_EQ(payments_.FieldByName("VRMOVIVEND").AsFloat(), 30.5);
  EXPECT_TRUE(sale().boPagouMobile);
  const std::vector<std::string> expected = {
      "CARTÃO DE CRÉDITO MA          30,50",  // 20 characters, a blank, 14 right-aligned
      "", "Troco:                        12,10"};
  EXPECT_EQ(ctl("memLista").lines, expected);
  EXPECT_EQ(ctl("memListaAux").lines, expected);
  EXPECT_FALSE(ctl("memDelivery").visible);
  EXPECT_EQ(ctl("panLista").height, 252);
}

TEST_F(PaymentListTest, AnUnpaidDeliveryListsWhatTheCourierCollectsAndStartsAfresh) {
  args_.stModoVenda = "DLV";
  Fill(payments_, {Payment("DINHEIRO", 100, "E", "", "NSU-1"), Payment("DINHEIRO", 20, "S", "", "NSU-2")});
  Init();
  EXPECT_TRUE(ctl("memDelivery").visible);
  EXPECT_EQ(ctl("panLista").height, 180);
  EXPECT_EQ(ctl("memLista").lines, std::vector<std::string>{"DINHEIRO                     100,00"});
  ASSERT_EQ(ctl("memDelivery").lines.size(), 3u);
  EXPECT_EQ(ctl("memDelivery").lines[1], "Troco-->>DINHEIRO             20,00");
  EXPECT_EQ(ctl("memDelivery").lines[2], "Troco para:                   20,00");
  EXPECT_FALSE(sale().boPagouDelivery);
  EXPECT_EQ(sale().stCdNsuHostTef, "NSU-2");
  EXPECT_TRUE(payments_.Active());
  EXPECT_EQ(payments_.RecordCount(), 0) << "the screen records the real payments";
}

TEST_F(PaymentListTest, APaidDeliveryKeepsItsPayments) {
  args_.stModoVenda = "DLV";
  Fill(payments_, {Payment("CONTA CONSUMIDOR", 80, "T", "PAGAMENTO DELIVERY")});
  Init();
  EXPECT_TRUE(sale().boPagouDelivery);
  EXPECT_EQ(payments_.RecordCount(), 1);
}

TEST_F(PaymentListTest, AClosedOrFieldlessPaymentDatasetBecomesAnEmptyOneWithThePaymentColumns) {
  args_.stModoVenda = "CMD";
  Init();
  ASSERT_TRUE(payments_.Active());
  EXPECT_EQ(payments_.RecordCount(), 0);
  for (const char* column : {"CDTIPORECE", "VRMOVIVEND", "IDTIPOMOVIVE", "CDNSUHOSTTEF", "QTPARCRECEB"})
    EXPECT_GE(payments_.FieldIndex(column), 0) << column;
}

TEST_F(PaymentListTest, WaiterAndExchangeLinesAreCutAt35Characters) {
  args_.stModoVenda = "RES";
  args_.stNmGarcom = "JOSÉ ANTÔNIO DA CONCEIÇÃO FERREIRA DOS SANTOS";
  args_.stIdTela = "T";
  Init();
  const auto& lines = ctl("memLista").lines;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Garçom:  JOSÉ ANTÔNIO DA CONCEIÇÃO ");
  EXPECT_EQ(lines[1], "Vale troca:  0,00");
  EXPECT_EQ(ctl("memListaAux").lines, lines);
}

}  // namespace
}  // namespace recebimento::testing
