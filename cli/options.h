#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lists/translate.h"
#include "model/calc_model.h"
#include "model/search_params.h"

namespace quendal::cli {

// A bad command line: the message is printed with a pointer to --help, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One element of --minus or --plus: the drop-down entry (0..3) and the typed count.
struct ElementOption {
    int entry = 0;
    std::string count = "1";
};

struct SearchOptions {
    Criterion criterion = Criterion::Resources;
    GeneticParams params;
    std::optional<int32_t> years;
    std::optional<int32_t> men;
    std::optional<uint32_t> seed;
};

struct Options {
    std::optional<std::string> calc;     // start from this calculation file
    std::optional<std::string> saveCalc; // write the calculation to this file
    std::optional<std::string> race;
    std::string startPrc = "100"; // the text of the start-habitability field
    std::optional<int32_t> startMen;
    std::optional<int32_t> growth;
    int32_t years = 15;
    std::optional<std::vector<int32_t>> env;
    std::optional<std::vector<int32_t>> tformLimit;
    bool fullTForm = false;
    bool homeworld = false;
    std::optional<std::vector<int32_t>> concentration;
    std::optional<std::vector<int32_t>> minerals;
    std::optional<int32_t> factories;
    std::optional<int32_t> mines;
    std::optional<std::string> planets;
    std::optional<int32_t> pick;
    std::vector<ElementOption> minus;
    std::vector<ElementOption> plus;
    bool csv = false;
    Language language; // of the tables' headers and captions (--lang); messages are English
    bool search = false;
    bool rank = false; // rank every planet of --planets
    SearchOptions searchOptions;
    std::optional<int32_t> threads; // threads that work at the same time; all cores when unset
    bool help = false;              // print HelpText() and stop; nothing else is checked
    bool version = false;           // print VersionText() and stop
};

// Parses the arguments after the program name over `defaults` (what a calculation file gives);
// throws UsageError.
Options ParseOptions(const std::vector<std::string>& args, const Options& defaults = Options());

// The text of --help: the synopsis and every option.
std::string HelpText();

// The text of --version: the program's name and the project version, one line.
std::string VersionText();

} // namespace quendal::cli
