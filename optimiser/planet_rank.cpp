#include "optimiser/planet_rank.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "optimiser/search.h"
#include "optimiser/worker_pool.h"

namespace quendal {

namespace {

std::vector<QueueItem> Items(const LIST_ITEM& list) {
    std::vector<QueueItem> items;
    for (const QueueItem& item : list)
        items.push_back(item);
    return items;
}

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

// The search of one planet: the best individual's figures and templates.
void Search(CalcModel& model, const GeneticInputs& inputs, RankedPlanet& row) {
    GeneticRun run;
    row.figures = run.Run(model, inputs).figures;
    row.startPrc = model.GeneticState.GenPlanetPrc;
    row.foundMinus = Items(model.GeneticState.GenQueueMinus);
    row.foundPlus = Items(model.GeneticState.GenQueuePlus);
}

} // namespace

std::vector<RankedPlanet> RankPlanets(const RankTask& task) {
    using Clock = std::chrono::steady_clock;
    const int32_t total = static_cast<int32_t>(task.entries.size());
    std::vector<RankedPlanet> rows(task.entries.size());
    const Clock::time_point start = Clock::now();
    std::mutex progressLock;
    int32_t done = 0; // under progressLock

    WorkerPool pool(task.threads);
    pool.RunHere(total, [&](int32_t, int32_t index) {
        RankedPlanet& row = rows[static_cast<size_t>(index)];
        row.index = index;
        row.entry = task.entries[static_cast<size_t>(index)];
        {
            CalcModel model;
            const PlanetSetup setup = task.prepare(index, model);
            if (task.search)
                Search(model, setup.search, row);
            else
                Calculate(model, setup.start, row);
        }
        if (!task.onProgress)
            return;
        const std::lock_guard<std::mutex> lock(progressLock);
        RankProgress progress;
        progress.done = ++done;
        progress.total = total;
        progress.elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        progress.remainingMs = progress.elapsedMs * (total - progress.done) / progress.done;
        task.onProgress(progress);
    });

    std::stable_sort(rows.begin(), rows.end(), [&](const RankedPlanet& a, const RankedPlanet& b) {
        return CriterionValue(a.figures, task.criterion) >
               CriterionValue(b.figures, task.criterion);
    });
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].rank = static_cast<int32_t>(i + 1);
    return rows;
}

} // namespace quendal
