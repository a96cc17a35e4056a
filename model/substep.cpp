#include "model/substep.h"

#include <algorithm>
#include <cmath>

#include "model/habitability.h"
#include "model/simulation.h"

namespace quendal {

namespace {

constexpr int kSubSteps = 250; // a year's rates are applied as 0.004 shares
constexpr long double kThird = 1.0L / 3;
constexpr long double kPerConcentrationLoss = 1.0L / 60000;

// a - b, saturating instead of overflowing.
int64_t SatSub(int64_t a, int64_t b) {
    int64_t difference;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? INT64_MAX : INT64_MIN;
    return difference;
}

// Colonists never fall below zero, however large a loss comes out.
double NotBelowZero(long double men) {
    return men > 0 ? static_cast<double>(men) : 0.0;
}

// Habitability as it counts for capacity and growth: 1 to 4 count as 5.
int64_t CountingPrc(int32_t prc) {
    return prc >= 1 && prc <= 4 ? 5 : prc;
}

// Yearly growth factor: the growth rate scaled by habitability. The 0.0001 is a double.
long double GrowthFactor(int32_t prc, int32_t growth) {
    return static_cast<long double>(CountingPrc(prc) * growth) * static_cast<long double>(0.0001);
}

// Die-off rate in % a year on a planet of habitability 0 or below; 0.1 (a double) at 0.
long double DieOffRate(int32_t prc) {
    return prc == 0 ? static_cast<long double>(0.1) : static_cast<long double>(-int64_t{prc});
}

bool IsTerraformOrder(int32_t kind) {
    return kind >= TerraformAll && kind <= TerraformRadiation;
}

// Takes a factory's share of minerals: `share` kT of each, no more than 2 and no more than
// the scarcest mineral on the surface.
long double TakeFactoryMinerals(double surf[3], long double share) {
    long double m = std::min(2.0L, share);
    for (int i = 0; i < 3; ++i)
        m = std::min<long double>(m, surf[i]);
    for (int i = 0; i < 3; ++i) {
        surf[i] = static_cast<double>(surf[i] - m);
        if (surf[i] < 0)
            surf[i] = 0;
    }
    return m;
}

// Hides a constant's value from the compiler, which then keeps it in an x87 register instead
// of loading the 80-bit literal again (four micro-operations) at every use.
void KeepInRegister(long double& value) {
#if defined(__x86_64__) && defined(__GNUC__)
    __asm__("" : "+t"(value));
#else
    (void)value;
#endif
}

} // namespace

int64_t FabrLimit(int64_t fabr, int64_t workable, const double surf[3]) {
    int64_t n = SatSub(workable, fabr);
    if (n <= 0)
        return 0;
    for (int i = 0; i < 3; ++i)
        if (surf[i] * 0.5L < n)
            n = TruncToInt64(surf[i] * 0.5L);
    return n;
}

QueueItem* TemplateRing::Resize(int32_t count) {
    size_ = std::max(count, 0);
    pos = 1;
    if (size_ <= kInline) {
        items_ = inline_;
        return inline_;
    }
    heap_.resize(static_cast<size_t>(size_));
    items_ = heap_.data();
    return heap_.data();
}

void TemplateRing::Load(const LIST_ITEM& list) {
    QueueItem* out = Resize(list.count());
    for (const QueueItem& item : list)
        *out++ = item;
}

void TemplateRing::Load(const QueueItem* items, int32_t count) {
    QueueItem* out = Resize(count);
    std::copy(items, items + size_, out);
}

bool TemplateRing::Holds(int32_t kind) const {
    return std::any_of(items_, items_ + size_,
                       [kind](const QueueItem& e) { return e.kind == kind; });
}

void SimState::LoadMinerals(const PlanetParams& planet) {
    LoadMinerals(planet.PlanetConPrc, planet.PlanetMineral);
}

void SimState::LoadMinerals(const int32_t conPrc[3], const int32_t mineral[3]) {
    // A concentration or an amount typed below zero counts as none.
    for (int i = 0; i < 3; ++i) {
        con[i] = static_cast<double>(std::max(0, conPrc[i]) * 0.01L);
        surf[i] = std::max(0, mineral[i]);
    }
}

void SimState::StoreWorkList(LIST_ITEM& workList) const {
    workList.Clear();
    if (hasOrder)
        workList.Append(&order);
}

int64_t SimState::OperableFactories() const {
    return Operated(men, race->NFactoryWork10000);
}

int64_t SimState::OperableMines() const {
    return Operated(men, race->NMineWork10000);
}

int64_t SimState::YearlyResources() const {
    const int64_t workable = std::min(OperableFactories(), fabr);
    const long double fromColonists =
        race->NColonistYTo1Resource > 0
            ? men / static_cast<long double>(race->NColonistYTo1Resource)
            : 0.0L;
    return TruncToInt64(fromColonists +
                        static_cast<long double>(FactoryYield(*race)) * workable * 0.1L);
}

void SimState::SimulateYearInSubSteps() {
    for (int step = 0; step < kSubSteps; ++step)
        SubStep();
    men = static_cast<double>(TruncToInt64(men));
}

void SimState::SubStep() {
    TemplateRing& active = prc > 0 ? plus : minus;
    if (!hasOrder && active.size() > 0 && !StillBlocked()) {
        const int32_t posBefore = active.pos;
        const int64_t operable = OperableFactories();
        Refill(active, operable);
        refillBlocked = !hasOrder && active.pos == posBefore && fabr >= 0 && mine >= 0 &&
                        operable <= fabr && OperableMines() <= mine;
        blockedMen = -1; // no colonist count checked yet
    }
    if (hasOrder)
        Spend(OperableFactories());
    else
        terraformed = false;
    const int64_t whole = TruncToInt64(men);
    Mine(whole);
    Population(whole);
    // A paid step changes the factors; a part payment leaves them, so the habitability
    // computed from them last time still holds.
    if (terraformed && !prcOfCur) {
        prc = CalcPlanetPrc(*race, cur);
        cap = CapacityFor(prc);
        prcOfCur = true;
    }
}

// A refill that placed nothing, kept the cursor and was held back only by factories and mines
// built for every operator gives the same result while that holds: nothing else it reads can
// change without an order. For counts of 0 or more, truncate(x) <= n is x < n + 1. With
// operator rates of 0 or more the operable counts never fall as colonists grow, so fewer
// colonists than at a check that held need no new check.
bool SimState::StillBlocked() {
    if (!refillBlocked)
        return false;
    if (men <= blockedMen)
        return true;
    const long double perTenThousand = men * 0.0001L;
    if (perTenThousand * race->NFactoryWork10000 < fabr + 1.0L &&
        perTenThousand * race->NMineWork10000 < mine + 1.0L) {
        if (race->NFactoryWork10000 >= 0 && race->NMineWork10000 >= 0)
            blockedMen = men;
        return true;
    }
    return false;
}

// Places at most one order from the template. The template's cursor moves past an element
// only when the element was placed whole; elements with nothing to do are skipped for good
// when they stand at the cursor.
void SimState::Refill(TemplateRing& t, int64_t operable) {
    const int32_t n = t.size();
    bool advance = true;
    int32_t at = t.pos; // the element under examination, 1-based
    for (int32_t examined = 0; examined < n; ++examined, at = at == n ? 1 : at + 1) {
        const QueueItem& element = t[at - 1];
        const int32_t kind = element.kind;
        if (kind == MinTerraform && prc <= 0) {
            const TFormChoice choice = FactorToTerraform(*race, cur, tgt);
            advance = false;
            if (choice.distance > 0) {
                order = element;
                order.kind = TerraformOrderKind(race->FullTForm, choice.index);
                order.count = 1;
                hasOrder = true;
                break;
            }
        } else if (kind == MinTerraform || (kind == MaxTerraform && prc >= maxHab)) {
            if (t.pos == at)
                t.pos = at == n ? 1 : at + 1;
        } else if (kind == MaxTerraform || kind == Factories || kind == Mines) {
            int64_t limit;
            int32_t orderKind;
            if (kind == MaxTerraform) {
                const TFormChoice choice = FactorToTerraform(*race, cur, tgt);
                limit = choice.distance;
                orderKind = TerraformOrderKind(race->FullTForm, choice.index);
            } else if (kind == Factories) {
                limit = FabrLimit(fabr, operable, surf);
                orderKind = BuildFactory;
            } else {
                limit = SatSub(OperableMines(), mine);
                orderKind = BuildMine;
            }
            if (limit <= 0) {
                advance = false;
                continue;
            }
            order = element;
            order.kind = orderKind;
            if (order.count > limit) {
                order.count = static_cast<int32_t>(limit);
                advance = false;
            }
            hasOrder = true;
            break;
        }
    }
    if (advance)
        t.pos = t.pos >= n ? 1 : t.pos + 1;
}

// Pays the sub-step's resources into the pending order. Leftovers after the order is
// finished are lost.
void SimState::Spend(int64_t operable) {
    terraformed = false;
    if (!hasOrder)
        return;
    const RaceParams& rc = *race;
    const int64_t workable = std::min(operable, fabr);
    const long double fromColonists = rc.NColonistYTo1Resource > 0
                                          ? men / static_cast<long double>(rc.NColonistYTo1Resource)
                                          : 0.0L;
    double r = static_cast<double>(
        (fromColonists + static_cast<long double>(FactoryYield(rc)) * workable * 0.1L) * 0.004L);

    QueueItem& o = order;
    const long double unitCost = o.unitCost;
    while (r > 0 && hasOrder) {
        if (PayWholeUnits(r) && !hasOrder)
            return;
        const long double need = unitCost - o.invested;
        // A factory's minerals are paid in proportion to the resources; a factory that costs
        // nothing takes its full 2 kT.
        const auto factoryShare = [&](long double paying) {
            return unitCost > 0 ? 2 * paying / unitCost : 2.0L;
        };
        if (r < need) {
            if (IsTerraformOrder(o.kind)) {
                terraformed = true;
            } else if (o.kind == BuildFactory) {
                const long double m = TakeFactoryMinerals(surf, factoryShare(r));
                r = static_cast<double>(unitCost * m * 0.5L);
            }
            o.invested =
                static_cast<double>(std::min(o.invested + static_cast<long double>(r), unitCost));
            return;
        }
        if (IsTerraformOrder(o.kind)) {
            TerraformStep(o.kind, cur, tgt);
            terraformed = true;
            prcOfCur = false;
        } else if (o.kind == BuildFactory) {
            const long double m = TakeFactoryMinerals(surf, factoryShare(need));
            const long double paid = unitCost * m * 0.5L;
            if (paid >= need) {
                ++fabr;
            } else {
                // Short of minerals: the unit waits until mining brings more.
                o.invested = static_cast<double>(o.invested + paid);
                if (o.invested < unitCost)
                    return;
                ++fabr;
            }
        } else if (o.kind == BuildMine) {
            ++mine;
        }
        o.count -= 1;
        o.invested = 0;
        if (o.count <= 0)
            hasOrder = false;
        r = static_cast<double>(r - need);
    }
}

namespace {

constexpr long double kExact = 9007199254740992.0L; // 2^53

} // namespace

// x after k steps x = double(x - c), each rounded as a unit-by-unit payment rounds it; the
// caller makes sure no step goes below zero. Below 2^53 every step is exact. Above, a step
// from x in a binade [low, 2 low), with x - c in the same binade, subtracts an amount that
// depends only on the parity of x / ulp (both roundings see the same remainder), so two
// equal steps in a row repeat until x - c leaves the binade; they are taken in one go. A step
// that gives back its input does so for good, as all do where c is below a quarter ulp: a few
// turns in each of the 33 binades at most below that.
double AfterPaying(double x, int64_t c, int64_t k) {
    const long double cost = static_cast<long double>(c);
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
            int64_t s = fits >= k ? k : static_cast<int64_t>(fits);
            while (s > 0 && x2 - d * (s - 1) - low < cost) // the division may round up
                --s;
            k -= s;
            x = static_cast<double>(x2 - d * s);
        }
    }
    return x;
}

// Pays in one go the whole factories or mines that the unit-by-unit payment would finish
// with the same steps, so that a sub-step's cost does not grow with the count: millions of
// colonists and factories pay for millions of cheap units a sub-step. The resources left and
// the surface minerals are those of the unit-by-unit payment to the bit (AfterPaying). With
// c <= 0 a unit is always paid in full and r is not read again. Units of a started unit are
// left to the unit-by-unit payment. Returns whether units were paid.
bool SimState::PayWholeUnits(double& r) {
    QueueItem& o = order;
    const bool factories = o.kind == BuildFactory;
    if ((!factories && o.kind != BuildMine) || o.invested != 0 || o.count <= 0)
        return false;
    const int64_t c = o.unitCost;
    int64_t k = o.count;
    if (c > 0) {
        if (r < kExact) {
            k = std::min<int64_t>(k, static_cast<int64_t>(r) / c);
        } else {
            // A unit takes c and a rounding of at most half an ulp, below r * 2^-52: r stays
            // at c or more for this many units.
            const long double units = (r - c) / (c + r * 0x1p-52L);
            if (units < k)
                k = static_cast<int64_t>(units);
        }
    }
    bool noMinerals = false; // a factory then takes nothing, which only a cost <= 0 pays
    if (factories) {
        for (const double s : surf) {
            if (s * 0.5L < k)
                k = static_cast<int64_t>(s * 0.5L);
            noMinerals = noMinerals || s <= 0;
        }
        if (noMinerals && c <= 0)
            k = o.count;
    }
    if (k <= 0)
        return false;
    if (factories) {
        fabr += k;
        if (!noMinerals)
            for (double& s : surf)
                s = AfterPaying(s, 2, k);
    } else {
        mine += k;
    }
    if (c > 0)
        r = AfterPaying(r, c, k);
    o.count -= static_cast<int32_t>(k);
    if (o.count <= 0)
        hasOrder = false;
    return true;
}

// Operated mines dig each mineral and lower its concentration by u / 60000 of itself a
// year, down to a floor of 15 % on a homeworld and 0.5 % elsewhere.
void SimState::Mine(int64_t whole) {
    const RaceParams& rc = *race;
    // Colonists change by a fraction a sub-step, so the operated mines rarely change.
    if (whole != operatedFor.whole || mine != operatedFor.mine) {
        operatedFor = {whole, mine};
        operatedMines = std::min(mine, Operated(whole, rc.NMineWork10000));
    }
    const int64_t operated = operatedMines;
    // Without operated mines nothing changes: w * 0.005 gives back the stored concentration
    // exactly, since Con * 200 is exact with a 64-bit significand.
    if (operated == 0)
        return;
    const long double u = static_cast<long double>(operated);
    const long double dug = u * 0.2L * MineYield(rc);
    static constexpr double kFloor[2] = {1, 30}; // w of 0.5 % and, on a homeworld, 15 %
    const long double floor = kFloor[homeworld ? 1 : 0];
    long double share = 0.004L, loss = kPerConcentrationLoss, toFraction = 0.005L;
    KeepInRegister(share);
    KeepInRegister(loss);
    KeepInRegister(toFraction);
    for (int i = 0; i < 3; ++i) {
        surf[i] = static_cast<double>(surf[i] + dug * con[i] * share);
        long double w = con[i] * 200.0L;
        if (w > floor) {
            w = w - share * (u * w * loss);
            if (w <= floor)
                w = floor;
            con[i] = static_cast<double>(w * toFraction);
        }
    }
}

// Growth toward capacity, die-off on a hostile planet and over capacity, by a 0.004 share
// of the yearly rate. Paying for terraforming slows the losses tenfold.
void SimState::Population(int64_t whole) {
    // The least yearly change, 100 colonists, as a sub-step's share.
    constexpr long double kLeastChange = 100 * 0.004L;
    if (prc <= 0) {
        long double loss = DieOffRate(prc) * whole * 0.01L * 0.004L;
        if (terraformed)
            loss = loss * 0.1L;
        men = NotBelowZero(men - loss);
    } else if (cap > men) {
        const long double k = GrowthFactor(prc, growth);
        long double grown;
        if (cap * 0.25L > whole) {
            grown = TruncToInt64(whole * k) * 0.004L;
        } else {
            const long double v = SatSub(cap, whole) * kThird * k;
            grown = v < 100 ? kLeastChange : TruncToInt64(v) * 0.004L;
        }
        men = NotBelowZero(men + grown);
    } else {
        const int64_t d = SatSub(whole, cap);
        long double loss;
        if (d < 1000000 && cap < (int64_t{1} << 40) && d * d <= 99 * cap) {
            loss = kLeastChange; // (d / cap) * d is below 100 even after rounding
        } else {
            const long double h = static_cast<long double>(d) / cap * d;
            loss = (h > 100 ? TruncToInt64(h) : 100) * 0.004L;
        }
        if (terraformed)
            loss = loss * 0.1L;
        men = NotBelowZero(men - loss);
    }
}

void SimState::SimulateYearPopulationOnly() {
    if (prc <= 0) {
        men = NotBelowZero(TruncToInt64(men - DieOffRate(prc) * men * 0.01L));
    } else if (men >= cap) {
        const long double d = men - static_cast<long double>(cap);
        const long double h = d / cap * d;
        men = NotBelowZero(men - (h > 100 ? TruncToInt64(h) : 100));
    } else {
        const long double k = GrowthFactor(prc, growth);
        long double v;
        if (cap * 0.25L > men) {
            v = men * k;
        } else {
            v = (cap - static_cast<long double>(men)) * kThird * k;
            if (v < 100)
                v = 100;
        }
        men = NotBelowZero(men + TruncToInt64(v));
    }
}

} // namespace quendal
