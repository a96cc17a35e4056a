#include "cli/options.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace quendal::cli {

namespace {

// A whole number, strictly: the whole text must be the number, within 32 bits (signed or
// unsigned).
int64_t ParseWhole(const std::string& text, const std::string& option) {
    if (text.empty())
        throw UsageError(option + " needs a number");
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<uint32_t>::max())
        throw UsageError(option + ": '" + text + "' is not a whole number");
    return value;
}

int32_t ParseInt(const std::string& text, const std::string& option, int64_t lo = INT32_MIN,
                 int64_t hi = INT32_MAX) {
    const int64_t value = ParseWhole(text, option);
    if (value < lo || value > hi)
        throw UsageError(option + " must lie between " + std::to_string(lo) + " and " +
                         std::to_string(hi));
    return static_cast<int32_t>(value);
}

// The engine's seed: any 32-bit unsigned number.
uint32_t ParseSeed(const std::string& text, const std::string& option) {
    const int64_t value = ParseWhole(text, option);
    if (value < 0)
        throw UsageError(option + " must lie between 0 and 4294967295");
    return static_cast<uint32_t>(value);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

std::vector<int32_t> ParseTriple(const std::string& text, const std::string& option) {
    const std::vector<std::string> parts = Split(text, ',');
    if (parts.size() != 3)
        throw UsageError(option + " takes three numbers separated by commas");
    std::vector<int32_t> values;
    for (const std::string& part : parts)
        values.push_back(ParseInt(part, option));
    return values;
}

// "min", "min:N", "max:N", "fab:N", "mine:N", comma-separated.
std::vector<ElementOption> ParseElements(const std::string& text, const std::string& option) {
    std::vector<ElementOption> elements;
    for (const std::string& item : Split(text, ',')) {
        const size_t colon = item.find(':');
        const std::string kind = item.substr(0, colon);
        ElementOption element;
        if (colon != std::string::npos)
            element.count = item.substr(colon + 1);
        if (kind == "min")
            element.entry = 0;
        else if (kind == "max")
            element.entry = 1;
        else if (kind == "fab")
            element.entry = 2;
        else if (kind == "mine")
            element.entry = 3;
        else
            throw UsageError(option + ": unknown element '" + item +
                             "' (use min, max:N, fab:N or mine:N)");
        if (element.entry != 0 && colon == std::string::npos)
            throw UsageError(option + ": '" + item + "' needs a count, as in " + kind + ":5");
        elements.push_back(element);
    }
    return elements;
}

} // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h")
            o.help = true;
        else if (arg == "--race")
            o.race = value();
        else if (arg == "--start-prc")
            o.startPrc = std::to_string(ParseInt(value(), arg));
        else if (arg == "--start-men")
            o.startMen = ParseInt(value(), arg);
        else if (arg == "--growth")
            o.growth = ParseInt(value(), arg);
        else if (arg == "--years")
            o.years = ParseInt(value(), arg, 0, 99999);
        else if (arg == "--env")
            o.env = ParseTriple(value(), arg);
        else if (arg == "--tform-limit")
            o.tformLimit = ParseTriple(value(), arg);
        else if (arg == "--full-tform")
            o.fullTForm = true;
        else if (arg == "--homeworld")
            o.homeworld = true;
        else if (arg == "--concentration")
            o.concentration = ParseTriple(value(), arg);
        else if (arg == "--minerals")
            o.minerals = ParseTriple(value(), arg);
        else if (arg == "--factories")
            o.factories = ParseInt(value(), arg);
        else if (arg == "--mines")
            o.mines = ParseInt(value(), arg);
        else if (arg == "--planets")
            o.planets = value();
        else if (arg == "--pick")
            o.pick = ParseInt(value(), arg, 0);
        else if (arg == "--minus")
            for (const ElementOption& e : ParseElements(value(), arg))
                o.minus.push_back(e);
        else if (arg == "--plus")
            for (const ElementOption& e : ParseElements(value(), arg))
                o.plus.push_back(e);
        else if (arg == "--csv")
            o.csv = true;
        else if (arg == "--search")
            o.search = true;
        else if (arg == "--criterion")
            o.searchOptions.criterion = ParseInt(value(), arg, 0, 5);
        else if (arg == "--population")
            o.searchOptions.population = ParseInt(value(), arg, 2, 9999);
        else if (arg == "--generations")
            o.searchOptions.generations = ParseInt(value(), arg, 1, 9999);
        else if (arg == "--elite")
            o.searchOptions.elite = ParseInt(value(), arg, 0, 100);
        else if (arg == "--survival")
            o.searchOptions.survival = ParseInt(value(), arg, 0, 100);
        else if (arg == "--mutation")
            o.searchOptions.mutation = ParseInt(value(), arg, 0, 100);
        else if (arg == "--crossover")
            o.searchOptions.crossover = ParseInt(value(), arg, 0, 100);
        else if (arg == "--search-years")
            o.searchOptions.years = ParseInt(value(), arg, 1, 999);
        else if (arg == "--search-men")
            o.searchOptions.men = ParseInt(value(), arg);
        else if (arg == "--seed")
            o.searchOptions.seed = static_cast<uint32_t>(ParseSeed(value(), arg));
        else
            throw UsageError("unknown option '" + arg + "'");
    }
    if (o.help)
        return o;
    if (o.planets.has_value() != o.pick.has_value())
        throw UsageError("--planets and --pick go together");
    if (!o.race && (o.env || o.planets || o.search))
        throw UsageError("--env, --planets and --search need --race");
    return o;
}

const char* UsageText() {
    return "usage: quendal-calc [--race FILE] [--start-prc N] [--start-men N] [--growth N]\n"
           "                    [--years N] [--env G,T,R] [--tform-limit G,T,R] [--full-tform]\n"
           "                    [--homeworld] [--concentration I,U,L] [--minerals I,U,L]\n"
           "                    [--factories N] [--mines N] [--planets FILE --pick K]\n"
           "                    [--minus ITEMS] [--plus ITEMS] [--csv]\n"
           "       quendal-calc --race FILE ... --search [--criterion C] [--population N]\n"
           "                    [--generations N] [--elite N] [--survival N] [--mutation N]\n"
           "                    [--crossover N] [--search-years N] [--search-men N] [--seed S]\n"
           "\n"
           "Simulates a newly colonised planet year by year and prints the data table and, with\n"
           "a race, the minerals table. ITEMS is a comma-separated list of template elements:\n"
           "min (minimum terraforming), max:N (maximum terraforming, N steps), fab:N\n"
           "(factories), mine:N (mines); --minus is the template of a planet of habitability 0\n"
           "or below, --plus that of a habitable planet. --search looks for the best pair of\n"
           "templates; criterion 0 terraforming, 1 population, 2 resources, 3 factories,\n"
           "4 mines, 5 minerals.\n";
}

} // namespace quendal::cli
