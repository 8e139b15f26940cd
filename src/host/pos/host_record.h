#pragma once
// What the host saw during a call: every host operation with its arguments, the lines
// its printers printed and the dialogs it showed. Tests and the scripted run read it.
#include <string>
#include <vector>

#include "base/variant.h"

namespace recebimento::pos {

struct HostCall {
  std::string name;
  std::vector<base::Variant> args;
};

struct DialogRecord {
  std::string kind;  // "Mensagem", "TecladoNumerico", "CriaInfAdicional", ...
  std::string title;
  std::string text;
  base::Variant answer;
  // "information", "warning", "error" or "question" (every dialog that waits for an answer).
  std::string type = "question";
};

struct PrintedLine {
  std::string device;  // "fiscal", "nonfiscal", "tef"
  std::string text;
};

class HostRecord {
 public:
  void Call(std::string name, std::vector<base::Variant> args = {});
  void Print(std::string device, std::string text);
  void Dialog(DialogRecord record);

  const std::vector<HostCall>& Calls() const { return calls_; }
  const std::vector<PrintedLine>& Printed() const { return printed_; }
  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }
  // The calls of one operation, in order.
  std::vector<HostCall> CallsOf(const std::string& name) const;
  size_t CountOf(const std::string& name) const;
  void Clear();

 private:
  std::vector<HostCall> calls_;
  std::vector<PrintedLine> printed_;
  std::vector<DialogRecord> dialogs_;
};

}  // namespace recebimento::pos
