#pragma once

#include <cstdio>
#include <string>

#include "cli/options.h"
#include "io/planet_list.h"
#include "model/calc_model.h"
#include "model/calc_setup.h"
#include "optimiser/controller.h"

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
    // What a calculation file records besides the model: the race as loaded, the planet
    // list and its chosen entry.
    std::optional<RaceRecord> race;
    PlanetListChoice list;
    bool fromCalc = false;
};

// Reads the calculation file of --calc; FileError when it cannot be read or is invalid.
CalcSetup ReadCalcOption(const std::string& path);

// The defaults a calculation file gives the options: the start habitability text, the years
// (at most kMaxShownYears, as the window calculates them), the search parameters and
// criterion.
Options DefaultsFrom(const CalcSetup& setup);

// Applies the options to the controller's model in the order the window's controls would: a
// calculation file (`base`, from --calc), the start habitability text, the race, the planet
// list and its entry, the additional parameters, the templates. The file, the race and the
// list entry are taken as the window's controller takes them.
Prepared ApplyOptions(const Options& options, Controller& controller,
                      const CalcSetup* base = nullptr);

// The first steps of ApplyOptions: the calculation file, the start habitability text and the
// race, then the planet list (when given) read into the controller, none of its entries chosen.
Prepared LoadRaceAndList(const Options& options, Controller& controller,
                         const CalcSetup* base = nullptr);

// The last steps of ApplyOptions, after the chosen planet: the additional parameters and the
// templates.
void ApplyPlanetOptions(const Options& options, CalcModel& model, Prepared& prepared);

// Runs the displayed calculation and prints its tables (or CSV) to `out`.
void PrintCalculation(const Options& options, CalcModel& model, const Prepared& prepared,
                      std::FILE* out);

// The search tab's fields the options give: the search options, a trial's years and colonists
// defaulting as entering the tab takes them.
SearchTab SearchTabOf(const Options& options, const Prepared& prepared);

// --save-calc: calculates again (as "Расчет" before a save) and writes the calculation the
// options describe, with the search result when one stands in the model. FileError when it
// cannot be written, or when --calc could not open it again (SetupProblem).
void SaveCalculation(const Options& options, CalcModel& model, const Prepared& prepared);

} // namespace quendal::cli
