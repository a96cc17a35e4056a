#pragma once

#include <cstdint>
#include <memory>

namespace quendal {

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

} // namespace quendal
