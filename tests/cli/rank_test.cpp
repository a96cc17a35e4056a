// --rank: every planet of a list, best first, as --pick would calculate or search it.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/calc_run.h"

namespace {

using quendal::test::Calc;
using quendal::test::CalcRun;
using quendal::test::Lines;

const std::string kList = "--race data/typical.urc --planets data/planets-rank.txt";

// The fields of one CSV line; quoted fields lose their quotes, doubled quotes become one.
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The CSV rows of a run, header left out.
std::vector<std::vector<std::string>> CsvRows(const CalcRun& run) {
    std::vector<std::vector<std::string>> rows;
    const std::vector<std::string> lines = Lines(run.out);
    for (size_t i = 1; i < lines.size(); ++i)
        rows.push_back(CsvFields(lines[i]));
    return rows;
}

TEST(CompanionRank, BestFirstByTheCriterionTiesInFileOrder) {
    struct Case {
        const char* criterion;
        std::vector<std::string> indexes;
    } cases[] = {
        // Resources follow the colonists: Brightwater, Emberlee, the twins, hostile Duskfall.
        {"2", {"1", "4", "0", "2", "3"}},
        // Every planet but Duskfall ends at the same habitability.
        {"0", {"0", "1", "2", "4", "3"}},
    };
    for (const Case& c : cases) {
        const CalcRun run = Calc(kList + " --rank --plus fab:20,mine:20 --years 20 --csv" +
                                 " --criterion " + c.criterion);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.err.empty()) << "no progress line off a terminal: " << run.err;
        EXPECT_EQ(Lines(run.out)[0],
                  "rank,index,planet,start_habitability,habitability,colonists,resources,"
                  "factories,mines,surface_i,surface_u,surface_l");
        const auto rows = CsvRows(run);
        ASSERT_EQ(rows.size(), c.indexes.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r][0], std::to_string(r + 1));
            EXPECT_EQ(rows[r][1], c.indexes[r]) << "criterion " << c.criterion << " rank " << r;
        }
    }

    const auto table = Lines(Calc(kList + " --rank --plus fab:20,mine:20 --years 20").out);
    ASSERT_EQ(table.size(), 6u);
    EXPECT_EQ(table[1].rfind("    1  1  Brightwater, обитаемая, 40%  ", 0), 0u) << table[1];
}

TEST(CompanionRank, RowIsThePickedPlanetsFirstAndLastYear) {
    // Surface minerals that differ, so that each column shows its own.
    const std::string options =
        " --plus fab:20,mine:20 --minus min --years 12 --minerals 700,800,900 --csv";
    const CalcRun ranked = Calc(kList + " --rank" + options);
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    for (const auto& row : CsvRows(ranked)) {
        ASSERT_EQ(row.size(), 12u);
        const CalcRun picked = Calc(kList + " --pick " + row[1] + options);
        const std::vector<std::string> lines = Lines(picked.out);
        ASSERT_EQ(lines.size(), 14u) << picked.err;
        const std::vector<std::string> first = CsvFields(lines[1]);
        const std::vector<std::string> last = CsvFields(lines.back());
        EXPECT_EQ(row[3], first[1]) << "start habitability of planet " << row[1];
        // habitability, colonists, resources, factories, mines; then the surface minerals.
        const std::vector<std::string> expected = {last[1], last[2],  last[3],  last[4],
                                                   last[5], last[12], last[13], last[14]};
        EXPECT_EQ(std::vector<std::string>(row.begin() + 4, row.end()), expected)
            << "planet " << row[1];
    }
    EXPECT_EQ(CsvRows(ranked)[2][2], "Ashgrove, обитаемая, 40%");
    EXPECT_EQ(CsvRows(ranked)[3][2], "Cairn \"Twin\", обитаемая, 40%");
}

// The template lines of a --search output in the --minus/--plus item notation, joined by ';'.
std::map<std::string, std::string> SearchTemplates(const std::string& output) {
    std::map<std::string, std::string> templates;
    std::string current;
    for (const std::string& line : Lines(output)) {
        if (line == "minus:" || line == "plus:") {
            current = line.substr(0, line.size() - 1);
            templates[current];
        } else if (!current.empty()) {
            const std::string text = line.substr(2);
            const std::string count = text.substr(text.find_last_of(' ') + 1);
            const std::string item = text.rfind("Мин.", 0) == 0      ? "min"
                                     : text.rfind("Макс.", 0) == 0   ? "max:" + count
                                     : text.rfind("Фабрики", 0) == 0 ? "fab:" + count
                                                                     : "mine:" + count;
            std::string& joined = templates[current];
            joined += (joined.empty() ? "" : ";") + item;
        }
    }
    return templates;
}

TEST(CompanionRank, SearchRowsReplayWithPickAndSeedWhateverTheThreads) {
    const std::string search = " --search --seed 9 --population 20 --generations 3 --years 10";
    const CalcRun ranked = Calc(kList + " --rank --csv" + search);
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    EXPECT_EQ(Lines(ranked.out)[0].substr(Lines(ranked.out)[0].size() - 11), ",minus,plus");
    const CalcRun oneCore = Calc(kList + " --rank --csv --threads 1" + search);
    EXPECT_EQ(oneCore.out, ranked.out);

    for (const auto& row : CsvRows(ranked)) {
        ASSERT_EQ(row.size(), 14u);
        const CalcRun replay = Calc(kList + " --pick " + row[1] + search);
        ASSERT_EQ(replay.status, 0) << replay.err;
        std::string figures = "result:";
        for (size_t column = 4; column < 12; ++column)
            figures += " " + row[column];
        EXPECT_EQ(Lines(replay.out)[0], figures) << "planet " << row[1];
        const auto templates = SearchTemplates(replay.out);
        EXPECT_EQ(templates.at("minus"), row[12]) << "planet " << row[1];
        EXPECT_EQ(templates.at("plus"), row[13]) << "planet " << row[1];
    }
}

} // namespace
