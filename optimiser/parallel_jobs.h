#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace quendal {

class WorkerPool;

// Runs a batch of independent jobs on oneTBB's worker threads, at most `threads` at a time.
//
// Without a message callback the calling thread takes part in the work. With one it stays out:
// it sleeps while the workers run and wakes to process pending messages once for every job
// that did real work, so that a window stays responsive. The workers then need `threads`
// threads of their own; oneTBB keeps one thread fewer than the cores unless its limit
// (max_allowed_parallelism) is raised, which a window does once at start.
class ParallelJobs {
public:
    explicit ParallelJobs(int32_t threads);
    ~ParallelJobs();
    ParallelJobs(const ParallelJobs&) = delete;
    ParallelJobs& operator=(const ParallelJobs&) = delete;

    // Job slots run below this; no two jobs that run at the same time share a slot.
    int32_t slots() const { return threads_; }

    // Runs job(slot, k) once for every k in 0..count-1 and returns when all have finished.
    // A job returns true when it did real work. Everything the caller did before Run is seen
    // by every job, and everything the jobs did is seen by the caller after Run.
    void Run(int32_t count, const std::function<bool(int32_t slot, int32_t k)>& job,
             const std::function<void()>& processMessages);

private:
    int32_t threads_;
    std::unique_ptr<WorkerPool> pool_;
};

} // namespace quendal
