#include "optimiser/stepped_search.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "model/extended.h"
#include "model/numbers.h"
#include "model/simulation.h"

namespace quendal {

namespace {

uint32_t SteadyTicks() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

std::unique_ptr<QueueSearch> MakeSearchEngine(const CalcModel& model, const GeneticInputs& inputs,
                                              SearchControl control, int32_t populationSize) {
    const s_GeneticState& state = model.GeneticState;
    const bool negative = state.GenPlanetPrc <= 0;
    std::vector<GeneDesc> table = BuildGeneTable(negative, state.GenMaxTFormStep);
    // Taken once: the engine reads no model, so an edit during the search waits for the next.
    const GenSimInputs taken = GenSimInputs::Of(model);
    std::unique_ptr<QueueSearch> engine;
    if (negative)
        engine = std::make_unique<TMinSearch>(taken, std::move(control), populationSize, table,
                                              inputs.seed);
    else
        engine = std::make_unique<TMaxSearch>(taken, std::move(control), populationSize, table,
                                              inputs.seed);
    const GeneticParams& params = inputs.params;
    engine->SetParams(PercentFraction(params.elitePercent), PercentFraction(params.mutationPercent),
                      PercentFraction(params.crossoverPercent),
                      PercentFraction(params.survivalPercent));
    return engine;
}

SteppedSearch::SteppedSearch(CalcModel& model, const GeneticInputs& inputs, SearchControl control,
                             std::function<uint32_t()> tickCount)
    : model_(model), clock_(tickCount ? std::move(tickCount) : SteadyTicks),
      stopFlag_(control.stopFlag), generations_(inputs.params.generations),
      language_(inputs.language) {
    FillSnapshot(model, inputs);
    s_GeneticState& state = model.GeneticState;
    state.searched = false; // until this search has its result
    control.onEvaluated = [&state](const CandidateOutcome& o) { StoreOutcome(o, state); };
    engine_ = MakeSearchEngine(model, inputs, std::move(control), inputs.params.populationSize);
    t0_ = clock_();
}

SteppedSearch::~SteppedSearch() = default;

const std::vector<int32_t>& SteppedSearch::BeginGeneration() {
    engine_->MutationStep();
    engine_->CrossoverStep();
    pending_ = &engine_->BeginSelection();
    return *pending_;
}

std::vector<uint8_t> SteppedSearch::PendingChromosomes(int32_t first, int32_t count) const {
    const auto size = static_cast<size_t>(engine_->chromosomeSize());
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * size);
    for (int32_t k = 0; k < count; ++k) {
        const uint8_t* chromosome =
            engine_->Chromosome((*pending_)[static_cast<size_t>(first + k)]);
        std::copy(chromosome, chromosome + size, bytes.begin() + static_cast<ptrdiff_t>(k * size));
    }
    return bytes;
}

bool SteppedSearch::EvaluatePending(int32_t first, int32_t count) {
    if (first == 0 && static_cast<size_t>(count) == pending_->size())
        return engine_->EvaluatePending(*pending_);
    const auto begin = pending_->begin() + first;
    return engine_->EvaluatePending(std::vector<int32_t>(begin, begin + count));
}

void SteppedSearch::TakeScore(int32_t k, double score) {
    engine_->TakeScore((*pending_)[static_cast<size_t>(k)], score);
}

GeneticProgress SteppedSearch::EndGeneration(bool complete) {
    if (complete)
        engine_->EndSelection();
    const int32_t g = ++generationsDone_;
    // The tick counter wraps; the unsigned difference stays right across the wrap.
    const int64_t elapsed = static_cast<uint32_t>(clock_() - t0_);
    const double done = (Extended(g) / Extended(generations_)).ToDouble();
    const int64_t remaining = TruncToInt64(Extended(elapsed) / Extended(done)) - elapsed;
    GeneticProgress progress;
    progress.generationsDone = g;
    progress.position = static_cast<int32_t>(TruncToInt64(Extended(kProgressMax) * Extended(done)));
    progress.elapsedMs = elapsed;
    progress.remainingMs = remaining;
    progress.elapsedText = FormatDuration(elapsed, language_);
    progress.remainingText = FormatDuration(remaining, language_);
    return progress;
}

GeneticResults SteppedSearch::Finish() {
    s_GeneticState& state = model_.GeneticState;
    RefineBest(*engine_, engine_->Chromosome(0));
    // A stop before the first simulation would leave the figures and templates of whatever
    // ran before, another search's perhaps: the first candidate is shown instead.
    if (engine_->evaluations() == 0)
        engine_->EvaluateAndReport(engine_->Chromosome(0));

    GeneticResults results;
    results.negativePlanet = engine_->negativePlanet();
    results.generationsDone = generationsDone_;
    results.figures = GenResFigures(state);
    results.queueMinusLines = TemplateLines(state.GenQueueMinus, language_);
    results.queuePlusLines = TemplateLines(state.GenQueuePlus, language_);
    // Read after the refinement: a stop it met counts too.
    results.stopped = stopFlag_ && stopFlag_->load(std::memory_order_relaxed) != 0;
    results.evaluations = engine_->evaluations();
    state.searched = true;
    return results;
}

BatchEvaluator::BatchEvaluator(CalcModel& model, const GeneticInputs& inputs) {
    FillSnapshot(model, inputs);
    // One individual: the engine serves for its gene table and its evaluation only.
    engine_ = MakeSearchEngine(model, inputs, SearchControl{}, 1);
}

BatchEvaluator::~BatchEvaluator() = default;

std::vector<double> BatchEvaluator::ScoreBatch(const uint8_t* bytes, size_t size) const {
    const auto width = static_cast<size_t>(engine_->chromosomeSize());
    std::vector<double> scores;
    if (width == 0)
        return scores;
    scores.reserve(size / width);
    CandidateOutcome outcome;
    for (size_t at = 0; at + width <= size; at += width)
        scores.push_back(engine_->Evaluate(bytes + at, outcome));
    return scores;
}

void BatchEvaluator::Show(const uint8_t* chromosome, s_GeneticState& state) const {
    CandidateOutcome outcome;
    engine_->Evaluate(chromosome, outcome);
    StoreOutcome(outcome, state);
}

} // namespace quendal
