#pragma once
// Consumer services of the host (Gpe00002): balances kept by the host, the online
// statement service and the consumer central.
#include <string>

#include "base/datetime.h"
#include "base/variant.h"

namespace recebimento::pos {

// One request to a consumer service: the operation name ("CONSULTA_SALDO",
// "CONSULTA_ORDEM_FAMILIA", "SUBSIDIO_BASICO_EMP", ...) and the codes it needs.
struct ConsumerQuery {
  std::string operation;
  std::string url;   // the online statement service
  std::string kind;  // "V", "T", ...
  std::string branch;
  std::string shop;
  std::string client;
  std::string consumer;
  std::string family;
  base::DateTime date;
};

class ConsumerServices {
 public:
  virtual ~ConsumerServices() = default;
  virtual bool AtuSaldoDebCons(const std::string& branch, const std::string& client, const std::string& consumer,
                               const base::DateTime& since, const std::string& operator_code) = 0;
  virtual bool AtuSaldoExtCons(const std::string& branch, const std::string& client, const std::string& consumer,
                               double amount) = 0;
  // Each answers true on success with its result in `result`: a variant array whose first
  // element is the value (or a data packet).
  virtual bool ExtratoConsOnline(const ConsumerQuery& query, base::Variant& result) = 0;
  virtual bool ExtratoConsCentral(const ConsumerQuery& query, base::Variant& result) = 0;
  virtual bool MoviclieCentral(const ConsumerQuery& query, base::Variant& result) = 0;
};

}  // namespace recebimento::pos
