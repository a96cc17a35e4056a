#pragma once

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

// The headless run for the optimiser: simulates GenLYear years from the snapshot in
// model.GeneticState with its candidate templates and writes the GenRes fields.
void RunGenSimulation(CalcModel& model);

// Everything the headless run reads besides the templates: the snapshot fields and the race
// and planet values. A search's workers share one copy taken on the search's own thread, so
// that none of them reads the live model.
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
    int32_t maxFactor = 0; // the criterion of the search

    static GenSimInputs Of(const CalcModel& model);
};

// The figures a headless run leaves: the GenRes fields and the work list's pending order.
struct GenSimResults {
    int32_t prc = 0;
    int64_t men = 0;
    int64_t resource = 0;
    int32_t fabr = 0;
    int32_t mine = 0;
    int32_t conPrc[3] = {};
    int32_t mineral[3] = {};
    QueueItem order{};
    bool hasOrder = false;
};

// The headless run on templates held in arrays; touches nothing but `results`.
void RunGenSimulation(const GenSimInputs& inputs, const QueueItem* minus, int32_t minusCount,
                      const QueueItem* plus, int32_t plusCount, GenSimResults& results);

// Writes the figures of a headless run into the snapshot: the GenRes fields and GenBuildList.
void StoreGenResults(const GenSimResults& results, s_GeneticState& state);

// Factories that may still be ordered: as many as colonists can operate beyond those built,
// and no more than half of the scarcest surface mineral allows.
int64_t FabrLimit(int64_t fabr, int64_t workable, const double surf[3]);

} // namespace quendal
