#include "optimiser/search.h"

#include <algorithm>
#include <utility>

#include "model/simulation.h"

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
                    LIST_ITEM& target, bool stopAfterMinTerraform) {
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

    target.Clear();
    for (const int32_t e : slots) {
        if (e < 0)
            continue;
        QueueItem item;
        item.kind = kinds[e % 3];
        item.unitCost = UnitCost(item.kind, race);
        item.count = engine.GetGene(chromosome, firstAmountGene + e);
        target.Append(&item);
        if (stopAfterMinTerraform && item.kind == MinTerraform)
            break;
    }
}

int64_t PrimaryValue(const s_GeneticState& state) {
    switch (state.GenMaxFactor) {
    case 0:
        return state.GenResPrc;
    case 1:
        return state.GenResMen;
    case 2:
        return state.GenResResource;
    case 3:
        return state.GenResFabr;
    case 4:
        return state.GenResMine;
    case 5:
        return int64_t{state.GenResMineral[0]} + state.GenResMineral[1] + state.GenResMineral[2];
    default:
        return 0;
    }
}

double SearchScore(const s_GeneticState& state) {
    const int64_t minerals =
        int64_t{state.GenResMineral[0]} + state.GenResMineral[1] + state.GenResMineral[2];
    double score = 1000.0 * static_cast<double>(PrimaryValue(state));
    score += 10.0 * state.GenResPrc;
    score += static_cast<double>(state.GenResMen / 10);
    score += static_cast<double>(state.GenResResource);
    score += state.GenResFabr;
    score += state.GenResMine;
    score += static_cast<double>(minerals / 10);
    return score;
}

QueueSearch::QueueSearch(CalcModel& model, SearchControl control, bool negativePlanet,
                         int32_t populationSize, std::vector<GeneDesc>& table, uint32_t seed)
    : Genetic(populationSize, static_cast<int32_t>(table.size()), table.data(), seed),
      model_(model), control_(std::move(control)), negativePlanet_(negativePlanet) {}

void QueueSearch::Decode(const uint8_t* chromosome) {
    s_GeneticState& state = model_.GeneticState;
    const RaceParams& race = model_.Race;
    if (negativePlanet_) {
        DecodeTemplate(*this, chromosome, kOrderGenes, kAmountGenes, kMinusKinds, race,
                       state.GenQueueMinus, true);
        DecodeTemplate(*this, chromosome, kSecondOrderGenes, kSecondAmountGenes, kPlusKinds, race,
                       state.GenQueuePlus, false);
    } else {
        state.GenQueueMinus.Clear();
        DecodeTemplate(*this, chromosome, kOrderGenes, kAmountGenes, kPlusKinds, race,
                       state.GenQueuePlus, false);
    }
}

double QueueSearch::Fitness(const uint8_t* chromosome) {
    if (control_.processMessages)
        control_.processMessages();
    if (control_.stopFlag != nullptr && *control_.stopFlag != 0)
        return NotEvaluated;
    Decode(chromosome);
    RunGenSimulation(model_);
    ++evaluations_;
    return SearchScore(model_.GeneticState);
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
