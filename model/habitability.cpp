#include "model/habitability.h"

#include <algorithm>
#include <cmath>

#include "model/extended.h"
#include "model/numbers.h"
#include "model/share_root.h"

namespace quendal {

void RaceParams::DeriveOptimum() {
    for (int i = 0; i < 3; ++i) {
        const int64_t lo = EnvMin(i), hi = EnvMax(i);
        EnvHalfWidth[i] = SaturateInt32((hi - lo) / 2);
        EnvOpt[i] = SaturateInt32((lo + hi) / 2);
    }
}

namespace {

// Ceiling of a / b for b > 0, exact in integers.
int64_t CeilDiv(int64_t a, int64_t b) {
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Quality in % of one sensitive factor: 100 at the centre of the race's range, 0 at a bound,
// negative outside. The ceiling is taken of the exact value, in 64-bit integers so that
// nine-digit bounds cannot overflow.
int64_t FactorQuality(int64_t lo, int64_t hi, int64_t value) {
    const int64_t width = hi - lo;
    const int64_t offCentre = std::abs(lo + hi - 2 * value); // twice the distance from centre
    if (width == 0) // a degenerate range: only its one point is habitable
        return offCentre == 0 ? 100 : kWorstPrc;
    if (width < 0) // reversed bounds: the formula as it stands, but no quality above 100
        return std::min<int64_t>(100, CeilDiv(100 * offCentre - 100 * width, -width));
    return CeilDiv(100 * width - 100 * offCentre, width);
}

// Raises env[i] one point at a time until the habitability reaches prc or the factor reaches
// its optimum. Below the optimum the habitability never falls as the factor rises, so a
// bisection finds the same stopping point without walking a nine-digit range point by point.
void RaiseFactorToward(const RaceParams& race, int32_t env[3], int i, int32_t prc) {
    int64_t low = env[i], high = race.EnvOpt[i]; // habitability at low is below prc
    while (high - low > 1) {
        const int64_t mid = low + (high - low) / 2;
        env[i] = static_cast<int32_t>(mid);
        if (CalcPlanetPrc(race, env) >= prc)
            high = mid;
        else
            low = mid;
    }
    env[i] = static_cast<int32_t>(high);
}

} // namespace

int32_t CalcPlanetPrc(const RaceParams& race, const int32_t env[3]) {
    double v = 1.0;
    int n = 0;
    for (int i = 0; i < 3; ++i) {
        const int64_t q =
            race.EnvMin(i) == kImmune ? 100 : FactorQuality(race.EnvMin(i), race.EnvMax(i), env[i]);
        if (v >= 0 && q >= 0) {
            if (q == 0) {
                v = 0;
            } else {
                v = (Extended(q) * Extended(0.01) * Extended(v)).ToDouble();
                ++n;
            }
        } else {
            v = std::min(v, static_cast<double>(q));
        }
    }
    if (v < 0)
        return static_cast<int32_t>(std::max(v, static_cast<double>(kWorstPrc)));
    const int64_t d = TruncToInt64(Extended(v) * Extended(100));
    if (d == 0 && n == 3)
        return 1;
    return static_cast<int32_t>(std::min<int64_t>(d, 100));
}

void TFormTarget(const CalcModel& model, const int32_t env[3], int32_t target[3]) {
    for (int i = 0; i < 3; ++i) {
        const int64_t opt = model.Race.EnvOpt[i];
        const int64_t value = env[i];
        const int64_t limit = model.Planet.MaxTFormPrc[i];
        if (opt == kImmune)
            target[i] = env[i];
        else if (std::abs(opt - value) <= limit)
            target[i] = static_cast<int32_t>(opt);
        else
            target[i] = SaturateInt32(value + (opt - value >= 0 ? limit : -limit));
    }
}

int32_t CalcTFormPrc(const CalcModel& model, const int32_t env[3]) {
    int32_t target[3];
    TFormTarget(model, env, target);
    return CalcPlanetPrc(model.Race, target);
}

int32_t EnvForPrc(const RaceParams& race, int32_t prc, int32_t env[3]) {
    int m = 0;
    for (int i = 0; i < 3; ++i) {
        if (race.EnvOpt[i] == kImmune) {
            env[i] = kImmune;
        } else {
            env[i] = 0;
            ++m;
        }
    }
    if (m == 0)
        return 100;
    for (int i = 0; i < 3; ++i) {
        if (env[i] != 0)
            continue;
        if (prc > 0) {
            // Each factor gets quality close to 100 * x, so that the product is prc.
            const double share = (Extended(prc) * kHundredth).ToDouble();
            const double x = ShareRoot(share, m); // the same bits on every processor
            env[i] = SaturateInt32(
                TruncToInt64(Extended(race.EnvOpt[i]) -
                             Extended(race.EnvHalfWidth[i]) * (Extended(1) - Extended(x))));
        } else {
            // Below the minimum by |prc| % of the half-width, but never below 1.
            const int64_t product = int64_t{race.EnvHalfWidth[i]} * prc;
            const int64_t value =
                TruncToInt64(Extended(race.EnvMin(i)) + Extended(product) * kHundredth);
            env[i] = value <= 0 ? 1 : SaturateInt32(value);
        }
    }
    // Raise factors one point at a time until the wanted habitability is reached; the result
    // is never above the wanted value.
    for (int i = 0; i < 3; ++i) {
        if (CalcPlanetPrc(race, env) >= prc)
            break;
        if (env[i] != kImmune && env[i] < race.EnvOpt[i])
            RaiseFactorToward(race, env, i, prc);
        const int32_t reached = CalcPlanetPrc(race, env);
        if (reached >= prc) {
            if (reached > prc)
                --env[i];
            prc = CalcPlanetPrc(race, env);
        }
    }
    return prc;
}

void SetEnvForPrc(CalcModel& model) {
    model.Planet.PlanetPrc = EnvForPrc(model.Race, model.Planet.PlanetPrc, model.Planet.PlanetEnv);
}

void TakeStartPrc(CalcModel& model, int32_t prc) {
    if (prc == model.Planet.PlanetPrc)
        return;
    model.Planet.PlanetPrc = prc;
    if (model.RaceLoaded)
        SetEnvForPrc(model);
}

TFormChoice FactorToTerraform(const RaceParams& race, const int32_t cur[3], const int32_t tgt[3]) {
    TFormChoice choice;
    choice.distance = std::abs(int64_t{tgt[0]} - cur[0]);
    for (int i = 1; i < 3; ++i) {
        if (race.EnvMin(i) == kImmune)
            continue;
        const int64_t distance = std::abs(int64_t{tgt[i]} - cur[i]);
        if (distance > choice.distance) {
            choice.index = i;
            choice.distance = distance;
        }
    }
    return choice;
}

int32_t TerraformOrderKind(bool fullTForm, int index) {
    return fullTForm ? TerraformAll : TerraformGravity + index;
}

void TerraformStep(int32_t kind, int32_t cur[3], const int32_t tgt[3]) {
    if (kind == TerraformAll) {
        for (int i = 0; i < 3; ++i)
            if (cur[i] != tgt[i])
                cur[i] += cur[i] < tgt[i] ? 1 : -1;
        return;
    }
    const int i = kind - TerraformGravity;
    if (i < 0 || i > 2)
        return;
    cur[i] += cur[i] < tgt[i] ? 1 : -1;
}

} // namespace quendal
