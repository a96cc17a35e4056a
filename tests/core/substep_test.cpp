#include "model/substep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "model/habitability.h"
#include "model/numbers.h"
#include "model/simulation.h"
#include "tests/support/search_setup.h"

namespace quendal {
namespace {

using simtest::Element;
using simtest::Fill;
using simtest::TypicalRace;

// A run state started from the model's planet and templates as a search starts its headless
// runs, with the given colonists. It reads the model's race, which outlives it.
void Prepare(SimState& s, CalcModel& m, double men) {
    FillSnapshot(m, simtest::SearchTask(m, Criterion::Resources, 1, 1, 1));
    s.StartHeadless(GenSimInputs::Of(m));
    s.SetRace(m.Race);
    s.men = men;
    s.minus.Load(m.QueueMinus);
    s.plus.Load(m.QueuePlus);
}

// The paid sum of the pending order, copied out of the packed record.
double Invested(const SimState& s) {
    return s.order.invested;
}

struct Placed {
    int32_t kind, count, pos;
};

// Refills the empty work list `times` times from the active template, noting each order.
std::vector<Placed> Refills(SimState& s, int times) {
    std::vector<Placed> placed;
    for (int i = 0; i < times; ++i) {
        s.hasOrder = false;
        TemplateRing& active = s.prc > 0 ? s.plus : s.minus;
        s.Refill(active, s.OperableFactories());
        placed.push_back(
            {s.hasOrder ? s.order.kind : 0, s.hasOrder ? s.order.count : 0, active.pos});
    }
    return placed;
}

void ExpectPlaced(const std::vector<Placed>& actual, const std::vector<Placed>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].kind, expected[i].kind) << "refill " << i;
        EXPECT_EQ(actual[i].count, expected[i].count) << "refill " << i;
        EXPECT_EQ(actual[i].pos, expected[i].pos) << "refill " << i;
    }
}

// At the best habitability terraforming can reach, the terraforming element has nothing to
// do and is skipped for good, so the template cycles between factories and mines.
TEST(Refill, SkipsMaxTerraformAtBestHabitability) {
    auto model = TypicalRace(100);
    Fill(model->QueuePlus,
         {Element(Factories, 50, 10), Element(Mines, 50, 5), Element(MaxTerraform, 5, 100)});
    SimState s;
    Prepare(s, *model, 1e6);
    ASSERT_GE(s.prc, s.maxHab);
    ExpectPlaced(Refills(s, 6), {{BuildFactory, 50, 2},
                                 {BuildMine, 50, 3},
                                 {BuildFactory, 50, 2},
                                 {BuildMine, 50, 3},
                                 {BuildFactory, 50, 2},
                                 {BuildMine, 50, 3}});
}

// An element placed in part or not at all stays at the cursor; later elements are placed
// meanwhile.
TEST(Refill, PartlyPlacedElementIsTakenUpAgain) {
    auto model = TypicalRace(100);
    Fill(model->QueuePlus, {Element(Factories, 50, 10), Element(Mines, 50, 5)});
    SimState s;
    Prepare(s, *model, 20000); // colonists for 20 factories and 20 mines
    ExpectPlaced(Refills(s, 1), {{BuildFactory, 20, 1}});
    s.fabr = 20; // all operable factories built
    ExpectPlaced(Refills(s, 1), {{BuildMine, 20, 1}});
    s.mine = 20;
    ExpectPlaced(Refills(s, 1), {{0, 0, 1}});
}

TEST(Refill, FactoriesLimitedByScarcestMineral) {
    auto model = TypicalRace(100);
    model->Planet.PlanetMineral[1] = 3;
    Fill(model->QueuePlus, {Element(Factories, 50, 10)});
    SimState s;
    Prepare(s, *model, 1e6);
    ExpectPlaced(Refills(s, 1), {{BuildFactory, 1, 1}});
}

// On a planet of habitability 0 or below a minimum-terraforming element orders one step of
// the factor farthest from its target, and stays at the cursor.
TEST(Refill, MinTerraformOrdersOneStepAtATime) {
    for (bool full : {false, true}) {
        auto model = TypicalRace(-20);
        model->Race.FullTForm = full;
        Fill(model->QueueMinus, {Element(MinTerraform, 1, 100), Element(Mines, 50, 5)});
        SimState s;
        Prepare(s, *model, 250000);
        const TFormChoice choice = FactorToTerraform(model->Race, s.cur, s.tgt);
        ASSERT_GT(choice.distance, 1);
        const int32_t kind = full ? TerraformAll : TerraformGravity + choice.index;
        ExpectPlaced(Refills(s, 2), {{kind, 1, 1}, {kind, 1, 1}});
    }
}

// With full terraforming a maximum-terraforming element orders no more steps than the
// largest remaining factor distance.
TEST(Refill, MaxTerraformCutToLargestDistance) {
    auto model = TypicalRace(40);
    model->Race.FullTForm = true;
    for (int i = 0; i < 3; ++i)
        model->Planet.MaxTFormPrc[i] = 30;
    Fill(model->QueuePlus, {Element(MaxTerraform, 20, 100)});
    SimState s;
    Prepare(s, *model, 1e6);
    const TFormChoice choice = FactorToTerraform(model->Race, s.cur, s.tgt);
    ASSERT_GT(choice.distance, 0);
    ASSERT_LT(choice.distance, 20);
    ExpectPlaced(Refills(s, 1), {{TerraformAll, static_cast<int32_t>(choice.distance), 1}});
}

// An element with nothing to do moves the cursor only when it stands at the cursor: behind an
// element that cannot be placed it leaves the cursor where it is.
TEST(Refill, IdleElementMovesTheCursorOnlyAtTheCursor) {
    auto model = TypicalRace(100);
    for (int32_t& kT : model->Planet.PlanetMineral)
        kT = 0; // no factory can be ordered
    Fill(model->QueuePlus,
         {Element(Factories, 50, 10), Element(MaxTerraform, 5, 100), Element(Mines, 50, 5)});
    SimState s;
    Prepare(s, *model, 1e6);
    ASSERT_GE(s.prc, s.maxHab);
    ExpectPlaced(Refills(s, 2), {{BuildMine, 50, 1}, {BuildMine, 50, 1}});
}

// Resources of a sub-step: colonists / 1000 a year, 1 per 10 operated factories, times 0.004.
TEST(Spend, UnitsFinishedInOneSubStep) {
    struct Case {
        const char* name;
        int32_t count, unitCost;
        int64_t minesBuilt;
        bool orderLeft;
    } cases[] = {
        {"an order of count 1 ends after one unit", 1, 5, 1, false},
        {"an order of count 5 may finish all", 5, 5, 5, false},
        {"resources for 80 of 100 units", 100, 5, 80, true},
        {"a mine that costs nothing", 7, 0, 7, false},
    };
    for (const Case& c : cases) {
        auto model = TypicalRace(100);
        SimState s;
        Prepare(s, *model, 1e8); // 400 resources a sub-step
        s.order = Element(BuildMine, c.count, c.unitCost);
        s.hasOrder = true;
        s.Spend(s.OperableFactories());
        EXPECT_EQ(s.mine, c.minesBuilt) << c.name;
        EXPECT_EQ(s.hasOrder, c.orderLeft) << c.name;
        if (c.orderLeft) {
            EXPECT_EQ(s.order.count, c.count - c.minesBuilt) << c.name;
        }
    }
}

// Paying k units at once leaves the bits that paying them one at a time leaves, in every
// binade, with costs that split an ulp evenly, unevenly and in half. A step that rounds back to
// its input, as paying 1 at 2^55 does, does so for good: any count is then paid at once.
TEST(Spend, AfterPayingIsTheUnitByUnitPayment) {
    // Starts with an odd significand in mid-binade, near the foot of a binade and at it.
    const double starts[] = {
        1000.5,      0x1p53 - 1, 0x1p53 + 6, 0x1p53 + 0x1p40 + 6,      0x1p54 + 12, 0x1p60 + 768,
        1e18 + 4096, 3.7e19,     1e300,      0x1p64 + 0x1p13 + 0x1p12, 0x1p54 + 4,  0x1p55,
        0x1p56 + 16, 0x1p60,     0x1p80};
    const int64_t costs[] = {1, 2, 3, 384, 1370, 2048, 4095, 4096, 1355862224, INT32_MAX};
    const int64_t counts[] = {1, 2, 3, 7, 1000, 100000, INT64_MAX};
    int fixedPoints = 0;
    for (const double x : starts)
        for (const int64_t c : costs)
            for (const int64_t k : counts) {
                double oneByOne = x;
                int64_t paid = 0;
                for (; paid < std::min<int64_t>(k, 100000); ++paid) {
                    const double next = static_cast<double>(oneByOne - static_cast<long double>(c));
                    if (next == oneByOne) {
                        paid = k; // every further unit leaves it too
                        ++fixedPoints;
                        break;
                    }
                    if (next < 0)
                        break;
                    oneByOne = next;
                }
                if (paid < k)
                    continue; // would go below zero, or too many to pay one at a time
                EXPECT_EQ(AfterPaying(x, c, k), oneByOne) << x << " " << c << " " << k;
            }
    EXPECT_GT(fixedPoints, 100);

    // Random starts a few thousand units above a binade's foot, so that many payments cross it.
    std::mt19937_64 random(11);
    int crossed = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        const int e = 53 + static_cast<int>(random() % 20);
        const double foot = std::ldexp(1.0, e);
        const double ulp = std::ldexp(1.0, e - 52);
        const double x = foot + ulp * static_cast<double>(random() % 3000);
        const uint64_t widest = static_cast<uint64_t>(std::min(4 * ulp, 1e6));
        const int64_t c = 1 + static_cast<int64_t>(random() % widest);
        const int64_t k = 1 + static_cast<int64_t>(random() % 5000);
        double oneByOne = x;
        for (int64_t paid = 0; paid < k; ++paid)
            oneByOne = (Extended(oneByOne) - Extended(c)).ToDouble();
        crossed += oneByOne < foot;
        EXPECT_EQ(AfterPaying(x, Extended(c), k), oneByOne) << x << " " << c << " " << k;
    }
    EXPECT_GT(crossed, 300);
}

// A billion units of cost 1 from 2^55 resources and minerals, where paying a unit rounds back
// to the same amounts, are paid at once and leave the amounts as they were.
TEST(Spend, BillionUnitsAtAFixedPointArePaidAtOnce) {
    auto model = TypicalRace(100);
    for (const int32_t kind : {BuildMine, BuildFactory}) {
        SimState s;
        Prepare(s, *model, 1e6);
        s.fabr = s.mine = 0;
        for (double& kT : s.surf)
            kT = 0x1p55;
        s.order = Element(kind, 1000000000, 1);
        s.hasOrder = true;
        double r = 0x1p55;
        ASSERT_TRUE(s.PayWholeUnits(r));
        EXPECT_EQ(kind == BuildMine ? s.mine : s.fabr, 1000000000);
        EXPECT_FALSE(s.hasOrder);
        EXPECT_EQ(r, 0x1p55);
        for (const double kT : s.surf)
            EXPECT_EQ(kT, 0x1p55);
    }
    // A billion free factories on a planet without Liberium take no minerals and need none.
    SimState s;
    Prepare(s, *model, 1e6);
    s.fabr = 0;
    s.surf[2] = 0;
    s.order = Element(BuildFactory, 1000000000, 0);
    s.hasOrder = true;
    double r = 100;
    ASSERT_TRUE(s.PayWholeUnits(r));
    EXPECT_EQ(s.fabr, 1000000000);
    EXPECT_FALSE(s.hasOrder);

    // Units paid at once up to the last but one leave the order for that one.
    s.order = Element(BuildMine, 3, 10);
    s.hasOrder = true;
    s.mine = 0;
    r = 25;
    ASSERT_TRUE(s.PayWholeUnits(r));
    EXPECT_EQ(s.mine, 2);
    EXPECT_TRUE(s.hasOrder);
    EXPECT_EQ(s.order.count, 1);
    EXPECT_EQ(r, 5);
}

// Whole factories and mines paid in one go leave what paying them one at a time leaves: units
// built, the order, resources and minerals to the bit, below and past 2^53 and 2^54.
TEST(Spend, InOneGoAsOneAtATime) {
    auto model = TypicalRace(100);
    for (const int32_t kind : {BuildMine, BuildFactory})
        for (const double men : {1e8, 2.5e18, 3e21, 0x1p55 * 250000}) // 400 to 2^55 a sub-step
            for (const double kT : {51.0, 1e6, 0x1p54 + 4, 0x1p55})
                for (const int32_t cost : {0, 1, 5, 1370}) {
                    SimState s[2];
                    for (SimState& one : s) {
                        Prepare(one, *model, men);
                        one.fabr = 0;
                        one.surf[0] = one.surf[2] = 1e6;
                        one.surf[1] = kT;
                        one.order = Element(kind, 100000, cost);
                        one.hasOrder = true;
                    }
                    s[1].payInOneGo = false;
                    for (SimState& one : s)
                        one.Spend(one.OperableFactories());
                    const auto at = ::testing::Message() << men << " " << kT << " " << cost;
                    EXPECT_EQ(s[0].fabr, s[1].fabr) << at;
                    EXPECT_EQ(s[0].mine, s[1].mine) << at;
                    EXPECT_EQ(s[0].hasOrder, s[1].hasOrder) << at;
                    EXPECT_EQ(s[0].order.count, s[1].order.count) << at;
                    EXPECT_EQ(Invested(s[0]), Invested(s[1])) << at;
                    for (int i = 0; i < 3; ++i)
                        EXPECT_EQ(s[0].surf[i], s[1].surf[i]) << at << " mineral " << i;
                }
}

// Cheap factories are paid many to a sub-step; the leftover and the minerals must be what
// paying them one at a time leaves.
TEST(Spend, FactoriesPaidManyToASubStep) {
    struct Case {
        const char* name;
        int32_t count, unitCost;
        double surf1; // the second mineral; the others hold 1000 kT
        int64_t built;
        int32_t countLeft;
        double invested, surf[3];
    } cases[] = {
        {"resources for 80 of 100", 100, 5, 1000, 80, 20, 0, {840, 840, 840}},
        {"minerals for 25.5 of 100", 100, 5, 51, 25, 75, 2.5, {949, 0, 949}},
        {"free ones take what minerals there are", 100, 0, 51, 100, 0, 0, {949, 0, 949}},
        {"free ones with no minerals", 100, 0, 0, 100, 0, 0, {1000, 0, 1000}},
        // Past 2^54 a difference rounds: 2^54 + 4 - 2 ties and rounds to 2^54.
        {"a mineral past 2^54", 100, 5, 0x1p54 + 4, 80, 20, 0, {840, 0x1p54 - 158, 840}},
        {"a mineral too large to change", 100, 5, 1e300, 80, 20, 0, {840, 1e300, 840}},
    };
    for (const Case& c : cases) {
        auto model = TypicalRace(100);
        SimState s;
        Prepare(s, *model, 1e8); // 400 resources a sub-step
        s.fabr = 0;
        s.surf[0] = s.surf[2] = 1000;
        s.surf[1] = c.surf1;
        s.order = Element(BuildFactory, c.count, c.unitCost);
        s.hasOrder = true;
        s.Spend(s.OperableFactories());
        EXPECT_EQ(s.fabr, c.built) << c.name;
        EXPECT_EQ(s.hasOrder, c.countLeft > 0) << c.name;
        if (c.countLeft > 0) {
            EXPECT_EQ(s.order.count, c.countLeft) << c.name;
            EXPECT_EQ(Invested(s), c.invested) << c.name;
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(s.surf[i], c.surf[i]) << c.name << " mineral " << i;
    }
}

TEST(Spend, TerraformingPaidInPartsSlowsTheDieOff) {
    auto model = TypicalRace(-20);
    SimState s;
    Prepare(s, *model, 250000); // 1 resource a sub-step
    const int32_t before[3] = {s.cur[0], s.cur[1], s.cur[2]};
    s.order = Element(TerraformGravity, 1, 100);
    s.hasOrder = true;
    s.Spend(s.OperableFactories());
    EXPECT_TRUE(s.terraformed);
    EXPECT_DOUBLE_EQ(Invested(s), 1.0);
    EXPECT_EQ(s.cur[0], before[0]);

    // The loss of a sub-step in which terraforming was paid is a tenth of the usual.
    const double men = s.men;
    s.Population(TruncToInt64(s.men));
    const double slowed = men - s.men;
    s.terraformed = false;
    s.men = men;
    s.Population(TruncToInt64(s.men));
    EXPECT_NEAR(slowed * 10, men - s.men, 1e-9);
    EXPECT_NEAR(men - s.men, 250000 * 0.2 * 0.004, 1e-9);

    // Colonists that give no resources pay nothing, and nothing slows their loss.
    model->Race.NColonistYTo1Resource = 0;
    Prepare(s, *model, 250000);
    s.order = Element(TerraformGravity, 1, 100);
    s.hasOrder = true;
    s.Spend(s.OperableFactories());
    EXPECT_FALSE(s.terraformed);
    EXPECT_DOUBLE_EQ(Invested(s), 0.0);
}

// Above 2^53 every unit of an odd cost here loses 1 to rounding: the units paid in one go are
// never more than one at a time would pay, and leave what paying them one at a time leaves.
TEST(Spend, WholeUnitsAboveTheExactRangeAllowForRounding) {
    auto model = TypicalRace(100);
    SimState s;
    Prepare(s, *model, 1e6);
    const int32_t cost = (1 << 23) + 3;
    s.order = Element(BuildMine, INT32_MAX, cost);
    s.hasOrder = true;
    s.mine = 0;
    const double start = 0x1p53 + 0x1p52;
    double r = start;
    ASSERT_TRUE(s.PayWholeUnits(r));
    // One at a time pays unit n while what n - 1 units leave covers it.
    int64_t payable = 0;
    for (int64_t lo = 1, hi = INT32_MAX; lo <= hi;) {
        const int64_t n = lo + (hi - lo) / 2;
        if (AfterPaying(start, Extended(cost), n - 1) >= cost) {
            payable = n;
            lo = n + 1;
        } else {
            hi = n - 1;
        }
    }
    EXPECT_LE(s.mine, payable);
    EXPECT_GT(s.mine, payable - 1000);
    EXPECT_EQ(r, AfterPaying(start, Extended(cost), s.mine));
}

TEST(Spend, FactoryShortOfMineralsWaitsForMining) {
    auto model = TypicalRace(100);
    for (int scarce = 0; scarce < 3; ++scarce) {
        SimState s;
        Prepare(s, *model, 1e8);
        const int other = (scarce + 1) % 3;
        s.surf[scarce] = 1; // half a factory's minerals
        s.order = Element(BuildFactory, 1, 10);
        s.hasOrder = true;
        s.Spend(s.OperableFactories());
        EXPECT_EQ(s.fabr, 0);
        ASSERT_TRUE(s.hasOrder);
        EXPECT_DOUBLE_EQ(Invested(s), 5.0);
        EXPECT_DOUBLE_EQ(s.surf[scarce], 0.0);
        EXPECT_DOUBLE_EQ(s.surf[other], 499.0);

        s.surf[scarce] = 0.5; // mining brought a little: paid on top
        s.Spend(s.OperableFactories());
        EXPECT_EQ(s.fabr, 0);
        EXPECT_DOUBLE_EQ(Invested(s), 7.5);
        EXPECT_DOUBLE_EQ(s.surf[other], 498.5);

        s.surf[scarce] = 100; // mining brought enough
        s.Spend(s.OperableFactories());
        EXPECT_EQ(s.fabr, 1);
        EXPECT_FALSE(s.hasOrder);
        EXPECT_DOUBLE_EQ(s.surf[scarce], 99.5);
        EXPECT_DOUBLE_EQ(s.surf[other], 498.0);
    }
    // Minerals that pay the rest to within rounding finish the factory.
    SimState s;
    Prepare(s, *model, 1e8);
    s.surf[0] = 1;
    s.order = Element(BuildFactory, 1, 10);
    s.hasOrder = true;
    s.Spend(s.OperableFactories());
    s.surf[0] = std::nextafter(1.0, 0.0);
    s.Spend(s.OperableFactories());
    EXPECT_EQ(s.fabr, 1);
    EXPECT_FALSE(s.hasOrder);
}

// A factory of unit cost 0 needs no payment and takes its full 2 kT of each mineral; the
// mineral share must not become NaN.
TEST(Spend, FactoryOfNoCostTakesFullMinerals) {
    auto model = TypicalRace(100);
    SimState s;
    Prepare(s, *model, 1e6);
    s.order = Element(BuildFactory, 3, 0);
    s.hasOrder = true;
    s.Spend(s.OperableFactories());
    EXPECT_EQ(s.fabr, 3);
    EXPECT_FALSE(s.hasOrder);
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(s.surf[i], 494.0) << i;
}

// A factory paid in part takes minerals in proportion to what is paid, and no more is paid
// than the scarcest mineral allows: a million colonists give 4 resources a sub-step.
TEST(Spend, FactoryPaidInPartTakesItsShareOfMinerals) {
    auto model = TypicalRace(100);
    struct Case {
        int32_t cost;
        double men, scarce, invested, rest;
    } const cases[] = {{10, 1e6, 500, 4, 499.2},
                       {10, 1e6, 0.2, 1, 0},
                       {5, 1e6, 500, 4, 498.4},
                       {1, 1e5, 500, 0.4, 499.2}};
    for (const Case& c : cases) {
        SimState s;
        Prepare(s, *model, c.men);
        s.surf[1] = c.scarce;
        s.order = Element(BuildFactory, 1, c.cost);
        s.hasOrder = true;
        s.Spend(s.OperableFactories());
        EXPECT_EQ(s.fabr, 0) << c.cost << " " << c.scarce;
        EXPECT_DOUBLE_EQ(Invested(s), c.invested) << c.cost << " " << c.scarce;
        EXPECT_DOUBLE_EQ(s.surf[1], c.rest) << c.cost << " " << c.scarce;
    }
}

// A race without colonists per resource gets nothing from its colonists instead of a
// division by zero; installed factories still produce.
TEST(Spend, NoColonistResourceRate) {
    for (int32_t rate : {0, -5}) {
        auto model = TypicalRace(100);
        model->Race.NColonistYTo1Resource = rate;
        SimState s;
        Prepare(s, *model, 1e6);
        s.order = Element(BuildMine, 1, 5);
        s.hasOrder = true;
        s.Spend(s.OperableFactories());
        EXPECT_EQ(Invested(s), 0.0) << rate;
        EXPECT_EQ(s.YearlyResources(), 0) << rate;
        s.fabr = 100;
        EXPECT_EQ(s.YearlyResources(), 100) << rate;
        s.Spend(s.OperableFactories());
        EXPECT_DOUBLE_EQ(Invested(s), 0.4) << rate;
    }
}

TEST(Mine, DigsAndExhaustsDownToTheFloor) {
    auto model = TypicalRace(100);
    SimState s;
    Prepare(s, *model, 1e6);
    s.mine = 60000;   // u = 1000 mines operated: the concentration falls by 1/60 a year
    s.con[2] = 0.005; // already at the floor of other planets
    s.Mine(TruncToInt64(s.men));
    // 1000 mines × 0.2 × 10 kT × 100 % × 0.004
    EXPECT_NEAR(s.surf[0], 508.0, 1e-9);
    EXPECT_NEAR(s.con[0], 1.0 - 0.004 / 60, 1e-15);
    EXPECT_EQ(s.con[2], 0.005);

    s.homeworld = true;
    s.con[1] = 0.150005;
    s.Mine(TruncToInt64(s.men));
    EXPECT_EQ(s.con[1], static_cast<double>(30 * 0.005L)); // raised floor of a homeworld
}

} // namespace
} // namespace quendal

namespace quendal {
namespace {

// The shortcuts of the sub-step (a blocked refill is not repeated, the operated mines are
// computed again only when mines change, colonists fall or not all mines were operated, the
// factories at work only when factories are added, colonists fall or not all were operated)
// must not change any result: a run that drops them before every sub-step stays identical.
TEST(SubStep, ShortcutsChangeNothing) {
    struct Case {
        const char* name;
        int32_t prc;
        double men;
        int64_t mines, factories; // installed
        std::vector<QueueItem> minus, plus;
    } cases[] = {
        {"terraform, then build",
         -20,
         250000,
         0,
         0,
         {Element(MinTerraform, 1, 100)},
         {Element(Factories, 50, 10), Element(Mines, 50, 5), Element(MaxTerraform, 5, 100)}},
        {"build on a good planet",
         60,
         25000,
         0,
         0,
         {},
         {Element(Mines, 20, 5), Element(Factories, 7, 10)}},
        {"few colonists, many orders",
         20,
         3000,
         0,
         0,
         {},
         {Element(Factories, 500, 10), Element(Mines, 3, 5)}},
        {"more mines than operators", 60, 25000, 500, 0, {}, {Element(Factories, 7, 10)}},
        {"over capacity, colonists fall below the factories' operators",
         10,
         300000,
         500,
         250,
         {},
         {Element(Factories, 50, 10)}},
    };
    for (const Case& c : cases) {
        auto model = TypicalRace(c.prc);
        Fill(model->QueueMinus, c.minus);
        Fill(model->QueuePlus, c.plus);
        SimState fast, plain;
        Prepare(fast, *model, c.men);
        Prepare(plain, *model, c.men);
        fast.mine = plain.mine = c.mines;
        fast.fabr = plain.fabr = c.factories;
        int blockedSteps = 0;
        for (int step = 0; step < 250 * 30; ++step) {
            blockedSteps += fast.refillBlocked ? 1 : 0;
            fast.SubStep();
            plain.refillBlocked = false;
            plain.operatedFor.mine = -1;
            plain.allFactoriesWorked.fabr = -1;
            plain.SubStep();
            if (step % 250 == 249) { // whole colonists at the end of a year
                fast.men = static_cast<double>(TruncToInt64(fast.men));
                plain.men = static_cast<double>(TruncToInt64(plain.men));
            }
            ASSERT_EQ(fast.men, plain.men) << c.name << " step " << step;
            ASSERT_EQ(fast.prc, plain.prc) << c.name << " step " << step;
            ASSERT_EQ(fast.fabr, plain.fabr) << c.name << " step " << step;
            ASSERT_EQ(fast.mine, plain.mine) << c.name << " step " << step;
            ASSERT_EQ(fast.plus.pos, plain.plus.pos) << c.name << " step " << step;
            for (int i = 0; i < 3; ++i) {
                ASSERT_EQ(fast.surf[i], plain.surf[i]) << c.name << " step " << step;
                ASSERT_EQ(fast.con[i], plain.con[i]) << c.name << " step " << step;
            }
        }
        EXPECT_GT(blockedSteps, 0) << c.name << ": the shortcut was never taken";
    }
}

} // namespace
} // namespace quendal

namespace quendal {
namespace {

// The truncation of the sub-steps: toward zero in range, saturating beyond 64 bits, 0 for NaN,
// for extended values and for stored doubles alike.
TEST(TruncToInt64, TruncatesSaturatesAndMapsNaNToZero) {
    const long double two63 = 9223372036854775808.0L;
    const struct {
        long double value;
        int64_t expected;
    } extended[] = {{0.0L, 0},
                    {-0.0L, 0},
                    {3.9L, 3},
                    {-3.9L, -3},
                    {0.999999L, 0},
                    {24974.9999999999999986L, 24974},
                    {two63 - 0.5L, INT64_MAX},
                    {two63 - 1, INT64_MAX},
                    {two63, INT64_MAX},
                    {-two63 + 0.5L, INT64_MIN + 1},
                    {-two63, INT64_MIN},
                    {1e30L, INT64_MAX},
                    {-1e30L, INT64_MIN},
                    {INFINITY, INT64_MAX},
                    {-INFINITY, INT64_MIN},
                    {NAN, 0}};
    for (const auto& c : extended)
        EXPECT_EQ(TruncToInt64(c.value), c.expected) << static_cast<double>(c.value);
    const struct {
        double value;
        int64_t expected;
    } stored[] = {{0.0, 0},
                  {2.5, 2},
                  {-2.5, -2},
                  {9223372036854774784.0, 9223372036854774784},
                  {9223372036854775808.0, INT64_MAX},
                  {-9223372036854775808.0, INT64_MIN},
                  {1e300, INT64_MAX},
                  {-1e300, INT64_MIN},
                  {INFINITY, INT64_MAX},
                  {NAN, 0}};
    for (const auto& c : stored)
        EXPECT_EQ(TruncToInt64(c.value), c.expected) << c.value;
}

// The one conversion of text to a number: every white-space character before an optional sign,
// digits up to the first other character, 0 without digits, saturation at the 32-bit limits.
TEST(LeadingInt, WhiteSpaceSignDigitsAndLimits) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {{" \t\n\v\f\r42x", 42},
                 {"+7", 7},
                 {"-0", 0},
                 {"- 5", 0},
                 {"+-5", 0},
                 {"", 0},
                 {"12 34", 12},
                 {"2147483647", INT32_MAX},
                 {"2147483648", INT32_MAX},
                 {"-2147483648", INT32_MIN},
                 {"-2147483649", INT32_MIN},
                 {"000000000000000000042", 42},
                 {"99999999999999999999", INT32_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(LeadingInt(c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
} // namespace quendal

namespace quendal {
namespace {

// The two comparisons of the growth rule at their equalities: colonists exactly at the capacity
// lose the least change; exactly a quarter of the capacity grows by a third of the room, which
// there is below 100 and so counts as 100, where the rate alone would give 93.
TEST(Population, ComparisonsAtCapacityAndAtAQuarterOfIt) {
    const struct {
        const char* name;
        int32_t prc;
        double men;
        double expected;
    } cases[] = {
        {"at capacity", 50, 500000, 499999.6},
        {"at a quarter", 3, 12500, 12500.4},      // capacity 50000, k = 5 * 15 * 0.0001
        {"below a quarter", 3, 12499, 12499.372}, // 12499 * 0.0075 = 93.7 a year
    };
    auto model = TypicalRace(100);
    for (const auto& c : cases) {
        SimState s;
        Prepare(s, *model, c.men);
        s.prc = c.prc;
        s.cap = CapacityFor(c.prc);
        s.Population(TruncToInt64(s.men));
        EXPECT_DOUBLE_EQ(s.men, c.expected) << c.name;
    }
}

// Near capacity the over-capacity loss is the least change of 100 colonists a year without a
// division; the shortcut must agree with the loss formula wherever it applies and at its edge.
TEST(Population, LossJustOverCapacity) {
    auto model = TypicalRace(100);
    for (int64_t cap : {int64_t{50000}, int64_t{1000000}, int64_t{123450000}}) {
        const auto edge = static_cast<int64_t>(std::sqrt(100.0 * static_cast<double>(cap)));
        for (int64_t d = 0; d <= edge + 3; d += (d < edge - 3 ? 7 : 1)) {
            SimState s;
            Prepare(s, *model, static_cast<double>(cap + d) + 0.25);
            s.cap = cap;
            s.Population(TruncToInt64(s.men));
            const long double h = static_cast<long double>(d) / cap * d;
            const long double loss = (h > 100 ? TruncToInt64(h) : 100) * 0.004L;
            EXPECT_EQ(s.men, static_cast<double>(cap + d + 0.25L - loss))
                << "capacity " << cap << " excess " << d;
        }
    }
}

} // namespace
} // namespace quendal
