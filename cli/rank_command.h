#pragma once

#include <cstdio>

#include "cli/options.h"

namespace quendal::cli {

// Ranks every planet of --planets: each is set up as --pick would set it up, the other
// options follow, and it is calculated (or, with --search, searched). Prints the rows best
// first as a table or, with --csv, as CSV. Shows a progress line on stderr when it is a
// terminal.
void RunRankCommand(const Options& options, std::FILE* out);

} // namespace quendal::cli
