#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "lists/queue_item.h"
#include "model/shared_runs.h"
#include "model/simulation.h"
#include "optimiser/genetic.h"
#include "optimiser/outcome_memory.h"

namespace quendal {

// Candidate elements of one template; element e has the kind kinds[e % 3].
inline constexpr int32_t kCandidateElements = 9;
inline constexpr int32_t kMinusKinds[3] = {MinTerraform, MaxTerraform, Factories};
inline constexpr int32_t kPlusKinds[3] = {MaxTerraform, Factories, Mines};

// Gene numbers of the templates: order genes first, then the amount genes (first + e).
inline constexpr int32_t kOrderGenes = 0;
inline constexpr int32_t kAmountGenes = 9;
inline constexpr int32_t kSecondOrderGenes = 18; // the habitable template of TMinSearch
inline constexpr int32_t kSecondAmountGenes = 27;

// Widest count of an amount gene for the factory and mine kinds.
inline constexpr int32_t kMaxBuildCount = 300;

// A decoded template: at most the nine candidate elements, in template order.
struct DecodedTemplate {
    QueueItem items[kCandidateElements];
    int32_t count = 0;
};

// What one evaluation decoded and simulated.
struct CandidateOutcome {
    DecodedTemplate minus, plus;
    GenSimResults results;
};

// What a search needs from its surroundings besides its inputs.
struct SearchControl {
    const std::atomic<uint8_t>* stopFlag = nullptr; // GenStopFlag of the run; nonzero: stop
    std::function<void()> processMessages;          // handles pending window events; may be empty
    int32_t threads = 1; // evaluations at a time; 1 evaluates one by one on the calling thread
    // On the calling thread after each evaluation (after each batch of them: with the last in
    // position order, as one-by-one evaluation would leave it); may be empty.
    std::function<void(const CandidateOutcome&)> onEvaluated;
};

class CandidateWorkers;

// Gene table of a search: for a negative planet (TMinSearch, 36 genes) the negative and the
// habitable template, otherwise (TMaxSearch, 18 genes) the habitable one. Offsets are left 0
// for the engine to fill in. A MaxTerraform count ranges 1..maxTFormStep, kept within its one
// byte (at most 255) and fixed at 1 when maxTFormStep is 1 or less.
std::vector<GeneDesc> BuildGeneTable(bool negativePlanet, int32_t maxTFormStep);

// Decodes nine candidate elements into `target`. Order gene firstOrderGene + e puts element
// e into the v-th still-empty slot (0 leaves it out); amount gene firstAmountGene + e is its
// count. With stopAfterMinTerraform nothing after the first MinTerraform item is appended.
void DecodeTemplate(const Genetic& engine, const uint8_t* chromosome, int32_t firstOrderGene,
                    int32_t firstAmountGene, const int32_t kinds[3], const RaceParams& race,
                    DecodedTemplate& target, bool stopAfterMinTerraform);

// The criterion's figure: the figure itself, or for minerals the sum of the three. A value
// outside the enumeration counts as resources, the default item.
int64_t CriterionValue(const PlanetFigures& figures, Criterion criterion);

// Score of the figures of a headless simulation: the criterion weighted by 1000, the other
// figures as tie-breakers. Formed in double, term by term.
double SearchScore(const PlanetFigures& figures, Criterion criterion);

// Puts an evaluation's templates and figures into the snapshot, for display and "В график".
void StoreOutcome(const CandidateOutcome& outcome, s_GeneticState& state);

// A search over production-queue templates on inputs taken once, when the search starts:
// decodes a chromosome into the candidate templates, runs the headless simulation and scores
// it. It reads no model; what it evaluated reaches its caller through onEvaluated.
class QueueSearch : public Genetic {
public:
    // `table` must come from BuildGeneTable for the same planet kind; the engine writes the
    // offsets into it.
    QueueSearch(const GenSimInputs& inputs, SearchControl control, bool negativePlanet,
                int32_t populationSize, std::vector<GeneDesc>& table, uint32_t seed);
    ~QueueSearch() override;

    // Lets pending messages run, then NotEvaluated while the stop flag is set; otherwise
    // evaluates.
    double Fitness(const uint8_t* chromosome) override;
    // Simulates a candidate and reports its outcome whatever the stop flag says.
    double EvaluateAndReport(const uint8_t* chromosome);

    // The one evaluation of both paths: the candidate templates of a chromosome (the negative
    // one stays empty for TMaxSearch) and their simulation; returns the score. Touches nothing
    // but `out`, so workers may call it side by side.
    double Evaluate(const uint8_t* chromosome, CandidateOutcome& out) const;

    // With more than one thread: evaluates side by side on worker threads, each with its own
    // outcome, and reports the last of them in position order.
    bool EvaluatePending(const std::vector<int32_t>& positions) override;
    // The score of individual `i` evaluated elsewhere, by the same rules: counted, not reported.
    void TakeScore(int32_t i, double score) {
        SetScore(i, score);
        ++evaluations_;
    }

    bool negativePlanet() const { return negativePlanet_; }
    // Evaluations so far; a candidate whose templates were simulated before in this search is
    // counted without being simulated again.
    int64_t evaluations() const { return evaluations_; }
    // Sub-steps its runs simulated, the others being taken up from earlier runs (SharedRuns).
    int64_t simulatedSubSteps() const { return runs_.simulatedSubSteps(); }

private:
    const GenSimInputs inputs_;
    SearchControl control_;
    bool negativePlanet_;
    int64_t evaluations_ = 0;
    CandidateOutcome outcome_;                  // of the last one-by-one evaluation
    std::unique_ptr<CandidateWorkers> workers_; // only with more than one thread
    mutable OutcomeMemory memory_;              // what this search has simulated
    mutable SharedRuns runs_;                   // where its runs stood, to take up from
};

// Search for a planet of habitability 0 or below: a negative and a habitable template.
class TMinSearch final : public QueueSearch {
public:
    TMinSearch(const GenSimInputs& inputs, SearchControl control, int32_t populationSize,
               std::vector<GeneDesc>& table, uint32_t seed = ClockSeed())
        : QueueSearch(inputs, std::move(control), true, populationSize, table, seed) {}
};

// Search for a habitable planet: the habitable template only.
class TMaxSearch final : public QueueSearch {
public:
    TMaxSearch(const GenSimInputs& inputs, SearchControl control, int32_t populationSize,
               std::vector<GeneDesc>& table, uint32_t seed = ClockSeed())
        : QueueSearch(inputs, std::move(control), false, populationSize, table, seed) {}
};

// Local improvement of the best individual after the last generation: tries to drop each
// element and otherwise tunes its count; ends by evaluating `best` once more, so that its
// templates and figures are the last evaluated.
void RefineBest(QueueSearch& engine, uint8_t* best);

// Tunes one amount gene: halves toward the minimum while the score does not fall, then
// single steps down (equal scores accepted) and up (strict gains only). Returns the new best.
double TuneAmountGene(Genetic& engine, uint8_t* chromosome, int32_t gene, double bestScore);

} // namespace quendal
