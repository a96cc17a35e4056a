// Golden scenarios: each folder under tests/golden holds a quendal-calc command line (`args`),
// the input files it names and the exact stdout expected (`expected.txt`). The expected files
// were checked against a separately written reference; `make golden-update` rewrites them after
// a deliberate change, so that every changed figure shows up in the diff.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/calc_run.h"

namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(QUENDAL_SOURCE_DIR) / "tests" / "golden";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Scenarios() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kGoldenDir))
        if (fs::exists(entry.path() / "args"))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs the companion in the scenario's folder, where the paths in `args` are relative to. The
// lines of `args` are one command line.
quendal::test::CalcRun RunScenario(const fs::path& dir) {
    std::string args = ReadFile(dir / "args");
    std::replace(args.begin(), args.end(), '\n', ' ');
    return quendal::test::Calc(args, dir.string());
}

// The first line that differs, numbered from 1, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int line = 1;; ++line) {
        const bool moreE = static_cast<bool>(std::getline(e, le));
        const bool moreA = static_cast<bool>(std::getline(a, la));
        if (!moreE && !moreA)
            return "texts differ only in the final line end";
        if (!moreE || !moreA || le != la)
            return "line " + std::to_string(line) + "\n  expected: " + (moreE ? le : "<end>") +
                   "\n  actual:   " + (moreA ? la : "<end>");
    }
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, PrintsTheExpectedOutput) {
    const fs::path dir = kGoldenDir / GetParam();
    const std::string expected = ReadFile(dir / "expected.txt");
    const quendal::test::CalcRun run = RunScenario(dir);
    ASSERT_EQ(run.status, 0) << "args: " << ReadFile(dir / "args") << run.err;
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(run.out == expected)
        << "args: " << ReadFile(dir / "args") << FirstDifference(expected, run.out);
}

INSTANTIATE_TEST_SUITE_P(Scenario, Golden, ::testing::ValuesIn(Scenarios()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
