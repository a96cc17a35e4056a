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

// Installed factories or mines typed below zero count as none.
int64_t Installed(int32_t count) {
    return std::max(0, count);
}

// The figures of the row of a year, from the state before that year is simulated.
YearResult Figures(const SimState& s, int32_t year, bool raceLoaded) {
    YearResult row;
    row.Year = year;
    row.PlanetPrc = s.prc;
    row.Men = TruncToInt64(s.men);
    row.Resource = raceLoaded ? s.YearlyResources() : 0;
    row.Fabr = SaturateInt32(s.fabr);
    row.Mine = SaturateInt32(s.mine);
    const int64_t operated = std::min(Operated(s.men, s.mineWork), s.mine);
    const Extended yearly = kFifth * Extended(operated) * Extended(s.mineYield);
    for (int i = 0; i < 3; ++i) {
        row.ConPrc[i] = SaturateInt32(TruncToInt64(Extended(s.con[i]) * Extended(100)));
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
    s.SetRace(model.Race);
    s.payInOneGo = start.PayInOneGo;
    s.homeworld = planet.PlanetHW;
    s.men = StartColonists(start.StartMen);
    s.prc = start.StartPrc;
    s.growth = start.MenYearPrc;
    s.cap = CapacityFor(s.prc);
    s.fabr = Installed(planet.PlanetFabr);
    s.mine = Installed(planet.PlanetMine);

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
    flags.ShowFactories = s.fabr > 0 || s.minus.Holds(Factories) || s.plus.Holds(Factories);
    flags.ShowMines = s.mine > 0 || s.minus.Holds(Mines) || s.plus.Holds(Mines);

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

GenSimInputs GenSimInputs::Of(const CalcModel& model) {
    const s_GeneticState& gen = model.GeneticState;
    GenSimInputs in;
    in.race = model.Race;
    in.homeworld = model.Planet.PlanetHW;
    std::copy(model.Planet.PlanetConPrc, model.Planet.PlanetConPrc + 3, in.conPrc);
    std::copy(model.Planet.PlanetMineral, model.Planet.PlanetMineral + 3, in.mineral);
    in.startMen = gen.GenStartMen;
    in.planetPrc = gen.GenPlanetPrc;
    in.menYearPrc = gen.GenMenYearPrc;
    in.years = gen.GenLYear;
    std::copy(gen.GenPlanetEnv, gen.GenPlanetEnv + 3, in.env);
    std::copy(gen.GenTFormTarget, gen.GenTFormTarget + 3, in.target);
    in.tformPrc = gen.GenTFormPrc;
    in.fabr = gen.GenPlanetFabr;
    in.mine = gen.GenPlanetMine;
    in.criterion = gen.GenMaxFactor;
    return in;
}

void SimState::StartHeadless(const GenSimInputs& in) {
    SetRace(in.race);
    homeworld = in.homeworld;
    men = StartColonists(in.startMen);
    prc = in.planetPrc;
    growth = in.menYearPrc;
    cap = CapacityFor(prc);
    maxHab = in.tformPrc;
    std::copy(in.env, in.env + 3, cur);
    std::copy(in.target, in.target + 3, tgt);
    fabr = Installed(in.fabr);
    mine = Installed(in.mine);
    LoadMinerals(in.conPrc, in.mineral);
}

namespace {

// Simulates the years of the headless run and takes its figures.
void FinishHeadless(SimState& s, int32_t years, GenSimResults& out) {
    for (int32_t year = 0; year < years; ++year)
        s.SimulateYearInSubSteps();
    TakeHeadlessResults(s, out);
}

} // namespace

void TakeHeadlessResults(const SimState& s, GenSimResults& out) {
    PlanetFigures& f = out.figures;
    f.prc = s.prc;
    f.men = TruncToInt64(s.men);
    f.resource = s.YearlyResources();
    f.fabr = SaturateInt32(s.fabr);
    f.mine = SaturateInt32(s.mine);
    for (int i = 0; i < 3; ++i) {
        f.conPrc[i] = SaturateInt32(TruncToInt64(Extended(s.con[i]) * Extended(100)));
        f.mineral[i] = SaturateInt32(TruncToInt64(s.surf[i]));
    }
    out.order = s.order;
    out.hasOrder = s.hasOrder;
}

void RunGenSimulation(const GenSimInputs& inputs, const QueueItem* minus, int32_t minusCount,
                      const QueueItem* plus, int32_t plusCount, GenSimResults& results) {
    SimState s;
    s.StartHeadless(inputs);
    s.minus.Load(minus, minusCount);
    s.plus.Load(plus, plusCount);
    FinishHeadless(s, inputs.years, results);
}

GenSimResults RunGenSimulation(CalcModel& model) {
    s_GeneticState& gen = model.GeneticState;
    const GenSimInputs in = GenSimInputs::Of(model);
    SimState s;
    s.StartHeadless(in);
    s.minus.Load(gen.GenQueueMinus);
    s.plus.Load(gen.GenQueuePlus);
    GenSimResults results;
    FinishHeadless(s, in.years, results);
    StoreGenResults(results, gen);
    return results;
}

void StoreGenResults(const GenSimResults& results, s_GeneticState& state) {
    const PlanetFigures& f = results.figures;
    state.GenBuildList.Clear();
    if (results.hasOrder)
        state.GenBuildList.Append(&results.order);
    SetGenResFigures(f, state);
}

void SetGenResFigures(const PlanetFigures& f, s_GeneticState& state) {
    state.GenResPrc = f.prc;
    state.GenResMen = f.men;
    state.GenResResource = f.resource;
    state.GenResFabr = f.fabr;
    state.GenResMine = f.mine;
    for (int i = 0; i < 3; ++i) {
        state.GenResConPrc[i] = f.conPrc[i];
        state.GenResMineral[i] = SaturateInt32(f.mineral[i]);
    }
}

PlanetFigures GenResFigures(const s_GeneticState& s) {
    return {s.GenResPrc,
            s.GenResMen,
            s.GenResResource,
            s.GenResFabr,
            s.GenResMine,
            {s.GenResConPrc[0], s.GenResConPrc[1], s.GenResConPrc[2]},
            {s.GenResMineral[0], s.GenResMineral[1], s.GenResMineral[2]}};
}

} // namespace quendal
