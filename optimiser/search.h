#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "lists/queue_item.h"
#include "model/calc_model.h"
#include "model/simulation.h"
#include "optimiser/genetic.h"

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

// What a search needs from its surroundings besides the model.
struct SearchControl {
    const std::atomic<uint8_t>* stopFlag = nullptr; // GenStopFlag of the run; nonzero: stop
    std::function<void()> processMessages;          // handles pending window events; may be empty
    int32_t threads = 1; // evaluations at a time; 1 evaluates one by one on the calling thread
};

// A decoded template: at most the nine candidate elements, in template order.
struct DecodedTemplate {
    QueueItem items[kCandidateElements];
    int32_t count = 0;
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
void DecodeTemplate(const Genetic& engine, const uint8_t* chromosome, int32_t firstOrderGene,
                    int32_t firstAmountGene, const int32_t kinds[3], const RaceParams& race,
                    LIST_ITEM& target, bool stopAfterMinTerraform);

// Replaces the items of a list by those of a decoded template.
void FillList(const DecodedTemplate& decoded, LIST_ITEM& target);

// Primary value of the criterion (0 terraforming, 1 population, 2 resources, 3 factories,
// 4 mines, 5 minerals); 0 for any other index.
int64_t PrimaryValue(const GenSimResults& results, int32_t maxFactor);

// Score of the results of a headless simulation: the criterion weighted by 1000, the other
// results as tie-breakers. Formed in double, term by term.
double SearchScore(const GenSimResults& results, int32_t maxFactor);
double SearchScore(const s_GeneticState& state); // of the GenRes fields and GenMaxFactor

// A search over production-queue templates: decodes a chromosome into the candidate
// templates of model.GeneticState, runs the headless simulation and scores it.
class QueueSearch : public Genetic {
public:
    // `table` must come from BuildGeneTable for the same planet kind; the engine writes the
    // offsets into it.
    QueueSearch(CalcModel& model, SearchControl control, bool negativePlanet,
                int32_t populationSize, std::vector<GeneDesc>& table, uint32_t seed);
    ~QueueSearch() override;

    // Lets pending messages run, then NotEvaluated while the stop flag is set; otherwise
    // decodes, simulates and scores.
    double Fitness(const uint8_t* chromosome) override;

    // The candidate templates of a chromosome; the negative one stays empty for TMaxSearch.
    void Decode(const uint8_t* chromosome, const RaceParams& race, DecodedTemplate& minus,
                DecodedTemplate& plus) const;

    bool negativePlanet() const { return negativePlanet_; }
    int64_t evaluations() const { return evaluations_; } // headless simulations run so far

protected:
    // With more than one thread: evaluates side by side on worker threads, each with its own
    // templates and simulation, and leaves in the snapshot the templates and figures of the
    // last of them in position order, as one-by-one evaluation would.
    bool EvaluatePending(const std::vector<int32_t>& positions) override;

private:
    void Decode(const uint8_t* chromosome);

    CalcModel& model_;
    SearchControl control_;
    bool negativePlanet_;
    int64_t evaluations_ = 0;
    std::unique_ptr<CandidateWorkers> workers_; // only with more than one thread
};

// Search for a planet of habitability 0 or below: a negative and a habitable template.
class TMinSearch final : public QueueSearch {
public:
    TMinSearch(CalcModel& model, SearchControl control, int32_t populationSize,
               std::vector<GeneDesc>& table, uint32_t seed = ClockSeed())
        : QueueSearch(model, std::move(control), true, populationSize, table, seed) {}
};

// Search for a habitable planet: the habitable template only.
class TMaxSearch final : public QueueSearch {
public:
    TMaxSearch(CalcModel& model, SearchControl control, int32_t populationSize,
               std::vector<GeneDesc>& table, uint32_t seed = ClockSeed())
        : QueueSearch(model, std::move(control), false, populationSize, table, seed) {}
};

// Local improvement of the best individual after the last generation: tries to drop each
// element and otherwise tunes its count; ends by evaluating `best` once more so that the
// snapshot holds its templates and results.
void RefineBest(QueueSearch& engine, uint8_t* best);

// Tunes one amount gene: halves toward the minimum while the score does not fall, then
// single steps down (equal scores accepted) and up (strict gains only). Returns the new best.
double TuneAmountGene(Genetic& engine, uint8_t* chromosome, int32_t gene, double bestScore);

} // namespace quendal
