// A press reaches a control's action only when the operator could make it: the control
// and every panel around it shown and enabled. What stops it is told apart, since a
// scripted run treats a hidden control as a script error and a disabled one as a press
// that does nothing.
#include <gtest/gtest.h>

#include "screen/frame/controls.h"

namespace recebimento::screen {
namespace {

class PressCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg_.Add("panOuter", "panel", "", 0, 0, 400, 300);
    reg_.Add("panInner", "panel", "", 10, 10, 200, 100, "panOuter");
    reg_.Add("btnDeep", "button", "OK", 5, 5, 80, 40, "panInner").on_click = [this] { ++pressed_; };
    reg_.Add("lblTitle", "label", "Título");
  }

  PressCheck::Outcome Outcome(const std::string& name) { return reg_.CheckPress(name).outcome; }

  ControlRegistry reg_;
  int pressed_ = 0;
};

TEST_F(PressCheckTest, WhatStopsAPressIsToldApart) {
  EXPECT_EQ(Outcome("btnDeep"), PressCheck::kReaches);
  EXPECT_EQ(Outcome("btnNada"), PressCheck::kUnknown);
  EXPECT_EQ(Outcome("lblTitle"), PressCheck::kNoAction);

  reg_.FindComponent("panInner")->enabled = false;
  EXPECT_EQ(reg_.CheckPress("btnDeep").why, "btnDeep is inside the disabled panel panInner");
  EXPECT_FALSE(reg_.Click("btnDeep"));

  // Hidden outweighs disabled: the operator cannot even see the button.
  reg_.FindComponent("panOuter")->visible = false;
  const PressCheck hidden = reg_.CheckPress("btnDeep");
  EXPECT_EQ(hidden.outcome, PressCheck::kHidden);
  EXPECT_EQ(hidden.why, "btnDeep is inside the hidden panel panOuter");

  reg_.FindComponent("panOuter")->visible = true;
  reg_.FindComponent("panInner")->enabled = true;
  reg_.FindComponent("btnDeep")->enabled = false;
  EXPECT_EQ(reg_.CheckPress("btnDeep").why, "btnDeep is disabled");
  EXPECT_EQ(pressed_, 0);

  reg_.FindComponent("btnDeep")->enabled = true;
  EXPECT_TRUE(reg_.Click("btnDeep"));
  EXPECT_EQ(pressed_, 1);
}

TEST_F(PressCheckTest, PanelsThatHoldEachOtherNeverLoop) {
  reg_.FindComponent("panOuter")->parent = "panInner";
  EXPECT_EQ(Outcome("btnDeep"), PressCheck::kHidden);
  EXPECT_FALSE(reg_.Click("btnDeep"));
}

}  // namespace
}  // namespace recebimento::screen
