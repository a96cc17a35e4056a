#pragma once

// Runs quendal-calc (QUENDAL_CALC) as a separate process, as a user or a script would; built for
// another processor, through the emulator QUENDAL_CALC_RUNNER (a command line).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#if !defined(QUENDAL_CALC_RUNNER)
#define QUENDAL_CALC_RUNNER ""
#endif

namespace quendal::test {

struct CalcRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the companion in `dir` with `args`, which the shell splits as it splits a command line:
// quotes group, so '' is an empty argument (scripts/golden.sh splits a scenario's the same
// way). A run that hangs is ended after five minutes, so that it cannot outlive the test.
inline CalcRun Calc(const std::string& args, const std::string& dir = QUENDAL_SOURCE_DIR) {
    CalcRun run;
    // ctest runs tests in parallel processes: each run gets a stderr file of its own.
    std::string errFile = ::testing::TempDir() + "quendal_calc_XXXXXX";
    const int errFd = mkstemp(errFile.data());
    if (errFd < 0)
        return run;
    close(errFd);
    const std::string command = "cd '" + dir + "' && timeout 300 " + QUENDAL_CALC_RUNNER + " '" +
                                QUENDAL_CALC + "' " + args + " 2>'" + errFile + "'";
    if (FILE* pipe = popen(command.c_str(), "r")) {
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
