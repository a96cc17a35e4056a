#include "model/simulation.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/habitability.h"

namespace quendal {
namespace {

// The model holds lists and cannot be copied, so tests hold it by pointer.
std::unique_ptr<CalcModel> NoRace() {
    return std::make_unique<CalcModel>();
}

// A typical race: bounds 15..86, 0..100, 35..64, growth 15 %, the default economy but for a
// mine cost of 5; a planet with 500 kT of each mineral at concentrations 100/60/30.
std::unique_ptr<CalcModel> TypicalRace(int32_t startPrc) {
    auto made = std::make_unique<CalcModel>();
    CalcModel& m = *made;
    RaceParams& r = m.Race;
    r.Env0Min = 15;
    r.Env0Max = 86;
    r.Env1Min = 0;
    r.Env1Max = 100;
    r.Env2Min = 35;
    r.Env2Max = 64;
    r.DeriveOptimum();
    r.MaxGrowthYRate = 15;
    r.NColonistYTo1Resource = 1000;
    r.NResourceYFrom10Factory = 10;
    r.NResourceBuildFactory = 10;
    r.NFactoryWork10000 = 10;
    r.NResourceBuildMine = 5;
    r.NMineWork10000 = 10;
    r.NMineralYFrom10Mine = 10;
    PlanetParams& p = m.Planet;
    const int32_t conPrc[3] = {100, 60, 30};
    for (int i = 0; i < 3; ++i) {
        p.MaxTFormPrc[i] = 11;
        p.PlanetConPrc[i] = conPrc[i];
        p.PlanetMineral[i] = 500;
    }
    p.PlanetPrc = startPrc;
    SetEnvForPrc(m);
    m.RaceLoaded = true;
    return made;
}

QueueItem Element(int32_t kind, int32_t count, int32_t unitCost) {
    QueueItem item;
    item.kind = kind;
    item.count = count;
    item.unitCost = unitCost;
    return item;
}

void Fill(LIST_ITEM& list, const std::vector<QueueItem>& items) {
    list.Clear();
    for (const QueueItem& item : items)
        list.Append(&item);
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
        s_GeneticState& gen = m.GeneticState;
        gen.GenPlanetPrc = m.Planet.PlanetPrc;
        gen.GenStartMen = 2500;
        gen.GenMenYearPrc = 15;
        gen.GenLYear = 15;
        std::copy(m.Planet.PlanetEnv, m.Planet.PlanetEnv + 3, gen.GenPlanetEnv);
        TFormTarget(m, gen.GenPlanetEnv, gen.GenTFormTarget);
        gen.GenTFormPrc = CalcTFormPrc(m, gen.GenPlanetEnv);

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
