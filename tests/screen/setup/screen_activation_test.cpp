// The screen's activation: the buyer on the receipt settled once (the seat's recorded
// document, the sale's consumer and its print choice), the promotions listed every time,
// and the FixeCRM stamps consulted once for a CPF only, a balance that covers the sale
// leaving one cent per unit to pay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/support/consumer_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class ActivationTest : public ConsumerTest {
 protected:
  void SetUp() override {
    ConsumerTest::SetUp();
    par().stCDURLFIXECRM = "https://crm.example/";
    Items({Seat(Item("1001", 10, "01", 2)), Seat(Item("1002", 5.55, "01"))});
  }

  // The item on table 12, seat 1, with the FixeCRM columns.
  static Row Seat(Row item) {
    item["NRCOMANDA"] = Variant("12");
    item["NRLUGARMESA"] = Variant("1");
    item["NRCPFFIXECRM"] = Variant(std::string());
    item["VRRESGFIXECRM"] = Variant(0.0);
    return item;
  }
  void Activate() { parts().activation.FormActivate(); }
  void FixeCrmAnswers(const std::string& message, const Variant& balance) {
    sim_->AnsweringServices().Script("FixeCRM:CONSULTA_SELOS",
                                     {true, Variant(std::vector<Variant>{Variant(message), balance})});
  }
  size_t Calls(const std::string& name) const { return sim_->Record().CountOf(name); }
  // A counter sale for the document `cpf`, with FixeCRM in use.
  void CounterSaleFor(const std::string& cpf) {
    sale().stIdTipoVenda = "B";
    sale().stNrDocConsCupom = cpf;
    par().stIDUTILFIXECRM = "S";
  }
};

TEST_F(ActivationTest, TheSeatsRecordedDocumentIsTakenOnceAndWrittenOnEveryItem) {
  par().stIDSOLICITACPF = "N";
  Store(
      "INSERT INTO ITCOMANDAVEN (CDFILIAL, NRVENDAREST, NRCOMANDA, NRPRODCOMVEN, NRLUGARMESA, NRINSCRCONS, "
      "NMCONSVEND, DSENDEVENDA, NRIDESTRANGEIRA) VALUES ('0001', '1', '12', '1', '1', '39053344705', 'Ana', 'Rua B', "
      "'')");
  Activate();
  EXPECT_EQ(sale().stNrDocConsCupom, "39053344705");
  EXPECT_EQ(sale().stNmConsCupom, "Ana");
  EXPECT_EQ(ItemColumn("NRINSCRCONS"), (std::vector<std::string>{"39053344705", "39053344705"}));
  EXPECT_EQ(ItemColumn("DSENDEVENDA"), (std::vector<std::string>{"Rua B", "Rua B"}));
  EXPECT_EQ(sale().stCpfClubPetro, "39053344705");
  EXPECT_EQ(Calls("CriaInfAdicional"), 0u);

  // Coming back to the screen asks nothing and reads nothing again.
  sale().stNrDocConsCupom = "11144477735";
  Activate();
  EXPECT_EQ(sale().stNrDocConsCupom, "11144477735");
  EXPECT_FALSE(parts().activation.FirstActivationPending());
}

TEST_F(ActivationTest, TheSalesConsumerIsTheBuyerAndItsPrintChoiceDecidesTheDialog) {
  par().stIDSOLICITACPF = "S";
  par().stIDIMPCNPJCLIE = "N";
  // Maria prints her CPF on the receipt: nothing is asked.
  Activate();
  EXPECT_EQ(sale().stNrDocConsCupom, "52998224725");
  EXPECT_EQ(sale().stNmConsCupom, "Maria da Silva");
  EXPECT_EQ(Calls("CriaInfAdicional"), 0u);

  // Ana does not: her name and address are offered in the dialog, the document asked.
  Row item = Seat(Item("1001", 10, "01", 1, "0003"));
  Items({item});
  sale().stNrDocConsCupom.clear();
  BuildParts(&answers_);
  WillIdentify("39053344705", "Ana Souza", "Rua C");
  Activate();
  ASSERT_EQ(Calls("CriaInfAdicional"), 1u);
  EXPECT_EQ(LastCall("CriaInfAdicional")[0].AsString(), "");
  EXPECT_EQ(LastCall("CriaInfAdicional")[1].AsString(), "Ana Souza");
  EXPECT_EQ(sale().stNrDocConsCupom, "39053344705");
  EXPECT_EQ(ItemColumn("DSENDEVENDA"), (std::vector<std::string>{"Rua C"}));
}

TEST_F(ActivationTest, StampsCoveringTheSaleLeaveOneCentPerUnitAndAreConsultedOnce) {
  CounterSaleFor("39053344705");
  SetTotal(25.55);
  FixeCrmAnswers("Você tem R$ 100,00 em selos. Deseja resgatar?", Variant(100.0));
  WillAnswer(true);  // redeem
  WillAnswer(true);  // the CPF printed on the receipt
  Activate();
  ASSERT_EQ(Calls("FixeCRM"), 1u);
  const std::vector<Variant> args = LastCall("FixeCRM");
  ASSERT_EQ(args.size(), 11u);  // the action, then the ten values
  EXPECT_EQ(args[2].AsString(), "https://crm.example/");
  EXPECT_EQ(args[6].AsString(), "39053344705");
  // Three units: 25.55 less three cents.
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 25.52);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 0.03);
  EXPECT_EQ(ItemColumn("NRCPFFIXECRM"), (std::vector<std::string>{"39053344705", "39053344705"}));
  EXPECT_EQ(ItemColumn("VRRESGFIXECRM"), (std::vector<std::string>{"25.55", "25.55"}));
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_EQ(Calls("CriaInfAdicional"), 0u);

  Activate();
  EXPECT_EQ(Calls("FixeCRM"), 1u) << "once per screen";
}

TEST_F(ActivationTest, ASmallerBalanceIsRedeemedWholeAndDecliningRedeemsNothing) {
  CounterSaleFor("39053344705");
  SetTotal(25.55);
  FixeCrmAnswers("Deseja resgatar?", Variant(std::string("7,5")));
  WillAnswer(true);
  WillAnswer(false);  // the CPF may be changed: the dialog opens
  WillIdentify("39053344705");
  Activate();
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 7.5);
  EXPECT_EQ(ItemColumn("VRRESGFIXECRM"), (std::vector<std::string>{"7.5", "7.5"}));
  EXPECT_EQ(Calls("CriaInfAdicional"), 1u);

  BuildParts(&answers_);
  sale().doVrDesconto = 0;
  FixeCrmAnswers("Deseja resgatar?", Variant(7.5));
  WillAnswer(false);
  WillAnswer(true);
  Activate();
  EXPECT_EQ(sale().doVrDesconto, 0);
  EXPECT_EQ(ItemColumn("VRRESGFIXECRM"), (std::vector<std::string>{"0", "0"}));
}

TEST_F(ActivationTest, ACnpjNeverConsultsFixeCrmAndAFailureLeavesTheSaleAsItWas) {
  CounterSaleFor("12345678000199");
  Activate();
  EXPECT_EQ(Calls("FixeCRM"), 0u);
  // The identification dialog that consulted FixeCRM itself is not repeated either.
  BuildParts(&answers_);
  sale().stNrDocConsCupom = "39053344705";
  sale().stConsultaFixeCRM = "N";
  Activate();
  EXPECT_EQ(Calls("FixeCRM"), 0u);

  // The host cannot reach FixeCRM: the message, the telephone forgotten, nothing asked.
  BuildParts(&answers_);
  sale().stConsultaFixeCRM.clear();
  sale().stTelefoneCons = "11999990000";
  sale().boTelefoneSolicitado = true;
  sim_->AnsweringServices().Script("FixeCRM:CONSULTA_SELOS", {false, Variant()});
  Activate();
  EXPECT_TRUE(ShownWith("FixeCRM. Tente novamente."));
  EXPECT_TRUE(sale().stTelefoneCons.empty());
  EXPECT_FALSE(sale().boTelefoneSolicitado);
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_FALSE(ShownWith("FixeCRM no Cupom"));
  EXPECT_EQ(sale().doVrDesconto, 0);

  // No stamps to redeem: told, the CPF recorded with nothing redeemed.
  BuildParts(&answers_);
  FixeCrmAnswers("Saldo insuficiente para resgate. Acumule mais selos.", Variant(0.0));
  WillAnswer(true);
  Activate();
  EXPECT_TRUE(ShownWith("Acumule mais selos"));
  EXPECT_EQ(ItemColumn("NRCPFFIXECRM"), (std::vector<std::string>{"39053344705", "39053344705"}));
  EXPECT_EQ(sale().doVrDesconto, 0);
}

TEST_F(ActivationTest, ThePromotionsAreListedOnEveryActivation) {
  sale().stIdTipoVenda = "B";
  par().stIDUTILINTEPROMO = "S";
  base::Dataset promo{"cdsPromoComanda"};
  Fill(promo, {{{"IDPROMOCOM", Variant("001")},
                {"NMPROMOCOM", Variant("Dinheiro")},
                {"IDTPPROMOCOM", Variant("P")},
                {"IDUTPROMOCOM", Variant("N")},
                {"IDTPDESCPROMO", Variant("V")},
                {"VRDESCPROMO", Variant(5.0)}}});
  sale().cdsPromoComanda = &promo;
  int listed = 0;
  for (int i = 0; i < 2; ++i) {
    pump_.Push(
        [&] {
          listed += ctl("panConsultaPromo").visible ? 1 : 0;
          parts().discounts.btnSairClick();
        },
        "close the promotions");
    Activate();
  }
  EXPECT_EQ(listed, 2);
  sale().cdsPromoComanda = nullptr;
}

}  // namespace
}  // namespace recebimento::testing
