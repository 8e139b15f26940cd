// The host's configuration and reference files as the screen opens: the parameters file
// read by type with its column rules, a missing file or column, the operator, the
// identification digest, the consumer's photograph, the customer display.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/runtime/cipher.h"
#include "screen/setup/parametros_zem.h"
#include "screen/support/screen_setup_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
namespace fs = std::filesystem;

using ConfigurationTest = ScreenSetupTest;

TEST_F(ConfigurationTest, ColumnsAreReadByTypeIntoTheirFields) {
  EXPECT_EQ(screen::ParametrosZemColumns().size(), 151u);
  WriteParametros({{"CDFILIAL", Variant("0001")},
                   {"CDLOJA", Variant("0007")},
                   {"TAMDISPLAY", Variant(20)},
                   {"DisplayOK", Variant(true)},
                   {"VRPEMAXREPIQMRX", Variant(12.5)},
                   {"DTABERCAIX", Variant(46362.0)},
                   {"QTDMAXDIGNSU", Variant(12)},
                   {"IDHABCAIXAVENDA", Variant("TAA")},
                   {"IDCOMISVENDA", Variant("N")},
                   {"IDTRATTAXASERV", Variant("P")}});
  Init();
  EXPECT_EQ(par().stCDFILIAL, "0001");
  EXPECT_EQ(par().stCDLOJA, "0007");
  EXPECT_EQ(par().stCdLoja, "0007") << "the shop code is read into both of its fields";
  EXPECT_EQ(par().inTAMDISPLAY, 20);
  EXPECT_TRUE(par().boDisplayOK);
  EXPECT_DOUBLE_EQ(par().doVRPEMAXREPIQMRX, 12.5);
  EXPECT_EQ(par().dtDTABERCAIX, base::DateTime::FromYMD(2026, 12, 6));
  EXPECT_EQ(par().inQTDMAXDIGNSU, 12);
  EXPECT_EQ(par().inHabCaixaVenda, 1);
  EXPECT_EQ(par().stIDTRATTAXASERV, "A") << "no commissions: the fee is not split by waiter";
}

TEST_F(ConfigurationTest, AMissingFileLeavesTheConfigurationEmpty) {
  Init();
  EXPECT_EQ(par().stCDFILIAL, "");
  EXPECT_FALSE(par().boUTILIZAIMPFIS);
  EXPECT_EQ(par().inIDTIPOIMPFIS, 0);
  EXPECT_EQ(par().inQTDMAXDIGNSU, 10) << "a typed NSU may still have ten digits";
  EXPECT_FALSE(ctl("lblMens").visible);
}

TEST_F(ConfigurationTest, NsuLimitAndPhoneRules) {
  WriteParametros({{"QTDMAXDIGNSU", Variant(0)}, {"IDSOLICTELGER", Variant("S")}, {"IDSOLICITATEL", Variant("N")}});
  Init();
  EXPECT_EQ(par().inQTDMAXDIGNSU, 10);
  EXPECT_EQ(par().stIDSOLICITATEL, "S");
}

TEST_F(ConfigurationTest, AMissingColumnOrAMalformedFileEndsTheInitialisation) {
  WriteParametros({}, "IDUTILTEF");
  try {
    Init();
    FAIL() << "a missing column must stop the initialisation";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("IDUTILTEF"), std::string::npos) << e.what();
  }
  std::ofstream(dir_ / "PARAMETROSZEM.CDS") << "CDFILIAL=0001\n";
  EXPECT_ANY_THROW(Init());
}

// The host calls once per sale: settings edited between two sales are what the next one
// reads, and a file broken since is an error, not the last good read.
TEST_F(ConfigurationTest, SettingsEditedBetweenSalesAreReadAnew) {
  WriteParametros({{"CDFILIAL", Variant("0001")}});
  Init();
  EXPECT_EQ(par().stCDFILIAL, "0001");
  Init();
  EXPECT_EQ(par().stCDFILIAL, "0001");
  WriteParametros({{"CDFILIAL", Variant("0002")}});
  Init();
  EXPECT_EQ(par().stCDFILIAL, "0002");
  WriteParametros({{"CDFILIAL", Variant("0002")}}, "IDUTILTEF");
  EXPECT_ANY_THROW(Init());
}

TEST_F(ConfigurationTest, OutOfRangeValuesAreRefusedNamingTheColumnOrHeldToTheirBounds) {
  // An opening date as a day number no calendar holds.
  WriteParametros({{"DTABERCAIX", Variant(1e15)}});
  try {
    Init();
    FAIL() << "an impossible opening date must stop the initialisation";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("DTABERCAIX"), std::string::npos) << e.what();
  }
  // Integers beyond an int and a display wider than any: held to what the screen takes.
  WriteParametros({{"TAMDISPLAY", Variant(int64_t{99999999999})}, {"QTDMAXDIGNSU", Variant(int64_t{-99999999999})}});
  Init();
  EXPECT_EQ(par().inTAMDISPLAY, screen::kWidestCustomerDisplay);
  EXPECT_EQ(par().inQTDMAXDIGNSU, 10);
}

TEST_F(ConfigurationTest, OperatorIdentificationAndTenders) {
  fs::create_directories(dir_ / "Dados" / "Cadastros");
  base::Dataset operador;
  Fill(operador, {{{"CDOPERADOR", Variant("000042")}, {"NMOPERADOR", Variant("MARIA")}}});
  operador.SaveToFile((dir_ / "Dados" / "Cadastros" / "ControleAcess.cds").string());
  base::Dataset ident;
  Fill(ident, {{{"MD5ARQUIVOTXT", Variant(runtime::Cripto("ABC123", 7))}}});
  ident.SaveToFile((dir_ / "Brisova.cds").string());
  Fill(tenders_, {{{"CDTIPORECE", Variant("001")}, {"NMTIPORECE", Variant("DINHEIRO")}}});
  Init();
  EXPECT_EQ(sale().stCdOperador, "000042");
  EXPECT_EQ(sale().stNmOperador, "MARIA");
  EXPECT_EQ(sale().stMD5Ident, "MD-5:ABC123");
  sale().cdsReceb.SetFiltered(false);  // the grid leaves its own filter on
  EXPECT_EQ(sale().cdsReceb.RecordCount(), 1);
  EXPECT_EQ(sale().cdsTroco.RecordCount(), 1);
  EXPECT_EQ(sale().cdsParcelas.RecordCount(), 0);
  EXPECT_TRUE(sale().cdsParcelas.Active());
}

TEST_F(ConfigurationTest, ThePhotographComesFromTheConsumerFolderAndNeverFromOutsideIt) {
  fs::create_directories(dir_ / "Dados" / "Consumidor");
  std::ofstream(dir_ / "Dados" / "Consumidor" / "C77.jpg") << "jpg";
  std::ofstream(dir_ / "segredo.jpg") << "jpg";
  args_.stCdConsumidorFoto = "C77";
  Init();
  EXPECT_EQ(fs::path(ctl("imgFotoConsumidor").glyph).filename(), "C77.jpg");
  EXPECT_TRUE(ctl("imgFotoConsumidor").stretch);
  args_.stCdConsumidorFoto = "../../segredo";
  Init();
  EXPECT_EQ(ctl("imgFotoConsumidor").glyph, "");
}

TEST_F(ConfigurationTest, TheCustomerDisplayShowsTheAmountToPay) {
  WriteParametros({{"DisplayOK", Variant(true)}, {"TAMDISPLAY", Variant(20)}});
  Fill(items_, {{{"VRPRECCOMVEN", Variant(1234.5)}, {"QTPRODCOMVEN", Variant(1.0)}}});
  config_.display.width = 20;
  Init();
  ASSERT_FALSE(sim_->Displays().CustomerLines().empty());
  EXPECT_EQ(sim_->Displays().CustomerLines()[0], "A PAGAR:     1234,50");
}

}  // namespace
}  // namespace recebimento::testing
