#include "host/runtime/documents.h"

#include <algorithm>
#include <vector>

namespace recebimento::runtime {

namespace {

int DigitAt(const std::string& digits, size_t i) { return digits[i] - '0'; }

// Modulus-11 check digit over the first `count` digits with the given weights.
int CheckDigit(const std::string& digits, const std::vector<int>& weights) {
  int sum = 0;
  for (size_t i = 0; i < weights.size(); ++i) sum += DigitAt(digits, i) * weights[i];
  const int rest = sum % 11;
  return rest < 2 ? 0 : 11 - rest;
}

bool AllEqual(const std::string& digits) {
  return std::all_of(digits.begin(), digits.end(), [&](char c) { return c == digits.front(); });
}

}  // namespace

std::string DocumentDigits(std::string_view s) {
  std::string digits;
  for (const char c : s) {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (c != '.' && c != '-' && c != '/' && c != ' ') {
      return "";
    }
  }
  return digits;
}

std::string PictPess(std::string_view s) {
  const std::string d = DocumentDigits(s);
  if (d.size() == 11) return d.substr(0, 3) + "." + d.substr(3, 3) + "." + d.substr(6, 3) + "-" + d.substr(9, 2);
  if (d.size() == 14) {
    return d.substr(0, 2) + "." + d.substr(2, 3) + "." + d.substr(5, 3) + "/" + d.substr(8, 4) + "-" + d.substr(12, 2);
  }
  return std::string(s);
}

bool CPFOk(std::string_view s) {
  const std::string d = DocumentDigits(s);
  if (d.size() != 11 || AllEqual(d)) return false;
  return CheckDigit(d, {10, 9, 8, 7, 6, 5, 4, 3, 2}) == DigitAt(d, 9) &&
         CheckDigit(d, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}) == DigitAt(d, 10);
}

bool CNPJOk(std::string_view s) {
  const std::string d = DocumentDigits(s);
  if (d.size() != 14 || AllEqual(d)) return false;
  return CheckDigit(d, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) == DigitAt(d, 12) &&
         CheckDigit(d, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) == DigitAt(d, 13);
}

}  // namespace recebimento::runtime
