#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

namespace quendal {

// The project's only calls into oneTBB: the cores it may use, the one limit on its threads and
// a loop on an arena.
//
// ThreadSanitizer does not see oneTBB's own synchronisation, neither in its library nor in
// its header code that hands tasks between threads, so a sanitizer build leaves this file
// uninstrumented like the library and declares here the orderings a loop guarantees: what
// the caller did before the loop comes before every body, and every body comes before the
// loop's end. Two bodies are never ordered with each other, so a race between them, or
// between a body and the caller while the loop runs, is still reported.

// The cores this process may use (its affinity mask and CPU quota taken into account).
int32_t AvailableCores();

// The one limit on how many threads oneTBB runs at once in this process, for every part that
// works in parallel; held for the life of the program. A program whose own thread only
// processes messages while the workers run (the window) asks for one thread more than the
// workers it wants.
class ThreadLimit {
public:
    explicit ThreadLimit(int32_t threads);
    ~ThreadLimit();
    ThreadLimit(const ThreadLimit&) = delete;
    ThreadLimit& operator=(const ThreadLimit&) = delete;

private:
    struct Control;
    std::unique_ptr<Control> control_;
};

// A loop over 0..count-1 on an arena of `threads`.
class WorkerPool {
public:
    explicit WorkerPool(int32_t threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs body(slot, k) for every k, the calling thread working too; returns at the end.
    // slot is below `threads` and no two bodies that run at the same time share it.
    void RunHere(int32_t count, const std::function<void(int32_t slot, int32_t k)>& body);

    // Starts the same loop on the workers alone and returns at once; when every body has
    // returned, a worker calls finished with the exception one of them threw, if any. Both
    // functions must live until Wait has returned.
    void Start(int32_t count, const std::function<void(int32_t slot, int32_t k)>& body,
               const std::function<void(std::exception_ptr)>& finished);
    // Returns when the loop started last has ended and let go of everything it used.
    void Wait();

private:
    struct Arenas;
    std::unique_ptr<Arenas> arenas_;
    char loopStart_ = 0; // addresses that mark the orderings for ThreadSanitizer
    char loopEnd_ = 0;
};

} // namespace quendal
