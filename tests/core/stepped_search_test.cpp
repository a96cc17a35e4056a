#include "optimiser/stepped_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/search_setup.h"

namespace quendal {
namespace {

using simtest::Describe;
using simtest::TypicalPlanet;

// What the snapshot holds after every generation, then the results: of Run, one by one.
std::string RunTrace(const GeneticInputs& inputs, int32_t prc) {
    auto model = TypicalPlanet(prc);
    GeneticRun run;
    std::string trace;
    run.onProgress = [&](const GeneticProgress&) { trace += Describe(model->GeneticState); };
    const GeneticResults r = run.Run(*model, inputs);
    return trace + Describe(model->GeneticState) + std::to_string(r.evaluations);
}

// The same search driven from outside, as the page drives it: each generation's pending list
// cut into `chunks` parts; the parts before the last are scored by a helper's evaluator on a
// model of its own, in the order `reversed` chooses; the last part by the search itself. The
// helper's evaluator also shows the individual simulated last as the search left it.
std::string DrivenTrace(const GeneticInputs& inputs, int32_t prc, int32_t chunks, bool reversed) {
    auto model = TypicalPlanet(prc);
    auto helperModel = TypicalPlanet(prc);
    const BatchEvaluator helper(*helperModel, inputs);
    SteppedSearch search(*model, inputs, SearchControl{});
    std::string trace;
    while (search.generationsDone() < search.generations()) {
        const auto n = static_cast<int32_t>(search.BeginGeneration().size());
        const int32_t size = (n + chunks - 1) / chunks;
        const int32_t own = n - std::min(n, size * (chunks - 1)); // the tail, evaluated here
        std::vector<int32_t> firsts;
        for (int32_t first = 0; first < n - own; first += size)
            firsts.push_back(first);
        if (reversed)
            std::reverse(firsts.begin(), firsts.end());
        for (const int32_t first : firsts) {
            const int32_t count = std::min(size, n - own - first);
            const std::vector<uint8_t> bytes = search.PendingChromosomes(first, count);
            const std::vector<double> scores = helper.ScoreBatch(bytes.data(), bytes.size());
            EXPECT_EQ(scores.size(), static_cast<size_t>(count));
            for (int32_t k = 0; k < count; ++k)
                search.TakeScore(first + k, scores[static_cast<size_t>(k)]);
        }
        EXPECT_TRUE(search.EvaluatePending(n - own, own));
        if (n > 0) { // what an interrupt shows: the last one simulated, simulated again
            const std::vector<uint8_t> last = search.PendingChromosomes(n - 1, 1);
            helper.Show(last.data(), helperModel->GeneticState);
            EXPECT_EQ(Describe(helperModel->GeneticState), Describe(model->GeneticState));
        }
        search.EndGeneration(true);
        trace += Describe(model->GeneticState);
    }
    const GeneticResults r = search.Finish();
    return trace + Describe(model->GeneticState) + std::to_string(r.evaluations);
}

TEST(SteppedSearch, ScoresFromOutsideInAnyChunkOrderGiveTheRunsSearch) {
    for (const int32_t prc : {60, -20})
        for (const uint32_t seed : {3U, 4000000000U}) {
            const GeneticInputs inputs =
                simtest::SearchTask(*TypicalPlanet(prc), Criterion::Resources, 30, 6, seed);
            const std::string reference = RunTrace(inputs, prc);
            for (const int32_t chunks : {1, 2, 5})
                for (const bool reversed : {false, true})
                    EXPECT_EQ(DrivenTrace(inputs, prc, chunks, reversed), reference)
                        << "planet " << prc << ", seed " << seed << ", " << chunks << " chunks"
                        << (reversed ? ", reversed" : "");
        }
}

} // namespace
} // namespace quendal
