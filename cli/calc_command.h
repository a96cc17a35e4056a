#pragma once

#include <cstdio>

#include "cli/options.h"
#include "model/calc_model.h"

namespace quendal::cli {

// Where a failing file or option is reported: the message goes to stderr, exit status 2.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The state the options leave behind, ready for a calculation or a search.
struct Prepared {
    int32_t startMen = 250; // hundreds
    int32_t startPrc = 100;
    int32_t growth = 15;
};

// Applies the options to the model in the order the window's controls would: the start
// habitability text, the race, the planet list, the additional parameters, the templates.
Prepared ApplyOptions(const Options& options, CalcModel& model);

// Runs the displayed calculation and prints its tables (or CSV) to `out`.
void PrintCalculation(const Options& options, CalcModel& model, const Prepared& prepared,
                      std::FILE* out);

} // namespace quendal::cli
