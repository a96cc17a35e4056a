#include "optimiser/genetic.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "model/extended.h"
#include "model/numbers.h"

namespace quendal {

uint32_t ClockSeed() {
    return static_cast<uint32_t>(std::time(nullptr));
}

double PercentFraction(int32_t percent) {
    return (Extended(percent) * Extended(0.01)).ToDouble();
}

namespace {

// eliteCount of a population: the product truncated, never outside the population.
int32_t EliteCount(int32_t populationSize, double fraction) {
    const int64_t n = TruncToInt64(Extended(populationSize) * Extended(fraction));
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, populationSize));
}

} // namespace

Genetic::Genetic(int32_t populationSize, int32_t geneCount, GeneDesc* table, uint32_t seed)
    : populationSize_(std::clamp(populationSize, 1, kMaxPopulation)),
      geneCount_(std::max(geneCount, 0)) {
    eliteCount_ = EliteCount(populationSize_, 0.1);

    int32_t total = 0;
    genes_.reserve(static_cast<size_t>(geneCount_));
    for (int32_t j = 0; j < geneCount_; ++j) {
        table[j].offset = total;
        genes_.push_back(table[j]);
        total += table[j].size;
        anyMutable_ = anyMutable_ || table[j].minValue < table[j].maxValue;
    }
    chromosomeSize_ = total;

    random_.SeedRandom(seed);
    chromosomes_.resize(static_cast<size_t>(populationSize_));
    scores_.assign(static_cast<size_t>(populationSize_), NotEvaluated);
    for (auto& chromosome : chromosomes_) {
        chromosome.assign(static_cast<size_t>(chromosomeSize_), 0);
        RandomizeChromosome(chromosome.data());
    }
    random_.SeedRandom(seed);
    pending_.reserve(static_cast<size_t>(populationSize_));
}

double Genetic::Fitness(const uint8_t*) {
    return 0.0;
}

void Genetic::SetParams(double eliteFraction, double mutationProb, double crossoverProb,
                        double survivalFactor) {
    eliteCount_ = EliteCount(populationSize_, eliteFraction);
    mutationProb_ = mutationProb;
    crossoverProb_ = crossoverProb;
    survivalFactor_ = survivalFactor;
}

bool ChanceHit(int32_t step, double p) {
    return Extended(step) * Extended(0.001) < Extended(p);
}

bool Genetic::Chance(double p) {
    return ChanceHit(RandomInt() % 1001, p);
}

int32_t Genetic::UniformInt(int32_t lo, int32_t hi) {
    const int64_t width = int64_t{hi} - lo + 1;
    if (width <= 0)
        return lo; // an empty range has only its lower end
    return static_cast<int32_t>(lo + RandomInt() % width);
}

int32_t Genetic::UniformIndex(int32_t m) {
    if (m <= 0)
        return 0;
    return RandomInt() % m;
}

bool Genetic::IsFixed(int32_t gene) const {
    return Gene(gene).minValue >= Gene(gene).maxValue;
}

int32_t Genetic::GetGene(const uint8_t* chromosome, int32_t gene) const {
    const GeneDesc& desc = Gene(gene);
    uint32_t value = 0;
    for (int32_t b = std::min(desc.size, 4) - 1; b >= 0; --b)
        value = (value << 8) | chromosome[desc.offset + b];
    return static_cast<int32_t>(value);
}

void Genetic::SetGene(uint8_t* chromosome, int32_t gene, int32_t value) const {
    const GeneDesc& desc = Gene(gene);
    auto bits = static_cast<uint32_t>(value);
    for (int32_t b = 0; b < std::min(desc.size, 4); ++b) {
        chromosome[desc.offset + b] = static_cast<uint8_t>(bits & 0xFFU);
        bits >>= 8;
    }
}

bool Genetic::StepGene(uint8_t* chromosome, int32_t gene, int32_t direction) const {
    if (IsFixed(gene))
        return false;
    const GeneDesc& desc = Gene(gene);
    int64_t v = GetGene(chromosome, gene);
    if (direction < 0) {
        if (v <= desc.minValue)
            return false;
        v = direction == -1 ? v - 1 : v - (v - desc.minValue + 1) / 2;
    } else {
        if (v >= desc.maxValue)
            return false;
        v = direction == 1 ? v + 1 : v + (desc.maxValue - v + 1) / 2;
    }
    SetGene(chromosome, gene, static_cast<int32_t>(v));
    return true;
}

bool Genetic::MutateGene(uint8_t* chromosome, int32_t gene) {
    if (IsFixed(gene))
        return false;
    SetGene(chromosome, gene, UniformInt(Gene(gene).minValue, Gene(gene).maxValue));
    return true;
}

void Genetic::RandomizeChromosome(uint8_t* chromosome) {
    for (int32_t j = 0; j < geneCount_; ++j) {
        const GeneDesc& desc = Gene(j);
        SetGene(chromosome, j,
                IsFixed(j) ? desc.minValue : UniformInt(desc.minValue, desc.maxValue));
    }
}

int32_t Genetic::DrawCut() {
    const int32_t k = UniformIndex(geneCount_ - 1);
    // A table of a single gene has no inner boundary: the cut falls at the end.
    return k + 1 < geneCount_ ? Gene(k + 1).offset : chromosomeSize_;
}

void Genetic::Exchange(int32_t i, int32_t j) {
    std::swap(scores_[static_cast<size_t>(i)], scores_[static_cast<size_t>(j)]);
    std::swap(chromosomes_[static_cast<size_t>(i)], chromosomes_[static_cast<size_t>(j)]);
}

bool Genetic::NextGeneration() {
    MutationStep();
    CrossoverStep();
    return SelectionStep();
}

void Genetic::MutationStep() {
    for (int32_t i = eliteCount_; i < populationSize_; ++i)
        for (int32_t j = 0; j < geneCount_; ++j)
            if (Chance(mutationProb_) && MutateGene(Chromosome(i), j))
                scores_[static_cast<size_t>(i)] = NotEvaluated;
}

void Genetic::CrossoverStep() {
    for (int32_t i = 0; i < populationSize_; ++i) {
        if (!Chance(crossoverProb_))
            continue;
        const int32_t b = UniformIndex(populationSize_);
        if (b == i || (i < eliteCount_ && b < eliteCount_))
            continue;
        const auto cut = static_cast<size_t>(DrawCut());
        uint8_t* own = Chromosome(i);
        uint8_t* partner = Chromosome(b);
        if (i < eliteCount_) {
            std::memcpy(partner, own, cut);
            scores_[static_cast<size_t>(b)] = NotEvaluated;
        } else if (b < eliteCount_) {
            std::memcpy(own + cut, partner + cut, static_cast<size_t>(chromosomeSize_) - cut);
            scores_[static_cast<size_t>(i)] = NotEvaluated;
        } else {
            std::swap_ranges(own, own + cut, partner);
            scores_[static_cast<size_t>(i)] = NotEvaluated;
            scores_[static_cast<size_t>(b)] = NotEvaluated;
        }
    }
}

bool Genetic::EvaluatePending(const std::vector<int32_t>& positions) {
    for (const int32_t i : positions) {
        const double result = Fitness(Chromosome(i));
        if (result == NotEvaluated)
            return false;
        SetScore(i, result);
    }
    return true;
}

bool Genetic::SelectionStep() {
    if (!EvaluatePending(BeginSelection()))
        return false;
    EndSelection();
    return true;
}

const std::vector<int32_t>& Genetic::BeginSelection() {
    pending_.clear();
    for (int32_t i = 0; i < populationSize_; ++i)
        if (Score(i) == NotEvaluated)
            pending_.push_back(i);
    return pending_;
}

void Genetic::EndSelection() {
    // Best first, by exchanges: O(n²), but a population is small. The order it leaves equal
    // scores in decides which parents are drawn below, so it is part of a seeded search's
    // result: std::sort or std::stable_sort would order ties otherwise and change the output.
    for (int32_t i = 0; i + 1 < populationSize_; ++i)
        for (int32_t j = i; j < populationSize_; ++j)
            if (Score(j) > Score(i))
                Exchange(i, j);

    const double max = Score(0);
    const double min = Score(populationSize_ - 1);
    if (max == min)
        return;

    const auto size = static_cast<size_t>(chromosomeSize_);
    for (int32_t i = eliteCount_; i < populationSize_; ++i) {
        const Extended normalised =
            (Extended(Score(i)) - Extended(min)) / (Extended(max) - Extended(min));
        if (normalised >= Extended(survivalFactor_))
            continue;
        const int32_t a = UniformIndex(i);
        const int32_t b = UniformIndex(i);
        uint8_t* child = Chromosome(i);
        if (a != b) {
            const auto cut = static_cast<size_t>(DrawCut());
            std::memcpy(child, Chromosome(a), cut);
            std::memcpy(child + cut, Chromosome(b) + cut, size - cut);
        } else if (a != i) {
            std::memcpy(child, Chromosome(a), size);
        }
        // One gene with a real range must change; a table without one cannot mutate at all.
        if (anyMutable_)
            while (!MutateGene(child, UniformIndex(geneCount_))) {
            }
        scores_[static_cast<size_t>(i)] = NotEvaluated;
    }
}

} // namespace quendal
