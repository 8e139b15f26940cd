#include "host/pos/access_control_sim.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace recebimento::pos {

using base::Variant;

std::string SimulatedAccessControl::RightOf(int access_code) const {
  auto it = config_.rights.find(access_code);
  return it == config_.rights.end() ? config_.default_right : it->second;
}

bool SimulatedAccessControl::VerificaAcesso(int access_code, const std::string& operator_code,
                                            std::string& supervisor) {
  record_.Call("VerificaAcesso", {Variant(access_code), Variant(operator_code)});
  const std::string right = RightOf(access_code);
  if (right == "N" || right.empty()) return false;
  supervisor = right == "S" ? std::string() : right;
  return true;
}

std::string SimulatedAccessControl::ControleAcess(int access_code, const std::string& operator_code) {
  record_.Call("ControleAcess", {Variant(access_code), Variant(operator_code)});
  const std::string right = RightOf(access_code);
  return right.empty() ? std::string("N") : right;
}

bool SimulatedAccessControl::LogControleAcess(const AccessLogEntry& e) {
  record_.Call("LogControleAcess",
               {Variant(e.branch), Variant(e.cash_register), Variant(e.event), Variant(e.operator_code),
                Variant(e.operator_name), Variant(e.supervisor), Variant(e.short_text), Variant(e.long_text)});
  log_.push_back(e);
  if (!config_.log_path.empty()) {
    std::filesystem::path p(config_.log_path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::app);
    out << e.branch << "|" << e.cash_register << "|" << e.event << "|" << e.operator_code << "|" << e.operator_name
        << "|" << e.supervisor << "|" << e.short_text << "|" << e.long_text << "\n";
    out.flush();
    if (!out) return false;
  }
  return true;
}

}  // namespace recebimento::pos
