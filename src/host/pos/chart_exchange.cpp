#include "host/pos/chart_exchange.h"

#include <filesystem>

#include "base/atomic_file.h"
#include "base/text.h"
#include "host/runtime/format.h"

namespace recebimento::pos {

namespace fs = std::filesystem;

namespace {

constexpr size_t kValueWidth = 10;

// The value of a line holding `key`, from the 1-based character `column` on.
std::string ValueFrom(const std::string& line, size_t column) {
  return base::Trim(base::Utf8Mid(line, column - 1, kValueWidth));
}

}  // namespace

ChartAnswer ReadChartAnswer(const std::string& text) {
  ChartAnswer answer;
  for (std::string line : base::Split(text, "\n")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("NUMERODEAUTORIZACAO") != std::string::npos)
      answer.authorization = ValueFrom(line, 21);
    else if (line.find("NUMERODECARTAO") != std::string::npos)
      answer.card_number = ValueFrom(line, 16);
    else if (line.find("CODIGOCLIENTE") != std::string::npos)
      answer.client_code = ValueFrom(line, 15);
    else if (line.find("CODIGOEXTERNO") != std::string::npos)
      answer.external_code = ValueFrom(line, 15);
  }
  return answer;
}

std::string ChartSaleRequest(double amount, const base::DateTime& now) {
  std::string value = runtime::FormatFloat("0.00", amount);
  std::string digits;
  for (char c : value)
    if (c != ',') digits += c;
  return "[PARAMETROS]\nTIPOTRANSACAO=VDA\nVALORTRANSACAO=" + digits + "\nCHAVETRANSACAO=Brisova_" +
         now.Format("yyyymmddhhnnss") + "\n";
}

std::string ChartRequestOf(const std::string& transaction_type) {
  return "[PARAMETROS]\nTIPOTRANSACAO=" + transaction_type + "\n";
}

ChartRequestFields ReadChartRequest(const std::string& text) {
  ChartRequestFields fields;
  for (std::string line : base::Split(text, "\n")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = base::Trim(line.substr(0, eq));
    const std::string value = base::Trim(line.substr(eq + 1));
    if (key == "TIPOTRANSACAO") fields.type = value;
    if (key == "VALORTRANSACAO") fields.amount = value;
    if (key == "CHAVETRANSACAO") fields.key = value;
  }
  return fields;
}

void WriteChartRequestFile(const std::string& folder, const std::string& text) {
  fs::create_directories(folder);
  base::WriteFileAtomically((fs::path(folder) / kChartRequestBeingWritten).string(), text);
}

void PublishChartRequest(const std::string& folder) {
  fs::rename(fs::path(folder) / kChartRequestBeingWritten, fs::path(folder) / kChartRequest);
}

}  // namespace recebimento::pos
