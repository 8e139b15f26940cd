// The host's dialogs answered as an operator would, with fingers and with the keyboard.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "base/dataset.h"
#include "currency_rates_dialog.h"
#include "dialog_kit.h"
#include "discount_dialog.h"
#include "gui_test_support.h"
#include "info_dialogs.h"
#include "message_dialogs.h"
#include "qt_host_dialogs.h"

namespace recebimento::gui {
namespace {

using testing::Child;
using testing::Press;
using testing::WhenDialogOpens;

QtHostDialogs Dialogs() {
  return QtHostDialogs([] { return base::DateTime::FromYMD(2026, 12, 6, 12, 0, 0); });
}

TEST(AmountsTyped, AreReadInCentsWithoutLosingOne) {
  EXPECT_EQ(ParseCents("0,29"), 29);
  EXPECT_EQ(ParseCents("1,15"), 115);
  EXPECT_EQ(ParseCents("1.234,5"), 123450);
  EXPECT_EQ(ParseCents("7"), 700);
  EXPECT_EQ(ParseCents("12,"), 1200);
  EXPECT_FALSE(ParseCents("12,345").has_value()) << "a third decimal is not an amount";
  EXPECT_FALSE(ParseCents("1.23,00").has_value());
  EXPECT_FALSE(ParseCents("abc").has_value());
  EXPECT_FALSE(ParseCents("").has_value());
  EXPECT_EQ(FormatCents(123456789), "1.234.567,89");
  EXPECT_EQ(FormatCents(5), "0,05");
}

TEST(MessageDialog, AQuestionAnswersWithItsDefaultOnEnterAndNoOnEscape) {
  QtMessageDialogs messages;
  runtime::MessageRequest question;
  question.text = "Deseja utilizar a campanha Dotz?";
  question.kind = runtime::kMsgQuestion;

  question.answer_a = "N";
  WhenDialogOpens([](QWidget& d) {
    EXPECT_EQ(Child<QLabel>(d, "lblTexto")->text(), "Deseja utilizar a campanha Dotz?");
    QTest::keyClick(&d, Qt::Key_Return);
  });
  EXPECT_FALSE(messages.Show(question));

  question.answer_a = "S";
  WhenDialogOpens([](QWidget& d) { QTest::keyClick(&d, Qt::Key_Return); });
  EXPECT_TRUE(messages.Show(question));
  WhenDialogOpens([](QWidget& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  EXPECT_FALSE(messages.Show(question)) << "dismissing a question is never a yes";
  WhenDialogOpens([](QWidget& d) { Press(d, {"btnNao"}); });
  EXPECT_FALSE(messages.Show(question));

  runtime::MessageRequest warning;
  warning.text = "Gaveta aberta";
  warning.kind = runtime::kMsgWarning;
  WhenDialogOpens([](QWidget& d) {
    EXPECT_EQ(d.findChild<QPushButton*>("btnSim"), nullptr) << "a warning has one button";
    Press(d, {"btnOk"});
  });
  EXPECT_TRUE(messages.Show(warning));
}

TEST(Keypads, NumbersAreTypedWithFingersAndTextIsCutToItsLengthInCharacters) {
  QtHostDialogs dialogs = Dialogs();
  std::string nsu = "999";
  WhenDialogOpens([](QWidget& d) {
    Press(d, {"key1", "key2", "key3", "keyCorrigir", "key4", "keyVirgula", "key5", "btnOk"});
  });
  ASSERT_TRUE(dialogs.TecladoNumerico(nsu, "NSU", "Informe o NSU", "", 0, ""));
  EXPECT_EQ(nsu, "124,5") << "the first key replaces the proposed value";

  std::string limited;
  WhenDialogOpens([](QWidget& d) {
    QTest::keyClicks(Child<QLineEdit>(d, "edtValor"), "12a3456");
    Press(d, {"btnOk"});
  });
  ASSERT_TRUE(dialogs.TecladoNumerico(limited, "NSU", "", "", 4, ""));
  EXPECT_EQ(limited, "1234");

  std::string kept = "abc";
  WhenDialogOpens([](QWidget& d) { Press(d, {"key9", "btnCancelar"}); });
  EXPECT_FALSE(dialogs.TecladoNumerico(kept, "NSU", "", "", 0, ""));
  EXPECT_EQ(kept, "abc") << "a cancelled keypad leaves the value alone";

  std::string code;
  WhenDialogOpens([](QWidget& d) {
    QTest::keyClicks(Child<QLineEdit>(d, "edtTexto"), "acao");
    Press(d, {"keyEspaco", "keyÇ", "btnOk"});
  });
  ASSERT_TRUE(dialogs.TecladoAlfaNumerico("Código do cupom", true, 6, code));
  EXPECT_EQ(code, "ACAO Ç") << "six characters, seven bytes";

  std::string lower;
  WhenDialogOpens([](QWidget& d) { Press(d, {"keyA", "keyB", "btnOk"}); });
  ASSERT_TRUE(dialogs.TecladoAlfaNumerico("Senha", false, 0, lower));
  EXPECT_EQ(lower, "ab");
}

TEST(Discount, TheAmountOrPercentageIsCheckedAgainstTheTotalToTheCent) {
  auto cents = [](std::variant<DiscountAnswer, QString> r) {
    return std::holds_alternative<DiscountAnswer>(r) ? std::get<DiscountAnswer>(r).cents : -1;
  };
  EXPECT_EQ(cents(EvaluateDiscount(false, "0,29", 13739)), 29);
  EXPECT_EQ(cents(EvaluateDiscount(true, "10", 13739)), 1373) << "a percentage is cut, never rounded up";
  EXPECT_EQ(cents(EvaluateDiscount(true, "100", 13739)), 13739);
  EXPECT_EQ(cents(EvaluateDiscount(false, "137,39", 13739)), 13739);
  EXPECT_EQ(cents(EvaluateDiscount(false, "137,40", 13739)), -1);
  EXPECT_EQ(cents(EvaluateDiscount(true, "100,01", 13739)), -1);
  EXPECT_EQ(cents(EvaluateDiscount(true, "0,01", 50)), -1) << "less than a cent is no discount";
  EXPECT_EQ(cents(EvaluateDiscount(false, "0", 13739)), -1);
  EXPECT_EQ(cents(EvaluateDiscount(false, "", 13739)), -1);

  QtHostDialogs dialogs = Dialogs();
  base::Variant answer;
  WhenDialogOpens([](QWidget& d) {
    EXPECT_EQ(Child<QLabel>(d, "lblTotal")->text(), "Total da venda: R$ 137,39");
    Press(d, {"key2", "key0", "key0", "btnOk"});  // more than the total: refused, the dialog stays
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(static_cast<TouchDialog&>(d).ErrorText().isEmpty());
    Press(d, {"keyLimpar", "btnPercentual", "key1", "key0"});
    QTest::keyClicks(Child<QLineEdit>(d, "edtMotivo"), "cliente fiel");
    Press(d, {"btnOk"});
  });
  ASSERT_TRUE(dialogs.CriaDesconto({base::Variant("Desconto"), base::Variant(137.39)}, answer));
  ASSERT_TRUE(answer.IsPacket());
  const base::DataPacket& p = answer.AsPacket();
  ASSERT_EQ(p.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(p.rows[0][p.FieldIndex("VRDESCONTO")].AsFloat(), 13.73);
  EXPECT_DOUBLE_EQ(p.rows[0][p.FieldIndex("PCDESCONTO")].AsFloat(), 10.0);
  EXPECT_EQ(p.rows[0][p.FieldIndex("DSMOTIVO")].AsString(), "cliente fiel");

  WhenDialogOpens([](QWidget& d) { Press(d, {"btnCancelar"}); });
  EXPECT_FALSE(dialogs.CriaDesconto({base::Variant("Desconto"), base::Variant(137.39)}, answer));
}

TEST(AdditionalInformation, OnlyAValidCpfOrCnpjIsTakenAndTheAnswerHasItsFixedPlaces) {
  EXPECT_TRUE(CheckDocument("").isEmpty());
  EXPECT_TRUE(CheckDocument("529.982.247-25").isEmpty());
  EXPECT_TRUE(CheckDocument("11.222.333/0001-81").isEmpty());
  EXPECT_FALSE(CheckDocument("529.982.247-24").isEmpty());
  EXPECT_FALSE(CheckDocument("111.111.111-11").isEmpty());
  EXPECT_FALSE(CheckDocument("1234").isEmpty());
  EXPECT_FALSE(CheckDocument("ABC").isEmpty());

  QtHostDialogs dialogs = Dialogs();
  base::Variant answer;
  WhenDialogOpens([](QWidget& d) {
    auto* document = Child<QLineEdit>(d, "edtDocumento");
    EXPECT_EQ(document->text(), "123");
    Press(d, {"btnOk"});
    EXPECT_TRUE(d.isVisible()) << "a wrong document keeps the dialog open";
    document->setText("529.982.247-25");
    QTest::keyClicks(Child<QLineEdit>(d, "edtNome"), "Maria Souza");
    QTest::keyClicks(Child<QLineEdit>(d, "edtEstrangeiro"), "X12");
    Press(d, {"btnOk"});
  });
  ASSERT_TRUE(dialogs.CriaInfAdicional({base::Variant("123")}, answer));
  const auto& values = answer.AsArray();
  ASSERT_EQ(values.size(), 6u);
  EXPECT_EQ(values[0].AsString(), "52998224725");
  EXPECT_EQ(values[1].AsString(), "Maria Souza");
  EXPECT_EQ(values[2].AsString(), "");
  EXPECT_EQ(values[5].AsString(), "X12");
}

TEST(Observation, IsProposedAndACancelAnswersErro) {
  QtHostDialogs dialogs = Dialogs();
  base::Variant answer;
  WhenDialogOpens([](QWidget& d) {
    auto* edit = Child<QLineEdit>(d, "edtObservacao");
    EXPECT_EQ(edit->text(), "sem cebola");
    edit->end(false);
    Press(d, {"keyEspaco", "keyE", "btnOk"});
  });
  ASSERT_TRUE(dialogs.Observacao(
      {base::Variant("Observação"), base::Variant("Informe a observação da Venda"), base::Variant("sem cebola")},
      answer));
  EXPECT_EQ(answer.AsString(), "sem cebola E");
  WhenDialogOpens([](QWidget& d) { Press(d, {"btnCancelar"}); });
  EXPECT_FALSE(dialogs.Observacao({base::Variant("Observação")}, answer));
  EXPECT_EQ(answer.AsString(), "erro");
}

TEST(ConsumerSearch, PicksTheClientFromTheSalesListAndNeedsAClientOrConsumer) {
  base::Dataset clients("cdsCliente");
  clients.AddField("CDCLIENTE", base::FieldType::String, 15);
  clients.AddField("NMRAZSOCCLIE", base::FieldType::String, 60);
  clients.CreateDataSet();
  clients.AppendRecord({base::Variant("000010"), base::Variant("EMPRESA ALFA")});
  clients.AppendRecord({base::Variant("000020"), base::Variant("EMPRESA BETA")});
  clients.First();
  pos::ConsumerSearchRequest request;
  request.title = "Pesquisar consumidor";
  request.clients = &clients;

  QtHostDialogs dialogs = Dialogs();
  pos::ConsumerSearchResult found;
  WhenDialogOpens([](QWidget& d) {
    Press(d, {"btnOk"});
    EXPECT_TRUE(d.isVisible()) << "nothing chosen yet";
    Child<QComboBox>(d, "cbxCliente")->setCurrentIndex(2);
    QTest::keyClicks(Child<QLineEdit>(d, "edtConsumidor"), "C77");
    Press(d, {"btnOk"});
  });
  ASSERT_TRUE(dialogs.PesqConsumidor(request, found));
  EXPECT_EQ(found.CDCLIENTE, "000020");
  EXPECT_EQ(found.NMRAZSOCCLIE, "EMPRESA BETA");
  EXPECT_EQ(found.CDCONSUMIDOR, "C77");
  EXPECT_EQ(clients.RecNo(), 1) << "the host's dataset keeps its position";
}

TEST(CurrencyRates, EveryRateIsNeededAndTheTableIsDatedToday) {
  EXPECT_EQ(ParseRate("5,4321"), 5.4321);
  EXPECT_FALSE(ParseRate("0").has_value());
  EXPECT_FALSE(ParseRate("5.43").has_value());
  EXPECT_FALSE(ParseRate("").has_value());

  QtHostDialogs dialogs = Dialogs();
  base::Variant rates;
  WhenDialogOpens([](QWidget& d) {
    Child<QLineEdit>(d, "edtCotacaoUSD")->setText("5,1234");
    Press(d, {"btnOk"});
    EXPECT_TRUE(d.isVisible()) << "the euro has no rate yet";
    Child<QLineEdit>(d, "edtCotacaoEUR")->setText("6");
    Child<QLineEdit>(d, "edtCotacaoARS")->setText("0,0061");
    Press(d, {"btnOk"});
  });
  ASSERT_TRUE(dialogs.CriaOutrasMoedas(rates));
  const base::DataPacket& p = rates.AsPacket();
  ASSERT_EQ(p.rows.size(), 3u);
  EXPECT_EQ(p.rows[0][p.FieldIndex("CDINDICE")].AsString(), "USD");
  EXPECT_DOUBLE_EQ(p.rows[0][p.FieldIndex("VRCOTACAO")].AsFloat(), 5.1234);
  EXPECT_EQ(p.rows[2][p.FieldIndex("DTCOTACAO")].AsDateTime(), base::DateTime::FromYMD(2026, 12, 6));

  // The next time the rates just typed are proposed.
  WhenDialogOpens([](QWidget& d) {
    EXPECT_EQ(Child<QLineEdit>(d, "edtCotacaoUSD")->text(), "5,1234");
    Press(d, {"btnCancelar"});
  });
  base::Variant none;
  EXPECT_FALSE(dialogs.CriaOutrasMoedas(none));
}

TEST(WaitNotice, ShowsItsTextUntilTheOperationEnds) {
  QtHostDialogs dialogs = Dialogs();
  dialogs.AtivaProcesso("frmRecebimento", "Consultando saldo...");
  EXPECT_TRUE(dialogs.Notice().Visible());
  EXPECT_EQ(dialogs.Notice().Text(), "Consultando saldo...");
  dialogs.DesativaProcesso();
  EXPECT_FALSE(dialogs.Notice().Visible());
}

}  // namespace
}  // namespace recebimento::gui
