#include "io/calc_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "io/atomic_save.h"
#include "io/file_bytes.h"
#include "io/text_codec.h"
#include "model/calc_setup.h"
#include "model/field_specs.h"
#include "model/output.h"
#include "model/planet_rules.h"
#include "tests/core/temp_file.h"

namespace quendal {
namespace {

// Every part set, each number its own: a race immune to radiation, a planet from a list, both
// templates (one element priced before the economy changed), a search result (a mineral past
// 32 bits) and a table record.
CalcSetup FullSetup() {
    CalcSetup s;
    RaceParams race;
    race.Env0Min = 15, race.Env0Max = 86, race.Env1Min = 20, race.Env1Max = 80;
    race.Env2Min = race.Env2Max = 102;
    race.MaxGrowthYRate = 17;
    for (int i = 0; i < 7; ++i)
        race.Economy(i) = 1001 + i;
    race.FullTForm = true;
    race.DeriveOptimum();
    s.race = RaceRecord{"/home/игрок/data/typical.urc", "Хумы", race};
    for (int i = 0; i < 7; ++i)
        s.planetTab.economy[i] = 2001 + i;
    s.planetTab.economy[2] = 12;
    s.planetTab.fullTForm = true;
    PlanetParams& p = s.planetTab.planet;
    p = {{40, 1, 102}, -20, {15, 3, 4}, {5, 6, 32000}, {7, 25, 8}, true, 9, 11};
    s.planetTab.list = {"/data/planets-20.txt", 3, "Гамма, обитаемая, 45%"};
    s.start = {-21, 300, 16, 40};
    s.minus = {{MinTerraform, 100, 1}, {MaxTerraform, 100, 5}, {Factories, 10, 50}};
    s.plus = {{Factories, 12, 20}, {Mines, 2005, 30}, {MinTerraform, 100, 3}}; // default costs
    s.search = {{150, 21, 6, 81, 2, 41}, Criterion::Minerals, 42, 301, std::nullopt};
    s.search.result = SearchOutcome{{43, 1234567, 890, 13, 34, {}, {100, 200, 5000000000}},
                                    {{MinTerraform, 100, 1}},
                                    {{MaxTerraform, 100, 31}}};
    s.dataTable = {"   0 | -20 |   30000 |     0 |     7 |    0", "   1 | -20 |   31000 |"};
    s.mineralTable = {"  0 15/100/100 ...", "  1 ..."};
    return s;
}

// The tables are a record for a reader: written, never read back.
CalcSetup WithoutTables(CalcSetup setup) {
    setup.dataTable.clear();
    setup.mineralTable.clear();
    return setup;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(CalcFile, WrittenFileReadsBackToTheSameCalculationAndTheSameText) {
    for (const CalcSetup& setup : {FullSetup(), CalcSetup()}) {
        const std::string text = WriteCalcFile(setup);
        const CalcFileResult read = ParseCalcFile(text);
        ASSERT_FALSE(read.error) << read.error->Message(Language::English());
        EXPECT_TRUE(read.setup == WithoutTables(setup)) << text;
        EXPECT_EQ(WriteCalcFile(read.setup), WriteCalcFile(WithoutTables(setup)));
        EXPECT_EQ(text.rfind(kCalcFileMagic, 0), 0u);
    }
    const std::string text = WriteCalcFile(FullSetup());
    EXPECT_NE(text.find("\nAdvantage=512\n"), std::string::npos);
    EXPECT_NE(text.find("\nMinerals=100,200,5000000000\n"), std::string::npos);
    EXPECT_NE(text.find("\nMinus=min,max:5,fab:50@10\nPlus=fab:20,mine:30,min:3\n"),
              std::string::npos);
    // The tables as a record for a reader, with their comment.
    EXPECT_NE(text.find("\n[DataTable]\n; The tables as last computed, for reading: loading "
                        "computes them again.\nYear0="),
              std::string::npos);
    EXPECT_NE(text.find("\n[MineralTable]\nYear0=  0 15/100/100 ...\nYear1=  1 ...\n"),
              std::string::npos);
    // A control character of a text is written as '?', so that the text stays one value.
    CalcSetup odd = FullSetup();
    odd.race->name = "Ка\x7f~\x01";
    EXPECT_NE(WriteCalcFile(odd).find("\nRaceName=Ка?~?\n"), std::string::npos);
    // A byte order mark some editors write is passed over.
    EXPECT_FALSE(ParseCalcFile("\xEF\xBB\xBF" + text).error);
}

// A file written by an earlier build, kept as it was: each key read into its own field.
TEST(CalcFile, StoredFileGivesItsValues) {
    const CalcFileResult read = ReadCalcFile(QUENDAL_SOURCE_DIR "/tests/core/data/stored.cal");
    ASSERT_FALSE(read.error) << read.error->Message(Language::English());
    EXPECT_TRUE(read.setup == WithoutTables(FullSetup())) << WriteCalcFile(read.setup);
}

// However long the table record, a written file opens again: the record is neither read nor
// counted against the size limit, whatever its rows hold.
TEST(CalcFile, TableRecordOfAnySizeIsSkipped) {
    CalcSetup setup = FullSetup();
    setup.dataTable.assign(200000, std::string(100, '7'));
    setup.mineralTable.assign(3, "x");
    const std::string text = WriteCalcFile(setup);
    ASSERT_GT(text.size(), kCalcFileMaxBytes);
    const TempFile file(text, ".cal");
    for (const CalcFileResult& read : {ParseCalcFile(text), ReadCalcFile(file.path())}) {
        ASSERT_FALSE(read.error) << read.error->Message(Language::English());
        EXPECT_TRUE(read.setup == WithoutTables(setup));
    }
    const std::string gaps = Replace(text, "Year1=", "Year9=");
    EXPECT_FALSE(ParseCalcFile(gaps).error);
    // Written by an editor with Windows line ends, or with its section lines indented.
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_FALSE(ParseCalcFile(crlf).error);
    EXPECT_FALSE(ParseCalcFile(Replace(text, "[DataTable]", " \t[DataTable] ")).error);
    // Past the record the file is read again: what follows [End] still counts.
    EXPECT_TRUE(ParseCalcFile(text + "more\n").error);
}

// A planet list named by a relative path is looked for beside the calculation file.
TEST(CalcFile, RelativePlanetListIsReadAgainstTheFilesFolder) {
    CalcSetup setup = FullSetup();
    setup.planetTab.list.path = "lists/planets-20.txt";
    const TempFile file(WriteCalcFile(setup), ".cal");
    const CalcFileResult read = ReadCalcFile(file.path());
    ASSERT_FALSE(read.error) << read.error->Message(Language::English());
    EXPECT_EQ(read.setup.planetTab.list.path,
              (std::filesystem::path(file.path()).parent_path() / "lists/planets-20.txt").string());
    // No list stays no list.
    setup.planetTab.list = {};
    const TempFile without(WriteCalcFile(setup), ".cal");
    const CalcFileResult back = ReadCalcFile(without.path());
    ASSERT_FALSE(back.error) << back.error->Message(Language::English());
    EXPECT_EQ(back.setup.planetTab.list, PlanetListChoice());
}

// A file an older editor saved in Windows-1251 is decoded, as race files are.
TEST(CalcFile, Windows1251FileIsDecoded) {
    CalcSetup setup = FullSetup();
    const std::string utf8 = WriteCalcFile(setup);
    std::string cp1251;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xD0 || c == 0xD1) { // Cyrillic letters U+0410..U+044F of the texts above
            const unsigned char next = static_cast<unsigned char>(utf8[++i]);
            cp1251 += static_cast<char>(c == 0xD0 ? next + 0x30 : next + 0x70);
        } else {
            cp1251 += static_cast<char>(c);
        }
    }
    ASSERT_FALSE(IsValidUtf8(cp1251));
    const CalcFileResult read = ParseCalcFile(cp1251);
    ASSERT_FALSE(read.error) << read.error->Message(Language::English());
    EXPECT_EQ(read.setup.race->name, "Хумы");
    EXPECT_EQ(read.setup.planetTab.list.entryText, "Гамма, обитаемая, 45%");
}

TEST(CalcFile, BadFilesAreRefusedWithTheLineAndKey) {
    const std::string good = WriteCalcFile(FullSetup());
    const struct {
        std::string bytes;
        std::string message;
        std::string russian = ""; // where the window's message is checked too
    } cases[] = {
        {"", "line 1: not a calculation file: the first line is not [QuendalCalculation]"},
        {std::string("\x7f"
                     "ELF\x02\x01\x01\0\0",
                     9),
         "line 1: binary data (byte 0x7F): not a text file"},
        {good.substr(0, good.size() / 2), "the file ends before [End]: it was cut short"},
        {Replace(good, "Version=1", "Version=2"),
         "line 2: [QuendalCalculation] Version: version 2 was written by a newer Quendal (this "
         "one reads version 1)"},
        {Replace(good, "Version=1", "Version=x"),
         "line 2: [QuendalCalculation] Version: unknown version 'x'"},
        {Replace(good, "Version=1", "Version=0"), "Version: unknown version '0'"},
        {Replace(good, "Years=40\n", "Years=40\nYears=41\n"),
         "[Start] Years: the key is given twice (first on line 54)"},
        {Replace(good, "Criterion=5", "Criterion=6"), "[Search] Criterion: 6 is outside 0..5"},
        // What the companion's options refuse, a file refuses too.
        {Replace(good, "Years=40", "Years=-7"), "[Start] Years: -7 is outside 0..99999"},
        {Replace(good, "Population=150", "Population=0"),
         "[Search] Population: 0 is outside 2..9999"},
        {Replace(good, "Generations=21", "Generations=-3"),
         "[Search] Generations: -3 is outside 1..9999"},
        {Replace(good, "Interval=42", "Interval=0"), "[Search] Interval: 0 is outside 1..999"},
        {Replace(good, "Env=40,1,102", "Env=1000,1,102"),
         "[Planet] Env: 1000 is outside -999..999"},
        {Replace(good, "Env=40,1,102", "Env=40,1"),
         "[Planet] Env: '40,1' is not 3 numbers separated by commas",
         "[Planet] Env: «40,1» — не 3 числа через запятую"},
        {Replace(good, "Colonists=300", "Colonists=3e2"),
         "[Start] Colonists: '3e2' is not a whole number", "«3e2» — не целое число"},
        // A value is quoted whole up to 40 characters, cut after them.
        {Replace(good, "Colonists=300", "Colonists=" + std::string(40, 'x')),
         "'" + std::string(40, 'x') + "' is not"},
        {Replace(good, "Colonists=300", "Colonists=" + std::string(41, 'x')),
         "'" + std::string(40, 'x') + "...' is not"},
        {Replace(good, "Env0Min=15", "Env0Min=-123456789"),
         "[Step2] Env0Min: -123456789 is outside -99999999..999999999"},
        {Replace(good, "RaceName=Хумы", "RaceName=" + std::string(50, 'x')),
         "[Step1] RaceName: longer than the 49 characters it holds"},
        {Replace(good, "[Step3]", "[Step9]"),
         "[Step3]: the section is missing (the race takes [Step1] to [Step4] and [Planet])"},
        {Replace(good, "[Start]", "[Begin]"), "[Start]: the section is missing"},
        {Replace(good, "[Search]", "[Start]"), "line 60: [Start]: the section is given twice",
         "строка 60: [Start]: раздел указан дважды"},
        {Replace(good, "Growth=16", "Growth 16"),
         "line 53: 'Growth 16' is neither a section, a key nor a comment",
         "строка 53: «Growth 16» — не раздел, не ключ и не комментарий"},
        // A carriage return only ends a line before a line feed.
        {Replace(good, "Years=40\n", "Years=40\rX\n"), "line 54: binary data (byte 0x0D)"},
        {Replace(good, "Growth=16\n", ""), "[Start] Growth: the key is missing"},
        {Replace(good, "Growth=16\n", "Growth=16\n=5\n"),
         "'=5' is neither a section, a key nor a comment"},
        {Replace(good, "FullTForm=1", "FullTForm=2"), "[Planet] FullTForm: 2 is outside 0..1"},
        {Replace(good, "Homeworld=1", "Homeworld=-1"), "[Planet] Homeworld: -1 is outside 0..1"},
        {Replace(good, "PlanetEntry=3", "PlanetEntry=-2"),
         "[Planet] PlanetEntry: -2 is outside -1..2147483647"},
        // Lines each below the limit that together pass it.
        {std::string(kCalcFileMaxBytes / 2, ' ') + "\n" + std::string(kCalcFileMaxBytes / 2, ' '),
         "the file is larger than 16 MiB"},
        {Replace(good, "fab:50@10", "fab"), "[Templates] Minus: 'fab' needs a count",
         "«fab» без числа, нужно как в fab:5"},
        {Replace(good, "fab:50@10", "warp:3"),
         "[Templates] Minus: unknown element 'warp:3' (min, max:N, fab:N or mine:N)",
         "[Templates] Minus: неизвестный элемент «warp:3» (min, max:N, fab:N или mine:N)"},
        {Replace(good, "fab:50@10", "max:0"), "[Templates] Minus: 0 is outside 1..2147483647"},
        {good + "more\n", "text after [End]"},
        {std::string(kCalcFileMaxBytes + 1, ' '), "the file is larger than 16 MiB"},
    };
    for (const auto& c : cases) {
        const CalcFileResult read = ParseCalcFile(c.bytes);
        ASSERT_TRUE(read.error) << c.message;
        EXPECT_NE(read.error->Message(Language::English()).find(c.message), std::string::npos)
            << read.error->Message(Language::English());
        EXPECT_NE(read.error->Message(Language()).find(c.russian), std::string::npos)
            << read.error->Message(Language());
        EXPECT_EQ(read.error->Message(Language::English()).find('\n'), std::string::npos);
        EXPECT_TRUE(read.setup == CalcSetup()); // nothing of a refused file is taken
    }
    // At the limits: a file of 16 MiB outside its table record, with or without a last line
    // feed (a byte more is refused), a race name of 49 characters, a last line ending in "\r".
    const std::string small = WriteCalcFile(WithoutTables(FullSetup()));
    const std::string padded =
        Replace(small, "\n", "\n;" + std::string(kCalcFileMaxBytes - small.size() - 2, 'x') + "\n");
    ASSERT_EQ(padded.size(), kCalcFileMaxBytes);
    EXPECT_FALSE(ParseCalcFile(padded).error);
    const std::string unended =
        Replace(small.substr(0, small.size() - 1), "\n",
                "\n;" + std::string(kCalcFileMaxBytes - small.size() - 1, 'x') + "\n");
    ASSERT_EQ(unended.size(), kCalcFileMaxBytes);
    EXPECT_FALSE(ParseCalcFile(unended).error);
    EXPECT_TRUE(ParseCalcFile(padded + "\n").error);
    EXPECT_FALSE(
        ParseCalcFile(Replace(good, "RaceName=Хумы", "RaceName=" + std::string(49, 'x'))).error);
    EXPECT_FALSE(ParseCalcFile(good.substr(0, good.size() - 1) + "\r").error);
}

TEST(CalcFile, UnknownKeysAndSectionsAreIgnored) {
    const std::string good = WriteCalcFile(FullSetup());
    const std::string extended =
        Replace(Replace(good, "[Start]\n", "[Start]\nNote=later versions may add keys\n"), "[End]",
                "[Future]\nKey=1\n; a comment\n[End]");
    const CalcFileResult read = ParseCalcFile(extended);
    ASSERT_FALSE(read.error) << read.error->Message(Language::English());
    EXPECT_TRUE(read.setup == WithoutTables(FullSetup()));
}

// The first search field outside what a search or a file takes is named, П1..П6, the interval
// and, when asked, the years, as the window's labels name them in its language; nothing when
// all hold.
TEST(CalcSetup, FieldOutOfRangeIsNamed) {
    const SearchTab good;
    const Language english = Language::English();
    EXPECT_EQ(OutOfRangeField(good, 15, Language()), "");
    for (int i = 0; i < 6; ++i) {
        SearchTab search = good;
        search.params[i] = static_cast<int32_t>(kGeneticParamFields[i].accepts.hi + 1);
        const std::string n = std::to_string(i + 1);
        EXPECT_EQ(OutOfRangeField(search, std::nullopt, Language()).rfind("П" + n + ": ", 0), 0u);
        EXPECT_EQ(OutOfRangeField(search, std::nullopt, english).rfind("P" + n + ": ", 0), 0u);
    }
    SearchTab search = good;
    search.interval = 0;
    EXPECT_EQ(OutOfRangeField(search, std::nullopt, Language()),
              "Интервал расчета: 0 вне допустимых пределов 1..999");
    EXPECT_EQ(OutOfRangeField(good, -7, Language()), "ЛЕТ: -7 вне допустимых пределов 0..99999");
    EXPECT_EQ(OutOfRangeField(search, std::nullopt, english),
              "Interval: 0 is outside the allowed range 1..999");
    EXPECT_EQ(OutOfRangeField(good, -7, english),
              "years: -7 is outside the allowed range 0..99999");
}

// A calculation is checked against the reader's own table: the first value the reader would
// refuse is named as the window names it (by its key where the window has no name for it),
// with its range; by its key as the reader says it, after the line, in every language.
// Nothing when the reader takes the file, at the edges of each range too.
TEST(CalcFile, SetupProblemIsWhatTheReaderRefuses) {
    struct Case {
        const char* what;
        void (*change)(CalcSetup&);
        const char* problem;
    } cases[] = {
        {"whole", [](CalcSetup&) {}, ""},
        {"edges",
         [](CalcSetup& s) {
             s.start.years = 99999;
             s.planetTab.planet.PlanetEnv[1] = -999;
             s.search.params[0] = 2;
             s.search.interval = 999;
             s.race->name = std::string(49, 'x');
         },
         ""},
        {"П1", [](CalcSetup& s) { s.search.params[0] = 1; },
         "П1: 1 вне допустимых пределов 2..9999"},
        {"interval", [](CalcSetup& s) { s.search.interval = 0; },
         "Интервал расчета: 0 вне допустимых пределов 1..999"},
        {"years", [](CalcSetup& s) { s.start.years = 100000; },
         "ЛЕТ: 100000 вне допустимых пределов 0..99999"},
        {"factor", [](CalcSetup& s) { s.planetTab.planet.PlanetEnv[1] = 5000; },
         "[Planet] Env: 5000 вне допустимых пределов -999..999"},
        {"race number", [](CalcSetup& s) { s.race->race.Env0Min = 1000000000; },
         "[Step2] Env0Min: 1000000000 вне допустимых пределов -99999999..999999999"},
        {"race name", [](CalcSetup& s) { s.race->name = std::string(50, 'x'); },
         "[Step1] RaceName: длиннее 49 символов, которые он вмещает"},
        {"element count", [](CalcSetup& s) { s.plus[1].count = 0; },
         "[Templates] Plus: 0 вне допустимых пределов 1..2147483647"},
        {"element kind", [](CalcSetup& s) { s.search.result->minus[0].kind = 7; },
         "[SearchResult] Minus: неизвестный элемент «?:1» (min, max:N, fab:N или mine:N)"},
        {"first in the file's order",
         [](CalcSetup& s) {
             s.search.interval = 0;
             s.start.years = -1;
         },
         "ЛЕТ: -1 вне допустимых пределов 0..99999"},
        {"no race: its fields are not written",
         [](CalcSetup& s) {
             s.race.reset();
             s.planetTab.planet.PlanetEnv[1] = 5000;
         },
         ""},
    };
    for (const Case& c : cases) {
        CalcSetup setup = FullSetup();
        c.change(setup);
        EXPECT_EQ(SetupProblem(setup, Language()), c.problem) << c.what;
        const CalcFileResult read = ParseCalcFile(WriteCalcFile(setup));
        ASSERT_EQ(read.error.has_value(), *c.problem != '\0') << c.what;
        if (read.error) {
            for (const Language language : Language::All())
                EXPECT_EQ(read.error->Message(language),
                          Tr(language, "строка %1: ", {std::to_string(read.error->line)}) +
                              SetupProblem(setup, language, true))
                    << c.what;
        }
    }
}

// The search interval every front end derives from the years lies within what the interval
// accepts: the years capped at 50, and at least 1 year for a calculation of 0.
TEST(CalcSetup, SearchIntervalOfTheYearsIsOneTheFileTakes) {
    const int32_t years[][2] = {{0, 1}, {1, 1}, {15, 15}, {50, 50}, {51, 50}, {99999, 50}};
    for (const auto& [given, interval] : years) {
        EXPECT_EQ(SearchInterval(given), interval) << given;
        EXPECT_TRUE(kSearchYearsField.accepts.Holds(SearchInterval(given))) << given;
    }
}

// Applied to a model and taken back, a calculation keeps its planet, templates and search
// result; a factor the race is immune to keeps 102 and limit 0 whatever the file says.
TEST(CalcSetup, AppliesToTheModelAndIsCapturedBack) {
    CalcSetup setup = FullSetup();
    auto model = std::make_unique<CalcModel>();
    ApplySetup(*model, setup);
    EXPECT_TRUE(model->RaceLoaded);
    EXPECT_EQ(model->Race.NResourceBuildFactory, 12);
    EXPECT_EQ(model->Race.Env0Min, 15);
    EXPECT_EQ(model->Planet.MaxTFormPrc[2], 0);
    YearResult row;
    row.Year = 7;
    const CalcSetup captured =
        CaptureSetup(*model, setup.race, setup.planetTab.list, setup.start, setup.search, {row});
    EXPECT_EQ(captured.dataTable, std::vector<std::string>{DataTableLine(row)});
    EXPECT_EQ(captured.mineralTable, std::vector<std::string>{MineralLine(row)});
    setup.planetTab.planet.MaxTFormPrc[2] = 0;
    setup.search.result->figures.mineral[2] = INT32_MAX; // the snapshot holds 32 bits
    EXPECT_TRUE(WithoutTables(captured) == WithoutTables(setup));
    // The search result is the model's as long as a search stands there.
    ClearSearchResult(model->GeneticState);
    EXPECT_FALSE(CaptureSetup(*model, setup.race, {}, setup.start, setup.search, {}).search.result);

    ApplySetup(*model, CalcSetup());
    EXPECT_FALSE(model->RaceLoaded);
    EXPECT_EQ(model->QueuePlus.count(), 0);
    EXPECT_EQ(model->Planet.PlanetPrc, 100);
}

} // namespace
} // namespace quendal
