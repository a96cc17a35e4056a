// The ranking of a planet list, in the page's worker: the core's RankPlanets on one thread, as
// the window's ranking view sets it up, by calculation or by a search for every planet.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <string>
#include <vector>

#include "io/calc_file.h"
#include "io/csv_text.h"
#include "io/planet_list.h"
#include "model/calc_setup.h"
#include "model/output.h"
#include "optimiser/genetic_run.h"
#include "optimiser/planet_rank.h"
#include "web/json_out.h"

namespace quendal::web {

namespace {

using emscripten::val;

// A template as [kind, unit cost, count] per element, for the session's pick.
void WriteItems(JsonOut& out, const std::vector<QueueItem>& items) {
    out.BeginArray();
    for (const QueueItem& item : items)
        out.BeginArray().Int(item.kind).Int(item.unitCost).Int(item.count).EndArray();
    out.EndArray();
}

std::string Refused(const std::string& message) {
    return JsonOut().Begin().Key("error").String(message).End().Text();
}

} // namespace

// `calText`: the page's calculation (its race, planet tab and templates are every planet's
// base); `listBytes`: the planet list; `settings`: years, growth, start habitability, П1..П6,
// criterion, seed. After each planet `progress(done, total, elapsed, remaining)`. Answers the
// table's captions and rows, the companion's CSV and, per row, what a pick takes.
std::string RunRank(const std::string& calText, const std::string& listBytes, const val& values,
                    bool search, val progress) {
    const CalcFileResult read = ParseCalcFile(calText);
    if (read.error)
        return Refused(read.error->Message(true));
    CalcModel base;
    ApplySetup(base, read.setup);
    base.RaceLoaded = read.setup.race.has_value();
    const PlanetList list = ParsePlanetList(listBytes, base.Race);
    if (!base.RaceLoaded || list.entries.empty())
        return Refused("Нет списка планет");
    std::vector<int> v = emscripten::vecFromJSArray<int>(values);
    v.resize(11);
    RankSettings settings;
    settings.years = std::min(v[0], kMaxShownYears);
    settings.growth = v[1];
    settings.startPrc = v[2];
    for (int i = 0; i < 6; ++i)
        settings.params[i] = v[3 + static_cast<size_t>(i)];
    settings.criterion = static_cast<Criterion>(std::clamp(v[9], 0, 5));
    settings.seed = static_cast<uint32_t>(v[10]);

    RankTask task;
    task.entries = list.entries;
    task.search = search;
    task.criterion = settings.criterion;
    task.prepare = [&](int32_t index, CalcModel& model) {
        model = base;
        return SetUpListPlanet(model, list.planets[static_cast<size_t>(index)], settings);
    };
    task.onProgress = [&](const RankProgress& p) {
        progress(p.done, p.total, FormatDuration(p.elapsedMs), FormatDuration(p.remainingMs));
    };
    const std::vector<RankedPlanet> rows = RankPlanets(task);

    std::vector<std::string> header;
    for (const RankColumn& column : RankColumns(search))
        header.push_back(column.csvName);
    std::string csv = CsvRow(header) + "\n";
    JsonOut out;
    out.Begin().Key("columns").Strings(RankColumnCaptions(search));
    out.Key("rows").BeginArray();
    for (const RankedPlanet& row : rows) {
        out.Strings(RankRowFields(row, search, ',', "-"));
        csv += CsvRow(RankRowFields(row, search, ';', "")) + "\n";
    }
    out.EndArray().Key("picks").BeginArray();
    for (const RankedPlanet& row : rows) {
        out.Begin().Key("index").Int(row.index).Key("minus");
        WriteItems(out, row.foundMinus);
        out.Key("plus");
        WriteItems(out, row.foundPlus);
        out.End();
    }
    out.EndArray().Key("searched").Bool(search).Key("csv").String(csv);
    return out.End().Text();
}

EMSCRIPTEN_BINDINGS(quendal_rank) {
    emscripten::function("runRank", &RunRank);
}

} // namespace quendal::web
