#include "cli/calc_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "io/calc_file.h"
#include "io/file_bytes.h"
#include "io/planet_list.h"
#include "io/race_file.h"
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

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so that a failed
// write leaves an older file whole. Throws FileError.
void WriteAtomically(const std::string& path, const std::string& bytes) {
    const size_t slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                       ".quendal-calc-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        throw FileError("cannot write '" + path + "': " + std::strerror(errno));
    // The permissions an ordinary new file gets, or those of the file it replaces.
    struct stat old;
    mode_t mode = umask(0);
    umask(mode);
    mode = stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : 0666 & ~mode;
    fchmod(fd, mode);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            break;
        done += static_cast<size_t>(wrote);
    }
    const int error = done < bytes.size() ? errno : 0;
    const bool written = done == bytes.size() && fsync(fd) == 0;
    if (close(fd) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
        const int reason = error ? error : errno;
        unlink(temp.c_str());
        throw FileError("cannot write '" + path + "': " + std::strerror(reason));
    }
}

void AddElements(const std::vector<ElementOption>& elements, const RaceParams& race,
                 LIST_ITEM& target) {
    for (const ElementOption& element : elements) {
        QueueItem item;
        if (MakeQueueElement(race, element.entry, element.count, item))
            target.Append(&item);
    }
}

} // namespace

CalcSetup ReadCalcOption(const std::string& path) {
    CalcFileResult read = ReadCalcFile(path);
    if (read.error)
        throw FileError("'" + path + "': " + read.error->Message());
    return std::move(read.setup);
}

Options DefaultsFrom(const CalcSetup& setup) {
    Options o;
    o.startPrc = std::to_string(setup.start.prc);
    o.years = std::min(setup.start.years, kMaxShownYears);
    SearchOptions& s = o.searchOptions;
    const SearchTab& tab = setup.search;
    s.population = tab.params[0];
    s.generations = tab.params[1];
    s.elite = tab.params[2];
    s.survival = tab.params[3];
    s.mutation = tab.params[4];
    s.crossover = tab.params[5];
    s.criterion = tab.criterion;
    return o;
}

Prepared LoadRaceAndList(const Options& o, CalcModel& model, PlanetList& list,
                         const CalcSetup* base) {
    Prepared prepared;
    if (base) {
        ApplySetup(model, *base);
        prepared.fromCalc = true;
        prepared.startMen = base->start.men;
        prepared.growth = base->start.growth;
        prepared.race = base->race;
        prepared.planetList = base->planetTab.planetList;
        prepared.planetEntry = base->planetTab.planetEntry;
        prepared.planetEntryText = base->planetTab.planetEntryText;
        prepared.searchKept = base->search.result.has_value();
    }
    prepared.startPrc = LeadingInt(o.startPrc);
    if (o.race) {
        // Another race: the window clears the file's race first, with its templates and the
        // search result priced for it.
        if (model.RaceLoaded) {
            ClearRace(model);
            model.GeneticState.GenQueueMinus.Clear();
            model.GeneticState.GenQueuePlus.Clear();
            prepared.searchKept = false;
        }
        RaceFile race = ParseRace(ReadNamedFile(*o.race));
        ApplyRace(model, race.race, prepared.startPrc);
        prepared.race = RaceRecord{*o.race, std::move(race.name), model.Race};
        prepared.growth = model.Race.MaxGrowthYRate;
    }
    if (!model.RaceLoaded && (o.env || o.planets || o.search))
        throw FileError("--env, --planets and --search need a race: '" + o.calc.value_or("") +
                        "' holds none, give --race");
    if (o.planets) {
        list = ParsePlanetList(ReadNamedFile(*o.planets), model.Race);
        prepared.planetList = *o.planets;
        prepared.planetEntry = -1;
        prepared.planetEntryText.clear();
    }
    return prepared;
}

Prepared ApplyOptions(const Options& o, CalcModel& model, const CalcSetup* base) {
    PlanetList list;
    Prepared prepared = LoadRaceAndList(o, model, list, base);
    if (o.planets) {
        if (*o.pick >= static_cast<int32_t>(list.planets.size()))
            throw FileError("'" + *o.planets + "' has no planet " + std::to_string(*o.pick) +
                            " (it lists " + std::to_string(list.entries.size()) + ")");
        const size_t pick = static_cast<size_t>(*o.pick);
        prepared.startMen = ApplyPlanet(model, list.planets[pick]);
        prepared.planetEntry = *o.pick;
        prepared.planetEntryText = list.entries[pick];
    }
    ApplyPlanetOptions(o, model, prepared);
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
            if (planet.PlanetEnv[i] != kImmune)
                planet.PlanetEnv[i] = (*o.env)[i];
        planet.PlanetPrc = CalcPlanetPrc(model.Race, planet.PlanetEnv);
    }
    if (o.tformLimit)
        for (int i = 0; i < 3; ++i)
            planet.MaxTFormPrc[i] = (*o.tformLimit)[i];
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
        for (int i = 0; i < 3; ++i)
            planet.PlanetConPrc[i] = (*o.concentration)[i];
    if (o.minerals)
        for (int i = 0; i < 3; ++i)
            planet.PlanetMineral[i] = (*o.minerals)[i];
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

StartConditions StartOf(const Options& o, const Prepared& prepared) {
    StartConditions start;
    start.StartMen = prepared.startMen;
    start.StartPrc = prepared.startPrc;
    start.MenYearPrc = prepared.growth;
    start.Years = o.years;
    return start;
}

namespace {

std::vector<YearResult> CalculateRows(const Options& o, CalcModel& model,
                                      const Prepared& prepared) {
    std::vector<YearResult> rows;
    rows.reserve(static_cast<size_t>(std::max(o.years, 0)) + 1);
    RunCalculation(model, StartOf(o, prepared),
                   [&rows](const YearResult& row) { rows.push_back(row); });
    return rows;
}

} // namespace

void SaveCalculation(const Options& o, CalcModel& model, const Prepared& prepared, bool searched) {
    const std::vector<YearResult> rows = CalculateRows(o, model, prepared);
    CalcSetup setup;
    if (model.RaceLoaded)
        setup.race = prepared.race;
    setup.planetTab.planetList = prepared.planetList;
    setup.planetTab.planetEntry = prepared.planetEntry;
    setup.planetTab.planetEntryText = prepared.planetEntryText;
    CaptureModel(model, searched, setup);
    setup.start = {prepared.startPrc, prepared.startMen, prepared.growth, o.years};
    const SearchOptions& s = o.searchOptions;
    setup.search.params[0] = s.population;
    setup.search.params[1] = s.generations;
    setup.search.params[2] = s.elite;
    setup.search.params[3] = s.survival;
    setup.search.params[4] = s.mutation;
    setup.search.params[5] = s.crossover;
    setup.search.criterion = s.criterion;
    setup.search.interval = s.years ? *s.years : SearchInterval(o.years);
    setup.search.landing = s.men ? *s.men : prepared.startMen;
    for (const YearResult& row : rows) {
        setup.dataTable.push_back(DataTableLine(row));
        if (model.RaceLoaded)
            setup.mineralTable.push_back(MineralLine(row));
    }
    WriteAtomically(*o.saveCalc, WriteCalcFile(setup));
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
            std::fprintf(out, "%d,%d,%lld,%lld,%d,%d", r.Year, r.PlanetPrc,
                         static_cast<long long>(r.Men), static_cast<long long>(r.Resource), r.Fabr,
                         r.Mine);
            if (minerals)
                std::fprintf(
                    out, ",%d,%d,%d,%lld,%lld,%lld,%lld,%lld,%lld", r.ConPrc[0], r.ConPrc[1],
                    r.ConPrc[2], static_cast<long long>(r.MineralYear[0]),
                    static_cast<long long>(r.MineralYear[1]),
                    static_cast<long long>(r.MineralYear[2]), static_cast<long long>(r.Mineral[0]),
                    static_cast<long long>(r.Mineral[1]), static_cast<long long>(r.Mineral[2]));
            std::fputc('\n', out);
        }
        return;
    }
    std::fprintf(out, "%s\n%s\n", kDataHeader1, kDataHeader2);
    for (const YearResult& r : rows)
        std::fprintf(out, "%s\n", DataTableLine(r).c_str());
    if (!minerals)
        return;
    std::fprintf(out, "\n%s\n%s\n", kMineralHeader1, kMineralHeader2);
    for (const YearResult& r : rows)
        std::fprintf(out, "%s\n", MineralLine(r).c_str());
}

} // namespace quendal::cli
