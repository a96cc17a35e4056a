// The default search of the search tab (population 100, 20 generations, elite 5 %, survival
// 80 %, mutation 1 %, crossover 40 %, 15 years, criterion "Ресурсы", 1000 hundred colonists)
// on a negative and on a habitable planet of a typical race.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "model/calc_model.h"
#include "model/habitability.h"
#include "optimiser/genetic_run.h"
#include "optimiser/worker_pool.h"
#include "tests/support/model_fixtures.h"

namespace quendal {
namespace {

std::unique_ptr<CalcModel> TypicalPlanet(int32_t prc) {
    auto model = simtest::MakeRace({20, 30, 10}, {80, 70, 90}, 15);
    simtest::SetPlanet(*model, prc, {60, 60, 60}, 300);
    return model;
}

// Arguments: the planet's habitability in %, and 1 for one thread or 0 for every core, as
// the window searches.
void DefaultSearch(benchmark::State& state) {
    auto model = TypicalPlanet(static_cast<int32_t>(state.range(0)));
    GeneticInputs inputs; // the defaults of the search tab
    inputs.planetPrc = model->Planet.PlanetPrc;
    inputs.seed = 1;
    int64_t evaluations = 0;
    GeneticResults results;
    for (auto _ : state) {
        GeneticRun run;
        run.threads = state.range(1) == 0 ? AvailableCores() : 1;
        results = run.Run(*model, inputs);
        evaluations += results.evaluations;
        benchmark::DoNotOptimize(results.figures.resource);
    }
    state.counters["evaluations_per_search"] =
        static_cast<double>(evaluations) / static_cast<double>(state.iterations());
    state.counters["evaluations_per_second"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
    state.counters["found_resources"] = static_cast<double>(results.figures.resource);
}

BENCHMARK(DefaultSearch)
    ->Args({-20, 1})
    ->Args({60, 1})
    ->Args({60, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace quendal
