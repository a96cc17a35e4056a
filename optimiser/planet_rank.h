#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lists/queue_item.h"
#include "model/calc_model.h"
#include "model/simulation.h"
#include "optimiser/genetic_run.h"

namespace quendal {

// What the ranking calculates for one planet once its caller has set the planet up.
struct PlanetSetup {
    StartConditions start; // the displayed calculation, from these start conditions
    GeneticInputs search;  // the search task, when ranking by search
};

// Sets planet `index` of the list up in `model`, a fresh model of its own. Called once per
// planet, on several threads at once: it may only change `model`.
using PreparePlanet = std::function<PlanetSetup(int32_t index, CalcModel& model)>;

// One row of a ranking: the start habitability and the figures at the last year (of the
// calculation, or of the best individual of the search), with the templates found.
struct RankedPlanet {
    int32_t rank = 0;  // 1 for the best planet
    int32_t index = 0; // entry of the list, from 0
    std::string entry; // the entry text (UTF-8)
    int32_t startPrc = 0;
    PlanetFigures figures;
    std::vector<QueueItem> foundMinus; // search only: the template for a negative planet
    std::vector<QueueItem> foundPlus;  // search only: the template for a habitable planet
};

struct RankProgress {
    int32_t done = 0;
    int32_t total = 0;
    int64_t elapsedMs = 0;
    int64_t remainingMs = 0; // extrapolated from the share done
};

struct RankTask {
    std::vector<std::string> entries; // the entry texts; one planet per entry
    PreparePlanet prepare;
    bool search = false; // search for each planet's templates instead of calculating
    int32_t threads = 1; // planets at a time; 1 ranks them one by one on the calling thread
    Criterion criterion = Criterion::Resources; // the rows are ordered by its figure
    // After each planet, from the thread that finished it; calls never overlap.
    std::function<void(const RankProgress&)> onProgress;
};

// Calculates (or searches) every planet of the list, `threads` planets side by side, and
// orders the rows by the criterion's figure, best first, ties in list order. The rows do not
// depend on the number of threads.
std::vector<RankedPlanet> RankPlanets(const RankTask& task);

} // namespace quendal
