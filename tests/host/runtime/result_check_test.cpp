#include "host/runtime/result_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/data_packet.h"
#include "host/runtime/messages.h"

namespace recebimento::testing {

// Records every dialog and answers questions with a fixed answer.
class RecordingDialogs : public runtime::MessageDialogs {
 public:
  explicit RecordingDialogs(bool answer = true) : answer_(answer) { runtime::SetMessageDialogs(this); }
  ~RecordingDialogs() override { runtime::SetMessageDialogs(nullptr); }
  bool Show(const runtime::MessageRequest& request) override {
    shown.push_back(request);
    return answer_;
  }
  std::vector<runtime::MessageRequest> shown;

 private:
  bool answer_;
};

}  // namespace recebimento::testing

namespace recebimento::runtime {
namespace {

base::Variant ConsumerPacket() {
  base::DataPacket packet;
  packet.fields = {{"CDCONSUMIDOR", base::FieldType::String, 10}};
  packet.rows = {{base::Variant("0001")}};
  return base::Variant(packet);
}

TEST(MensagemMetodoTest, APacketPassesThroughUntouchedAndSilently) {
  testing::RecordingDialogs dialogs;
  const base::Variant packet = ConsumerPacket();
  const base::Variant result = MensagemMetodo(packet, true, 0, "getConsumidor", "Cli_Rev00000", "001-0001");
  EXPECT_TRUE(IsResultPacket(result));
  EXPECT_EQ(result, packet);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(MensagemMetodoTest, AnErrorTextIsShownWithItsCallAndReturnedAsTextNeverAsAPacket) {
  testing::RecordingDialogs dialogs;
  const base::Variant error("Timeout expired (getConsumidor)");
  const base::Variant result = MensagemMetodo(error, true, 10, "getConsumidor", "Cli_Rev00000", "001-0001-7");
  EXPECT_FALSE(IsResultPacket(result));
  EXPECT_EQ(result, error);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  const std::string& text = dialogs.shown[0].text;
  for (const char* part : {"Timeout expired", "getConsumidor", "Cli_Rev00000", "001-0001-7", "10"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << " missing in: " << text;
  }
  EXPECT_EQ(dialogs.shown[0].kind, kMsgBlocked);

  // Not shown when the caller says so, still not a packet.
  EXPECT_FALSE(IsResultPacket(MensagemMetodo(error, false, 0, "getConsumidor", "", "")));
  EXPECT_EQ(dialogs.shown.size(), 1u);
  // A value function's number is no failure.
  EXPECT_EQ(MensagemMetodo(base::Variant(12.5), true, 0, "getGastoConsMes", "", "").AsFloat(), 12.5);
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST(CheckResultServTest, TellsSuccessFromFailureAndShowsOnlyFailures) {
  testing::RecordingDialogs dialogs;
  EXPECT_TRUE(CheckResultServ(ConsumerPacket(), true, 0));
  EXPECT_TRUE(CheckResultServ(base::Variant("OK"), true, 0));
  EXPECT_TRUE(CheckResultServ(base::Variant(" ok "), true, 0));
  EXPECT_TRUE(CheckResultServ(base::Variant(true), true, 0));
  EXPECT_TRUE(CheckResultServ(base::Variant(std::vector<base::Variant>{ConsumerPacket(), ConsumerPacket()}), true, 0));
  EXPECT_TRUE(dialogs.shown.empty());

  EXPECT_FALSE(CheckResultServ(base::Variant("ORA-00942: table or view does not exist"), true, 3));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("ORA-00942"), std::string::npos);
  EXPECT_FALSE(CheckResultServ(base::Variant(), false, 0));
  EXPECT_FALSE(CheckResultServ(base::Variant::Null(), false, 0));
  EXPECT_FALSE(CheckResultServ(base::Variant(""), false, 0));
  EXPECT_FALSE(CheckResultServ(base::Variant(false), true, 0));
  EXPECT_EQ(dialogs.shown.size(), 2u);
  EXPECT_FALSE(dialogs.shown[1].text.empty()) << "a failure without text still says something";
}

TEST(MensagemTest, WithoutDialogsAQuestionTakesItsDefaultAnswer) {
  ASSERT_EQ(GetMessageDialogs(), nullptr);
  EXPECT_TRUE(Mensagem("Confirma?", "", "S", "S", kMsgQuestion, "", "", 0, nullptr));
  EXPECT_FALSE(Mensagem("Confirma?", "", "N", "N", kMsgQuestion, "", "", 0, nullptr));
}

}  // namespace
}  // namespace recebimento::runtime
