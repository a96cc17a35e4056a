#include "optimiser/candidate_workers.h"

namespace quendal {

CandidateWorkers::CandidateWorkers(int32_t threads)
    : jobs_(threads), workers_(static_cast<size_t>(jobs_.slots())) {}

const CandidateOutcome* CandidateWorkers::Evaluate(const QueueSearch& engine,
                                                   const std::vector<int32_t>& positions,
                                                   const SearchControl& control) {
    const auto count = static_cast<int32_t>(positions.size());
    scores_.assign(positions.size(), NotEvaluated); // capacity stays from the first batch
    for (Worker& worker : workers_)
        worker.lastK = -1;

    jobs_.Run(
        count,
        [&](int32_t slot, int32_t k) {
            if (control.stopFlag != nullptr &&
                control.stopFlag->load(std::memory_order_relaxed) != 0)
                return false;
            Worker& worker = workers_[static_cast<size_t>(slot)];
            scores_[static_cast<size_t>(k)] = engine.Evaluate(
                engine.Chromosome(positions[static_cast<size_t>(k)]), worker.current);
            if (k > worker.lastK) {
                worker.lastK = k;
                worker.last = worker.current;
            }
            return true;
        },
        control.processMessages);

    const Worker* latest = nullptr;
    for (const Worker& worker : workers_)
        if (worker.lastK >= 0 && (latest == nullptr || worker.lastK > latest->lastK))
            latest = &worker;
    return latest != nullptr ? &latest->last : nullptr;
}

} // namespace quendal
