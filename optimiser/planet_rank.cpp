#include "optimiser/planet_rank.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "optimiser/worker_pool.h"

namespace quendal {

namespace {

std::vector<QueueItem> Items(LIST_ITEM& list) {
    std::vector<QueueItem> items;
    for (const QueueItem* item = list.First(); item != nullptr; item = list.Next())
        items.push_back(*item);
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
    row.planetPrc = last.PlanetPrc;
    row.men = last.Men;
    row.resource = last.Resource;
    row.fabr = last.Fabr;
    row.mine = last.Mine;
    std::copy(std::begin(last.Mineral), std::end(last.Mineral), row.mineral);
}

// The search of one planet: the best individual's figures and templates.
void Search(CalcModel& model, const GeneticInputs& inputs, RankedPlanet& row) {
    GeneticRun run;
    const GeneticResults r = run.Run(model, inputs);
    row.startPrc = model.GeneticState.GenPlanetPrc;
    row.planetPrc = r.planetPrc;
    row.men = r.men;
    row.resource = r.resource;
    row.fabr = r.fabr;
    row.mine = r.mine;
    std::copy(std::begin(r.mineral), std::end(r.mineral), row.mineral);
    row.foundMinus = Items(model.GeneticState.GenQueueMinus);
    row.foundPlus = Items(model.GeneticState.GenQueuePlus);
}

} // namespace

int64_t CriterionFigure(const RankedPlanet& row, int32_t criterion) {
    switch (criterion) {
    case 0:
        return row.planetPrc;
    case 1:
        return row.men;
    case 3:
        return row.fabr;
    case 4:
        return row.mine;
    case 5:
        return row.mineral[0] + row.mineral[1] + row.mineral[2];
    default:
        return row.resource;
    }
}

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
        return CriterionFigure(a, task.criterion) > CriterionFigure(b, task.criterion);
    });
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].rank = static_cast<int32_t>(i + 1);
    return rows;
}

} // namespace quendal
