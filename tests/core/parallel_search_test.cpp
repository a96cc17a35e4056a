#include "optimiser/genetic_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "model/simulation.h"
#include "optimiser/worker_pool.h"
#include "tests/support/search_setup.h"

namespace quendal {
namespace {

using simtest::Describe;
using simtest::TypicalPlanet;

GeneticInputs Search(const CalcModel& model, Criterion criterion, int32_t population, int32_t years,
                     uint32_t seed) {
    GeneticInputs inputs = simtest::SearchTask(model, criterion, population, 5, seed);
    inputs.years = years;
    return inputs;
}

// What the snapshot holds after every generation, then the results of the run.
std::string Trace(const GeneticInputs& inputs, int32_t prc, int32_t threads) {
    auto model = TypicalPlanet(prc);
    GeneticRun run;
    run.threads = threads;
    std::string trace;
    run.onProgress = [&](const GeneticProgress&) { trace += Describe(model->GeneticState); };
    const GeneticResults r = run.Run(*model, inputs);
    trace += Describe(model->GeneticState);
    return trace.append(std::to_string(r.evaluations));
}

TEST(ParallelSearch, EveryThreadCountGivesTheOneCoreSearch) {
    // Eight threads really run at once, on any machine.
    const ThreadLimit room(8);
    struct Case {
        const char* name;
        int32_t prc;
        Criterion criterion;
        int32_t population, years, elitePercent;
    } cases[] = {
        {"habitable, resources", 60, Criterion::Resources, 30, 10, 5},
        {"negative, terraforming", -20, Criterion::Terraforming, 40, 12, 5},
        {"negative, minerals", -45, Criterion::Minerals, 25, 10, 5},
        {"habitability 0, factories", 0, Criterion::Factories, 20, 8, 5},
        {"habitable, population, no elite", 30, Criterion::Population, 50, 8, 1},
        {"fewer individuals than threads", 60, Criterion::Mines, 3, 10, 5},
        {"a single individual", -10, Criterion::Resources, 1, 6, 5},
    };
    for (const Case& c : cases)
        for (const uint32_t seed : {1U, 77U, 4000000000U}) {
            GeneticInputs inputs =
                Search(*TypicalPlanet(c.prc), c.criterion, c.population, c.years, seed);
            inputs.params.elitePercent = c.elitePercent;
            const std::string oneCore = Trace(inputs, c.prc, 1);
            for (const int32_t threads : {2, 8})
                EXPECT_EQ(Trace(inputs, c.prc, threads), oneCore)
                    << c.name << ", seed " << seed << ", " << threads << " threads";
        }
}

// Two workers and the calling thread, which only processes messages, as in the window.
TEST(ParallelSearch, MessagesKeepComingWhileWorkersEvaluateAndAStopEndsThem) {
    const ThreadLimit room(3);
    auto model = TypicalPlanet(-20);
    const GeneticInputs inputs = Search(*model, Criterion::Resources, 200, 30, 9);
    GeneticRun run;
    run.threads = 2;
    const std::thread::id caller = std::this_thread::get_id();
    int64_t calls = 0;
    bool elsewhere = false;
    run.processMessages = [&] {
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
        ++calls;
    };
    const GeneticResults full = run.Run(*model, inputs);
    EXPECT_FALSE(elsewhere) << "messages are processed on the calling thread only";
    EXPECT_GE(calls, full.evaluations + full.generationsDone) << "once per evaluation at least";

    // A first generation long enough that the stop surely comes before its end.
    run.processMessages = [&] { run.RequestStop(); };
    const GeneticResults stopped =
        run.Run(*model, Search(*model, Criterion::Resources, 999, 50, 9));
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.generationsDone, 1);
    EXPECT_LT(stopped.evaluations, 999) << "the workers stopped within the first generation";
    // The result area shows one simulated individual: its templates give its figures.
    const PlanetFigures a = RunGenSimulation(*model).figures, &b = stopped.figures;
    EXPECT_EQ((std::vector<int64_t>{a.prc, a.men, a.resource, a.fabr, a.mine, a.mineral[0]}),
              (std::vector<int64_t>{b.prc, b.men, b.resource, b.fabr, b.mine, b.mineral[0]}));
}

} // namespace
} // namespace quendal
