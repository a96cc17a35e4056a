#include "cli/options.h"

#include <functional>
#include <limits>
#include <memory>

#include <CLI/CLI.hpp>

#include "io/ini_text.h"
#include "lists/queue_item.h"
#include "model/field_specs.h"
#include "model/numbers.h"

namespace quendal::cli {

namespace {

// --help and --version stop the parse where they stand: nothing else is checked.
struct HelpAsked {};
struct VersionAsked {};

// A whole number, strictly: the whole text must be the number, in decimal, within 32 bits
// (signed or unsigned), then within [lo, hi].
int64_t ParseNumber(const std::string& text, const std::string& option, int64_t lo, int64_t hi) {
    if (text.empty())
        throw UsageError(option + " needs a number");
    const std::optional<int64_t> value = StrictInt(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<uint32_t>::max())
        throw UsageError(option + ": '" + text + "' is not a whole number");
    if (*value < lo || *value > hi)
        throw UsageError(option + " must lie between " + std::to_string(lo) + " and " +
                         std::to_string(hi));
    return *value;
}

std::vector<int32_t> ParseTriple(const std::string& text, const std::string& option,
                                 ValueRange range) {
    const std::vector<std::string_view> parts = SplitAt(text, ',');
    if (parts.size() != 3)
        throw UsageError(option + " takes three numbers separated by commas");
    std::vector<int32_t> values;
    for (std::string_view part : parts)
        values.push_back(
            static_cast<int32_t>(ParseNumber(std::string(part), option, range.lo, range.hi)));
    return values;
}

// "min", "min:N", "max:N", "fab:N", "mine:N", comma-separated; an empty text is no element,
// as a script's empty variable gives.
std::vector<ElementOption> ParseElements(const std::string& text, const std::string& option) {
    std::vector<ElementOption> elements;
    if (text.empty())
        return elements;
    for (const std::string_view part : SplitAt(text, ',')) {
        const std::string item(part);
        const size_t colon = item.find(':');
        const std::string kind = item.substr(0, colon);
        ElementOption element;
        if (colon != std::string::npos)
            element.count = item.substr(colon + 1);
        element.entry = KindOfWord(kind) - MinTerraform; // the drop-down entry of the kind
        if (element.entry < 0)
            throw UsageError(option + ": unknown element '" + item +
                             "' (use min, max:N, fab:N or mine:N)");
        if (element.entry != 0 && colon == std::string::npos)
            throw UsageError(option + ": '" + item + "' needs a count, as in " + kind + ":5");
        elements.push_back(element);
    }
    return elements;
}

// The codes --lang takes: "ru, en".
std::string LanguageCodes() {
    std::string codes;
    for (const Language language : Language::All())
        codes.append(codes.empty() ? "" : ", ").append(language.Code());
    return codes;
}

// "0 to 99999": what a field accepts, as the help says it.
std::string Between(const FieldSpec& field) {
    return std::to_string(field.accepts.lo) + " to " + std::to_string(field.accepts.hi);
}

template <typename T> struct ValueOf { using type = T; };
template <typename T> struct ValueOf<std::optional<T>> { using type = T; };

// The option's text goes through `set` once the whole line is parsed; the last one given wins.
CLI::Option* Value(CLI::App& app, const std::string& name, const std::string& typeName,
                   const std::string& help, std::function<void(const std::string&)> set) {
    return app.add_option_function<std::string>(name, std::move(set), help)->type_name(typeName);
}

// A whole number option within `range`, stored into an integer, an enumeration or an optional.
template <typename Target>
CLI::Option* Number(CLI::App& app, const std::string& name, Target& target, const std::string& help,
                    ValueRange range = kInt32Range) {
    return Value(app, name, "N", help, [&target, name, range](const std::string& text) {
        target = static_cast<typename ValueOf<Target>::type>(
            ParseNumber(text, name, range.lo, range.hi));
    });
}

CLI::Option* Triple(CLI::App& app, const std::string& name, const std::string& typeName,
                    std::optional<std::vector<int32_t>>& target, const std::string& help,
                    ValueRange range = kInt32Range) {
    return Value(app, name, typeName, help, [&target, name, range](const std::string& text) {
        target = ParseTriple(text, name, range);
    });
}

CLI::Option* File(CLI::App& app, const std::string& name, std::optional<std::string>& target,
                  const std::string& help) {
    return Value(app, name, "FILE", help, [&target](const std::string& text) { target = text; });
}

// Every occurrence adds its elements, in the order given.
CLI::Option* Elements(CLI::App& app, const std::string& name, std::vector<ElementOption>& target,
                      const std::string& help) {
    return app
        .add_option_function<std::vector<std::string>>(
            name,
            [&target, name](const std::vector<std::string>& lists) {
                for (const std::string& list : lists)
                    for (const ElementOption& element : ParseElements(list, name))
                        target.push_back(element);
            },
            help)
        ->type_name("ITEMS")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

// The synopsis and what the program does, ahead of the options.
class CompanionFormatter : public CLI::Formatter {
public:
    std::string make_description(const CLI::App*) const override { return ""; }
    std::string make_group(std::string group, bool positional,
                           std::vector<const CLI::Option*> options) const override {
        return CLI::Formatter::make_group(group, positional, options).substr(1); // no blank line
    }
    std::string make_usage(const CLI::App*, std::string) const override {
        return "usage: quendal-calc [--calc FILE] [OPTIONS] [--save-calc FILE]\n"
               "       quendal-calc --race FILE [OPTIONS] --search [SEARCH OPTIONS]\n"
               "       quendal-calc --race FILE --planets FILE --rank [OPTIONS] [--search ...]\n"
               "\n"
               "Simulates a newly colonised planet year by year and prints the data table and,\n"
               "with a race, the minerals table; or searches for the best production-queue\n"
               "templates; or ranks every planet of a list, best first.\n\n";
    }
};

// Declares every option of the companion, bound to `o`.
void Declare(CLI::App& app, Options& o) {
    app.formatter(std::make_shared<CompanionFormatter>());
    app.get_formatter()->column_width(26);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.allow_extras(); // reported as unknown options after the parse
    app.set_help_flag();
    app.add_flag_callback(
           "-h,--help", [] { throw HelpAsked(); }, "print this help and exit")
        ->trigger_on_parse();
    app.add_flag_callback(
           "--version", [] { throw VersionAsked(); }, "print the version and exit")
        ->trigger_on_parse();
    app.add_flag("--csv", o.csv, "print CSV with a header row instead of the tables");
    Value(app, "--lang", "CODE",
          "language of the tables' headers and captions:\n" + LanguageCodes() + " (default ru)",
          [&o](const std::string& text) {
              const std::optional<Language> language = Language::OfCode(text);
              if (!language)
                  throw UsageError("--lang: '" + text + "' is none of " + LanguageCodes());
              o.language = *language;
          });
    File(app, "--calc", o.calc,
         "start from a calculation file (*.cal); the other\noptions apply on top of it");
    File(app, "--save-calc", o.saveCalc, "also write the calculation to a file (*.cal)");

    app.option_defaults()->group("Planet");
    Value(app, "--start-prc", "N", "start habitability, % (default 100)",
          [&o](const std::string& text) {
              o.startPrc = std::to_string(ParseNumber(
                  text, "--start-prc", kStartPrcField.accepts.lo, kStartPrcField.accepts.hi));
          });
    File(app, "--race", o.race, "race description (*.urc)");
    Number(app, "--start-men", o.startMen, "colonists at the start, in hundreds (default 250)",
           kStartMenField.accepts);
    Number(app, "--growth", o.growth, "yearly growth, % (default the race's, or 15)",
           kGrowthField.accepts);
    Number(app, "--years", o.years, "years to simulate, " + Between(kYearsField) + " (default 15)",
           kYearsField.accepts);
    File(app, "--planets", o.planets, "planet list (*.txt), with --pick");
    Number(app, "--pick", o.pick, "entry K of the planet list, from 0", {0, INT32_MAX})
        ->type_name("K");
    Triple(app, "--env", "G,T,R", o.env, "gravity, temperature, radiation", kFactorField.accepts);
    Triple(app, "--tform-limit", "G,T,R", o.tformLimit, "terraforming limits",
           kTFormLimitField.accepts);
    app.add_flag("--full-tform", o.fullTForm, "full terraforming");
    app.add_flag("--homeworld", o.homeworld, "homeworld (concentrations at least 15)");
    Triple(app, "--concentration", "I,U,L", o.concentration, "mineral concentrations, %",
           kConcentrationField.accepts);
    Triple(app, "--minerals", "I,U,L", o.minerals, "minerals on the surface",
           kMineralField.accepts);
    Number(app, "--factories", o.factories, "factories built", kFactoriesField.accepts);
    Number(app, "--mines", o.mines, "mines built", kMinesField.accepts);

    app.option_defaults()->group("Templates");
    Elements(app, "--minus", o.minus, "elements for habitability 0 or below");
    Elements(app, "--plus", o.plus, "elements for a habitable planet");

    app.option_defaults()->group("Ranking");
    app.add_flag("--rank", o.rank,
                 "rank every planet of --planets, each set up as\n--pick would, best first by "
                 "--criterion");

    app.option_defaults()->group("Search");
    SearchOptions& s = o.searchOptions;
    app.add_flag("--search", o.search, "search for the best templates");
    Number(app, "--criterion", s.criterion,
           "what to maximise: 0 terraforming, 1 population,\n"
           "2 resources (default), 3 factories, 4 mines,\n5 minerals",
           kCriterionRange)
        ->type_name("C");
    const char* const paramHelp[6] = {
        "", "", "elite, %, ", "survival, %, ", "mutation, %, ", "crossover, %, "};
    const GeneticParams defaults;
    for (int i = 0; i < 6; ++i) {
        Number(app, std::string("--") + kGeneticParamNames[i], s.params[i],
               paramHelp[i] + Between(kGeneticParamFields[i]) + " (default " +
                   std::to_string(defaults[i]) + ")",
               kGeneticParamFields[i].accepts);
    }
    Number(app, "--search-years", s.years,
           "years of a trial, " + Between(kSearchYearsField) +
               " (default --years,\nat most 50, at least 1)",
           kSearchYearsField.accepts);
    Number(app, "--search-men", s.men, "colonists of a trial (default --start-men)",
           kSearchMenField.accepts);
    Number(app, "--seed", s.seed, "0 to 4294967295, for a repeatable search", {0, UINT32_MAX})
        ->type_name("S");
    Number(app, "--threads", o.threads,
           "cores that work at once, 1 to 256 (default all);\nthe results are the same", {1, 256});

    app.footer("ITEMS is a comma-separated list of template elements: min (minimum\n"
               "terraforming), max:N (maximum terraforming, N steps, at most 20), fab:N\n"
               "(factories), mine:N (mines); an empty list adds nothing. The options apply in\n"
               "the window's order, whatever their order here, on top of a --calc file: see\n"
               "quendal-calc(1).");
}

} // namespace

Options ParseOptions(const std::vector<std::string>& args, const Options& defaults) {
    Options o = defaults;
    CLI::App app("", "quendal-calc");
    Declare(app, o);
    // CLI11 takes the arguments last to first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const HelpAsked&) {
        o.help = true;
        return o;
    } catch (const VersionAsked&) {
        o.version = true;
        return o;
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }
    if (!app.remaining().empty()) {
        const std::string arg = app.remaining().front();
        throw UsageError(arg.rfind('-', 0) == 0 ? "unknown option '" + arg + "'"
                                                : "unexpected argument '" + arg + "'");
    }
    if (o.rank && (!o.planets || o.pick))
        throw UsageError("--rank takes --planets and no --pick");
    if (!o.rank && o.planets.has_value() != o.pick.has_value())
        throw UsageError("--planets and --pick go together");
    if (o.rank && (o.calc || o.saveCalc))
        throw UsageError("--rank takes no --calc or --save-calc");
    // A calculation file may hold a race; whether it does is known once it is read.
    if (!o.race && !o.calc && (o.env || o.planets || o.search))
        throw UsageError("--env, --planets and --search need --race");
    return o;
}

std::string HelpText() {
    Options unused;
    CLI::App app("", "quendal-calc");
    Declare(app, unused);
    return app.help();
}

std::string VersionText() {
    return "quendal-calc " QUENDAL_VERSION "\n";
}

} // namespace quendal::cli
