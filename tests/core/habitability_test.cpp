#include "model/habitability.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace quendal {
namespace {

using Triple = std::array<int32_t, 3>;

// The model holds lists and cannot be copied, so tests hold it by pointer.
std::unique_ptr<CalcModel> MakeModel(Triple lo, Triple hi) {
    auto made = std::make_unique<CalcModel>();
    CalcModel& model = *made;
    model.Race.Env0Min = lo[0];
    model.Race.Env0Max = hi[0];
    model.Race.Env1Min = lo[1];
    model.Race.Env1Max = hi[1];
    model.Race.Env2Min = lo[2];
    model.Race.Env2Max = hi[2];
    model.Race.DeriveOptimum();
    for (int i = 0; i < 3; ++i)
        model.Planet.MaxTFormPrc[i] = 11;
    return made;
}

// The race of the worked examples: sensitive to all three factors.
std::unique_ptr<CalcModel> Typical() {
    return MakeModel({20, 30, 10}, {80, 70, 90});
}
// Sensitive to gravity (20..80) only.
std::unique_ptr<CalcModel> GravityOnly() {
    return MakeModel({20, 102, 102}, {80, 102, 102});
}

int32_t Prc(const CalcModel& model, Triple env) {
    return CalcPlanetPrc(model.Race, env.data());
}

TEST(CalcPlanetPrc, SingleFactorQualities) {
    const auto modelHolder = GravityOnly();
    const CalcModel& model = *modelHolder;
    struct Case {
        int32_t value, prc;
    } cases[] = {{50, 100}, {35, 50}, {20, 0}, {10, -33}, {0, -66}, {95, -50}};
    for (const Case& c : cases)
        EXPECT_EQ(Prc(model, {c.value, 102, 102}), c.prc) << "value " << c.value;
}

// The product is formed in extended precision and stored as a double, so many results fall
// one below the exact decimal product. Bounds 0..200 give quality q at the value q.
TEST(CalcPlanetPrc, ExtendedPrecisionProductFallsBelowDecimal) {
    const auto singleHolder = MakeModel({0, 102, 102}, {200, 102, 102});
    EXPECT_EQ(Prc(*singleHolder, {29, 102, 102}), 28);
    EXPECT_EQ(Prc(*singleHolder, {60, 102, 102}), 59);

    const auto threeHolder = MakeModel({0, 0, 0}, {200, 200, 200});
    struct Case {
        Triple qualities;
        int32_t prc;
    } cases[] = {{{15, 20, 100}, 2}, {{60, 50, 100}, 29}, {{50, 80, 100}, 40}, {{50, 50, 25}, 6}};
    for (const Case& c : cases)
        EXPECT_EQ(Prc(*threeHolder, c.qualities), c.prc)
            << c.qualities[0] << " " << c.qualities[1] << " " << c.qualities[2];
}

TEST(CalcPlanetPrc, TypicalRaceEdgeCases) {
    const auto modelHolder = Typical();
    const CalcModel& model = *modelHolder;
    EXPECT_EQ(Prc(model, {35, 40, 20}), 6); // qualities 50, 50, 25
    EXPECT_EQ(Prc(model, {21, 31, 11}), 1); // all three above 0 but product below 1 %
    EXPECT_EQ(Prc(model, {20, 50, 50}), 0); // gravity on its bound
    // One factor outside its range: its negative quality alone, not a product.
    EXPECT_EQ(Prc(model, {10, 50, 50}), -33);
    EXPECT_EQ(Prc(model, {50, 50, 50}), 100);
    // Quality -120 and worse give the floor.
    EXPECT_EQ(Prc(model, {-16, 50, 50}), -75);
    EXPECT_EQ(Prc(model, {50, 50, 2000000000}), -75);
}

TEST(CalcPlanetPrc, ImmuneToAllIsAlwaysHundred) {
    const auto modelHolder = MakeModel({102, 102, 102}, {102, 102, 102});
    const CalcModel& model = *modelHolder;
    EXPECT_EQ(Prc(model, {102, 102, 102}), 100);
    EXPECT_EQ(Prc(model, {0, 55, -7}), 100);
}

TEST(SetEnvForPrc, WorkedExamples) {
    struct Case {
        int32_t wanted;
        Triple env;
        int32_t reached;
    } cases[] = {{50, {46, 45, 41}, 50},
                 {40, {44, 44, 39}, 40},
                 {0, {20, 30, 10}, 0},
                 {-20, {14, 26, 2}, -20}};
    for (const Case& c : cases) {
        const auto modelHolder = Typical();
        CalcModel& model = *modelHolder;
        model.Planet.PlanetPrc = c.wanted;
        Triple env{};
        EXPECT_EQ(EnvForPrc(model.Race, c.wanted, env.data()), c.reached) << "wanted " << c.wanted;
        EXPECT_EQ(env, c.env) << "wanted " << c.wanted;
        SetEnvForPrc(model);
        EXPECT_EQ(Triple(std::to_array(model.Planet.PlanetEnv)), c.env);
        EXPECT_EQ(model.Planet.PlanetPrc, c.reached);
    }
}

TEST(SetEnvForPrc, ImmuneFactorsAndLimits) {
    const auto gravityHolder = GravityOnly();
    CalcModel& gravity = *gravityHolder;
    gravity.Planet.PlanetPrc = 50;
    SetEnvForPrc(gravity);
    EXPECT_EQ(Triple(std::to_array(gravity.Planet.PlanetEnv)), (Triple{35, 102, 102}));
    EXPECT_EQ(gravity.Planet.PlanetPrc, 50);

    const auto immuneHolder = MakeModel({102, 102, 102}, {102, 102, 102});

    CalcModel& immune = *immuneHolder;
    immune.Planet.PlanetPrc = 30;
    SetEnvForPrc(immune);
    EXPECT_EQ(Triple(std::to_array(immune.Planet.PlanetEnv)), (Triple{102, 102, 102}));
    EXPECT_EQ(immune.Planet.PlanetPrc, 100);

    // -75 puts the factors below the minima, never below 1.
    const auto worstHolder = Typical();
    CalcModel& worst = *worstHolder;
    worst.Planet.PlanetPrc = -75;
    SetEnvForPrc(worst);
    for (int i = 0; i < 3; ++i) {
        EXPECT_LT(worst.Planet.PlanetEnv[i], worst.Race.EnvMin(i));
        EXPECT_GE(worst.Planet.PlanetEnv[i], 1);
    }
    EXPECT_LE(worst.Planet.PlanetPrc, -75 + 25);

    // A factor that lands exactly on 0 becomes 1 too: 5 + (25 * -20) * 0.01 = 0.
    const auto zeroHolder = MakeModel({5, 102, 102}, {55, 102, 102});
    CalcModel& zero = *zeroHolder;
    zero.Planet.PlanetPrc = -20;
    SetEnvForPrc(zero);
    EXPECT_EQ(zero.Planet.PlanetEnv[0], 1);
    EXPECT_EQ(zero.Planet.PlanetPrc, -20);
}

// Above 100 (from a file) the root decides a factor that lands on a whole number: the share of
// 9409 is the double just below 94.09, whose correctly rounded root lies below 9.7, so that
// 10 + 10 * 8.7 truncates to 96 on every processor (a C library's pow gave 97 on some).
TEST(SetEnvForPrc, RootAboveAHundredIsTheSameEverywhere) {
    const auto modelHolder = MakeModel({0, 0, 102}, {20, 20, 102});
    Triple env{};
    EnvForPrc(modelHolder->Race, 9409, env.data());
    EXPECT_EQ(env, (Triple{96, 96, 102}));
}

// The reached habitability is never above the wanted one; when the first guess already meets
// the wanted value it is kept, so the factors may give more than it. A value above what the
// optima give leaves every factor on its optimum.
TEST(SetEnvForPrc, NeverAboveWantedForEveryPercentage) {
    for (int32_t wanted = -75; wanted <= 100; ++wanted) {
        const auto modelHolder = MakeModel({15, 0, 35}, {86, 100, 64});
        CalcModel& model = *modelHolder;
        model.Planet.PlanetPrc = wanted;
        SetEnvForPrc(model);
        EXPECT_LE(model.Planet.PlanetPrc, wanted);
        const Triple env = std::to_array(model.Planet.PlanetEnv);
        if (env != std::to_array(model.Race.EnvOpt))
            EXPECT_GE(Prc(model, env), model.Planet.PlanetPrc) << wanted;
        else
            EXPECT_EQ(Prc(model, env), 96); // the race's best: qualities 99, 100 and 97
    }
}

TEST(Terraforming, TargetsAndTFormPrc) {
    const auto modelHolder = MakeModel({0, 102, 102}, {84, 102, 102});
    CalcModel& model = *modelHolder; // optimum 42
    Triple target{};
    Triple env{20, 102, 102};
    TFormTarget(model, env.data(), target.data());
    EXPECT_EQ(target, (Triple{31, 102, 102}));
    env = {35, 102, 102};
    TFormTarget(model, env.data(), target.data());
    EXPECT_EQ(target, (Triple{42, 102, 102}));
    EXPECT_EQ(CalcTFormPrc(model, env.data()), 100);
    env = {60, 102, 102};
    TFormTarget(model, env.data(), target.data());
    EXPECT_EQ(target[0], 49);

    // An immune factor keeps its value whatever the limit, even a negative one.
    model.Planet.MaxTFormPrc[1] = -5;
    env = {42, 102, 102};
    TFormTarget(model, env.data(), target.data());
    EXPECT_EQ(target[1], 102);
}

TEST(Terraforming, FactorChoiceAndSteps) {
    const auto gravityHolder = GravityOnly();
    const CalcModel& gravity = *gravityHolder;
    Triple cur{30, 102, 102}, tgt{41, 102, 102};
    // Immune factors are never candidates, but gravity's distance counts.
    TFormChoice choice = FactorToTerraform(gravity.Race, cur.data(), tgt.data());
    EXPECT_EQ(choice.index, 0);
    EXPECT_EQ(choice.distance, 11);

    const auto typicalHolder = Typical();

    const CalcModel& typical = *typicalHolder;
    cur = {40, 45, 39};
    tgt = {50, 50, 50};
    choice = FactorToTerraform(typical.Race, cur.data(), tgt.data());
    EXPECT_EQ(choice.index, 2);
    EXPECT_EQ(choice.distance, 11);
    cur = {39, 45, 39}; // tie: the lower index wins
    EXPECT_EQ(FactorToTerraform(typical.Race, cur.data(), tgt.data()).index, 0);

    EXPECT_EQ(TerraformOrderKind(false, 1), TerraformTemperature);
    EXPECT_EQ(TerraformOrderKind(true, 1), TerraformAll);

    Triple all{40, 50, 60};
    TerraformStep(TerraformAll, all.data(), tgt.data());
    EXPECT_EQ(all, (Triple{41, 50, 59}));
    TerraformStep(TerraformRadiation, all.data(), tgt.data());
    EXPECT_EQ(all, (Triple{41, 50, 58}));
    TerraformStep(TerraformGravity, all.data(), tgt.data());
    EXPECT_EQ(all, (Triple{42, 50, 58}));
}

TEST(RaceParams, DerivedOptimumTruncatesTowardZero) {
    const auto modelHolder = MakeModel({15, 102, 20}, {86, 102, 15});
    CalcModel& model = *modelHolder;
    EXPECT_EQ(model.Race.EnvHalfWidth[0], 35);
    EXPECT_EQ(model.Race.EnvOpt[0], 50);
    EXPECT_EQ(model.Race.EnvOpt[1], 102);
    EXPECT_EQ(model.Race.EnvHalfWidth[1], 0);
    EXPECT_EQ(model.Race.EnvHalfWidth[2], -2); // reversed bounds
    EXPECT_EQ(model.Race.EnvOpt[2], 17);
}

// Races outside the model: an empty file (all bounds 0), reversed bounds, nine-digit bounds.
TEST(DegenerateRaces, EqualBoundsHaveDefinedQuality) {
    const auto emptyHolder = MakeModel({0, 0, 0}, {0, 0, 0});
    CalcModel& empty = *emptyHolder;
    EXPECT_EQ(Prc(empty, {0, 0, 0}), 100);
    EXPECT_EQ(Prc(empty, {0, 1, 0}), -75);
    for (int32_t wanted : {100, 50, 0, -20, -75}) {
        empty.Planet.PlanetPrc = wanted;
        SetEnvForPrc(empty);
        const int32_t prc = Prc(empty, std::to_array(empty.Planet.PlanetEnv));
        EXPECT_GE(prc, -75);
        EXPECT_LE(prc, 100);
    }
    EXPECT_EQ(CalcTFormPrc(empty, empty.Planet.PlanetEnv), 100);
}

TEST(DegenerateRaces, ReversedAndHugeBoundsStayInRange) {
    const auto reversedHolder = MakeModel({20, 30, 10}, {15, 70, 90});
    const CalcModel& reversed = *reversedHolder;
    for (int32_t v : {-100, 0, 17, 20, 50, 1000})
        EXPECT_LE(Prc(reversed, {v, 50, 50}), 100) << v;
    EXPECT_EQ(Prc(reversed, {17, 50, 50}), 100);

    const auto hugeHolder = MakeModel({-99999999, 0, 102}, {999999999, 999999999, 102});

    CalcModel& huge = *hugeHolder;
    EXPECT_EQ(Prc(huge, {450000000, 499999999, 102}), 100);
    EXPECT_EQ(Prc(huge, {-99999999, 499999999, 102}), 0);
    for (int32_t wanted : {99, 37, 1, -75}) {
        huge.Planet.PlanetPrc = wanted;
        SetEnvForPrc(huge); // must finish quickly despite the wide ranges
        EXPECT_LE(huge.Planet.PlanetPrc, wanted);
        EXPECT_GE(Prc(huge, std::to_array(huge.Planet.PlanetEnv)), huge.Planet.PlanetPrc);
    }
}

} // namespace
} // namespace quendal
