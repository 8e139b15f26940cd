#pragma once
// Access control with rights per access code. A right is "S" (the operator may), "N"
// (refused) or a supervisor code (a supervisor authorises it). Controlled operations are
// kept in a log, and appended to a log file when one is configured.
#include <map>
#include <string>
#include <vector>

#include "host/pos/access_control.h"
#include "host/pos/host_record.h"

namespace recebimento::pos {

struct AccessConfig {
  std::map<int, std::string> rights;
  std::string default_right = "S";
  std::string log_path;  // empty: kept in memory only
};

class SimulatedAccessControl : public AccessControl {
 public:
  SimulatedAccessControl(AccessConfig config, HostRecord& record) : config_(std::move(config)), record_(record) {}

  bool VerificaAcesso(int access_code, const std::string& operator_code, std::string& supervisor) override;
  std::string ControleAcess(int access_code, const std::string& operator_code) override;
  bool LogControleAcess(const AccessLogEntry& entry) override;

  const std::vector<AccessLogEntry>& Log() const { return log_; }

 private:
  std::string RightOf(int access_code) const;
  AccessConfig config_;
  HostRecord& record_;
  std::vector<AccessLogEntry> log_;
};

}  // namespace recebimento::pos
