#include "io/planet_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/habitability.h"
#include "model/planet_rules.h"

namespace quendal {
namespace {

// Bounds 20..80, 30..70, 10..90: sensitive to all three factors.
std::unique_ptr<CalcModel> TypicalRace() {
    auto model = std::make_unique<CalcModel>();
    RaceParams& r = model->Race;
    r.Env0Min = 20, r.Env0Max = 80, r.Env1Min = 30, r.Env1Max = 70, r.Env2Min = 10, r.Env2Max = 90;
    r.DeriveOptimum();
    for (int32_t& limit : model->Planet.MaxTFormPrc)
        limit = 11;
    model->RaceLoaded = true;
    return model;
}

// The factors that the worst-factor algorithm gives the typical race for `prc`.
std::vector<int32_t> EnvFor(int32_t prc) {
    auto model = TypicalRace();
    model->Planet.PlanetPrc = prc;
    SetEnvForPrc(*model);
    return {model->Planet.PlanetEnv[0], model->Planet.PlanetEnv[1], model->Planet.PlanetEnv[2]};
}

std::vector<int32_t> Triple(const int32_t values[3]) {
    return {values[0], values[1], values[2]};
}

struct ReadResult {
    std::unique_ptr<CalcModel> model = TypicalRace();
    PlanetList list;

    int32_t count() const { return static_cast<int32_t>(list.planets.size()); }
    const PlanetEntry& At(int index) const { return list.planets.at(static_cast<size_t>(index)); }
};

ReadResult Read(const std::string& text) {
    ReadResult result;
    result.list = ParsePlanetList(text, result.model->Race);
    return result;
}

// A header line of `count` columns.
std::string Columns(int count) {
    std::string header = "c";
    for (int i = 1; i < count; ++i)
        header += "\tc";
    return header + "\n";
}

const std::string kHeader8 = "Planets of the sector\nName\tOwner\tHab\tConc\tE\tF\tG\tH\n";
const std::string kAlpha = "Alpha\tnobody\t45%\tI: 50 U: 20 L: 75\te\tf\tg\th\n";

TEST(ReadPlanetList, EightColumnLine) {
    ReadResult r = Read(kHeader8 + kAlpha);
    ASSERT_EQ(r.list.entries, std::vector<std::string>{"Alpha, необитаемая, 45%"});
    ASSERT_EQ(r.count(), 1);
    const PlanetEntry& p = r.At(0);
    EXPECT_EQ(Triple(p.conPrc), (std::vector<int32_t>{50, 20, 75}));
    EXPECT_EQ(Triple(p.mineral), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(p.startMen, 0);
    EXPECT_EQ(p.fabr, 0);
    EXPECT_EQ(p.mine, 0);
    EXPECT_EQ(Triple(p.env), EnvFor(45));
}

TEST(ReadPlanetList, FieldNumbering) {
    struct Case {
        const char* name;
        std::string line;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"empty second field",
         "Alpha\t\t45%\tI: 50 U: 20 L: 75\te\tf\tg\th\n",
         {"Alpha, необитаемая, 45%"}},
        {"tabs before the name do not count",
         "\t\tAlpha\tx\t45%\tI: 50\te\tf\tg\th\n",
         {"Alpha, необитаемая, 45%"}},
        {"seven fields", "Alpha\t45%\tI: 50 U: 20 L: 75\te\tf\tg\th\n", {}},
        {"trailing tab makes a ninth field", "Alpha\tx\t45%\tI: 50\te\tf\tg\th\t\n", {}},
        {"no line feed at the end",
         "Alpha\tx\t45%\tI: 50\te\tf\tg\th",
         {"Alpha, необитаемая, 45%"}},
        {"empty habitability adds nothing",
         "Alpha\tx\t\tI: 50\te\tf\tg\th\n",
         {"Alpha, необитаемая"}},
        {"empty line", "\n", {}},
    };
    for (const Case& c : cases) {
        const ReadResult r = Read(kHeader8 + c.line);
        EXPECT_EQ(r.list.entries, c.entries) << c.name;
        EXPECT_EQ(r.count(), static_cast<int32_t>(c.entries.size())) << c.name;
    }
}

TEST(ReadPlanetList, HeaderDecidesTheLayout) {
    struct Case {
        const char* name;
        std::string header;
        size_t entries;
    };
    const Case cases[] = {
        {"eight", "a\tb\tc\td\te\tf\tg\th\n", 1},
        {"runs of tabs and leading tabs count once", "\t\ta\tb\t\t\tc\td\te\tf\tg\th\n", 1},
        {"nine", "a\tb\tc\td\te\tf\tg\th\ti\n", 0},
        {"eight with a tab before the line feed", "a\tb\tc\td\te\tf\tg\th\t\n", 0},
        {"CRLF and a tab before it", "a\tb\tc\td\te\tf\tg\th\t\r\n", 0},
    };
    for (const Case& c : cases) {
        const ReadResult r = Read("title\n" + c.header + kAlpha);
        EXPECT_EQ(r.list.entries.size(), c.entries) << c.name;
        EXPECT_EQ(r.count(), static_cast<int32_t>(c.entries)) << c.name;
    }
}

TEST(ReadPlanetList, TwentyColumnsCarryTheWorkingEntry) {
    // Fields: 1 name, 4 population, 6 habitability, 9 mines, 10 factories, 13 concentrations,
    // 15 surface minerals.
    const std::string header = "t\n" + Columns(20);
    auto line = [](const std::string& name, const std::string& men, const std::string& prc,
                   const std::string& mines, const std::string& fabr, const std::string& conc,
                   const std::string& surface) {
        return name + "\t2\t3\t" + men + "\t5\t" + prc + "\t7\t8\t" + mines + "\t" + fabr +
               "\t11\t12\t" + conc + "\t14\t" + surface + "\t16\t17\t18\t19\t20\n";
    };
    ReadResult r =
        Read(header +
             line("Home", "250000", "80", "30", "45", "I: 70 U: 60 L: 50", "I: 900 U: 800 L: 700") +
             line("Next", "12345", "-10", "5", "7", "U: 33", "I: 100 U: 40000"));
    ASSERT_EQ(r.list.entries,
              (std::vector<std::string>{"Home, обитаемая, 80", "Next, обитаемая, -10"}));
    const PlanetEntry& home = r.At(0);
    EXPECT_EQ(home.startMen, 2500);
    EXPECT_EQ(home.mine, 30);
    EXPECT_EQ(home.fabr, 45);
    EXPECT_EQ(Triple(home.conPrc), (std::vector<int32_t>{70, 60, 50}));
    EXPECT_EQ(Triple(home.mineral), (std::vector<int32_t>{900, 800, 700}));
    const PlanetEntry& next = r.At(1);
    EXPECT_EQ(next.startMen, 123);
    EXPECT_EQ(next.mine, 5);
    EXPECT_EQ(next.fabr, 7);
    EXPECT_EQ(Triple(next.conPrc), (std::vector<int32_t>{70, 33, 50}));
    EXPECT_EQ(Triple(next.mineral), (std::vector<int32_t>{100, 32000, 700}));
    EXPECT_EQ(Triple(next.env), EnvFor(-10));
}

TEST(ReadPlanetList, SkippedLineStillChangesTheWorkingEntry) {
    const ReadResult r =
        Read(kHeader8 + "Short\tx\t10%\tI: 11 U: 12 L: 13\n" + "Alpha\tx\t\tL: 75\te\tf\tg\th\n");
    ASSERT_EQ(r.list.entries, std::vector<std::string>{"Alpha, необитаемая"});
    EXPECT_EQ(Triple(r.At(0).conPrc), (std::vector<int32_t>{11, 12, 75}));
    EXPECT_EQ(Triple(r.At(0).env), EnvFor(10));
}

TEST(ReadPlanetList, EntryTexts) {
    const std::string header11 = "t\n" + Columns(11);
    auto line11 = [](const std::string& name, const std::string& third) {
        return name + "\t2\t" + third + "\t4\t5\t25%\tI: 1\t8\t9\t10\t11\n";
    };
    struct Case {
        const char* name;
        std::string text, entry;
    };
    const std::string name60 = std::string(50, 'n') + std::string(10, 'x');
    const Case cases[] = {
        {"eleven columns", header11 + line11("Gamma", "Owner"), "Gamma, Owner, 25%"},
        {"name cut to 50", header11 + line11(name60, "O"), std::string(50, 'n') + ", O, 25%"},
        {"whole text cut to 99", header11 + line11(name60, std::string(80, 'o')),
         std::string(50, 'n') + ", " + std::string(47, 'o')},
        {"Windows-1251 name", kHeader8 + "\xC4\xE5\xEB\xFC\xF2\xE0\tx\t5\tI: 1\te\tf\tg\th\n",
         "Дельта, необитаемая, 5"},
        {"UTF-8 name kept", kHeader8 + "Дельта\tx\t5\tI: 1\te\tf\tg\th\n",
         "Дельта, необитаемая, 5"},
        {"cut counts characters, not bytes", header11 + line11(std::string(48, 'n') + "ЖЖЖЖ", "O"),
         std::string(48, 'n') + "ЖЖ, O, 25%"},
    };
    for (const Case& c : cases) {
        const ReadResult r = Read(c.text);
        ASSERT_EQ(r.list.entries.size(), 1u) << c.name;
        EXPECT_EQ(r.list.entries[0], c.entry) << c.name;
    }
}

TEST(ReadPlanetList, LongLinesComeInPiecesOf399) {
    // The 399-byte piece of a long line is a line of its own with one field; the rest of the
    // line is read as the next line.
    const ReadResult split = Read(kHeader8 + std::string(399, 'z') + kAlpha);
    EXPECT_EQ(split.list.entries, std::vector<std::string>{"Alpha, необитаемая, 45%"});
    // A line of 398 bytes and its line feed is one read.
    const ReadResult whole = Read(kHeader8 + std::string(398 - kAlpha.size() + 1, 'z') + kAlpha);
    EXPECT_EQ(whole.list.entries,
              std::vector<std::string>{std::string(50, 'z') + ", необитаемая, 45%"});
    // A title longer than 399 bytes: its rest is taken as the header.
    const ReadResult title = Read(std::string(450, 't') + "\na\tb\tc\td\te\tf\tg\th\n" + kAlpha);
    EXPECT_TRUE(title.list.entries.empty());
}

TEST(ReadPlanetList, CrlfReadsLikeLf) {
    std::string text = kHeader8 + kAlpha + "Beta\tx\t-30\tI: 5\te\tf\tg\th\n";
    const ReadResult lf = Read(text);
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, 1, '\r');
    const ReadResult crlf = Read(text);
    ASSERT_EQ(lf.list.entries.size(), 2u);
    EXPECT_EQ(crlf.list.entries, lf.list.entries);
}

TEST(ReadPlanetList, ShortFileListsNothing) {
    EXPECT_EQ(Read(kHeader8).count(), 0);
    EXPECT_EQ(Read("").count(), 0);
}

TEST(ReadPlanetList, HugeNumbersSaturate) {
    const std::string header = "t\n" + Columns(20);
    const std::string line = "Big\t2\t3\t99999999999999\t5\t-99999999999\t7\t8\t99999999999\t"
                             "-99999999999\t11\t12\tI: 99999999999 U: -99999999999\t14\t"
                             "L: 99999999999 U: -5\t16\t17\t18\t19\t20\n";
    ReadResult r = Read(header + line);
    ASSERT_EQ(r.count(), 1);
    const PlanetEntry& p = r.At(0);
    EXPECT_EQ(p.startMen, 2147483647 / 100);
    EXPECT_EQ(p.mine, 2147483647);
    EXPECT_EQ(p.fabr, -2147483647 - 1);
    EXPECT_EQ(p.conPrc[0], 2147483647);
    EXPECT_EQ(p.conPrc[1], -2147483647 - 1);
    EXPECT_EQ(Triple(p.mineral), (std::vector<int32_t>{0, -5, 32000}));
    EXPECT_EQ(Triple(p.env), EnvFor(-2147483647 - 1));
}

TEST(ApplyPlanet, CopiesThePlanetIntoTheModel) {
    ReadResult r = Read(kHeader8 + kAlpha);
    CalcModel& m = *r.model;
    m.Planet.PlanetFabr = 9;
    m.Planet.PlanetMine = 9;
    m.Planet.PlanetMineral[0] = 9;
    EXPECT_EQ(ApplyPlanet(m, r.At(0)), 0);
    EXPECT_EQ(m.Planet.PlanetFabr, 0);
    EXPECT_EQ(m.Planet.PlanetMine, 0);
    EXPECT_EQ(Triple(m.Planet.PlanetMineral), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(Triple(m.Planet.PlanetConPrc), (std::vector<int32_t>{50, 20, 75}));
    EXPECT_EQ(Triple(m.Planet.PlanetEnv), EnvFor(45));
    EXPECT_EQ(m.Planet.PlanetPrc, CalcPlanetPrc(m.Race, m.Planet.PlanetEnv));
    EXPECT_EQ(m.Planet.PlanetPrc, 45);
}

TEST(ApplyPlanet, ImmuneFactorOfTheCurrentRaceBecomes102) {
    ReadResult r = Read(kHeader8 + kAlpha);
    CalcModel& m = *r.model;
    m.Race.Env1Min = m.Race.Env1Max = 102;
    m.Race.DeriveOptimum();
    ApplyPlanet(m, r.At(0));
    const std::vector<int32_t> read = EnvFor(45);
    EXPECT_EQ(Triple(m.Planet.PlanetEnv), (std::vector<int32_t>{read[0], 102, read[2]}));
    EXPECT_EQ(m.Planet.PlanetPrc, CalcPlanetPrc(m.Race, m.Planet.PlanetEnv));
}

} // namespace
} // namespace quendal
