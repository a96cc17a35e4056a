// The 32-bit-half products and quotients that the software extended type uses in WebAssembly,
// against unsigned __int128 on this processor: the edges of each digit's correction, then
// random words.

#include "model/wide_word.h"

#include <gtest/gtest.h>

namespace quendal::wide {
namespace {

using U128 = unsigned __int128;
constexpr uint64_t kTop = uint64_t{1} << 63;
constexpr uint64_t kOnes = ~uint64_t{0};

uint64_t Mix(uint64_t& state) { // splitmix64
    uint64_t z = (state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

void ExpectProduct(uint64_t a, uint64_t b) {
    uint64_t high, low;
    MultiplyHalves(a, b, high, low);
    const U128 p = static_cast<U128>(a) * b;
    EXPECT_EQ(high, static_cast<uint64_t>(p >> 64)) << std::hex << a << " * " << b;
    EXPECT_EQ(low, static_cast<uint64_t>(p)) << std::hex << a << " * " << b;
}

// For a normalised d and high < d.
void ExpectQuotient(uint64_t high, uint64_t low, uint64_t d) {
    uint64_t remainder;
    const uint64_t q = DivideHalves(high, low, d, remainder);
    const U128 n = static_cast<U128>(high) << 64 | low;
    EXPECT_EQ(q, static_cast<uint64_t>(n / d)) << std::hex << high << ":" << low << " / " << d;
    EXPECT_EQ(remainder, static_cast<uint64_t>(n % d))
        << std::hex << high << ":" << low << " / " << d;
}

TEST(WideWord, ProductsOfHalvesAtTheCarries) {
    const uint64_t words[] = {0,
                              1,
                              kOnes,
                              kTop,
                              kTop + 1,
                              0xffffffff,
                              0x100000000,
                              0xffffffff00000000,
                              0x80000000ffffffff,
                              0xa3d70a3d70a3d70a,
                              0xc800000000000000};
    for (const uint64_t a : words)
        for (const uint64_t b : words)
            ExpectProduct(a, b);
}

TEST(WideWord, QuotientsOfHalvesAtTheCorrections) {
    // Divisors with a zero lower half (integers), a full one (each digit estimate too large),
    // and dividends just below the divisor, where the digits are largest.
    const uint64_t divisors[] = {kTop,
                                 kTop + 1,
                                 kOnes,
                                 0x8000000100000000,
                                 0x80000000ffffffff,
                                 0xfa00000000000000,
                                 0xa3d70a3d70a3d70a,
                                 0xffffffff00000001};
    for (const uint64_t d : divisors) {
        const uint64_t highs[] = {0, 1, d >> 1, (d >> 32 << 32) - 1, d - (d >> 32), d - 1};
        for (const uint64_t high : highs)
            for (const uint64_t low : {uint64_t{0}, kOnes, kTop, d, 0 - d, uint64_t{0xffffffff}})
                ExpectQuotient(high, low, d);
    }
}

TEST(WideWord, RandomWordsAsTheBuiltInType) {
    uint64_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        const uint64_t a = Mix(state), b = Mix(state);
        // Every fourth divisor an integer below 2^32 as a significand: a zero lower half.
        const uint64_t d = (i % 4 == 0 ? b & 0xffffffff00000000 : b) | kTop;
        ExpectProduct(a, b);
        ExpectQuotient(a % d, Mix(state), d);
    }
}

} // namespace
} // namespace quendal::wide
