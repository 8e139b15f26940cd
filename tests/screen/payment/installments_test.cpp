// Number of installments: asked on the host's numeric keypad within the tender's maximum,
// then checked against the minimum value of one installment.
#include <gtest/gtest.h>

#include <string>

#include "screen/frame/message_table.h"
#include "screen/support/adjustments_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using screen::Msg;

using Installments = AdjustmentsTest;

TEST_F(Installments, NumberIsAskedWithinTheMaximumAndZeroOrCancelMeanOne) {
  Answer(Variant("0"));
  EXPECT_EQ(parts().installments.SolicitaQuantidadeParcelas(6), 1);
  const auto call = sim_->Record().CallsOf("TecladoNumerico").at(0);
  EXPECT_EQ(call.args.at(0).AsString(), "1") << "the proposal";
  EXPECT_EQ(call.args.at(1).AsString(), Msg("PARCELAS"));
  EXPECT_EQ(call.args.at(2).AsString(), Msg("INF_PARCELAS"));
  EXPECT_EQ(call.args.at(3).AsString(), Msg("INF_N_PARCELAS"));
  EXPECT_EQ(call.args.at(4).AsInteger(), 10);

  AnswerCancel();
  EXPECT_EQ(parts().installments.SolicitaQuantidadeParcelas(6), 1);

  Answer(Variant("6"));
  EXPECT_EQ(parts().installments.SolicitaQuantidadeParcelas(6), 6);
  EXPECT_TRUE(Messages().empty());

  // Above the maximum: the message, then the keypad again with the last text.
  Answer(Variant("7"));
  Answer(Variant("3"));
  EXPECT_EQ(parts().installments.SolicitaQuantidadeParcelas(6), 3);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], Msg("QTMAXPARC") + "6");
  EXPECT_EQ(sim_->Record().CallsOf("TecladoNumerico").back().args.at(0).AsString(), "7");

  // A cancel after a refused number keeps that number: asked again.
  Answer(Variant("9"));
  AnswerCancel();
  Answer(Variant("0"));
  EXPECT_EQ(parts().installments.SolicitaQuantidadeParcelas(6), 1);
  EXPECT_EQ(Messages().size(), 3u);
}

TEST_F(Installments, TenderWithoutAMaximumTakesOneInsteadOfAskingForever) {
  Answer(Variant("2"));
  Answer(Variant("1"));
  EXPECT_EQ(parts().installments.SolicitaQuantidadeParcelas(0), 1);
  EXPECT_EQ(Messages().back(), Msg("QTMAXPARC") + "1");
}

TEST_F(Installments, EachInstallmentMustReachTheMinimum) {
  std::string msg;
  EXPECT_TRUE(parts().installments.ValidaQuantidadeParcelas(5, 10, 2, msg));
  EXPECT_EQ(msg, "");
  EXPECT_TRUE(parts().installments.ValidaQuantidadeParcelas(50, 10, 1, msg)) << "one installment is never refused";
  EXPECT_TRUE(parts().installments.ValidaQuantidadeParcelas(0.1, 0.3, 3, msg))
      << "0.10 each is the minimum, not below it";
  EXPECT_TRUE(Messages().empty());

  ctl("spbSair").enabled = false;
  WaitForAmount(screen::isCredito3, "10,00");
  EXPECT_FALSE(parts().installments.ValidaQuantidadeParcelas(5, 10, 3, msg));
  EXPECT_EQ(sale().tpInputStep, screen::isNone) << "the keypad's Enter ends the input step";
  EXPECT_EQ(msg, Msg("VRMINPARC1") + "3,33.  " + Msg("VRMINPARC2") + " 5,00");
  EXPECT_EQ(Messages().back(), msg);
  EXPECT_TRUE(ctl("spbSair").enabled);
  EXPECT_EQ(ctl("lblInputReceb2").caption, "10,00") << "the amount goes back on the keypad";
}

TEST_F(Installments, NoInstallmentIsRefusedWithItsOwnMessage) {
  for (double n : {0.0, -2.0}) {
    std::string msg;
    ctl("spbSair").enabled = false;
    EXPECT_FALSE(parts().installments.ValidaQuantidadeParcelas(5, 12.5, n, msg));
    EXPECT_EQ(msg, Msg("Qtparc_inf"));
    EXPECT_TRUE(ctl("spbSair").enabled);
    EXPECT_EQ(ctl("lblInputReceb2").caption, "12,50");
  }
}

}  // namespace
}  // namespace recebimento::testing
