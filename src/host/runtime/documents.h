#pragma once
// Brazilian personal (CPF) and company (CNPJ) registration numbers.
#include <string>
#include <string_view>

namespace recebimento::runtime {

// The document with its punctuation: 11 digits -> "123.456.789-09", 14 digits ->
// "12.345.678/0001-95". Digits already punctuated are accepted; anything else (another
// length, letters) is returned unchanged.
std::string PictPess(std::string_view s);

// True when `s` holds a CPF whose check digits are right. Punctuation (". - / " and
// spaces) is accepted; eleven equal digits are not a CPF.
bool CPFOk(std::string_view s);
// The same for a CNPJ (14 digits).
bool CNPJOk(std::string_view s);

// The digits of a document written with punctuation; empty when any other character
// (a letter, a symbol) is present.
std::string DocumentDigits(std::string_view s);

}  // namespace recebimento::runtime
