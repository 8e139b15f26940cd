#include "integrations/rest/loggers.h"

#include "host/runtime/daily_log.h"

namespace recebimento::integrations {

void Loggers::Write(const std::string& folder, const std::string& prefix, const std::string& text) const {
  try {
    const base::DateTime now = context_.clock.Now();
    runtime::AppendLogLine(context_.paths.LogFolder(folder, now), prefix + "_" + now.Format("dd") + ".txt",
                           now.Format("dd/mm/yyyy hh:nn:ss") + " - " + text);
  } catch (const std::exception&) {
    // A host folder that cannot hold the log: the sale goes on without it.
  }
}

void Loggers::LogRev00000(const std::string& text) const { Write("LogRev00000", "LogRev00000", text); }

}  // namespace recebimento::integrations
