// The searches of `quendal-calc --race data/typical.urc --start-prc 40 --search --seed 3` with
// one thread and with every core: the two large ones (population 200 x 100 generations and
// 999 x 50, both over 50 years) and the default one (100 x 20 over 15 years). Wall time per
// search, and the wall time per simulated sub-step (evaluations x years x 250).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "io/file_bytes.h"
#include "io/race_file.h"
#include "model/calc_model.h"
#include "model/planet_rules.h"
#include "optimiser/genetic_run.h"
#include "optimiser/worker_pool.h"

namespace quendal {
namespace {

// Arguments: population, generations, years, threads (0: every core).
void TypicalRaceSearch(benchmark::State& state) {
    CalcModel model;
    ApplyRace(model, ParseRace(*ReadFileBytes(QUENDAL_SOURCE_DIR "/data/typical.urc")).race, 40);
    GeneticInputs inputs;
    inputs.params.populationSize = static_cast<int32_t>(state.range(0));
    inputs.params.generations = static_cast<int32_t>(state.range(1));
    inputs.years = static_cast<int32_t>(state.range(2));
    inputs.planetPrc = model.Planet.PlanetPrc;
    inputs.startMen = 250; // the companion's default without a planet list
    inputs.menYearPrc = model.Race.MaxGrowthYRate;
    inputs.seed = 3;
    const auto threads = static_cast<int32_t>(state.range(3));

    int64_t evaluations = 0;
    GeneticResults results;
    for (auto _ : state) {
        GeneticRun run;
        run.threads = threads > 0 ? threads : AvailableCores();
        results = run.Run(model, inputs);
        evaluations += results.evaluations;
    }
    state.counters["threads"] = threads > 0 ? threads : AvailableCores();
    state.counters["evaluations"] =
        static_cast<double>(evaluations) / static_cast<double>(state.iterations());
    state.counters["per_substep"] =
        benchmark::Counter(static_cast<double>(evaluations) * inputs.years * 250,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["found_resources"] = static_cast<double>(results.figures.resource);
}

void Searches(benchmark::internal::Benchmark* b) {
    for (const int64_t threads : {1, 0}) {
        b->Args({200, 100, 50, threads});
        b->Args({999, 50, 50, threads});
        b->Args({100, 20, 15, threads});
    }
    b->ArgNames({"population", "generations", "years", "threads"});
}

BENCHMARK(TypicalRaceSearch)
    ->Apply(Searches)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quendal
