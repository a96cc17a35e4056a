#pragma once

// The state of one growth simulation run and its yearly steps, shared by the displayed
// calculation and the headless run. Private to the simulation.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "lists/queue_item.h"
#include "model/calc_model.h"
#include "model/extended.h"
#include "model/numbers.h"

namespace quendal {

struct GenSimInputs;
struct GenSimResults;

// Habitability as it counts for capacity and growth: 1 to 4 count as 5.
inline int64_t CountingPrc(int64_t prc) {
    return prc >= 1 && prc <= 4 ? 5 : prc;
}

// Capacity in colonists of a planet with habitability p: 10000 per counting point.
inline int64_t CapacityFor(int64_t p) {
    return 10000 * CountingPrc(p);
}

inline constexpr int kSubStepsPerYear = 250; // a year's rates are applied as 0.004 shares

// Equal to the bit, which makes two figures give equal results in every formula.
inline bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// kT of each mineral that a factory takes.
inline constexpr Extended kFactoryMinerals = Extended::FromBits(0x4000, 0x8000000000000000);

// Factories or mines that `men` colonists operate at `per10000` (0 or more) per 10000.
QUENDAL_EXTENDED_INLINE int64_t Operated(Extended men, int32_t per10000) {
    return TruncToInt64(men * kTenThousandth * Extended(per10000));
}

// x after k steps x = double(x - cost) (Extended arithmetic), the payment of k units one at
// a time, in a time that does not grow with k; no step may go below zero.
double AfterPaying(double x, Extended cost, int64_t k);

// A read-only copy of a queue template with the simulation's 1-based cursor. Templates do
// not change during a run, so the sub-steps read an array instead of walking the list.
class TemplateRing {
public:
    TemplateRing() = default;
    TemplateRing(const TemplateRing&) = delete;
    TemplateRing& operator=(const TemplateRing&) = delete;

    void Load(const LIST_ITEM& list);
    void Load(const QueueItem* items, int32_t count);
    int32_t size() const { return size_; }
    const QueueItem& operator[](int32_t index) const { return items_[index]; }
    bool Holds(int32_t kind) const;

    int32_t pos = 1; // next element to take, 1-based

private:
    // Makes room for `count` elements and puts the cursor on the first.
    QueueItem* Resize(int32_t count);

    static constexpr int32_t kInline = 32;
    QueueItem inline_[kInline];
    std::vector<QueueItem> heap_; // used only for templates longer than kInline
    const QueueItem* items_ = inline_;
    int32_t size_ = 0;
};

// Everything one run reads and changes but its templates. Floating-point state is kept as
// double; every formula over it is evaluated in Extended and rounded only when stored. A copy
// taken between sub-steps, with the templates' cursors, lets another run take up from there.
struct SimProgress {
    // Inputs fixed for the run.
    const RaceParams* race = nullptr; // with its economy below as the sub-steps read it (SetRace)
    int32_t factoryWork = 0, mineWork = 0, factoryYield = 0, mineYield = 0; // none below zero
    bool payInOneGo = true; // off: every unit is paid one at a time (same figures, slower)
    bool homeworld = false;
    int32_t growth = 0;  // % a year
    int32_t maxHab = 0;  // habitability after all available terraforming
    int32_t tgt[3] = {}; // terraforming targets

    // Changing state.
    double men = 0;
    int32_t prc = 0;
    int64_t cap = 0;
    int64_t fabr = 0, mine = 0;
    int32_t cur[3] = {};
    double con[3] = {};  // concentrations, 1.0 = 100 %
    double surf[3] = {}; // kT on the surface

    QueueItem order{}; // the work list holds at most this one order
    bool hasOrder = false;
    bool terraformed = false;   // terraforming was paid for in this sub-step
    bool prcOfCur = false;      // prc is the habitability of cur (no step since it was computed)
    bool refillBlocked = false; // the last refill placed nothing for want of operators alone
    double blockedMen = -1;     // colonists at which the blocked refill was last confirmed
    struct {
        int64_t whole = INT64_MIN, mine = 0;
    } operatedFor; // colonists and mines of which operatedMines was computed
    int64_t operatedMines = 0;
    struct {
        double men = 0;
        int64_t fabr = -1;
    } allFactoriesWorked; // colonists at which all of fabr factories were last found operated
    Extended dugYearly;   // kT of each mineral a year per unit of concentration, from operatedMines
    // Figures that change only with the habitability, the capacity or the factories at work,
    // and the inputs they were computed from.
    struct {
        int32_t prc = INT32_MIN, growth = 0;
        int64_t cap = 0;
    } growthFor;
    Extended growthFactor;                   // GrowthFactor(prc, growth)
    int64_t quarterCapUp = 0;                // cap / 4 rounded up
    int64_t factoryResourcesFor = INT64_MIN; // factories at work
    Extended factoryResources;               // FactoryResources(factoryResourcesFor)
    // What the refills have read of the plus template (SharedRuns, model/shared_runs.h): the
    // kinds of elements 1 to plusSeen and, of the first kReadElements, the elements placed as
    // orders (bit i - 1 of plusPlaced for element i) and of those, the ones read whole
    // (plusWhole) and the ones whose count was only found above a part placed, the largest in
    // plusPart. A run reads nothing else of it but its size. plusReads counts the readings.
    static constexpr int32_t kReadElements = 16;
    int32_t plusSeen = 0;
    int32_t plusReads = 0;
    uint32_t plusPlaced = 0, plusWhole = 0;
    int32_t plusPart[kReadElements] = {};
};

struct SimState : SimProgress {
    TemplateRing minus, plus;

    // The race of the run; a race's operator rates and yields below zero operate and yield none.
    void SetRace(const RaceParams& r);
    // Start of the headless run: the snapshot's planet as taken, never re-derived. The
    // state keeps a pointer to in.race.
    void StartHeadless(const GenSimInputs& in);
    // Minerals and concentrations from the model's planet, or from its two arrays.
    void LoadMinerals(const PlanetParams& planet);
    void LoadMinerals(const int32_t conPrc[3], const int32_t mineral[3]);
    // Writes the pending order back into a work list.
    void StoreWorkList(LIST_ITEM& workList) const;

    // One year of 250 sub-steps, ending with whole colonists.
    void SimulateYearInSubSteps();
    // One year with the yearly population step only.
    void SimulateYearPopulationOnly();

    // Factories (mines) that colonists can operate, before the limit of those built.
    int64_t OperableFactories() const { return Operated(men, factoryWork); }
    // min(OperableFactories(), fabr), the factories at work.
    int64_t FactoriesAtWork();
    int64_t OperableMines() const { return Operated(men, mineWork); }
    // Resources a year from colonists and from the operable factories built (0.004 of it a
    // sub-step); YearlyResources is the figure of the tables.
    Extended Resources(int64_t operable) const {
        return ColonistResources() + FactoryResources(std::min(operable, fabr));
    }
    QUENDAL_EXTENDED_INLINE Extended ColonistResources() const {
        const int32_t perResource = race->NColonistYTo1Resource;
        return perResource > 0 ? Extended(men) / Extended(perResource) : Extended(0);
    }
    QUENDAL_EXTENDED_INLINE Extended FactoryResources(int64_t working) const {
        return Extended(factoryYield) * Extended(working) * kTenth;
    }
    int64_t YearlyResources() const { return TruncToInt64(Resources(OperableFactories())); }

    // One sub-step and its parts, in their order; the tests drive them one by one.
    // operable: OperableFactories() (Spend reads only its minimum with fabr, so that
    // FactoriesAtWork() serves too); whole: truncate(men). Both hold for the whole sub-step,
    // since colonists change only in its last part.
    void SubStep();
    // The template in use, and whether the sub-step refills from it: no order is pending, it
    // has elements and the last refill's block no longer holds.
    TemplateRing& ActiveTemplate() { return prc > 0 ? plus : minus; }
    bool RefillDue(const TemplateRing& active) {
        return !hasOrder && active.size() > 0 && !StillBlocked();
    }
    bool StillBlocked();
    // The sub-step's refill, then the rest of the sub-step.
    void RefillStep(TemplateRing& active);
    void FinishSubStep();
    // A year ends with whole colonists.
    void EndYear() { men = static_cast<double>(TruncToInt64(men)); }
    void Refill(TemplateRing& ring, int64_t operable);
    // Notes that a refill placed element `at` of the plus template: whole, or a part of
    // `part` units (below its count), or without reading its count at all (part 0).
    void NotePlaced(int32_t at, bool whole, int64_t part);
    void Spend(int64_t operable);
    bool PayWholeUnits(double& r);
    void Mine(int64_t whole);
    void Population(int64_t whole);
};

// The figures and the pending order at the end of a headless run.
void TakeHeadlessResults(const SimState& s, GenSimResults& out);

} // namespace quendal
