#include "optimiser/genetic_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/habitability.h"
#include "model/simulation.h"
#include "optimiser/search.h"
#include "tests/support/search_setup.h"

namespace quendal {
namespace {

using simtest::Fill;
using simtest::TypicalPlanet;

GeneticInputs SmallSearch(const CalcModel& model, Criterion criterion, uint32_t seed) {
    return simtest::SearchTask(model, criterion, 30, 6, seed);
}

// Score of the templates now in the snapshot.
double SimulatedScore(CalcModel& model, Criterion criterion) {
    return SearchScore(RunGenSimulation(model).figures, criterion);
}

TEST(FillSnapshot, CopiesTheTaskAndThePlanet) {
    auto model = TypicalPlanet(60);
    model->Planet.PlanetEnv[0] = 30; // optimum 50: within 11 of 41
    model->Planet.PlanetEnv[1] = 50; // at its optimum
    model->Planet.PlanetEnv[2] = 90; // optimum 50: moved 11 toward it
    model->Planet.MaxTFormPrc[1] = 14;
    model->Planet.PlanetFabr = 12;
    model->Planet.PlanetMine = 34;
    GeneticInputs inputs;
    inputs.planetPrc = -20;
    inputs.years = 25;
    inputs.startMen = 777;
    inputs.menYearPrc = 17;
    inputs.criterion = Criterion::Mines;
    FillSnapshot(*model, inputs);
    const s_GeneticState& state = model->GeneticState;
    EXPECT_EQ(state.GenPlanetPrc, -20);
    EXPECT_EQ(state.GenLYear, 25);
    EXPECT_EQ(state.GenStartMen, 777);
    EXPECT_EQ(state.GenMenYearPrc, 17);
    EXPECT_EQ(state.GenMaxFactor, Criterion::Mines);
    EXPECT_EQ(state.GenPlanetFabr, 12);
    EXPECT_EQ(state.GenPlanetMine, 34);
    EXPECT_EQ(state.GenMaxTFormStep, 14);
    const int32_t env[3] = {30, 50, 90}, target[3] = {41, 50, 79};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(state.GenPlanetEnv[i], env[i]);
        EXPECT_EQ(state.GenTFormTarget[i], target[i]);
    }
    EXPECT_EQ(state.GenTFormPrc, CalcPlanetPrc(model->Race, target));

    for (int i = 0; i < 3; ++i)
        model->Planet.MaxTFormPrc[i] = -3;
    inputs.years = 2000000000;
    FillSnapshot(*model, inputs);
    EXPECT_EQ(state.GenLYear, kMaxSearchYears);
    EXPECT_EQ(state.GenMaxTFormStep, 0) << "never below 0";
}

TEST(GeneticRun, SameSeedSameOutcomeOtherSeedOtherSearch) {
    const auto outcome = [](uint32_t seed) {
        auto model = TypicalPlanet(60);
        GeneticRun run;
        const GeneticResults r = run.Run(*model, SmallSearch(*model, Criterion::Resources, seed));
        const PlanetFigures& f = r.figures;
        std::vector<std::string> lines = r.queuePlusLines;
        lines.push_back(std::to_string(f.men) + " " + std::to_string(f.resource) + " " +
                        std::to_string(f.fabr) + " " + std::to_string(f.mine) + " " +
                        std::to_string(f.mineral[0]) + " " + std::to_string(r.evaluations));
        return lines;
    };
    const std::vector<std::string> first = outcome(7);
    EXPECT_EQ(first, outcome(7));
    EXPECT_NE(first, outcome(8));
}

// The search, refinement included, must not end below a reasonable template made by hand;
// the snapshot must hold what the found templates really give.
TEST(GeneticRun, FindsTemplatesAtLeastAsGoodAsHandMadeOnes) {
    struct Case {
        const char* name;
        int32_t prc;
        Criterion criterion;
    } cases[] = {{"habitable, resources", 60, Criterion::Resources},
                 {"habitable, population", 60, Criterion::Population},
                 {"negative, terraforming", -20, Criterion::Terraforming},
                 {"negative, factories", -20, Criterion::Factories}};
    const int32_t kFactoryCost = 10, kMineCost = 5;
    for (const Case& c : cases) {
        auto model = TypicalPlanet(c.prc);
        const GeneticInputs inputs = SmallSearch(*model, c.criterion, 99);
        FillSnapshot(*model, inputs);
        s_GeneticState& state = model->GeneticState;
        Fill(state.GenQueueMinus, {{MinTerraform, kTerraformUnitCost, 1, 0.0}});
        Fill(state.GenQueuePlus, {{Factories, kFactoryCost, 100, 0.0},
                                  {Mines, kMineCost, 50, 0.0},
                                  {MaxTerraform, kTerraformUnitCost, 11, 0.0}});
        if (c.prc > 0)
            state.GenQueueMinus.Clear();
        const double handMade = SimulatedScore(*model, c.criterion);

        GeneticRun run;
        const GeneticResults r = run.Run(*model, inputs);
        EXPECT_EQ(r.negativePlanet, c.prc <= 0) << c.name;
        EXPECT_FALSE(r.stopped) << c.name;
        EXPECT_EQ(r.generationsDone, 6) << c.name;
        const double found = SearchScore(r.figures, c.criterion);
        EXPECT_GE(found, handMade) << c.name;
        EXPECT_EQ(r.figures.resource, state.GenResResource) << c.name;
        EXPECT_EQ(r.queuePlusLines.size(), static_cast<size_t>(state.GenQueuePlus.count()));
        EXPECT_EQ(SimulatedScore(*model, c.criterion), found)
            << c.name << ": the snapshot is consistent";
        if (c.prc > 0) {
            EXPECT_TRUE(r.queueMinusLines.empty()) << c.name;
        }
    }
}

TEST(GeneticRun, ProgressAndTimesAfterEachGeneration) {
    struct Case {
        const char* name;
        int32_t generations;
        uint32_t start;
        std::vector<int32_t> positions;
        std::vector<std::string> elapsed, remaining;
    } cases[] = {
        {"four generations, 250 ms each",
         4,
         1000,
         {65, 130, 195, 260},
         {"250 миллисек", "1 секунд", "1 секунд", "1 секунд"},
         {"1 секунд", "1 секунд", "250 миллисек", "0 миллисек"}},
        {"the tick counter wraps",
         2,
         0xFFFFFF00U,
         {130, 260},
         {"250 миллисек", "1 секунд"},
         {"250 миллисек", "0 миллисек"}},
        {"one generation", 1, 5, {260}, {"250 миллисек"}, {"0 миллисек"}},
    };
    for (const Case& c : cases) {
        auto model = TypicalPlanet(60);
        GeneticInputs inputs = SmallSearch(*model, Criterion::Resources, 1);
        inputs.params.populationSize = 10;
        inputs.params.generations = c.generations;
        GeneticRun run;
        uint32_t now = c.start;
        run.tickCount = [&now] {
            const uint32_t t = now;
            now += 250;
            return t;
        };
        std::vector<int32_t> positions;
        std::vector<std::string> elapsed, remaining;
        run.onProgress = [&](const GeneticProgress& p) {
            EXPECT_EQ(p.generationsDone, static_cast<int32_t>(positions.size()) + 1);
            positions.push_back(p.position);
            elapsed.push_back(p.elapsedText);
            remaining.push_back(p.remainingText);
        };
        run.Run(*model, inputs);
        EXPECT_EQ(positions, c.positions) << c.name;
        EXPECT_EQ(elapsed, c.elapsed) << c.name;
        EXPECT_EQ(remaining, c.remaining) << c.name;
    }
}

// The interrupt arrives while pending messages are processed before the tenth evaluation:
// nine simulations, the generation ends, and the refinement simulates nothing.
TEST(GeneticRun, StopRequestEndsTheRunWithoutFurtherSimulation) {
    auto model = TypicalPlanet(-20);
    GeneticInputs inputs = SmallSearch(*model, Criterion::Resources, 5);
    GeneticRun run;
    int messageRounds = 0;
    run.processMessages = [&] {
        EXPECT_TRUE(run.running());
        if (++messageRounds == 10)
            run.RequestStop();
    };
    int reports = 0;
    run.onProgress = [&](const GeneticProgress&) { ++reports; };
    std::vector<int> reportsAtEndStage;
    run.onEndStage = [&] {
        EXPECT_TRUE(run.running());
        reportsAtEndStage.push_back(reports);
    };
    const GeneticResults r = run.Run(*model, inputs);
    EXPECT_EQ(reportsAtEndStage, std::vector<int>{1}) << "once, after the last generation";
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(run.running());
    EXPECT_EQ(r.generationsDone, 1);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(r.evaluations, 9);
    EXPECT_EQ(r.figures.men, model->GeneticState.GenResMen) << "figures of the last simulation";

    const GeneticResults again = run.Run(*model, inputs);
    EXPECT_FALSE(again.stopped) << "a new run starts with the flag cleared";

    // A stop during the refinement, at the last round of messages, is reported too.
    int rounds = 0;
    run.processMessages = [&] { ++rounds; };
    run.Run(*model, inputs);
    const int last = rounds;
    run.processMessages = [&] {
        if (++rounds == 2 * last)
            run.RequestStop();
    };
    EXPECT_TRUE(run.Run(*model, inputs).stopped);
}

// The interrupt clicked before the first simulation: the figures and templates shown are
// still a pair of this search's, not what an earlier search left in the model.
TEST(GeneticRun, StopBeforeTheFirstSimulationShowsTheFirstCandidate) {
    auto model = TypicalPlanet(60);
    GeneticRun run;
    run.Run(*model, SmallSearch(*model, Criterion::Resources, 2));
    run.processMessages = [&] { run.RequestStop(); };
    for (int32_t prc : {60, -20}) {
        GeneticInputs inputs = SmallSearch(*model, Criterion::Mines, 2);
        inputs.planetPrc = prc;
        const GeneticResults r = run.Run(*model, inputs);
        EXPECT_TRUE(r.stopped);
        EXPECT_EQ(r.evaluations, 1);
        auto again = std::make_unique<CalcModel>(*model);
        EXPECT_EQ(RunGenSimulation(*again).figures, r.figures) << prc;
    }
}

TEST(GeneticRun, AnExceptionEndsTheRun) {
    auto model = TypicalPlanet(60);
    GeneticRun run;
    run.processMessages = [] { throw std::runtime_error("no memory"); };
    EXPECT_THROW(run.Run(*model, SmallSearch(*model, Criterion::Resources, 1)), std::runtime_error);
    EXPECT_FALSE(run.running());
}

TEST(GeneticRun, HabitabilityZeroIsSearchedAsNegative) {
    auto model = TypicalPlanet(0);
    GeneticInputs inputs = SmallSearch(*model, Criterion::Terraforming, 3);
    inputs.planetPrc = 0;
    inputs.params.generations = 2;
    GeneticRun run;
    EXPECT_TRUE(run.Run(*model, inputs).negativePlanet);
}

TEST(CopyToTemplates, FoundTemplatesReplaceTheWindowTemplates) {
    auto model = TypicalPlanet(-20);
    Fill(model->QueueMinus, {{Mines, 5, 3, 0.0}, {Mines, 5, 4, 0.0}});
    Fill(model->QueuePlus, {{Mines, 5, 3, 0.0}});
    s_GeneticState& state = model->GeneticState;
    Fill(state.GenQueueMinus, {{MaxTerraform, 100, 2, 0.0}, {MinTerraform, 100, 1, 0.0}});
    Fill(state.GenQueuePlus, {{Factories, 10, 120, 0.0}});
    CopyToTemplates(*model);
    ASSERT_EQ(model->QueueMinus.count(), 2);
    EXPECT_EQ(model->QueueMinus.At(1)->kind, MaxTerraform);
    EXPECT_EQ(model->QueueMinus.At(2)->kind, MinTerraform);
    ASSERT_EQ(model->QueuePlus.count(), 1);
    EXPECT_EQ(model->QueuePlus.At(1)->count, 120);
    EXPECT_EQ(model->QueuePlus.At(1)->unitCost, 10);
    EXPECT_EQ(state.GenQueuePlus.count(), 1) << "the found templates stay";
}

} // namespace
} // namespace quendal
