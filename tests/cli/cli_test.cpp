// Runs quendal-calc as a separate process, as a user or a script would.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/support/calc_run.h"

namespace {

using quendal::test::Calc;
using quendal::test::CalcRun;
using quendal::test::Lines;

TEST(Companion, WithoutRacePrintsPopulationTable) {
    const CalcRun run = Calc("");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 16u); // two header lines, years 0..15
    EXPECT_EQ(lines[0], "     |% год|         |       |       |");
    EXPECT_EQ(lines[1], " Год |ности|Население|Ресурсы|Фабрики| Шахты");
    EXPECT_EQ(lines[2], "   0 | 100 |   25000 |     0 |     0 |    0");
    EXPECT_EQ(lines[3], "   1 | 100 |   28750 |     0 |     0 |    0");
    EXPECT_EQ(lines[17], "  15 | 100 |  203409 |     0 |     0 |    0");
    EXPECT_EQ(run.out.back(), '\n');
}

TEST(Companion, StartConditionsAndCsv) {
    const CalcRun run = Calc("--start-prc -20 --years 3 --csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "year,habitability,colonists,resources,factories,mines\n"
                       "0,-20,25000,0,0,0\n1,-20,20000,0,0,0\n2,-20,16000,0,0,0\n"
                       "3,-20,12800,0,0,0\n");
    const CalcRun zero = Calc("--start-prc 0 --years 3 --csv");
    EXPECT_NE(zero.out.find("3,0,24924,"), std::string::npos) << zero.out;
}

TEST(Companion, RaceAddsMineralsTable) {
    const CalcRun run =
        Calc("--race data/typical.urc --years 10 --minus min --plus fab:20,mine:20");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 11u + 1u + 2u + 11u);
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "   |       Ирониум/Ураниум/Либериум");
    EXPECT_EQ(lines[15], "Год|Концентр-я | Добыча в год | На поверхности");
    EXPECT_EQ(lines[16].substr(0, 16), "  0 100/100/100 ");
}

TEST(Companion, SameTablesAsTheEquivalentOptions) {
    // A race's start habitability follows the model: --env replaces the derived factors.
    const CalcRun a = Calc("--race data/typical.urc --env 50,50,50 --years 5 --csv");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_NE(a.out.find("\n0,100,25000,"), std::string::npos) << a.out;

    // Repeated template options add up in order; an empty list, as a script's empty variable
    // gives, adds nothing.
    const std::string race = "--race data/typical.urc --start-prc -20 --years 8 --csv ";
    const CalcRun listed = Calc(race + "--minus min --plus fab:20,mine:20");
    const CalcRun repeated = Calc(race + "--minus '' --minus min --plus fab:20 --plus mine:20");
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(repeated.out, listed.out) << repeated.err;
    const CalcRun empty = Calc(race + "--minus '' --plus ''");
    ASSERT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(empty.out, Calc(race).out);
}

TEST(Companion, BadInputIsOneLineOnStderrWithStatusTwo) {
    struct Case {
        const char* args;
        const char* message;
    } cases[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"stray", "unexpected argument 'stray'"},
        {"--years", "--years"},
        {"--years ten", "not a whole number"},
        {"--years 'te\nn'", "'te\\nn' is not a whole number"},
        {"--env 1,2,3", "need --race"},
        {"--search", "need --race"},
        {"--race data/typical.urc --planets data/planets-8.txt", "go together"},
        {"--race data/typical.urc --rank", "--rank takes --planets"},
        {"--race data/typical.urc --planets data/typical.urc --rank", "lists no planets"},
        {"--race data/typical.urc --planets data/planets-8.txt --pick 1 --rank", "no --pick"},
        {"--race data/typical.urc --planets data/planets-8.txt --rank --threads 0", "between"},
        {"--race data/typical.urc --minus warp:3", "unknown element"},
        {"--race data/typical.urc --search --seed -1", "between 0 and 4294967295"},
        {"--race data/typical.urc --search --seed 4294967296", "not a whole number"},
        {"--race data/typical.urc --search --threads 0", "between 1 and 256"},
        {"--race data/no-such-file.urc", "cannot read"},
        {"--race data/typical.urc --planets data/planets-8.txt --pick 999", "has no planet"},
        {"--calc data/typical.urc", "'data/typical.urc': line 1: not a calculation file"},
        {"--calc data/no-such-file.cal", "'data/no-such-file.cal': cannot be read"},
        {"--race data/typical.urc --save-calc data/typical.urc/x.cal", "cannot write"},
        {"--race data/typical.urc --planets data/planets-8.txt --rank --calc x.cal", "no --calc"},
        {"--lang de", "--lang: 'de' is none of ru, en"},
    };
    for (const Case& c : cases) {
        const CalcRun run = Calc(c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
    // A mistake on the command line points to --help instead of printing it.
    EXPECT_EQ(Calc("--bogus").err, "quendal-calc: unknown option '--bogus' (see --help)\n");
}

// --lang en changes the tables' headers, the search's template lines and the ranking's
// captions and entries, and nothing else: not the figures or the CSV (nor the calculation file,
// CalculationFileReplaysTheOptions).
TEST(Companion, LanguageChangesTheCaptionsOnly) {
    const std::string rank =
        "--race data/typical.urc --planets data/planets-20.txt --rank --years 5";
    struct Case {
        std::string args;
        std::vector<std::pair<std::string, std::string>> english; // Russian text, English text
    } cases[] = {
        {"--race data/typical.urc --years 3 --plus fab:5",
         {{"     |% год|         |       |       |\n Год |ности|Население|Ресурсы|Фабрики| Шахты",
           "     |  %  |         |Re-    |Fac-   |\n Year| hab.|Colonists|sources|tories | Mines"},
          {"   |       Ирониум/Ураниум/Либериум\nГод|Концентр-я | Добыча в год | На поверхности",
           "   |       Ironium/Uranium/Liberium\nYr.|Concentr.  | Mined a year | On the surface"}}},
        {"--race data/typical.urc --start-prc 40 --search --population 20 --generations 2 "
         "--seed 5 --criterion 3",
         {{"  Фабрики  ", "  Factories"}, {"  Шахты", "  Mines"}}},
        {"--race data/typical.urc --years 3 --csv", {}},
        {rank + " --csv", {}},
    };
    for (const Case& c : cases) {
        std::string expected = Calc(c.args).out;
        for (const auto& [russian, english] : c.english) // throws where there is no such text
            expected.replace(expected.find(russian), russian.size(), english);
        EXPECT_EQ(Calc(c.args + " --lang en").out, expected) << c.args;
    }
    const std::vector<std::string> ranked = Lines(Calc(rank + " --lang en").out);
    EXPECT_EQ(ranked.at(0).substr(0, 24), "Rank  No.  Planet       ");
    EXPECT_NE(ranked.at(1).find(", inhabited"), std::string::npos) << ranked[1];
}

// A calculation saved by --save-calc prints the same tables from --calc alone, and options
// given with --calc apply on top of it as they would on top of the options it was saved from.
TEST(Companion, CalculationFileReplaysTheOptions) {
    const std::string file = ::testing::TempDir() + "quendal-cli-" + std::to_string(getpid());
    const std::string options = "--race data/immune-two.urc --planets data/planets-20.txt "
                                "--pick 2 --minus min --plus fab:20,mine:20 --years 12";
    const CalcRun saved = Calc(options + " --save-calc " + file + ".cal");
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(Calc("--calc " + file + ".cal").out, saved.out);
    const std::string onTop = " --years 5 --plus mine:5 --homeworld";
    const CalcRun changed = Calc("--calc " + file + ".cal" + onTop);
    ASSERT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(changed.out, Calc(options + onTop).out);

    // A search is saved with its result, and its parameters are the file's defaults.
    const std::string search = options + " --search --population 50 --generations 2 --seed 3";
    const CalcRun searched = Calc(search + " --save-calc " + file + "-search.cal");
    ASSERT_EQ(searched.status, 0) << searched.err;
    EXPECT_EQ(Calc("--calc " + file + "-search.cal --search --seed 3").out, searched.out);
    // Saved again from the file alone, in English too, it is the same file.
    EXPECT_EQ(
        Calc("--calc " + file + "-search.cal --save-calc " + file + "-again.cal --lang en").status,
        0);
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(bytes(file + "-search.cal").find("\n[SearchResult]\n"), std::string::npos);
    EXPECT_EQ(bytes(file + "-again.cal"), bytes(file + "-search.cal"));
    for (const char* suffix : {".cal", "-search.cal", "-again.cal"})
        std::remove((file + suffix).c_str());
}

// --save-calc writes no file its own --calc would refuse: a race whose factors lie in the
// thousands gives a planet no calculation file holds, which is said in one line, as --calc
// would say it, and nothing is written or printed.
TEST(Companion, SaveCalcRefusesAFileItCouldNotOpen) {
    const std::string base = ::testing::TempDir() + "quendal-cli-wide-" + std::to_string(getpid());
    std::ofstream(base + ".urc")
        << "[Step1]\nRaceName=Wide\n[Step2]\nEnv0Min=4000\n"
           "Env0Max=6000\nEnv1Min=25\nEnv1Max=75\nEnv2Min=20\nEnv2Max=80\n";
    const CalcRun run = Calc("--race " + base + ".urc --years 2 --save-calc " + base + ".cal");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "quendal-calc: cannot write '" + base +
                           ".cal': [Planet] Env: 5000 is outside -999..999\n");
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_FALSE(std::ifstream(base + ".cal").is_open());
    std::remove((base + ".urc").c_str());
    std::remove((base + ".cal").c_str());
}

TEST(Companion, HelpAndVersionGoToStdoutWhateverElseIsGiven) {
    for (const char* args : {"--help", "-h --years ten", "--bogus --help"}) {
        const CalcRun run = Calc(args);
        EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
        EXPECT_EQ(run.out.rfind("usage: quendal-calc", 0), 0u) << args;
        EXPECT_NE(run.out.find("--search-years N"), std::string::npos) << args;
    }
    const CalcRun version = Calc("--years 3 --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("quendal-calc ") + QUENDAL_VERSION + "\n");
}

} // namespace

namespace {

TEST(CompanionSearch, SameSeedSameOutputAndTheStatedShape) {
    const std::string args = "--race data/typical.urc --start-prc -20 --search --seed 11 "
                             "--population 50 --generations 5";
    const CalcRun first = Calc(args);
    const CalcRun second = Calc(args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    const std::vector<std::string> lines = Lines(first.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("result: ", 0), 0u);
    EXPECT_EQ(lines[1], "minus:");
    const auto plus = std::find(lines.begin(), lines.end(), "plus:");
    ASSERT_NE(plus, lines.end());
    for (auto line = lines.begin() + 2; line != lines.end(); ++line) {
        if (line != plus) {
            EXPECT_EQ(line->rfind("  ", 0), 0u) << *line;
        }
    }
    // Not a terminal: no progress line.
    EXPECT_TRUE(first.err.empty()) << first.err;
}

// Populations below and above the thread counts, negative and habitable planets.
TEST(CompanionSearch, SameOutputForOneTwoAndEightThreads) {
    // The engine's own test covers the grid of criteria and seeds; here the option reaches it.
    for (const char* search : {"--start-prc 40 --criterion 2 --population 40 --seed 8",
                               "--start-prc -60 --criterion 5 --population 2 --seed 4294967295"}) {
        const std::string args = std::string("--race data/typical.urc ") + search +
                                 " --search --generations 4 --search-years 6";
        const CalcRun one = Calc(args + " --threads 1");
        ASSERT_EQ(one.status, 0) << one.err;
        for (const char* threads : {"2", "8"}) {
            const CalcRun many = Calc(args + " --threads " + threads);
            EXPECT_EQ(many.out, one.out) << args << " --threads " << threads;
            EXPECT_TRUE(many.err.empty()) << many.err;
        }
    }
}

TEST(CompanionSearch, HabitablePlanetLeavesNegativeTemplateEmpty) {
    const CalcRun run = Calc("--race data/typical.urc --search --seed 3 --population 50 "
                             "--generations 3 --criterion 3");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "minus:");
    EXPECT_EQ(lines[2], "plus:");
}

} // namespace

namespace {

// The resources column of the last row of the data table (minerals rows have no bars).
long long LastRowResources(const std::string& output) {
    long long resources = -1;
    for (const std::string& line : Lines(output)) {
        long long year, prc, men, value;
        if (std::sscanf(line.c_str(), "%lld |%lld | %lld | %lld", &year, &prc, &men, &value) == 4)
            resources = value;
    }
    return resources;
}

TEST(CompanionSearch, FindsAtLeastAsMuchAsAHandMadeTemplate) {
    const std::string planet = "--race data/typical.urc --start-prc 40 --years 20";
    const CalcRun handMade = Calc(planet + " --plus fab:50,mine:50,max:5");
    ASSERT_EQ(handMade.status, 0) << handMade.err;
    const long long handMadeResources = LastRowResources(handMade.out);
    ASSERT_GT(handMadeResources, 0);

    const CalcRun search = Calc(planet + " --search --criterion 2 --seed 5");
    ASSERT_EQ(search.status, 0) << search.err;
    long long prc, men, resources;
    ASSERT_EQ(std::sscanf(search.out.c_str(), "result: %lld %lld %lld", &prc, &men, &resources), 3)
        << search.out;
    EXPECT_GE(resources, handMadeResources);

    // The templates found, fed back to the calculation, give the same resources.
    std::string plus;
    bool inPlus = false;
    for (const std::string& line : Lines(search.out)) {
        if (line == "plus:") {
            inPlus = true;
        } else if (inPlus) {
            const std::string text = line.substr(2);
            const std::string count = text.substr(text.find_last_of(' ') + 1);
            const char* kind = text.rfind("Макс", 0) == 0      ? "max:"
                               : text.rfind("Фабрики", 0) == 0 ? "fab:"
                                                               : "mine:";
            if (!plus.empty())
                plus += ',';
            plus += kind;
            plus += count;
        }
    }
    ASSERT_FALSE(plus.empty()) << search.out;
    const CalcRun replay = Calc(planet + " --plus " + plus);
    EXPECT_EQ(LastRowResources(replay.out), resources) << plus;
}

} // namespace
