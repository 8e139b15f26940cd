#pragma once
// Rounding and cutting of amounts. Amounts are doubles; these work on the decimal value
// the double stands for (0.29 is twenty-nine cents, not 0.28999999999999998), so no cent
// is ever lost to binary representation.
namespace recebimento::runtime {

// `x` rounded to `decimals` places, halves away from zero: RoundDec(2.675, 2) = 2.68,
// RoundDec(-1.005, 2) = -1.01. Decimals are clamped to 0..15. Infinities and NaN are
// returned unchanged.
double RoundDec(double x, int decimals);

// `x` cut (towards zero) to `decimals` places: TruncDec(12.349, 2) = 12.34.
double TruncDec(double x, int decimals);

inline double Trunc2(double x) { return TruncDec(x, 2); }
inline double Trunc3(double x) { return TruncDec(x, 3); }

}  // namespace recebimento::runtime
