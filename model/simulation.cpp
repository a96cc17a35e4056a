#include "model/simulation.h"

#include <algorithm>

#include "model/habitability.h"
#include "model/numbers.h"
#include "model/substep.h"

namespace quendal {

namespace {

// Start colonists are typed in hundreds; a negative text counts as none.
double StartColonists(int32_t hundreds) {
    return static_cast<double>(std::max<int64_t>(0, int64_t{hundreds} * 100));
}

// The figures of the row of a year, from the state before that year is simulated.
YearResult Figures(const SimState& s, int32_t year, bool raceLoaded) {
    const RaceParams& race = *s.race;
    YearResult row;
    row.Year = year;
    row.PlanetPrc = s.prc;
    row.Men = TruncToInt64(s.men);
    row.Resource = raceLoaded ? s.YearlyResources() : 0;
    row.Fabr = SaturateInt32(s.fabr);
    row.Mine = SaturateInt32(s.mine);
    const int64_t operated = std::min(TruncToInt64(s.men * 0.0001L * race.NMineWork10000), s.mine);
    const long double yearly = 0.2L * operated * race.NMineralYFrom10Mine;
    for (int i = 0; i < 3; ++i) {
        row.ConPrc[i] = SaturateInt32(TruncToInt64(s.con[i] * 100.0L));
        row.MineralYear[i] = TruncToInt64(s.con[i] * yearly);
        row.Mineral[i] = TruncToInt64(s.surf[i]);
    }
    return row;
}

} // namespace

DisplayFlags RunCalculation(CalcModel& model, const StartConditions& start,
                            const std::function<void(const YearResult&)>& onYear) {
    PlanetParams& planet = model.Planet;
    SimState s;
    s.race = &model.Race;
    s.homeworld = planet.PlanetHW;
    s.men = StartColonists(start.StartMen);
    s.prc = start.StartPrc;
    s.growth = start.MenYearPrc;
    s.cap = CapacityFor(s.prc);
    s.fabr = planet.PlanetFabr;
    s.mine = planet.PlanetMine;

    // A start habitability other than the planet's derives new factors for it; the
    // habitability reached may be lower, while the capacity stays that of the typed value.
    if (s.prc != planet.PlanetPrc) {
        planet.PlanetPrc = s.prc;
        if (model.RaceLoaded) {
            SetEnvForPrc(model);
            s.prc = planet.PlanetPrc;
        }
    }
    std::copy(planet.PlanetEnv, planet.PlanetEnv + 3, s.cur);
    if (model.RaceLoaded) {
        s.maxHab = CalcTFormPrc(model, s.cur);
        TFormTarget(model, s.cur, s.tgt);
        s.LoadMinerals(planet);
    }
    s.minus.Load(model.QueueMinus);
    s.plus.Load(model.QueuePlus);
    const bool subSteps = model.RaceLoaded && (s.minus.size() > 0 || s.plus.size() > 0);
    model.BuildList.Clear();

    DisplayFlags flags;
    flags.ShowFactories =
        planet.PlanetFabr != 0 || s.minus.Holds(Factories) || s.plus.Holds(Factories);
    flags.ShowMines = planet.PlanetMine != 0 || s.minus.Holds(Mines) || s.plus.Holds(Mines);

    // Each row shows the state before its year is simulated; the year after the last row is
    // simulated too but never shown.
    for (int64_t year = 0; year <= start.Years; ++year) {
        if (onYear)
            onYear(Figures(s, static_cast<int32_t>(year), model.RaceLoaded));
        if (subSteps)
            s.SimulateYearInSubSteps();
        else
            s.SimulateYearPopulationOnly();
    }
    s.StoreWorkList(model.BuildList);
    return flags;
}

void RunGenSimulation(CalcModel& model) {
    s_GeneticState& gen = model.GeneticState;
    SimState s;
    s.race = &model.Race;
    s.homeworld = model.Planet.PlanetHW;
    s.men = StartColonists(gen.GenStartMen);
    s.prc = gen.GenPlanetPrc;
    s.growth = gen.GenMenYearPrc;
    s.cap = CapacityFor(s.prc);
    s.maxHab = gen.GenTFormPrc;
    std::copy(gen.GenPlanetEnv, gen.GenPlanetEnv + 3, s.cur);
    std::copy(gen.GenTFormTarget, gen.GenTFormTarget + 3, s.tgt);
    s.fabr = gen.GenPlanetFabr;
    s.mine = gen.GenPlanetMine;
    s.LoadMinerals(model.Planet);
    s.minus.Load(gen.GenQueueMinus);
    s.plus.Load(gen.GenQueuePlus);
    gen.GenBuildList.Clear();

    for (int32_t year = 0; year < gen.GenLYear; ++year)
        s.SimulateYearInSubSteps();

    s.StoreWorkList(gen.GenBuildList);
    gen.GenResPrc = s.prc;
    gen.GenResMen = TruncToInt64(s.men);
    gen.GenResResource = s.YearlyResources();
    gen.GenResFabr = SaturateInt32(s.fabr);
    gen.GenResMine = SaturateInt32(s.mine);
    for (int i = 0; i < 3; ++i) {
        gen.GenResConPrc[i] = SaturateInt32(TruncToInt64(s.con[i] * 100.0L));
        gen.GenResMineral[i] = SaturateInt32(TruncToInt64(s.surf[i]));
    }
}

} // namespace quendal
