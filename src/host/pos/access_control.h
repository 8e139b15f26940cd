#pragma once
// Supervisor access control (Gpe00002).
#include <string>

namespace recebimento::pos {

struct AccessLogEntry {
  std::string branch;
  std::string cash_register;
  std::string event;  // "CUP_DES", "CUP_ACR", "ALT_TAX", "SEL_CLI", ...
  std::string operator_code;
  std::string operator_name;
  std::string supervisor;
  std::string short_text;
  std::string long_text;
};

class AccessControl {
 public:
  virtual ~AccessControl() = default;
  // True when the operator may do it; `supervisor` names who authorised it.
  virtual bool VerificaAcesso(int access_code, const std::string& operator_code, std::string& supervisor) = 0;
  // "S" allowed, "N" refused, or the code of the supervisor who authorised it.
  virtual std::string ControleAcess(int access_code, const std::string& operator_code) = 0;
  virtual bool LogControleAcess(const AccessLogEntry& entry) = 0;
};

}  // namespace recebimento::pos
