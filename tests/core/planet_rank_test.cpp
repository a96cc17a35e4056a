// A ranking in the background (the window's; under ThreadSanitizer too) ends with its rows,
// a stop ends a long searched ranking at once, and a stopped ranking holds only real rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
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

    RankTask task = SearchedRanking(*base, 5, 10);
    std::atomic<int> reports{0}; // the caller's own progress, besides progress()
    task.onProgress = [&reports](const RankProgress&) { ++reports; };
    BackgroundRank background(task);
    while (!background.finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(background.progress().done, 5);
    EXPECT_GT(background.progress().elapsedMs, 0);
    EXPECT_EQ(background.progress().remainingMs, 0); // nothing remains once all have ended
    EXPECT_EQ(reports, 5);
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
    EXPECT_TRUE(endless.TakeRows().empty()); // no search ended
}

// Stopped while planet 2 is set up: a calculation of it still ends, a search of it is cut
// short. The planets that ended are ranked among themselves, as in the whole ranking.
TEST(RankPlanets, AStopRanksOnlyThePlanetsThatEnded) {
    const auto base = simtest::MakeRace({15, 0, 35}, {86, 100, 64}, 15);
    std::map<int32_t, int32_t> startPrc; // by planet, as the calculation shows it
    for (const bool search : {false, true}) {
        RankTask task = SearchedRanking(*base, 5, 3);
        task.search = search;
        task.threads = 1;
        const std::vector<RankedPlanet> whole = RankPlanets(task);
        for (const RankedPlanet& row : whole) // a search starts where the calculation does
            if (search)
                EXPECT_EQ(row.startPrc, startPrc.at(row.index)) << row.index;
            else
                startPrc[row.index] = row.startPrc;

        std::atomic<bool> stop{false};
        std::vector<int32_t> ended; // the planets set up, in turn
        task.stop = &stop;
        task.prepare = [&, prepare = task.prepare](int32_t index, CalcModel& model) {
            ended.push_back(index);
            stop = stop || index == 2;
            return prepare(index, model);
        };
        const std::vector<RankedPlanet> rows = RankPlanets(task);
        if (search)
            ended.pop_back();
        ASSERT_LT(ended.size(), 5u);
        std::vector<std::vector<std::string>> expected;
        for (RankedPlanet row : whole)
            if (std::count(ended.begin(), ended.end(), row.index) > 0) {
                row.rank = static_cast<int32_t>(expected.size() + 1);
                expected.push_back(RankRowFields(row, search, ',', "-", Language()));
            }
        std::vector<std::vector<std::string>> shown;
        for (const RankedPlanet& row : rows)
            shown.push_back(RankRowFields(row, search, ',', "-", Language()));
        EXPECT_EQ(shown, expected) << (search ? "search" : "calculation");
    }
}

} // namespace
} // namespace quendal
