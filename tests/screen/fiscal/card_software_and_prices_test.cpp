// Beside the receipt: the CHART card receipt confirmed or cancelled, the MF-e payment on a
// POS terminal, and the items re-priced through the host's price function.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "screen/fiscal/fiscal_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class CardSoftwareAndPricesTest : public FiscalTest {
 protected:
  void SetUp() override {
    if (!Start()) GTEST_SKIP() << "no server for this engine";
  }

  void CardReceipt(const std::string& text) {
    std::filesystem::create_directories(dir_ / "Tefrx");
    std::ofstream(dir_ / "Tefrx" / "cupom.tef") << text;
  }
  std::string Request() {
    std::ifstream in(dir_ / "Teftx" / "tefchart.ini");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(CardSoftwareAndPricesTest, TheChartReceiptIsPrintedTwiceConfirmedAndConsumed) {
  par().stCDPORTIMPNF3 = "18";
  par().stIDTIPOIMPNF3 = "3";
  CardReceipt("CHART\r\nVALOR 10,00\r\n");
  parts().fiscal.ImprimeCupomCHART(true);
  const auto prints = Calls("ImprimePadrao");
  ASSERT_EQ(prints.size(), 2u);
  EXPECT_EQ(prints[0].args[2].AsString(), "CHART\nVALOR 10,00\n\n\n\n") << "four line feeds on port 18";
  EXPECT_EQ(Request(), "[PARAMETROS]\nTIPOTRANSACAO=IMP\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Teftx" / "tefchart.tmp"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Tefrx" / "cupom.tef")) << "the next sale must not print it again";

  std::filesystem::remove(dir_ / "Teftx" / "tefchart.ini");
  CardReceipt("CHART\n");
  parts().fiscal.ImprimeCupomCHART(false);
  EXPECT_EQ(Calls("ImprimePadrao").size(), 2u) << "a cancelled transaction prints nothing";
  EXPECT_EQ(Request(), "[PARAMETROS]\nTIPOTRANSACAO=CAN\n");
  EXPECT_EQ(Messages().back(),
            "Atenção! A Transação do Cartão CHART foi cancelada.\r\nO Saldo do Cliente não será alterado.");
}

TEST_F(CardSoftwareAndPricesTest, AnMfePaymentOnAPosTerminalIsSentAndItsStatusKept) {
  par().stIDUTILTEF = "N";
  sale().doVrTotal = 42.0;
  pump_.Push([this] { parts().fiscal.ConfirmPosTerminal(); }, "confirm the POS terminal");
  screen::CardData card;
  ASSERT_TRUE(parts().fiscal.FuncoesVFPe(card));
  EXPECT_EQ(ctl("lstSerialPos").lines,
            (std::vector<std::string>{"POS-0001-A Maquininha balcão", "POS-0001-B Maquininha salão"}));
  EXPECT_FALSE(ctl("panSerialPos").visible);
  const auto calls = Calls("ChamaFuncaoMFe");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args[0].AsString(), "GeraXMLEnviarPagamento");
  EXPECT_EQ(calls[0].args[3].AsString(), "POS-0001-A");
  EXPECT_EQ(calls[0].args[7].AsFloat(), 42.0);
  EXPECT_EQ(calls[1].args[8].AsString(), card.IDFILAPAGMFE) << "the status is asked of the payment sent";
  EXPECT_FALSE(card.IDFILAPAGMFE.empty());
  EXPECT_FALSE(card.CDAUTORIZMFE.empty());

  // The operator gives up on the panel; then a branch without terminals.
  pump_.Push([this] { parts().fiscal.CancelPosTerminal(); }, "cancel the POS terminal");
  screen::CardData none;
  EXPECT_FALSE(parts().fiscal.FuncoesVFPe(none));
  EXPECT_EQ(Calls("ChamaFuncaoMFe").size(), 2u);
  store_->Exec("DELETE FROM POS");
  EXPECT_FALSE(parts().fiscal.FuncoesVFPe(none));
  EXPECT_EQ(Messages().back(), "Venda POS não permitida. Não existem POS cadastrados para essa filial.");
}

TEST_F(CardSoftwareAndPricesTest, PricesComeFromTheHostWithPromotionsAndTheClientsDifference) {
  config_.services.prices["1001"] = {12.0, 0, 0, 0};
  config_.services.prices["1003"] = {8.0, 0, 0, 0};
  config_.services.prices["1002"] = {0, 0, 0, 0};
  config_.services.prices["2001"] = {6.0, 5.5, 0, 0};
  Rebuild();
  AddItem("1001", "PRATO", 1, 10.0, {{"VRDESCCOMVEN", Variant(1.0)}});
  AddItem("1003", "CAFE", 1, 5.0, {{"CDPRODPROMOCAO", Str("1001")}});
  AddItem("1002", "REFRIGERANTE", 1, 5.0);
  par().stIDAPLPREDIFCOMB = "S";
  parts().fiscal.AjustarPrecos("ZEM");
  EXPECT_EQ(ItemColumn(1, "VRPRECCOMVEN"), "12");
  EXPECT_EQ(ItemColumn(1, "VRDESCCOMVEN"), "0") << "the item's discount is reset";
  EXPECT_EQ(ItemColumn(2, "VRPRECCOMVEN"), "8");
  EXPECT_EQ(ItemColumn(2, "VRDESCCOMVEN"), "0.8") << "10 % of the promotion";
  EXPECT_EQ(Messages().back(),
            "Existe produto com preço zerado após o ajuste de preços. Verifique o cadastro de preços.");
  EXPECT_EQ(Calls("ChamaFuncaoGetRetornaPreco").size(), 3u);

  // The price of the day stays; the client's lower price is the item's discount.
  items_.EmptyDataSet();
  AddItem("2001", "GASOLINA", 10, 6.2);
  par().stIDAPLPREDIFCOMB = "N";
  parts().fiscal.AjustarPrecos("ZEM");
  EXPECT_EQ(ItemColumn(1, "VRPRECCOMVEN"), "6");
  EXPECT_EQ(ItemColumn(1, "VRDESCCOMVEN"), "5");
}

}  // namespace
}  // namespace recebimento::testing
