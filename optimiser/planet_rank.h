#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "lists/queue_item.h"
#include "model/calc_model.h"
#include "model/planet_rules.h"
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

// What every planet of a ranking shares besides the model it starts from.
struct RankSettings {
    int32_t years = 15;                 // of the displayed calculation
    int32_t growth = 15;                // colonist growth % a year
    int32_t startPrc = 100;             // start habitability without a race; with one, the planet's
    std::optional<int32_t> startMen;    // colonists in hundreds; the entry's when unset
    GeneticParams params;               // the search's П1..П6
    std::optional<int32_t> searchYears; // SearchInterval(years) when unset
    std::optional<int32_t> searchMen;   // the start colonists when unset
    uint32_t seed = 0;                  // one for every planet: a row replays with that seed
    Criterion criterion = Criterion::Resources;
};

// Sets planet `entry` up in `model`, which holds the ranking's base (the race, the templates
// and the values no entry sets), as choosing the entry in the planet list does; `adjust` then
// changes the model as the companion's planet options do (may be empty). The start conditions
// and the search task are those a calculation or search of that planet alone would take.
PlanetSetup SetUpListPlanet(CalcModel& model, const PlanetEntry& entry,
                            const RankSettings& settings,
                            const std::function<void(CalcModel&)>& adjust = {});

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
    // After each planet that ends, from the thread that finished it; calls never overlap.
    std::function<void(const RankProgress&)> onProgress;
    // Set from any thread: the planets not yet started are skipped and a running search ends
    // at its next evaluation; the rows then hold only the planets that ended. May be null.
    const std::atomic<bool>* stop = nullptr;
};

// Calculates (or searches) every planet of the list, `threads` planets side by side, and
// orders the rows by the criterion's figure, best first, ties in list order. The rows do not
// depend on the number of threads. After a stop only the planets that ended are ranked.
std::vector<RankedPlanet> RankPlanets(const RankTask& task);

// The steps of RankPlanets, for a caller that spreads the planets itself: planet `index`
// calculated (or searched) into `row`, false when the stop skipped it or cut it short; the
// progress after `done` of `total` planets; and the rows of the planets that ended, in list
// order, ordered and numbered.
bool RankPlanet(const RankTask& task, int32_t index, RankedPlanet& row);
RankProgress RankProgressOf(int32_t done, int32_t total, int64_t elapsedMs);
void OrderRanked(std::vector<RankedPlanet>& rows, Criterion criterion);

// A column of a ranking table.
struct RankColumn {
    const char* caption; // in the window's and the companion's tables (the Russian source)
    const char* csvName; // in the companion's CSV header
    bool number;         // aligned right and sorted by value; else a text
};

// The columns of a ranking table: rank, entry index, entry, start habitability, then at the
// last year habitability, colonists, resources, factories, mines and the three surface
// minerals; with search the two templates found.
std::span<const RankColumn> RankColumns(bool search);
std::vector<std::string> RankColumnCaptions(bool search, Language language);

// A row's texts in those columns, the entry as shown in `language` (ShownEntry; in Russian as
// the list has it). A template is its items as the companion's --minus and --plus write them
// (min, max:N, fab:N, mine:N) joined by `itemSeparator`; `noTemplate` when it is empty.
std::vector<std::string> RankRowFields(const RankedPlanet& row, bool search, char itemSeparator,
                                       const std::string& noTemplate, Language language);

// A ranking on a thread of its own, for a caller that goes on meanwhile (the window): it starts
// at construction; the caller polls progress() and finished(), and takes the rows once finished.
// Stop() asks it to end early; the destructor stops it and waits for it.
class BackgroundRank {
public:
    explicit BackgroundRank(RankTask task);
    ~BackgroundRank();
    BackgroundRank(const BackgroundRank&) = delete;
    BackgroundRank& operator=(const BackgroundRank&) = delete;

    RankProgress progress() const;
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    void Stop() { stop_.store(true); }
    bool stopped() const { return stop_.load(); }
    // Waits for the end, then gives the rows (after a stop, of the planets that ended) or
    // throws what the ranking threw. Once only.
    std::vector<RankedPlanet> TakeRows();

private:
    RankTask task_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    mutable std::mutex lock_;
    RankProgress progress_;          // under lock_
    std::vector<RankedPlanet> rows_; // written before finished_ is set
    std::exception_ptr failure_;     // likewise
    std::thread thread_;
};

} // namespace quendal
