#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/calc_model.h"
#include "model/calc_setup.h"
#include "model/simulation.h"
#include "optimiser/genetic.h"

namespace quendal {

// Progress bar range of the search tab.
inline constexpr int32_t kProgressMax = 260;

// Most years a trial simulates: a typed interval is not limited by its spin, and pending
// window events are only handled between trials, so a trial must end in a fraction of a
// second.
inline constexpr int32_t kMaxSearchYears = 9999;

// The task of one search, as the search tab holds it.
struct GeneticInputs {
    GeneticParams params;        // П1..П6
    int32_t planetPrc = 100;     // start habitability % (decides the kind of search)
    int32_t years = 15;          // years to simulate
    int32_t startMen = 1000;     // start colonists in hundreds
    int32_t menYearPrc = 15;     // growth rate % a year (of the planet-dynamics tab)
    uint32_t seed = ClockSeed(); // seed of the engine's generator
    Criterion criterion = Criterion::Resources;
    Language language; // of the texts it reports: the times and the templates' lines
};

// A search's inputs from the search tab's fields: `planetPrc` decides the kind of search,
// `growth` is the planet-dynamics tab's; without a seed, the clock's.
GeneticInputs SearchInputsOf(const SearchTab& tab, int32_t planetPrc, int32_t growth,
                             std::optional<uint32_t> seed, Language language);

// Reported after every generation.
struct GeneticProgress {
    int32_t generationsDone = 0;
    int32_t position = 0;    // 0..kProgressMax
    int64_t elapsedMs = 0;   // the time since the start
    int64_t remainingMs = 0; // the extrapolated time still to go
    std::string elapsedText; // FormatDuration of each, in the inputs' language
    std::string remainingText;
};

// Outcome of a search: the figures and templates of the refined best individual (after a
// stop, of the last individual simulated before it).
struct GeneticResults {
    PlanetFigures figures;                    // the GenRes fields
    std::vector<std::string> queueMinusLines; // QueueLineText of each GenQueueMinus item
    std::vector<std::string> queuePlusLines;  // QueueLineText of each GenQueuePlus item
    bool negativePlanet = false;              // searched with TMinSearch
    bool stopped = false;                     // a generation reported a stop
    int32_t generationsDone = 0;
    int64_t evaluations = 0; // candidates scored, refinement included
};

// One search of the search tab, free of the window. Set the callbacks, then call Run; a
// callback (processMessages) may call RequestStop to interrupt it. Run drives a SteppedSearch
// (optimiser/stepped_search.h), which a caller may also drive itself.
//
//     GeneticRun run;
//     run.onProgress = [](const GeneticProgress& p) { ... };
//     GeneticResults r = run.Run(model, inputs);
//
// Run fills model.GeneticState from the model and the inputs and takes the search's inputs
// from it once: the model may change while the search runs (its messages are processed) and
// the change applies to the next search. It evolves the population for params.generations
// generations and refines the best individual. After each evaluation it leaves that
// individual's templates in GenQueueMinus/GenQueuePlus and its figures in the GenRes fields,
// at the end those of the refined best.
//
// With threads above 1 the evaluations of a generation run side by side on oneTBB's workers
// and the results stay those of threads = 1, bit for bit. processMessages is then called on
// the calling thread once for every evaluation that finishes, while the workers go on, and
// after each generation; a stop requested there ends the workers' evaluations at their next
// one. Every callback runs on the thread that called Run.
class GeneticRun {
public:
    std::function<uint32_t()> tickCount;   // milliseconds; a steady clock when empty
    std::function<void()> processMessages; // pending window events; around each evaluation
                                           // and after each generation; may be empty
    std::function<void(const GeneticProgress&)> onProgress; // may be empty
    std::function<void()> onEndStage; // once, when the generations are over and the
                                      // refinement starts; may be empty
    int32_t threads = 1; // evaluations at a time; 1 evaluates one by one on the calling thread

    GeneticResults Run(CalcModel& model, const GeneticInputs& inputs);

    // Asks a running search to stop at its next evaluation (the interrupt click).
    void RequestStop() { GenStopFlag = 1; }
    bool running() const { return running_; }

private:
    std::atomic<uint8_t> GenStopFlag = 0; // read by the workers
    bool running_ = false;
};

// Fills the snapshot fields of model.GeneticState for a search.
void FillSnapshot(CalcModel& model, const GeneticInputs& inputs);

// The planet field of the search tab: "%d (%d,%d,%d)" with PlanetPrc and PlanetEnv, and
// " HW" for a homeworld.
std::string GenPlanetText(const CalcModel& model);

// A duration in milliseconds as the search tab shows it in `language`, rounded to whole
// seconds.
std::string FormatDuration(int64_t milliseconds, Language language);

// "В график": the found templates become the window's templates.
void CopyToTemplates(CalcModel& model);

} // namespace quendal
