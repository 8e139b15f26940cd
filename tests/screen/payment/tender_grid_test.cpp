// The tender grid: the group row and the pages of tender buttons built from the tender
// table, paging, the consumer's sale-type filter, the press of a tender, and the modes of
// the button area around each operation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "screen/frame/frm_recebimento.h"
#include "screen/frame/message_table.h"
#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {
namespace {

using TenderGrid = GridKeyboardTest;

TEST_F(TenderGrid, EmptyOrMissingTenderTableGivesAnEmptyGridAndGroupRow) {
  ctl("tcbBalcao03").caption = "old";
  ctl("tcbBalcao03").visible = true;
  ctl("tcbGrupo02").visible = true;
  BuildGrid();
  for (const char* n : {"tcbBalcao03", "tcbGrupo02", "tcbBalcao30", "tcbGrupo06"}) {
    EXPECT_FALSE(ctl(n).visible) << n;
    EXPECT_EQ(ctl(n).caption, "") << n;
  }
  EXPECT_EQ(ctl("tcbBalcao03").color, 0x00B09090);

  sale().cdsReceb.Close();
  sale().cdsReceb.SetFields({});
  EXPECT_NO_THROW(BuildGrid());
  EXPECT_NO_THROW(parts().grid.CtrlBotoes("D", 1));
  EXPECT_FALSE(ctl("tcbBalcao01").visible);
}

TEST_F(TenderGrid, BuildsTheGroupRowAndThePageOfTheCurrentGroup) {
  AddGroup("01", "Cartões");
  AddGroup("02", "Outros");
  AddGroup("09", "no such button");
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("002", "1", "01", "1", "02", "Crédito");
  AddTender("003", "7", "01", "2", "01", "Ticket page 2");
  AddTender("004", "3", "02", "1", "03", "Cheque group 2");
  AddTender("005", "B", "01", "1", "04", "Never a button");
  AddTender("006", "4", "01", "1", "05", "No fiscal code", "S", "");
  AddTender("007", "4", "01", "1", "06", "Odd show flag", "X");
  AddTender("008", "4", "01", "1", "45", "No such position");
  BuildGrid();

  EXPECT_TRUE(ctl("tcbGrupo01").visible);
  EXPECT_EQ(ctl("tcbGrupo01").caption, "Cartões");
  EXPECT_EQ(ctl("tcbGrupo01").color, 255);
  EXPECT_EQ(ctl("tcbGrupo01").font_color, 16777215);
  EXPECT_EQ(ctl("tcbGrupo01").font_size, 12);
  EXPECT_TRUE(ctl("stt01").visible);
  EXPECT_EQ(ctl("stt01").color, 255);
  EXPECT_TRUE(ctl("tcbGrupo02").visible);
  EXPECT_FALSE(ctl("tcbGrupo03").visible);

  EXPECT_EQ(ctl("tcbBalcao01").caption, "Dinheiro");
  EXPECT_TRUE(ctl("tcbBalcao01").visible);
  EXPECT_TRUE(ctl("sttP01").visible);
  EXPECT_EQ(ctl("tcbBalcao02").caption, "Crédito");
  EXPECT_FALSE(ctl("tcbBalcao03").visible) << "group 2 tender";
  for (const char* n : {"tcbBalcao04", "tcbBalcao05", "tcbBalcao06"}) {
    EXPECT_FALSE(ctl(n).visible) << n;
    EXPECT_EQ(ctl(n).caption, "") << n;
  }
  EXPECT_FALSE(ctl("sttP04").visible);

  controls().Press("tcbGrupo02");
  EXPECT_EQ(parts().grid.Group(), "02");
  EXPECT_EQ(parts().grid.Page(), 1);
  EXPECT_EQ(ctl("tcbBalcao03").caption, "Cheque group 2");
  EXPECT_FALSE(ctl("tcbBalcao01").visible);
}

TEST_F(TenderGrid, HiddenRowHasNoButtonButStaysReachable) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("010", "A", "03", "4", "02", "Débito consumidor", "N");
  BuildGrid();
  EXPECT_FALSE(ctl("tcbBalcao02").visible);
  EXPECT_EQ(ctl("tcbBalcao02").caption, "");
  ASSERT_TRUE(sale().cdsReceb.Filtered());
  EXPECT_TRUE(sale().cdsReceb.Locate("CDTIPORECE", base::Variant("010")));
  EXPECT_FALSE(sale().cdsReceb.Locate("CDTIPORECE", base::Variant("999")));
}

TEST_F(TenderGrid, PrinterType26ShowsTendersWithoutAFiscalPaymentForm) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro", "S", "");
  AddTender("002", "7", "01", "1", "02", "Ticket", "S", "");
  BuildGrid();
  EXPECT_FALSE(ctl("tcbBalcao01").visible);
  EXPECT_FALSE(ctl("tcbBalcao02").visible);

  par().inIDTIPOIMPFIS = 26;
  BuildGrid();
  EXPECT_TRUE(ctl("tcbBalcao01").visible);
  EXPECT_EQ(ctl("tcbBalcao02").caption, "Ticket");
}

TEST_F(TenderGrid, ArrowsPageThroughTheGroupAndThePreviousArrowStopsAtPageOne) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddArrow("H", "01", "1", "29");
  AddArrow("G", "01", "1", "30");
  AddTender("002", "7", "01", "2", "01", "Ticket");
  AddArrow("H", "01", "2", "29");
  BuildGrid();
  EXPECT_TRUE(ctl("tcbBalcao30").visible);
  EXPECT_EQ(ctl("tcbBalcao30").glyph, ctl("imgDireita").glyph);
  EXPECT_EQ(ctl("tcbBalcao29").glyph, ctl("imgEsquerda").glyph);
  EXPECT_TRUE(ctl("sttP30").visible);

  // Previous page on page 1 redraws page 1.
  controls().Press("tcbBalcao29");
  EXPECT_EQ(parts().grid.Page(), 1);
  EXPECT_EQ(ctl("tcbBalcao01").caption, "Dinheiro");
  EXPECT_TRUE(ctl("tcbBalcao30").visible);

  controls().Press("tcbBalcao30");
  EXPECT_EQ(parts().grid.Page(), 2);
  EXPECT_EQ(ctl("tcbBalcao01").caption, "Ticket");
  EXPECT_FALSE(ctl("tcbBalcao30").visible) << "page 2 has no next arrow";
  EXPECT_EQ(parts().grid.ChosenTender(), "") << "arrows are not tenders";

  controls().Press("tcbBalcao29");
  EXPECT_EQ(parts().grid.Page(), 1);
  EXPECT_EQ(ctl("tcbBalcao01").caption, "Dinheiro");
  EXPECT_FALSE(parts().grid.PressInProgress());
}

TEST_F(TenderGrid, ArrowsShowTheProgramsOwnPicturesAndATypedNumberNeverTurnsThePage) {
  // The screen as created: the arrows' pictures ship with the program.
  screen::ControlRegistry fresh;
  screen::CreateScreenControls(fresh);
  ctl("imgDireita").glyph = fresh.Require("imgDireita").glyph;
  ctl("imgEsquerda").glyph = fresh.Require("imgEsquerda").glyph;
  EXPECT_EQ(ctl("imgDireita").glyph, screen::kBuiltinArrowRight);

  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddArrow("G", "01", "1", "20");
  AddTender("002", "7", "01", "2", "01", "Ticket");
  BuildGrid();
  parts().grid.CtrlBotoes("D", 1);
  parts().grid.EnabledBotoes(true);
  EXPECT_EQ(ctl("tcbBalcao20").glyph, screen::kBuiltinArrowRight);
  EXPECT_EQ(ctl("tcbBalcao20").caption, "");

  Type("20");
  EXPECT_EQ(parts().grid.Page(), 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], screen::Msg("TIP_INV"));
  controls().Press("tcbBalcao20");
  EXPECT_EQ(parts().grid.Page(), 2);
}

struct SaleTypeCase {
  std::string sale_type;
  std::string enabled_kinds;  // of "4", "9", "A"
};

void PrintTo(const SaleTypeCase& c, std::ostream* os) { *os << "sale type '" << c.sale_type << "'"; }

class TenderGridSaleType : public GridKeyboardTest, public ::testing::WithParamInterface<SaleTypeCase> {};

TEST_P(TenderGridSaleType, ConsumerSaleTypeRestrictsTendersOnlyWhenTheBranchAsks) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("009", "9", "01", "1", "02", "Crédito pessoal");
  AddTender("010", "A", "01", "1", "03", "Débito consumidor");
  AddArrow("G", "01", "1", "30");
  sale().stIdTpVendaCons = GetParam().sale_type;
  const auto enabled = [&] {
    std::string out;
    if (ctl("tcbBalcao01").enabled) out += "4";
    if (ctl("tcbBalcao02").enabled) out += "9";
    if (ctl("tcbBalcao03").enabled) out += "A";
    return out;
  };

  par().stIDPERCOMVENCPDC = "S";
  BuildGrid();
  parts().grid.EnabledBotoes(true);
  EXPECT_EQ(enabled(), "49A") << "no filter";

  par().stIDPERCOMVENCPDC = "N";
  BuildGrid();
  EXPECT_EQ(enabled(), GetParam().enabled_kinds) << "building the grid";
  parts().grid.EnabledBotoes(false);
  EXPECT_EQ(enabled(), "");
  parts().grid.EnabledBotoes(true);
  EXPECT_EQ(enabled(), GetParam().enabled_kinds) << "enabling the grid";
  EXPECT_TRUE(ctl("tcbBalcao30").enabled) << "paging is never locked";
}

INSTANTIATE_TEST_SUITE_P(SaleTypes, TenderGridSaleType,
                         ::testing::Values(SaleTypeCase{"", "49A"}, SaleTypeCase{"7", "49A"}, SaleTypeCase{"1", "A"},
                                           SaleTypeCase{"2", "9A"}, SaleTypeCase{"4", "9A"}, SaleTypeCase{"3", "4"},
                                           SaleTypeCase{"5", "4A"}, SaleTypeCase{"6", "49"}, SaleTypeCase{"8", "49A"}));

TEST_F(TenderGrid, VisibilityFollowsTheButtonAreaButEmptySlotsStayHidden) {
  AddGroup("01", "Todos");
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("002", "4", "01", "1", "02", "No fiscal code", "S", "");
  BuildGrid();
  parts().grid.EnabledBotoes(true);
  sale().cdsReceb.Locate("CDTIPORECE", base::Variant("001"));
  parts().grid.VisibleBotoes(false);
  EXPECT_FALSE(ctl("tcbBalcao01").visible);
  EXPECT_FALSE(ctl("tcbGrupo01").visible);
  EXPECT_FALSE(parts().grid.Offered()) << "hidden buttons cannot be chosen by number";
  parts().grid.VisibleBotoes(true);
  EXPECT_TRUE(ctl("tcbBalcao01").visible);
  EXPECT_TRUE(ctl("sttP01").visible);
  EXPECT_TRUE(ctl("tcbGrupo01").visible);
  EXPECT_FALSE(ctl("tcbGrupo02").visible);
  EXPECT_FALSE(ctl("tcbBalcao03").visible);
  EXPECT_TRUE(parts().grid.Offered());
  EXPECT_EQ(sale().cdsReceb.FieldByName("CDTIPORECE").AsString(), "001") << "cursor kept";
}

TEST_F(TenderGrid, TenderPressHandsTheTenderOverAndFreesTheButtonArea) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("002", "1", "01", "1", "02", "Crédito", "S", "01", "");
  BuildGrid();
  parts().grid.CtrlBotoes("D", 1);
  ctl("tcbBalcao01").glyph = "dinheiro.bmp";

  // Tender selection waits for the amount: a second press meanwhile does not reach it;
  // then the operator goes back to the grid.
  pump_.Push([this] { controls().Press("tcbBalcao02"); }, "second press");
  NextKey(27);
  controls().Press("tcbBalcao01");
  EXPECT_EQ(pump_.Remaining(), 0u);
  EXPECT_TRUE(parts().grid.Selecting());
  EXPECT_FALSE(ctl("panKeyboard").visible);
  EXPECT_EQ(parts().grid.ChosenTender(), "001") << "the press made while the first ran was dropped";
  EXPECT_EQ(parts().grid.ChosenGlyph(), "dinheiro.bmp");
  EXPECT_FALSE(parts().grid.PressInProgress());
  EXPECT_FALSE(sale().cdsReceb.Filtered()) << "the press works on every tender row";
  EXPECT_TRUE(ctl("spbClear").enabled);

  // Under SAT a card tender needs its acquirer code.
  par().boSISTEMAZEMSAT = true;
  controls().Press("tcbBalcao02");
  EXPECT_EQ(parts().grid.ChosenTender(), "001");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Tipo de recebimento não possui código de credenciadora parametrizado.");
  EXPECT_TRUE(parts().grid.Selecting());
  EXPECT_FALSE(parts().grid.PressInProgress());

  // An empty slot does nothing.
  controls().Press("tcbBalcao07");
  EXPECT_EQ(parts().grid.ChosenTender(), "001");
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(TenderGrid, TheAdvanceScreenConfirmsByItselfOnlyAfterATenderThatWasTaken) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  BuildGrid();
  int confirmations = 0;
  ctl("spbOk").on_click = [&] { ++confirmations; };
  sale().stTipoTela = "D";
  sale().doVrTotal = sale().doVrAPagar = 100;
  NextKey(27);  // back to the grid: nothing was taken
  controls().Press("tcbBalcao01");
  EXPECT_EQ(confirmations, 0);
  pump_.Push([this] { parts().keyboard.PostText("100", true, true); }, "type 100");  // not below the total
  controls().Press("tcbBalcao01");
  EXPECT_EQ(confirmations, 0);
  pump_.Push([this] { parts().keyboard.PostText("40", true, true); }, "type 40");
  controls().Press("tcbBalcao01");
  EXPECT_EQ(confirmations, 1);
  sale().stTipoTela = "N";
  NextKey(27);
  controls().Press("tcbBalcao01");
  EXPECT_EQ(confirmations, 1);
}

TEST_F(TenderGrid, ExitIsLockedInEveryModeOnceAPaymentExistsUnlessTheScreenModeIsS) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  BuildGrid();
  parts().grid.CtrlBotoes("D", 1);
  EXPECT_TRUE(ctl("spbSair").enabled) << "nothing paid";

  AddPayment("001", "4", 10);
  const std::vector<std::pair<std::string, int>> modes = {{"H", 1}, {"D", 1}, {"P", 1}, {"E", 2}, {"C", 2}, {"C", 1}};
  for (const auto& [mode, option] : modes) {
    ctl("spbSair").enabled = true;
    parts().grid.CtrlBotoes(mode, option);
    EXPECT_FALSE(ctl("spbSair").enabled) << mode << option;
  }
  sale().stIdTela = "S";
  for (const auto& [mode, option] : std::vector<std::pair<std::string, int>>{{"D", 1}, {"P", 1}, {"E", 2}, {"C", 2}}) {
    ctl("spbSair").enabled = false;
    parts().grid.CtrlBotoes(mode, option);
    EXPECT_TRUE(ctl("spbSair").enabled) << mode << option;
  }
}

TEST_F(TenderGrid, ModesSwitchTheGridKeypadAndFunctionButtons) {
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  BuildGrid();
  screen::TenderGrid& grid = parts().grid;
  ctl("lblValorTotal").caption = ctl("lblValorPagar").caption = "50,00";

  grid.CtrlBotoes("H", 1);
  EXPECT_FALSE(ctl("tcbBalcao01").visible);
  EXPECT_TRUE(ctl("sbtVoltar").enabled);
  EXPECT_FALSE(grid.Selecting());
  grid.CtrlBotoes("H", 2);
  EXPECT_TRUE(ctl("tcbBalcao01").visible);
  EXPECT_FALSE(ctl("tcbBalcao01").enabled);

  ctl("panKeyboard").visible = true;
  ctl("lblInputReceb2").caption = "12,00";
  ctl("imgReceb").glyph = "x.bmp";
  grid.CtrlBotoes("D", 1);
  EXPECT_FALSE(ctl("panKeyboard").visible);
  EXPECT_TRUE(ctl("spbDesconto").enabled && ctl("spbDesconto").visible);
  EXPECT_TRUE(ctl("sbtCashback").enabled);
  EXPECT_FALSE(ctl("sbtVoltar").enabled);
  EXPECT_TRUE(grid.Selecting());
  EXPECT_EQ(ctl("lblInputReceb2").caption, "");
  EXPECT_EQ(ctl("imgReceb").glyph, "");

  // Once something is paid, or with a fee printer, or refused rights: no discount.
  ctl("lblValorPagar").caption = "40,00";
  grid.CtrlBotoes("D", 1);
  EXPECT_FALSE(ctl("spbDesconto").visible);
  EXPECT_FALSE(ctl("sbtCashback").enabled);
  ctl("lblValorPagar").caption = "50,00";
  par().inIDTIPOIMPFIS = 21;
  grid.CtrlBotoes("D", 1);
  EXPECT_FALSE(ctl("spbAcrescimo").enabled);
  par().inIDTIPOIMPFIS = 0;
  sale().stPodeRetTaxaServ = "N";
  grid.CtrlBotoes("D", 1);
  EXPECT_FALSE(ctl("spbTaxaServico").enabled);
  EXPECT_TRUE(ctl("spbAcrescimo").enabled);

  grid.CtrlBotoes("E", 1);
  for (const char* n : {"tcbBalcao01", "spbClear", "spbCNPJCPF", "spbDesconto", "sbtFidelidadeOlga"})
    EXPECT_FALSE(ctl(n).enabled) << n;
  grid.CtrlBotoes("E", 2);
  EXPECT_TRUE(ctl("tcbBalcao01").enabled);
  EXPECT_TRUE(ctl("spbDesconto").enabled);
  EXPECT_FALSE(ctl("spbTaxaServico").enabled) << "access refused";

  ctl("spbOk").enabled = true;
  par().stIDEXISTECAMPDOTZ = "S";
  grid.CtrlBotoes("C", 2);
  EXPECT_FALSE(ctl("tcbBalcao01").enabled) << "confirmation pending";
  EXPECT_TRUE(ctl("spbDotz").enabled);
  EXPECT_TRUE(ctl("bltPesquisar").enabled);
  grid.CtrlBotoes("C", 1);
  for (const char* n : {"spbSair", "spbDotz", "bltPesquisar", "spbCNPJCPF", "spbClear"})
    EXPECT_FALSE(ctl(n).enabled) << n;

  ctl("panKeyboard").visible = true;
  grid.CtrlBotoes("P", 1);
  EXPECT_TRUE(ctl("tcbBalcao01").visible && ctl("tcbBalcao01").enabled);
  EXPECT_FALSE(ctl("panKeyboard").visible);
  EXPECT_TRUE(ctl("spbCNPJCPF").enabled);

  grid.CtrlBotoes("Z", 1);  // unknown modes change nothing
  EXPECT_TRUE(ctl("tcbBalcao01").enabled);
}

}  // namespace
}  // namespace recebimento::testing

namespace recebimento::testing {

TEST_F(TenderGrid, ButtonPicturesMayNameASubFolderWithEitherSeparatorButNeverLeaveTheirFolder) {
  std::filesystem::create_directories(dir_ / "Imagens");
  for (const char* f : {"Imagens/grupo1.bmp", "Imagens/dinheiro.bmp"}) std::ofstream(dir_ / f) << "BM";
  AddGroup("01", "Geral");
  AddTender("001", "4", "01", "1", "01", "Dinheiro");
  AddTender("002", "7", "01", "1", "02", "Ticket");
  AddTender("003", "3", "01", "1", "03", "Cheque");
  base::Dataset& receb = sale().cdsReceb;
  auto picture = [&](int row, const std::string& name) {
    receb.SetRecNo(row);
    receb.Edit();
    receb.FieldByName("DSIMAGEMBUT").SetAsString(name);
    receb.Post();
  };
  picture(1, "Imagens\\grupo1.bmp");
  picture(2, "Imagens/DINHEIRO.BMP");  // the host writes names in any case
  picture(3, "..\\PARAMETROSZEM.CDS");
  std::ofstream(dir_ / "PARAMETROSZEM.CDS") << "x";
  BuildGrid();
  EXPECT_EQ(ctl("tcbGrupo01").glyph, (dir_ / "Imagens" / "grupo1.bmp").string());
  EXPECT_EQ(ctl("tcbBalcao01").glyph, (dir_ / "Imagens" / "dinheiro.bmp").string());
  EXPECT_EQ(ctl("tcbBalcao02").glyph, "") << "a name that climbs out of the folder is refused";
}

}  // namespace recebimento::testing
