#pragma once
// The keyboard and the keypad: keys and characters from the PC keyboard, the POS keyboard
// and the on-screen keypad, the value being typed, the Enter and Escape procedures.
#include <string>

#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class Keyboard {
 public:
  explicit Keyboard(ScreenScope& s) : s_(s) {}

  // Windows virtual-key codes; `key` is set to 0 when the screen swallows it (Alt+F4).
  void KeyDown(int& key, bool shift, bool alt, bool ctrl);
  void KeyPress(char32_t ch);

  // Enables or disables the fourteen keypad buttons together.
  void KeybEnabled(bool enabled);
  // Sends each character of `text` to the key handlers (as characters, or as key-downs
  // with the character's code), then the Enter key when `enter`. Synchronous.
  void PostText(const std::string& text, bool enter, bool as_chars);

  // The keypad's buttons. A digit button's tag is its character code.
  void PressDigit(const std::string& sender);
  void PressDoubleZero();
  void PressTripleZero();
  void PressSeparator();
  void PressCorrect();
  void PressEnter();
  void BackToGrid();

  // The value being typed (mirrored in the value label).
  const std::string& TypedText() const { return stValorDigitado; }
  void SetTypedText(const std::string& text) { stValorDigitado = text; }
  // The value the last Enter took.
  double TakenAmount() const { return doVrDigitado; }
  void ClearTakenAmount() { doVrDigitado = 0; }
  // The next character replaces the proposed value.
  void SetReplaceOnNextChar(bool replace) { boLimpaEntrada = replace; }
  // Tip input: Enter is accepted without a value.
  void SetTipEntry(bool tip) { boEntradaGorjeta = tip; }
  // Digits typed so far as a tender-button number.
  const std::string& TypedButtonNumber() const { return stCodTipoDigitado; }

 private:
  // The Enter procedure; false when the key was abandoned (limit or no value).
  bool Enter();
  // The label that shows the value being typed for the keyboard kind (nullptr: none).
  Control* TypedValueLabel();

  ScreenScope& s_;
  std::string stValorDigitado;
  double doVrDigitado = 0;
  bool boLimpaEntrada = false;
  bool boEntradaGorjeta = false;
  std::string stCodTipoDigitado;
  bool boProcessandoEnter = false;  // an Enter of the keypad is being handled
};

}  // namespace recebimento::screen
