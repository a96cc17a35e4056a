#pragma once

// The roots of the start habitability's share (model/habitability.cpp, EnvForPrc), computed
// here with IEEE double operations that round correctly everywhere (+ - * / and sqrt, the
// build contracts none of them), so that every processor gives the same bits: the C
// library's pow does not.

namespace quendal {

// The correctly rounded value of x^(1.0 / 3) for finite x > 0. Note 1.0 / 3 is the double
// (2^54 - 1) / (3 * 2^54), a little below a third, and the result is rounded against the
// exact power of that double, not against the cube root. 0 gives 0, +inf gives +inf, a
// negative x or NaN gives NaN.
double PowThird(double x);

// PowThird with the proof of its rounding: margin is the distance, in ulps of the value's
// binade, from the computed power to the nearest midpoint between two doubles. The value is
// the correctly rounded one where margin exceeds kThirdPowerMargin (2^-36, well above the
// computation's error); below it, one of the two doubles beside that midpoint.
struct ThirdPower {
    double value;
    double margin;
};
inline constexpr double kThirdPowerMargin = 0x1p-36;
ThirdPower PowThirdChecked(double x);

// share^(1.0 / m) correctly rounded, for m = 1, 2 or 3 sensitive factors.
double ShareRoot(double share, int m);

} // namespace quendal
