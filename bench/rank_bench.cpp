// Ranking a planet list as `quendal-calc --rank` does: 1000 planets with given templates over
// 50 years, and 100 planets each searched with the search tab's defaults; on one core and on
// all cores (argument: threads, 0 for all).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "optimiser/worker_pool.h"

#include "io/planet_list.h"
#include "model/planet_rules.h"
#include "optimiser/planet_rank.h"
#include "tests/support/model_fixtures.h"

namespace quendal {
namespace {

// A 20-column planet list of `count` planets whose habitability, colonists, installed
// factories and mines, concentrations and surface minerals vary from planet to planet.
std::string PlanetListText(int count) {
    std::string text = "Generated survey\n";
    for (int column = 1; column <= 20; ++column)
        text += "Column " + std::to_string(column) + (column < 20 ? "\t" : "\n");
    for (int i = 0; i < count; ++i) {
        char line[400];
        std::snprintf(line, sizeof line,
                      "Planet %d\tSurvey\tStar\t%d\t2412\t%d%%\t0\tyes\t%d\t%d\t0\t0\t"
                      "I: %d U: %d L: %d\t100\tI: %d U: %d L: %d\tnone\t0\t0\t-\t-\n",
                      i, 5000 + (i * 7919) % 200000, (i * 37) % 136 - 45, (i * 3) % 60,
                      (i * 5) % 80, 5 + (i * 13) % 95, 5 + (i * 29) % 95, 5 + (i * 43) % 95,
                      (i * 97) % 5000, (i * 61) % 5000, (i * 31) % 5000);
        text += line;
    }
    return text;
}

struct LoadedPlanets {
    std::unique_ptr<CalcModel> base; // the race and its planet
    std::vector<PlanetEntry> planets;
    std::vector<std::string> entries;
};

LoadedPlanets LoadPlanets(int count) {
    LoadedPlanets loaded;
    loaded.base = simtest::MakeRace({15, 25, 20}, {85, 75, 80}, 17);
    PlanetList list = ParsePlanetList(PlanetListText(count), loaded.base->Race);
    loaded.planets = std::move(list.planets);
    loaded.entries = std::move(list.entries);
    return loaded;
}

// The companion's set-up of one planet: the planet as --pick applies it, with the templates
// "--minus min --plus fab:50,mine:50,max:5".
PreparePlanet Prepare(const LoadedPlanets& loaded, int32_t years) {
    RankSettings settings;
    settings.years = years;
    settings.growth = loaded.base->Race.MaxGrowthYRate;
    settings.seed = 1;
    return [&loaded, settings](int32_t index, CalcModel& model) {
        model = *loaded.base;
        const RaceParams& r = model.Race;
        simtest::Fill(model.QueueMinus, {simtest::Element(MinTerraform, 1, 100)});
        simtest::Fill(model.QueuePlus, {simtest::Element(Factories, 50, r.NResourceBuildFactory),
                                        simtest::Element(Mines, 50, r.NResourceBuildMine),
                                        simtest::Element(MaxTerraform, 5, 100)});
        return SetUpListPlanet(model, loaded.planets[static_cast<size_t>(index)], settings);
    };
}

void Rank(benchmark::State& state, int planets, int32_t years, bool search) {
    const LoadedPlanets loaded = LoadPlanets(planets);
    RankTask task;
    task.entries = loaded.entries;
    task.prepare = Prepare(loaded, years);
    task.search = search;
    task.threads = state.range(0) > 0 ? static_cast<int32_t>(state.range(0)) : AvailableCores();
    for (auto _ : state)
        benchmark::DoNotOptimize(RankPlanets(task).front().figures.resource);
    state.counters["planets_per_second"] = benchmark::Counter(
        static_cast<double>(planets), benchmark::Counter::kIsIterationInvariantRate);
}

void RankGiven1000Planets50Years(benchmark::State& state) {
    Rank(state, 1000, 50, false);
}

// The search tab's defaults: population 100, 20 generations, 15 years.
void RankSearch100Planets(benchmark::State& state) {
    Rank(state, 100, 15, true);
}

BENCHMARK(RankGiven1000Planets50Years)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(RankSearch100Planets)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace quendal
