#pragma once
// The card panel (panTef) shown while the card terminal works, with the seconds it has
// been working counted by the screen's one-second timer timCount.
#include <string>

#include "base/timer.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

// What the panel says while a card transaction runs.
inline constexpr const char* kTefPanelText = "Aguarde... Transação com o cartão em andamento.";

class TefPanel {
 public:
  explicit TefPanel(ScreenScope& s);
  TefPanel(const TefPanel&) = delete;
  TefPanel& operator=(const TefPanel&) = delete;

  // inSegundos back to 0, "( 0 )" shown, timCount on, the panel shown with `text`.
  void Show(const std::string& text);
  // timCount off and the panel hidden.
  void Hide();
  // One tick of timCount: a second more on the counter.
  void timCountTimer();

  int Seconds() const { return inSegundos; }
  const base::Timer& Timer() const { return timCount; }

 private:
  ScreenScope& s_;
  int inSegundos = 0;
  base::Timer timCount;
};

// Shows the panel for the life of a terminal call: hidden again however the call ends.
class TefPanelShown {
 public:
  TefPanelShown(TefPanel& panel, const std::string& text) : panel_(panel) { panel_.Show(text); }
  ~TefPanelShown() { panel_.Hide(); }
  TefPanelShown(const TefPanelShown&) = delete;
  TefPanelShown& operator=(const TefPanelShown&) = delete;

 private:
  TefPanel& panel_;
};

}  // namespace recebimento::screen
