#pragma once

// The planet and task of the search tests and benchmarks.

#include <memory>
#include <sstream>
#include <string>

#include "optimiser/genetic_run.h"
#include "tests/support/model_fixtures.h"

namespace quendal::simtest {

// A race sensitive to all three factors with a middling economy, on a planet of habitability
// prc with 300 kT of each mineral at 60/40/80 %.
inline std::unique_ptr<CalcModel> TypicalPlanet(int32_t prc) {
    auto model = MakeRace({20, 30, 10}, {80, 70, 90}, 15);
    SetPlanet(*model, prc, {60, 40, 80}, 300);
    return model;
}

// The search tab's task for the model's planet as entering the tab shows it, at the race's
// growth rate; the tab's defaults for everything not given.
inline GeneticInputs SearchTask(const CalcModel& model, Criterion criterion, int32_t population,
                                int32_t generations, uint32_t seed) {
    GeneticInputs inputs;
    inputs.params.populationSize = population;
    inputs.params.generations = generations;
    inputs.planetPrc = model.Planet.PlanetPrc;
    inputs.menYearPrc = model.Race.MaxGrowthYRate;
    inputs.criterion = criterion;
    inputs.seed = seed;
    return inputs;
}

// The snapshot's figures, templates and work list, invested sums to the last bit.
inline std::string Describe(const s_GeneticState& s) {
    std::ostringstream text;
    text << s.GenResPrc << ' ' << s.GenResMen << ' ' << s.GenResResource << ' ' << s.GenResFabr
         << ' ' << s.GenResMine << std::hexfloat;
    for (int i = 0; i < 3; ++i)
        text << ' ' << s.GenResMineral[i] << '/' << s.GenResConPrc[i];
    for (const LIST_ITEM* list : {&s.GenQueueMinus, &s.GenQueuePlus, &s.GenBuildList}) {
        text << " |";
        for (const QueueItem& item : *list)
            text << ' ' << item.kind << ':' << item.unitCost << ':' << item.count << ':'
                 << item.invested;
    }
    text << '\n';
    return text.str();
}

} // namespace quendal::simtest
