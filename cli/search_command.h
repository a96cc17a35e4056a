#pragma once

#include <cstdio>

#include "cli/calc_command.h"
#include "cli/options.h"
#include "model/calc_model.h"
#include "optimiser/genetic_run.h"

namespace quendal::cli {

// Runs the queue-variant search on the prepared model and prints the result line and the
// two templates found. Shows a progress line on stderr when it is a terminal.
void RunSearchCommand(const Options& options, CalcModel& model, const Prepared& prepared,
                      std::FILE* out);

} // namespace quendal::cli
