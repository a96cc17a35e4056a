#pragma once

// Models filled in code for the tests, the benchmarks and the fuzz targets.

#include <array>
#include <memory>
#include <vector>

#include "model/calc_model.h"
#include "model/habitability.h"

namespace quendal::simtest {

using Triple = std::array<int32_t, 3>;

// A loaded race with the given bounds and growth rate and the economy of the sample races:
// 1000 colonists give a resource a year; factories cost 10 and give 1 resource a year each,
// mines cost 5 and dig 2 kT a year each at full concentration; 10 of either are operated by
// 10000 colonists. Terraforming limits 11. The model holds lists and cannot be copied, so it
// is held by pointer.
inline std::unique_ptr<CalcModel> MakeRace(Triple lo, Triple hi, int32_t growth) {
    auto made = std::make_unique<CalcModel>();
    RaceParams& r = made->Race;
    r.Env0Min = lo[0];
    r.Env0Max = hi[0];
    r.Env1Min = lo[1];
    r.Env1Max = hi[1];
    r.Env2Min = lo[2];
    r.Env2Max = hi[2];
    r.DeriveOptimum();
    r.MaxGrowthYRate = growth;
    r.NColonistYTo1Resource = 1000;
    r.NResourceYFrom10Factory = 10;
    r.NResourceBuildFactory = 10;
    r.NFactoryWork10000 = 10;
    r.NResourceBuildMine = 5;
    r.NMineWork10000 = 10;
    r.NMineralYFrom10Mine = 10;
    for (int32_t& limit : made->Planet.MaxTFormPrc)
        limit = 11;
    made->RaceLoaded = true;
    return made;
}

// Puts the planet at habitability prc (factors from the worst-factor rule) with the given
// concentrations and kT of each mineral on the surface.
inline void SetPlanet(CalcModel& m, int32_t prc, Triple conPrc, int32_t minerals) {
    PlanetParams& p = m.Planet;
    for (int i = 0; i < 3; ++i) {
        p.PlanetConPrc[i] = conPrc[i];
        p.PlanetMineral[i] = minerals;
    }
    p.PlanetPrc = prc;
    SetEnvForPrc(m);
}

// The race of the simulation tests: bounds 15..86, 0..100, 35..64, growth 15 %, on a planet
// of habitability startPrc with 500 kT of each mineral at concentrations 100/60/30.
inline std::unique_ptr<CalcModel> TypicalRace(int32_t startPrc) {
    auto made = MakeRace({15, 0, 35}, {86, 100, 64}, 15);
    SetPlanet(*made, startPrc, {100, 60, 30}, 500);
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

} // namespace quendal::simtest
