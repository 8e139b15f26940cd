#include "integrations/rest/rest_urls.h"

#include <cctype>

namespace recebimento::integrations {

std::string WithoutTrailingSlash(std::string text) {
  while (!text.empty() && (text.back() == '/' || text.back() == ' ')) text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

std::string getUrlAME(const std::string& Environment, const AmeBases& bases) {
  if (Environment == "P") return WithoutTrailingSlash(bases.production);
  if (Environment == "D") return WithoutTrailingSlash(bases.development);
  return WithoutTrailingSlash(bases.homologation);
}

std::string getUrlCRMBONUS(const std::string& Operation) {
  if (Operation == "P") return "/getBalance";
  if (Operation == "D") return "/bonusProcessing";
  return "/addTotalSales";
}

std::string EscapeUrlPart(std::string_view text) {
  static const char* kHex = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

}  // namespace recebimento::integrations
