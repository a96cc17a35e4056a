#include "cli/calc_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/atomic_save.h"
#include "io/calc_file.h"
#include "io/file_bytes.h"
#include "io/planet_list.h"
#include "model/habitability.h"
#include "model/numbers.h"
#include "model/output.h"
#include "model/planet_rules.h"
#include "model/queue_edit.h"
#include "model/simulation.h"

namespace quendal::cli {

namespace {

// The bytes of a file the options name.
std::string ReadNamedFile(const std::string& path) {
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        throw FileError("cannot read '" + path + "'");
    return std::move(*bytes);
}

void AddElements(const std::vector<ElementOption>& elements, const RaceParams& race,
                 LIST_ITEM& target) {
    for (const ElementOption& element : elements) {
        QueueItem item;
        if (MakeQueueElement(race, element.entry, element.count, item))
            target.Append(&item);
    }
}

// The rows of the displayed calculation, from the start conditions the options give.
std::vector<YearResult> CalculateRows(const Options& o, CalcModel& model,
                                      const Prepared& prepared) {
    const StartConditions start{.StartMen = prepared.startMen,
                                .StartPrc = prepared.startPrc,
                                .MenYearPrc = prepared.growth,
                                .Years = o.years};
    std::vector<YearResult> rows;
    rows.reserve(static_cast<size_t>(std::max(o.years, 0)) + 1);
    RunCalculation(model, start, [&rows](const YearResult& row) { rows.push_back(row); });
    return rows;
}

} // namespace

CalcSetup ReadCalcOption(const std::string& path) {
    CalcFileResult read = ReadCalcFile(path);
    if (read.error)
        throw FileError("'" + path + "': " + read.error->Message(Language::English()));
    return std::move(read.setup);
}

Options DefaultsFrom(const CalcSetup& setup) {
    Options o;
    o.startPrc = std::to_string(setup.start.prc);
    o.years = std::min(setup.start.years, kMaxShownYears);
    o.searchOptions.params = setup.search.params;
    o.searchOptions.criterion = setup.search.criterion;
    return o;
}

Prepared LoadRaceAndList(const Options& o, Controller& controller, const CalcSetup* base) {
    Prepared prepared;
    const CalcModel& model = controller.Model();
    if (base) {
        // The file's own list is a record here: --planets names the list the companion reads.
        controller.OpenCalc({*base, std::nullopt}, o.calc.value_or(""), {});
        prepared.fromCalc = true;
        prepared.startMen = base->start.men;
        prepared.growth = base->start.growth;
        prepared.race = base->race;
        prepared.list = base->planetTab.list;
    }
    prepared.startPrc = LeadingInt(o.startPrc);
    if (o.race) {
        // Another race: the file's race is cleared first, with its templates and the search
        // result priced for it.
        controller.LoadRace(ReadNamedFile(*o.race), *o.race, prepared.startPrc);
        prepared.race = controller.Race();
        prepared.growth = model.Race.MaxGrowthYRate;
    }
    if (!model.RaceLoaded && (o.env || o.planets || o.search))
        throw FileError("--env, --planets and --search need a race: '" + o.calc.value_or("") +
                        "' holds none, give --race");
    if (o.planets) {
        // Kept absolute, so that a saved calculation finds the list from any working folder.
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(*o.planets, failed);
        prepared.list = {failed ? *o.planets : absolute.lexically_normal().string(), -1, ""};
        controller.LoadPlanetList(ReadNamedFile(*o.planets), prepared.list.path);
    }
    return prepared;
}

Prepared ApplyOptions(const Options& o, Controller& controller, const CalcSetup* base) {
    Prepared prepared = LoadRaceAndList(o, controller, base);
    if (o.planets) {
        const std::vector<std::string>& entries = controller.List().entries;
        if (*o.pick >= static_cast<int32_t>(entries.size()))
            throw FileError("'" + *o.planets + "' has no planet " + std::to_string(*o.pick) +
                            " (it lists " + std::to_string(entries.size()) + ")");
        prepared.startMen = controller.ChoosePlanet(*o.pick);
        prepared.list.entry = *o.pick;
        prepared.list.entryText = entries[static_cast<size_t>(*o.pick)];
    }
    ApplyPlanetOptions(o, controller.Model(), prepared);
    return prepared;
}

void ApplyPlanetOptions(const Options& o, CalcModel& model, Prepared& prepared) {
    if (o.startMen)
        prepared.startMen = *o.startMen;
    if (o.growth)
        prepared.growth = *o.growth;

    // The additional parameters, as if typed on their tab and the tab then left. The fields of
    // an immune factor are disabled there: its value stays 102 and leaving stores limit 0.
    PlanetParams& planet = model.Planet;
    if (o.env) {
        for (int i = 0; i < 3; ++i)
            if (!ImmuneFactor(model.Race, i))
                planet.PlanetEnv[i] = (*o.env)[i];
        planet.PlanetPrc = CalcPlanetPrc(model.Race, planet.PlanetEnv);
    }
    if (o.tformLimit)
        std::copy_n(o.tformLimit->begin(), 3, planet.MaxTFormPrc);
    const bool planetOptions = o.env || o.tformLimit || o.fullTForm || o.homeworld ||
                               o.concentration || o.minerals || o.factories || o.mines;
    if (planetOptions)
        for (int i = 0; i < 3; ++i)
            planet.MaxTFormPrc[i] = TFormLimitOf(planet, i);
    if (o.fullTForm)
        model.Race.FullTForm = true;
    if (o.homeworld) {
        planet.PlanetHW = true;
        for (int32_t& concentration : planet.PlanetConPrc)
            concentration = HomeworldConPrc(concentration);
    }
    if (o.concentration)
        std::copy_n(o.concentration->begin(), 3, planet.PlanetConPrc);
    if (o.minerals)
        std::copy_n(o.minerals->begin(), 3, planet.PlanetMineral);
    if (o.factories)
        planet.PlanetFabr = *o.factories;
    if (o.mines)
        planet.PlanetMine = *o.mines;

    // With a race the start-habitability field follows the model once the planet is set;
    // a calculation file's planet keeps its field as saved (or as --start-prc gives it).
    if (model.RaceLoaded && (!prepared.fromCalc || o.race || o.planets || planetOptions))
        prepared.startPrc = planet.PlanetPrc;

    AddElements(o.minus, model.Race, model.QueueMinus);
    AddElements(o.plus, model.Race, model.QueuePlus);
}

SearchTab SearchTabOf(const Options& o, const Prepared& prepared) {
    const SearchOptions& s = o.searchOptions;
    return {s.params, s.criterion, s.years.value_or(SearchInterval(o.years)),
            s.men.value_or(prepared.startMen), std::nullopt};
}

void SaveCalculation(const Options& o, CalcModel& model, const Prepared& prepared) {
    const std::vector<YearResult> rows = CalculateRows(o, model, prepared);
    const CalcSetup setup =
        CaptureSetup(model, prepared.race, prepared.list,
                     {prepared.startPrc, prepared.startMen, prepared.growth, o.years},
                     SearchTabOf(o, prepared), rows);
    // A file that --calc would refuse is not written at all.
    if (const std::string problem = SetupProblem(setup, Language::English(), true);
        !problem.empty())
        throw FileError("cannot write '" + *o.saveCalc + "': " + problem);
    if (const std::optional<std::string> error =
            SaveFileAtomically(*o.saveCalc, WriteCalcFile(setup)))
        throw FileError("cannot write '" + *o.saveCalc + "': " + *error);
}

void PrintCalculation(const Options& o, CalcModel& model, const Prepared& prepared,
                      std::FILE* out) {
    const std::vector<YearResult> rows = CalculateRows(o, model, prepared);
    const bool minerals = model.RaceLoaded;

    if (o.csv) {
        std::fputs("year,habitability,colonists,resources,factories,mines", out);
        if (minerals)
            std::fputs(",concentration_i,concentration_u,concentration_l,mined_i,mined_u,"
                       "mined_l,surface_i,surface_u,surface_l",
                       out);
        std::fputc('\n', out);
        for (const YearResult& r : rows) {
            const std::vector<int64_t> figures = YearFigures(r, minerals);
            for (size_t i = 0; i < figures.size(); ++i)
                std::fprintf(out, i ? ",%lld" : "%lld", static_cast<long long>(figures[i]));
            std::fputc('\n', out);
        }
        return;
    }
    const auto shown = [&o](const char* text) { return std::string(Translate(o.language, text)); };
    std::fprintf(out, "%s\n%s\n", shown(kDataHeader1).c_str(), shown(kDataHeader2).c_str());
    for (const YearResult& r : rows)
        std::fprintf(out, "%s\n", DataTableLine(r).c_str());
    if (!minerals)
        return;
    std::fprintf(out, "\n%s\n%s\n", shown(kMineralHeader1).c_str(), shown(kMineralHeader2).c_str());
    for (const YearResult& r : rows)
        std::fprintf(out, "%s\n", MineralLine(r).c_str());
}

} // namespace quendal::cli
