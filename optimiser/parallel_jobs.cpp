#include "optimiser/parallel_jobs.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>

#include <oneapi/tbb/blocked_range.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/partitioner.h>
#include <oneapi/tbb/task_arena.h>
#include <oneapi/tbb/task_group.h>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace quendal {

namespace {

// oneTBB hands a job to a worker and reports its end inside its library, where
// ThreadSanitizer sees no synchronisation. These two marks tell it of the orderings that a
// parallel loop guarantees: what the caller did before the loop comes before each job, and
// each job comes before the loop's end. They order no two jobs with each other.
#if defined(__SANITIZE_THREAD__)
void TsanRelease(void* token) {
    __tsan_release(token);
}
void TsanAcquire(void* token) {
    __tsan_acquire(token);
}
#else
void TsanRelease(void*) {}
void TsanAcquire(void*) {}
#endif

} // namespace

struct ParallelJobs::Pool {
    explicit Pool(int32_t threads)
        : shared(threads), workersOnly(threads, 0) {} // no slot kept for the calling thread

    tbb::task_arena shared;      // the calling thread works too
    tbb::task_arena workersOnly; // the calling thread processes messages meanwhile
    tbb::task_group group;
};

ParallelJobs::ParallelJobs(int32_t threads)
    : threads_(std::max(threads, 1)), pool_(std::make_unique<Pool>(threads_)) {}

ParallelJobs::~ParallelJobs() = default;

void ParallelJobs::Run(int32_t count, const std::function<bool(int32_t, int32_t)>& job,
                       const std::function<void()>& processMessages) {
    if (count <= 0)
        return;
    // Jobs of similar length: one at a time balances best, and a job is long next to the
    // cost of handing it out.
    const tbb::blocked_range<int32_t> all(0, count, 1);
    int32_t batchStart = 0;
    int32_t batchEnd = 0;
    TsanRelease(&batchStart);

    std::mutex mutex;
    std::condition_variable changed;
    int32_t worked = 0; // jobs that did real work, under mutex
    bool done = false;  // every job has finished, under mutex
    const auto body = [&](const tbb::blocked_range<int32_t>& range) {
        TsanAcquire(&batchStart);
        const int32_t slot = tbb::this_task_arena::current_thread_index();
        for (int32_t k = range.begin(); k != range.end(); ++k)
            if (job(slot, k) && processMessages) {
                const std::lock_guard<std::mutex> lock(mutex);
                ++worked;
                changed.notify_one();
            }
        TsanRelease(&batchEnd);
    };

    if (!processMessages) {
        pool_->shared.execute([&] { tbb::parallel_for(all, body, tbb::simple_partitioner()); });
        TsanAcquire(&batchEnd);
        return;
    }

    std::exception_ptr failure;
    pool_->workersOnly.enqueue(pool_->group.defer([&] {
        try {
            tbb::parallel_for(all, body, tbb::simple_partitioner());
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
        changed.notify_one();
    }));

    int32_t processed = 0;
    for (bool finished = false; !finished;) {
        int32_t target;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return done || worked > processed; });
            target = worked;
            finished = done;
        }
        for (; processed < target; ++processed)
            processMessages();
    }
    // The task has signalled its end; wait until it has let go of everything it used.
    pool_->workersOnly.execute([&] { pool_->group.wait(); });
    TsanAcquire(&batchEnd);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quendal
