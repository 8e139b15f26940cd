#pragma once
// The CHART card software's file exchange: the point of sale writes a request file in the
// request folder (as "tefchart.tmp", then renamed to "tefchart.ini" so the software never
// reads half a request); the software removes the request when it takes it and answers in
// the answer folder with "tefchart.imp" (approved) or "tefchart.can" (cancelled).
#include <string>

#include "base/datetime.h"

namespace recebimento::pos {

inline constexpr const char* kChartRequestBeingWritten = "tefchart.tmp";
inline constexpr const char* kChartRequest = "tefchart.ini";
inline constexpr const char* kChartApproved = "tefchart.imp";
inline constexpr const char* kChartCancelled = "tefchart.can";
// The card receipt the software leaves for the point of sale to print.
inline constexpr const char* kChartReceipt = "cupom.tef";

// What an approval answer carries. Each value is at most 10 characters.
struct ChartAnswer {
  std::string authorization;  // NUMERODEAUTORIZACAO
  std::string card_number;    // NUMERODECARTAO
  std::string client_code;    // CODIGOCLIENTE
  std::string external_code;  // CODIGOEXTERNO
};

// Reads an approval answer: a line is recognised by the key it contains and its value
// taken from a fixed column (after the key and its "="). Lines without a key are skipped;
// any text reads without an error.
ChartAnswer ReadChartAnswer(const std::string& text);

// The sale request for `amount` (two decimals in the number locale, every "," removed)
// with the transaction key made of `now`.
std::string ChartSaleRequest(double amount, const base::DateTime& now);
// A request without an amount: "CAN" cancels the transaction, "IMP" confirms it once its
// receipt is printed.
std::string ChartRequestOf(const std::string& transaction_type);

// What a request asks, as the software reads it: the TIPOTRANSACAO, VALORTRANSACAO and
// CHAVETRANSACAO values (empty when missing).
struct ChartRequestFields {
  std::string type, amount, key;
};
ChartRequestFields ReadChartRequest(const std::string& text);

// Writes `text` whole into the request folder as "tefchart.tmp" (a write cut short
// leaves no request); PublishChartRequest renames it to "tefchart.ini", after the pause the
// software is given between the two. base::AtomicFileError or std::filesystem errors when
// the folder cannot take it.
void WriteChartRequestFile(const std::string& folder, const std::string& text);
void PublishChartRequest(const std::string& folder);

}  // namespace recebimento::pos
