#pragma once
// The host's text entries: the sale's observation and the additional information of the
// receipt (document, name, address, foreigner's number).
#include <optional>
#include <string>

#include <QString>

class QWidget;

namespace recebimento::gui {

std::optional<std::string> AskObservation(const std::string& title, const std::string& prompt,
                                          const std::string& previous, QWidget* parent = nullptr);

struct AdditionalInfo {
  std::string document;  // digits only: a CPF (11) or a CNPJ (14), or empty
  std::string name;
  std::string address;
  std::string foreigner;
};

// "" when the document may be used: empty, or a CPF or CNPJ whose check digits are right
// (punctuation allowed). Otherwise the message to show.
QString CheckDocument(const std::string& typed);

std::optional<AdditionalInfo> AskAdditionalInfo(const AdditionalInfo& proposed, QWidget* parent = nullptr);

}  // namespace recebimento::gui
