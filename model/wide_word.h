#pragma once

// Products and quotients of 64-bit words with a 128-bit intermediate, for the software
// extended type (model/soft_extended.h). Where the processor multiplies 64 by 64 bits into
// 128 and divides 128 by 64 bits (x86-64), or at least multiplies (arm64), unsigned __int128
// gives those instructions. WebAssembly has neither: the compiler calls helpers that pass
// their 128-bit values through memory, and its 128-bit division runs bit by bit. There the
// words are split into 32-bit halves, whose products and quotients are single instructions.

#include <cstdint>

#define QUENDAL_WIDE_INLINE __attribute__((always_inline)) inline

namespace quendal::wide {

// a * b as high * 2^64 + low, from the four products of the halves.
QUENDAL_WIDE_INLINE void MultiplyHalves(uint64_t a, uint64_t b, uint64_t& high, uint64_t& low) {
    const uint64_t a0 = static_cast<uint32_t>(a), a1 = a >> 32;
    const uint64_t b0 = static_cast<uint32_t>(b), b1 = b >> 32;
    const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    // The middle column: three 32-bit parts, which cannot overflow 64 bits.
    const uint64_t middle = (p00 >> 32) + static_cast<uint32_t>(p01) + static_cast<uint32_t>(p10);
    low = middle << 32 | static_cast<uint32_t>(p00);
    high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
}

// (high * 2^64 + low) / d and its remainder, for d with bit 63 set and high < d (the
// quotient fits 64 bits): long division by 32-bit digits. Each quotient digit estimated from
// the divisor's upper half is at most 2 too large (the divisor is normalised) and corrected;
// a divisor whose lower half is zero, as every integer below 2^32, needs no correction.
QUENDAL_WIDE_INLINE uint64_t DivideHalves(uint64_t high, uint64_t low, uint64_t d,
                                          uint64_t& remainder) {
    constexpr uint64_t kDigit = uint64_t{1} << 32;
    const uint64_t d1 = d >> 32, d0 = static_cast<uint32_t>(d);
    const auto digit = [d1, d0](uint64_t top, uint64_t next) { // (top:next) / d, for top < d
        uint64_t q = top / d1, rest = top - q * d1;
        while (q >= kDigit || q * d0 > (rest << 32 | next)) {
            --q;
            rest += d1;
            if (rest >= kDigit)
                break;
        }
        return q;
    };
    const uint64_t n1 = low >> 32, n0 = static_cast<uint32_t>(low);
    const uint64_t q1 = digit(high, n1);
    const uint64_t middle = (high << 32 | n1) - q1 * d; // the remainder so far, below d
    const uint64_t q0 = digit(middle, n0);
    remainder = (middle << 32 | n0) - q0 * d;
    return q1 << 32 | q0;
}

QUENDAL_WIDE_INLINE void Multiply(uint64_t a, uint64_t b, uint64_t& high, uint64_t& low) {
#if defined(__wasm__)
    MultiplyHalves(a, b, high, low);
#else
    const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
    high = static_cast<uint64_t>(p >> 64);
    low = static_cast<uint64_t>(p);
#endif
}

QUENDAL_WIDE_INLINE uint64_t Divide(uint64_t high, uint64_t low, uint64_t d, uint64_t& remainder) {
#if defined(__x86_64__)
    uint64_t q;
    __asm__("divq %[d]" : "=a"(q), "=d"(remainder) : "a"(low), "d"(high), [d] "rm"(d) : "cc");
    return q;
#elif defined(__wasm__)
    return DivideHalves(high, low, d, remainder);
#else
    const unsigned __int128 n = static_cast<unsigned __int128>(high) << 64 | low;
    remainder = static_cast<uint64_t>(n % d);
    return static_cast<uint64_t>(n / d);
#endif
}

} // namespace quendal::wide
