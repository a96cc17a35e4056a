#include "optimiser/genetic.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace quendal {
namespace {

// The generator written out independently: a 128-bit product reduced by an explicit
// modulus, the result taken by division.
class ReferenceDraws {
public:
    explicit ReferenceDraws(uint32_t seed) : state_(seed) {}
    int32_t Next() {
        const unsigned __int128 multiplier = 346ULL * 4294967296ULL + 20021ULL;
        const unsigned __int128 next = state_ * multiplier + 1;
        state_ = static_cast<uint64_t>(next % (static_cast<unsigned __int128>(1) << 64));
        return static_cast<int32_t>((state_ / 4294967296ULL) % 2147483648ULL);
    }
    int32_t Index(int32_t m) { return Next() % m; }

private:
    uint64_t state_;
};

TEST(RandomGenerator, FirstDrawsOfAFixedSeed) {
    RandomGenerator random(12345);
    // 12345 * 1486058704437 + 1 = 18345394706274766; its bits 32..62 give 4271370.
    EXPECT_EQ(random.RandomInt(), 4271370);
    EXPECT_EQ(random.RandomInt(), 1382990846);
    EXPECT_EQ(random.RandomInt(), 2021515706);

    for (const uint32_t seed : {0U, 1U, 12345U, 0xFFFFFFFFU}) {
        RandomGenerator generator(seed);
        ReferenceDraws reference(seed);
        for (int k = 0; k < 1000; ++k)
            ASSERT_EQ(generator.RandomInt(), reference.Next()) << "seed " << seed << " draw " << k;
    }
}

// The product step * 0.001 is formed in extended precision; at 40 % the step 400 still lies
// below the stored 0.4, which a double product would not.
TEST(Chance, ProbabilityDrawOverItsThousandAndOneSteps) {
    struct Case {
        const char* name;
        double p;
        int hits;
    } cases[] = {{"40 %", PercentFraction(40), 401},
                 {"zero", 0.0, 0},
                 {"one", PercentFraction(100), 1000},
                 {"1 %: step 10 equals the stored 0.01", PercentFraction(1), 10},
                 {"above one", 1.5, 1001}};
    for (const Case& c : cases) {
        int hits = 0;
        for (int32_t step = 0; step <= 1000; ++step)
            hits += ChanceHit(step, c.p) ? 1 : 0;
        EXPECT_EQ(hits, c.hits) << c.name;
    }
}

// Gene 0 carries the score (fixed range, written by hand); gene 1 is the only gene that can
// mutate. The fitness can be told to stop after a number of calls.
class HandScored : public Genetic {
public:
    using Genetic::Genetic;
    double Fitness(const uint8_t* chromosome) override {
        ++calls;
        if (stopAfter >= 0 && calls > stopAfter)
            return NotEvaluated;
        return GetGene(chromosome, 0);
    }
    void SetScores(const std::vector<int32_t>& values) {
        for (size_t i = 0; i < values.size(); ++i) {
            SetGene(Chromosome(static_cast<int32_t>(i)), 0, values[i]);
            SetGene(Chromosome(static_cast<int32_t>(i)), 1, 0);
        }
    }
    int calls = 0;
    int stopAfter = -1;
};

// The table of HandScored: the engine writes the offsets, so each test takes its own copy.
std::array<GeneDesc, 2> HandTable() {
    return {{{0, 1, 0, 0}, {0, 1, 0, 1}}};
}

TEST(Genetic, ConstructionWritesOffsetsAndDrawsARandomPopulation) {
    GeneDesc table[4] = {{-1, 1, 0, 9}, {-1, 2, 1, 300}, {-1, 1, 7, 7}, {-1, 2, 5, 3}};
    Genetic engine(30, 4, table, 77);
    const int32_t offsets[4] = {0, 1, 3, 4};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(table[j].offset, offsets[j]) << "caller's table, gene " << j;
        EXPECT_EQ(engine.Gene(j).offset, offsets[j]) << "engine's copy, gene " << j;
    }
    EXPECT_EQ(engine.chromosomeSize(), 6);
    EXPECT_EQ(engine.eliteCount(), 3);
    for (int32_t i = 0; i < engine.populationSize(); ++i) {
        const uint8_t* c = engine.Chromosome(i);
        EXPECT_EQ(engine.Score(i), NotEvaluated);
        EXPECT_LE(engine.GetGene(c, 0), 9);
        EXPECT_GE(engine.GetGene(c, 1), 1);
        EXPECT_LE(engine.GetGene(c, 1), 300);
        EXPECT_EQ(engine.GetGene(c, 2), 7);
        EXPECT_EQ(engine.GetGene(c, 3), 5) << "a reversed range is fixed at its minimum";
    }
    // Two drawn genes per individual, then the generator starts over from the seed.
    ReferenceDraws reference(77);
    EXPECT_EQ(engine.GetGene(engine.Chromosome(0), 0), reference.Next() % 10);
    EXPECT_EQ(engine.GetGene(engine.Chromosome(0), 1), 1 + reference.Next() % 300);
    EXPECT_EQ(engine.RandomInt(), ReferenceDraws(77).Next());

    EXPECT_EQ(Genetic(0, 4, table).populationSize(), 1);
    EXPECT_EQ(Genetic(INT32_MAX, 4, table).populationSize(), Genetic::kMaxPopulation);
}

TEST(Genetic, GenesAreUnsignedLittleEndian) {
    GeneDesc table[3] = {{0, 1, 0, 9}, {0, 2, 0, 9}, {0, 4, 0, 9}};
    Genetic engine(1, 3, table, 1);
    uint8_t c[7] = {};
    engine.SetGene(c, 1, 0x12345);
    EXPECT_EQ(c[1], 0x45);
    EXPECT_EQ(c[2], 0x23);
    EXPECT_EQ(engine.GetGene(c, 1), 0x2345) << "only the low two bytes are kept";
    engine.SetGene(c, 0, -1);
    EXPECT_EQ(engine.GetGene(c, 0), 255) << "reading zero-extends";
    engine.SetGene(c, 2, -5);
    EXPECT_EQ(engine.GetGene(c, 2), -5);
    EXPECT_EQ(engine.GetGene(c, 1), 0x2345) << "neighbours untouched";
}

TEST(Genetic, StepGeneMovesHalfWayOrOneStep) {
    GeneDesc table[2] = {{0, 2, 1, 300}, {0, 1, 4, 4}};
    Genetic engine(1, 2, table, 1);
    uint8_t c[3] = {};

    engine.SetGene(c, 0, 300);
    std::vector<int32_t> down;
    while (engine.StepGene(c, 0, -2))
        down.push_back(engine.GetGene(c, 0));
    EXPECT_EQ(down, (std::vector<int32_t>{150, 75, 38, 19, 10, 5, 3, 2, 1}));

    std::vector<int32_t> up;
    while (engine.StepGene(c, 0, 7))
        up.push_back(engine.GetGene(c, 0));
    EXPECT_EQ(up.front(), 151);
    EXPECT_EQ(up.back(), 300);

    EXPECT_TRUE(engine.StepGene(c, 0, -1));
    EXPECT_EQ(engine.GetGene(c, 0), 299);
    EXPECT_TRUE(engine.StepGene(c, 0, 1));
    EXPECT_EQ(engine.GetGene(c, 0), 300);
    EXPECT_FALSE(engine.StepGene(c, 0, 0)) << "direction 0 moves up, already at the top";

    engine.SetGene(c, 1, 4);
    EXPECT_FALSE(engine.StepGene(c, 1, -1)) << "a fixed gene never moves";
    EXPECT_FALSE(engine.StepGene(c, 1, 1));
}

TEST(Genetic, EliteCountTruncatesTheExtendedProduct) {
    GeneDesc table[2] = {{0, 1, 0, 1}, {0, 1, 0, 1}};
    struct Case {
        const char* name;
        int32_t population;
        double fraction;
        int32_t elite;
    } cases[] = {{"50 x 6 % lies a hair below 3", 50, PercentFraction(6), 2},
                 {"50 x 1 %", 50, PercentFraction(1), 0},
                 {"100 x 5 %", 100, PercentFraction(5), 5},
                 {"negative fraction", 10, -0.5, 0},
                 {"fraction above one", 10, 2.0, 10}};
    for (const Case& c : cases) {
        Genetic engine(c.population, 2, table, 1);
        engine.SetParams(c.fraction, 0.01, 0.4, 0.8);
        EXPECT_EQ(engine.eliteCount(), c.elite) << c.name;
    }
}

// One generation replayed draw by draw: population 10, 90, 50, 85 with one elite, no
// mutation and no crossover. Sorted 90, 85, 50, 10; the last two fall below 0.8 of the
// range and are rebuilt from better-placed parents with one mutated gene.
TEST(Genetic, SelectionSortsKeepsTheEliteAndReplacesTheWeak) {
    const uint32_t seed = 2024;
    auto table = HandTable();
    HandScored engine(4, 2, table.data(), seed);
    engine.SetScores({10, 90, 50, 85});
    engine.SetParams(0.25, 0.0, 0.0, 0.8);
    ASSERT_EQ(engine.eliteCount(), 1);
    ASSERT_TRUE(engine.NextGeneration());
    EXPECT_EQ(engine.calls, 4);

    ReferenceDraws draws(seed);
    for (int k = 0; k < 3 * 2 + 4; ++k)
        draws.Next(); // mutation chances of three individuals, crossover chances of four
    int32_t gene0[4] = {90, 85, 50, 10};
    int32_t gene1[4] = {0, 0, 0, 0};
    for (int i = 2; i < 4; ++i) {
        const int32_t a = draws.Index(i);
        const int32_t b = draws.Index(i);
        if (a != b)
            draws.Index(1); // the cut: the only inner boundary, after gene 0
        gene0[i] = gene0[a];
        gene1[i] = gene1[b];
        while (draws.Index(2) != 1) {
        }
        gene1[i] = draws.Next() % 2;
    }
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(engine.GetGene(engine.Chromosome(i), 0), gene0[i]) << "position " << i;
        EXPECT_EQ(engine.GetGene(engine.Chromosome(i), 1), gene1[i]) << "position " << i;
    }
    EXPECT_EQ(engine.Score(0), 90.0);
    EXPECT_EQ(engine.Score(1), 85.0);
    EXPECT_EQ(engine.Score(2), NotEvaluated);
    EXPECT_EQ(engine.Score(3), NotEvaluated);
    EXPECT_EQ(engine.RandomInt(), draws.Next()) << "no draw more, no draw less";
}

TEST(Genetic, StopRequestLeavesThePopulationUnsorted) {
    auto table = HandTable();
    HandScored engine(5, 2, table.data(), 9);
    engine.SetScores({10, 90, 50, 85, 20});
    engine.SetParams(0.2, 0.0, 0.0, 0.8);
    engine.stopAfter = 2;
    EXPECT_FALSE(engine.NextGeneration());
    const int32_t order[5] = {10, 90, 50, 85, 20};
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(engine.GetGene(engine.Chromosome(i), 0), order[i]) << "position " << i;
    EXPECT_EQ(engine.Score(0), 10.0);
    EXPECT_EQ(engine.Score(1), 90.0);
    for (int32_t i = 2; i < 5; ++i)
        EXPECT_EQ(engine.Score(i), NotEvaluated) << "position " << i;
}

TEST(Genetic, EqualScoresReplaceNobody) {
    auto table = HandTable();
    HandScored engine(5, 2, table.data(), 3);
    engine.SetScores({7, 7, 7, 7, 7});
    engine.SetParams(0.2, 0.0, 0.0, 0.99);
    ASSERT_TRUE(engine.NextGeneration());
    ASSERT_TRUE(engine.NextGeneration());
    EXPECT_EQ(engine.calls, 5) << "nothing changed, so nothing is evaluated again";
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(engine.Score(i), 7.0);
}

// Ties in the selection: equal scores keep their order in the sort, and a normalised score
// exactly at the survival factor survives. Gene 1 marks the individuals; no elite, no mutation,
// no crossover.
TEST(Genetic, SelectionTiesKeepOrderAndEqualityToTheFactorSurvives) {
    const struct {
        const char* name;
        std::vector<int32_t> scores, marks;
        double survival;
        std::vector<double> sortedScores; // NotEvaluated where replaced
        std::vector<int32_t> keptMarks;   // of the positions not replaced
    } cases[] = {
        {"equal scores", {5, 7, 5}, {0, 0, 1}, 0.0, {7, 5, 5}, {0, 0, 1}},
        {"at the factor", {10, 5, 0}, {0, 1, 0}, 0.5, {10, 5, NotEvaluated}, {0, 1}},
    };
    for (const auto& c : cases) {
        auto table = HandTable();
        const auto n = static_cast<int32_t>(c.scores.size());
        HandScored engine(n, 2, table.data(), 5);
        engine.SetScores(c.scores);
        for (int32_t i = 0; i < n; ++i)
            engine.SetGene(engine.Chromosome(i), 1, c.marks[static_cast<size_t>(i)]);
        engine.SetParams(0.0, 0.0, 0.0, c.survival);
        ASSERT_TRUE(engine.NextGeneration()) << c.name;
        for (int32_t i = 0; i < n; ++i)
            EXPECT_EQ(engine.Score(i), c.sortedScores[static_cast<size_t>(i)])
                << c.name << ", position " << i;
        for (size_t i = 0; i < c.keptMarks.size(); ++i)
            EXPECT_EQ(engine.GetGene(engine.Chromosome(static_cast<int32_t>(i)), 1), c.keptMarks[i])
                << c.name << ", position " << i;
    }
}

TEST(Genetic, CrossoverNeverChangesAnElite) {
    GeneDesc table[4] = {{0, 1, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}};
    Genetic engine(6, 4, table, 11);
    engine.SetParams(0.5, 0.0, 1.0, 0.0);
    ASSERT_TRUE(engine.SelectionStep()); // base fitness: all 0, all evaluated
    std::vector<std::vector<uint8_t>> before;
    for (int32_t i = 0; i < 6; ++i)
        before.emplace_back(engine.Chromosome(i), engine.Chromosome(i) + 4);
    engine.CrossoverStep();
    int changed = 0;
    for (int32_t i = 0; i < 6; ++i) {
        const bool same = std::memcmp(before[i].data(), engine.Chromosome(i), 4) == 0;
        if (i < 3) {
            EXPECT_TRUE(same) << "elite " << i;
            EXPECT_EQ(engine.Score(i), 0.0) << "elite " << i;
        } else if (engine.Score(i) == NotEvaluated) {
            ++changed;
        }
    }
    EXPECT_GT(changed, 0);
}

// The elite boundary in crossover: an elite (position 0 of an elite of 1) whose partner is the
// first position outside the elite gives that partner its head.
TEST(Genetic, EliteCrossesWithTheFirstPositionOutsideTheElite) {
    uint32_t seed = 1;
    for (;; ++seed) { // the first seed whose first crossover draws hit and pick partner 1
        ReferenceDraws draws(seed);
        if (draws.Next() % 1001 < 1000 && draws.Index(2) == 1)
            break;
    }
    GeneDesc table[2] = {{0, 1, 0, 255}, {0, 1, 0, 255}};
    Genetic engine(2, 2, table, seed);
    engine.SetParams(0.5, 0.0, 1.0, 0.0);
    ASSERT_EQ(engine.eliteCount(), 1);
    engine.SetGene(engine.Chromosome(0), 0, 11);
    engine.SetGene(engine.Chromosome(1), 0, 22);
    engine.CrossoverStep();
    EXPECT_EQ(engine.GetGene(engine.Chromosome(0), 0), 11);
    EXPECT_EQ(engine.GetGene(engine.Chromosome(1), 0), 11);
    EXPECT_EQ(engine.Score(1), NotEvaluated);
}

// Fitness: the sum of four one-byte genes.
class SumOfGenes : public Genetic {
public:
    using Genetic::Genetic;
    double Fitness(const uint8_t* c) override {
        return GetGene(c, 0) + GetGene(c, 1) + GetGene(c, 2) + GetGene(c, 3);
    }
};

TEST(Genetic, TheBestOfEveryGenerationStaysAtTheTop) {
    GeneDesc table[4] = {{0, 1, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}};
    for (const double eliteFraction : {0.1, 0.0}) {
        SumOfGenes engine(20, 4, table, 5);
        engine.SetParams(eliteFraction, 0.5, 0.5, 0.8);
        double best = NotEvaluated;
        for (int g = 0; g < 30; ++g) {
            ASSERT_TRUE(engine.NextGeneration());
            EXPECT_EQ(engine.Score(0), engine.Fitness(engine.Chromosome(0)));
            for (int32_t i = 1; i < 20; ++i)
                EXPECT_LE(engine.Score(i), engine.Score(0));
            if (eliteFraction > 0) {
                EXPECT_GE(engine.Score(0), best) << "generation " << g;
                best = engine.Score(0);
            }
        }
        EXPECT_GT(engine.Score(0), 4 * 200.0) << "elite fraction " << eliteFraction;
    }
}

TEST(Genetic, SameSeedSameRunOtherSeedOtherRun) {
    GeneDesc table[4] = {{0, 1, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}};
    const auto run = [&](uint32_t seed) {
        SumOfGenes engine(20, 4, table, seed);
        engine.SetParams(0.1, 0.05, 0.4, 0.8);
        for (int g = 0; g < 5; ++g)
            engine.NextGeneration();
        std::vector<int32_t> genes;
        for (int32_t i = 0; i < 20; ++i)
            for (int32_t j = 0; j < 4; ++j)
                genes.push_back(engine.GetGene(engine.Chromosome(i), j));
        return genes;
    };
    EXPECT_EQ(run(31), run(31));
    EXPECT_NE(run(31), run(32));
}

// Tables the searches never build: without an inner gene boundary the cut falls at the end,
// and without a gene that can change the replacement mutates nothing instead of drawing
// forever.
TEST(Genetic, DegenerateTablesEndTheirGenerations) {
    GeneDesc single[1] = {{0, 2, 0, 1000}};
    HandScored one(8, 1, single, 4); // scores by its one gene
    one.SetParams(0.0, 0.5, 1.0, 0.9);
    for (int g = 0; g < 5; ++g)
        EXPECT_TRUE(one.NextGeneration());

    GeneDesc fixed[2] = {{0, 1, 0, 0}, {0, 1, 3, 3}};
    HandScored frozen(4, 2, fixed, 4);
    frozen.SetScores({10, 90, 50, 85});
    frozen.SetParams(0.25, 0.5, 0.5, 0.8);
    EXPECT_TRUE(frozen.NextGeneration());
    EXPECT_EQ(frozen.Score(0), 90.0);
}

} // namespace
} // namespace quendal
