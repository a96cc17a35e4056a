#include "model/shared_runs.h"

#include <gtest/gtest.h>

#include <vector>

#include "optimiser/search.h"
#include "tests/support/search_setup.h"

namespace quendal {
namespace {

// Every run of a search, taken up from where earlier runs stood, ends as a run of its own
// would, to the bit: on planets that stay habitable, that are terraformed to habitable and
// that stay hostile, and in runs long enough that templates wrap.
TEST(SharedRuns, ASearchsRunsEndAsFreshRuns) {
    struct Case {
        int32_t prc, years;
    };
    for (const Case c : {Case{100, 15}, Case{60, 15}, Case{5, 40}, Case{-20, 20}}) {
        auto model = simtest::TypicalPlanet(c.prc);
        GeneticInputs task = simtest::SearchTask(*model, Criterion::Resources, 1, 1, 1);
        task.years = c.years;
        FillSnapshot(*model, task);
        const GenSimInputs inputs = GenSimInputs::Of(*model);
        std::vector<CandidateOutcome> outcomes;
        SearchControl control;
        control.onEvaluated = [&outcomes](const CandidateOutcome& o) { outcomes.push_back(o); };
        std::vector<GeneDesc> table = BuildGeneTable(c.prc <= 0, 30);
        QueueSearch engine(inputs, control, c.prc <= 0, 40, table, 5);
        for (int generation = 0; generation < 6; ++generation)
            ASSERT_TRUE(engine.NextGeneration());
        int64_t simulated = 0;
        for (const CandidateOutcome& o : outcomes) {
            GenSimResults fresh;
            RunGenSimulation(inputs, o.minus.items, o.minus.count, o.plus.items, o.plus.count,
                             fresh);
            ASSERT_EQ(o.results.figures, fresh.figures) << c.prc;
            ASSERT_EQ(o.results.hasOrder, fresh.hasOrder) << c.prc;
            ASSERT_EQ(o.results.order, fresh.order) << c.prc;
            simulated += int64_t{c.years} * kSubStepsPerYear;
        }
        // Runs were taken up, not simulated whole.
        EXPECT_LT(10 * engine.simulatedSubSteps(), 9 * simulated) << c.prc;
    }
}

// Templates that agree on what one of them has read whole, of which that one ends there and
// wraps where the other reads on.
TEST(SharedRuns, ATemplateThatEndsIsNotTakenForOneThatGoesOn) {
    const auto item = [](int32_t kind, int32_t count) {
        QueueItem element;
        element.kind = kind;
        element.unitCost = kind == Factories ? 10 : 5;
        element.count = count;
        return element;
    };
    const std::vector<QueueItem> pairs[][2] = {
        {{item(Mines, 1)}, {item(Mines, 1), item(Factories, 5)}},
        {{item(Factories, 2), item(Mines, 3)},
         {item(Factories, 2), item(Mines, 3), item(Mines, 9)}},
    };
    auto model = simtest::TypicalPlanet(100);
    FillSnapshot(*model, simtest::SearchTask(*model, Criterion::Resources, 1, 1, 1));
    const GenSimInputs inputs = GenSimInputs::Of(*model);
    for (const auto& pair : pairs) {
        SharedRuns shared(inputs);
        for (const std::vector<QueueItem>& plus : pair) {
            GenSimResults fresh, taken;
            const int32_t n = static_cast<int32_t>(plus.size());
            RunGenSimulation(inputs, nullptr, 0, plus.data(), n, fresh);
            shared.Run(nullptr, 0, plus.data(), n, taken);
            EXPECT_EQ(taken.figures, fresh.figures) << n;
        }
    }
}

} // namespace
} // namespace quendal
