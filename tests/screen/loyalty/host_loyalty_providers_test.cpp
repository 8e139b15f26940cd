// The cashback providers the host reaches (UDS, 4All, the banking core, Olga) as the
// scripted host answers them: an accepted balance becomes the sale's discount within
// the one-cent-a-unit rule and is recorded on the items; refusals, blocked balances and
// unanswering services leave the sale as it was.
#include <gtest/gtest.h>

#include "base/data_packet.h"
#include "base/dataset_columns.h"
#include "screen/frame/message_table.h"
#include "screen/support/tender_selection_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

Variant Answer(std::vector<Variant> values) { return Variant(std::move(values)); }

Variant Packet(const std::vector<std::string>& columns, const std::vector<std::vector<Variant>>& rows) {
  base::DataPacket p;
  for (const auto& c : columns) p.fields.push_back({c, base::FieldType::String, 60});
  for (const auto& r : rows) p.rows.push_back(r);
  return Variant(std::move(p));
}

class HostLoyaltyProvidersTest : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    sale().cdsItensVenda = &items_;
    Row item;
    for (const char* c :
         {"CDPRODUTO", "NRCPFFIDUDS", "NRCPFFID4ALL", "CDPROMOFID4ALL", "NRCPFCOREBANC", "IDREQCOREBANC", "IDWALLET",
          "IDCARTCORECORP", "NRTELOLGA", "IDCUPOMOLGA", "IDBENEFOLGA", "IDTRANSVENDAOLGA", "CDCLIENTE", "CDCONSUMIDOR"})
      item[c] = Variant(std::string());
    for (const char* c : {"VRDESCCASHUDS", "VRDESCCASH4ALL", "VRDESCPROMO4ALL", "VRRESGCOREBANC", "VRRESGCORECORP",
                          "VRTOTOLGA", "VRDESCFID"})
      item[c] = Variant(0.0);
    item["QTPRODCOMVEN"] = Variant(1.0);
    item["VRPRECCOMVEN"] = Variant(50.0);
    Fill(items_, {item, item});  // two units: two cents the discounts leave
    for (const char* b : {"btnCoreBancCash", "btnCoreBancCorp", "btnCoreBancSair", "btnTransVenda", "btnNTransVenda"}) {
      const std::string name = b;
      controls().Bind(name, [this, name] {
        auto& p = parts().host_loyalty;
        if (name == "btnCoreBancCash") p.btnCoreBancCashClick();
        if (name == "btnCoreBancCorp") p.btnCoreBancCorpClick();
        if (name == "btnCoreBancSair") p.btnCoreBancSairClick();
        if (name == "btnTransVenda") p.btnTransVendaClick();
        if (name == "btnNTransVenda") p.btnNTransVendaClick();
      });
    }
  }

  void Script(const std::string& key, bool ok, Variant result = Variant()) {
    config_.services.answers[key].push_back({ok, std::move(result)});
  }
  void Rebuild() {
    BuildParts(&answers_);
    BindButtons();
  }
  void WillChooseWallet(const std::string& button) {
    pump_.Push([this, button] { controls().Press(button); }, "wallet " + button);
  }
  // Answers the question of transmitting the sale to Olga, checking it is the one asked.
  void WillAnswerTransmission(const std::string& button) {
    pump_.Push(
        [this, button] {
          EXPECT_TRUE(ctl("panFidelidadeOlga").visible);
          EXPECT_TRUE(ctl(button).visible);
          EXPECT_FALSE(ctl("btnCashBackOlga").visible) << "only the question is on the panel";
          controls().Press(button);
        },
        "Olga " + button);
  }
  // A column of the last item (every item carries the same).
  std::string Item(const std::string& column) {
    items_.Last();
    return base::ColumnText(items_, column);
  }
  double ItemAmount(const std::string& column) {
    items_.Last();
    return base::ColumnNumber(items_, column);
  }
  bool Shown(const std::string& key) const {
    for (const auto& m : Messages())
      if (m.find(screen::Msg(key)) != std::string::npos) return true;
    return false;
  }
  size_t CallsOf(const std::string& name) const { return sim_->Record().CallsOf(name).size(); }

  base::Dataset items_{"cdsItensVenda"};
};

TEST_F(HostLoyaltyProvidersTest, UdsBalanceAboveTheSaleLeavesACentAUnitAndIsTakenOnce) {
  items_.First();
  items_.Edit();
  base::SetColumn(items_, "NRCPFFIDUDS", Variant(std::string("12345678909")));
  items_.Post();
  Script("IntegracaoFidUds:CONSULTA", true, Answer({Variant(true), Variant("ok"), Variant("250,00"), Variant("N")}));
  Script("IntegracaoFidUds:BAL_ZEM", true, Answer({Variant(true), Variant("ok")}));
  Rebuild();
  WillAnswer(true);
  parts().host_loyalty.sbtCashbackUDSClick();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 99.98);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0.02);
  EXPECT_DOUBLE_EQ(ItemAmount("VRDESCCASHUDS"), 99.98) << "every item carries the sale's amount";
  EXPECT_EQ(Item("NRCPFFIDUDS"), "12345678909");
  const auto taken = sim_->Record().CallsOf("IntegracaoFidUds");
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_DOUBLE_EQ(taken[1].args.back().AsFloat(), 99.98) << "the provider is told what the sale took";

  parts().host_loyalty.sbtCashbackUDSClick();
  EXPECT_TRUE(Shown("CASH_JA_UTIL"));
  EXPECT_EQ(CallsOf("IntegracaoFidUds"), 2u);
}

TEST_F(HostLoyaltyProvidersTest, UdsRefusalsLeaveTheSaleAsItWas) {
  items_.First();
  items_.Edit();
  base::SetColumn(items_, "NRCPFFIDUDS", Variant(std::string("12345678909")));
  items_.Post();
  Script("IntegracaoFidUds:CONSULTA", true, Answer({Variant(true), Variant(""), Variant(30.0), Variant("S")}));
  Script("IntegracaoFidUds:CONSULTA", true, Answer({Variant(true), Variant(""), Variant(30.0), Variant("N")}));
  Script("IntegracaoFidUds:BAL_ZEM", false);
  Rebuild();
  parts().host_loyalty.sbtCashbackUDSClick();
  EXPECT_TRUE(Shown("SALDO_BLOQ"));
  WillAnswer(true);
  parts().host_loyalty.sbtCashbackUDSClick();
  EXPECT_TRUE(Shown("FALHA_CONEXAO_UDS")) << "the balance could not be taken";
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  EXPECT_EQ(ItemAmount("VRDESCCASHUDS"), 0.0);

  config_.services.answers.clear();  // nobody answers
  Rebuild();
  parts().host_loyalty.sbtCashbackUDSClick();
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  Pay("001", "100,00");
  EXPECT_EQ(Lines().size(), 1u) << "the screen goes on";
}

TEST_F(HostLoyaltyProvidersTest, FourAllPromotionCodeAndCashbackBothDiscount) {
  Script("IntegracaoFid4All:CONSULTA", true,
         Answer({Variant(true), Variant(""), Variant(5.0),
                 Packet({"CDPROMOCAO", "DSTIPPROMO", "VRPROMOCAO"},
                        {{Variant("PROMO10"), Variant("percentual"), Variant(10.0)},
                         {Variant("MENOS3"), Variant("valor"), Variant(3.0)}})}));
  Script("IntegracaoFid4All:VALIDA_PROMOCODE", true, Answer({Variant(true), Variant("")}));
  Rebuild();
  answers_.Value(Variant(std::string("12345678909")));  // the CPF
  answers_.Value(Variant(std::string("promo10")));      // the code, upper-cased
  WillAnswer(true);                                     // the cashback
  parts().host_loyalty.sbtCashbackClick();
  // 10 % of the largest discount the sale admits (100.00, not the 99.98 left after the
  // cent a unit), then the cashback.
  EXPECT_DOUBLE_EQ(ItemAmount("VRDESCPROMO4ALL"), 10.0);
  EXPECT_EQ(Item("CDPROMOFID4ALL"), "PROMO10");
  EXPECT_DOUBLE_EQ(ItemAmount("VRDESCCASH4ALL"), 5.0);
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 15.0);
  const auto validation = sim_->Record().CallsOf("IntegracaoFid4All");
  ASSERT_EQ(validation.size(), 2u);
  EXPECT_EQ(validation[1].args[1].AsString(), "PROMO10");
}

TEST_F(HostLoyaltyProvidersTest, FourAllInvalidCodeOrBadCpfDiscountsNothing) {
  Script("IntegracaoFid4All:CONSULTA", true,
         Answer({Variant(true), Variant(""), Variant(5.0),
                 Packet({"CDPROMOCAO", "DSTIPPROMO", "VRPROMOCAO"},
                        {{Variant("PROMO10"), Variant("valor"), Variant(10.0)}})}));
  Script("IntegracaoFid4All:VALIDA_PROMOCODE", true, Answer({Variant(false), Variant("expirado")}));
  Rebuild();
  answers_.Value(Variant(std::string("123")));
  parts().host_loyalty.sbtCashbackClick();
  EXPECT_TRUE(Shown("CPF_INV"));
  EXPECT_EQ(CallsOf("IntegracaoFid4All"), 0u);

  answers_.Value(Variant(std::string("12345678909")));
  answers_.Value(Variant(std::string("PROMO10")));
  parts().host_loyalty.sbtCashbackClick();
  EXPECT_TRUE(Shown("PROMOCODE_INV"));
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  EXPECT_EQ(Item("CDPROMOFID4ALL"), "");
}

TEST_F(HostLoyaltyProvidersTest, CoreBankingBlockedWalletThenAnotherOneDiscounts) {
  items_.First();
  items_.Edit();
  base::SetColumn(items_, "NRCPFCOREBANC", Variant(std::string("12345678909")));
  items_.Post();
  const Variant wallets = Packet({"CDWALLET", "VRSALDO", "BLOQUEADO", "IDCARTAO"},
                                 {{Variant("001"), Variant(80.0), Variant("true"), Variant("C1")},
                                  {Variant("002"), Variant(40.0), Variant("false"), Variant("C2")}});
  Script("CoreBancario:CONSULTA", true, Answer({Variant(true), Variant("REQ-9"), wallets, Variant()}));
  Rebuild();
  WillChooseWallet("btnCoreBancCash");
  WillChooseWallet("btnCoreBancCorp");
  WillAnswer(true);
  parts().host_loyalty.sbtCashbackCoreClick();
  EXPECT_TRUE(Shown("SALDO_CART_BLOQ"));
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 40.0);
  EXPECT_DOUBLE_EQ(ItemAmount("VRRESGCORECORP"), 40.0);
  EXPECT_EQ(ItemAmount("VRRESGCOREBANC"), 0.0);
  EXPECT_EQ(Item("IDWALLET"), "002");
  EXPECT_EQ(Item("IDCARTCORECORP"), "C2");
  EXPECT_EQ(Item("IDREQCOREBANC"), "REQ-9");
  EXPECT_FALSE(ctl("panCoreBancario").visible);
  EXPECT_EQ(CallsOf("AtivaProcesso"), CallsOf("DesativaProcesso"));

  parts().host_loyalty.sbtCashbackCoreClick();
  EXPECT_TRUE(Shown("CORE_JA_UTIL"));
}

TEST_F(HostLoyaltyProvidersTest, CoreBankingErrorsAreListedAndNothingIsApplied) {
  items_.First();
  items_.Edit();
  base::SetColumn(items_, "NRCPFCOREBANC", Variant(std::string("12345678909")));
  items_.Post();
  const Variant errors =
      Packet({"CDERRO", "DSERROCONS", "IDSUCCESS", "CDRETORNO", "DSRETCONS"},
             {{Variant("E12"), Variant("CPF sem conta"), Variant("false"), Variant("404"), Variant("nao encontrado")}});
  Script("CoreBancario:CONSULTA", true, Answer({Variant(false), Variant(""), Variant(), errors}));
  Rebuild();
  WillChooseWallet("btnCoreBancCash");
  parts().host_loyalty.sbtCashbackCoreClick();
  bool listed = false;
  for (const auto& m : Messages())
    listed = listed || (m.find("ERRO-E12:CPF sem conta") != std::string::npos &&
                        m.find("ERRO-404:nao encontrado") != std::string::npos);
  EXPECT_TRUE(listed);
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  EXPECT_EQ(parts().host_loyalty.ErrosCoreBancario(Variant()), screen::Msg("ERRO_PADRAO"));

  WillChooseWallet("btnCoreBancSair");
  parts().host_loyalty.sbtCashbackCoreClick();
  EXPECT_EQ(CallsOf("CoreBancario"), 1u) << "leaving the panel asks nothing";
}

TEST_F(HostLoyaltyProvidersTest, OlgaCouponsDiscountOrAccumulate) {
  sale().stTelefoneCons = "11999990000";
  Script("FidelidadeOlga:VALIDA_CUPOM", true,
         Answer({Variant(true), Variant(""), Variant("CASHBACK_ACCUMULATE"), Variant(0.0), Variant("CUP-1")}));
  Script("FidelidadeOlga:VALIDA_CUPOM", true,
         Answer({Variant(true), Variant(""), Variant("CASH"), Variant("15.00"), Variant("CUP-2")}));
  Rebuild();
  parts().host_loyalty.sbtFidelidadeOlgaClick();
  EXPECT_TRUE(ctl("panFidelidadeOlga").visible);
  answers_.Value(Variant(std::string("ABC")));
  WillAnswerTransmission("btnNTransVenda");
  parts().host_loyalty.btnBeneficioOlgaClick();
  EXPECT_FALSE(ctl("panFidelidadeOlga").visible);
  EXPECT_TRUE(ctl("btnCashBackOlga").visible) << "the panel offers its choices again";
  EXPECT_TRUE(Shown("CASH_OLGA_OK"));
  EXPECT_EQ(sale().doVrDesconto, 0.0) << "accumulating takes nothing off";
  EXPECT_EQ(Item("IDCUPOMOLGA"), "CUP-1");
  EXPECT_EQ(Item("IDTRANSVENDAOLGA"), "N");
  EXPECT_TRUE(parts().host_loyalty.TransmissionAnswered());

  parts().host_loyalty.PaymentsCleared();
  answers_.Value(Variant(std::string("XYZ")));
  WillAnswerTransmission("btnTransVenda");
  parts().host_loyalty.btnBeneficioOlgaClick();
  EXPECT_EQ(Item("IDTRANSVENDAOLGA"), "S");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 15.0);
  EXPECT_DOUBLE_EQ(ItemAmount("VRTOTOLGA"), 15.0);
  EXPECT_EQ(Item("IDCUPOMOLGA"), "CUP-2");
  EXPECT_EQ(Item("NRTELOLGA"), "11999990000");
}

TEST_F(HostLoyaltyProvidersTest, OlgaWithoutAnAnswerOrAPhoneAppliesNothing) {
  Rebuild();
  answers_.Cancel();  // no phone
  parts().host_loyalty.btnCashBackOlgaClick();
  EXPECT_EQ(CallsOf("FidelidadeOlga"), 0u);
  sale().stTelefoneCons = "11999990000";
  parts().host_loyalty.btnCashBackOlgaClick();  // nobody answers
  EXPECT_TRUE(Shown("FALHA_CONEXAO_OLGA"));
  EXPECT_EQ(sale().doVrDesconto, 0.0);
  EXPECT_EQ(Item("IDBENEFOLGA"), "");
  EXPECT_FALSE(parts().host_loyalty.TransmissionAnswered()) << "nothing taken, nothing asked";
}

TEST_F(HostLoyaltyProvidersTest, OnlineLoyaltyBalanceOfTheConsumerFoundByPhone) {
  par().stIDEXTCONSONLINE = "S";
  sale().stTelefoneCons = "11987654321";
  Script("ExtratoConsOnline:CONSULTA_SALDO_FID", true, Variant(std::vector<Variant>{Variant(20.0)}));
  Rebuild();
  pos::DialogAnswer found;
  found.fields = {{"CDCLIENTE", Variant("000001")}, {"CDCONSUMIDOR", Variant("0001")}};
  answers_.Push(found);
  WillAnswer(true);
  parts().identification.ConsultaConsTel();
  ASSERT_EQ(CallsOf("ExtratoConsOnline"), 1u) << "the identification reaches the online loyalty";
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 20.0);
  EXPECT_DOUBLE_EQ(ItemAmount("VRDESCFID"), 20.0);
  EXPECT_EQ(Item("CDCONSUMIDOR"), "0001");
}

TEST_F(HostLoyaltyProvidersTest, OnlineLoyaltyBalanceOfTheChosenConsumer) {
  par().stIDEXTCONSONLINE = "S";
  sale().charged.client = "C1";
  sale().charged.consumer = "K9";
  Script("ExtratoConsOnline:CONSULTA_SALDO_FID", true, Variant(std::vector<Variant>{Variant(30.0)}));
  Rebuild();
  WillAnswer(true);  // the balance, not to be changed (no setting allows it)
  parts().host_loyalty.FidelidadeCashback();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 30.0);
  EXPECT_DOUBLE_EQ(ItemAmount("VRDESCFID"), 30.0);
  EXPECT_EQ(Item("CDCONSUMIDOR"), "K9");
  parts().host_loyalty.FidelidadeCashback();
  EXPECT_EQ(CallsOf("ExtratoConsOnline"), 1u) << "once a sale";

  parts().host_loyalty.PaymentsCleared();
  sale().doVrDesconto = 0;
  config_.services.answers.clear();  // the service does not answer
  Rebuild();
  parts().host_loyalty.FidelidadeCashback();
  EXPECT_TRUE(Shown("FALHA_CONEXAO_SRV_FID"));
  EXPECT_EQ(sale().doVrDesconto, 0.0);
}

}  // namespace
}  // namespace recebimento::testing
