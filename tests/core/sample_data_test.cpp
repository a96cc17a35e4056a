#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "io/file_bytes.h"
#include "io/planet_list.h"
#include "io/race_file.h"
#include "model/planet_rules.h"

namespace quendal {
namespace {

// The bytes of a sample file; empty when it cannot be read, which the tests then show.
std::string DataFile(const char* name) {
    return ReadFileBytes(std::string(QUENDAL_SOURCE_DIR) + "/data/" + name).value_or("");
}

// A model with the typical sample race loaded for a start habitability of 25.
std::unique_ptr<CalcModel> TypicalModel() {
    auto model = std::make_unique<CalcModel>();
    ApplyRace(*model, ParseRace(DataFile("typical.urc")).race, 25);
    return model;
}

TEST(SampleData, RaceFiles) {
    struct Case {
        const char* file;
        const char* name;
        int32_t opt[3];
        int32_t growth;
        bool full;
    };
    const Case cases[] = {
        {"typical.urc", "Kessarine Weavers", {50, 50, 50}, 17, false},
        {"immune-gravity.urc", "Glass Dune Walkers", {102, 40, 60}, 15, false},
        {"immune-two.urc", "Тихие Рудокопы", {102, 102, 60}, 19, false},
        {"full-tform.urc", "Orrin Shapers", {35, 40, 70}, 18, true},
    };
    for (const Case& c : cases) {
        auto model = std::make_unique<CalcModel>();
        const RaceFile file = ParseRace(DataFile(c.file));
        ApplyRace(*model, file.race, 25);
        EXPECT_EQ(file.name, c.name) << c.file;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(model->Race.EnvOpt[i], c.opt[i]) << c.file << " factor " << i;
        EXPECT_EQ(model->Race.MaxGrowthYRate, c.growth) << c.file;
        EXPECT_EQ(model->Race.FullTForm, c.full) << c.file;
        EXPECT_EQ(model->Race.NColonistYTo1Resource, 1000) << c.file;
        // Whole factor points reach the asked 25 % or fall a few points short.
        EXPECT_LE(model->Planet.PlanetPrc, 25) << c.file;
        EXPECT_GE(model->Planet.PlanetPrc, 20) << c.file;
    }
}

TEST(SampleData, PlanetLists) {
    struct Case {
        const char* file;
        size_t count;
        const char* first;
    };
    const Case cases[] = {
        {"planets-8.txt", 8, "Alder, необитаемая, 62%"},
        {"planets-11.txt", 7, "Ольха, ничья, 74%"},
        {"planets-20.txt", 7, "Weaver Home, обитаемая, 80%"},
    };
    for (const Case& c : cases) {
        auto model = TypicalModel();
        const PlanetList list = ParsePlanetList(DataFile(c.file), model->Race);
        const std::vector<std::string>& entries = list.entries;
        ASSERT_EQ(entries.size(), c.count) << c.file;
        EXPECT_EQ(entries[0], c.first) << c.file;
        EXPECT_EQ(list.planets.size(), c.count) << c.file;
        ApplyPlanet(*model, list.planets[0]);
        // The stated habitability comes back, up to what whole factor points lose.
        const int32_t stated = std::stoi(entries[0].substr(entries[0].rfind(", ") + 2));
        EXPECT_LE(model->Planet.PlanetPrc, stated) << c.file;
        EXPECT_GE(model->Planet.PlanetPrc, stated - 5) << c.file;
    }
}

TEST(SampleData, TwentyColumnListCarriesTheColony) {
    auto model = TypicalModel();
    const PlanetList list = ParsePlanetList(DataFile("planets-20.txt"), model->Race);
    ASSERT_EQ(list.planets.size(), 7u);
    EXPECT_EQ(ApplyPlanet(*model, list.planets[1]), 412);
    EXPECT_EQ(model->Planet.PlanetMine, 20);
    EXPECT_EQ(model->Planet.PlanetFabr, 35);
    EXPECT_EQ(model->Planet.PlanetConPrc[1], 81);
    EXPECT_EQ(model->Planet.PlanetMineral[1], 1250);
}

} // namespace
} // namespace quendal
