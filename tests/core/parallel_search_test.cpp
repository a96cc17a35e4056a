#include "optimiser/genetic_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "model/simulation.h"
#include "optimiser/worker_pool.h"
#include "tests/support/model_fixtures.h"

namespace quendal {
namespace {

std::unique_ptr<CalcModel> Planet(int32_t prc) {
    auto model = simtest::MakeRace({20, 30, 10}, {80, 70, 90}, 15);
    simtest::SetPlanet(*model, prc, {60, 40, 80}, 300);
    return model;
}

GeneticInputs Search(const CalcModel& model, int32_t criterion, int32_t population, int32_t years,
                     uint32_t seed) {
    GeneticInputs inputs;
    inputs.params.populationSize = population;
    inputs.params.generations = 5;
    inputs.planetPrcText = GenPlanetText(model);
    inputs.years = years;
    inputs.maxFactor = criterion;
    inputs.seed = seed;
    return inputs;
}

// The snapshot's figures, templates and work list, invested sums to the last bit.
std::string Describe(s_GeneticState& s) {
    std::ostringstream text;
    text << s.GenResPrc << ' ' << s.GenResMen << ' ' << s.GenResResource << ' ' << s.GenResFabr
         << ' ' << s.GenResMine << std::hexfloat;
    for (int i = 0; i < 3; ++i)
        text << ' ' << s.GenResMineral[i] << '/' << s.GenResConPrc[i];
    for (LIST_ITEM* list : {&s.GenQueueMinus, &s.GenQueuePlus, &s.GenBuildList}) {
        text << " |";
        for (const QueueItem* item = list->First(); item != nullptr; item = list->Next())
            text << ' ' << item->kind << ':' << item->unitCost << ':' << item->count << ':'
                 << item->invested;
    }
    text << '\n';
    return text.str();
}

// What the snapshot holds after every generation, then the results of the run.
std::string Trace(const GeneticInputs& inputs, int32_t prc, int32_t threads) {
    auto model = Planet(prc);
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
        int32_t prc, criterion, population, years, elitePercent;
    } cases[] = {
        {"habitable, resources", 60, 2, 30, 10, 5},
        {"negative, terraforming", -20, 0, 40, 12, 5},
        {"negative, minerals", -45, 5, 25, 10, 5},
        {"habitability 0, factories", 0, 3, 20, 8, 5},
        {"habitable, population, no elite", 30, 1, 50, 8, 1},
        {"fewer individuals than threads", 60, 4, 3, 10, 5},
        {"a single individual", -10, 2, 1, 6, 5},
    };
    for (const Case& c : cases)
        for (const uint32_t seed : {1U, 77U, 4000000000U}) {
            GeneticInputs inputs = Search(*Planet(c.prc), c.criterion, c.population, c.years, seed);
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
    auto model = Planet(-20);
    const GeneticInputs inputs = Search(*model, 2, 200, 30, 9);
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
    const GeneticResults stopped = run.Run(*model, Search(*model, 2, 999, 50, 9));
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.generationsDone, 1);
    EXPECT_LT(stopped.evaluations, 999) << "the workers stopped within the first generation";
    // The result area shows one simulated individual: its templates give its figures.
    RunGenSimulation(*model);
    const s_GeneticState& a = model->GeneticState;
    EXPECT_EQ((std::vector<int64_t>{a.GenResPrc, a.GenResMen, a.GenResResource, a.GenResFabr,
                                    a.GenResMine, a.GenResMineral[0]}),
              (std::vector<int64_t>{stopped.planetPrc, stopped.men, stopped.resource, stopped.fabr,
                                    stopped.mine, stopped.mineral[0]}));
}

} // namespace
} // namespace quendal
