#include "io/race_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/numbers.h"
#include "model/planet_rules.h"

namespace quendal {
namespace {

// A complete race file: a sensitive typical race with the given Step2 bounds text.
std::string RaceText(const std::string& step2, const std::string& step4 = "Advantage=0\n") {
    return "[Step1]\nRaceName=Testers\n"
           "[Step2]\n" +
           step2 +
           "MaxGrowthYRate=17\n"
           "[Step3]\n"
           "NColonistYTo1Resource=1000\nNResourceYFrom10Factory=10\nNResourceBuildFactory=10\n"
           "NFactoryWork10000=10\nNResourceBuildMine=5\nNMineWork10000=10\n"
           "NMineralYFrom10Mine=10\n"
           "[Step4]\n" +
           step4;
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

const std::string kTypicalBounds =
    "Env0Min=20\nEnv0Max=80\nEnv1Min=30\nEnv1Max=70\nEnv2Min=10\nEnv2Max=90\n";

struct Loaded {
    std::unique_ptr<CalcModel> model = std::make_unique<CalcModel>();
    std::string name;
};

// Loads a race as the race button does, with the start-habitability field's text.
Loaded Load(const std::string& text, std::string_view startPrc = "50") {
    Loaded loaded;
    const RaceFile file = ParseRace(text);
    ApplyRace(*loaded.model, file.race, LeadingInt(startPrc));
    loaded.name = file.name;
    return loaded;
}

TEST(LoadRace, ReadsEveryKeyOfATypicalRace) {
    const Loaded loaded = Load(RaceText(kTypicalBounds));
    const CalcModel& m = *loaded.model;
    EXPECT_EQ(loaded.name, "Testers");
    EXPECT_EQ(m.Race.Env0Min, 20);
    EXPECT_EQ(m.Race.Env0Max, 80);
    EXPECT_EQ(m.Race.Env1Min, 30);
    EXPECT_EQ(m.Race.Env1Max, 70);
    EXPECT_EQ(m.Race.Env2Min, 10);
    EXPECT_EQ(m.Race.Env2Max, 90);
    EXPECT_EQ(m.Race.MaxGrowthYRate, 17);
    EXPECT_EQ(m.Race.NColonistYTo1Resource, 1000);
    EXPECT_EQ(m.Race.NResourceYFrom10Factory, 10);
    EXPECT_EQ(m.Race.NResourceBuildFactory, 10);
    EXPECT_EQ(m.Race.NFactoryWork10000, 10);
    EXPECT_EQ(m.Race.NResourceBuildMine, 5);
    EXPECT_EQ(m.Race.NMineWork10000, 10);
    EXPECT_EQ(m.Race.NMineralYFrom10Mine, 10);
    EXPECT_FALSE(m.Race.FullTForm);
    EXPECT_TRUE(m.RaceLoaded);
    // The worked example of the worst-factor algorithm: 50 % gives 46, 45, 41.
    EXPECT_EQ(m.Planet.PlanetEnv[0], 46);
    EXPECT_EQ(m.Planet.PlanetEnv[1], 45);
    EXPECT_EQ(m.Planet.PlanetEnv[2], 41);
    EXPECT_EQ(m.Planet.PlanetPrc, 50);
}

TEST(LoadRace, DerivesOptimumAndHalfWidth) {
    struct Case {
        const char* name;
        const char* bounds;
        int32_t halfWidth, opt;
    };
    const Case cases[] = {
        {"ordinary", "Env0Min=15\nEnv0Max=86\n", 35, 50},
        {"reversed truncates toward zero", "Env0Min=20\nEnv0Max=15\n", -2, 17},
        {"immune", "Env0Min=102\nEnv0Max=102\n", 0, 102},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Load(
            RaceText(std::string(c.bounds) + "Env1Min=30\nEnv1Max=70\nEnv2Min=10\nEnv2Max=90\n"));
        EXPECT_EQ(loaded.model->Race.EnvHalfWidth[0], c.halfWidth) << c.name;
        EXPECT_EQ(loaded.model->Race.EnvOpt[0], c.opt) << c.name;
    }
}

TEST(LoadRace, FullTerraformingFromBitNineOfAdvantage) {
    struct Case {
        const char* name;
        std::string step4;
        bool full;
    };
    const Case cases[] = {
        {"512", "Advantage=512\n", true},
        {"1536", "Advantage=1536\n", true},
        {"511", "Advantage=511\n", false},
        {"negative in two's complement", "Advantage=-1\n", true},
        {"-1024 has bit 9 clear", "Advantage=-1024\n", false},
        {"missing key", "Other=512\n", false},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Load(RaceText(kTypicalBounds, c.step4));
        EXPECT_EQ(loaded.model->Race.FullTForm, c.full) << c.name;
    }
    // Without a Step4 section at all.
    std::string text = RaceText(kTypicalBounds);
    text = text.substr(0, text.find("[Step4]"));
    EXPECT_FALSE(Load(text).model->Race.FullTForm);
}

TEST(LoadRace, NumbersByLeadingIntegerAfterTheCut) {
    struct Case {
        const char* name;
        const char* value;
        int32_t expected;
    };
    const Case cases[] = {
        {"blanks around", "  42  ", 42},
        {"plus sign", "+7", 7},
        {"minus sign", "-3", -3},
        {"fraction", "7.9", 7},
        {"letter first", "x12", 0},
        {"empty", "", 0},
        {"thirteen digits cut to nine", "1234567890123", 123456789},
        {"quoted", "\"19\"", 19},
    };
    for (const Case& c : cases) {
        std::string text = RaceText(kTypicalBounds);
        const std::string key = "NColonistYTo1Resource=";
        text.replace(text.find(key) + key.size(), 4, c.value);
        EXPECT_EQ(Load(text).model->Race.NColonistYTo1Resource, c.expected) << c.name;
    }
}

TEST(LoadRace, EmptyFileLoadsDefaults) {
    auto model = std::make_unique<CalcModel>();
    model->Race.MaxGrowthYRate = 15;
    model->Race.Env0Min = 5;
    const RaceFile file = ParseRace("");
    ApplyRace(*model, file.race, 30);
    EXPECT_EQ(file.name, "-");
    EXPECT_EQ(model->Race.MaxGrowthYRate, 0);
    EXPECT_EQ(model->Race.Env0Min, 0);
    EXPECT_EQ(model->Race.NColonistYTo1Resource, 0);
    EXPECT_TRUE(model->RaceLoaded);

    // A race given by its bounds alone gets its optimum and half-width.
    RaceParams bounds;
    bounds.Env0Min = 10;
    bounds.Env0Max = 50;
    ApplyRace(*model, bounds, 30);
    EXPECT_EQ(model->Race.EnvOpt[0], 30);
    EXPECT_EQ(model->Race.EnvHalfWidth[0], 20);
}

TEST(LoadRace, ImmuneToAllGivesFullHabitability) {
    const Loaded loaded = Load(RaceText("Env0Min=102\nEnv0Max=102\nEnv1Min=102\nEnv1Max=102\n"
                                        "Env2Min=102\nEnv2Max=102\n"),
                               "100");
    const CalcModel& m = *loaded.model;
    EXPECT_EQ(m.Planet.PlanetPrc, 100);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.Planet.PlanetEnv[i], 102) << i;
}

TEST(LoadRace, PlanetPrcIsWhatTheFactorsGive) {
    // Qualities 60, 50 and 100 would give 29, never the 30 that was asked for.
    const Loaded loaded = Load(RaceText("Env0Min=20\nEnv0Max=80\nEnv1Min=102\nEnv1Max=102\n"
                                        "Env2Min=102\nEnv2Max=102\n"),
                               " 50%");
    EXPECT_EQ(loaded.model->Planet.PlanetEnv[0], 35);
    EXPECT_EQ(loaded.model->Planet.PlanetPrc, 50);
    const Loaded negative = Load(RaceText(kTypicalBounds), "-20");
    EXPECT_EQ(negative.model->Planet.PlanetEnv[0], 14);
    EXPECT_EQ(negative.model->Planet.PlanetEnv[1], 26);
    EXPECT_EQ(negative.model->Planet.PlanetEnv[2], 2);
    EXPECT_EQ(negative.model->Planet.PlanetPrc, -20);
}

TEST(LoadRace, ResetsThePlanetEvenIfSetBefore) {
    auto model = std::make_unique<CalcModel>();
    for (int i = 0; i < 3; ++i) {
        model->Planet.PlanetMineral[i] = 500;
        model->Planet.PlanetConPrc[i] = 7;
        model->Planet.MaxTFormPrc[i] = 30;
    }
    model->Planet.PlanetHW = true;
    model->Planet.PlanetFabr = 40;
    model->Planet.PlanetMine = 25;
    ApplyRace(*model, ParseRace(RaceText(kTypicalBounds)).race, 50);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(model->Planet.PlanetMineral[i], 0);
        EXPECT_EQ(model->Planet.PlanetConPrc[i], 100);
        EXPECT_EQ(model->Planet.MaxTFormPrc[i], 11);
    }
    EXPECT_FALSE(model->Planet.PlanetHW);
    EXPECT_EQ(model->Planet.PlanetFabr, 0);
    EXPECT_EQ(model->Planet.PlanetMine, 0);
}

TEST(ClearRace, EmptiesTemplatesAndCountsButKeepsTheRace) {
    auto model = std::make_unique<CalcModel>();
    ApplyRace(*model, ParseRace(RaceText(kTypicalBounds)).race, 50);
    const QueueItem item{Factories, 10, 5, 0.0};
    model->QueueMinus.Append(&item);
    model->QueuePlus.Append(&item);
    model->Planet.PlanetFabr = 12;
    model->Planet.PlanetMine = 8;
    model->Planet.PlanetMineral[1] = 300;

    ClearRace(*model);
    EXPECT_FALSE(model->RaceLoaded);
    EXPECT_EQ(model->QueueMinus.count(), 0);
    EXPECT_EQ(model->QueuePlus.count(), 0);
    EXPECT_EQ(model->Planet.PlanetFabr, 0);
    EXPECT_EQ(model->Planet.PlanetMine, 0);
    EXPECT_EQ(model->Race.MaxGrowthYRate, 17);
    EXPECT_EQ(model->Race.EnvOpt[0], 50);
    EXPECT_EQ(model->Planet.PlanetMineral[1], 300);
    EXPECT_EQ(model->Planet.PlanetPrc, 50);
}

TEST(LoadRace, NameIsCutAndDecoded) {
    struct Case {
        const char* name;
        std::string raw, expected;
    };
    const Case cases[] = {
        {"sixty letters cut to 49", std::string(60, 'a'), std::string(49, 'a')},
        {"Windows-1251", "\xD2\xEA\xE0\xF7\xE8", "Ткачи"},
        {"UTF-8 kept", "Ткачи", "Ткачи"},
        // 25 two-byte letters are 50 bytes; the cut to 49 splits the last one.
        {"UTF-8 split by the cut", Repeat("ж", 25), Repeat("ж", 24)},
        // A short name is not cut: a last Windows-1251 letter is no broken tail.
        {"1251 letter ends a short name", "Zerg-\xD0", "Zerg-Р"},
        {"1251 letter after a blank", "Race \xDF", "Race Я"},
        {"1251 letter at the cut", std::string(48, 'a') + "\xD0\xC0", std::string(48, 'a') + "Р"},
        {"UTF-8 that fits the cut", std::string(47, 'a') + "жb", std::string(47, 'a') + "ж"},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Load("[Step1]\nRaceName=\"" + c.raw + "\"\n");
        EXPECT_EQ(loaded.name, c.expected) << c.name;
    }
}

} // namespace
} // namespace quendal
