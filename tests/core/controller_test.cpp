#include "optimiser/controller.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "io/calc_file.h"
#include "io/file_bytes.h"
#include "model/planet_rules.h"

namespace quendal {
namespace {

std::string DataFile(const char* name) {
    return ReadFileBytes(std::string(QUENDAL_SOURCE_DIR) + "/data/" + name).value_or("");
}

// A controller with the typical race and a planet list, entry 1 chosen and calculated.
Controller Colony(const std::string& listPath = "/home/player/lists/planets-20.txt") {
    Controller c;
    c.LoadRace(DataFile("typical.urc"), "data/typical.urc", 100);
    c.LoadPlanetList(DataFile("planets-20.txt"), listPath);
    c.ChoosePlanet(1);
    c.Calculate({});
    return c;
}

TEST(Controller, SaveIsPossibleOnceCalculatedAndNotWhileSearching) {
    Controller c;
    EXPECT_FALSE(c.CanSave());
    c.Calculate({});
    EXPECT_TRUE(c.CanSave());
    c.SetSearching(true);
    EXPECT_FALSE(c.CanSave());
    c.SetSearching(false);
    c.LoadRace(DataFile("typical.urc"), "typical.urc", 100);
    EXPECT_FALSE(c.CanSave()); // a new race waits for its first calculation
    c.Calculate({});
    c.ClearRace();
    EXPECT_FALSE(c.CanSave());
}

// A file saved by another front end names its list by a path of that machine: the list held
// under the same file name stays chosen, wherever it was read from.
TEST(Controller, OpeningAFileKeepsTheHeldListOfTheSameName) {
    const Controller saved = Colony("/home/player/lists/planets-20.txt");
    const std::string text = saved.CalcText({}, {});
    struct Case {
        const char* heldPath;
        bool kept;
    };
    for (const Case& k : {Case{"planets-20.txt", true}, Case{"C:\\maps\\planets-20.txt", true},
                          Case{"planets-8.txt", false}}) {
        Controller page;
        page.LoadRace(DataFile("typical.urc"), "typical.urc", 100);
        page.LoadPlanetList(DataFile("planets-20.txt"), k.heldPath);
        const OpenedCalc opened = page.OpenCalc(ParseCalcFile(text), "colony.cal", {});
        ASSERT_EQ(opened.error, "") << k.heldPath;
        EXPECT_EQ(page.List().entries.size(), k.kept ? saved.List().entries.size() : 0)
            << k.heldPath;
        EXPECT_EQ(page.ChosenEntry(), k.kept ? 1 : -1) << k.heldPath;
        EXPECT_EQ(page.ListPath(), k.kept ? k.heldPath : "") << k.heldPath;
    }
    // A front end that reads files reads the saved path first.
    Controller window;
    std::string asked;
    window.OpenCalc(ParseCalcFile(text), "colony.cal", [&](const std::string& path) {
        asked = path;
        return std::optional<std::string>(DataFile("planets-20.txt"));
    });
    EXPECT_EQ(asked, "/home/player/lists/planets-20.txt");
    EXPECT_EQ(window.ChosenEntry(), 1);
    EXPECT_EQ(window.Setup({}, {}), ParseCalcFile(text).setup);
}

TEST(Controller, ARefusedFileChangesNothing) {
    Controller c = Colony();
    const std::string before = c.CalcText({}, {});
    const OpenedCalc opened =
        c.OpenCalc(ParseCalcFile("[QuendalCalculation]\nVersion=99\n"), "new.cal", {});
    EXPECT_NE(opened.error.find("Не удалось загрузить файл «new.cal»: "), std::string::npos);
    EXPECT_EQ(c.CalcText({}, {}), before);
    EXPECT_TRUE(c.CanSave());
}

TEST(Controller, ARankedRowChoosesItsEntryAndAFoundRowItsTemplates) {
    Controller c = Colony();
    RankedPlanet row;
    row.index = 3;
    row.foundPlus = {QueueItem{Factories, 10, 5, 0.0}};
    EXPECT_EQ(c.UseRankedRow(row, false), c.List().planets[3].startMen);
    EXPECT_EQ(c.ChosenEntry(), 3);
    EXPECT_EQ(c.Template(true).count(), 0);
    EXPECT_EQ(c.UseRankedRow(row, true), c.List().planets[3].startMen);
    EXPECT_EQ(ItemsOf(c.Template(true)), row.foundPlus);
    row.index = 20;
    EXPECT_EQ(c.UseRankedRow(row, true), -1);
    c.ClearRace();
    row.index = 3;
    EXPECT_EQ(c.UseRankedRow(row, false), -1);
}

TEST(Controller, PlanetTabRules) {
    Controller c;
    c.LoadRace(DataFile("immune-gravity.urc"), "immune-gravity.urc", 100);
    EXPECT_FALSE(c.FactorSpinEnabled(0));
    EXPECT_FALSE(c.FactorRowEnabled(0));
    EXPECT_TRUE(c.FactorSpinEnabled(1));
    c.SetFullTForm(true);
    c.SetTFormLimit(1, 25);
    c.SetFullTForm(false); // the box offers 15 at most again
    EXPECT_EQ(c.Model().Planet.MaxTFormPrc[1], kTFormLimit);
    c.SetConcentration(0, 3);
    c.SetConcentration(1, 40);
    c.SetHomeworld(true);
    EXPECT_EQ(c.Model().Planet.PlanetConPrc[0], kHomeworldConPrc);
    EXPECT_EQ(c.Model().Planet.PlanetConPrc[1], 40);
}

} // namespace
} // namespace quendal

namespace quendal {
namespace {

// Whatever a front end lets a player type, it never saves, links or ranks a calculation that
// its reader would refuse: the refusal names the field.
TEST(Controller, RefusesWhatTheReaderWouldRefuse) {
    struct Case {
        int32_t factor, years, population;
        const char* refusal;
    };
    for (const Case& k :
         {Case{50, 15, 100, ""},
          Case{5000, 15, 100, "[Planet] Env: 5000 вне допустимых пределов -999..999"},
          Case{50, 100000, 100, "ЛЕТ: 100000 вне допустимых пределов 0..99999"},
          Case{50, 15, 1, "П1: 1 вне допустимых пределов 2..9999"}}) {
        Controller c = Colony();
        c.TypeFactor(0, k.factor);
        SearchTab search;
        search.params[0] = k.population;
        const StartFields start{100, 250, 15, k.years};
        EXPECT_EQ(c.Refusal(start, search), k.refusal);
        EXPECT_EQ(c.TakeRankInput(start, search, 7).refusal, k.refusal);
        if (!*k.refusal) {
            EXPECT_FALSE(ParseCalcFile(c.CalcText(start, search)).error);
        }
    }
}

} // namespace
} // namespace quendal
