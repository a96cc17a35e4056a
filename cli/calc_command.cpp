#include "cli/calc_command.h"

#include <optional>
#include <string>
#include <vector>

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

void AddElements(const std::vector<ElementOption>& elements, const RaceParams& race,
                 LIST_ITEM& target) {
    for (const ElementOption& element : elements) {
        QueueItem item;
        if (MakeQueueElement(race, element.entry, element.count, item))
            target.Append(&item);
    }
}

} // namespace

Prepared LoadRaceAndList(const Options& o, CalcModel& model, PlanetList& list) {
    Prepared prepared;
    prepared.startPrc = LeadingInt(o.startPrc);
    if (o.race) {
        ApplyRace(model, ParseRace(ReadNamedFile(*o.race)).race, prepared.startPrc);
        prepared.growth = model.Race.MaxGrowthYRate;
    }
    if (o.planets)
        list = ParsePlanetList(ReadNamedFile(*o.planets), model.Race);
    return prepared;
}

Prepared ApplyOptions(const Options& o, CalcModel& model) {
    PlanetList list;
    Prepared prepared = LoadRaceAndList(o, model, list);
    if (o.planets) {
        if (*o.pick >= static_cast<int32_t>(list.planets.size()))
            throw FileError("'" + *o.planets + "' has no planet " + std::to_string(*o.pick) +
                            " (it lists " + std::to_string(list.entries.size()) + ")");
        prepared.startMen = ApplyPlanet(model, list.planets[static_cast<size_t>(*o.pick)]);
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
    if (o.env || o.tformLimit || o.fullTForm || o.homeworld || o.concentration || o.minerals ||
        o.factories || o.mines)
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

    // With a race the start-habitability field follows the model.
    if (model.RaceLoaded)
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

void PrintCalculation(const Options& o, CalcModel& model, const Prepared& prepared,
                      std::FILE* out) {
    const StartConditions start = StartOf(o, prepared);

    std::vector<YearResult> rows;
    rows.reserve(static_cast<size_t>(o.years) + 1);
    RunCalculation(model, start, [&rows](const YearResult& row) { rows.push_back(row); });
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
