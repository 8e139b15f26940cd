#pragma once
// Masking of credentials in what the request module logs. Bodies are masked by their
// structure when they have one: a JSON or XML body that parses is walked, and every
// value under a sensitive name is masked whole, at any depth (also JSON or XML carried
// inside a string or an element). Text that parses as neither is scanned for the same
// forms (JSON members, XML elements, name=value pairs, "Name: value" lines, bearer
// tokens). Headers are masked by name and by the credential schemes they carry; URLs in
// their user part, path, query and fragment.
#include <string>
#include <string_view>

namespace recebimento::runtime {

inline constexpr std::string_view kMaskedValue = "****";

// Names whose values are credentials. The name is taken apart into words ("cardNumber",
// "Ocp-Apim-Subscription-Key", "client_secret"): it is sensitive when it holds one of
// secret, password, passwd, senha, token, authorization, apikey, cookie, signature,
// credential, cardnumber, numerocartao, cvv, securitycode, privatekey, accesskey,
// sessionid, or has a word pwd, pass, key, auth, cvc or pin. Percent-escapes are decoded
// first.
bool IsSensitiveName(std::string_view name);

// "Bearer abc" -> "Bearer ****"; other credentials -> "****"; a value that carries a
// bearer token is masked whatever the header's name; harmless headers unchanged.
std::string MaskHeaderValue(std::string_view name, std::string_view value);

// A password in the user part, sensitive name=value pairs of the path, query and
// fragment, and a key-like path segment after a sensitive one ("/apikey/4f9a...").
std::string MaskUrl(std::string_view url);

// A request or response body, masked as described above.
std::string MaskSecrets(std::string_view text);

}  // namespace recebimento::runtime
