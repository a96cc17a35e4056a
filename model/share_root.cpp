#include "model/share_root.h"

#include <cmath>
#include <limits>

namespace quendal {

namespace {

// A double-length value hi + lo, |lo| at most half an ulp of hi.
struct Wide {
    double hi;
    double lo;
};

// a * b exactly as hi + lo without a fused multiply-add: each factor split into two halves
// of 26 bits, whose products are exact.
Wide ExactProduct(double a, double b) {
    constexpr double kSplit = 134217729.0; // 2^27 + 1
    const double ca = kSplit * a, cb = kSplit * b;
    const double ah = ca - (ca - a), al = a - ah;
    const double bh = cb - (cb - b), bl = b - bh;
    const double hi = a * b;
    const double lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
    return {hi, lo};
}

// ln(f * 2^q) for f in [0.5, 1), within 2^-50 * (|result| + 1): 2 atanh((f - 1) / (f + 1))
// with |(f - 1) / (f + 1)| <= 0.1716 after taking f into [sqrt(1/2), sqrt(2)), where 12 terms
// of the series leave less than 2^-60.
double Log(double f, int q) {
    constexpr double kLn2 = 0x1.62e42fefa39efp-1;
    if (f < 0x1.6a09e667f3bcdp-1) {
        f *= 2;
        --q;
    }
    const double z = (f - 1) / (f + 1), z2 = z * z;
    double sum = 0;
    for (int k = 23; k >= 1; k -= 2)
        sum = sum * z2 + 1.0 / k;
    return 2 * z * sum + q * kLn2;
}

} // namespace

// With e = 1.0 / 3 = 1/3 - 1/(3 * 2^54): x^e = cbrt(x) * exp(-c), c = ln(x) / (3 * 2^54).
// For x = g * 2^(3k), g in [0.5, 4), cbrt(x) = 2^k cbrt(g); all below is relative to y, a
// double within a few ulps of cbrt(g) by Newton's iteration in double. Error bounds:
// - one Newton step in double-length arithmetic: the residual g - y^3 with y * y and its high
//   part times y exact, the low part times y within 2^-106 * g, and the two subtractions
//   after the exact g - hi within 2^-102 * g each; d = residual / (3 y^2) then within
//   2^-100 * y of the step, which leaves (cbrt(g) - y)^2 / y, below 2^-100 * y. So
//   cbrt(g) = y + d within 2^-98 * y.
// - exp(-c) = 1 - c + c^2 / 2 within |c|^3 / 6 < 2^-137, as |c| <= 745 / (3 * 2^54) < 2^-46;
//   ln(x) within 2^-50 * (|ln x| + 1) puts c within 2^-95.
// - t = d - y * c + y * c^2 / 2 rounds at three operations, |t| <= 2^-45 * y: within 2^-96 *
//   y; d * c, left out, is below 2^-96 * y.
// In all the exact power is 2^k (y + t) within 2^-93 * y, that is 2^-40 of an ulp of the
// rounded sum z (at least 2^-53 * y). The distance from y + t to the nearest midpoint between
// z and a neighbour is computed within 2^-100 * y, so a distance above 2^-36 of an ulp proves
// that z is the correctly rounded power; PowThirdChecked reports it. Among the start shares of
// every prc from 1 to 2^31 - 1 the nearest power lies 1.1e-10 of an ulp from a midpoint (prc
// 535846294), above the bound's 1.5e-11.
ThirdPower PowThirdChecked(double x) {
    if (!(x > 0))
        return {x == 0 ? 0.0 : std::numeric_limits<double>::quiet_NaN(), 1};
    if (x == std::numeric_limits<double>::infinity())
        return {x, 1};
    int q;
    double f = std::frexp(x, &q); // x = f * 2^q, f in [0.5, 1), exact also for subnormals
    const double lnX = Log(f, q);
    int r = q % 3;
    if (r < 0)
        r += 3;
    const double g = std::ldexp(f, r); // in [0.5, 4)
    const int k = (q - r) / 3;

    double y = 1;
    for (int i = 0; i < 8; ++i) // from 1, quadratic: within an ulp or two after 6 steps
        y -= (y * y * y - g) / (3 * y * y);
    const Wide y2 = ExactProduct(y, y);
    const Wide y3 = ExactProduct(y2.hi, y);
    const double residual = ((g - y3.hi) - y3.lo) - y2.lo * y;
    const double d = residual / (3 * y2.hi);
    const double c = lnX * 0x1p-54 / 3;
    const double t = (d - y * c) + y * (c * c / 2);

    const double z = y + t;
    int ez;
    const bool powerOfTwo = std::frexp(z, &ez) == 0.5;
    const double err = (y - z) + t; // y + t - z, the rounding of the sum: y - z is exact
    // Half the gap to the neighbour on err's side: an ulp of z, or half of one below a power
    // of two.
    const double halfGap = std::ldexp(1.0, ez - (powerOfTwo && err < 0 ? 55 : 54));
    const double margin = halfGap - std::fabs(err);
    return {std::ldexp(z, k), std::ldexp(margin, 53 - ez)};
}

double PowThird(double x) {
    return PowThirdChecked(x).value;
}

double ShareRoot(double share, int m) {
    if (m == 2)
        return std::sqrt(share);
    if (m == 3)
        return PowThird(share);
    return share;
}

} // namespace quendal
