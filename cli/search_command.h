#pragma once

#include <cstdio>

#include "cli/calc_command.h"
#include "cli/options.h"
#include "model/calc_model.h"
#include "optimiser/genetic_run.h"

namespace quendal::cli {

// The search task of the prepared model, as the search tab takes it on entering the tab;
// seeded by --seed, else by the clock.
GeneticInputs SearchInputs(const Options& options, const CalcModel& model,
                           const Prepared& prepared);

// Runs the queue-variant search on the prepared model and prints the result line and the
// two templates found. Shows a progress line on stderr when it is a terminal.
void RunSearchCommand(const Options& options, CalcModel& model, const Prepared& prepared,
                      std::FILE* out);

} // namespace quendal::cli
