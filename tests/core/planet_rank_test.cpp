// A ranking in the background (the window's; under ThreadSanitizer too) ends with its rows,
// and a stop ends a long searched ranking at once.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "optimiser/planet_rank.h"
#include "tests/support/model_fixtures.h"

namespace quendal {
namespace {

// `count` planets searched on two threads, their factors and colonists varying.
RankTask SearchedRanking(const CalcModel& base, int32_t count, int32_t generations) {
    RankSettings settings;
    settings.params.populationSize = 20;
    settings.params.generations = generations;
    settings.seed = 5;
    RankTask task;
    task.search = true;
    task.threads = 2;
    for (int32_t i = 0; i < count; ++i)
        task.entries.push_back("Planet " + std::to_string(i));
    task.prepare = [&base, settings](int32_t index, CalcModel& model) {
        model = base;
        const int32_t m = 250 + 50 * index;
        const PlanetEntry entry = {
            {30 + 7 * index, 50, 20 + 9 * index}, {60, 40, 80}, {300, 300, 300}, m, 0, 0};
        return SetUpListPlanet(model, entry, settings);
    };
    return task;
}

TEST(BackgroundRank, EndsWithItsRowsAndAStopEndsItAtOnce) {
    using Clock = std::chrono::steady_clock;
    const auto base = simtest::MakeRace({15, 0, 35}, {86, 100, 64}, 15);

    const RankTask task = SearchedRanking(*base, 5, 3);
    BackgroundRank background(task);
    while (!background.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(background.progress().done, 5);
    EXPECT_FALSE(background.stopped());
    EXPECT_EQ(background.TakeRows().size(), 5u);

    // Searches far too long to end on their own.
    BackgroundRank endless(SearchedRanking(*base, 4, 1000000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Clock::time_point stop = Clock::now();
    endless.Stop();
    while (!endless.finished() && Clock::now() - stop < std::chrono::seconds(2))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(endless.finished());
    EXPECT_TRUE(endless.stopped());
    EXPECT_EQ(endless.TakeRows().size(), 4u);
}

} // namespace
} // namespace quendal
