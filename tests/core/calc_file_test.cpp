#include "io/calc_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/text_codec.h"
#include "model/calc_setup.h"

namespace quendal {
namespace {

// Every part set: a race immune to radiation, a planet from a list, both templates (one
// element priced before the economy changed), a search result and a table record.
CalcSetup FullSetup() {
    CalcSetup s;
    RaceParams race;
    race.Env0Min = 15, race.Env0Max = 86, race.Env1Min = 20, race.Env1Max = 80;
    race.Env2Min = race.Env2Max = 102;
    race.MaxGrowthYRate = 17, race.NResourceBuildMine = 5, race.FullTForm = true;
    race.DeriveOptimum();
    s.race = RaceRecord{"/home/игрок/data/typical.urc", "Хумы", race};
    s.planetTab.economy[2] = 12;
    PlanetParams& p = s.planetTab.planet;
    p = {{40, 0, 102}, -20, {15, 0, 0}, {0, 0, 32000}, {0, 25, 0}, true, 7, 0};
    s.planetTab.planetList = "/data/planets-20.txt";
    s.planetTab.planetEntry = 3;
    s.planetTab.planetEntryText = "Гамма, обитаемая, 45%";
    s.start = {-20, 300, 16, 40};
    s.minus = {{MinTerraform, 100, 1}, {MaxTerraform, 100, 5}, {Factories, 10, 50}};
    s.plus = {{Factories, 12, 20}, {Mines, 10, 30}, {MinTerraform, 100, 3}};
    s.search = {{150, 20, 5, 80, 1, 40}, 5, 40, 300, std::nullopt};
    s.search.result = SearchOutcome{
        {42, 1234567, 890, 12, 34, {}, {100, 200, 300}}, {}, {{MaxTerraform, 100, 30}}};
    s.dataTable = {"   0 | -20 |   30000 |     0 |     7 |    0", "   1 | -20 |   31000 |"};
    s.mineralTable = {"  0 15/100/100 ...", "  1 ..."};
    return s;
}

TEST(CalcFile, WrittenFileReadsBackToTheSameCalculationAndTheSameText) {
    for (const CalcSetup& setup : {FullSetup(), CalcSetup()}) {
        const std::string text = WriteCalcFile(setup);
        const CalcFileResult read = ParseCalcFile(text);
        ASSERT_FALSE(read.error) << read.error->Message();
        EXPECT_TRUE(read.setup == setup) << text;
        EXPECT_EQ(WriteCalcFile(read.setup), text);
        EXPECT_EQ(text.rfind(kCalcFileMagic, 0), 0u);
    }
    const std::string text = WriteCalcFile(FullSetup());
    EXPECT_NE(text.find("\nAdvantage=512\n"), std::string::npos);
    EXPECT_NE(text.find("\nMinus=min,max:5,fab:50@10\nPlus=fab:20,mine:30,min:3\n"),
              std::string::npos);
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
    ASSERT_FALSE(read.error) << read.error->Message();
    EXPECT_EQ(read.setup.race->name, "Хумы");
    EXPECT_EQ(read.setup.planetTab.planetEntryText, "Гамма, обитаемая, 45%");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(CalcFile, BadFilesAreRefusedWithTheLineAndKey) {
    const std::string good = WriteCalcFile(FullSetup());
    const struct {
        std::string bytes;
        std::string message;
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
        {Replace(good, "Years=40\n", "Years=40\nYears=41\n"),
         "[Start] Years: the key is given twice (first on line"},
        {Replace(good, "Criterion=5", "Criterion=6"), "[Search] Criterion: 6 is outside 0..5"},
        {Replace(good, "Env=40,0,102", "Env=1000,0,102"), "[Planet] Env: 1000 is outside -99..999"},
        {Replace(good, "Env=40,0,102", "Env=40,0"), "[Planet] Env: '40,0' is not three numbers"},
        {Replace(good, "Colonists=300", "Colonists=3e2"),
         "[Start] Colonists: '3e2' is not a whole number"},
        {Replace(good, "Env0Min=15", "Env0Min=-123456789"),
         "[Step2] Env0Min: -123456789 is outside -99999999..999999999"},
        {Replace(good, "RaceName=Хумы", "RaceName=" + std::string(50, 'x')),
         "[Step1] RaceName: longer than the 49 characters a race file holds"},
        {Replace(good, "[Step3]", "[Step9]"), "[Step3]: the section is missing"},
        {Replace(good, "Growth=16\n", ""), "[Start] Growth: the key is missing"},
        {Replace(good, "fab:50@10", "fab"), "[Templates] Minus: 'fab' needs a count"},
        {Replace(good, "fab:50@10", "max:0"), "[Templates] Minus: 0 is outside 1..2147483647"},
        {Replace(good, "Year1=", "Year2="), "[DataTable] Year2: the rows before it are missing"},
        {good + "more\n", "text after [End]"},
        {std::string(kCalcFileMaxBytes + 1, ' '), "the file is larger than 16 MiB"},
    };
    for (const auto& c : cases) {
        const CalcFileResult read = ParseCalcFile(c.bytes);
        ASSERT_TRUE(read.error) << c.message;
        EXPECT_NE(read.error->Message().find(c.message), std::string::npos)
            << read.error->Message();
        EXPECT_EQ(read.error->Message().find('\n'), std::string::npos);
    }
}

TEST(CalcFile, UnknownKeysAndSectionsAreIgnored) {
    const std::string good = WriteCalcFile(FullSetup());
    const std::string extended =
        Replace(Replace(good, "[Start]\n", "[Start]\nNote=later versions may add keys\n"), "[End]",
                "[Future]\nKey=1\n; a comment\n[End]");
    const CalcFileResult read = ParseCalcFile(extended);
    ASSERT_FALSE(read.error) << read.error->Message();
    EXPECT_TRUE(read.setup == FullSetup());
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
    CalcSetup captured = setup;
    CaptureModel(*model, true, captured);
    setup.planetTab.planet.MaxTFormPrc[2] = 0;
    EXPECT_TRUE(captured == setup);

    ApplySetup(*model, CalcSetup());
    EXPECT_FALSE(model->RaceLoaded);
    EXPECT_EQ(model->QueuePlus.count(), 0);
    EXPECT_EQ(model->Planet.PlanetPrc, 100);
}

} // namespace
} // namespace quendal
