#include "integrations/rest/loggers.h"

#include "host/runtime/daily_log.h"
#include "host/runtime/secret_masking.h"

namespace recebimento::integrations {

namespace {

const std::string kAmeFolder = "logApiAME";
const std::string kCrmBonusFolder = "logApiCRMBONUS";
const std::string kMpFolder = "logApiMP";
const std::string kClubPetroFolder = "logClubPetro";

}  // namespace

std::string Loggers::Now() const { return context_.clock.Now().Format("dd/mm/yyyy hh:nn:ss"); }

void Loggers::WriteMonthly(const std::string& folder, const std::string& prefix, const std::string& text) const {
  try {
    const base::DateTime now = context_.clock.Now();
    runtime::AppendLogLine(context_.paths.LogFolder(folder, now), prefix + "_" + now.Format("dd") + ".txt",
                           now.Format("dd/mm/yyyy hh:nn:ss") + " - " + runtime::MaskSecrets(text));
  } catch (const std::exception&) {
    // A host folder that cannot hold the log: the sale goes on without it.
  }
}

void Loggers::WriteDaily(const std::string& folder, const std::vector<std::string>& lines) const {
  try {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + runtime::MaskSecrets(line);
    runtime::AppendLogLine(context_.paths.DataFolder() + "/" + folder,
                           folder + context_.clock.Now().Format("ddmmyyyy") + ".txt", text);
  } catch (const std::exception&) {
    // As above: the log is an aid, not part of the sale.
  }
}

void Loggers::LogRev00000(const std::string& text) const { WriteMonthly("LogRev00000", "LogRev00000", text); }

void Loggers::LogCartaoTodo(const std::string& text) const { WriteMonthly("LogCartaoTodo", "LogCartaoTodo", text); }

void Loggers::logGCOM(const std::string& text) const { WriteMonthly("logApiGCOM", "logApiGCOM", text); }

void Loggers::logAme(const std::string& text, const std::string& stMensagemAmeAux) const {
  const std::string now = Now();
  std::vector<std::string> lines = {now + " - " + text};
  if (!stMensagemAmeAux.empty()) lines.push_back(now + " - " + stMensagemAmeAux);
  lines.push_back(std::string(82, '-'));
  WriteDaily(kAmeFolder, lines);
}

void Loggers::logCRMBONUS(const std::string& text, const std::string& stMensagemCRMBONUSAux) const {
  const std::string now = Now();
  std::vector<std::string> lines = {now + " - " + text};
  if (!stMensagemCRMBONUSAux.empty()) lines.push_back(now + " - " + stMensagemCRMBONUSAux);
  lines.push_back(std::string(82, '-'));
  WriteDaily(kCrmBonusFolder, lines);
}

void Loggers::logMp(const std::string& text) const {
  WriteDaily(kMpFolder, {Now() + " - " + text, std::string(82, '-')});
}

void Loggers::logClubPetro(const std::string& text, const std::string& Inicio, const std::string& Fim,
                           const std::string& stMensagemClubPetroAux) const {
  const std::string now = Now();
  if (Inicio == "S") return WriteDaily(kClubPetroFolder, {now + std::string(36, '-')});
  std::vector<std::string> lines = {now + " - " + text};
  if (!stMensagemClubPetroAux.empty() && Fim == "S") {
    lines.push_back(now + " - " + stMensagemClubPetroAux);
    lines.push_back(now + std::string(36, '-'));
  }
  WriteDaily(kClubPetroFolder, lines);
}

std::string Loggers::AmeLogFolder() const { return context_.paths.DataFolder() + "/" + kAmeFolder; }

std::string Loggers::MpLogFolder() const { return context_.paths.DataFolder() + "/" + kMpFolder; }

}  // namespace recebimento::integrations
