// The ranking of a planet list in the page's workers, as the window's ranking view sets it up,
// by calculation or by a search for every planet: the core's RankPlanet for each planet, in
// whichever worker takes it, and OrderRanked of the rows.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "io/calc_file.h"
#include "io/csv_text.h"
#include "io/planet_list.h"
#include "model/calc_setup.h"
#include "model/output.h"
#include "optimiser/controller.h"
#include "optimiser/genetic_run.h"
#include "optimiser/planet_rank.h"
#include "web/json_out.h"
#include "web/page_answers.h"

namespace quendal::web {

namespace {

using emscripten::val;

// A template as [kind, unit cost, count] per element, for the controller's pick.
void WriteItems(JsonOut& out, const std::vector<QueueItem>& items) {
    out.BeginArray();
    for (const QueueItem& item : items)
        out.BeginArray().Int(item.kind).Int(item.unitCost).Int(item.count).EndArray();
    out.EndArray();
}

} // namespace

// A ranking of the page's planet list, spread over the page's workers planet by planet: the
// worker that drives it and each helper hold one of these on the same inputs. `calText`: the
// page's calculation (its race, planet tab and templates are every planet's base);
// `listBytes`: the planet list; `settings`: criterion and seed. The calculation is opened and
// the ranking taken from it by a controller of the job's own, as the window takes its ranking.
class RankJob {
public:
    RankJob(const std::string& calText, const std::string& listBytes, const val& values,
            bool search)
        : search_(search), started_(std::chrono::steady_clock::now()) {
        Controller controller;
        controller.SetLanguage(PageLanguage());
        const OpenedCalc opened = controller.OpenCalc(ParseCalcFile(calText), "", {});
        if (!opened.error.empty()) {
            error_ = opened.error;
            return;
        }
        controller.LoadPlanetList(listBytes, "");
        std::vector<int> v = emscripten::vecFromJSArray<int>(values);
        v.resize(2);
        RankInput input = controller.TakeRankInput(opened.setup.start, opened.setup.search,
                                                   static_cast<uint32_t>(v[1]));
        if (input.planets.empty()) {
            error_ = Tr(PageLanguage(), "Нет списка планет");
            return;
        }
        base_ = std::move(input.base);
        list_ = controller.List();
        settings_ = input.settings;
        settings_.criterion = static_cast<Criterion>(std::clamp(v[0], 0, 5));

        task_.entries = list_.entries;
        task_.search = search;
        task_.criterion = settings_.criterion;
        task_.prepare = [this](int32_t index, CalcModel& model) {
            model = base_;
            return SetUpListPlanet(model, list_.planets[static_cast<size_t>(index)], settings_);
        };
        rows_.resize(list_.entries.size());
        ended_.resize(rows_.size(), 0);
    }

    const std::string& error() const { return error_; }
    int count() const { return static_cast<int>(list_.entries.size()); }

    // Planet `index` ranked here: kept by a driver, sent by a helper (as `take` reads it).
    void rank(int index) {
        const auto at = static_cast<size_t>(index);
        ended_[at] = RankPlanet(task_, index, rows_[at]) ? 1 : 0;
    }
    val row(int index) {
        rank(index);
        return RowNumbers(rows_[static_cast<size_t>(index)]);
    }
    void take(const val& numbers) {
        const std::vector<double> n = emscripten::convertJSArrayToNumberVector<double>(numbers);
        size_t at = 0;
        const auto next = [&] { return at < n.size() ? n[at++] : 0.0; };
        const auto index = static_cast<size_t>(next());
        if (index >= rows_.size())
            return;
        ended_[index] = 1;
        RankedPlanet& r = rows_[index];
        r.index = static_cast<int32_t>(index);
        r.entry = task_.entries[index];
        r.startPrc = static_cast<int32_t>(next());
        PlanetFigures& f = r.figures;
        f.prc = static_cast<int32_t>(next());
        f.men = static_cast<int64_t>(next());
        f.resource = static_cast<int64_t>(next());
        f.fabr = static_cast<int32_t>(next());
        f.mine = static_cast<int32_t>(next());
        for (int32_t& c : f.conPrc)
            c = static_cast<int32_t>(next());
        for (int64_t& m : f.mineral)
            m = static_cast<int64_t>(next());
        for (std::vector<QueueItem>* items : {&r.foundMinus, &r.foundPlus}) {
            items->resize(static_cast<size_t>(next()));
            for (QueueItem& item : *items)
                item = QueueItem{static_cast<int32_t>(next()), static_cast<int32_t>(next()),
                                 static_cast<int32_t>(next()), next()};
        }
    }

    // The progress after `done` planets, as JSON.
    std::string progress(int done) const {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - started_)
                                 .count();
        const RankProgress p = RankProgressOf(done, count(), elapsed);
        JsonOut out;
        out.Begin().Key("done").Int(p.done).Key("total").Int(p.total);
        out.Key("elapsed").String(FormatDuration(p.elapsedMs, PageLanguage()));
        out.Key("remaining").String(FormatDuration(p.remainingMs, PageLanguage()));
        return out.End().Text();
    }

    // The planets ranked (all, or those that ended before an interrupt, as the window keeps
    // them), ordered: the table's captions and rows, the companion's CSV and, per row, what a
    // pick takes.
    std::string finish() {
        std::vector<RankedPlanet> rows;
        for (size_t i = 0; i < rows_.size(); ++i)
            if (ended_[i])
                rows.push_back(std::move(rows_[i]));
        OrderRanked(rows, settings_.criterion);
        std::vector<std::string> header;
        for (const RankColumn& column : RankColumns(search_))
            header.push_back(column.csvName);
        std::string csv = CsvRow(header) + "\n";
        JsonOut out;
        out.Begin().Key("columns").Strings(RankColumnCaptions(search_, PageLanguage()));
        out.Key("rows").BeginArray();
        for (const RankedPlanet& row : rows) {
            out.Strings(RankRowFields(row, search_, ',', "-", PageLanguage()));
            // The companion's CSV: the entries as the list has them.
            csv += CsvRow(RankRowFields(row, search_, ';', "", Language())) + "\n";
        }
        out.EndArray().Key("picks").BeginArray();
        for (const RankedPlanet& row : rows) {
            out.Begin().Key("index").Int(row.index).Key("minus");
            WriteItems(out, row.foundMinus);
            out.Key("plus");
            WriteItems(out, row.foundPlus);
            out.End();
        }
        out.EndArray().Key("searched").Bool(search_).Key("csv").String(csv);
        return out.End().Text();
    }

private:
    // A row as numbers, in the order `take` reads them.
    static val RowNumbers(const RankedPlanet& r) {
        const PlanetFigures& f = r.figures;
        std::vector<double> n = {static_cast<double>(r.index),    static_cast<double>(r.startPrc),
                                 static_cast<double>(f.prc),      static_cast<double>(f.men),
                                 static_cast<double>(f.resource), static_cast<double>(f.fabr),
                                 static_cast<double>(f.mine)};
        for (const int32_t c : f.conPrc)
            n.push_back(c);
        for (const int64_t m : f.mineral)
            n.push_back(static_cast<double>(m));
        for (const std::vector<QueueItem>* items : {&r.foundMinus, &r.foundPlus}) {
            n.push_back(static_cast<double>(items->size()));
            for (const QueueItem& item : *items)
                n.insert(n.end(),
                         {static_cast<double>(item.kind), static_cast<double>(item.unitCost),
                          static_cast<double>(item.count), item.invested});
        }
        return val(emscripten::typed_memory_view(n.size(), n.data())).call<val>("slice");
    }

    std::string error_;
    bool search_;
    std::chrono::steady_clock::time_point started_;
    CalcModel base_;
    PlanetList list_;
    RankSettings settings_;
    RankTask task_;
    std::vector<RankedPlanet> rows_;
    std::vector<char> ended_; // rows_[i] holds planet i's figures
};

EMSCRIPTEN_BINDINGS(quendal_rank) {
    emscripten::class_<RankJob>("RankJob")
        .constructor<std::string, std::string, val, bool>()
        .function("error", &RankJob::error)
        .function("count", &RankJob::count)
        .function("rank", &RankJob::rank)
        .function("row", &RankJob::row)
        .function("take", &RankJob::take)
        .function("progress", &RankJob::progress)
        .function("finish", &RankJob::finish);
}

} // namespace quendal::web
