#pragma once
// Loyalty and wallet services of the host (Gpe00002). Each takes an action name and its
// values and answers in oleRetorno.
#include <string>
#include <vector>

#include "base/variant.h"

namespace recebimento::pos {

class LoyaltyServices {
 public:
  virtual ~LoyaltyServices() = default;
  virtual bool FixeCRM(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  virtual bool FidelidadeOnline(const std::string& action, const std::vector<base::Variant>& args,
                                base::Variant& oleRetorno) = 0;
  virtual bool FidelidadeOlga(const std::string& action, const std::vector<base::Variant>& args,
                              base::Variant& oleRetorno) = 0;
  virtual bool IntegracaoFidUds(const std::string& action, const std::vector<base::Variant>& args,
                                base::Variant& oleRetorno) = 0;
  virtual bool IntegracaoFid4All(const std::string& action, const std::vector<base::Variant>& args,
                                 base::Variant& oleRetorno) = 0;
  virtual bool CoreBancario(const std::string& action, const std::vector<base::Variant>& args,
                            base::Variant& oleRetorno) = 0;
  virtual bool ValePresente(const std::string& action, const std::vector<base::Variant>& args,
                            base::Variant& oleRetorno) = 0;
  virtual bool CriaDadosDotz(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
};

}  // namespace recebimento::pos
