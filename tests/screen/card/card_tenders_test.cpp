// Card tenders through the card terminal: the amount checks, the route by the branch's TEF,
// the integrated and dedicated transactions, what an approval leaves on the line (discount,
// brand, wallet), the refusals, and the cheque's consultation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/card/card_tender_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using CardTenders = CardTenderTest;

TEST_F(CardTenders, AmountChecksOfTheStateTipControlAndTheLastTransaction) {
  // State "SC": change through a card up to 10,00 passes, a cent more is refused.
  par().stSGESTADOFILI = "SC";
  par().stIDTPCONTRREPIQ = "S";
  Terminal({Approved("100"), Approved("101")});
  SetTotal(50);
  Pay("010", "60,01");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("R$10,00"), std::string::npos) << Messages().back();
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_TRUE(parts().grid.Selecting()) << "the grid is offered again";
  EXPECT_EQ(Calls("DoTef").size(), 0u) << "refused before the terminal";

  // Without tip control no card pays more than is due, whatever the state.
  par().stSGESTADOFILI = "SP";
  par().stIDTPCONTRREPIQ = "N";
  Pay("010", "50,01");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(Calls("DoTef").size(), 0u);

  // The twentieth integrated transaction must pay the whole rest.
  sale().inQtdeTef = 19;
  Pay("010", "20");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("última transação TEF"), std::string::npos) << Messages().back();
  par().stSGESTADOFILI = "SC";
  par().stIDTPCONTRREPIQ = "S";
  sale().inQtdeTef = 0;
  Pay("010", "40");
  EXPECT_FALSE(sale().boFalhaReceb);
  ASSERT_EQ(movi_.RecordCount(), 1);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 10);

  // The twentieth transaction that pays the whole rest goes to the terminal.
  sale().inQtdeTef = 19;
  Pay("010", "10");
  EXPECT_FALSE(sale().boFalhaReceb) << (Messages().empty() ? "" : Messages().back());
  EXPECT_EQ(sale().inQtdeTef, 20);
  EXPECT_EQ(Calls("DoTef").size(), 2u);

  // In "SC", exactly 10,00 above what is due passes when tips are allowed.
  SetTotal(50);
  sale().inQtdeTef = 0;
  Pay("010", "60");
  EXPECT_FALSE(sale().boFalhaReceb) << (Messages().empty() ? "" : Messages().back());
  ASSERT_EQ(Calls("DoTef").size(), 3u);
  EXPECT_DOUBLE_EQ(Calls("DoTef")[2].args[2].AsFloat(), 60);
}

TEST_F(CardTenders, IntegratedApprovalCallsDoTefInOrderAndFillsTheLine) {
  Terminal({Approved("778899", "")});
  sale().inCtrlCupomTef = 4;
  Pay("010", "40");
  ASSERT_FALSE(sale().boFalhaReceb);
  const auto calls = Calls("DoTef");
  ASSERT_EQ(calls.size(), 1u);
  // Scheme, letter, amount, still to pay, the receipt control and the transaction count.
  EXPECT_EQ(calls[0].args[0].AsString(), "1");
  EXPECT_EQ(calls[0].args[1].AsString(), "C");
  EXPECT_DOUBLE_EQ(calls[0].args[2].AsFloat(), 40);
  EXPECT_DOUBLE_EQ(calls[0].args[3].AsFloat(), 100);
  EXPECT_EQ(calls[0].args[4].AsInteger(), 4);
  EXPECT_EQ(calls[0].args[5].AsInteger(), 0);
  EXPECT_EQ(sale().inQtdeTef, 1) << "the host keeps the count";
  EXPECT_EQ(LastLine("CDTIPORECE"), "010");
  EXPECT_EQ(LastLine("CDNSUHOSTTEF"), "778899");
  EXPECT_FALSE(LastLine("NRAUTORIZATEF").empty());
  EXPECT_FALSE(LastLine("NRCONTROLTEF").empty());
  EXPECT_TRUE(sale().boTemPagtoTef);
  EXPECT_EQ(sale().stFormaPagTef, "Cartao Credito");
  EXPECT_FALSE(ctl("panTef").visible) << "the card panel goes with the transaction";
  EXPECT_FALSE(parts().cards.Panel().Timer().Enabled());

  // Debits: "D" for a plain debit, "V" for a voucher.
  Pay("020", "10");
  Pay("022", "10");
  ASSERT_EQ(Calls("DoTef").size(), 3u);
  EXPECT_EQ(Calls("DoTef")[1].args[1].AsString(), "D");
  EXPECT_EQ(Calls("DoTef")[2].args[1].AsString(), "V");
}

TEST_F(CardTenders, ThePanelCountsTheSecondsWhileTheTerminalWorks) {
  pos::TefOutcome slow = Approved("1");
  slow.seconds = 3;
  Terminal({slow});
  bool shown = false;
  std::string counted;
  WillType("40");
  // The terminal's three seconds pass as the operator waits.
  pump_.Push(
      [&] {
        shown = ctl("panTef").visible;
        pump_.AdvanceTime(3000);
        counted = ctl("lblSegundos").caption;
      },
      "three seconds at the terminal");
  parts().selection.DoMenuRecebimentoClick("010", "");
  EXPECT_TRUE(shown);
  EXPECT_EQ(counted, "( 3 )");
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_EQ(movi_.RecordCount(), 1);
}

TEST_F(CardTenders, ADeclinedCardLeavesNoLineAndTheGridOffered) {
  Terminal({Declined(5)});
  Pay("010", "40");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 100);
  EXPECT_FALSE(ctl("panTef").visible);
  EXPECT_TRUE(parts().grid.Selecting());
  EXPECT_FALSE(sale().boTemPagtoTef);
}

TEST_F(CardTenders, TheBrandMovesThePaymentToTheFirstTenderOfThatBrand) {
  Terminal({Approved("1", "99"), Approved("2", "02"), Approved("3", "01")});
  Pay("010", "10");  // no tender of brand 99: the grid's tender stays
  EXPECT_EQ(LastLine("CDTIPORECE"), "010");
  Pay("010", "10");  // two tenders of brand 02: the first
  EXPECT_EQ(LastLine("CDTIPORECE"), "012");
  EXPECT_EQ(LastLine("NMTIPORECE"), "MASTER CREDITO");
  EXPECT_TRUE(LastLine("CDTIPORECEORIG").empty()) << "a credit line does not name the grid's tender";
  // A debit of brand 01 moves to the debit-family tender of that brand and says where it came from.
  Pay("020", "10");
  EXPECT_EQ(LastLine("CDTIPORECE"), "021");
  EXPECT_EQ(LastLine("IDTIPORECE"), "F");
  EXPECT_EQ(LastLine("CDBANCARTCR"), "01");
  EXPECT_EQ(LastLine("CDTIPORECEORIG"), "020");
  EXPECT_EQ(LastLine("NMTIPORECEORIG"), "DEBITO");
  EXPECT_EQ(sale().cdsReceb.FieldByName("CDTIPORECE").AsString(), "020") << "back on the grid's tender";
}

TEST_F(CardTenders, ADiscountOfTheCardLowersWhatIsDueAndTheLine) {
  Terminal({Approved("1", "", 5)});
  Pay("010", "40");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 5);
  EXPECT_DOUBLE_EQ(sale().doPercDesconto, 5) << "5,00 of a 100,00 sale";
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEND").AsFloat(), 35);
  EXPECT_DOUBLE_EQ(sale().doVrPago, 35);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 60);
}

TEST_F(CardTenders, TefDisabledAndTypedNsus) {
  // TEF off for the tender and no NSU asked: a card line without card data.
  par().stIDSOLICITANSU = "N";
  Pay("040", "10");
  ASSERT_EQ(movi_.RecordCount(), 1);
  EXPECT_TRUE(LastLine("CDNSUHOSTTEF").empty());
  EXPECT_EQ(Calls("DoTef").size(), 0u);
  EXPECT_TRUE(sale().boTemPagtoTef) << "the integrated route marks the card payment";

  // The NSU asked: what is typed is the host NSU, within the branch's digits.
  par().stIDSOLICITANSU = "S";
  par().inQTDMAXDIGNSU = 6;
  answers_.Value(Variant("123456"));
  Pay("040", "10");
  EXPECT_EQ(LastLine("CDNSUHOSTTEF"), "123456");
  const auto keypad = Calls("TecladoNumerico");
  ASSERT_EQ(keypad.size(), 1u);
  EXPECT_EQ(keypad[0].args[1].AsString(), "NSU da Venda");
  EXPECT_EQ(keypad[0].args[4].AsInteger(), 6);
  EXPECT_EQ(keypad[0].args[5].AsString(), "X");

  // Cancelled, or confirmed empty: refused with its message, no line.
  for (const bool cancelled : {true, false}) {
    if (cancelled)
      answers_.Cancel();
    else
      answers_.Value(Variant(std::string()));
    Pay("040", "10");
    EXPECT_TRUE(sale().boFalhaReceb) << cancelled;
    EXPECT_EQ(Messages().back(), "Código NSU deve ser informado.");
    EXPECT_EQ(movi_.RecordCount(), 2) << cancelled;
  }
}

TEST_F(CardTenders, ChequeConsultationPaysExactlyWhatIsDue) {
  Terminal({Approved("55")});
  Pay("050", "40");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("fechar o valor da venda"), std::string::npos);
  Pay("050", "100,01");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("não permite que seja emitido troco"), std::string::npos);
  EXPECT_EQ(Calls("DoTef").size(), 0u);
  EXPECT_EQ(movi_.RecordCount(), 0);
  // The whole amount: the terminal consults the cheque ("Q").
  WillType("100");
  pump_.Push([this] { window_.Close(); }, "the sale is confirmed");
  parts().selection.DoMenuRecebimentoClick("050", "");
  ASSERT_EQ(Calls("DoTef").size(), 1u);
  EXPECT_EQ(Calls("DoTef")[0].args[1].AsString(), "Q");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"050", 100.0}}));
}

class DedicatedCardTenders : public CardTenderTest {
 protected:
  void SetUp() override {
    CardTenderTest::SetUp();
    par().stIDUTILTEF = "T";
    par().stIDTPTEF = "0";
    par().stDSENDIPSITEF = "10.0.0.1";
    par().stCDLOJATEF = "00000001";
    par().stCDTERTEF = "SE000001";
    par().stIDBLOQIDCART = "S";
    par().stIDHABFORMTEF = "N";
    par().boUTILIZAIMPFIS = false;
    par().boSISTEMAZEMNFCE = true;
  }
};

TEST_F(DedicatedCardTenders, FunctionListsOperationNumbersAndTheConfiguration) {
  Pay("001", "1");  // a selection sets the list's prefix
  screen::CardTenders& cards = parts().cards;
  EXPECT_EQ(cards.FunctionList("1"), "[29;10;27;28;31;32;33;36;40;3031;3988]");
  EXPECT_EQ(cards.FunctionList("2"), "[29;10;17;18;19;25;31;32;33;40;3031;3988]");
  par().stIDHABFORMTEF = "S";
  EXPECT_EQ(cards.FunctionList("1"), "[29;10;15;31;32;33;40]");
  EXPECT_EQ(cards.FunctionList("G"), "[29;10;25;31;32;33;40]");
  EXPECT_EQ(cards.FunctionList("H"), "[]");
  par().stIDTPTEF = "B";
  EXPECT_EQ(cards.FunctionList("1"), "112");
  EXPECT_EQ(cards.FunctionList("F"), "101");
  EXPECT_EQ(cards.OperationNumber("1"), 3);
  EXPECT_EQ(cards.OperationNumber("2"), 2);
  EXPECT_EQ(cards.OperationNumber("F"), 4) << "a voucher-family debit on a B terminal";
  EXPECT_EQ(cards.OperationNumber("H"), 122);
  EXPECT_EQ(cards.OperationNumber("3"), 1);
  par().stIDTPTEF = "6";
  par().stCDLOJATEF.clear();
  EXPECT_FALSE(cards.DedicatedConfigured());
  par().stIDTPTEF = "2";
  EXPECT_TRUE(cards.DedicatedConfigured());
  par().stCDTERTEF.clear();
  EXPECT_FALSE(cards.DedicatedConfigured());
  Pay("010", "10");
  EXPECT_EQ(Messages().back(), "Tef deve ser configurado.");
  EXPECT_EQ(Calls("CriaDedicado").size(), 0u);
  EXPECT_EQ(movi_.RecordCount(), 1) << "the cash line alone";
}

TEST_F(DedicatedCardTenders, ApprovalFillsTheLineCountsAndLogsIt) {
  pos::TefOutcome o = Approved("900001", "01");
  o.nsu = "77";
  o.brand_name = "VISA";
  o.installments = 3;
  o.change = 2.5;
  o.reduced_receipt = "VIA REDUZIDA";
  Terminal({o});
  par().stIDIMPRCUPTEFRED = "S";
  sale().stNrComandaCurto = "0457";
  Pay("010", "40");
  ASSERT_FALSE(sale().boFalhaReceb);
  const auto calls = Calls("CriaDedicado");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0].AsString(), "[29;10;27;28;31;32;33;36;40;3031;3988]");
  EXPECT_EQ(calls[0].args[1].AsInteger(), 3);
  EXPECT_EQ(calls[0].args[2].AsString(), "0");
  EXPECT_DOUBLE_EQ(calls[0].args[3].AsFloat(), 40);
  EXPECT_EQ(calls[0].args[5].AsString(), "0457");
  EXPECT_EQ(calls[0].args[6].AsString(), "20261206");
  EXPECT_EQ(calls[0].args[7].AsString(), "120000");
  EXPECT_EQ(sale().inQtdeTef, 1);
  EXPECT_EQ(sale().stIdCPFCupom, "c");
  EXPECT_EQ(sale().stRetTender, "VIA REDUZIDA");
  EXPECT_DOUBLE_EQ(sale().doVrTotalTef, 42.5) << "the amount and the change the terminal gave";
  EXPECT_EQ(LastLine("CDTIPORECE"), "011") << "moved to the tender of brand 01";
  EXPECT_EQ(LastLine("CDNSUTEF"), "77");
  EXPECT_EQ(LastLine("NMBANDTEF"), "VISA");
  EXPECT_EQ(LastLine("QTPARCRECEB"), "3");
  EXPECT_EQ(LastLine("NRCARTBANCO"), "411111");
  const auto log = Calls("LogImpNFiscal");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].args[0].AsString(), "COD BIN: 411111 | COD BAN: 01 | COD NSU HOST: 900001");
}

TEST_F(DedicatedCardTenders, AnApprovalWithoutHostNsuIsTakenBackExceptForKinds6AndH) {
  Terminal({Approved("-"), Approved("-")});
  Pay("010", "40");
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_NE(Messages().back().find("processamento do cartão"), std::string::npos);
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_EQ(sale().inQtdeTef, 0);
  ASSERT_EQ(Calls("FinalizaTransTef").size(), 1u) << "the terminal is told to undo it";
  EXPECT_FALSE(Calls("FinalizaTransTef")[0].args[0].AsBoolean());
  EXPECT_TRUE(sim_->TefFiles().Unconfirmed().empty());

  par().stIDTPTEF = "6";
  Pay("010", "40");
  EXPECT_FALSE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 1);

  par().stIDTPTEF = "H";
  Pay("010", "40");
  EXPECT_FALSE(sale().boFalhaReceb) << (Messages().empty() ? "" : Messages().back());
  EXPECT_EQ(movi_.RecordCount(), 2);
  EXPECT_EQ(LastLine("CDNSUHOSTTEF"), "");
  EXPECT_EQ(Calls("FinalizaTransTef").size(), 1u) << "nothing more was taken back";
}

TEST_F(DedicatedCardTenders, RefusalsByTheTerminalsKind) {
  Terminal({Declined(-5), Declined(5), Declined(0)});
  Pay("010", "40");
  EXPECT_EQ(Messages().back(), "Não foi possível estabelecer conexão com o SiTef. Favor refazer a venda.");
  par().stIDTPTEF = "1";
  const size_t shown = Messages().size();
  Pay("020", "40");
  ASSERT_EQ(Messages().size(), shown + 1);
  EXPECT_NE(Messages().back().find("Transação não autorizada"), std::string::npos) << Messages().back();
  // A refusal without a code shows nothing, and still records no line.
  Pay("010", "40");
  EXPECT_EQ(Messages().size(), shown + 1);
  EXPECT_TRUE(sale().boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
}

TEST_F(DedicatedCardTenders, TheWalletMovesByItsTextAndKeepsTheGridsTender) {
  pos::TefOutcome o = Approved("", "");
  o.wallet_text = "PIX";
  o.discount = 2;
  Terminal({o});
  sale().stTipoTela = "A";  // a top-up: the wallet's discount does not apply
  Pay("030", "40");
  ASSERT_FALSE(sale().boFalhaReceb);
  EXPECT_EQ(Calls("CriaDedicado")[0].args[0].AsString(), "[]");
  EXPECT_EQ(Calls("CriaDedicado")[0].args[1].AsInteger(), 122);
  EXPECT_EQ(LastLine("CDTIPORECE"), "031");
  EXPECT_EQ(LastLine("DSCARTDIGITAL"), "PIX");
  EXPECT_EQ(LastLine("CDTIPORECEORIG"), "030");
  EXPECT_DOUBLE_EQ(sale().doVrDesconto, 0);
  EXPECT_EQ(Calls("LogImpNFiscal")[0].args[0].AsString().rfind("CARTEIRA DIGITAL: PIX | COD BAN: ", 0), 0u);
}

}  // namespace
}  // namespace recebimento::testing
