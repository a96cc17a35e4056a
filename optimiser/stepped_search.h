#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/calc_model.h"
#include "optimiser/genetic_run.h"
#include "optimiser/search.h"

namespace quendal {

// The engine of a search on the model's snapshot (FillSnapshot done for these inputs): the
// gene table of the planet kind, the simulation inputs taken from the model once, and the
// percentages of П3..П6.
std::unique_ptr<QueueSearch> MakeSearchEngine(const CalcModel& model, const GeneticInputs& inputs,
                                              SearchControl control, int32_t populationSize);

// One search driven step by step, by GeneticRun::Run or by a caller that scores the
// chromosomes elsewhere (the page's helper workers):
//
//     SteppedSearch search(model, inputs, control, clock);
//     while (search.generationsDone() < search.generations()) {
//         const auto& pending = search.BeginGeneration();  // mutation, crossover
//         ... score pending[k] here (EvaluatePending) or elsewhere (TakeScore) ...
//         GeneticProgress p = search.EndGeneration(true);   // the selection
//     }
//     GeneticResults r = search.Finish();               // refinement, results
//
// The model's snapshot is filled at construction; after each evaluation here it holds that
// individual's templates and figures (control.onEvaluated runs after StoreOutcome). Scores
// taken from outside report nothing, so the snapshot after a generation is what one-by-one
// evaluation leaves only when the last pending position is evaluated here, last.
class SteppedSearch {
public:
    SteppedSearch(CalcModel& model, const GeneticInputs& inputs, SearchControl control,
                  std::function<uint32_t()> tickCount = {});
    ~SteppedSearch();
    SteppedSearch(const SteppedSearch&) = delete;
    SteppedSearch& operator=(const SteppedSearch&) = delete;

    int32_t generations() const { return generations_; }
    int32_t generationsDone() const { return generationsDone_; }
    bool negativePlanet() const { return engine_->negativePlanet(); }
    int32_t chromosomeSize() const { return engine_->chromosomeSize(); }

    // Mutation, crossover and the start of the selection: the positions still unscored.
    const std::vector<int32_t>& BeginGeneration();
    // The bytes of pending[first .. first + count), chromosomeSize() each.
    std::vector<uint8_t> PendingChromosomes(int32_t first, int32_t count) const;
    // Evaluates pending[first .. first + count) here, in position order (oneTBB workers with
    // control.threads above 1). False when the stop flag ended it.
    bool EvaluatePending(int32_t first, int32_t count);
    // A score of pending[k] computed elsewhere (ScoreBatch), counted as an evaluation.
    void TakeScore(int32_t k, double score);
    // Ends the generation: with `complete` (every pending individual scored) the selection
    // sorts and replaces the weak; without, the population stays as it is. Then the progress.
    GeneticProgress EndGeneration(bool complete);

    // The refinement of the best individual and the outcome, stopped when the stop flag is set
    // at the end.
    GeneticResults Finish();

private:
    CalcModel& model_;
    std::unique_ptr<QueueSearch> engine_;
    std::function<uint32_t()> clock_;
    const std::atomic<uint8_t>* stopFlag_; // the run's, or null
    uint32_t t0_ = 0;
    int32_t generations_ = 0;
    int32_t generationsDone_ = 0;
    Language language_; // of the progress's and the results' texts
    const std::vector<int32_t>* pending_ = nullptr;
};

// Scores chromosomes exactly as the engine of a SteppedSearch on the same model and inputs
// does, for a helper that evaluates part of its generations; it reports nothing. Or shows one:
// its templates and figures put into the model's snapshot, as that search's evaluation of it
// left them.
class BatchEvaluator {
public:
    BatchEvaluator(CalcModel& model, const GeneticInputs& inputs);
    ~BatchEvaluator();

    int32_t chromosomeSize() const { return engine_->chromosomeSize(); }
    // `bytes` holds whole chromosomes one after another; a score for each.
    std::vector<double> ScoreBatch(const uint8_t* bytes, size_t size) const;
    void Show(const uint8_t* chromosome, s_GeneticState& state) const;

private:
    std::unique_ptr<QueueSearch> engine_;
};

} // namespace quendal
