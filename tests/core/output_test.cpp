#include "model/field_specs.h"
#include "model/output.h"
#include "tests/support/model_fixtures.h"

#include <gtest/gtest.h>

#include <vector>

namespace quendal {
namespace {

YearResult Row(int32_t year, int32_t prc, int64_t men, int64_t resource, int32_t fabr,
               int32_t mine) {
    YearResult row;
    row.Year = year;
    row.PlanetPrc = prc;
    row.Men = men;
    row.Resource = resource;
    row.Fabr = fabr;
    row.Mine = mine;
    return row;
}

TEST(DataTableLine, Columns) {
    struct Case {
        const char* name;
        YearResult row;
        const char* expected;
    } cases[] = {
        {"first year without a race", Row(0, 100, 25000, 0, 0, 0),
         "   0 | 100 |   25000 |     0 |     0 |    0"},
        {"negative habitability", Row(12, -20, 1234567, 3210, 250, 75),
         "  12 | -20 | 1234567 |  3210 |   250 |   75"},
        {"wider figures push the columns", Row(999, 1, 21474836470000, 123456, 10000, 100000),
         " 999 |   1 | 21474836470000 | 123456 | 10000 |100000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataTableLine(c.row), c.expected) << c.name;
}

TEST(MineralLine, ThreeTextsOfThreeMinerals) {
    YearResult defaults = Row(0, 100, 25000, 25, 0, 0);
    for (int i = 0; i < 3; ++i)
        defaults.ConPrc[i] = 100;
    EXPECT_EQ(MineralLine(defaults), "  0 100/100/100 0/0/0          0/0/0");

    YearResult mined = Row(15, 90, 374460, 647, 273, 250);
    const int32_t conPrc[3] = {97, 58, 29};
    const int64_t yearly[3] = {487, 292, 146}, surface[3] = {3025, 1796, 874};
    for (int i = 0; i < 3; ++i) {
        mined.ConPrc[i] = conPrc[i];
        mined.MineralYear[i] = yearly[i];
        mined.Mineral[i] = surface[i];
    }
    EXPECT_EQ(MineralLine(mined), " 15 97/58/29    487/292/146    3025/1796/874");

    // Large surface amounts are shown whole, not cut to 32 bits.
    mined.Mineral[0] = 5000000000;
    EXPECT_EQ(MineralLine(mined), " 15 97/58/29    487/292/146    5000000000/1796/874");
}

std::vector<int32_t> PlottedYears(int32_t lastYear) {
    std::vector<int32_t> years;
    for (int32_t year = 0; year <= lastYear; ++year)
        if (IsPlottedYear(year, lastYear))
            years.push_back(year);
    return years;
}

TEST(IsPlottedYear, AboutFortyPointsWhateverTheYears) {
    struct Case {
        int32_t lastYear;
        size_t count;
        int32_t every;
    } cases[] = {{15, 16, 1}, {40, 21, 2}, {100, 35, 3}, {999, 41, 25}, {1, 2, 1}};
    for (const Case& c : cases) {
        const std::vector<int32_t> years = PlottedYears(c.lastYear);
        ASSERT_EQ(years.size(), c.count) << "N = " << c.lastYear;
        for (size_t i = 0; i + 1 < years.size(); ++i)
            EXPECT_EQ(years[i], static_cast<int32_t>(i) * c.every) << "N = " << c.lastYear;
        EXPECT_EQ(years.back(), c.lastYear) << "N = " << c.lastYear;
    }
    // The next to last points of the long runs.
    EXPECT_EQ(PlottedYears(100)[33], 99);
    EXPECT_EQ(PlottedYears(999)[39], 975);
    EXPECT_FALSE(IsPlottedYear(998, 999));
}

// What "Расчет" shows, for the window and the page alike: which series are drawn, the points
// at the plotted years only, the minerals table only with a race, and the years kept to what
// the tables show.
TEST(CalculateView, SeriesPointsAndTablesFollowTheCalculation) {
    using namespace simtest;
    CalcModel bare; // no race: colonists only
    const CalcView alone = CalculateView(bare, {250, 100, 15, 40});
    EXPECT_EQ(alone.plotted, (std::array<bool, 5>{true, true, false, false, false}));
    EXPECT_EQ(alone.rows.size(), 41u);
    EXPECT_EQ(alone.dataLines.size(), 41u);
    EXPECT_TRUE(alone.mineralLines.empty());
    ASSERT_EQ(alone.chartPoints.size(), PlottedYears(40).size());
    EXPECT_EQ(alone.chartPoints[1][0], 2.0);
    EXPECT_EQ(alone.chartPoints.back()[2], static_cast<double>(alone.rows.back().Men) * 0.001);
    EXPECT_EQ(CalculateView(bare, {250, 100, 15, 20000}).rows.size(), size_t{kMaxShownYears} + 1);

    const auto race = TypicalRace(100);
    Fill(race->QueuePlus, {Element(Factories, 10, 10)}); // factories but no mines
    const CalcView view = CalculateView(*race, {250, 100, 15, 15});
    EXPECT_EQ(view.plotted, (std::array<bool, 5>{true, true, true, true, false}));
    EXPECT_EQ(view.mineralLines.size(), 16u);
    EXPECT_EQ(view.chartPoints.back()[4], view.rows.back().Fabr);
}

// A row's fields share their stem's entry; a name outside the table is a fault of the caller.
TEST(FieldOf, ByNameOrStem) {
    EXPECT_EQ(FieldOf("editPlanetEnv2").spin.maximum, 100);
    EXPECT_EQ(FieldOf("editStartPlanetPrc").spin.minimum, -75);
    EXPECT_EQ(FieldOf("editPlanetMineral3").spin.step, 100);
    EXPECT_THROW(FieldOf("editPlanet"), std::out_of_range);
    EXPECT_THROW(FieldOf("123"), std::out_of_range);
}

} // namespace
} // namespace quendal
