#include "optimiser/candidate_workers.h"

namespace quendal {

CandidateWorkers::CandidateWorkers(int32_t threads)
    : jobs_(threads), workers_(static_cast<size_t>(jobs_.slots())) {}

const CandidateOutcome* CandidateWorkers::Evaluate(const QueueSearch& engine,
                                                   const GenSimInputs& inputs,
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
            CandidateOutcome& out = worker.current;
            engine.Decode(engine.Chromosome(positions[static_cast<size_t>(k)]), inputs.race,
                          out.minus, out.plus);
            RunGenSimulation(inputs, out.minus.items, out.minus.count, out.plus.items,
                             out.plus.count, out.results);
            scores_[static_cast<size_t>(k)] = SearchScore(out.results, inputs.maxFactor);
            if (k > worker.lastK) {
                worker.lastK = k;
                worker.last = out;
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
