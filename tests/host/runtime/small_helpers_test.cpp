#include <gtest/gtest.h>

#include "host/runtime/dates.h"
#include "host/runtime/translation.h"

namespace recebimento::runtime {
namespace {

TEST(UltimoDiaMesTest, KnowsMonthLengthsLeapYearsAndTheYearEnd) {
  EXPECT_EQ(UltimoDiaMes(base::DateTime::FromYMD(2024, 2, 10, 15, 30)), base::DateTime::FromYMD(2024, 2, 29));
  EXPECT_EQ(UltimoDiaMes(base::DateTime::FromYMD(2100, 2, 1)), base::DateTime::FromYMD(2100, 2, 28));
  EXPECT_EQ(UltimoDiaMes(base::DateTime::FromYMD(2026, 4, 30)), base::DateTime::FromYMD(2026, 4, 30));
  EXPECT_EQ(UltimoDiaMes(base::DateTime::FromYMD(2026, 12, 6)), base::DateTime::FromYMD(2026, 12, 31));
  EXPECT_EQ(UltimoDiaMes(base::DateTime::FromYMD(9999, 12, 1)), base::DateTime::FromYMD(9999, 12, 31));
}

TEST(TradTest, TranslatesCaptionsButNeverBlanksThem) {
  Captions captions{{"spbOk", "Confirmar"}, {"spbSair", "Sair"}};
  Trad(captions);  // nothing installed: unchanged
  EXPECT_EQ(captions.at("spbOk"), "Confirmar");

  SetTranslator([](const std::string& control, const std::string& caption) {
    return caption == "Confirmar" ? std::string("Confirm") : std::string();
  });
  Trad(captions);
  EXPECT_EQ(captions.at("spbOk"), "Confirm");
  EXPECT_EQ(captions.at("spbSair"), "Sair");

  Trad(captions, [](const std::string& control, const std::string&) { return "[" + control + "]"; });
  EXPECT_EQ(captions.at("spbSair"), "[spbSair]");
  SetTranslator({});
}

}  // namespace
}  // namespace recebimento::runtime
