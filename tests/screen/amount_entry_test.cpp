// The keypad and its Enter limit, the exit with card transactions pending, and the
// card terminal's return-code texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "grid_keyboard_fixture.h"
#include "screen/message_table.h"

namespace recebimento::testing {
namespace {

class AmountEntryTest : public GridKeyboardTest {
 protected:
  void SetUp() override {
    GridKeyboardTest::SetUp();
    frm().LigaBotoesEntradaValor();
    ctl("spbOk").enabled = false;  // nothing is paid yet
  }

  bool Shown(const std::string& key) const {
    for (const auto& m : Messages())
      if (m == screen::Msg(key)) return true;
    return false;
  }
};

TEST_F(AmountEntryTest, EnterRefusesWhatWouldTakeTheSaleOverTheLimit) {
  frm().doVrPago = 400000.00;
  WaitForAmount(screen::isDinheiro1, "600000,00");
  frm().sbtEnterClick();
  EXPECT_TRUE(Shown("Lim_Pag"));
  EXPECT_EQ(frm().tpInputStep, screen::isDinheiro1) << "the tender must not take the amount";
  EXPECT_FALSE(ctl("panKeyboard").visible) << "back to the tender grid";

  // The same sum one cent lower is taken, whatever binary noise the addition leaves.
  sim_->Record().Clear();
  WaitForAmount(screen::isDinheiro1, "599999,99");
  frm().sbtEnterClick();
  EXPECT_FALSE(Shown("Lim_Pag"));
  EXPECT_EQ(frm().tpInputStep, screen::isNone);
  EXPECT_DOUBLE_EQ(frm().doVrDigitado, 599999.99);

  frm().doVrPago = 0;
  WaitForAmount(screen::isDinheiro1, "999999,99");
  frm().sbtEnterClick();
  EXPECT_FALSE(Shown("Lim_Pag"));
  EXPECT_EQ(frm().tpInputStep, screen::isNone);

  WaitForAmount(screen::isDinheiro1, "1000000");
  frm().sbtEnterClick();
  EXPECT_TRUE(Shown("Lim_Pag"));
  EXPECT_EQ(frm().tpInputStep, screen::isDinheiro1);
}

TEST_F(AmountEntryTest, KeypadButtonsTypeTheAmountAndCorrectIt) {
  WaitForAmount(screen::isDinheiro1);
  for (const char* b : {"sbt1", "sbt2", "sbtVirgula", "sbt5"}) frm().Controls().Click(b);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,5");
  frm().Controls().Click("sbt00");  // only two decimals are kept
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,50");
  for (int i = 0; i < 7; ++i) frm().Controls().Click("sbtCorrigir");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "") << "correcting an empty amount leaves it empty";
  frm().Controls().Click("sbt000");
  frm().Controls().Click("sbt7");
  EXPECT_EQ(ctl("lblInputReceb2").caption, "0007");
}

TEST_F(AmountEntryTest, EnterWithNothingTypedIsZeroAndKeepsTheGrid) {
  BuildGrid();
  frm().CtrlBotoes("D", 1);
  frm().tpInputStep = screen::isNone;
  ctl("lblInputReceb2").caption = "";
  frm().sbtEnterClick();
  EXPECT_DOUBLE_EQ(frm().doVrDigitado, 0);
  EXPECT_FALSE(Shown("Lim_Pag"));
  EXPECT_TRUE(frm().boSelecionandoTipo) << "the grid stays offered for a choice";
}

TEST_F(AmountEntryTest, ExitWithPendingCardTransactionsStaysUntilTheyAreCancelled) {
  const auto pendentes = dir_ / "Pendentes";
  std::filesystem::create_directories(pendentes);
  std::ofstream(pendentes / "intpos.001") << "000-000 = CRT\n";
  frm().stDSDIRPENTEF = pendentes.string();
  frm().inQtdeTef = 1;
  config_.printer_failures["CancelaPendencia"] = 0;  // the host cannot cancel them
  SetUpHost();

  frm().ExecutaSaida();
  EXPECT_FALSE(frm().Closed());
  EXPECT_TRUE(ctl("spbSair").enabled);
  EXPECT_EQ(sim_->Record().CountOf("Cancela_Cupom_Imp"), 1u);
  EXPECT_FALSE(frm().boProcessandoSaida) << "a later exit must not be ignored";

  config_.printer_failures.clear();
  SetUpHost();
  frm().ExecutaSaida();
  EXPECT_EQ(sim_->Record().CountOf("CancelaPendencia"), 1u);
  EXPECT_TRUE(frm().Closed());
}

TEST(MsgErro, CodesAreTrimmedAndUnknownOnesSaySo) {
  using screen::TfrmRecebimento;
  EXPECT_EQ(TfrmRecebimento::MsgErro(" 05 "), "Transação não autorizada");
  EXPECT_EQ(TfrmRecebimento::MsgErro("-1"), "Operação Cancelada ! ");
  EXPECT_EQ(TfrmRecebimento::MsgErro("50"), "Biblioteca de Automação Comercia l não foi inicializada");
  EXPECT_EQ(TfrmRecebimento::MsgErro("5"), "Erro não documentado");
  EXPECT_EQ(TfrmRecebimento::MsgErro(""), "Erro não documentado");
}

}  // namespace
}  // namespace recebimento::testing
