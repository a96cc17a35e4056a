#include "cli/rank_command.h"

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/calc_command.h"
#include "cli/search_command.h"
#include "io/csv_text.h"
#include "io/text_codec.h"
#include "optimiser/planet_rank.h"

namespace quendal::cli {

namespace {

// A template element as the --minus and --plus options write it: min, max:N, fab:N, mine:N.
std::string ElementText(const QueueItem& item) {
    const std::string count = std::to_string(item.count);
    switch (item.kind) {
    case MinTerraform:
        return "min";
    case MaxTerraform:
        return "max:" + count;
    case Factories:
        return "fab:" + count;
    case Mines:
        return "mine:" + count;
    default:
        return "?:" + count;
    }
}

// The items joined by the separator; `none` for an empty template.
std::string TemplateText(const std::vector<QueueItem>& items, char separator,
                         const std::string& none) {
    if (items.empty())
        return none;
    std::string text;
    for (const QueueItem& item : items) {
        if (!text.empty())
            text += separator;
        text += ElementText(item);
    }
    return text;
}

// The fields of a row, in the column order of both outputs.
std::vector<std::string> RowFields(const RankedPlanet& r, bool search, char itemSeparator,
                                   const std::string& noTemplate) {
    const PlanetFigures& f = r.figures;
    std::vector<std::string> fields = {
        std::to_string(r.rank),       std::to_string(r.index),      r.entry,
        std::to_string(r.startPrc),   std::to_string(f.prc),        std::to_string(f.men),
        std::to_string(f.resource),   std::to_string(f.fabr),       std::to_string(f.mine),
        std::to_string(f.mineral[0]), std::to_string(f.mineral[1]), std::to_string(f.mineral[2])};
    if (search) {
        fields.push_back(TemplateText(r.foundMinus, itemSeparator, noTemplate));
        fields.push_back(TemplateText(r.foundPlus, itemSeparator, noTemplate));
    }
    return fields;
}

constexpr int kTextColumn = 2; // the entry text; the template columns are text as well

void PrintCsv(const std::vector<RankedPlanet>& rows, bool search, std::FILE* out) {
    std::vector<std::string> header = {
        "rank",      "index",     "planet", "start_habitability", "habitability", "colonists",
        "resources", "factories", "mines",  "surface_i",          "surface_u",    "surface_l"};
    if (search) {
        header.push_back("minus");
        header.push_back("plus");
    }
    std::fprintf(out, "%s\n", CsvRow(header).c_str());
    for (const RankedPlanet& r : rows)
        std::fprintf(out, "%s\n", CsvRow(RowFields(r, search, ';', "")).c_str());
}

// A table in columns: numbers to the right, texts to the left, widths in characters.
void PrintTable(const std::vector<RankedPlanet>& rows, bool search, std::FILE* out) {
    std::vector<std::vector<std::string>> lines = {{"Место", "№", "Планета", "% нач.", "% кон.",
                                                    "Население", "Ресурсы", "Фабрики", "Шахты",
                                                    "Ир.", "Ур.", "Либ."}};
    if (search) {
        lines[0].push_back("ОП для негативной планеты");
        lines[0].push_back("ОП для пригодной планеты");
    }
    for (const RankedPlanet& r : rows)
        lines.push_back(RowFields(r, search, ',', "-"));
    std::vector<size_t> widths(lines[0].size(), 0);
    for (const auto& line : lines)
        for (size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], Utf8Length(line[c]));

    const auto isText = [&](size_t c) {
        return c == kTextColumn || (search && c + 2 >= widths.size());
    };
    for (const auto& line : lines) {
        std::string text;
        for (size_t c = 0; c < line.size(); ++c) {
            const std::string pad(widths[c] - Utf8Length(line[c]), ' ');
            if (c > 0)
                text += "  ";
            if (isText(c))
                text += line[c] + (c + 1 < line.size() ? pad : "");
            else
                text += pad + line[c];
        }
        std::fprintf(out, "%s\n", text.c_str());
    }
}

void ShowProgress(const RankProgress& p) {
    std::fprintf(stderr, "\rplanet %d of %d, elapsed %s, remaining %s\033[K", p.done, p.total,
                 FormatDuration(p.elapsedMs).c_str(), FormatDuration(p.remainingMs).c_str());
    std::fflush(stderr);
}

} // namespace

void RunRankCommand(const Options& o, std::FILE* out) {
    CalcModel base;
    PlanetList list;
    const Prepared loaded = LoadRaceAndList(o, base, list);
    if (list.entries.empty())
        throw FileError("'" + *o.planets + "' lists no planets");
    // One seed for every planet, so that a row replays with --pick K --search --seed S.
    const uint32_t seed = o.searchOptions.seed ? *o.searchOptions.seed : ClockSeed();

    RankTask task;
    task.entries = list.entries;
    task.search = o.search;
    task.criterion = static_cast<Criterion>(o.searchOptions.criterion); // range-checked
    task.threads = o.threads.value_or(1);
    task.prepare = [&](int32_t index, CalcModel& model) {
        // The model as the race and the list left it, then the planet as --pick sets it.
        model = base;
        Prepared prepared = loaded;
        prepared.startMen = ApplyPlanet(model, list.planets[static_cast<size_t>(index)]);
        ApplyPlanetOptions(o, model, prepared);
        PlanetSetup setup;
        setup.start = StartOf(o, prepared);
        if (o.search) {
            setup.search = SearchInputs(o, model, prepared);
            setup.search.seed = seed;
        }
        return setup;
    };
    const bool progress = isatty(fileno(stderr)) != 0;
    if (progress)
        task.onProgress = ShowProgress;
    const std::vector<RankedPlanet> rows = RankPlanets(task);
    if (progress)
        std::fputs("\r\033[K", stderr);

    if (o.csv)
        PrintCsv(rows, o.search, out);
    else
        PrintTable(rows, o.search, out);
}

} // namespace quendal::cli
