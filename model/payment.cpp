// The payment of the pending order: a sub-step's resources paid unit by unit, and many whole
// factories or mines at once where that gives the same figures.
#include <algorithm>
#include <cmath>

#include "model/habitability.h"
#include "model/substep.h"

namespace quendal {

namespace {

constexpr Extended kExact(0x1p53); // below, every payment is exact

bool IsTerraformOrder(int32_t kind) {
    return kind >= TerraformAll && kind <= TerraformRadiation;
}

// Takes a factory's share of minerals: `share` kT of each (0 or more), no more than a whole
// factory's and no more than the scarcest mineral on the surface; `limited` tells whether
// less than `share` was taken.
QUENDAL_EXTENDED_INLINE Extended TakeFactoryMinerals(double surf[3], Extended share,
                                                     bool& limited) {
    limited = !(share < kFactoryMinerals);
    Extended m = limited ? kFactoryMinerals : share;
    for (int i = 0; i < 3; ++i) {
        // An amount alike to the one before compares alike.
        if (i > 0 && SameBits(surf[i], surf[i - 1]))
            continue;
        if (Extended(surf[i]) < m) {
            m = Extended(surf[i]);
            limited = true;
        }
    }
    double last = 0, lastRest = 0;
    for (int i = 0; i < 3; ++i) {
        // Equal amounts (on a planet without figures of its own, all three) leave equal rests.
        const double before = surf[i];
        surf[i] = i > 0 && SameBits(before, last) ? lastRest : (Extended(before) - m).ToDouble();
        last = before;
        lastRest = surf[i];
    }
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
    // Resources(operable), the factories' part computed again only when their count changes.
    const int64_t working = std::min(operable, fabr);
    if (working != factoryResourcesFor) {
        factoryResourcesFor = working;
        factoryResources = FactoryResources(working);
    }
    double r = ((ColonistResources() + factoryResources) * kSubStepShare).ToDouble();

    QueueItem& o = order;
    const Extended unitCost(o.unitCost);
    // A factory's minerals are paid in proportion to the resources; a factory that costs
    // nothing takes them whole.
    const auto factoryShare = [unitCost](Extended paying) __attribute__((always_inline)) {
        return unitCost > Extended(0) ? kFactoryMinerals * paying / unitCost : kFactoryMinerals;
    };
    while (r > 0 && hasOrder) {
        const Extended need = unitCost - Extended(o.invested);
        if (Extended(r) < need) {
            if (IsTerraformOrder(o.kind)) {
                terraformed = true;
            } else if (o.kind == BuildFactory) {
                bool limited;
                const Extended m = TakeFactoryMinerals(surf, factoryShare(Extended(r)), limited);
                // Minerals taken in proportion, 2r / c (c > 0; a share of 2 or more is
                // limited), give back r: c times them halved is within 2^-63 of r after its
                // two roundings, far inside half a double's ulp.
                if (limited)
                    r = (unitCost * m / kFactoryMinerals).ToDouble();
            }
            o.invested = std::min(Extended(o.invested) + Extended(r), unitCost).ToDouble();
            return;
        }
        if (payInOneGo && o.invested == 0 && Extended(r) >= Extended(2) * need && PayWholeUnits(r))
            continue;
        if (IsTerraformOrder(o.kind)) {
            TerraformStep(o.kind, cur, tgt);
            terraformed = true;
            prcOfCur = false;
        } else if (o.kind == BuildFactory) {
            bool limited;
            const Extended paid = unitCost *
                                  TakeFactoryMinerals(surf, factoryShare(need), limited) /
                                  kFactoryMinerals;
            if (paid < need) {
                // Short of minerals: the unit waits until mining brings more.
                o.invested = (Extended(o.invested) + paid).ToDouble();
                if (Extended(o.invested) < unitCost)
                    return;
            }
            ++fabr;
        } else if (o.kind == BuildMine) {
            ++mine;
        }
        hasOrder = --o.count > 0;
        o.invested = 0;
        r = (Extended(r) - need).ToDouble();
    }
}

// Below 2^53 every step is exact. Above, a step from x in a binade [low, 2 low), with x - c in
// the same binade, subtracts an amount that depends only on the parity of x / ulp (both
// roundings see the same remainder), so two equal steps in a row repeat until x - c leaves the
// binade; they are taken in one go. A step that gives back its input does so for good, as all
// do where c is below a quarter ulp: a few turns in each of the 33 binades at most below that.
double AfterPaying(double x, Extended cost, int64_t k) {
    const auto step = [cost](double v) { return (Extended(v) - cost).ToDouble(); };
    while (k > 0) {
        if (Extended(x) < kExact)
            return (Extended(x) - cost * Extended(k)).ToDouble();
        const double x1 = step(x);
        if (x1 == x || --k == 0)
            return x1;
        const double x2 = step(x1);
        if (x2 == x1 || --k == 0)
            return x2;
        int exponent = 0;
        std::frexp(x, &exponent);
        const Extended low(std::ldexp(1.0, exponent - 1));
        const Extended d = Extended(x) - Extended(x1);
        x = x2;
        // x and x1 are sources within the binade; so is every jumped source down to x2 - s d.
        // With x1 - low >= cost, x2 = x1 - d lies at least cost - d above low: s comes to 0 or
        // more.
        if (d == Extended(x1) - Extended(x2) && Extended(x1) - low >= cost) {
            const Extended fits = (Extended(x2) - low - cost) / d + Extended(1);
            int64_t s = fits >= Extended(k) ? k : TruncToInt64(fits);
            while (s > 0 && Extended(x2) - d * Extended(s - 1) - low < cost) // may round up
                --s;
            k -= s;
            x = (Extended(x2) - d * Extended(s)).ToDouble();
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
        k = std::min(k, Extended(r) < kExact
                            ? TruncToInt64(r) / c
                            : TruncToInt64(Extended(r - static_cast<double>(c)) /
                                           (Extended(c) + Extended(r) * Extended(0x1p-52))));
    bool noMinerals = false; // a factory then takes nothing, which only a cost <= 0 pays
    if (factories) {
        for (const double s : surf) {
            k = std::min(k, TruncToInt64(Extended(s) / kFactoryMinerals));
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
