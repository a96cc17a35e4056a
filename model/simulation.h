#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "model/calc_model.h"

namespace quendal {

// Start conditions of the displayed calculation, as read from the planet-dynamics tab.
struct StartConditions {
    int32_t StartMen = 250;  // colonists in hundreds
    int32_t StartPrc = 100;  // start habitability %
    int32_t MenYearPrc = 15; // growth rate % a year
    int32_t Years = 15;      // rows for years 0..Years
    bool PayInOneGo = true;  // off: units paid one at a time (the same rows, only slower)
};

// Display flags fixed at the start of a calculation: plot factories (mines) when some are
// installed or a template holds a factories (mines) element.
struct DisplayFlags {
    bool ShowFactories = false;
    bool ShowMines = false;
};

// The displayed calculation: emits the row of every year 0..Years through onYear, before
// that year is simulated. May set PlanetPrc and PlanetEnv (when the start habitability
// differs) and uses BuildList; everything else of the model stays as it was.
DisplayFlags RunCalculation(CalcModel& model, const StartConditions& start,
                            const std::function<void(const YearResult&)>& onYear);

// Everything an evaluation of the search reads besides the candidate templates: the snapshot
// fields and the race and planet values, taken by value so that nothing reads the live model.
struct GenSimInputs {
    RaceParams race;
    bool homeworld = false;
    int32_t conPrc[3] = {};
    int32_t mineral[3] = {};
    int32_t startMen = 0;
    int32_t planetPrc = 0;
    int32_t menYearPrc = 0;
    int32_t years = 0;
    int32_t env[3] = {};
    int32_t target[3] = {};
    int32_t tformPrc = 0;
    int32_t fabr = 0;
    int32_t mine = 0;
    Criterion criterion = Criterion::Resources;

    static GenSimInputs Of(const CalcModel& model);
};

// The figures a planet ends with: habitability %, colonists, resources a year, factories,
// mines, and per mineral its concentration % and kT on the surface.
struct PlanetFigures {
    int32_t prc = 0;
    int64_t men = 0;
    int64_t resource = 0;
    int32_t fabr = 0;
    int32_t mine = 0;
    int32_t conPrc[3] = {};
    int64_t mineral[3] = {};
    bool operator==(const PlanetFigures&) const = default;
};

// The eight figures a search result shows, in order: habitability, colonists, resources,
// factories, mines and the three minerals.
inline std::array<int64_t, 8> ShownFigures(const PlanetFigures& f) {
    return {f.prc, f.men, f.resource, f.fabr, f.mine, f.mineral[0], f.mineral[1], f.mineral[2]};
}

// What a headless run leaves: its figures and the work list's pending order.
struct GenSimResults {
    PlanetFigures figures;
    QueueItem order{};
    bool hasOrder = false;
};

// The headless run for the optimiser: simulates inputs.years years of the given templates;
// touches nothing but `results`.
void RunGenSimulation(const GenSimInputs& inputs, const QueueItem* minus, int32_t minusCount,
                      const QueueItem* plus, int32_t plusCount, GenSimResults& results);

// The headless run of the snapshot in model.GeneticState with its candidate templates; writes
// the GenRes fields and returns them.
GenSimResults RunGenSimulation(CalcModel& model);

// The snapshot's GenRes fields and GenBuildList: the one place that writes them, and reads
// the figures back.
void StoreGenResults(const GenSimResults& results, s_GeneticState& state);
PlanetFigures GenResFigures(const s_GeneticState& state);
// Sets the GenRes fields to the figures, the minerals saturated to their 32 bits.
void SetGenResFigures(const PlanetFigures& figures, s_GeneticState& state);

// Factories that may still be ordered: as many as colonists can operate beyond those built,
// and no more than half of the scarcest surface mineral allows.
int64_t FabrLimit(int64_t fabr, int64_t workable, const double surf[3]);

} // namespace quendal
