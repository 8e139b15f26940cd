// The surcharge and the service fee: their limits with and without a fiscal printer, the
// fee the surcharge replaces or keeps, the access log and the confirmation of a fee above
// the sale's own.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "screen/frame/message_table.h"
#include "screen/support/adjustments_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;
using screen::Msg;
using SurchargeAndFee = AdjustmentsTest;

TEST_F(SurchargeAndFee, SurchargeWithAFiscalPrinterIsAtMostTenPercentAndReplacesTheFee) {
  par().boUTILIZAIMPFIS = true;
  StartSale(110, 10);
  AnswerAdjustment("P", 10);
  parts().adjustments.Surcharge();
  EXPECT_DOUBLE_EQ(sale().doVrAcrescimo, 10.0);
  EXPECT_DOUBLE_EQ(sale().doPercAcrescimo, 10.0);
  EXPECT_EQ(sale().doVrServico, 0) << "the surcharge replaces the fee";
  EXPECT_EQ(ctl("lblServico").caption, "0,00");
  EXPECT_DOUBLE_EQ(sale().doVrBaseAcrescimo, 100.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 110.0);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 110.0);
  EXPECT_EQ(Lista().at(1), Line("Acréscimo: 10,00% ", "+10,00"));
  EXPECT_EQ(Lista().at(2), Line("Sub-Total:", "110,00"));
  EXPECT_FALSE(ctl("spbDesconto").enabled);

  for (auto [tipo, valor] : std::vector<std::pair<std::string, double>>{{"P", 10.01}, {"V", 10.01}}) {
    AnswerAdjustment(tipo, valor);
    parts().adjustments.Surcharge();
    EXPECT_EQ(Messages().back(), Msg("Ope_Acr_Maior")) << tipo;
    EXPECT_DOUBLE_EQ(sale().doVrAcrescimo, 10.0) << "the surcharge in force stays";
    EXPECT_DOUBLE_EQ(sale().doVrTotal, 110.0);
  }
}

TEST_F(SurchargeAndFee, SurchargeWithoutAFiscalPrinterIsBoundByTheSale) {
  StartSale(100);
  AnswerAdjustment("P", 100);
  parts().adjustments.Surcharge();
  EXPECT_DOUBLE_EQ(sale().doVrAcrescimo, 100.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 200.0);
  AnswerAdjustment("P", 100.01);
  parts().adjustments.Surcharge();
  EXPECT_EQ(Messages().back(), Msg("Ope_Acr_Maior_Sat_Nfce"));

  // The branch keeps the fee beside the surcharge: both together are bound by the base.
  sale().doVrAcrescimo = sale().doPercAcrescimo = 0;
  StartSale(110, 10);
  par().stIDPERACRTXSECUP = "S";
  AnswerAdjustment("V", 90.01);
  parts().adjustments.Surcharge();
  EXPECT_EQ(Messages().back(), Msg("Acr_Tax_Maior_Sat_Nfce"));
  EXPECT_EQ(sale().doVrAcrescimo, 0);
  EXPECT_DOUBLE_EQ(sale().doVrServico, 10.0);

  AnswerAdjustment("V", 90);
  parts().adjustments.Surcharge();
  EXPECT_DOUBLE_EQ(sale().doVrServico, 10.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 200.0);
  EXPECT_DOUBLE_EQ(sale().doVrBaseAcrescimo + sale().doVrAcrescimo, sale().doVrTotal) << "the real total keeps the fee";
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 200.0);
}

TEST_F(SurchargeAndFee, ServiceFeeChangeIsLoggedAndAFeeAboveTheSalesOwnIsConfirmed) {
  Rights({{kTaxa, "SUP02"}});
  sale().stNrComanda = "0012";
  StartSale(110, 10);

  AnswerAdjustment("V", 15);
  Answer(Variant(false));
  parts().adjustments.ServiceFee();
  EXPECT_EQ(Messages().back(), Msg("Taxa_Maior"));
  EXPECT_DOUBLE_EQ(sale().doVrServico, 10.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 110.0);
  EXPECT_TRUE(ctl("spbTaxaServico").enabled);

  const auto& log = sim_->Access().Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].event, "ALT_TAX");
  EXPECT_EQ(log[0].branch, "0001");
  EXPECT_EQ(log[0].cash_register, "001");
  EXPECT_EQ(log[0].operator_code, "7");
  EXPECT_EQ(log[0].operator_name, "MARIA");
  EXPECT_EQ(log[0].supervisor, "SUP02");
  EXPECT_EQ(log[0].short_text, "Alterar valor da Taxa de Serviço da Mesa/Comanda Nº: 0012");
  EXPECT_EQ(log[0].long_text, "Alterar valor da Taxa de Serviço.");

  AnswerAdjustment("V", 15);
  Answer(Variant(true));
  parts().adjustments.ServiceFee();
  EXPECT_DOUBLE_EQ(sale().doVrServico, 15.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 115.0);
  EXPECT_DOUBLE_EQ(sale().doVrAPagar, 115.0);
  EXPECT_EQ(ctl("lblValorTotal").caption, "115,00");
  EXPECT_EQ(ctl("lblServico").caption, "15,00");

  // A percentage is taken on the sale without its fee; 0 removes the fee.
  AnswerAdjustment("P", 5);
  parts().adjustments.ServiceFee();
  EXPECT_DOUBLE_EQ(sale().doVrServico, 5.0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 105.0);
  AnswerAdjustment("V", 0);
  parts().adjustments.ServiceFee();
  EXPECT_EQ(sale().doVrServico, 0);
  EXPECT_DOUBLE_EQ(sale().doVrTotal, 100.0);
  EXPECT_EQ(answers_.Left(), 0u);

  Rights({{kTaxa, "N"}});
  parts().adjustments.ServiceFee();
  EXPECT_EQ(Calls("LogControleAcess"), 0u) << "a refused operator changes and logs nothing";
}

}  // namespace
}  // namespace recebimento::testing
