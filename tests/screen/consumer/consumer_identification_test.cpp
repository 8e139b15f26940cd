// The buyer's identification for the receipt and the account holder's: the loyalty lock,
// the mandatory name and address, the PIN pad, document "0", the CPF the entry copies
// from the consumer, and the search under access control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/support/consumer_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using Identification = ConsumerTest;

TEST_F(Identification, ALoyaltyCpfLocksTheDocumentUnlessTheAmountStillAsksForOne) {
  Row item = Item("1001", 100, "01");
  item["NRCPFFIDUDS"] = Variant("52998224725");
  Items({item});
  par().boSISTEMAZEMNFCE = true;
  par().doVROBRIGCPFNOTA = 200;
  parts().identification.spbCNPJCPFClick();
  EXPECT_TRUE(ShownWith("já foi informado na consulta de cashback"));
  EXPECT_EQ(sim_->Record().CountOf("CriaInfAdicional"), 0u);

  // Above the amount, with no name on the receipt yet, the document is asked, but the
  // loyalty CPF stays the receipt's.
  Items({item, Item("1002", 150, "01")});
  WillIdentify("39053344705", "Maria", "Rua A");
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(sale().stNrDocConsCupom, "52998224725");
  EXPECT_EQ(sale().stNmConsCupom, "Maria");
  EXPECT_EQ(ItemColumn("NRINSCRCONS"), (std::vector<std::string>{"52998224725", "52998224725"}));
}

TEST_F(Identification, FromTheAmountOnNameAndAddressAreAskedThisTimeOnly) {
  par().boSISTEMAZEMNFCE = true;
  par().doVROBRIGCPFNOTA = 10;
  par().stIDINFNOMEEND = "N";
  WillIdentify("39053344705", "Ana", "Rua B");
  parts().identification.spbCNPJCPFClick();
  ASSERT_GE(LastCall("CriaInfAdicional").size(), 5u);
  EXPECT_EQ(LastCall("CriaInfAdicional")[4].AsString(), "S");
  EXPECT_EQ(par().stIDINFNOMEEND, "N");
  EXPECT_EQ(ctl("lblCPFCons").caption, "39053344705");
  EXPECT_EQ(ctl("lblNomeCons").caption, "Ana");
  EXPECT_EQ(ItemColumn("DSENDEVENDA"), (std::vector<std::string>{"Rua B"}));
}

TEST_F(Identification, DocumentZeroIsNobodyAndACancelledDialogLeavesNothing) {
  WillIdentify("0", "Ana", "Rua B");
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(sale().stNrDocConsCupom, "0");
  EXPECT_EQ(sale().stNmConsCupom, "");
  EXPECT_EQ(ItemColumn("NMCONSVEND"), (std::vector<std::string>{""}));
  EXPECT_EQ(ItemColumn("DSENDEVENDA"), (std::vector<std::string>{""}));

  answers_.Cancel();
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(sale().stNrDocConsCupom, "");
  EXPECT_EQ(ItemColumn("NRINSCRCONS"), (std::vector<std::string>{""}));
}

TEST_F(Identification, TheCrmDialogComesFirstAndTheLoyaltyCpfIsCutToACpf) {
  par().stIDUTILFIXECRM = "S";
  answers_.Cancel();              // the CRM dialog gives no document
  answers_.Value(Variant(true));  // "Deseja informar o CPF no cupom?"
  WillIdentify("11222333000181", "Transportes Exemplo");
  parts().identification.spbCNPJCPFClick();
  const auto calls = sim_->Record().CallsOf("CriaInfAdicional");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args.at(6).AsString(), "CRM");
  EXPECT_EQ(calls[1].args.at(6).AsString(), "");
  EXPECT_EQ(sale().stConsultaFixeCRM, "N");
  EXPECT_EQ(sale().stNrDocConsCupom, "11222333000181");
  EXPECT_EQ(sale().stCpfClubPetro, "11222333000");

  // A foreigner without a document: the foreigner's number, whole.
  pos::DialogAnswer foreigner;
  foreigner.fields = {{"document", Variant("")}, {"foreigner", Variant("PASSAPORTE123456")}};
  answers_.Push(foreigner);
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(sale().stCpfClubPetro, "PASSAPORTE123456");
  EXPECT_EQ(ItemColumn("NRIDESTRANGEIRA"), (std::vector<std::string>{"PASSAPORTE123456"}));
}

TEST_F(Identification, TheTelephoneIsAskedOnceAndSearchedOnce) {
  Items({Item("1001", 10, "01", 1, "")});
  answers_.Value(Variant("11987654321"));
  pos::DialogAnswer found;
  found.fields = {{"CDCLIENTE", Variant("000001")}, {"CDCONSUMIDOR", Variant("0001")}};
  answers_.Push(found);
  parts().identification.ConsultaConsTel();
  parts().identification.ConsultaConsTel();
  EXPECT_EQ(sim_->Record().CountOf("TecladoNumerico"), 1u);
  ASSERT_EQ(sim_->Record().CountOf("PesqConsumidor"), 1u);
  EXPECT_EQ(LastCall("PesqConsumidor").at(0).AsString(), "CONSULTA_TEL");
  EXPECT_EQ(ItemColumn("CDCONSUMIDOR"), (std::vector<std::string>{"0001"}));
}

TEST_F(Identification, ThePinPadTypesTheDigitsOrSaysWhyItCannot) {
  par().stIDINFOCPFPINPAD = "S";
  par().stIDUTILTEF = "T";
  auto pinpad = [&](int status, int code, const std::string& digits, const char* button) {
    config_.tef.pinpad_answer = Variant(std::vector<Variant>{Variant(status), Variant(code), Variant(digits)});
    Rebuild();
    pump_.Push([this, button] { controls().Press(button); }, button);
  };
  pinpad(0, 0, "12345678909", "btnCPFPinPad");
  WillIdentify("12345678909", "Carlos");
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(LastCall("CriaInfAdicional").at(7).AsString(), "12345678909");
  EXPECT_EQ(sale().stNrDocConsCupom, "12345678909");
  EXPECT_FALSE(ctl("panCPFPinPad").visible);

  // No PIN pad at that address: said so, and the document is typed instead.
  pinpad(1, 0, "", "btnCPFPinPad");
  WillIdentify("39053344705");
  parts().identification.spbCNPJCPFClick();
  EXPECT_TRUE(ShownWith("Endereço IP do SiTef inválido"));
  EXPECT_EQ(LastCall("CriaInfAdicional").at(7).AsString(), "");
  EXPECT_EQ(sale().stNrDocConsCupom, "39053344705");

  // The buyer gave up on the PIN pad, or the operator chose not to inform: no dialog ran,
  // the identification stays.
  pinpad(0, 5, "", "btnCPFPinPad");
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(sim_->Record().CountOf("CriaInfAdicional"), 0u);
  pinpad(0, 0, "", "btnSairCPF");
  parts().identification.spbCNPJCPFClick();
  EXPECT_EQ(sim_->Record().CountOf("CriaInfAdicional"), 0u);
  EXPECT_EQ(sale().stNrDocConsCupom, "39053344705");
  EXPECT_EQ(ItemColumn("NRINSCRCONS"), (std::vector<std::string>{"39053344705"}));
}

TEST_F(Identification, TheEntryCopiesTheConsumersCpfOnlyWhereNoDocumentIsYet) {
  Items({Item("1001", 10, "01"), Item("1002", 10, "01")});
  items_.First();
  items_.Edit();
  items_.FieldByName("NRINSCRCONS").SetAsString("39053344705");
  items_.Post();
  movi_.Append();
  movi_.FieldByName("CDTIPORECE").SetAsString("001");
  movi_.FieldByName("IDTIPOMOVIVE").SetAsString("E");
  movi_.FieldByName("CDCLIENTE").SetAsString("000001");
  movi_.FieldByName("CDCONSUMIDOR").SetAsString("0001");
  movi_.FieldByName("VRMOVIVEND").SetAsFloat(20);
  movi_.Post();
  parts().identification.setCPFCons();
  EXPECT_EQ(ItemColumn("NRINSCRCONS"), (std::vector<std::string>{"39053344705", "52998224725"}));
}

TEST_F(Identification, TheSearchAsksTheAccessControlAndLogsASupervisorsLeave) {
  config_.access.rights[7] = "N";
  par().inCTSELECCLICONS = 7;
  Rebuild();
  parts().identification.bltPesquisarClick();
  EXPECT_EQ(sim_->Record().CountOf("PesqConsumidor"), 0u);

  config_.access.rights[7] = "SUP9";
  Rebuild();
  sale().stNrComanda = "0457";
  pos::DialogAnswer chosen;
  chosen.fields = {{"CDCLIENTE", Variant("000001")},
                   {"CDCONSUMIDOR", Variant("0001")},
                   {"NMCONSUMIDOR", Variant("Maria da Silva")},
                   {"NMRAZSOCCLIE", Variant("Transportes Exemplo S.A.")}};
  answers_.Push(chosen);
  parts().identification.bltPesquisarClick();
  const std::vector<Variant> log = LastCall("LogControleAcess");
  ASSERT_FALSE(log.empty());
  bool found = false;
  for (const Variant& v : log)
    found = found || v.AsString() == "Selecionar o Cliente/Consumidor da Mesa/Comanda Nº: 0457";
  EXPECT_TRUE(found);
  EXPECT_EQ(sale().stCdSupervisor, "SUP9");
  EXPECT_EQ(ctl("lblCPFCons").caption, "Consumidor: 0001");
  EXPECT_EQ(ItemColumn("NRINSCRCONS"), (std::vector<std::string>{"52998224725"}));
  EXPECT_EQ(sale().charged.consumer, "0001");
  EXPECT_EQ(sale().stConsPesquisado, "S");
  EXPECT_FALSE(ctl("bltPesquisar").enabled);
  // The items are priced again for the consumer chosen.
  const std::vector<Variant> priced = LastCall("ChamaFuncaoGetRetornaPreco");
  ASSERT_GE(priced.size(), 6u);
  EXPECT_EQ(priced[4].AsString(), "000001");
  EXPECT_EQ(priced[5].AsString(), "0001");
}

}  // namespace
}  // namespace recebimento::testing
