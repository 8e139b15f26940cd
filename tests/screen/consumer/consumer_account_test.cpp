// The consumer-account tenders over the demo store: the debit account's limits and the
// completion with another tender, the personal credit's families, quotas, limits and the
// store's loans, and who may be charged at all.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "screen/support/consumer_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using Paid = std::vector<std::pair<std::string, double>>;
using screen::ConsumerAccount;
using screen::ConsumerRestrictions;

// Consumer 0001's debit account: balance 464,10, floor -200, daily maximum 150, warning
// at 20, the monthly cap of its type 1500. Its credit: food 120,50 (its own daily cap 60),
// fuel 300, convenience 15,75 (may go below zero); daily maximum 100, floor -50.
using ConsumerAccountTest = ConsumerTest;

TEST_F(ConsumerAccountTest, ADebitAmountReachingTheDailyMaximumPassesAndBeyondItIsCompleted) {
  Items({Item("1003", 200, "")});
  Pay("010", "150");
  EXPECT_EQ(Lines("T"), (Paid{{"010", 150.0}}));
  EXPECT_FALSE(ShownWith("não pode exceder"));

  // 50 more today than the maximum allows: the rest of the sale goes to another tender.
  Items({Item("1003", 200, "")});
  movi_.EmptyDataSet();
  Store("UPDATE CONSUMIDOR SET VRMAXDEBCONS = 160 WHERE CDCONSUMIDOR = '0001'");
  WillAnswer(true);  // complete the sale with another tender
  Pay("010", "200");
  EXPECT_TRUE(ShownWith("não pode exceder o valor de consumo diário"));
  EXPECT_EQ(Lines("T"), (Paid{{"010", 160.0}}));
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 40);
}

TEST_F(ConsumerAccountTest, APassedMaximumLeavesNothingOfItButTheNextLimitStillDecides) {
  Store(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI) "
      "VALUES ('000001', 50, '0001', '2026-12-06 08:00:00', 'D', 160)");
  Store("UPDATE CONSUMIDOR SET VRLIMDEBCONS = 460 WHERE CDCONSUMIDOR = '0001'");
  Items({Item("1003", 10, "")});
  WillAnswer(true);
  Pay("010", "10");
  EXPECT_TRUE(ShownWith("não pode exceder o valor de consumo diário"));
  EXPECT_TRUE(ShownWith("Saldo do consumidor insuficiente"));
  // What the floor leaves: the balance 464,10 down to 460.
  EXPECT_EQ(Lines("T"), (Paid{{"010", 4.1}}));

  // Declining to complete leaves no line.
  movi_.EmptyDataSet();
  WillAnswer(false);
  Pay("010", "10");
  EXPECT_TRUE(Lines("T").empty());
  EXPECT_TRUE(sale().boFalhaReceb);
}

TEST_F(ConsumerAccountTest, TheBasicSubsidyIsOfferedAndTheConsumerIsHeldToTheRest) {
  // Product 1001 is subsidised; the consumer's daily subsidy is 15.
  Store("UPDATE CONSUMIDOR SET VRMAXDEBCONS = 5 WHERE CDCONSUMIDOR = '0001'");
  WillAnswer(true);
  Pay("010", "20");
  EXPECT_TRUE(ShownWith("Valor de subsídio restante R$ 15,00"));
  EXPECT_FALSE(ShownWith("não pode exceder")) << "the consumer's own part is 5";
  EXPECT_EQ(Lines("T"), (Paid{{"010", 20.0}}));
  parts().restrictions.VerifVrSubsBasico();
  EXPECT_DOUBLE_EQ(parts().restrictions.BasicSubsidy(), 15);
}

TEST_F(ConsumerAccountTest, OnlyAnActiveKnownConsumerIsCharged) {
  Items({Item("1001", 20, "01", 1, "")});
  parts().selection.DoMenuRecebimentoClick("010", "");
  EXPECT_TRUE(ShownWith("nenhum consumidor foi informado"));
  Items({Item("1001", 20, "01", 1, "0002")});
  parts().selection.DoMenuRecebimentoClick("009", "");
  EXPECT_TRUE(ShownWith("Consumidor inativo"));
  EXPECT_EQ(movi_.RecordCount(), 0);
}

TEST_F(ConsumerAccountTest, PersonalCreditDrawsItsFamiliesAndCarriesTheLoansBack) {
  Store("UPDATE SALDOCONS SET VRSALDCONFAM = 50 WHERE CDCONSUMIDOR = '0001' AND CDFAMILISALD = '02'");
  Items({Item("2001", 80, "02")});
  Pay("009", "80");
  EXPECT_EQ(Lines(), (Paid{{"009", 80.0}}));
  families_.First();
  EXPECT_EQ(families_.FieldByName("CDFAMILISALD").AsString(), "02");
  EXPECT_DOUBLE_EQ(families_.FieldByName("VRSALDCONFAM").AsFloat(), 80);
  base::Dataset& loans = sale().cdsEmprestimoFam;
  ASSERT_EQ(loans.RecordCount(), 2);
  loans.First();
  EXPECT_EQ(loans.FieldByName("CDFAMILISALD").AsString(), "01");
  EXPECT_EQ(loans.FieldByName("CDFAMILISALDEMP").AsString(), "02");
  EXPECT_DOUBLE_EQ(loans.FieldByName("VREMPRESTIMO").AsFloat(), 30);
  EXPECT_EQ(loans.FieldByName("IDTPMOVEXT").AsString(), "D");
}

TEST_F(ConsumerAccountTest, ARefusedCreditLeavesTheFamilyListAsItWas) {
  // The food family's own daily cap is 60: the store refuses and says how much is left.
  Items({Item("1001", 70, "01")});
  Pay("009", "70");
  EXPECT_TRUE(ShownWith("Limite de consumo diário excedido na família 01 - Alimentação, que é de R$ 60,00"));
  EXPECT_TRUE(ShownWith("Limite restante: R$ 60,00"));
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_EQ(families_.RecordCount(), 0);
  // Items the consumer's families do not pay for.
  Items({Item("1001", 10, "")});
  Pay("009", "10");
  EXPECT_TRUE(ShownWith("não pode consumir produtos desta família"));
  Row cover = Item("9001", 5, "");
  cover["IDCONFIGPROD"] = Variant("CAR");
  Items({cover});
  Pay("009", "5");
  EXPECT_TRUE(ShownWith("Couvert não permitido"));
}

TEST_F(ConsumerAccountTest, AQuotaOfZeroRefusesTheProductWhateverTheQuantity) {
  Store("UPDATE FAMSALDOPROD SET QTCONSDIAFAM = 0 WHERE CDFAMILISALD = '03' AND CDPRODUTO = '1002'");
  Items({Item("1002", 5, "03", 0)});
  Pay("009", "5");
  EXPECT_TRUE(ShownWith("Produto selecionado não pode ser vendido."));
  EXPECT_EQ(movi_.RecordCount(), 0);
}

TEST_F(ConsumerAccountTest, CreditLimitsSkipAFamilyUsedAfterAnotherButStillWarn) {
  sale().charged = {"000001", "0001", "Maria da Silva", "", "", "", ""};
  sale().cdsConsumidor.SetData(rdm_->getConsumidor("000001", "0001", "0001"));
  parts().consumer.FamilyBalances().SetData(rdm_->getConsSaldFam("0001", "000001", "0001"));
  ConsumerAccount& account = parts().consumer;
  // The consumer's daily credit maximum is 100; the food family comes first.
  EXPECT_TRUE(account.Valida_Parametros_Credito_Pessoal("01", "1", "100", "", "0", "0"));
  EXPECT_FALSE(account.Valida_Parametros_Credito_Pessoal("01", "2", "50", "0", "0", "0,01"));
  EXPECT_TRUE(ShownWith("não pode exceder o valor de consumo diário - 100,00"));
  // Fuel comes after food: neither the maximum nor the floor hold it, the warning does.
  EXPECT_TRUE(account.Valida_Parametros_Credito_Pessoal("02", "1", "295", "", "0", "0"));
  EXPECT_TRUE(ShownWith("Saldo Família Combustível"));
}

TEST_F(ConsumerAccountTest, AMealServiceHoldsItsProductsAndTheirDailyQuantity) {
  // Lunch, 11:00 to 15:00, for the employees' type: one dish a day, up to 35,00.
  Fill(sale().cdsProdServTCon, {{{"CDFILIAL", Variant("0001")},
                                 {"CDCAIXA", Variant("001")},
                                 {"CDSERVFILI", Variant("ALM")},
                                 {"VRLIMCONSERV", Variant(35.0)},
                                 {"HRINISERTUR", Variant("11:00")},
                                 {"HRFINSERTUR", Variant("15:00")},
                                 {"CDTIPOCONS", Variant("01")},
                                 {"CDPRODUTO", Variant("1001")},
                                 {"QTLIMCONPRSE", Variant(1.0)}}});
  Items({Item("1001", 15, "01", 2)});
  Pay("009", "30");
  EXPECT_TRUE(ShownWith("Quantidade limite de consumo diário do serviço (1) excedida para o produto 1001"));
  Items({Item("1001", 15, "01"), Item("1002", 5, "01")});
  Pay("009", "20");
  EXPECT_TRUE(ShownWith("Produto não cadastrado no serviço do consumidor"));
  EXPECT_EQ(movi_.RecordCount(), 0);
  Items({Item("1001", 20, "01")});
  Pay("009", "20");
  EXPECT_EQ(Lines(), (Paid{{"009", 20.0}}));
}

TEST_F(ConsumerAccountTest, ACentralThatDoesNotAnswerRefusesTheTenderSayingWhich) {
  par().stIDDEBCONSCENTRAL = "S";
  parts().selection.DoMenuRecebimentoClick("010", "");
  EXPECT_TRUE(ShownWith("Falha de conexão com o banco centralizado. Operação: CONSULTA_CONSUMO"));
  EXPECT_EQ(movi_.RecordCount(), 0);
}

TEST(FamilyList, AFamilyDrawnBackToNothingLeavesTheList) {
  base::Dataset families;
  ConsumerAccount::addFamiliaSaldo(families, "01", 10.1, true);
  ConsumerAccount::addFamiliaSaldo(families, "01", 0.2, true);
  ConsumerAccount::addFamiliaSaldo(families, "02", 5, true);
  families.Locate("CDFAMILISALD", Variant("01"));
  EXPECT_DOUBLE_EQ(families.FieldByName("VRSALDCONFAM").AsFloat(), 10.3);
  ConsumerAccount::addFamiliaSaldo(families, "01", 10.3, false);
  EXPECT_EQ(families.RecordCount(), 1);
  EXPECT_FALSE(families.Locate("CDFAMILISALD", Variant("01")));
  ConsumerAccount::addFamiliaSaldo(families, "09", 1, false);  // nothing to take from
  EXPECT_EQ(families.RecordCount(), 1);
  EXPECT_EQ(ConsumerAccount::PrimeiroDiaMes(base::DateTime::FromYMD(2026, 12, 31, 23, 59)),
            base::DateTime::FromYMD(2026, 12, 1));
}

TEST_F(ConsumerAccountTest, ATenderTiedToConsumerTypesNeedsAConsumerOfThem) {
  ConsumerRestrictions& restrictions = parts().restrictions;
  // In the demo store the consumer accounts 010 and 011 are the fleet's tenders.
  Items({Item("1001", 20, "01", 1, "")});
  EXPECT_FALSE(restrictions.Vd_TipoConsReceb("011"));
  EXPECT_TRUE(restrictions.Vd_TipoConsReceb("001"));
  Items({Item("1001", 20, "01", 1, "0004")});
  EXPECT_TRUE(restrictions.Vd_TipoConsReceb("011"));
  EXPECT_FALSE(restrictions.Vd_TipoConsReceb("001"));
  Items({Item("1001", 20, "01", 1, "0001")});  // an employee's type lists nothing: every tender
  EXPECT_TRUE(restrictions.Vd_TipoConsReceb("001"));
  EXPECT_TRUE(restrictions.Vd_TipoConsReceb("011"));
}

TEST_F(ConsumerAccountTest, ARechargeMustCoverTheTicketAndMayEqualIt) {
  config_.services.prices["9100"] = {9.5, 0.5, 0, 0};
  Rebuild();
  sale().stCdClienteVenda = "000001";
  sale().stCdConsumidorVenda = "0001";
  ctl("lblTotalCarga").caption = "10,00";
  EXPECT_TRUE(parts().restrictions.Vd_Ingresso());
  ctl("lblTotalCarga").caption = "9,99";
  EXPECT_FALSE(parts().restrictions.Vd_Ingresso());
  EXPECT_TRUE(ShownWith("Valor do Ingresso: R$ 10,00"));
}

}  // namespace
}  // namespace recebimento::testing
