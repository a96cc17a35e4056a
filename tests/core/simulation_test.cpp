#include "model/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/habitability.h"
#include "model/output.h"
#include "tests/support/search_setup.h"

namespace quendal {
namespace {

using simtest::Element;
using simtest::Fill;
using simtest::TypicalRace;

std::unique_ptr<CalcModel> NoRace() {
    return std::make_unique<CalcModel>();
}

std::vector<YearResult> Rows(CalcModel& model, const StartConditions& start,
                             DisplayFlags* flags = nullptr) {
    std::vector<YearResult> rows;
    const DisplayFlags shown =
        RunCalculation(model, start, [&rows](const YearResult& row) { rows.push_back(row); });
    if (flags)
        *flags = shown;
    return rows;
}

StartConditions Start(int32_t men, int32_t prc, int32_t years, int32_t growth = 15) {
    StartConditions start;
    start.StartMen = men;
    start.StartPrc = prc;
    start.Years = years;
    start.MenYearPrc = growth;
    return start;
}

// Without a race the yearly population step alone applies. Habitability 0 loses one more
// colonist than the exact 0.1 % because 0.1 as a double lies above 0.1 and the remainder is
// formed in extended precision; habitability 3 counts as 5.
TEST(RunCalculation, YearlyPopulationStep) {
    struct Case {
        const char* name;
        int32_t men, prc;
        std::vector<int64_t> expected;
    } cases[] = {
        {"growth at 100 %", 250, 100, {25000, 28750, 33062, 38021, 43724, 50282}},
        {"die-off at -20 %", 250, -20, {25000, 20000, 16000, 12800}},
        {"die-off at 0 %", 250, 0, {25000, 24974, 24949, 24924}},
        {"over capacity at 3 %", 600, 3, {60000, 58000, 56720, 55817}},
    };
    for (const Case& c : cases) {
        auto model = NoRace();
        const auto rows =
            Rows(*model, Start(c.men, c.prc, static_cast<int32_t>(c.expected.size()) - 1));
        ASSERT_EQ(rows.size(), c.expected.size()) << c.name;
        for (size_t y = 0; y < rows.size(); ++y) {
            EXPECT_EQ(rows[y].Year, static_cast<int32_t>(y)) << c.name;
            EXPECT_EQ(rows[y].Men, c.expected[y]) << c.name << " year " << y;
            EXPECT_EQ(rows[y].PlanetPrc, c.prc) << c.name;
            EXPECT_EQ(rows[y].Resource, 0) << c.name;
        }
    }
}

TEST(RunCalculation, FifteenYearsAtFullHabitability) {
    auto model = NoRace();
    const auto rows = Rows(*model, Start(250, 100, 15));
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[15].Men, 203409);
    // Without a race the typed habitability becomes the planet's, the factors stay.
    EXPECT_EQ(model->Planet.PlanetPrc, 100);
}

// On a -20 % planet whose negative template holds only a minimum-terraforming element the
// colonists die off ten times slower while a step is paid for, and the habitability rises
// step by step until the planet becomes habitable.
TEST(RunCalculation, MinTerraformOnHostilePlanet) {
    auto terraforming = TypicalRace(-20);
    Fill(terraforming->QueueMinus, {Element(MinTerraform, 1, 100)});
    const auto rows = Rows(*terraforming, Start(2500, -20, 15));
    auto idle = TypicalRace(-20);
    Fill(idle->QueueMinus, {Element(Mines, 5, 5)}); // no operable mine: nothing is ever paid
    const auto idleRows = Rows(*idle, Start(2500, -20, 1));

    EXPECT_NEAR(static_cast<double>(rows[1].Men), 250000 * (1 - 0.02), 250);
    EXPECT_NEAR(static_cast<double>(idleRows[1].Men), 250000 * (1 - 0.2), 5000);
    for (size_t y = 1; y < rows.size(); ++y)
        EXPECT_GE(rows[y].PlanetPrc, rows[y - 1].PlanetPrc) << "year " << y;
    EXPECT_GT(rows.back().PlanetPrc, 0);
    EXPECT_EQ(rows.back().Fabr, 0);
}

TEST(RunCalculation, DisplayFlagsFollowTemplatesAndInstalled) {
    auto model = TypicalRace(100);
    DisplayFlags flags;
    Fill(model->QueueMinus, {Element(MinTerraform, 1, 100)});
    Rows(*model, Start(250, 100, 1), &flags);
    EXPECT_FALSE(flags.ShowFactories);
    EXPECT_FALSE(flags.ShowMines);

    Fill(model->QueuePlus, {Element(Factories, 5, 10)});
    Rows(*model, Start(250, 100, 1), &flags);
    EXPECT_TRUE(flags.ShowFactories);
    EXPECT_FALSE(flags.ShowMines);

    model->Planet.PlanetMine = 3;
    const auto rows = Rows(*model, Start(250, 100, 1), &flags);
    EXPECT_TRUE(flags.ShowMines);
    EXPECT_EQ(rows[0].Mine, 3);
}

// A typed start habitability other than the planet's derives the factors anew; the row shows
// the habitability reached, the capacity stays that of the typed value.
TEST(RunCalculation, StartHabitabilityDerivesFactors) {
    auto model = TypicalRace(100);
    Fill(model->QueuePlus, {Element(Mines, 5, 5)});
    const auto rows = Rows(*model, Start(250, 37, 0));
    int32_t env[3];
    std::copy(model->Planet.PlanetEnv, model->Planet.PlanetEnv + 3, env);
    EXPECT_EQ(model->Planet.PlanetPrc, rows[0].PlanetPrc);
    EXPECT_LE(rows[0].PlanetPrc, 37);
    EXPECT_EQ(CalcPlanetPrc(model->Race, env), rows[0].PlanetPrc);
    // Untouched defaults of the minerals table: 100 % shows as 100, 60 % as 59.
    EXPECT_EQ(rows[0].ConPrc[0], 100);
    EXPECT_EQ(rows[0].Mineral[2], 500);
    EXPECT_EQ(rows[0].Resource, 25);
}

// Colonists and capacity are 64-bit, and colonists never fall below zero.
TEST(RunCalculation, LargeAndHostileStartValues) {
    struct Case {
        const char* name;
        int32_t men, prc;
        int64_t year0;
        double year1;
    } cases[] = {
        {"start colonists at the 32-bit limit", INT32_MAX, 100000000, 214748364700,
         214748364700.0 * 150001},
        {"habitability far beyond 100", 250, 1000000, 25000, 25000 + 25000 * 1500},
        {"far over capacity: the loss would exceed the colonists", INT32_MAX, 100, 214748364700, 0},
        {"many times the capacity", 30000, 5, 3000000, 0},
        {"habitability far below -75", 250, -1000000, 25000, 0},
        {"habitability at the 32-bit floor", 250, INT32_MIN, 25000, 0},
        {"a negative start", -5, 100, 0, 0},
    };
    for (const Case& c : cases) {
        auto model = NoRace();
        const auto rows = Rows(*model, Start(c.men, c.prc, 1));
        ASSERT_EQ(rows.size(), 2u) << c.name;
        EXPECT_EQ(rows[0].Men, c.year0) << c.name;
        EXPECT_NEAR(static_cast<double>(rows[1].Men), c.year1, c.year1 * 1e-15) << c.name;
    }
}

// Sub-steps with huge colonists and rates: the loss product is formed in long double and
// every truncation saturates instead of overflowing.
TEST(RunCalculation, HugeValuesInSubSteps) {
    auto model = TypicalRace(-75);
    Fill(model->QueueMinus, {Element(Factories, 50, 10)});
    const auto rows = Rows(*model, Start(INT32_MAX, -75, 1));
    const double kept = static_cast<double>(rows[1].Men) / 214748364700.0;
    EXPECT_NEAR(kept, std::pow(1 - 0.003, 250), 1e-3);

    auto fast = TypicalRace(100);
    fast->Race.NFactoryWork10000 = INT32_MAX;
    Fill(fast->QueuePlus, {Element(Factories, INT32_MAX, 1)});
    const auto fastRows = Rows(*fast, Start(30000, 100, 4, INT32_MAX));
    for (const YearResult& row : fastRows) {
        EXPECT_GE(row.Men, 0) << row.Year;
        EXPECT_GE(row.Fabr, 0) << row.Year;
        EXPECT_GE(row.Mineral[0], 0) << row.Year;
    }
}

// Installed counts, concentrations, surface minerals and the race's operator rates and
// yields below zero mean none: the rows, the display flags and the headless figures are
// those of 0, never negative.
TEST(RunCalculation, ValuesBelowZeroCountAsNone) {
    const struct Case {
        const char* name;
        void (*set)(CalcModel&, int32_t);
    } cases[] = {
        {"installed factories", [](CalcModel& m, int32_t v) { m.Planet.PlanetFabr = v; }},
        {"installed mines", [](CalcModel& m, int32_t v) { m.Planet.PlanetMine = v; }},
        {"concentration", [](CalcModel& m, int32_t v) { m.Planet.PlanetConPrc[1] = v; }},
        {"surface mineral", [](CalcModel& m, int32_t v) { m.Planet.PlanetMineral[2] = v; }},
        {"factories operated", [](CalcModel& m, int32_t v) { m.Race.NFactoryWork10000 = v; }},
        {"mines operated", [](CalcModel& m, int32_t v) { m.Race.NMineWork10000 = v; }},
        {"factory yield", [](CalcModel& m, int32_t v) { m.Race.NResourceYFrom10Factory = v; }},
        {"mine yield", [](CalcModel& m, int32_t v) { m.Race.NMineralYFrom10Mine = v; }},
    };
    const std::vector<QueueItem> plus = {Element(Factories, 50, 10), Element(Mines, 50, 5)};
    for (const Case& c : cases) {
        for (int32_t below : {-5, INT32_MIN}) {
            std::vector<YearResult> rows[2];
            DisplayFlags flags[2];
            PlanetFigures figures[2];
            for (int k = 0; k < 2; ++k) {
                auto model = TypicalRace(40);
                CalcModel& m = *model;
                m.Planet.PlanetFabr = m.Planet.PlanetMine = 20;
                c.set(m, k == 0 ? below : 0);
                Fill(m.QueuePlus, plus);
                Fill(m.GeneticState.GenQueuePlus, plus);
                GeneticInputs task = simtest::SearchTask(m, Criterion::Resources, 1, 1, 1);
                task.startMen = 2500;
                task.years = 8;
                FillSnapshot(m, task);
                figures[k] = RunGenSimulation(m).figures;
                rows[k] = Rows(m, Start(2500, m.Planet.PlanetPrc, 8), &flags[k]);
            }
            EXPECT_EQ(rows[0], rows[1]) << c.name << " " << below;
            EXPECT_EQ(flags[0].ShowFactories, flags[1].ShowFactories) << c.name << " " << below;
            EXPECT_EQ(flags[0].ShowMines, flags[1].ShowMines) << c.name << " " << below;
            EXPECT_EQ(figures[0], figures[1]) << c.name << " " << below;
        }
    }
}

// The rows of a calculation formatted as the tables show them.
TEST(RunCalculation, FirstRowsAsTheTablesShowThem) {
    auto noRace = NoRace();
    EXPECT_EQ(DataTableLine(Rows(*noRace, Start(250, 100, 0))[0]),
              "   0 | 100 |   25000 |     0 |     0 |    0");

    // A race with untouched defaults: 100 % concentrations, no minerals, no templates.
    auto race = TypicalRace(100);
    for (int i = 0; i < 3; ++i) {
        race->Planet.PlanetConPrc[i] = 100;
        race->Planet.PlanetMineral[i] = 0;
    }
    const YearResult first = Rows(*race, Start(250, race->Planet.PlanetPrc, 0))[0];
    EXPECT_EQ(MineralLine(first), "  0 100/100/100 0/0/0          0/0/0");
    EXPECT_EQ(first.Resource, 25);
}

TEST(FabrLimit, OperatorsAndScarcestMineral) {
    struct Case {
        const char* name;
        int64_t fabr, workable;
        double surf[3];
        int64_t expected;
    } cases[] = {
        {"3 kT of one mineral allow 1", 0, 100, {500, 3, 500}, 1},
        {"operators limit", 40, 50, {500, 500, 500}, 10},
        {"all operated", 50, 50, {500, 500, 500}, 0},
        {"more built than operated", 60, 50, {500, 500, 500}, 0},
        {"no minerals", 0, 100, {0, 500, 500}, 0},
        {"half a kT rounds away", 0, 100, {500, 500, 1.9}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FabrLimit(c.fabr, c.workable, c.surf), c.expected) << c.name;
}

// The headless run leaves the state that the displayed calculation shows in the row of
// year GenLYear for the same inputs.
TEST(RunGenSimulation, MatchesDisplayedRowOfLastYear) {
    for (int32_t startPrc : {-20, 40}) {
        auto model = TypicalRace(startPrc);
        CalcModel& m = *model;
        const std::vector<QueueItem> minus = {Element(MinTerraform, 1, 100)};
        const std::vector<QueueItem> plus = {Element(Factories, 50, 10), Element(Mines, 50, 5),
                                             Element(MaxTerraform, 5, 100)};
        Fill(m.QueueMinus, minus);
        Fill(m.QueuePlus, plus);
        Fill(m.GeneticState.GenQueueMinus, minus);
        Fill(m.GeneticState.GenQueuePlus, plus);
        GeneticInputs task = simtest::SearchTask(m, Criterion::Resources, 1, 1, 1);
        task.startMen = 2500;
        FillSnapshot(m, task);
        const s_GeneticState& gen = m.GeneticState;

        RunGenSimulation(m);
        const auto rows = Rows(m, Start(2500, m.Planet.PlanetPrc, gen.GenLYear));
        const YearResult& last = rows.back();
        EXPECT_EQ(gen.GenResPrc, last.PlanetPrc) << startPrc;
        EXPECT_EQ(gen.GenResMen, last.Men) << startPrc;
        EXPECT_EQ(gen.GenResResource, last.Resource) << startPrc;
        EXPECT_EQ(gen.GenResFabr, last.Fabr) << startPrc;
        EXPECT_EQ(gen.GenResMine, last.Mine) << startPrc;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(gen.GenResConPrc[i], last.ConPrc[i]) << startPrc << " mineral " << i;
            EXPECT_EQ(gen.GenResMineral[i], last.Mineral[i]) << startPrc << " mineral " << i;
        }
        // The run did something worth comparing.
        EXPECT_GT(last.Fabr, 0) << startPrc;
        EXPECT_GT(last.Mine, 0) << startPrc;
        EXPECT_GT(last.PlanetPrc, 0) << startPrc;
    }
}

} // namespace
} // namespace quendal
