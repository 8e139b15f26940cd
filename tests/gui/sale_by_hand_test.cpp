// Sales taken on the window by a cashier's fingers and by the keyboard alone: from the
// tender grid to the closed screen, on the example host with an NFC-e store (no fiscal
// printer), the host's dialogs as Qt dialogs and the simulated card terminal.
#include <filesystem>
#include <fstream>

#include <QLabel>
#include <QLineEdit>
#include <nlohmann/json.hpp>

#include "datamodule/store_init.h"
#include "dialog_kit.h"
#include "gui_sale.h"
#include "gui_test_support.h"
#include "host_copy.h"
#include "screen_operator.h"
#include "screen_view.h"
#include "support/temp_dir.h"

namespace recebimento::gui {
namespace {

namespace fs = std::filesystem;
using testing::Press;
using testing::ScreenOperator;
using testing::Shown;
using testing::ShownAndEnabled;

class SaleByHandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path examples(RECEBIMENTO_EXAMPLES_DIR);
    const fs::path host = dir / "host";
    harness::CopyHostWithParameters((examples / "host").string(), host.string(),
                                    {{"UTILIZAIMPFIS", false}, {"SISTEMAZEMNFCE", true}});
    options.db = "sqlite:" + (host / "Dados" / "recebimento.db").string();
    datamodule::InitStoreDatabase(options.db, true);
    options.host_dir = host.string();
    // Mesa 12: 137,40 with the service fee; DINHEIRO is tender 01, the cards 02 and 03.
    options.sale_path = (examples / "sales" / "table-sale.json").string();
    options.windowed = true;
  }

  GuiSaleOutcome Run(ScreenOperator& cashier) {
    options.on_window_shown = cashier.Start();
    GuiSaleOutcome outcome = RunSaleOnScreen(options);
    EXPECT_EQ(cashier.StepsLeft(), 0u) << "the screen closed before the cashier was done";
    return outcome;
  }

  // Payment lines as (tender, kind of movement, amount).
  static std::vector<std::tuple<std::string, std::string, double>> Lines(const base::DataPacket& p) {
    std::vector<std::tuple<std::string, std::string, double>> out;
    const int tender = p.FieldIndex("CDTIPORECE"), kind = p.FieldIndex("IDTIPOMOVIVE"),
              amount = p.FieldIndex("VRMOVIVEND");
    if (tender < 0 || kind < 0 || amount < 0) return out;
    for (const auto& row : p.rows)
      out.emplace_back(row[tender].AsString(), row[kind].AsString(), row[amount].AsFloat());
    return out;
  }

  // The table sale with the card terminal answering every transaction with `outcome`.
  void TerminalAnswers(const nlohmann::ordered_json& outcome) {
    std::ifstream in(options.sale_path);
    nlohmann::ordered_json sale = nlohmann::ordered_json::parse(in);
    sale["host"]["tef"]["outcomes"] = nlohmann::ordered_json::array({outcome});
    options.sale_path = (dir / "card-sale.json").string();
    std::ofstream(options.sale_path) << sale.dump(1);
  }

  // The terminal's answer files of approved transactions not yet confirmed.
  size_t AnswerFiles() const {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir / "host" / "Tef" / "Resp", ec))
      n += e.path().filename().string().rfind("intpos.", 0) == 0 ? 1 : 0;
    return n;
  }

  testing::TempDir dir;
  GuiSaleOptions options;
};

using Line = std::tuple<std::string, std::string, double>;

// What the cashier sees once 200,00 in cash paid the table.
void ChangeIsShown(ScreenView& view) {
  EXPECT_EQ(Shown(view, "lblValorPago"), "200,00");
  EXPECT_EQ(Shown(view, "lblPagar"), "Troco: ");
  EXPECT_EQ(Shown(view, "lblValorPagar"), "62,60");
  EXPECT_FALSE(ShownAndEnabled(view, "panKeyboard")) << "the keypad goes once the sale is paid";
  EXPECT_TRUE(ShownAndEnabled(view, "spbOk"));
}

TEST_F(SaleByHandTest, CashSaleWithChangeByTouchAlone) {
  ScreenOperator cashier;
  cashier.Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblValorPagar"), "137,40");
    EXPECT_EQ(Shown(view, "tcbBalcao01"), "DINHEIRO");
  });
  cashier.Touch("tcbBalcao01").Look([](ScreenView& view) {
    EXPECT_TRUE(ShownAndEnabled(view, "panKeyboard"));
    EXPECT_EQ(Shown(view, "lblInputReceb2"), "137,40") << "what is still to pay is proposed";
  });
  // The first digit replaces the proposal; a slip is corrected on the keypad.
  cashier.Touch("sbt2").Touch("sbt5").Touch("sbtCorrigir").Touch("sbt00").Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblInputReceb2"), "200");
  });
  cashier.Touch("sbtEnter").Look(ChangeIsShown).Touch("spbOk");

  const GuiSaleOutcome outcome = Run(cashier);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_TRUE(outcome.result) << "the sale is completed";
  EXPECT_EQ(Lines(outcome.payments), (std::vector<Line>{{"001", "E", 200.0}, {"001", "S", 62.60}}));
}

TEST_F(SaleByHandTest, CashSaleWithChangeByKeyboardAlone) {
  ScreenOperator cashier;
  // Tender 01 by its number, the amount typed over the proposal, Enter to take it.
  cashier.Keys("01").Look([](ScreenView& view) { EXPECT_TRUE(ShownAndEnabled(view, "panKeyboard")); });
  cashier.Keys("200").Key(Qt::Key_Return).Look(ChangeIsShown);
  // Enter again confirms the paid sale.
  cashier.Key(Qt::Key_Return);

  const GuiSaleOutcome outcome = Run(cashier);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_TRUE(outcome.result);
  EXPECT_EQ(Lines(outcome.payments), (std::vector<Line>{{"001", "E", 200.0}, {"001", "S", 62.60}}));
}

TEST_F(SaleByHandTest, DiscountThroughTheDialogThenPaidAndConfirmed) {
  ScreenOperator cashier;
  // O is the discount button's key; the dialog is answered with fingers.
  cashier.Key(Qt::Key_O).InDialog("dlgDesconto", [](QWidget& dialog) {
    EXPECT_EQ(testing::Child<QLabel>(dialog, "lblTotal")->text(), "Total da venda: R$ 137,40");
    Press(dialog, {"btnPercentual", "key1", "key0", "btnOk"});
  });
  cashier.Look([](ScreenView& view) {
    // 10 % of the sale without its service fee (124,91), cut to the cent.
    EXPECT_EQ(Shown(view, "lblValorPagar"), "124,91");
    const std::vector<std::string> lines = testing::ListShown(view, "memLista");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, 17), "Desconto: 10,00% ");
    EXPECT_NE(lines[1].find("-12,49"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("124,91"), std::string::npos) << lines[2];
    EXPECT_FALSE(ShownAndEnabled(view, "spbAcrescimo")) << "no surcharge on top of a discount";
  });
  // Cash for exactly what the keypad proposes, and Enter confirms.
  cashier.Touch("tcbBalcao01").Look([](ScreenView& view) { EXPECT_EQ(Shown(view, "lblInputReceb2"), "124,91"); });
  cashier.Touch("sbtEnter").Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblValorPago"), "124,91");
    EXPECT_EQ(Shown(view, "lblValorPagar"), "0,00");
  });
  cashier.Key(Qt::Key_Return);

  const GuiSaleOutcome outcome = Run(cashier);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_TRUE(outcome.result);
  EXPECT_EQ(Lines(outcome.payments), (std::vector<Line>{{"001", "E", 124.91}}));
}

TEST_F(SaleByHandTest, ACardTheTerminalDeclinesLeavesNoLineAndTheScreenUsable) {
  TerminalAnswers({{"approved", false}, {"result_code", 5}});
  ScreenOperator cashier;
  cashier.Touch("tcbBalcao02").Touch("sbtEnter");
  cashier.Until("the terminal is done", [](ScreenView& view) { return !ShownAndEnabled(view, "panTef"); });
  cashier.Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblValorPago"), "0,00");
    EXPECT_EQ(Shown(view, "lblValorPagar"), "137,40");
    EXPECT_TRUE(ShownAndEnabled(view, "tcbBalcao01")) << "back on the tender grid";
  });
  cashier.Keys("01").Keys("150").Key(Qt::Key_Return).Key(Qt::Key_Return);

  const GuiSaleOutcome outcome = Run(cashier);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_TRUE(outcome.result);
  EXPECT_EQ(Lines(outcome.payments), (std::vector<Line>{{"001", "E", 150.0}, {"001", "S", 12.60}}));
  EXPECT_EQ(AnswerFiles(), 0u) << "nothing was approved";
}

TEST_F(SaleByHandTest, KeyboardShortcutsStepBackClearAndLeave) {
  ScreenOperator cashier;
  // Escape on the keypad only goes back to the grid.
  cashier.Keys("01").Key(Qt::Key_Escape).Look([](ScreenView& view) {
    EXPECT_FALSE(ShownAndEnabled(view, "panKeyboard"));
    EXPECT_TRUE(ShownAndEnabled(view, "tcbBalcao01"));
    EXPECT_EQ(Shown(view, "lblValorPago"), "0,00");
  });
  cashier.Keys("01").Keys("50").Key(Qt::Key_Return).Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblValorPago"), "50,00");
  });
  // Alt+F4 does not close the screen; L clears the payments; V leaves.
  cashier.Key(Qt::Key_F4, Qt::AltModifier).Key(Qt::Key_L).Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblValorPago"), "0,00");
    EXPECT_EQ(Shown(view, "lblValorPagar"), "137,40");
  });
  cashier.Key(Qt::Key_V);

  const GuiSaleOutcome outcome = Run(cashier);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_FALSE(outcome.result) << "leaving does not complete the sale";
  EXPECT_TRUE(Lines(outcome.payments).empty());
}

TEST_F(SaleByHandTest, CardPaymentThroughTheSimulatedTerminal) {
  // The customer takes three seconds at the PIN pad; the brand is the first card's.
  TerminalAnswers({{"approved", true}, {"brand_code", "01"}, {"host_nsu", "445566"}, {"seconds", 3}});
  ScreenOperator cashier;
  cashier.Touch("tcbBalcao02").Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblInputReceb2"), "137,40") << "a card too is proposed what is still to pay";
  });
  cashier.Touch("sbt1").Touch("sbt0").Touch("sbt0").Touch("sbtEnter");
  // While the terminal works the card panel stays up and counts its seconds.
  cashier.Until("the terminal worked a second", [](ScreenView& view) {
    return ShownAndEnabled(view, "panTef") && Shown(view, "lblSegundos") != "( 0 )";
  });
  cashier.Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblTef"), "Aguarde... Transação com o cartão em andamento.");
    EXPECT_EQ(Shown(view, "lblValorPago"), "0,00") << "nothing is paid before the approval";
  });
  cashier.Until("the terminal is done", [](ScreenView& view) { return !ShownAndEnabled(view, "panTef"); });
  cashier.Look([this](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblValorPago"), "100,00");
    EXPECT_EQ(Shown(view, "lblValorPagar"), "37,40");
    const std::vector<std::string> lines = testing::ListShown(view, "memLista");
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("100,00"), std::string::npos) << lines.back();
    EXPECT_EQ(AnswerFiles(), 1u) << "approved, and not confirmed before the sale is";
  });
  // The rest in cash, with change (a sale the card paid to the cent confirms by itself).
  cashier.Touch("tcbBalcao01").Look([](ScreenView& view) { EXPECT_EQ(Shown(view, "lblInputReceb2"), "37,40"); });
  cashier.Touch("sbt5").Touch("sbt0").Touch("sbtEnter").Look([](ScreenView& view) {
    EXPECT_EQ(Shown(view, "lblPagar"), "Troco: ");
    EXPECT_EQ(Shown(view, "lblValorPagar"), "12,60");
  });
  cashier.Key(Qt::Key_Return);

  const GuiSaleOutcome outcome = Run(cashier);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.message;
  EXPECT_TRUE(outcome.result) << "the sale is completed";
  EXPECT_EQ(Lines(outcome.payments), (std::vector<Line>{{"002", "E", 100.0}, {"001", "E", 50.0}, {"001", "S", 12.60}}));
  const int nsu = outcome.payments.FieldIndex("CDNSUHOSTTEF");
  ASSERT_GE(nsu, 0);
  EXPECT_EQ(outcome.payments.rows[0][nsu].AsString(), "445566");
  EXPECT_EQ(AnswerFiles(), 0u) << "the completed sale's transaction was confirmed";
}

}  // namespace
}  // namespace recebimento::gui
