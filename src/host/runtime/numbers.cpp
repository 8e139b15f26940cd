#include "host/runtime/numbers.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace recebimento::runtime {

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Scales |x| by 10^decimals and moves to the next unit when the fraction reaches
// `threshold` (1 to cut, 0.5 to round). The scaled product carries binary noise of a few
// ulps (0.29 * 100 = 28.999999999999996), so the fraction is compared with a tolerance far
// below a unit (1e-7) but above that noise; dividing the whole units by an exact power of
// ten then yields the double nearest to the decimal result.
double ScaleAndCut(double x, int decimals, double threshold) {
  if (!std::isfinite(x)) return x;
  const double scale = kPowersOfTen[std::clamp(decimals, 0, 15)];
  const double scaled = std::fabs(x) * scale;
  // From 2^52 on a double holds whole numbers only: nothing finer is left to cut.
  if (scaled >= 4503599627370496.0) return x;
  const double tolerance = std::max(1e-7, scaled * 8 * DBL_EPSILON);
  double units = std::floor(scaled);
  if (scaled - units >= threshold - tolerance) units += 1;
  if (units == 0) return 0.0;  // never a negative zero ("-0,00")
  const double result = units / scale;
  return x < 0 ? -result : result;
}

}  // namespace

double RoundDec(double x, int decimals) { return ScaleAndCut(x, decimals, 0.5); }

double TruncDec(double x, int decimals) { return ScaleAndCut(x, decimals, 1.0); }

}  // namespace recebimento::runtime
