// Time per operation of the software extended type beside the hardware's long double
// (where long double is x87), on figures of the simulation's size: sums, products,
// quotients and stores to double over arrays of operands, independent of each other, and
// chains of sums and products where each waits for the one before.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "model/extended.h"
#include "model/soft_extended.h"

namespace quendal {
namespace {

constexpr size_t kOperands = 1024;

// Amounts and counts up to 1e12 and shares below 1, of full 64-bit precision as the
// formulas leave them (each a quotient), deterministic.
template <class T> std::vector<T> Operands(uint64_t seed) {
    std::vector<T> values;
    values.reserve(kOperands);
    for (size_t i = 0; i < kOperands; ++i) {
        seed = seed * 6364136223846793005 + 1442695040888963407;
        const auto n = static_cast<int64_t>(seed >> 24); // up to 1.1e12
        const T value = T(n) / T(static_cast<int32_t>(seed % 997 + 3));
        values.push_back(i % 4 == 0 ? value / T(int64_t{1000000000000}) : value);
    }
    return values;
}

void CountOperations(benchmark::State& state) {
    state.counters["per_op"] = benchmark::Counter(static_cast<double>(kOperands),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

template <class T, class Op> void RunBinary(benchmark::State& state, Op op) {
    const std::vector<T> a = Operands<T>(1), b = Operands<T>(2);
    std::vector<T> out(kOperands);
    for (auto _ : state) {
        for (size_t i = 0; i < kOperands; ++i)
            out[i] = op(a[i], b[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    CountOperations(state);
}

template <class T> void BM_ExtendedAdd(benchmark::State& state) {
    RunBinary<T>(state, [](T x, T y) { return x + y; });
}
template <class T> void BM_ExtendedMul(benchmark::State& state) {
    RunBinary<T>(state, [](T x, T y) { return x * y; });
}
template <class T> void BM_ExtendedDiv(benchmark::State& state) {
    RunBinary<T>(state, [](T x, T y) { return x / y; });
}
template <class T> void BM_ExtendedToDouble(benchmark::State& state) {
    const std::vector<T> a = Operands<T>(3);
    std::vector<double> out(kOperands);
    for (auto _ : state) {
        for (size_t i = 0; i < kOperands; ++i)
            out[i] = a[i].ToDouble();
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    CountOperations(state);
}

// The same operations one after the other, each waiting for the previous result, as in a
// formula: a running sum, and a running product by factors near 1.
template <class T> void BM_ExtendedAddChain(benchmark::State& state) {
    const std::vector<T> a = Operands<T>(4);
    for (auto _ : state) {
        T sum = 0;
        for (size_t i = 0; i < kOperands; ++i)
            sum = sum + a[i];
        benchmark::DoNotOptimize(sum);
    }
    CountOperations(state);
}
template <class T> void BM_ExtendedMulChain(benchmark::State& state) {
    std::vector<T> factors = Operands<T>(5);
    for (T& f : factors) // 1 + a share below 1e-3
        f = T(1) + f / T(int64_t{1000000000000000});
    for (auto _ : state) {
        T product = 1;
        for (size_t i = 0; i < kOperands; ++i)
            product = product * factors[i];
        benchmark::DoNotOptimize(product);
    }
    CountOperations(state);
}

#if QUENDAL_SOFT_EXTENDED
#define QUENDAL_BENCH_BOTH(name) BENCHMARK_TEMPLATE(name, SoftExtended);
#else
#define QUENDAL_BENCH_BOTH(name)                                                                   \
    BENCHMARK_TEMPLATE(name, SoftExtended);                                                        \
    BENCHMARK_TEMPLATE(name, HardExtended);
#endif

QUENDAL_BENCH_BOTH(BM_ExtendedAdd)
QUENDAL_BENCH_BOTH(BM_ExtendedMul)
QUENDAL_BENCH_BOTH(BM_ExtendedDiv)
QUENDAL_BENCH_BOTH(BM_ExtendedToDouble)
QUENDAL_BENCH_BOTH(BM_ExtendedAddChain)
QUENDAL_BENCH_BOTH(BM_ExtendedMulChain)

} // namespace
} // namespace quendal
