#pragma once

// Products and quotients of 64-bit words with a 128-bit intermediate, for the software
// extended type (model/soft_extended.h). Where the processor multiplies 64 by 64 bits into
// 128 (x86-64, arm64), unsigned __int128 gives that instruction; where it divides 128 by 64
// bits (x86-64), an instruction does. Elsewhere the compiler would call its generic helpers,
// which pass 128-bit values through memory (WebAssembly) and divide through general steps;
// instead the words are split into 32-bit halves, whose products and quotients are single
// instructions (WebAssembly's i64, arm64's 64-bit udiv). The significand of an integer below
// 2^32 has its lower half zero: the compiler drops the products of that half where it knows
// it (model/soft_extended.h's int32 loads), and a divisor with its lower half zero, as most
// of the core's, takes two exact digits without corrections.

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
// with the divisor's lower half zero it is exact.
QUENDAL_WIDE_INLINE uint64_t DivideHalves(uint64_t high, uint64_t low, uint64_t d,
                                          uint64_t& remainder) {
    constexpr uint64_t kDigit = uint64_t{1} << 32;
    const uint64_t d1 = d >> 32, d0 = static_cast<uint32_t>(d);
    const uint64_t n1 = low >> 32, n0 = static_cast<uint32_t>(low);
    if (d0 == 0) { // (high * 2^32 + n1) / d1 by two digits, n0 below the remainder
        const uint64_t q1 = high / d1, r1 = high - q1 * d1;
        const uint64_t middle = r1 << 32 | n1;
        const uint64_t q0 = middle / d1, r0 = middle - q0 * d1;
        remainder = r0 << 32 | n0;
        return q1 << 32 | q0;
    }
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
#else
    return DivideHalves(high, low, d, remainder);
#endif
}

} // namespace quendal::wide
