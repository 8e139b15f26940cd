// The record of a sale whose receipt was cancelled on the screen, on both engines: the
// tab's adjustments netted and spread over the items to the cent, no item surcharge for
// printer kinds 16 and 30, the cancelled items in the total, groups from the point-of-sale
// group, and nothing at all written when any row fails.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/clock.h"
#include "datamodule/catalogue_support.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::DataPacket;
using base::FieldType;
using base::Variant;

// A packet whose fields are the union of the rows' columns (texts or numbers).
DataPacket Packet(const std::vector<std::map<std::string, Variant>>& rows) {
  DataPacket p;
  for (const auto& row : rows)
    for (const auto& [name, value] : row)
      if (p.FieldIndex(name) < 0)
        p.fields.push_back({name, value.IsString() ? FieldType::String : FieldType::Float, 40});
  for (const auto& row : rows) {
    std::vector<Variant> values(p.fields.size(), Variant::Null());
    for (const auto& [name, value] : row) values[static_cast<size_t>(p.FieldIndex(name))] = value;
    p.rows.push_back(values);
  }
  return p;
}

std::map<std::string, Variant> Item(const std::string& product, double qty, double price, double discount = 0) {
  return {{"CDFILIAL", Variant("0001")},    {"CDCAIXA", Variant("001")},         {"CDVENDEDOR", Variant("V1")},
          {"CDOPERADOR", Variant("ADMIN")}, {"CDLOJA", Variant("0001")},         {"CDLOJAIT", Variant("0001")},
          {"CDPRODUTO", Variant(product)},  {"QTPRODCOMVEN", Variant(qty)},      {"VRPRECCOMVEN", Variant(price)},
          {"VRUNITVENDCL", Variant(0.0)},   {"VRDESCCOMVEN", Variant(discount)}, {"CDORDALIQIMPR", Variant("T18")},
          {"VRALIQIMPR", Variant(18.0)},    {"VRDESCOMANDA", Variant(0.0)},      {"VRTXSERVICO", Variant(0.0)},
          {"VRACRCOMANDA", Variant(0.0)}};
}

class CancelledSaleTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    rdm().SetClock(&clock_);
  }

  // The sale's adjustments travel on its last line.
  static void Adjust(std::vector<std::map<std::string, Variant>>& items, double discount, double service,
                     double surcharge = 0) {
    items.back()["VRDESCOMANDA"] = Variant(discount);
    items.back()["VRTXSERVICO"] = Variant(service);
    items.back()["VRACRCOMANDA"] = Variant(surcharge);
  }

  Variant Cancel(const std::vector<std::map<std::string, Variant>>& items,
                 const std::vector<std::map<std::string, Variant>>& cancelled = {}, int printer = 1) {
    return rdm().setCancelaVendas(Variant(Packet(items)), Variant(Packet(cancelled)), "001",
                                  base::DateTime::FromYMD(2026, 12, 6, 7), "01", "001201", "005530", "12", "", printer,
                                  "BE0910");
  }

  DataPacket Rows(const std::string& sql) {
    const datamodule::Statement q{"q", sql};
    return store().admin().Query(q);
  }
  // Amounts of one column of the sale's items, in item order.
  std::vector<double> ItemColumn(const std::string& number, const std::string& column) {
    std::vector<double> out;
    for (const auto& row :
         Rows("SELECT " + column + " FROM ITEMVENDA WHERE NRSEQVENDA = '" + number + "' ORDER BY NRSEQUITVEND").rows)
      out.push_back(row[0].IsNull() ? -1 : row[0].AsFloat());
    return out;
  }
  long long Count(const std::string& sql) {
    const datamodule::Statement q{"q", sql, {}, {{"N", FieldType::Integer}}};
    return datamodule::FirstValue(store().admin().Query(q), "N").AsInteger();
  }

  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12)};
};

TEST_P(CancelledSaleTest, ATabDiscountAgainstItsServiceFeeSpreadsOnlyTheNet) {
  std::vector<std::map<std::string, Variant>> items = {Item("1001", 2, 10.0), Item("1003", 1, 5.0)};
  Adjust(items, 10.0, 3.0);
  const Variant number = Cancel(items);
  ASSERT_EQ(number.AsString(), "0000000002") << number.AsString();  // the demo register has sale 1

  const DataPacket sale = Rows(
      "SELECT IDSITUVENDA, NRCUPOMFIS, NRCONTCUPOMFISC, IDORIGEMVENDA, CDCLIENTE, NRMESA, VRTOTVENDA, VRTXSEVENDA "
      "FROM VENDA WHERE NRSEQVENDA = '0000000002'");
  ASSERT_EQ(sale.rows.size(), 1u);
  EXPECT_EQ(sale.rows[0][0].AsString(), "C");
  EXPECT_EQ(sale.rows[0][1].AsString(), "001201");
  EXPECT_EQ(sale.rows[0][2].AsString(), "005530");
  EXPECT_EQ(sale.rows[0][3].AsString(), "BAL_ZEM");
  EXPECT_EQ(sale.rows[0][4].AsString(), "000000") << "the branch's default client";
  EXPECT_EQ(sale.rows[0][5].AsString(), "12");
  EXPECT_DOUBLE_EQ(sale.rows[0][6].AsFloat(), 18.0) << "25.00 of items less the 7.00 net discount";
  EXPECT_DOUBLE_EQ(sale.rows[0][7].AsFloat(), 3.0);

  EXPECT_EQ(ItemColumn("0000000002", "VRDESITVEND"), (std::vector<double>{5.6, 1.4}));
  EXPECT_EQ(ItemColumn("0000000002", "VRACRITVEND"), (std::vector<double>{0.0, 0.0})) << "no item surcharge";
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM ITEMVENDA WHERE NRSEQVENDA = '0000000002' AND NRSEQUITVEND IN "
                  "('001', '002')"),
            2);
  // The number is on record, used by the sale it numbers.
  const DataPacket reserved = Rows(
      "SELECT IDSTATUSRES FROM NUMERORESERVADO WHERE CDCONTADOR = 'PRXVENDA|0001|001' AND NRRESERVADO = '0000000002'");
  ASSERT_EQ(reserved.rows.size(), 1u);
  EXPECT_EQ(reserved.rows[0][0].AsString(), "U");
}

TEST_P(CancelledSaleTest, SharesAreCutToTheCentAndTheLastItemTakesWhatTheCutsLeave) {
  std::vector<std::map<std::string, Variant>> items = {Item("1001", 1, 10.0), Item("1002", 1, 10.0),
                                                       Item("1003", 1, 10.0)};
  Adjust(items, 0, 8.0, 2.0);  // a surcharge of 10.00 over three equal items
  const std::string number = Cancel(items).AsString();
  EXPECT_EQ(ItemColumn(number, "VRACRITVEND"), (std::vector<double>{3.33, 3.33, 3.34}));
  EXPECT_EQ(ItemColumn(number, "VRDESITVEND"), (std::vector<double>{0.0, 0.0, 0.0}));
  EXPECT_DOUBLE_EQ(Rows("SELECT VRTOTVENDA FROM VENDA WHERE NRSEQVENDA = '" + number + "'").rows[0][0].AsFloat(), 40.0);
}

TEST_P(CancelledSaleTest, PrinterKindsSixteenAndThirtyWriteNoItemSurcharge) {
  for (int printer : {16, 30}) {
    SCOPED_TRACE(printer);
    std::vector<std::map<std::string, Variant>> surcharged = {Item("1001", 1, 20.0), Item("1003", 1, 5.0, 1.0)};
    Adjust(surcharged, 0, 2.5);
    const std::string a = Cancel(surcharged, {}, printer).AsString();
    EXPECT_EQ(ItemColumn(a, "VRACRITVEND"), (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(ItemColumn(a, "VRDESITVEND"), (std::vector<double>{0.0, 1.0})) << "the item's own discount stays";

    std::vector<std::map<std::string, Variant>> discounted = {Item("1001", 1, 20.0), Item("1003", 1, 5.0, 1.0)};
    Adjust(discounted, 4.8, 0);
    const std::string b = Cancel(discounted, {}, printer).AsString();
    EXPECT_EQ(ItemColumn(b, "VRDESITVEND"), (std::vector<double>{3.84, 1.96})) << "discount shares are written";
  }
}

TEST_P(CancelledSaleTest, ASaleOfNothingTakesNoShares) {
  std::vector<std::map<std::string, Variant>> items = {Item("1001", 1, 0.0), Item("1003", 2, 0.0)};
  Adjust(items, 5.0, 0);
  const std::string number = Cancel(items).AsString();
  ASSERT_FALSE(number.empty());
  EXPECT_EQ(ItemColumn(number, "VRDESITVEND"), (std::vector<double>{0.0, 0.0}));
  EXPECT_DOUBLE_EQ(Rows("SELECT VRTOTVENDA FROM VENDA WHERE NRSEQVENDA = '" + number + "'").rows[0][0].AsFloat(), 0.0);
}

TEST_P(CancelledSaleTest, CancelledItemsAreRecordedWithTheirGroupsAndCountInTheTotal) {
  const std::vector<std::map<std::string, Variant>> cancelled = {{{"CDFILIAL", Variant("0001")},
                                                                  {"CDPRODUTO", Variant("1002")},
                                                                  {"QTPRODCOMVEN", Variant(2.0)},
                                                                  {"VRPRECCOMVEN", Variant(6.4)},
                                                                  {"VRUNITVENCLC", Variant(0.0)},
                                                                  {"VRDESCCOMVEN", Variant(0.8)},
                                                                  {"CDORDALIQIMPRIC", Variant("T18")},
                                                                  {"VRALIQIMPRIC", Variant(18.019)},
                                                                  {"CDSUPERVISOR", Variant("SUP01")},
                                                                  {"CDOPERCANC", Variant("ADMIN")}}};
  const std::string number = Cancel({Item("1001", 1, 29.5), Item("9999", 1, 1.0)}, cancelled).AsString();
  ASSERT_FALSE(number.empty());

  const DataPacket gone = Rows(
      "SELECT NRSEQITVENDC, CDGRUPPROD, CDSUBGRPROD, VRALIQIMPRIC, CDSUPERVISOR, QTPRODVENDC FROM ITVENDACAN "
      "WHERE NRSEQVENDA = '" +
      number + "'");
  ASSERT_EQ(gone.rows.size(), 1u);
  EXPECT_EQ(gone.rows[0][0].AsString(), "001");
  // 1002 is grouped for every branch: the lookup without the branch finds it.
  EXPECT_EQ(gone.rows[0][1].AsString(), "20");
  EXPECT_EQ(gone.rows[0][2].AsString(), "01");
  EXPECT_DOUBLE_EQ(gone.rows[0][3].AsFloat(), 18.01);
  EXPECT_EQ(gone.rows[0][4].AsString(), "SUP01");

  const DataPacket groups =
      Rows("SELECT CDGRUPPROD, CDSUBGRPROD FROM ITEMVENDA WHERE NRSEQVENDA = '" + number + "' ORDER BY NRSEQUITVEND");
  ASSERT_EQ(groups.rows.size(), 2u);
  EXPECT_EQ(groups.rows[0][0].AsString(), "10") << "the branch's own row";
  EXPECT_TRUE(groups.rows[1][0].IsNull()) << "a product without a group";
  // 29.50 + 1.00 sold, 12.80 - 0.80 cancelled.
  EXPECT_DOUBLE_EQ(rdm().CalcVrTotVenda("0001", "001", number).AsFloat(), 42.5);
  EXPECT_DOUBLE_EQ(Rows("SELECT VRTOTVENDA FROM VENDA WHERE NRSEQVENDA = '" + number + "'").rows[0][0].AsFloat(), 42.5);
}

TEST_P(CancelledSaleTest, AFailingRowLeavesNothingWrittenAndNoNumberSpent) {
  const long long sales = Count("SELECT COUNT(*) AS N FROM VENDA");
  const long long items = Count("SELECT COUNT(*) AS N FROM ITEMVENDA");
  std::vector<std::map<std::string, Variant>> bad = {Item("1001", 1, 10.0), Item("1003", 1, 5.0)};
  bad.back()["QTPRODCOMVEN"] = Variant("dois");
  const Variant result = Cancel(bad);
  EXPECT_NE(result.AsString().find("QTPRODCOMVEN"), std::string::npos) << result.AsString();
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM VENDA"), sales);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM ITEMVENDA"), items);
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM NUMERORESERVADO"), 0);
  // The next record takes the number the failed one would have had.
  EXPECT_EQ(Cancel({Item("1001", 1, 10.0)}).AsString(), "0000000002");

  // Without items nothing is written either.
  EXPECT_EQ(Cancel({}).AsString(), "");
  EXPECT_EQ(Count("SELECT COUNT(*) AS N FROM VENDA"), sales + 1);
}

RECEBIMENTO_BOTH_ENGINES(CancelledSaleTest);

}  // namespace
}  // namespace recebimento::testing
