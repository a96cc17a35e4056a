#include "optimiser/search.h"

#include <algorithm>
#include <span>
#include <utility>

#include "model/simulation.h"
#include "optimiser/candidate_workers.h"
#include "optimiser/outcome_memory.h"

namespace quendal {

namespace {

// An amount gene holds one count of its element's kind.
GeneDesc AmountGene(int32_t kind, int32_t maxTFormStep) {
    switch (kind) {
    case MinTerraform:
        return {0, 1, 1, 1};
    case MaxTerraform:
        // One byte: a larger limit would wrap on writing, so the range stops at 255.
        return {0, 1, 1, std::clamp(maxTFormStep, 1, 255)};
    default:
        return {0, 2, 1, kMaxBuildCount};
    }
}

void AppendTemplateGenes(std::vector<GeneDesc>& table, const int32_t kinds[3],
                         int32_t maxTFormStep) {
    for (int32_t e = 0; e < kCandidateElements; ++e)
        table.push_back({0, 1, 0, kCandidateElements - e});
    for (int32_t e = 0; e < kCandidateElements; ++e)
        table.push_back(AmountGene(kinds[e % 3], maxTFormStep));
}

int32_t UnitCost(int32_t kind, const RaceParams& race) {
    switch (kind) {
    case Factories:
        return race.NResourceBuildFactory;
    case Mines:
        return race.NResourceBuildMine;
    default:
        return kTerraformUnitCost;
    }
}

// Drops (or, failing that, tunes) each element of one template in turn.
void RefineTemplate(QueueSearch& engine, uint8_t* best, int32_t firstOrderGene,
                    int32_t firstAmountGene, double& bestScore) {
    for (int32_t e = 0; e < kCandidateElements; ++e) {
        const int32_t orderGene = firstOrderGene + e;
        const int32_t order = engine.GetGene(best, orderGene);
        if (order == 0)
            continue;
        engine.SetGene(best, orderGene, 0);
        const double score = engine.Fitness(best);
        if (score >= bestScore) {
            bestScore = score;
            continue;
        }
        engine.SetGene(best, orderGene, order);
        bestScore = TuneAmountGene(engine, best, firstAmountGene + e, bestScore);
    }
}

} // namespace

std::vector<GeneDesc> BuildGeneTable(bool negativePlanet, int32_t maxTFormStep) {
    std::vector<GeneDesc> table;
    if (negativePlanet)
        AppendTemplateGenes(table, kMinusKinds, maxTFormStep);
    AppendTemplateGenes(table, kPlusKinds, maxTFormStep);
    return table;
}

void DecodeTemplate(const Genetic& engine, const uint8_t* chromosome, int32_t firstOrderGene,
                    int32_t firstAmountGene, const int32_t kinds[3], const RaceParams& race,
                    DecodedTemplate& target, bool stopAfterMinTerraform) {
    int32_t slots[kCandidateElements];
    std::fill(std::begin(slots), std::end(slots), -1);
    for (int32_t e = 0; e < kCandidateElements; ++e) {
        const int32_t v = static_cast<int8_t>(engine.GetGene(chromosome, firstOrderGene + e));
        // Engine-made genes never exceed the empty slots; a value changed from outside that
        // is negative or too large finds no slot and leaves the element out.
        int32_t empty = 0;
        for (int32_t s = 0; v > 0 && s < kCandidateElements; ++s)
            if (slots[s] < 0 && ++empty == v) {
                slots[s] = e;
                break;
            }
    }

    target.count = 0;
    for (const int32_t e : slots) {
        if (e < 0)
            continue;
        QueueItem& item = target.items[target.count++];
        item = QueueItem{};
        item.kind = kinds[e % 3];
        item.unitCost = UnitCost(item.kind, race);
        item.count = engine.GetGene(chromosome, firstAmountGene + e);
        if (stopAfterMinTerraform && item.kind == MinTerraform)
            break;
    }
}

int64_t CriterionValue(const PlanetFigures& figures, Criterion criterion) {
    switch (criterion) {
    case Criterion::Terraforming:
        return figures.prc;
    case Criterion::Population:
        return figures.men;
    case Criterion::Factories:
        return figures.fabr;
    case Criterion::Mines:
        return figures.mine;
    case Criterion::Minerals:
        return figures.mineral[0] + figures.mineral[1] + figures.mineral[2];
    case Criterion::Resources:
        break;
    }
    return figures.resource;
}

double SearchScore(const PlanetFigures& figures, Criterion criterion) {
    const int64_t minerals = figures.mineral[0] + figures.mineral[1] + figures.mineral[2];
    double score = 1000.0 * static_cast<double>(CriterionValue(figures, criterion));
    score += 10.0 * figures.prc;
    score += static_cast<double>(figures.men / 10);
    score += static_cast<double>(figures.resource);
    score += figures.fabr;
    score += figures.mine;
    score += static_cast<double>(minerals / 10);
    return score;
}

void StoreOutcome(const CandidateOutcome& outcome, s_GeneticState& state) {
    FillTemplate(state.GenQueueMinus, std::span(outcome.minus.items, outcome.minus.count));
    FillTemplate(state.GenQueuePlus, std::span(outcome.plus.items, outcome.plus.count));
    StoreGenResults(outcome.results, state);
}

QueueSearch::QueueSearch(const GenSimInputs& inputs, SearchControl control, bool negativePlanet,
                         int32_t populationSize, std::vector<GeneDesc>& table, uint32_t seed)
    : Genetic(populationSize, static_cast<int32_t>(table.size()), table.data(), seed),
      inputs_(inputs), control_(std::move(control)), negativePlanet_(negativePlanet),
      runs_(inputs) {
    if (control_.threads > 1)
        workers_ = std::make_unique<CandidateWorkers>(control_.threads);
}

QueueSearch::~QueueSearch() = default;

double QueueSearch::Evaluate(const uint8_t* chromosome, CandidateOutcome& out) const {
    if (negativePlanet_) {
        DecodeTemplate(*this, chromosome, kOrderGenes, kAmountGenes, kMinusKinds, inputs_.race,
                       out.minus, true);
        DecodeTemplate(*this, chromosome, kSecondOrderGenes, kSecondAmountGenes, kPlusKinds,
                       inputs_.race, out.plus, false);
    } else {
        out.minus.count = 0;
        DecodeTemplate(*this, chromosome, kOrderGenes, kAmountGenes, kPlusKinds, inputs_.race,
                       out.plus, false);
    }
    std::string key = OutcomeMemory::KeyOf(out.minus, out.plus);
    if (const std::optional<OutcomeMemory::Remembered> known = memory_.Find(key)) {
        out.results = known->results;
        return known->score;
    }
    runs_.Run(out.minus.items, out.minus.count, out.plus.items, out.plus.count, out.results);
    const double score = SearchScore(out.results.figures, inputs_.criterion);
    memory_.Keep(std::move(key), {out.results, score});
    return score;
}

double QueueSearch::Fitness(const uint8_t* chromosome) {
    if (control_.processMessages)
        control_.processMessages();
    if (control_.stopFlag != nullptr && control_.stopFlag->load(std::memory_order_relaxed) != 0)
        return NotEvaluated;
    return EvaluateAndReport(chromosome);
}

double QueueSearch::EvaluateAndReport(const uint8_t* chromosome) {
    const double score = Evaluate(chromosome, outcome_);
    ++evaluations_;
    if (control_.onEvaluated)
        control_.onEvaluated(outcome_);
    return score;
}

bool QueueSearch::EvaluatePending(const std::vector<int32_t>& positions) {
    if (!workers_)
        return Genetic::EvaluatePending(positions);
    const CandidateOutcome* last = workers_->Evaluate(*this, positions, control_);
    bool complete = true;
    for (size_t k = 0; k < positions.size(); ++k) {
        const double score = workers_->score(static_cast<int32_t>(k));
        if (score == NotEvaluated) {
            complete = false;
            continue;
        }
        SetScore(positions[k], score);
        ++evaluations_;
    }
    if (last != nullptr && control_.onEvaluated)
        control_.onEvaluated(*last);
    return complete;
}

void RefineBest(QueueSearch& engine, uint8_t* best) {
    double bestScore = engine.Fitness(best);
    RefineTemplate(engine, best, kOrderGenes, kAmountGenes, bestScore);
    if (engine.negativePlanet())
        RefineTemplate(engine, best, kSecondOrderGenes, kSecondAmountGenes, bestScore);
    engine.Fitness(best);
}

double TuneAmountGene(Genetic& engine, uint8_t* chromosome, int32_t gene, double bestScore) {
    int32_t keep = engine.GetGene(chromosome, gene);
    const auto accept = [&](double score) {
        keep = engine.GetGene(chromosome, gene);
        bestScore = score;
    };

    // Halve toward the minimum while the score holds; a first move that is impossible
    // ends the tuning.
    for (;;) {
        if (!engine.StepGene(chromosome, gene, -2)) {
            engine.SetGene(chromosome, gene, keep);
            return bestScore;
        }
        const double score = engine.Fitness(chromosome);
        if (score < bestScore)
            break;
        accept(score);
    }

    engine.SetGene(chromosome, gene, keep);
    while (engine.StepGene(chromosome, gene, -1)) {
        const double score = engine.Fitness(chromosome);
        if (score < bestScore)
            break;
        accept(score);
    }

    engine.SetGene(chromosome, gene, keep);
    while (engine.StepGene(chromosome, gene, 1)) {
        const double score = engine.Fitness(chromosome);
        if (score <= bestScore)
            break;
        accept(score);
    }

    engine.SetGene(chromosome, gene, keep);
    return bestScore;
}

} // namespace quendal
