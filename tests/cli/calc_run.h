#pragma once

// Runs quendal-calc as a separate process, as a user or a script would.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quendal::test {

struct CalcRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the companion with the given arguments from the source folder.
inline CalcRun Calc(const std::string& args) {
    // ctest runs tests in parallel processes: each gets a stderr file of its own.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string errFile = ::testing::TempDir() + "quendal_calc_" + test->name() + "_" +
                                std::to_string(getpid()) + ".err";
    const std::string command = std::string("cd '") + QUENDAL_SOURCE_DIR + "' && '" + QUENDAL_CALC +
                                "' " + args + " 2>'" + errFile + "'";
    CalcRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (FILE* err = fopen(errFile.c_str(), "r")) {
        while ((n = fread(buffer, 1, sizeof buffer, err)) > 0)
            run.err.append(buffer, n);
        fclose(err);
    }
    std::remove(errFile.c_str());
    return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace quendal::test
