#pragma once

#include <cstdint>
#include <vector>

#include "optimiser/parallel_jobs.h"
#include "optimiser/search.h"

namespace quendal {

// Evaluates the candidates of a generation side by side. Each worker slot has its own
// outcome, made once, so an evaluation allocates nothing; the workers read the chromosomes and
// the engine's inputs, and write only their own slot and score.
class CandidateWorkers {
public:
    explicit CandidateWorkers(int32_t threads);

    // Scores the individuals at `positions` of `engine`; score(k) is then the score of
    // positions[k], or NotEvaluated when the stop flag was set before its evaluation began.
    // Returns the outcome of the highest k evaluated, or nullptr when none was.
    const CandidateOutcome* Evaluate(const QueueSearch& engine,
                                     const std::vector<int32_t>& positions,
                                     const SearchControl& control);
    double score(int32_t k) const { return scores_[static_cast<size_t>(k)]; }

private:
    // A worker's own state, on cache lines of its own.
    struct alignas(64) Worker {
        CandidateOutcome current;
        CandidateOutcome last; // of lastK
        int32_t lastK = -1;
    };

    ParallelJobs jobs_;
    std::vector<Worker> workers_;
    std::vector<double> scores_; // one per position of the batch
};

} // namespace quendal
