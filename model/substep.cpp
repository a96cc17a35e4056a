#include "model/substep.h"

#include <algorithm>

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
        if (surf[i] / kFactoryMinerals < n)
            n = TruncToInt64(surf[i] / kFactoryMinerals);
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

void SimState::SetRace(const RaceParams& r) {
    race = &r;
    factoryWork = std::max(0, r.NFactoryWork10000);
    mineWork = std::max(0, r.NMineWork10000);
    factoryYield = std::max(0, r.NResourceYFrom10Factory);
    mineYield = std::max(0, r.NMineralYFrom10Mine);
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
        Spend(fabr > 0 ? OperableFactories() : 0); // without factories none are operated
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
// change without an order. For counts of 0 or more, truncate(x) <= n is x < n + 1. Operable
// counts never fall as colonists grow, so fewer colonists than at a check that held need no
// new check.
bool SimState::StillBlocked() {
    if (!refillBlocked)
        return false;
    if (men <= blockedMen)
        return true;
    const long double perTenThousand = men * 0.0001L;
    if (perTenThousand * factoryWork >= fabr + 1.0L || perTenThousand * mineWork >= mine + 1.0L)
        return false;
    blockedMen = men;
    return true;
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

// Operated mines dig each mineral and lower its concentration by u / 60000 of itself a
// year, down to a floor of 15 % on a homeworld and 0.5 % elsewhere.
void SimState::Mine(int64_t whole) {
    if (mine == 0)
        return;
    // Colonists change by a fraction a sub-step, so the operated mines rarely change; once all
    // are operated, more colonists operate them all still.
    if (mine != operatedFor.mine ||
        (whole != operatedFor.whole && (operatedMines < mine || whole < operatedFor.whole))) {
        operatedFor = {whole, mine};
        operatedMines = std::min(mine, Operated(whole, mineWork));
    }
    const int64_t operated = operatedMines;
    // Without operated mines nothing changes: w * 0.005 gives back the stored concentration
    // exactly, since Con * 200 is exact with a 64-bit significand.
    if (operated == 0)
        return;
    const long double u = static_cast<long double>(operated);
    const long double dug = u * 0.2L * mineYield;
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
