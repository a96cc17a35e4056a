#include "cli/rank_command.h"

#include <algorithm>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/calc_command.h"
#include "io/csv_text.h"
#include "io/text_codec.h"
#include "optimiser/planet_rank.h"

namespace quendal::cli {

namespace {

void PrintCsv(const std::vector<RankedPlanet>& rows, bool search, std::FILE* out) {
    std::vector<std::string> header;
    for (const RankColumn& column : RankColumns(search))
        header.push_back(column.csvName);
    std::fprintf(out, "%s\n", CsvRow(header).c_str());
    for (const RankedPlanet& r : rows)
        std::fprintf(out, "%s\n", CsvRow(RankRowFields(r, search, ';', "", Language())).c_str());
}

// A table in columns: numbers to the right, texts to the left, widths in characters.
void PrintTable(const std::vector<RankedPlanet>& rows, bool search, Language language,
                std::FILE* out) {
    std::vector<std::vector<std::string>> lines = {RankColumnCaptions(search, language)};
    for (const RankedPlanet& r : rows)
        lines.push_back(RankRowFields(r, search, ',', "-", language));
    std::vector<size_t> widths(lines[0].size(), 0);
    for (const auto& line : lines)
        for (size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], Utf8Length(line[c]));

    const std::span<const RankColumn> columns = RankColumns(search);
    for (const auto& line : lines) {
        std::string text;
        for (size_t c = 0; c < line.size(); ++c) {
            const std::string pad(widths[c] - Utf8Length(line[c]), ' ');
            if (c > 0)
                text += "  ";
            text += columns[c].number ? pad + line[c] : line[c] + (c + 1 < line.size() ? pad : "");
        }
        std::fprintf(out, "%s\n", text.c_str());
    }
}

void ShowProgress(const RankProgress& p) {
    const Language english = Language::English();
    std::fprintf(stderr, "\rplanet %d of %d, elapsed %s, remaining %s\033[K", p.done, p.total,
                 FormatDuration(p.elapsedMs, english).c_str(),
                 FormatDuration(p.remainingMs, english).c_str());
    std::fflush(stderr);
}

} // namespace

void RunRankCommand(const Options& o, std::FILE* out) {
    Controller loader;
    const Prepared loaded = LoadRaceAndList(o, loader);
    const CalcModel& base = loader.Model();
    const PlanetList& list = loader.List();
    if (list.entries.empty())
        throw FileError("'" + *o.planets + "' lists no planets");
    RankSettings settings;
    settings.years = o.years;
    settings.growth = o.growth.value_or(loaded.growth);
    settings.startPrc = loaded.startPrc;
    settings.startMen = o.startMen;
    const SearchOptions& s = o.searchOptions;
    settings.params = s.params;
    settings.searchYears = s.years;
    settings.searchMen = s.men;
    // One seed for every planet, so that a row replays with --pick K --search --seed S.
    settings.seed = s.seed.value_or(ClockSeed());
    settings.criterion = s.criterion;

    RankTask task;
    task.entries = list.entries;
    task.search = o.search;
    task.criterion = settings.criterion;
    task.threads = o.threads.value_or(1);
    task.prepare = [&](int32_t index, CalcModel& model) {
        // The model as the race and the list left it, the planet as --pick sets it, then the
        // planet options and the templates.
        model = base;
        return SetUpListPlanet(model, list.planets[static_cast<size_t>(index)], settings,
                               [&](CalcModel& planet) {
                                   Prepared prepared = loaded;
                                   ApplyPlanetOptions(o, planet, prepared);
                               });
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
        PrintTable(rows, o.search, o.language, out);
}

} // namespace quendal::cli
