#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/search_params.h"

namespace quendal {

// One gene of a chromosome: an unsigned little-endian integer of `size` bytes (1..4) at
// `offset`, with the inclusive range minValue..maxValue. A gene whose minValue is not below
// maxValue is fixed: it always holds minValue and never mutates.
struct GeneDesc {
    int32_t offset = 0; // filled in by the engine
    int32_t size = 0;
    int32_t minValue = 0;
    int32_t maxValue = 0;
};

// Score of an individual not evaluated since its last change. A fitness that returns it
// asks the engine to stop.
inline constexpr double NotEvaluated = -3.4028234663852886e38;

// The engine's random source: a linear congruential generator on 64 bits,
// state = state * 0x15A00004E35 + 1 (mod 2^64); a draw is bits 32..62 of the new state.
class RandomGenerator {
public:
    explicit RandomGenerator(uint32_t seed = 0) { SeedRandom(seed); }

    // Low 32 bits of the state become the seed, the high 32 bits zero.
    void SeedRandom(uint32_t seed) { state_ = seed; }
    // An integer in 0..2147483647.
    int32_t RandomInt() {
        state_ = state_ * 0x15A00004E35ULL + 1;
        return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFFU);
    }

private:
    uint64_t state_ = 0;
};

// The probability draw: true when step * 0.001 (extended precision) lies below p. A draw
// takes the 1001 steps 0..1000.
bool ChanceHit(int32_t step, double p);

// The calendar clock in whole seconds: the seed of a search unless the caller fixes one.
uint32_t ClockSeed();

// A percentage as a fraction: percent * 0.01 formed in extended precision, kept as a double.
double PercentFraction(int32_t percent);

// A small genetic algorithm over fixed-length byte strings made of integer genes. The one
// virtual operation, Fitness, scores a chromosome (higher is better). Every random decision
// comes from the engine's own generator, so a run is fully determined by its seed.
//
// Floating point: decimal constants are doubles, arithmetic runs in Extended, and the
// probabilities and scores are kept as doubles.
class Genetic {
public:
    // Largest population: a typed size is not limited by its spin, and a size of millions
    // would take gigabytes before the first evaluation could be interrupted.
    static constexpr int32_t kMaxPopulation = 100000;

    // Creates a random, wholly unevaluated population of `populationSize` (1..kMaxPopulation)
    // individuals. Writes each gene's offset into `table` and into the engine's copy. The
    // generator is seeded with `seed` before the population is drawn and once more after.
    Genetic(int32_t populationSize, int32_t geneCount, GeneDesc* table,
            uint32_t seed = ClockSeed());
    virtual ~Genetic() = default;
    Genetic(const Genetic&) = delete;
    Genetic& operator=(const Genetic&) = delete;

    // Score of a chromosome; NotEvaluated asks the engine to stop. The base scores 0.
    virtual double Fitness(const uint8_t* chromosome);

    // eliteCount = populationSize * eliteFraction (extended precision, truncated, kept within
    // 0..populationSize); the other three are stored unchanged.
    void SetParams(double eliteFraction, double mutationProb, double crossoverProb,
                   double survivalFactor);

    // One generation: mutation, crossover, selection. False when Fitness asked to stop.
    bool NextGeneration();
    void MutationStep();
    void CrossoverStep();
    // Evaluates the unevaluated, sorts best first and replaces the weak. False (population
    // left unsorted) when Fitness asked to stop. The same as BeginSelection, EvaluatePending
    // of its positions and, when all were scored, EndSelection.
    bool SelectionStep();
    // The first part of a selection: the positions of the unevaluated individuals, ascending.
    // Their scores may then come from outside (SetScore) before EndSelection.
    const std::vector<int32_t>& BeginSelection();
    // The rest of a selection, every individual scored: sorts best first, replaces the weak.
    void EndSelection();

    int32_t GetGene(const uint8_t* chromosome, int32_t gene) const;
    void SetGene(uint8_t* chromosome, int32_t gene, int32_t value) const;
    // Local move of one gene: -1/+1 one step, other negative/non-negative directions half
    // the way toward the minimum/maximum. False (nothing changed) at the limit or when fixed.
    bool StepGene(uint8_t* chromosome, int32_t gene, int32_t direction) const;
    // A new uniform value in the gene's range; false without drawing for a fixed gene.
    bool MutateGene(uint8_t* chromosome, int32_t gene);
    void RandomizeChromosome(uint8_t* chromosome);

    // Derived draws.
    int32_t RandomInt() { return random_.RandomInt(); }
    bool Chance(double p);                      // (RandomInt() mod 1001) * 0.001 < p
    int32_t UniformInt(int32_t lo, int32_t hi); // lo + RandomInt() mod (hi - lo + 1)
    int32_t UniformIndex(int32_t m);            // RandomInt() mod m; 0 without a draw if m <= 0

    uint8_t* Chromosome(int32_t i) { return chromosomes_[static_cast<size_t>(i)].data(); }
    const uint8_t* Chromosome(int32_t i) const {
        return chromosomes_[static_cast<size_t>(i)].data();
    }
    double Score(int32_t i) const { return scores_[static_cast<size_t>(i)]; }
    void SetScore(int32_t i, double score) { scores_[static_cast<size_t>(i)] = score; }
    const GeneDesc& Gene(int32_t j) const { return genes_[static_cast<size_t>(j)]; }
    int32_t populationSize() const { return populationSize_; }
    int32_t eliteCount() const { return eliteCount_; }
    int32_t chromosomeSize() const { return chromosomeSize_; }
    int32_t geneCount() const { return geneCount_; }
    double mutationProb() const { return mutationProb_; }
    double crossoverProb() const { return crossoverProb_; }
    double survivalFactor() const { return survivalFactor_; }

    // Scores the individuals at `positions` (ascending), the first step of SelectionStep.
    // False when Fitness asked to stop: the individuals not scored stay NotEvaluated. The
    // base calls Fitness on each in order and stops at the first NotEvaluated; an override
    // may score them in any order, as long as each score depends only on its chromosome.
    virtual bool EvaluatePending(const std::vector<int32_t>& positions);

private:
    bool IsFixed(int32_t gene) const;
    // Byte offset of a cut after gene k + 1 for a uniform k below geneCount - 1.
    int32_t DrawCut();
    void Exchange(int32_t i, int32_t j);

    std::vector<std::vector<uint8_t>> chromosomes_; // exchanged by buffer, not by content
    std::vector<double> scores_;
    int32_t populationSize_ = 0;
    int32_t eliteCount_ = 0;
    int32_t chromosomeSize_ = 0;
    int32_t geneCount_ = 0;
    std::vector<GeneDesc> genes_;
    bool anyMutable_ = false; // some gene has a real range
    double mutationProb_ = 0.01;
    double crossoverProb_ = 0.4;
    double survivalFactor_ = 0.8;
    RandomGenerator random_;
    std::vector<int32_t> pending_; // unevaluated positions of the current selection
};

} // namespace quendal
