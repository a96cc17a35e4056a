#include "optimiser/parallel_jobs.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "optimiser/worker_pool.h"

namespace quendal {

ParallelJobs::ParallelJobs(int32_t threads)
    : threads_(std::max(threads, 1)), pool_(std::make_unique<WorkerPool>(threads_)) {}

ParallelJobs::~ParallelJobs() = default;

void ParallelJobs::Run(int32_t count, const std::function<bool(int32_t, int32_t)>& job,
                       const std::function<void()>& processMessages) {
    if (count <= 0)
        return;
    if (!processMessages) {
        pool_->RunHere(count, [&](int32_t slot, int32_t k) { job(slot, k); });
        return;
    }

    std::mutex mutex;
    std::condition_variable changed;
    int32_t worked = 0; // jobs that did real work
    bool done = false;  // every job has finished
    std::exception_ptr failure;
    const std::function<void(int32_t, int32_t)> body = [&](int32_t slot, int32_t k) {
        if (job(slot, k)) {
            const std::lock_guard<std::mutex> lock(mutex);
            ++worked;
            changed.notify_one();
        }
    };
    const std::function<void(std::exception_ptr)> finished = [&](std::exception_ptr error) {
        const std::lock_guard<std::mutex> lock(mutex);
        failure = error;
        done = true;
        changed.notify_one();
    };
    pool_->Start(count, body, finished);

    int32_t processed = 0;
    try {
        for (bool ended = false; !ended;) {
            int32_t target;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return done || worked > processed; });
                target = worked;
                ended = done;
            }
            for (; processed < target; ++processed)
                processMessages();
        }
    } catch (...) {
        pool_->Wait(); // the jobs use this frame until they end
        throw;
    }
    pool_->Wait();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quendal
