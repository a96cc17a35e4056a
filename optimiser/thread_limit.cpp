#include "optimiser/thread_limit.h"

#include <algorithm>

#include <oneapi/tbb/global_control.h>
#include <oneapi/tbb/info.h>

namespace quendal {

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

} // namespace quendal
