// The query catalogue against the demo store, on both engines.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/data_packet.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class CatalogueTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    if (IsSkipped()) return;
    rdm().SetClock(&clock_);
  }
  // The packet of a result; fails the test when the result is the error text.
  base::DataPacket Packet(const Variant& v) {
    if (!v.IsPacket()) ADD_FAILURE() << "expected a packet, got: " << (v.IsString() ? v.AsString() : v.KindName());
    return v.IsPacket() ? v.AsPacket() : base::DataPacket{};
  }
  static Variant Cell(const base::DataPacket& p, size_t row, const std::string& field) {
    const int i = p.FieldIndex(field);
    EXPECT_GE(i, 0) << "no field " << field;
    if (i < 0 || row >= p.rows.size()) return Variant();
    return p.rows[row][static_cast<size_t>(i)];
  }

  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};  // a Sunday
};

TEST_P(CatalogueTest, ConsumerWithoutBalanceRowsGetsEveryFamilyAtZero) {
  const auto& none = Packet(rdm().getConsSaldFam("0001", "000001", "0003"));
  ASSERT_EQ(none.rows.size(), 3u);
  for (size_t r = 0; r < 3; ++r) EXPECT_EQ(Cell(none, r, "VRSALDCONFAM").AsFloat(), 0.0);
  EXPECT_EQ(none.fields[none.FieldIndex("VRSALDCONFAM")].type, base::FieldType::Float);
  const auto& some = Packet(rdm().getConsSaldFam("0001", "000001", "0001"));
  ASSERT_EQ(some.rows.size(), 3u);
  EXPECT_EQ(Cell(some, 0, "CDFAMILISALD").AsString(), "01");
  EXPECT_DOUBLE_EQ(Cell(some, 0, "VRSALDCONFAM").AsFloat(), 120.5);
  EXPECT_DOUBLE_EQ(Cell(some, 2, "VRSALDCONFAM").AsFloat(), 15.75);
}

TEST_P(CatalogueTest, EmptyResultsKeepTheirFieldDefinitions) {
  const auto& p = Packet(rdm().getConsumidor("000001", "9999", "0001"));
  EXPECT_TRUE(p.rows.empty());
  ASSERT_GE(p.FieldIndex("VRLIMDEBCONS"), 0);
  EXPECT_EQ(p.fields[p.FieldIndex("VRLIMDEBCONS")].type, base::FieldType::Float);
  EXPECT_EQ(p.fields[p.FieldIndex("DTENTRHOTEL")].type, base::FieldType::DateTime);
  EXPECT_EQ(p.fields[p.FieldIndex("CDCONSUMIDOR")].size, 16);
  // Both engines describe the same packet.
  const auto& spent = Packet(rdm().getVrSaldConsumi("0001", "000001", "9999", clock_.Now(), clock_.Now()));
  EXPECT_TRUE(spent.rows.empty());
  EXPECT_EQ(spent.fields[spent.FieldIndex("VALCONSUMDIA")].type, base::FieldType::Float);
}

TEST_P(CatalogueTest, ConsumerLookupPrefersActiveAndHidesReplacedInactive) {
  EXPECT_EQ(Cell(Packet(rdm().getConsumidor("000001", "0001", "0001")), 0, "NMFANTCLIE").AsString(),
            "Transportes Exemplo");
  // 0002 is inactive and no active consumer shares its identity: still listed.
  EXPECT_EQ(Packet(rdm().getConsumidor("000001", "0002", "0001")).rows.size(), 1u);
  Exec("UPDATE CONSUMIDOR SET CDIDCONSUMID = 'MAT0002' WHERE CDCONSUMIDOR = '0003'");
  EXPECT_TRUE(Packet(rdm().getConsumidor("000001", "0002", "0001")).rows.empty());
  // A branch that does not serve the client sees nobody.
  EXPECT_TRUE(Packet(rdm().getConsumidor("000001", "0001", "0009")).rows.empty());
}

TEST_P(CatalogueTest, TextFunctionsAndTheirEmptyResults) {
  EXPECT_EQ(rdm().PermiteAlterarDescFid("000001", "0001"), "S");
  EXPECT_EQ(rdm().PermiteAlterarDescFid("000001", "0002"), "N");  // type flag is null
  EXPECT_EQ(rdm().PermiteAlterarDescFid("000001", "9999"), "");   // no such consumer
  EXPECT_EQ(rdm().getVerifConsAtivo("000001", "0002"), "2");
  EXPECT_EQ(rdm().getTipoVendaCons("000001", "0001"), "C");
  EXPECT_EQ(rdm().getCNPJEmpresa("0001"), "11222333000181");
  EXPECT_EQ(rdm().getCPFCons("0001", "000001").AsString(), "52998224725");
  EXPECT_TRUE(rdm().getImpNomeConsumidorVenda("0001", "001"));
  EXPECT_FALSE(rdm().getImpNomeConsumidorVenda("0001", "002"));
  std::string cpf = "?";
  rdm().setParamConsumidor("000001", "0001", cpf);
  EXPECT_EQ(cpf, "S");
  EXPECT_EQ(rdm().getUtilResgSaldo(), "S");
  Exec("UPDATE TIPORECE SET IDINTRESGSALDO = 'N'");
  EXPECT_EQ(rdm().getUtilResgSaldo(), "");
  EXPECT_DOUBLE_EQ(rdm().getConversao("0001").AsFloat(), 0.05);
  EXPECT_DOUBLE_EQ(rdm().getConversao("0009").AsFloat(), 0.0);
}

TEST_P(CatalogueTest, CouponsNeverListSpentSingleUseOrProductRestricted) {
  auto codes = [&] {
    std::string all;
    const auto& p = Packet(rdm().getCuponsValidos("0001"));
    for (size_t r = 0; r < p.rows.size(); ++r) all += Cell(p, r, "CDCUPOMDESCZEM").AsString() + " ";
    return all;
  };
  EXPECT_EQ(codes(), "BEMVINDO10 CUPOM5 ");  // CAFE2 is tied to a product
  Exec("INSERT INTO USOCUPOMDESCZEM (CDCUPOMDESCZEM, NRSEQUSOCUPOM, CDFILIAL) VALUES ('CUPOM5', 1, '0001')");
  EXPECT_EQ(codes(), "BEMVINDO10 ");
  Exec("INSERT INTO USOCUPOMDESCZEM (CDCUPOMDESCZEM, NRSEQUSOCUPOM, CDFILIAL) VALUES ('BEMVINDO10', 1, '0001')");
  EXPECT_EQ(codes(), "BEMVINDO10 ");  // reusable
  // A coupon linked to another branch only is not offered here.
  Exec("INSERT INTO FILIALCUPOMDESC (CDCUPOMDESCZEM, CDFILIAL) VALUES ('BEMVINDO10', '0002')");
  EXPECT_EQ(codes(), "");
}

TEST_P(CatalogueTest, BranchPromotionWinsOverTheGeneralOne) {
  const auto& branch = Packet(rdm().getVrPromocao("0001", "1002", "1001"));
  ASSERT_EQ(branch.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(Cell(branch, 0, "VRDESCONTO").AsFloat(), 1.5);
  const auto& general = Packet(rdm().getVrPromocao("0002", "1002", "1001"));
  ASSERT_EQ(general.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(Cell(general, 0, "VRDESCONTO").AsFloat(), 1.0);
  EXPECT_TRUE(Packet(rdm().getVrPromocao("0001", "1001", "1002")).rows.empty());
}

TEST_P(CatalogueTest, LoyaltyDiscountUsedTodayOnlyCountsToday) {
  EXPECT_TRUE(rdm().getusoudesc("0001", "0001", "000001"));
  Exec(
      "INSERT INTO ITFIDELIDADE (CDFILIAL, NRSEQITFIDEL, CDCAMPANHA, CDCLIENTE, CDCONSUMIDOR, IDTPOPERITFIDEL, "
      "IDIMPTFIDEL, DTOPERITFIDEL) VALUES ('0001', 1, 'CAMP-D', '000001', '0001', 'D', 'N', '2026-12-05 23:59:59')");
  EXPECT_TRUE(rdm().getusoudesc("0001", "0001", "000001"));  // yesterday
  Exec(
      "INSERT INTO ITFIDELIDADE (CDFILIAL, NRSEQITFIDEL, CDCAMPANHA, CDCLIENTE, CDCONSUMIDOR, IDTPOPERITFIDEL, "
      "IDIMPTFIDEL, DTOPERITFIDEL) VALUES ('0001', 2, 'CAMP-D', '000001', '0001', 'D', 'N', '2026-12-06 09:00:00')");
  EXPECT_FALSE(rdm().getusoudesc("0001", "0001", "000001"));
}

TEST_P(CatalogueTest, PointsCampaignsComputeWholeUnits) {
  const auto& dotz = Packet(rdm().getCampanha("35,90", "0001"));
  ASSERT_EQ(dotz.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(Cell(dotz, 0, "NRDOTZ").AsFloat(), 3.0);             // trunc(35.90 / 10) x 1
  EXPECT_TRUE(Packet(rdm().getCampanha("9.99", "0001")).rows.empty());  // below the band
  EXPECT_TRUE(rdm().getCampanha("abc", "0001").IsString());
  const auto& desc = Packet(rdm().getDescVendaFid("000001", "0001"));
  ASSERT_EQ(desc.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(Cell(desc, 0, "VRSALDOCONS").AsFloat(), 340);
  EXPECT_DOUBLE_EQ(Cell(desc, 0, "VRDESCONTO").AsFloat(), 15);  // 3 x 5.00
  Exec(
      "INSERT INTO ITFIDELIDADE (CDFILIAL, NRSEQITFIDEL, CDCAMPANHA, CDCLIENTE, CDCONSUMIDOR, IDTPOPERITFIDEL, "
      "IDIMPTFIDEL, VRPONTOBRINDE) VALUES ('0001', 3, 'CAMP-S', '000001', '0001', 'S', 'N', 120)");
  const Variant saldo = rdm().getDescSaldoFid("000001", "0001");
  ASSERT_TRUE(saldo.IsArray());
  EXPECT_DOUBLE_EQ(Cell(Packet(saldo[0]), 0, "VRSALDOCONS").AsFloat(), 500);
  EXPECT_DOUBLE_EQ(saldo[1].AsFloat(), 120);
  EXPECT_EQ(rdm().getCampanhaSaldo("0001"), "CAMP-S");
}

TEST_P(CatalogueTest, FamilyOrderFromTheStoreOrFromTheCentral) {
  const Variant local = rdm().getOrdemFamilia("0001", "02", "000001", "0001", "N");
  ASSERT_TRUE(local.IsArray());
  EXPECT_EQ(Cell(Packet(local[0]), 0, "NRORDAPRSALD").AsInteger(), 2);
  const auto& before = Packet(local[1]);
  ASSERT_EQ(before.rows.size(), 2u);
  EXPECT_EQ(Cell(before, 0, "CDFAMILISALD").AsString(), "01");
  EXPECT_EQ(Cell(before, 1, "IDSALDNEGFAM").AsString(), "N");
  // A consumer without balances gets nulls, not missing families.
  const auto& none = Packet(rdm().getOrdemFamilia("0001", "02", "000001", "0003", "N")[1]);
  ASSERT_EQ(none.rows.size(), 2u);
  EXPECT_TRUE(Cell(none, 0, "VRSALDCONFAM").IsNull());

  EXPECT_EQ(rdm().getOrdemFamilia("0001", "02", "000001", "0001", "S").AsString(), "EXTCONSCENTRAL_ERRO");
  std::vector<std::string> asked;
  rdm().SetExtratoConsCentral([&](const std::string& op, const std::vector<std::string>& codes, Variant& out) {
    asked = codes;
    asked.insert(asked.begin(), op);
    out[0] = Variant("central");
    return true;
  });
  const Variant central = rdm().getOrdemFamilia("0001", "02", "000001", "0001", "S");
  ASSERT_TRUE(central.IsArray());
  EXPECT_EQ(central[1].AsString(), "central");
  EXPECT_EQ(asked, (std::vector<std::string>{"CONSULTA_ORDEM_FAMILIA", "0001", "000001", "0001", "02"}));
}

TEST_P(CatalogueTest, SpendingOfTodayAndOfTheMonth) {
  Exec(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI, CDFILIAL, "
      "CDCAIXA, NRSEQVENDA) VALUES ('000001', 10, '0001', '2026-12-06 08:00:00', 'D', 10.10, '0001', '001', '77')");
  Exec(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI, CDFILIAL, "
      "CDCAIXA, NRSEQVENDA) VALUES ('000001', 11, '0001', '2026-12-06 09:00:00', 'D', 0.20, '0001', '001', '78')");
  Exec(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI, CDFILIAL, "
      "CDCAIXA, NRSEQVENDA) VALUES ('000001', 12, NULL, '2026-12-06 08:00:00', 'D', 4.00, '0001', '001', '77')");
  Exec(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI) "
      "VALUES ('000001', 13, '0001', '2026-12-01 09:00:00', 'D', 5.00)");
  EXPECT_NEAR(rdm().getGastCons("000001", "0001", "1").AsFloat(), 10.30, 1e-9);
  EXPECT_NEAR(rdm().getGastCons("000001", "0001", "2").AsFloat(), 0.0, 1e-9);
  EXPECT_NEAR(rdm().getVrSubsBasicoCons("000001", "0001").AsFloat(), 4.00, 1e-9);
  EXPECT_NEAR(
      rdm()
          .getGastoConsMes("000001", "0001", base::DateTime::FromYMD(2026, 12, 1), base::DateTime::FromYMD(2026, 12, 6))
          .AsFloat(),
      15.30, 1e-9);
  std::string status;
  rdm().getQtdeProdDia("0001", "000001", "0001", "01", "1001", 1, Variant(), status);
  EXPECT_EQ(status, "QTDE_OK");  // Sunday is blocked in the consumer's mask: the family's 2 apply
  rdm().getQtdeProdDia("0001", "000001", "0001", "01", "1001", 3, Variant(), status);
  EXPECT_EQ(status, "QTDE_NOT_FAM");
  clock_.Set(base::DateTime::FromYMD(2026, 12, 7, 12));  // Monday: the consumer's own quota of 1
  rdm().getQtdeProdDia("0001", "000001", "0001", "01", "1001", 2, Variant(), status);
  EXPECT_EQ(status, "QTDE_NOT_CONS");
}

TEST_P(CatalogueTest, TabListsAreValuesNeverSql) {
  const auto& tabs = Packet(rdm().getComandaVal("0001", "", "'0100'"));
  ASSERT_EQ(tabs.rows.size(), 2u);  // its own tab and the tab of the joined table
  EXPECT_EQ(Cell(tabs, 1, "NRCOMANDA").AsString(), "0110");
  EXPECT_TRUE(Packet(rdm().getComandaVal("0001", "", "0100') OR ('1'='1")).rows.empty());
  const auto& resg = Packet(rdm().getResgDelivery("0001", "0100,0110"));
  ASSERT_EQ(resg.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(Cell(resg, 0, "VRDESCFIDELIDAD").AsFloat(), 10);
  // A code holding a quote is only a value.
  EXPECT_TRUE(Packet(rdm().getConsumidor("x' OR '1'='1", "0001", "0001")).rows.empty());
}

TEST_P(CatalogueTest, ServerTimeCarriesItsUtcOffset) {
  const std::string t = rdm().getDataEmissMp();
  ASSERT_EQ(t.size(), 25u) << t;
  EXPECT_EQ(t[10], 'T');
  EXPECT_TRUE(t[19] == '+' || t[19] == '-') << t;
  EXPECT_EQ(t[22], ':');
}

TEST_P(CatalogueTest, TenderScreenInTheHostShape) {
  const auto& p = Packet(rdm().getRecebHost("0001"));
  EXPECT_GT(p.rows.size(), 20u);
  for (const char* f : {"CDTIPORECE", "IDTIPORECE", "IDTPBUTTON", "NRBUTTON", "NRBUTTONAUX", "NRPGCONFTELA", "DSBUTTON",
                        "NRCOLORBACK", "CDFPIMPFIS", "IDMOSTRARECE"}) {
    EXPECT_GE(p.FieldIndex(f), 0) << f;
  }
  EXPECT_EQ(p.fields[p.FieldIndex("NRCOLORBACK")].type, base::FieldType::Float);
}

TEST_P(CatalogueTest, AnErrorResultIsTextNeverAPacket) {
  Exec("DROP TABLE FAMSALDOFILI");
  const Variant v = rdm().getConsSaldFam("0001", "000001", "0001");
  ASSERT_TRUE(v.IsString());
  EXPECT_FALSE(v.IsPacket());
  EXPECT_NE(v.AsString().find("FAMSALDOFILI"), std::string::npos) << v.AsString();
  EXPECT_THROW(v.AsPacket(), base::VariantError);
  EXPECT_TRUE(rdm().getGastCons("000001", "0001", "9").IsNumber());  // other tables still answer
  EXPECT_TRUE(rdm().getOrdemFamilia("0001", "02", "000001", "0001", "N").IsString());
  Exec("DROP TABLE TIPOCONS");
  EXPECT_EQ(rdm().PermiteAlterarDescFid("000001", "0001"), "");
  Exec("DROP TABLE ITFIDELIDADE");
  EXPECT_FALSE(rdm().getusoudesc("0001", "0001", "000001"));
}

RECEBIMENTO_BOTH_ENGINES(CatalogueTest);

}  // namespace
}  // namespace recebimento::testing
