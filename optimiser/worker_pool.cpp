#include "optimiser/worker_pool.h"

#include <algorithm>

#if defined(QUENDAL_NO_TBB)
#include <thread>
#else
#include <oneapi/tbb/blocked_range.h>
#include <oneapi/tbb/global_control.h>
#include <oneapi/tbb/info.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/partitioner.h>
#include <oneapi/tbb/task_arena.h>
#include <oneapi/tbb/task_group.h>
#endif

#if defined(QUENDAL_TSAN_EDGES)
#include <sanitizer/tsan_interface.h>
#endif

namespace quendal {

namespace {

#if defined(QUENDAL_TSAN_EDGES)
void Release(char* mark) {
    __tsan_release(mark);
}
void Acquire(char* mark) {
    __tsan_acquire(mark);
}
#else
void Release(char*) {}
void Acquire(char*) {}
#endif

} // namespace

#if !defined(QUENDAL_NO_TBB)

namespace {

// Jobs of similar length: handing them out one at a time balances best, and a job is long
// next to the cost of handing it out.
void Loop(int32_t count, const std::function<void(int32_t, int32_t)>& body, char* start,
          char* end) {
    tbb::parallel_for(
        tbb::blocked_range<int32_t>(0, count, 1),
        [&](const tbb::blocked_range<int32_t>& range) {
            Acquire(start);
            const int32_t slot = tbb::this_task_arena::current_thread_index();
            for (int32_t k = range.begin(); k != range.end(); ++k)
                body(slot, k);
            Release(end);
        },
        tbb::simple_partitioner());
}

} // namespace

struct ThreadLimit::Control {
    explicit Control(int32_t threads)
        : limit(tbb::global_control::max_allowed_parallelism,
                static_cast<size_t>(std::max(threads, 1))) {}
    tbb::global_control limit;
};

int32_t AvailableCores() {
    return std::max(tbb::info::default_concurrency(), 1);
}

ThreadLimit::ThreadLimit(int32_t threads) : control_(std::make_unique<Control>(threads)) {}

ThreadLimit::~ThreadLimit() = default;

struct WorkerPool::Arenas {
    explicit Arenas(int32_t threads) : shared(threads), workersOnly(threads, 0) {}

    tbb::task_arena shared;      // one slot kept for the calling thread
    tbb::task_arena workersOnly; // every slot for a worker
    tbb::task_group group;       // the loop started on the workers
};

WorkerPool::WorkerPool(int32_t threads) : arenas_(std::make_unique<Arenas>(std::max(threads, 1))) {}

WorkerPool::~WorkerPool() = default;

void WorkerPool::RunHere(int32_t count, const std::function<void(int32_t, int32_t)>& body) {
    Release(&loopStart_);
    arenas_->shared.execute([&] { Loop(count, body, &loopStart_, &loopEnd_); });
    Acquire(&loopEnd_);
}

void WorkerPool::Start(int32_t count, const std::function<void(int32_t, int32_t)>& body,
                       const std::function<void(std::exception_ptr)>& finished) {
    Release(&loopStart_);
    arenas_->workersOnly.enqueue(arenas_->group.defer([this, count, &body, &finished] {
        Acquire(&loopStart_);
        std::exception_ptr failure;
        try {
            Loop(count, body, &loopStart_, &loopEnd_);
        } catch (...) {
            failure = std::current_exception();
        }
        Acquire(&loopEnd_);
        finished(failure);
    }));
}

void WorkerPool::Wait() {
    arenas_->workersOnly.execute([&] { arenas_->group.wait(); });
    Acquire(&loopEnd_);
}

#else // QUENDAL_NO_TBB

// Without oneTBB a loop runs its bodies one after another, in slot 0, which gives the figures of
// any number of threads. A started loop runs on a thread of its own, so that the caller can
// process messages meanwhile; a target without threads (WebAssembly without its thread
// support) runs it at once, before Start returns.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define QUENDAL_NO_THREADS 1
#endif

namespace {

void Loop(int32_t count, const std::function<void(int32_t, int32_t)>& body, char* start,
          char* end) {
    Acquire(start);
    for (int32_t k = 0; k < count; ++k)
        body(0, k);
    Release(end);
}

} // namespace

struct ThreadLimit::Control {};

// More would not run at once.
int32_t AvailableCores() {
    return 1;
}

ThreadLimit::ThreadLimit(int32_t) : control_(std::make_unique<Control>()) {}

ThreadLimit::~ThreadLimit() = default;

struct WorkerPool::Arenas {
#if !defined(QUENDAL_NO_THREADS)
    std::thread started; // the loop started on its own thread
#endif
};

WorkerPool::WorkerPool(int32_t) : arenas_(std::make_unique<Arenas>()) {}

WorkerPool::~WorkerPool() {
    Wait();
}

void WorkerPool::RunHere(int32_t count, const std::function<void(int32_t, int32_t)>& body) {
    Release(&loopStart_);
    Loop(count, body, &loopStart_, &loopEnd_);
    Acquire(&loopEnd_);
}

void WorkerPool::Start(int32_t count, const std::function<void(int32_t, int32_t)>& body,
                       const std::function<void(std::exception_ptr)>& finished) {
    const auto run = [this, count, &body, &finished] {
        std::exception_ptr failure;
        try {
            Loop(count, body, &loopStart_, &loopEnd_);
        } catch (...) {
            failure = std::current_exception();
        }
        finished(failure);
    };
#if defined(QUENDAL_NO_THREADS)
    run();
#else
    Wait();
    Release(&loopStart_);
    arenas_->started = std::thread(run);
#endif
}

void WorkerPool::Wait() {
#if !defined(QUENDAL_NO_THREADS)
    if (arenas_->started.joinable())
        arenas_->started.join();
#endif
    Acquire(&loopEnd_);
}

#endif // QUENDAL_NO_TBB

} // namespace quendal
