#pragma once
// Addresses of the REST services: the AME bases by environment, the CRM Bonus paths, and
// the escaping of ids that go into a path or a query.
#include <string>
#include <string_view>

namespace recebimento::integrations {

// The AME API's three bases. Production and development end in "/api", homologation
// has no path. A store may give its own (a provider's test environment, a fake service).
struct AmeBases {
  std::string production = "https://api.amedigital.com/api";
  std::string development = "https://api.dev.amedigital.com/api";
  std::string homologation = "https://api.hml.amedigital.com";
};

// The base of `Environment` (IDAMBIENTEAME): "P" production, "D" development, any other
// value homologation; a trailing "/" is dropped.
std::string getUrlAME(const std::string& Environment, const AmeBases& bases = {});

// The CRM Bonus path of an operation: "P" "/getBalance", "D" "/bonusProcessing", any
// other "/addTotalSales".
std::string getUrlCRMBONUS(const std::string& Operation);

// `text` with every byte outside the unreserved set (letters, digits, "-", ".", "_", "~")
// written as %XX, for an id placed in a path segment or a query value: an id from a
// reply can never change the address it is sent to.
std::string EscapeUrlPart(std::string_view text);

// A base address without the "/" it may end with.
std::string WithoutTrailingSlash(std::string text);

}  // namespace recebimento::integrations
