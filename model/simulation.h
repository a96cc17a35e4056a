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

// Factories that may still be ordered: as many as colonists can operate beyond those built,
// and no more than half of the scarcest surface mineral allows.
int64_t FabrLimit(int64_t fabr, int64_t workable, const double surf[3]);

} // namespace quendal
