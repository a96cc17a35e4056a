#pragma once

// The companion's whole run, apart from the process: the fuzz target runs it in-process.

#include <cstdio>
#include <string>
#include <vector>

namespace quendal::cli {

// Runs quendal-calc with `args` (without the program name), printing its results to `out` and
// its error message to `err`. Returns the exit status: 0 done, 2 a usage or file error, 1 any
// other failure (a write to `out` that failed, say).
int RunCompanion(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace quendal::cli
