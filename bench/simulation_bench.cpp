// Time per simulated sub-step of the headless run that the optimiser calls for every
// candidate, and of the displayed calculation over its longest span.

#include <benchmark/benchmark.h>

#include <memory>

#include "model/habitability.h"
#include "model/simulation.h"

namespace quendal {
namespace {

constexpr int kSubStepsPerYear = 250;

QueueItem Element(int32_t kind, int32_t count, int32_t unitCost) {
    QueueItem item;
    item.kind = kind;
    item.count = count;
    item.unitCost = unitCost;
    return item;
}

// A typical race on a -20 % planet with 500 kT of each mineral at 100/60/30 %; the negative
// template terraforms, the habitable one builds factories and mines.
std::unique_ptr<CalcModel> HostilePlanet(int32_t years) {
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
    const int32_t conPrc[3] = {100, 60, 30};
    for (int i = 0; i < 3; ++i) {
        m.Planet.MaxTFormPrc[i] = 11;
        m.Planet.PlanetConPrc[i] = conPrc[i];
        m.Planet.PlanetMineral[i] = 500;
    }
    m.Planet.PlanetPrc = -20;
    SetEnvForPrc(m);
    m.RaceLoaded = true;

    const QueueItem minus[] = {Element(MinTerraform, 1, 100)};
    const QueueItem plus[] = {Element(Factories, 50, r.NResourceBuildFactory),
                              Element(Mines, 50, r.NResourceBuildMine),
                              Element(MaxTerraform, 5, 100)};
    s_GeneticState& gen = m.GeneticState;
    for (const QueueItem& item : minus) {
        m.QueueMinus.Append(&item);
        gen.GenQueueMinus.Append(&item);
    }
    for (const QueueItem& item : plus) {
        m.QueuePlus.Append(&item);
        gen.GenQueuePlus.Append(&item);
    }
    gen.GenPlanetPrc = m.Planet.PlanetPrc;
    gen.GenStartMen = 2500;
    gen.GenMenYearPrc = r.MaxGrowthYRate;
    gen.GenLYear = years;
    for (int i = 0; i < 3; ++i)
        gen.GenPlanetEnv[i] = m.Planet.PlanetEnv[i];
    TFormTarget(m, gen.GenPlanetEnv, gen.GenTFormTarget);
    gen.GenTFormPrc = CalcTFormPrc(m, gen.GenPlanetEnv);
    return made;
}

// Reports the time of one simulated sub-step.
void CountSubSteps(benchmark::State& state, int64_t years) {
    state.SetItemsProcessed(state.iterations() * years * kSubStepsPerYear);
    state.counters["per_substep"] = benchmark::Counter(
        static_cast<double>(years * kSubStepsPerYear),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RunGenSimulation(benchmark::State& state) {
    const auto years = static_cast<int32_t>(state.range(0));
    auto model = HostilePlanet(years);
    for (auto _ : state) {
        RunGenSimulation(*model);
        benchmark::DoNotOptimize(model->GeneticState.GenResMen);
    }
    CountSubSteps(state, years);
}
BENCHMARK(BM_RunGenSimulation)->Arg(15)->Arg(99)->Unit(benchmark::kMicrosecond);

void BM_RunCalculation(benchmark::State& state) {
    const auto years = static_cast<int32_t>(state.range(0));
    auto model = HostilePlanet(years);
    StartConditions start;
    start.StartMen = 2500;
    start.StartPrc = model->Planet.PlanetPrc;
    start.Years = years;
    for (auto _ : state) {
        const DisplayFlags flags = RunCalculation(*model, start, [](const YearResult&) {});
        benchmark::DoNotOptimize(flags);
    }
    // Years 0..N are shown and each of them is simulated.
    CountSubSteps(state, int64_t{years} + 1);
}
BENCHMARK(BM_RunCalculation)->Arg(999)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quendal
