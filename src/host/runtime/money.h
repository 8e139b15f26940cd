#pragma once
// Amounts in whole cents. Amounts travel as doubles; sums and comparisons that must not
// drift by a binary leftover go through these.
#include <cmath>
#include <cstdint>

#include "host/runtime/numbers.h"

namespace recebimento::runtime {

// The amount in whole cents, rounded half away from zero.
inline int64_t ToCents(double amount) { return std::llround(amount * 100.0); }
inline double FromCents(int64_t cents) { return static_cast<double>(cents) / 100.0; }

// The amount rounded to the cent: sums of amounts already cut to cents stay on cents.
inline double RoundCents(double amount) { return RoundDec(amount, 2); }

// The two amounts are the same number of cents.
inline bool SameCents(double a, double b) { return ToCents(a) == ToCents(b); }

// What was paid covers what is due; a shortfall under one cent is rounding, not debt.
inline bool FullyPaid(double paid, double due) { return paid > due || std::fabs(Trunc2(paid - due)) < 0.01; }

}  // namespace recebimento::runtime
