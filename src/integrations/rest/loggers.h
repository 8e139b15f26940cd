#pragma once
// The daily log files of the payment step and its integrations: each writes
// "\Dados\<folder>\yyyy\MM\<prefix>_DD.txt" under the host's folder, one line per call:
// the date and time, " - ", the text. A log that cannot be written never stops the sale.
#include <string>

#include "integrations/integration_context.h"

namespace recebimento::integrations {

class Loggers {
 public:
  explicit Loggers(const IntegrationContext& context) : context_(context) {}

  // The payment screen's own trace.
  void LogRev00000(const std::string& text) const;

 private:
  void Write(const std::string& folder, const std::string& prefix, const std::string& text) const;

  const IntegrationContext& context_;
};

}  // namespace recebimento::integrations
