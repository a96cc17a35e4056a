#pragma once

// What the headless runs of one search have passed through, so that a run takes up where an
// earlier one stood instead of simulating again what it would simulate alike.
//
// A run reads its plus template only in its refills: the kinds of the elements it examines
// (1 to some n, in order, as the cursor never moves back before it wraps), the elements it
// places as orders (their counts only as above the part placed, until one is placed whole),
// and its size only where the cursor wraps or where the elements examined reach its end
// (SimProgress's readings, model/substep.h). Until a run has read more, everything it does follows
// from what it has read, so that two runs that have read the same of their templates stand in the
// same state at the same sub-step. The memory keeps, for each reading that a run has reached, the
// state before the refill that first read more, or the results when none did. A run with the same
// reading takes up from that state, or ends with those results. The negative template is compared
// whole.
//
// The results are those of RunGenSimulation to the bit, whatever order runs come in and
// whichever of several threads records a state first.

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "model/simulation.h"
#include "model/substep.h"

namespace quendal {

class SharedRuns {
public:
    // The readings remembered; past it, runs take up from those kept and add none.
    static constexpr size_t kMaxReadings = 50000;

    explicit SharedRuns(const GenSimInputs& inputs) : inputs_(inputs) {}
    SharedRuns(const SharedRuns&) = delete;
    SharedRuns& operator=(const SharedRuns&) = delete;

    // RunGenSimulation(inputs, minus, minusCount, plus, plusCount, results) with this memory.
    // Safe to call from several threads at once.
    void Run(const QueueItem* minus, int32_t minusCount, const QueueItem* plus, int32_t plusCount,
             GenSimResults& results);

    // Sub-steps simulated since the start; the others were taken up from the memory.
    int64_t simulatedSubSteps() const;

private:
    // A run's state before a refill of sub-step `step`, with its templates' cursors.
    struct Taken {
        SimProgress progress;
        int32_t minusPos = 1, plusPos = 1;
        int64_t step = 0;
    };
    struct Reading {
        std::optional<Taken> before; // before the refill that read more
        std::optional<GenSimResults> end;
    };

    static Taken Take(const SimState& s, int64_t step);
    // What the run has read, after `prefix` (the negative template's key).
    static std::string KeyOf(const std::string& prefix, const SimState& s);
    // Finds or adds the reading `key`. Returns true with `results` when its run ended there;
    // otherwise puts `s` at the state kept before its next refill, if any.
    bool TakeUp(const std::string& key, SimState& s, int64_t& step, bool& atRefill,
                GenSimResults& results);
    void KeepBefore(const std::string& key, const Taken& before);
    void KeepEnd(const std::string& key, const GenSimResults& results);

    const GenSimInputs inputs_;
    mutable std::mutex lock_;
    std::unordered_map<std::string, Reading> readings_;
    int64_t simulated_ = 0;
};

} // namespace quendal
