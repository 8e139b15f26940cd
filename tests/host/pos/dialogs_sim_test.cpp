// Dialogs take their answers from the script, else from a default for their kind, and
// a dialog that needs an answer and gets none is an error that names it.
#include <deque>

#include <gtest/gtest.h>

#include "host/pos/dialogs_sim.h"

namespace recebimento::pos {
namespace {

using base::Variant;

class QueuedAnswers : public DialogAnswerSource {
 public:
  std::deque<DialogAnswer> answers;
  std::vector<std::string> asked;
  std::optional<DialogAnswer> Next(const DialogRecord& d) override {
    asked.push_back(d.kind);
    if (answers.empty()) return std::nullopt;
    DialogAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
};

DialogAnswer Value(Variant v) {
  DialogAnswer a;
  a.value = std::move(v);
  return a;
}

runtime::MessageRequest Question(const std::string& text) {
  runtime::MessageRequest r;
  r.text = text;
  r.kind = runtime::kMsgQuestion;
  r.answer_a = "S";
  return r;
}

TEST(DialogsSim, QuestionsTakeScriptedAnswersThenDefaultsThenFail) {
  HostRecord record;
  QueuedAnswers source;
  SimulatedDialogs dialogs(record, &source);
  source.answers = {Value(false), Value(Variant("S"))};
  EXPECT_FALSE(dialogs.Show(Question("Deseja imprimir o cupom fiscal?")));
  EXPECT_TRUE(dialogs.Show(Question("Deseja?"))) << "\"S\" reads as yes";

  dialogs.SetDefault("Mensagem", Value(true));
  EXPECT_TRUE(dialogs.Show(Question("Sem resposta no roteiro")));

  SimulatedDialogs strict(record, &source);
  try {
    strict.Show(Question("Utilizar Dotz?"));
    FAIL() << "an unanswered question must not pass";
  } catch (const DialogUnanswered& e) {
    EXPECT_NE(std::string(e.what()).find("Mensagem"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("Utilizar Dotz?"), std::string::npos);
  }
  ASSERT_EQ(record.Dialogs().size(), 3u);
  EXPECT_EQ(record.Dialogs()[0].answer, Variant(false));
}

TEST(DialogsSim, OneButtonMessagesNeedNoAnswer) {
  HostRecord record;
  QueuedAnswers source;
  SimulatedDialogs dialogs(record, &source);
  runtime::MessageRequest warning;
  warning.text = "Gaveta aberta";
  warning.kind = runtime::kMsgWarning;
  EXPECT_TRUE(dialogs.Show(warning));
  EXPECT_TRUE(source.asked.empty()) << "the script is not consulted";
  ASSERT_EQ(record.Dialogs().size(), 1u);
  EXPECT_EQ(record.Dialogs()[0].text, "Gaveta aberta");
}

TEST(DialogsSim, EveryDialogIsRecordedWithWhatItMeantToTheOperator) {
  HostRecord record;
  QueuedAnswers source;
  SimulatedDialogs dialogs(record, &source);
  for (int kind : {runtime::kMsgPrompt, runtime::kMsgWarning, runtime::kMsgBlocked}) {
    runtime::MessageRequest r;
    r.text = "aviso " + std::to_string(kind);
    r.kind = kind;
    dialogs.Show(r);
  }
  source.answers = {Value(true), Value(Variant("7"))};
  dialogs.Show(Question("Deseja?"));
  std::string typed;
  dialogs.TecladoNumerico(typed, "Parcelas", "Informe", "", 2, "");
  std::vector<std::string> types;
  for (const auto& d : record.Dialogs()) types.push_back(d.type);
  EXPECT_EQ(types, (std::vector<std::string>{"information", "warning", "error", "question", "question"}));
}

TEST(DialogsSim, NumericKeypadKeepsDigitsUpToItsLimitAndCanBeCancelled) {
  HostRecord record;
  QueuedAnswers source;
  SimulatedDialogs dialogs(record, &source);
  DialogAnswer cancelled;
  cancelled.cancelled = true;
  source.answers = {Value(Variant("12a3-45678")), cancelled};
  std::string nsu = "1";
  ASSERT_TRUE(dialogs.TecladoNumerico(nsu, "Venda NSU", "Informe o NSU", "", 6, "X"));
  EXPECT_EQ(nsu, "123456");
  EXPECT_FALSE(dialogs.TecladoNumerico(nsu, "Venda NSU", "Informe o NSU", "", 6, "X"));
  EXPECT_EQ(nsu, "123456") << "a cancelled keypad leaves the value alone";
}

TEST(DialogsSim, StructuredEntriesFillTheirElements) {
  HostRecord record;
  QueuedAnswers source;
  SimulatedDialogs dialogs(record, &source);
  DialogAnswer id;
  id.fields = {{"document", Variant("52998224725")},
               {"name", Variant("José")},
               {"address", Variant("Rua A, 1")},
               {"foreigner", Variant("")}};
  DialogAnswer consumer;
  consumer.fields = {{"CDCLIENTE", Variant("C01")}, {"CDCONSUMIDOR", Variant("0042")}, {"complement", Variant("X")}};
  source.answers = {id, consumer};

  Variant ole;
  ASSERT_TRUE(dialogs.CriaInfAdicional({Variant("")}, ole));
  ASSERT_EQ(ole.Size(), 6u);
  EXPECT_EQ(ole[0].AsString(), "52998224725");
  EXPECT_EQ(ole[1].AsString(), "José");
  EXPECT_EQ(ole[2].AsString(), "Rua A, 1");

  ConsumerSearchResult found;
  ConsumerSearchRequest search;
  search.operation = "CONSULTA_TEL";
  ASSERT_TRUE(dialogs.PesqConsumidor(search, found));
  EXPECT_EQ(found.CDCONSUMIDOR, "0042");
  EXPECT_EQ(found.complement, "X");
}

// A field the dialog does not read would be dropped without a word: it is named, with
// the ones the dialog knows.
TEST(DialogsSim, AnswerFieldsMustBeTheDialogsOwn) {
  using Fields = std::map<std::string, Variant>;
  EXPECT_EQ(CheckAnswerFields("CriaInfAdicional", Fields{{"document", Variant("1")}, {"name", Variant("A")}}), "");
  EXPECT_EQ(CheckAnswerFields("CriaInfAdicional", Fields{{"nome", Variant("A")}}),
            "the dialog CriaInfAdicional has no field \"nome\" (it knows document, name, address, foreigner)");
  EXPECT_EQ(CheckAnswerFields("TecladoNumerico", Fields{{"value", Variant("1")}}),
            "the dialog TecladoNumerico takes a value, not named fields");
  EXPECT_EQ(CheckAnswerFields("TecladoNumerico", Fields{}), "") << "a plain value has no fields";

  EXPECT_EQ(CheckAnswerFields("CriaDesconto", Fields{{"TIPO", Variant("P")}, {"VALOR", Variant(10.0)}}), "");
  EXPECT_EQ(CheckAnswerFields("CriaDesconto", Fields{{"TIPO", Variant("V")}, {"VALOR", Variant(int64_t{5})}}), "");
  EXPECT_NE(CheckAnswerFields("CriaDesconto", Fields{{"TIPO", Variant("X")}, {"VALOR", Variant(5.0)}}), "");
  EXPECT_NE(CheckAnswerFields("CriaDesconto", Fields{{"TIPO", Variant("V")}, {"VALOR", Variant("5")}}), "");
  EXPECT_NE(CheckAnswerFields("CriaDesconto", Fields{{"VALOR", Variant(5.0)}}), "") << "VALOR without TIPO";
  EXPECT_NE(CheckAnswerFields("CriaDesconto",
                              Fields{{"TIPO", Variant("V")}, {"VALOR", Variant(5.0)}, {"VRDESCONTO", Variant(5.0)}}),
            "")
      << "the two shapes do not mix";
}

TEST(DialogsSim, TheDiscountDialogAnswersInTheShapeItWasGiven) {
  HostRecord record;
  QueuedAnswers source;
  SimulatedDialogs dialogs(record, &source);
  DialogAnswer host_shape;
  host_shape.fields = {{"TIPO", Variant("P")}, {"VALOR", Variant(12.5)}};
  source.answers = {host_shape};
  Variant ole;
  ASSERT_TRUE(dialogs.CriaDesconto({Variant("Desconto"), Variant(100.0)}, ole));
  ASSERT_TRUE(ole.IsPacket());
  const auto& p = ole.AsPacket();
  ASSERT_EQ(p.fields.size(), 2u);
  EXPECT_EQ(p.rows[0][p.FieldIndex("TIPO")].AsString(), "P");
  EXPECT_EQ(p.rows[0][p.FieldIndex("VALOR")].AsFloat(), 12.5);
}

}  // namespace
}  // namespace recebimento::pos
