#pragma once
// The customer display and the POS keyboard's own display (Gpe00001).
#include <string>

namespace recebimento::pos {

class CustomerDisplay {
 public:
  virtual ~CustomerDisplay() = default;
  virtual void LimpaDisplay() = 0;
  virtual void DisplayEnviaTexto(const std::string& text, int line, int column) = 0;
};

class PosKeyboard {
 public:
  virtual ~PosKeyboard() = default;
  virtual bool Teclado_OK() = 0;  // a POS keyboard is in use
  virtual void ProcTeclFormFeed() = 0;
  virtual void ProcTeclGoToXY(int column, int line) = 0;
  virtual void ProcTeclDispStr(const std::string& text) = 0;
  virtual void ProcTeclDispClrLn2() = 0;
};

}  // namespace recebimento::pos
