// The payment of the pending order: a sub-step's resources paid unit by unit, and many whole
// factories or mines at once where that gives the same figures.
#include <algorithm>
#include <cmath>

#include "model/habitability.h"
#include "model/substep.h"

namespace quendal {

namespace {

constexpr long double kExact = 0x1p53L; // below, every payment is exact

bool IsTerraformOrder(int32_t kind) {
    return kind >= TerraformAll && kind <= TerraformRadiation;
}

// Takes a factory's share of minerals: `share` kT of each (0 or more), no more than a whole
// factory's and no more than the scarcest mineral on the surface.
long double TakeFactoryMinerals(double surf[3], long double share) {
    long double m = std::min(kFactoryMinerals, share);
    for (int i = 0; i < 3; ++i)
        m = std::min<long double>(m, surf[i]);
    for (int i = 0; i < 3; ++i)
        surf[i] = static_cast<double>(surf[i] - m);
    return m;
}

} // namespace

// Pays the sub-step's resources into the pending order, unit by unit; whole factories and
// mines many at once (payInOneGo), which leaves the same figures. Leftovers after the order is
// finished are lost.
void SimState::Spend(int64_t operable) {
    terraformed = false;
    if (!hasOrder)
        return;
    double r = static_cast<double>(Resources(operable) * 0.004L);

    QueueItem& o = order;
    const long double unitCost = o.unitCost;
    // A factory's minerals are paid in proportion to the resources; a factory that costs
    // nothing takes them whole.
    const auto factoryShare = [unitCost](long double paying) {
        return unitCost > 0 ? kFactoryMinerals * paying / unitCost : kFactoryMinerals;
    };
    while (r > 0 && hasOrder) {
        const long double need = unitCost - o.invested;
        if (r < need) {
            if (IsTerraformOrder(o.kind)) {
                terraformed = true;
            } else if (o.kind == BuildFactory) {
                const long double m = TakeFactoryMinerals(surf, factoryShare(r));
                r = static_cast<double>(unitCost * m / kFactoryMinerals);
            }
            o.invested =
                static_cast<double>(std::min(o.invested + static_cast<long double>(r), unitCost));
            return;
        }
        if (payInOneGo && o.invested == 0 && r >= 2 * need && PayWholeUnits(r))
            continue;
        if (IsTerraformOrder(o.kind)) {
            TerraformStep(o.kind, cur, tgt);
            terraformed = true;
            prcOfCur = false;
        } else if (o.kind == BuildFactory) {
            const long double paid =
                unitCost * TakeFactoryMinerals(surf, factoryShare(need)) / kFactoryMinerals;
            if (paid < need) {
                // Short of minerals: the unit waits until mining brings more.
                o.invested = static_cast<double>(o.invested + paid);
                if (o.invested < unitCost)
                    return;
            }
            ++fabr;
        } else if (o.kind == BuildMine) {
            ++mine;
        }
        hasOrder = --o.count > 0;
        o.invested = 0;
        r = static_cast<double>(r - need);
    }
}

// Below 2^53 every step is exact. Above, a step from x in a binade [low, 2 low), with x - c in
// the same binade, subtracts an amount that depends only on the parity of x / ulp (both
// roundings see the same remainder), so two equal steps in a row repeat until x - c leaves the
// binade; they are taken in one go. A step that gives back its input does so for good, as all
// do where c is below a quarter ulp: a few turns in each of the 33 binades at most below that.
double AfterPaying(double x, long double cost, int64_t k) {
    const auto step = [cost](double v) { return static_cast<double>(v - cost); };
    while (k > 0) {
        if (x < kExact)
            return static_cast<double>(x - cost * k);
        const double x1 = step(x);
        if (x1 == x || --k == 0)
            return x1;
        const double x2 = step(x1);
        if (x2 == x1 || --k == 0)
            return x2;
        int exponent = 0;
        std::frexp(x, &exponent);
        const long double low = std::ldexp(1.0L, exponent - 1);
        const long double d = static_cast<long double>(x) - x1;
        x = x2;
        // x and x1 are sources within the binade; so is every jumped source down to x2 - s d.
        if (d == static_cast<long double>(x1) - x2 && x1 - low >= cost && x2 - low >= cost) {
            const long double fits = (x2 - low - cost) / d + 1;
            int64_t s = fits >= k ? k : TruncToInt64(fits);
            while (s > 0 && x2 - d * (s - 1) - low < cost) // the division may round up
                --s;
            k -= s;
            x = static_cast<double>(x2 - d * s);
        }
    }
    return x;
}

// Pays in one go the whole factories or mines that the unit-by-unit payment would finish with
// the same steps, so that a sub-step's cost does not grow with the count. The resources left
// and the surface minerals are those of the unit-by-unit payment to the bit (AfterPaying). With
// c <= 0 a unit is always paid in full and r is not read again. No unit may be started.
// Returns whether units were paid.
bool SimState::PayWholeUnits(double& r) {
    QueueItem& o = order;
    const bool factories = o.kind == BuildFactory;
    if (!factories && o.kind != BuildMine)
        return false;
    const int64_t c = o.unitCost;
    int64_t k = o.count;
    // Above 2^53 a unit takes c and a rounding of at most half an ulp, below r * 2^-52: r stays
    // at c or more for this many units.
    if (c > 0)
        k = std::min(k,
                     r < kExact ? TruncToInt64(r) / c : TruncToInt64((r - c) / (c + r * 0x1p-52L)));
    bool noMinerals = false; // a factory then takes nothing, which only a cost <= 0 pays
    if (factories) {
        for (const double s : surf) {
            k = std::min(k, TruncToInt64(s / kFactoryMinerals));
            noMinerals = noMinerals || s <= 0;
        }
        if (noMinerals && c <= 0)
            k = o.count;
    }
    if (k <= 0)
        return false;
    (factories ? fabr : mine) += k;
    if (factories && !noMinerals)
        for (double& s : surf)
            s = AfterPaying(s, kFactoryMinerals, k);
    if (c > 0)
        r = AfterPaying(r, c, k);
    o.count -= static_cast<int32_t>(k);
    hasOrder = o.count > 0;
    return true;
}

} // namespace quendal
