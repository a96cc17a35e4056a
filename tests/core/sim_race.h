#pragma once

// Models filled in code for the simulation tests.

#include <memory>
#include <vector>

#include "model/calc_model.h"
#include "model/habitability.h"

namespace quendal::simtest {

// A typical race: bounds 15..86, 0..100, 35..64, growth 15 %, the default economy but for a
// mine cost of 5; a planet of habitability startPrc (factors from the worst-factor rule) with
// 500 kT of each mineral at concentrations 100/60/30. The model holds lists and cannot be
// copied, so it is held by pointer.
inline std::unique_ptr<CalcModel> TypicalRace(int32_t startPrc) {
    auto made = std::make_unique<CalcModel>();
    CalcModel& m = *made;
    RaceParams& r = m.Race;
    r.Env0Min = 15;
    r.Env0Max = 86;
    r.Env1Min = 0;
    r.Env1Max = 100;
    r.Env2Min = 35;
    r.Env2Max = 64;
    r.DeriveOptimum();
    r.MaxGrowthYRate = 15;
    r.NColonistYTo1Resource = 1000;
    r.NResourceYFrom10Factory = 10;
    r.NResourceBuildFactory = 10;
    r.NFactoryWork10000 = 10;
    r.NResourceBuildMine = 5;
    r.NMineWork10000 = 10;
    r.NMineralYFrom10Mine = 10;
    PlanetParams& p = m.Planet;
    const int32_t conPrc[3] = {100, 60, 30};
    for (int i = 0; i < 3; ++i) {
        p.MaxTFormPrc[i] = 11;
        p.PlanetConPrc[i] = conPrc[i];
        p.PlanetMineral[i] = 500;
    }
    p.PlanetPrc = startPrc;
    SetEnvForPrc(m);
    m.RaceLoaded = true;
    return made;
}

inline QueueItem Element(int32_t kind, int32_t count, int32_t unitCost) {
    QueueItem item;
    item.kind = kind;
    item.count = count;
    item.unitCost = unitCost;
    return item;
}

inline void Fill(LIST_ITEM& list, const std::vector<QueueItem>& items) {
    list.Clear();
    for (const QueueItem& item : items)
        list.Append(&item);
}

// Copies the model's planet and templates into the optimiser's snapshot, as a search does.
inline void SnapshotForSearch(CalcModel& m, int32_t startMen, int32_t years) {
    s_GeneticState& gen = m.GeneticState;
    gen.GenPlanetPrc = m.Planet.PlanetPrc;
    gen.GenStartMen = startMen;
    gen.GenMenYearPrc = m.Race.MaxGrowthYRate;
    gen.GenLYear = years;
    for (int i = 0; i < 3; ++i)
        gen.GenPlanetEnv[i] = m.Planet.PlanetEnv[i];
    TFormTarget(m, gen.GenPlanetEnv, gen.GenTFormTarget);
    gen.GenTFormPrc = CalcTFormPrc(m, gen.GenPlanetEnv);
    gen.GenPlanetFabr = m.Planet.PlanetFabr;
    gen.GenPlanetMine = m.Planet.PlanetMine;
}

} // namespace quendal::simtest
