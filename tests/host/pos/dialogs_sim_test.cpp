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
  id.fields = {{"document", Variant("52998224725")}, {"name", Variant("José")},
               {"address", Variant("Rua A, 1")}, {"foreigner", Variant("")}};
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

}  // namespace
}  // namespace recebimento::pos
