#include "model/substep.h"

#include <algorithm>

#include "model/habitability.h"
#include "model/simulation.h"

namespace quendal {

namespace {

// a - b, saturating instead of overflowing.
int64_t SatSub(int64_t a, int64_t b) {
    int64_t difference;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? INT64_MAX : INT64_MIN;
    return difference;
}

// Colonists never fall below zero, however large a loss comes out.
double NotBelowZero(Extended men) {
    return men > Extended(0) ? men.ToDouble() : 0.0;
}

// Yearly growth factor: the growth rate scaled by habitability. The 0.0001 is a double.
Extended GrowthFactor(int32_t prc, int32_t growth) {
    return Extended(CountingPrc(prc) * growth) * Extended(0.0001);
}

// Die-off rate in % a year on a planet of habitability 0 or below; 0.1 (a double) at 0.
Extended DieOffRate(int32_t prc) {
    return prc == 0 ? Extended(0.1) : Extended(-int64_t{prc});
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
    allFactoriesWorked = {};
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
        con[i] = (Extended(std::max(0, conPrc[i])) * kHundredth).ToDouble();
        surf[i] = std::max(0, mineral[i]);
    }
}

void SimState::StoreWorkList(LIST_ITEM& workList) const {
    workList.Clear();
    if (hasOrder)
        workList.Append(&order);
}

void SimState::SimulateYearInSubSteps() {
    for (int step = 0; step < kSubStepsPerYear; ++step)
        SubStep();
    EndYear();
}

void SimState::SubStep() {
    TemplateRing& active = ActiveTemplate();
    if (RefillDue(active))
        RefillStep(active);
    FinishSubStep();
}

void SimState::RefillStep(TemplateRing& active) {
    const int32_t posBefore = active.pos;
    const int64_t operable = OperableFactories();
    Refill(active, operable);
    refillBlocked = !hasOrder && active.pos == posBefore && fabr >= 0 && mine >= 0 &&
                    operable <= fabr && OperableMines() <= mine;
    blockedMen = -1; // no colonist count checked yet
}

void SimState::FinishSubStep() {
    if (hasOrder)
        Spend(fabr > 0 ? FactoriesAtWork() : 0); // without factories none are operated
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

// Colonists that operate every factory built still do when they grow (operable counts never
// fall as colonists grow): until the count of factories changes, as many colonists as at the
// last check that found them all operated, or more, need no new check.
int64_t SimState::FactoriesAtWork() {
    if (fabr == allFactoriesWorked.fabr && men >= allFactoriesWorked.men)
        return fabr;
    const int64_t operable = OperableFactories();
    if (operable >= fabr)
        allFactoriesWorked = {men, fabr};
    return std::min(operable, fabr);
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
    const Extended perTenThousand = Extended(men) * kTenThousandth;
    if (perTenThousand * Extended(factoryWork) >= Extended(fabr) + Extended(1) ||
        perTenThousand * Extended(mineWork) >= Extended(mine) + Extended(1))
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
    const bool isPlus = &t == &plus;
    for (int32_t examined = 0; examined < n; ++examined, at = at == n ? 1 : at + 1) {
        const QueueItem& element = t[at - 1];
        const int32_t kind = element.kind;
        if (isPlus && at > plusSeen) {
            plusSeen = at;
            ++plusReads;
        }
        if (kind == MinTerraform && prc <= 0) {
            const TFormChoice choice = FactorToTerraform(*race, cur, tgt);
            advance = false;
            if (choice.distance > 0) {
                order = element;
                if (isPlus)
                    NotePlaced(at, false, 0);
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
            const bool whole = order.count <= limit;
            if (!whole) {
                order.count = static_cast<int32_t>(limit);
                advance = false;
            }
            if (isPlus)
                NotePlaced(at, whole, limit);
            hasOrder = true;
            break;
        }
    }
    if (advance)
        t.pos = t.pos >= n ? 1 : t.pos + 1;
}

void SimState::NotePlaced(int32_t at, bool whole, int64_t part) {
    if (at > kReadElements)
        return;
    const uint32_t bit = uint32_t{1} << (at - 1);
    int32_t& largest = plusPart[at - 1];
    if ((plusPlaced & bit) == 0 || (whole && (plusWhole & bit) == 0) ||
        (!whole && part > largest && (plusWhole & bit) == 0))
        ++plusReads;
    plusPlaced |= bit;
    if (whole)
        plusWhole |= bit;
    else if (part > largest)
        largest = static_cast<int32_t>(part);
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
        dugYearly = Extended(operatedMines) * kFifth * Extended(mineYield);
    }
    const int64_t operated = operatedMines;
    // Without operated mines nothing changes: w * 0.005 gives back the stored concentration
    // exactly, since Con * 200 is exact with a 64-bit significand.
    if (operated == 0)
        return;
    const Extended u(operated);
    const Extended dug = dugYearly;
    const Extended floor(homeworld ? 30 : 1); // w of 15 % on a homeworld, 0.5 % elsewhere
    Extended share = kSubStepShare, loss = kSixtyThousandth, toFraction = kHalfPercent;
    KeepInRegister(share);
    KeepInRegister(loss);
    KeepInRegister(toFraction);
    double lastSurf = 0, lastCon = 0; // the figures of the mineral before, as they were
    for (int i = 0; i < 3; ++i) {
        // A mineral alike in amount and concentration to the one before (on a planet without
        // figures of its own, all three are) changes alike: its new figures are copied.
        if (i > 0 && SameBits(surf[i], lastSurf) && SameBits(con[i], lastCon)) {
            surf[i] = surf[i - 1];
            con[i] = con[i - 1];
            continue;
        }
        lastSurf = surf[i];
        lastCon = con[i];
        surf[i] = (Extended(surf[i]) + dug * Extended(con[i]) * share).ToDouble();
        Extended w = Extended(con[i]) * Extended(200);
        if (w > floor) {
            w = w - share * (u * w * loss);
            if (w <= floor)
                w = floor;
            con[i] = (w * toFraction).ToDouble();
        }
    }
}

// Growth toward capacity, die-off on a hostile planet and over capacity, by a 0.004 share
// of the yearly rate. Paying for terraforming slows the losses tenfold.
void SimState::Population(int64_t whole) {
    // The least yearly change, 100 colonists, as a sub-step's share.
    constexpr Extended kLeastChange = Extended::FromBits(0x3ffd, 0xcccccccccccccccc); // 100 * 0.004
    const Extended hundred(100);
    if (prc <= 0) {
        Extended loss = DieOffRate(prc) * Extended(whole) * kHundredth * kSubStepShare;
        if (terraformed)
            loss = loss * kTenth;
        men = NotBelowZero(Extended(men) - loss);
    } else if (cap > men) {
        if (prc != growthFor.prc || growth != growthFor.growth || cap != growthFor.cap) {
            growthFor = {prc, growth, cap};
            growthFactor = GrowthFactor(prc, growth);
            // cap * 0.25 > whole in Extended, where the product is exact (an integer times a
            // power of two), is whole below a quarter of cap rounded up.
            quarterCapUp = cap / 4 + (cap % 4 > 0);
        }
        const Extended k = growthFactor;
        Extended grown;
        if (whole < quarterCapUp) {
            grown = Extended(TruncToInt64(Extended(whole) * k)) * kSubStepShare;
        } else {
            const Extended v = Extended(SatSub(cap, whole)) * kThird * k;
            grown = v < hundred ? kLeastChange : Extended(TruncToInt64(v)) * kSubStepShare;
        }
        men = NotBelowZero(Extended(men) + grown);
    } else {
        const int64_t d = SatSub(whole, cap);
        Extended loss;
        if (d < 1000000 && cap < (int64_t{1} << 40) && d * d <= 99 * cap) {
            loss = kLeastChange; // (d / cap) * d is below 100 even after rounding
        } else {
            const Extended h = Extended(d) / Extended(cap) * Extended(d);
            loss = Extended(h > hundred ? TruncToInt64(h) : 100) * kSubStepShare;
        }
        if (terraformed)
            loss = loss * kTenth;
        men = NotBelowZero(Extended(men) - loss);
    }
}

void SimState::SimulateYearPopulationOnly() {
    if (prc <= 0) {
        men = NotBelowZero(
            Extended(TruncToInt64(Extended(men) - DieOffRate(prc) * Extended(men) * kHundredth)));
    } else if (men >= cap) {
        const Extended d = Extended(men) - Extended(cap);
        const Extended h = d / Extended(cap) * d;
        men = NotBelowZero(Extended(men - (h > Extended(100) ? TruncToInt64(h) : 100)));
    } else {
        const Extended k = GrowthFactor(prc, growth);
        Extended v;
        if (Extended(cap) * Extended(0.25) > Extended(men)) {
            v = Extended(men) * k;
        } else {
            v = (Extended(cap) - Extended(men)) * kThird * k;
            if (v < Extended(100))
                v = Extended(100);
        }
        men = NotBelowZero(Extended(men + TruncToInt64(v)));
    }
}

} // namespace quendal
