// Time per simulated sub-step of the headless run that the optimiser calls for every
// candidate, and of the displayed calculation over its longest span.

#include <benchmark/benchmark.h>

#include <memory>

#include "model/habitability.h"
#include "model/simulation.h"
#include "tests/support/search_setup.h"

namespace quendal {
namespace {

constexpr int kSubStepsPerYear = 250;

// A typical race on a -20 % planet with 500 kT of each mineral at 100/60/30 %; the negative
// template terraforms, the habitable one builds factories and mines.
std::unique_ptr<CalcModel> HostilePlanet(int32_t years) {
    using namespace simtest;
    auto made = TypicalRace(-20);
    CalcModel& m = *made;
    const RaceParams& r = m.Race;
    Fill(m.QueueMinus, {Element(MinTerraform, 1, 100)});
    Fill(m.QueuePlus, {Element(Factories, 50, r.NResourceBuildFactory),
                       Element(Mines, 50, r.NResourceBuildMine), Element(MaxTerraform, 5, 100)});
    Fill(m.GeneticState.GenQueueMinus, {Element(MinTerraform, 1, 100)});
    Fill(m.GeneticState.GenQueuePlus,
         {Element(Factories, 50, r.NResourceBuildFactory), Element(Mines, 50, r.NResourceBuildMine),
          Element(MaxTerraform, 5, 100)});
    GeneticInputs task = SearchTask(m, Criterion::Resources, 1, 1, 1);
    task.startMen = 2500;
    task.years = years;
    FillSnapshot(m, task);
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
