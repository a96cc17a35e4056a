#include "optimiser/search.h"

#include <algorithm>
#include <utility>

#include "model/simulation.h"
#include "optimiser/candidate_workers.h"

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

// The figures of the last headless simulation, as the snapshot holds them.
GenSimResults ResultsOf(const s_GeneticState& state) {
    GenSimResults results;
    results.prc = state.GenResPrc;
    results.men = state.GenResMen;
    results.resource = state.GenResResource;
    results.fabr = state.GenResFabr;
    results.mine = state.GenResMine;
    std::copy(state.GenResMineral, state.GenResMineral + 3, results.mineral);
    return results;
}

} // namespace

void FillList(const DecodedTemplate& decoded, LIST_ITEM& target) {
    target.Clear();
    for (int32_t i = 0; i < decoded.count; ++i)
        target.Append(&decoded.items[i]);
}

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

void DecodeTemplate(const Genetic& engine, const uint8_t* chromosome, int32_t firstOrderGene,
                    int32_t firstAmountGene, const int32_t kinds[3], const RaceParams& race,
                    LIST_ITEM& target, bool stopAfterMinTerraform) {
    DecodedTemplate decoded;
    DecodeTemplate(engine, chromosome, firstOrderGene, firstAmountGene, kinds, race, decoded,
                   stopAfterMinTerraform);
    FillList(decoded, target);
}

int64_t PrimaryValue(const GenSimResults& results, int32_t maxFactor) {
    switch (maxFactor) {
    case 0:
        return results.prc;
    case 1:
        return results.men;
    case 2:
        return results.resource;
    case 3:
        return results.fabr;
    case 4:
        return results.mine;
    case 5:
        return int64_t{results.mineral[0]} + results.mineral[1] + results.mineral[2];
    default:
        return 0;
    }
}

double SearchScore(const GenSimResults& results, int32_t maxFactor) {
    const int64_t minerals = int64_t{results.mineral[0]} + results.mineral[1] + results.mineral[2];
    double score = 1000.0 * static_cast<double>(PrimaryValue(results, maxFactor));
    score += 10.0 * results.prc;
    score += static_cast<double>(results.men / 10);
    score += static_cast<double>(results.resource);
    score += results.fabr;
    score += results.mine;
    score += static_cast<double>(minerals / 10);
    return score;
}

double SearchScore(const s_GeneticState& state) {
    return SearchScore(ResultsOf(state), state.GenMaxFactor);
}

QueueSearch::QueueSearch(CalcModel& model, SearchControl control, bool negativePlanet,
                         int32_t populationSize, std::vector<GeneDesc>& table, uint32_t seed)
    : Genetic(populationSize, static_cast<int32_t>(table.size()), table.data(), seed),
      model_(model), control_(std::move(control)), negativePlanet_(negativePlanet) {
    if (control_.threads > 1)
        workers_ = std::make_unique<CandidateWorkers>(control_.threads);
}

QueueSearch::~QueueSearch() = default;

void QueueSearch::Decode(const uint8_t* chromosome, const RaceParams& race, DecodedTemplate& minus,
                         DecodedTemplate& plus) const {
    if (negativePlanet_) {
        DecodeTemplate(*this, chromosome, kOrderGenes, kAmountGenes, kMinusKinds, race, minus,
                       true);
        DecodeTemplate(*this, chromosome, kSecondOrderGenes, kSecondAmountGenes, kPlusKinds, race,
                       plus, false);
    } else {
        minus.count = 0;
        DecodeTemplate(*this, chromosome, kOrderGenes, kAmountGenes, kPlusKinds, race, plus, false);
    }
}

void QueueSearch::Decode(const uint8_t* chromosome) {
    s_GeneticState& state = model_.GeneticState;
    DecodedTemplate minus, plus;
    Decode(chromosome, model_.Race, minus, plus);
    FillList(minus, state.GenQueueMinus);
    FillList(plus, state.GenQueuePlus);
}

double QueueSearch::Fitness(const uint8_t* chromosome) {
    if (control_.processMessages)
        control_.processMessages();
    if (control_.stopFlag != nullptr && control_.stopFlag->load(std::memory_order_relaxed) != 0)
        return NotEvaluated;
    Decode(chromosome);
    RunGenSimulation(model_);
    ++evaluations_;
    return SearchScore(model_.GeneticState);
}

bool QueueSearch::EvaluatePending(const std::vector<int32_t>& positions) {
    if (!workers_)
        return Genetic::EvaluatePending(positions);
    const CandidateOutcome* last =
        workers_->Evaluate(*this, GenSimInputs::Of(model_), positions, control_);
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
    if (last != nullptr) {
        s_GeneticState& state = model_.GeneticState;
        FillList(last->minus, state.GenQueueMinus);
        FillList(last->plus, state.GenQueuePlus);
        StoreGenResults(last->results, state);
    }
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
