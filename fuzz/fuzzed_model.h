#pragma once

// Race, planet and templates chosen by a fuzzer's bytes, shared by the fuzz targets that
// run calculations.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "model/calc_model.h"
#include "model/habitability.h"

namespace quendal::fuzz {

// A number as a race file or a typed field can give it: small values most of the time, the
// extremes now and then.
inline int32_t AnyNumber(FuzzedDataProvider& in, int32_t lo, int32_t hi) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
        return in.ConsumeIntegral<int32_t>();
    case 1:
        return 0;
    default:
        return in.ConsumeIntegralInRange(lo, hi);
    }
}

// A race and a planet, every value as a race file or a typed field can give it.
inline void FillRaceAndPlanet(FuzzedDataProvider& in, CalcModel& m) {
    RaceParams& r = m.Race;
    int32_t* const bounds[6] = {&r.Env0Min, &r.Env0Max, &r.Env1Min,
                                &r.Env1Max, &r.Env2Min, &r.Env2Max};
    for (int i = 0; i < 3; ++i) {
        if (in.ConsumeBool()) {
            *bounds[2 * i] = *bounds[2 * i + 1] = kImmune;
        } else {
            *bounds[2 * i] = AnyNumber(in, -10, 110);
            *bounds[2 * i + 1] = AnyNumber(in, -10, 110);
        }
    }
    r.DeriveOptimum();
    r.MaxGrowthYRate = AnyNumber(in, 1, 20);
    for (int32_t* economy :
         {&r.NColonistYTo1Resource, &r.NResourceYFrom10Factory, &r.NResourceBuildFactory,
          &r.NFactoryWork10000, &r.NResourceBuildMine, &r.NMineWork10000, &r.NMineralYFrom10Mine})
        *economy = AnyNumber(in, 1, 2500);
    r.FullTForm = in.ConsumeBool();

    PlanetParams& p = m.Planet;
    for (int i = 0; i < 3; ++i) {
        p.PlanetEnv[i] = r.EnvOpt[i] == kImmune ? kImmune : AnyNumber(in, -10, 110);
        p.MaxTFormPrc[i] = r.EnvOpt[i] == kImmune ? 0 : AnyNumber(in, 0, 30);
        p.PlanetConPrc[i] = AnyNumber(in, 1, 100);
        p.PlanetMineral[i] = AnyNumber(in, 0, 32000);
    }
    p.PlanetHW = in.ConsumeBool();
    p.PlanetFabr = AnyNumber(in, 0, 10000);
    p.PlanetMine = AnyNumber(in, 0, 10000);
    p.PlanetPrc = CalcPlanetPrc(r, p.PlanetEnv);
    m.RaceLoaded = true;
}

// Templates of any kinds, with counts as the queue editing takes them: 1 or more, at most 20
// for terraforming.
inline void FillTemplates(FuzzedDataProvider& in, CalcModel& m) {
    const RaceParams& r = m.Race;
    for (LIST_ITEM* list : {&m.QueueMinus, &m.QueuePlus}) {
        const int count = in.ConsumeIntegralInRange(0, 12);
        for (int k = 0; k < count; ++k) {
            QueueItem item;
            item.kind = in.ConsumeIntegralInRange<int32_t>(MinTerraform, Mines);
            item.unitCost = item.kind <= MaxTerraform ? kTerraformUnitCost
                            : item.kind == Factories  ? r.NResourceBuildFactory
                                                      : r.NResourceBuildMine;
            item.count = item.kind == MinTerraform   ? 1
                         : item.kind == MaxTerraform ? in.ConsumeIntegralInRange(1, 20)
                         : in.ConsumeIntegralInRange(0, 7) == 0
                             ? in.ConsumeIntegralInRange(1, INT32_MAX)
                             : in.ConsumeIntegralInRange(1, 999);
            list->Append(&item);
        }
    }
}

} // namespace quendal::fuzz
