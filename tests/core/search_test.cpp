#include "optimiser/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "optimiser/genetic_run.h"

namespace quendal {
namespace {

struct Expected {
    int32_t offset, size, minValue, maxValue;
};

// Order genes of one template: one byte each, element e ranging 0..9 - e.
void ExpectOrderGenes(const std::vector<GeneDesc>& table, int32_t first, int32_t firstOffset) {
    for (int32_t e = 0; e < 9; ++e) {
        const GeneDesc& g = table[static_cast<size_t>(first + e)];
        EXPECT_EQ(g.offset, firstOffset + e) << "order gene " << first + e;
        EXPECT_EQ(g.size, 1) << "order gene " << first + e;
        EXPECT_EQ(g.minValue, 0) << "order gene " << first + e;
        EXPECT_EQ(g.maxValue, 9 - e) << "order gene " << first + e;
    }
}

void ExpectAmountGenes(const std::vector<GeneDesc>& table, int32_t first,
                       const Expected (&expected)[9]) {
    for (int32_t e = 0; e < 9; ++e) {
        const GeneDesc& g = table[static_cast<size_t>(first + e)];
        const Expected& x = expected[e];
        EXPECT_EQ(g.offset, x.offset) << "amount gene " << first + e;
        EXPECT_EQ(g.size, x.size) << "amount gene " << first + e;
        EXPECT_EQ(g.minValue, x.minValue) << "amount gene " << first + e;
        EXPECT_EQ(g.maxValue, x.maxValue) << "amount gene " << first + e;
    }
}

// Counts: MaxTerraform 1..11 (one byte), Factories and Mines 1..300 (two bytes),
// MinTerraform fixed at 1 (one byte).
TEST(GeneTable, HabitablePlanetSearchLayout) {
    std::vector<GeneDesc> table = BuildGeneTable(false, 11);
    ASSERT_EQ(table.size(), 18U);
    TMaxSearch engine({}, {}, 10, table, 1);
    EXPECT_EQ(engine.chromosomeSize(), 24);
    ExpectOrderGenes(table, 0, 0);
    const Expected amounts[9] = {{9, 1, 1, 11},  {10, 2, 1, 300}, {12, 2, 1, 300},
                                 {14, 1, 1, 11}, {15, 2, 1, 300}, {17, 2, 1, 300},
                                 {19, 1, 1, 11}, {20, 2, 1, 300}, {22, 2, 1, 300}};
    ExpectAmountGenes(table, 9, amounts);
}

TEST(GeneTable, NegativePlanetSearchLayout) {
    std::vector<GeneDesc> table = BuildGeneTable(true, 11);
    ASSERT_EQ(table.size(), 36U);
    TMinSearch engine({}, {}, 10, table, 1);
    EXPECT_EQ(engine.chromosomeSize(), 45);
    ExpectOrderGenes(table, 0, 0);
    const Expected minus[9] = {{9, 1, 1, 1},  {10, 1, 1, 11}, {11, 2, 1, 300},
                               {13, 1, 1, 1}, {14, 1, 1, 11}, {15, 2, 1, 300},
                               {17, 1, 1, 1}, {18, 1, 1, 11}, {19, 2, 1, 300}};
    ExpectAmountGenes(table, 9, minus);
    ExpectOrderGenes(table, 18, 21);
    const Expected plus[9] = {{30, 1, 1, 11}, {31, 2, 1, 300}, {33, 2, 1, 300},
                              {35, 1, 1, 11}, {36, 2, 1, 300}, {38, 2, 1, 300},
                              {40, 1, 1, 11}, {41, 2, 1, 300}, {43, 2, 1, 300}};
    ExpectAmountGenes(table, 27, plus);
}

// A MaxTerraform count lives in one byte: a terraforming limit above 255 must not let the
// drawn counts wrap around.
TEST(GeneTable, MaxTerraformRangeFollowsTheLimitWithinItsByte) {
    struct Case {
        int32_t limit, maxValue;
    } cases[] = {{300, 255}, {255, 255}, {30, 30}, {2, 2}, {1, 1}, {0, 1}, {-5, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(BuildGeneTable(false, c.limit)[9].maxValue, c.maxValue) << "limit " << c.limit;

    std::vector<GeneDesc> table = BuildGeneTable(false, 1000);
    TMaxSearch engine({}, {}, 200, table, 3);
    int32_t highest = 0;
    for (int32_t i = 0; i < engine.populationSize(); ++i)
        for (const int32_t gene : {9, 12, 15}) {
            const int32_t count = engine.GetGene(engine.Chromosome(i), gene);
            EXPECT_GE(count, 1);
            highest = std::max(highest, count);
        }
    EXPECT_GT(highest, 200) << "the whole byte is used";
}

class DecodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        race_.NResourceBuildFactory = 12;
        race_.NResourceBuildMine = 7;
    }
    // Element kinds and counts of a decoded template.
    static std::vector<std::pair<int32_t, int32_t>> Items(const DecodedTemplate& decoded) {
        std::vector<std::pair<int32_t, int32_t>> items;
        for (int32_t i = 0; i < decoded.count; ++i)
            items.emplace_back(decoded.items[i].kind, decoded.items[i].count);
        return items;
    }
    RaceParams race_;
};

TEST_F(DecodeTest, OrderGenesPickTheNthEmptySlot) {
    std::vector<GeneDesc> table = BuildGeneTable(false, 11);
    TMaxSearch engine({}, {}, 1, table, 1);
    uint8_t c[24] = {};
    const int32_t order[9] = {2, 0, 1, 0, 0, 0, 0, 0, 0};
    for (int32_t e = 0; e < 9; ++e) {
        engine.SetGene(c, e, order[e]);
        engine.SetGene(c, 9 + e, 10 + e);
    }
    DecodedTemplate decoded;
    DecodeTemplate(engine, c, 0, 9, kPlusKinds, race_, decoded, false);
    EXPECT_EQ(Items(decoded),
              (std::vector<std::pair<int32_t, int32_t>>{{Mines, 12}, {MaxTerraform, 10}}));
    EXPECT_EQ(decoded.items[0].unitCost, 7);
    const double invested = decoded.items[0].invested; // packed: read by value
    EXPECT_EQ(invested, 0.0);
    EXPECT_EQ(decoded.items[1].unitCost, kTerraformUnitCost);

    for (int32_t e = 0; e < 9; ++e)
        engine.SetGene(c, e, 0);
    DecodeTemplate(engine, c, 0, 9, kPlusKinds, race_, decoded, false);
    EXPECT_EQ(decoded.count, 0) << "all order genes 0: an empty template";

    // Every element placed at the first empty slot keeps the element order.
    for (int32_t e = 0; e < 9; ++e)
        engine.SetGene(c, e, 1);
    DecodeTemplate(engine, c, 0, 9, kPlusKinds, race_, decoded, false);
    ASSERT_EQ(decoded.count, 9);
    EXPECT_EQ(decoded.items[4].kind, Factories); // element 4
    EXPECT_EQ(decoded.items[4].unitCost, 12);
    EXPECT_EQ(decoded.items[4].count, 14);
}

TEST_F(DecodeTest, NegativeTemplateEndsAfterMinTerraform) {
    std::vector<GeneDesc> table = BuildGeneTable(true, 11);
    TMinSearch engine({}, {}, 1, table, 1);
    uint8_t c[45] = {};
    // MinTerraform into slot 1, MaxTerraform into slot 0, Factories into slot 2.
    const int32_t order[9] = {2, 1, 1, 0, 0, 0, 0, 0, 0};
    for (int32_t e = 0; e < 9; ++e) {
        engine.SetGene(c, e, order[e]);
        engine.SetGene(c, 9 + e, e < 2 ? 1 : 30);
    }
    engine.SetGene(c, 10, 4);
    DecodedTemplate decoded;
    DecodeTemplate(engine, c, 0, 9, kMinusKinds, race_, decoded, true);
    EXPECT_EQ(Items(decoded),
              (std::vector<std::pair<int32_t, int32_t>>{{MaxTerraform, 4}, {MinTerraform, 1}}));
    DecodeTemplate(engine, c, 0, 9, kMinusKinds, race_, decoded, false);
    EXPECT_EQ(decoded.count, 3) << "the same genes without the stop";
}

// Order genes changed from outside the engine may hold values no slot answers to.
TEST_F(DecodeTest, OrderValuesWithoutASlotLeaveTheElementOut) {
    std::vector<GeneDesc> table = BuildGeneTable(false, 11);
    TMaxSearch engine({}, {}, 1, table, 1);
    uint8_t c[24] = {};
    engine.SetGene(c, 0, 200); // a negative signed byte
    for (int32_t e = 1; e < 8; ++e)
        engine.SetGene(c, e, 1);
    engine.SetGene(c, 8, 5); // two slots are left for element 8
    DecodedTemplate decoded;
    DecodeTemplate(engine, c, 0, 9, kPlusKinds, race_, decoded, false);
    ASSERT_EQ(decoded.count, 7) << "elements 1..7 only";
    EXPECT_EQ(decoded.items[0].kind, Factories);
}

TEST(SearchScore, CriterionWeightedByAThousandPlusTieBreakers) {
    PlanetFigures f;
    f.prc = 40;
    f.men = 123456;
    f.resource = 789;
    f.fabr = 100;
    f.mine = 50;
    f.mineral[0] = 1000;
    f.mineral[1] = 2000;
    f.mineral[2] = 3005;
    // 10 x 40 + 123456 / 10 + 789 + 100 + 50 + 6005 / 10 = 14284
    struct Case {
        Criterion criterion;
        double score;
    } cases[] = {
        {Criterion::Terraforming, 40000 + 14284.0}, {Criterion::Population, 123456000 + 14284.0},
        {Criterion::Resources, 789000 + 14284.0},   {Criterion::Factories, 100000 + 14284.0},
        {Criterion::Mines, 50000 + 14284.0},        {Criterion::Minerals, 6005000 + 14284.0}};
    for (const Case& c : cases)
        EXPECT_EQ(SearchScore(f, c.criterion), c.score) << static_cast<int>(c.criterion);

    // A population beyond 32 bits: every term is formed in double, nothing wraps.
    PlanetFigures many;
    many.prc = -20;
    many.men = 5'000'000'000;
    EXPECT_EQ(SearchScore(many, Criterion::Population), 5e12 - 200 + 5e8);
}

// Fitness of one amount gene: a peak at 37, or a constant, or a climb toward the top.
class OneCount : public Genetic {
public:
    OneCount(GeneDesc* table, double (*f)(int32_t)) : Genetic(1, 2, table, 1), f_(f) {}
    double Fitness(const uint8_t* c) override {
        ++calls;
        return f_(GetGene(c, 0));
    }
    int calls = 0;

private:
    double (*f_)(int32_t);
};

TEST(TuneAmountGene, HalvesThenStepsToTheBestCount) {
    struct Case {
        const char* name;
        double (*f)(int32_t);
        int32_t start, result, calls;
    } cases[] = {
        // 150, 75, 38 accepted, 19 worse; 37 accepted, 36 worse; 38 not better.
        {"peak at 37", [](int32_t v) { return -double(v > 37 ? v - 37 : 37 - v); }, 300, 37, 7},
        // Equal scores: halving goes all the way down, the smallest count wins.
        {"flat", [](int32_t) { return 5.0; }, 300, 1, 9},
        // 50 worse, 99 worse, then 101..300 each better.
        {"rising", [](int32_t v) { return double(v); }, 100, 300, 202},
        {"already at the minimum", [](int32_t v) { return double(v); }, 1, 1, 0},
    };
    for (const Case& c : cases) {
        GeneDesc table[2] = {{0, 2, 1, 300}, {0, 1, 0, 0}};
        OneCount engine(table, c.f);
        uint8_t chromosome[3] = {};
        engine.SetGene(chromosome, 0, c.start);
        const double start = c.f(c.start);
        const double best = TuneAmountGene(engine, chromosome, 0, start);
        EXPECT_EQ(engine.GetGene(chromosome, 0), c.result) << c.name;
        EXPECT_EQ(best, c.f(c.result)) << c.name;
        EXPECT_EQ(engine.calls, c.calls) << c.name;
    }
}

TEST(TuneAmountGene, AFixedCountIsNotEvaluated) {
    GeneDesc table[2] = {{0, 1, 1, 1}, {0, 1, 0, 5}};
    OneCount engine(table, [](int32_t) { return 1.0; });
    uint8_t chromosome[2] = {1, 0};
    EXPECT_EQ(TuneAmountGene(engine, chromosome, 0, 42.0), 42.0);
    EXPECT_EQ(engine.calls, 0);
}

TEST(FormatDuration, RoundsToSecondsAtItsThresholds) {
    struct Case {
        int64_t ms;
        const char* text;
    } cases[] = {{0, "0 миллисек"},          {499, "499 миллисек"},   {500, "1 секунд"},
                 {59499, "59 секунд"},       {59500, "1 мин 0 сек"},  {61400, "1 мин 1 сек"},
                 {3599499, "59 мин 59 сек"}, {3599500, "1 ч. 0 мин"}, {7384000, "2 ч. 3 мин"},
                 {90000000, "25 ч. 0 мин"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatDuration(c.ms, Language()), c.text) << c.ms << " ms";
    const Language english = Language::English(); // each form once: the thresholds are the same
    EXPECT_EQ(FormatDuration(499, english), "499 ms");
    EXPECT_EQ(FormatDuration(59499, english), "59 seconds");
    EXPECT_EQ(FormatDuration(61400, english), "1 min 1 s");
    EXPECT_EQ(FormatDuration(7384000, english), "2 h 3 min");
}

TEST(GenPlanetText, PercentFactorsAndHomeworld) {
    auto model = std::make_unique<CalcModel>();
    model->Planet.PlanetPrc = -20;
    model->Planet.PlanetEnv[0] = 30;
    model->Planet.PlanetEnv[1] = 50;
    model->Planet.PlanetEnv[2] = 70;
    model->Planet.PlanetHW = true;
    EXPECT_EQ(GenPlanetText(*model), "-20 (30,50,70) HW");
    model->Planet.PlanetHW = false;
    model->Planet.PlanetEnv[1] = 102;
    model->Planet.PlanetPrc = 100;
    EXPECT_EQ(GenPlanetText(*model), "100 (30,102,70)");
}

} // namespace
} // namespace quendal

namespace quendal {
namespace {

DecodedTemplate TemplateOf(std::initializer_list<QueueItem> items) {
    DecodedTemplate t;
    for (const QueueItem& item : items)
        t.items[t.count++] = item;
    return t;
}

// A search remembers a simulation by the templates it decoded to: two candidates share a
// memory only when both templates are the same element for element.
TEST(OutcomeMemory, KeysTellEveryPairOfTemplatesApart) {
    const QueueItem fab{Factories, 10, 5, 0.0}, mine{Mines, 10, 5, 0.0};
    const DecodedTemplate none, a = TemplateOf({fab}), b = TemplateOf({mine}),
                                ab = TemplateOf({fab, mine}),
                                dearer = TemplateOf({{Factories, 11, 5, 0.0}}),
                                more = TemplateOf({{Factories, 10, 6, 0.0}});
    const std::pair<const DecodedTemplate*, const DecodedTemplate*> pairs[] = {
        {&none, &ab}, {&a, &b},         {&ab, &none},   {&none, &a},
        {&a, &none},  {&none, &dearer}, {&none, &more}, {&none, &none}};
    std::vector<std::string> keys;
    for (const auto& [minus, plus] : pairs)
        keys.push_back(OutcomeMemory::KeyOf(*minus, *plus));
    for (size_t i = 0; i < keys.size(); ++i)
        for (size_t j = i + 1; j < keys.size(); ++j)
            EXPECT_NE(keys[i], keys[j]) << i << " and " << j;
    EXPECT_EQ(OutcomeMemory::KeyOf(a, b),
              OutcomeMemory::KeyOf(TemplateOf({fab}), TemplateOf({mine})));

    OutcomeMemory memory;
    EXPECT_FALSE(memory.Find(keys[1]));
    OutcomeMemory::Remembered kept;
    kept.results.figures.men = 4321;
    kept.score = 7.5;
    memory.Keep(keys[1], kept);
    ASSERT_TRUE(memory.Find(keys[1]));
    EXPECT_EQ(memory.Find(keys[1])->results.figures.men, 4321);
    EXPECT_EQ(memory.Find(keys[1])->score, 7.5);
    EXPECT_FALSE(memory.Find(keys[2]));
}

} // namespace
} // namespace quendal
