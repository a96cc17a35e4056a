#pragma once

// Operands for comparing the software extended type with the processor's x87 arithmetic,
// and the bookkeeping of the comparison. Only where long double is x87 extended precision.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/soft_extended.h"

namespace quendal::x87 {

// The ten bytes of an x87 value; long double's padding bytes are not compared.
struct Bits80 {
    uint16_t se = 0;
    uint64_t sig = 0;
    bool operator==(const Bits80&) const = default;
};

inline Bits80 BitsOf(SoftExtended x) {
    return {x.SignExponent(), x.Significand()};
}

inline Bits80 BitsOf(long double x) {
    Bits80 b;
    std::memcpy(&b.sig, &x, sizeof b.sig);
    std::memcpy(&b.se, reinterpret_cast<const unsigned char*>(&x) + 8, sizeof b.se);
    return b;
}

inline long double Hard(SoftExtended x) {
    long double v = 0;
    const uint64_t sig = x.Significand();
    const uint16_t se = x.SignExponent();
    std::memcpy(&v, &sig, sizeof sig);
    std::memcpy(reinterpret_cast<unsigned char*>(&v) + 8, &se, sizeof se);
    return v;
}

inline SoftExtended Soft(long double x) {
    const Bits80 b = BitsOf(x);
    return SoftExtended::FromBits(b.se, b.sig);
}

inline std::string Describe(Bits80 b) {
    char text[32];
    std::snprintf(text, sizeof text, "%04x:%016llx", b.se, static_cast<unsigned long long>(b.sig));
    return text;
}

inline std::string Describe(SoftExtended x) {
    return Describe(BitsOf(x));
}

constexpr uint32_t kBias = 16383;
constexpr uint32_t kMaxFinite = 0x7ffe;
constexpr uint64_t kInteger = uint64_t{1} << 63;

// Counts the comparisons and the differences of one kind, and keeps the first differences
// for the failure message.
struct Tally {
    int64_t compared = 0;
    int64_t differences = 0;
    std::string examples;

    template <class T> void Check(const T& soft, const T& hard, const std::string& what) {
        ++compared;
        if (soft == hard)
            return;
        if (++differences <= 5)
            examples += "  " + what + "\n";
    }
};

// Deterministic operands: random bit patterns and the patterns where rounding is decided
// (ties, carries, long runs of ones or zeros, few significant bits).
class Operands {
public:
    explicit Operands(uint64_t seed) : state_(seed) {}

    uint64_t Next() { // splitmix64
        uint64_t z = (state_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 32) * n >> 32); }
    int32_t Between(int32_t lo, int32_t hi) {
        return lo + static_cast<int32_t>(Below(static_cast<uint32_t>(hi - lo + 1)));
    }

    // A significand with the integer bit set.
    uint64_t Significand() {
        const uint64_t r = Next() | kInteger;
        const int k = Between(1, 63);
        const uint64_t low = (uint64_t{1} << k) - 1;
        switch (Below(10)) {
        case 0:
            return r & ~low; // trailing zeros
        case 1:
            return r | low; // trailing ones
        case 2:
            return (r & ~low) | (uint64_t{1} << (k - 1)); // a one, then zeros
        case 3:
            return r & ~(~uint64_t{0} >> Between(1, 40)); // few significant bits
        case 4:
            return ~uint64_t{0} - Below(4);
        case 5:
            return kInteger + Below(4);
        default:
            return r;
        }
    }

    // A value of the given exponent field; 0 gives a subnormal (or zero), with leading zeros.
    SoftExtended Finite(uint32_t exponent) {
        const uint16_t sign = Below(2) ? 0x8000 : 0;
        uint64_t sig = Significand();
        if (exponent == 0)
            sig = (sig & ~kInteger) >> Below(64);
        return SoftExtended::FromBits(static_cast<uint16_t>(sign | exponent), sig);
    }

    // An exponent field near `target`, within [0, kMaxFinite].
    uint32_t Exponent(int64_t target) {
        return static_cast<uint32_t>(std::min<int64_t>(std::max<int64_t>(target, 0), kMaxFinite));
    }

    // Any encoding that x87 arithmetic produces: finite over the whole range, zeros,
    // infinities and NaN (quiet or signalling, any payload).
    SoftExtended AnyEncoding() {
        const uint16_t sign = Below(2) ? 0x8000 : 0;
        switch (Below(16)) {
        case 0:
            return SoftExtended::FromBits(sign, 0);
        case 1:
            return SoftExtended::FromBits(sign | 0x7fff, kInteger);
        case 2:
            return SoftExtended::FromBits(sign | 0x7fff, Next() | kInteger | (Below(2) ? 0 : 1));
        case 3:
            return Finite(0);
        default:
            return Finite(Below(kMaxFinite) + 1);
        }
    }

    // A figure of the simulation: a count or an amount up to 1e12, a share, a rate.
    double Realistic() {
        const double unit = static_cast<double>(Next() >> 11) * 0x1p-53; // [0, 1)
        switch (Below(4)) {
        case 0:
            return static_cast<double>(Next() % 1000000000001);
        case 1:
            return unit * 1e12;
        case 2:
            return unit;
        default: // spread over the decades
            return (1 + unit) * kDecades[Below(19)];
        }
    }

private:
    static constexpr double kDecades[19] = {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1,
                                            1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12};
    uint64_t state_;
};

} // namespace quendal::x87
