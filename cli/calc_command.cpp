#include "cli/calc_command.h"

#include <fstream>
#include <string>
#include <vector>

#include "io/planet_list.h"
#include "io/race_file.h"
#include "model/habitability.h"
#include "model/output.h"
#include "model/queue_edit.h"
#include "model/simulation.h"

namespace quendal::cli {

namespace {

void RequireReadable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw FileError("cannot read '" + path + "'");
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

Prepared LoadRaceAndList(const Options& o, CalcModel& model, LoadedList& list) {
    Prepared prepared;
    prepared.startPrc = std::stoi(o.startPrc);
    if (o.race) {
        RequireReadable(*o.race);
        LoadRace(model, *o.race, o.startPrc);
        prepared.growth = model.Race.MaxGrowthYRate;
    }
    if (o.planets) {
        RequireReadable(*o.planets);
        LIST_PLANET planets;
        if (!ReadPlanetList(*o.planets, model, planets, list.entries))
            throw FileError("cannot read '" + *o.planets + "'");
        for (const PlanetEntry* planet = planets.First(); planet; planet = planets.Next())
            list.planets.push_back(*planet);
    }
    return prepared;
}

Prepared ApplyOptions(const Options& o, CalcModel& model) {
    LoadedList list;
    Prepared prepared = LoadRaceAndList(o, model, list);
    if (o.planets) {
        if (*o.pick >= static_cast<int32_t>(list.planets.size()))
            throw FileError("'" + *o.planets + "' has no planet " + std::to_string(*o.pick) +
                            " (it lists " + std::to_string(list.entries.size()) + ")");
        ApplyPlanet(model, list.planets[static_cast<size_t>(*o.pick)], prepared.startMen);
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
            if (planet.PlanetEnv[i] != 102)
                planet.PlanetEnv[i] = (*o.env)[i];
        planet.PlanetPrc = CalcPlanetPrc(model.Race, planet.PlanetEnv);
    }
    if (o.tformLimit)
        for (int i = 0; i < 3; ++i)
            planet.MaxTFormPrc[i] = (*o.tformLimit)[i];
    if (o.env || o.tformLimit || o.fullTForm || o.homeworld || o.concentration || o.minerals ||
        o.factories || o.mines)
        for (int i = 0; i < 3; ++i)
            if (planet.PlanetEnv[i] == 102)
                planet.MaxTFormPrc[i] = 0;
    if (o.fullTForm)
        model.Race.FullTForm = true;
    if (o.homeworld) {
        planet.PlanetHW = true;
        for (int32_t& concentration : planet.PlanetConPrc)
            if (concentration < 15)
                concentration = 15;
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
