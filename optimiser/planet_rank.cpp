#include "optimiser/planet_rank.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>

#include "io/planet_list.h"
#include "model/field_specs.h"
#include "optimiser/search.h"
#include "optimiser/worker_pool.h"

namespace quendal {

namespace {

// The displayed calculation of one planet: the year-0 habitability and the last year's row.
void Calculate(CalcModel& model, const StartConditions& start, RankedPlanet& row) {
    YearResult first;
    YearResult last;
    RunCalculation(model, start, [&](const YearResult& year) {
        if (year.Year == 0)
            first = year;
        last = year;
    });
    row.startPrc = first.PlanetPrc;
    PlanetFigures& f = row.figures;
    f.prc = last.PlanetPrc;
    f.men = last.Men;
    f.resource = last.Resource;
    f.fabr = last.Fabr;
    f.mine = last.Mine;
    std::copy(std::begin(last.ConPrc), std::end(last.ConPrc), f.conPrc);
    std::copy(std::begin(last.Mineral), std::end(last.Mineral), f.mineral);
}

// The search of one planet: the best individual's figures and templates; false when the
// ranking's stop, which reaches it before every evaluation, cut it short.
bool Search(CalcModel& model, const GeneticInputs& inputs, const std::atomic<bool>* stop,
            RankedPlanet& row) {
    GeneticRun run;
    if (stop)
        run.processMessages = [&run, stop] {
            if (stop->load(std::memory_order_relaxed))
                run.RequestStop();
        };
    const GeneticResults results = run.Run(model, inputs);
    row.figures = results.figures;
    row.startPrc = model.GeneticState.GenPlanetPrc;
    row.foundMinus = ItemsOf(model.GeneticState.GenQueueMinus);
    row.foundPlus = ItemsOf(model.GeneticState.GenQueuePlus);
    return !results.stopped;
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

} // namespace

std::span<const RankColumn> RankColumns(bool search) {
    static constexpr RankColumn kColumns[] = {{TrNoop("Место"), "rank", true},
                                              {TrNoop("№"), "index", true},
                                              {TrNoop("Планета"), "planet", false},
                                              {TrNoop("% нач."), "start_habitability", true},
                                              {TrNoop("% кон."), "habitability", true},
                                              {kCriterionCaptions[1], "colonists", true},
                                              {kChartSeriesCaptions[2], "resources", true},
                                              {kChartSeriesCaptions[3], "factories", true},
                                              {kChartSeriesCaptions[4], "mines", true},
                                              {kMineralShortNames[0], "surface_i", true},
                                              {kMineralShortNames[1], "surface_u", true},
                                              {kMineralShortNames[2], "surface_l", true},
                                              {kFoundTemplateCaptions[0], "minus", false},
                                              {kFoundTemplateCaptions[1], "plus", false}};
    return std::span(kColumns).first(search ? 14 : 12);
}

std::vector<std::string> RankColumnCaptions(bool search, Language language) {
    std::vector<std::string> captions;
    for (const RankColumn& column : RankColumns(search))
        captions.emplace_back(Translate(language, column.caption));
    return captions;
}

std::vector<std::string> RankRowFields(const RankedPlanet& r, bool search, char itemSeparator,
                                       const std::string& noTemplate, Language language) {
    std::vector<std::string> fields = {std::to_string(r.rank), std::to_string(r.index),
                                       ShownEntry(r.entry, language), std::to_string(r.startPrc)};
    for (const int64_t figure : ShownFigures(r.figures))
        fields.push_back(std::to_string(figure));
    if (search) {
        fields.push_back(TemplateText(r.foundMinus, itemSeparator, noTemplate));
        fields.push_back(TemplateText(r.foundPlus, itemSeparator, noTemplate));
    }
    return fields;
}

PlanetSetup SetUpListPlanet(CalcModel& model, const PlanetEntry& entry,
                            const RankSettings& settings,
                            const std::function<void(CalcModel&)>& adjust) {
    const int32_t entryMen = ApplyPlanet(model, entry);
    if (adjust)
        adjust(model);
    PlanetSetup setup;
    StartConditions& start = setup.start;
    start.StartMen = settings.startMen.value_or(entryMen);
    // With a race the start-habitability field follows the planet.
    start.StartPrc = model.RaceLoaded ? model.Planet.PlanetPrc : settings.startPrc;
    start.MenYearPrc = settings.growth;
    start.Years = settings.years;
    // The search tab's task as entering the tab takes it.
    const SearchTab tab{settings.params, settings.criterion,
                        settings.searchYears.value_or(SearchInterval(settings.years)),
                        settings.searchMen.value_or(start.StartMen), std::nullopt};
    // The search's texts (its times and lines) are not shown: the row takes its templates.
    setup.search =
        SearchInputsOf(tab, model.Planet.PlanetPrc, settings.growth, settings.seed, Language());
    return setup;
}

bool RankPlanet(const RankTask& task, int32_t index, RankedPlanet& row) {
    row.index = index;
    row.entry = task.entries[static_cast<size_t>(index)];
    if (task.stop && task.stop->load(std::memory_order_relaxed))
        return false;
    CalcModel model;
    const PlanetSetup setup = task.prepare(index, model);
    if (!task.search)
        Calculate(model, setup.start, row);
    else if (!Search(model, setup.search, task.stop, row))
        return false; // cut short by the stop
    return true;
}

RankProgress RankProgressOf(int32_t done, int32_t total, int64_t elapsedMs) {
    RankProgress progress;
    progress.done = done;
    progress.total = total;
    progress.elapsedMs = elapsedMs;
    progress.remainingMs = done > 0 ? elapsedMs * (total - done) / done : 0;
    return progress;
}

void OrderRanked(std::vector<RankedPlanet>& rows, Criterion criterion) {
    std::stable_sort(rows.begin(), rows.end(), [&](const RankedPlanet& a, const RankedPlanet& b) {
        return CriterionValue(a.figures, criterion) > CriterionValue(b.figures, criterion);
    });
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].rank = static_cast<int32_t>(i + 1);
}

std::vector<RankedPlanet> RankPlanets(const RankTask& task) {
    using Clock = std::chrono::steady_clock;
    const int32_t total = static_cast<int32_t>(task.entries.size());
    std::vector<RankedPlanet> rows(task.entries.size());
    std::vector<char> ended(rows.size(), 0); // the planet's calculation or search ended
    const Clock::time_point start = Clock::now();
    std::mutex progressLock;
    int32_t done = 0; // under progressLock

    WorkerPool pool(task.threads);
    pool.RunHere(total, [&](int32_t, int32_t index) {
        if (!RankPlanet(task, index, rows[static_cast<size_t>(index)]))
            return;
        ended[static_cast<size_t>(index)] = true;
        if (!task.onProgress)
            return;
        const std::lock_guard<std::mutex> lock(progressLock);
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        task.onProgress(RankProgressOf(++done, total, elapsed));
    });

    // A stop leaves out the planets it skipped or cut short: their figures are not results.
    std::erase_if(rows,
                  [&](const RankedPlanet& row) { return !ended[static_cast<size_t>(row.index)]; });
    OrderRanked(rows, task.criterion);
    return rows;
}

BackgroundRank::BackgroundRank(RankTask task) : task_(std::move(task)) {
    task_.stop = &stop_;
    const auto report = std::move(task_.onProgress);
    task_.onProgress = [this, report](const RankProgress& p) {
        {
            const std::lock_guard<std::mutex> lock(lock_);
            progress_ = p;
        }
        if (report)
            report(p);
    };
    progress_.total = static_cast<int32_t>(task_.entries.size());
    thread_ = std::thread([this] {
        try {
            rows_ = RankPlanets(task_);
        } catch (...) {
            failure_ = std::current_exception();
        }
        finished_.store(true, std::memory_order_release);
    });
}

BackgroundRank::~BackgroundRank() {
    Stop();
    if (thread_.joinable())
        thread_.join();
}

RankProgress BackgroundRank::progress() const {
    const std::lock_guard<std::mutex> lock(lock_);
    return progress_;
}

std::vector<RankedPlanet> BackgroundRank::TakeRows() {
    if (thread_.joinable())
        thread_.join();
    if (failure_)
        std::rethrow_exception(failure_);
    return std::move(rows_);
}

} // namespace quendal
