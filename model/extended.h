#pragma once

// Extended: the number type of the calculation core, x87 extended precision (a 64-bit
// significand with an explicit integer bit, a 15-bit exponent, round to nearest even at every
// operation, conversions to double rounded once). Every figure of the tables depends on
// those roundings, so that they are exact only where each operation gives x87's bits.
//
// Two back-ends with one interface:
// - the hardware's long double, each operation one x87 instruction, where long double is
//   x87 extended precision (x86 and x86-64 with gcc or clang): the default there;
// - SoftExtended (model/soft_extended.h), the same roundings computed with integers, which
//   gives the same figures on any other processor. It is chosen by itself where long double
//   is another format, and on x86-64 by -DQUENDAL_SOFT_EXTENDED=1.
//
// Constants are written as bits (FromBits) or converted exactly from int or double: a
// literal such as 0.005L reads as another value where long double has another format.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#if !defined(QUENDAL_SOFT_EXTENDED)
#if defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64
#define QUENDAL_SOFT_EXTENDED 0
#else
#define QUENDAL_SOFT_EXTENDED 1
#endif
#endif

#if QUENDAL_SOFT_EXTENDED
#include "model/soft_extended.h"
#else
#include <limits>

#include "model/numbers.h"
#endif

// For the small helpers of the sub-steps that take or give an Extended: inlined at every use
// whatever the compiler's estimate, as the WebAssembly builds otherwise pass it through memory.
#define QUENDAL_EXTENDED_INLINE __attribute__((always_inline)) inline

namespace quendal {

#if QUENDAL_SOFT_EXTENDED

using Extended = SoftExtended;

// Registers are the hardware back-end's concern.
inline void KeepInRegister(SoftExtended&) {}

#else

static_assert(std::numeric_limits<long double>::digits == 64,
              "the hardware back-end of Extended needs x87 long double; build with "
              "-DQUENDAL_SOFT_EXTENDED=1");

class HardExtended {
public:
    constexpr HardExtended() = default;
    constexpr HardExtended(int32_t value) : v_(value) {}
    constexpr HardExtended(int64_t value) : v_(static_cast<long double>(value)) {}
    constexpr HardExtended(double value) : v_(value) {}

    static constexpr HardExtended FromBits(uint16_t signExponent, uint64_t significand) {
        return HardExtended(std::bit_cast<long double>(Bits{significand, signExponent, {}}));
    }
    uint16_t SignExponent() const {
        uint16_t se;
        std::memcpy(&se, reinterpret_cast<const unsigned char*>(&v_) + 8, sizeof se);
        return se;
    }
    uint64_t Significand() const {
        uint64_t sig;
        std::memcpy(&sig, &v_, sizeof sig);
        return sig;
    }

    double ToDouble() const { return static_cast<double>(v_); }
    explicit operator double() const { return ToDouble(); }

    HardExtended operator-() const { return HardExtended(-v_); }
    friend HardExtended operator+(HardExtended a, HardExtended b) {
        return HardExtended(a.v_ + b.v_);
    }
    friend HardExtended operator-(HardExtended a, HardExtended b) {
        return HardExtended(a.v_ - b.v_);
    }
    friend HardExtended operator*(HardExtended a, HardExtended b) {
        return HardExtended(a.v_ * b.v_);
    }
    friend HardExtended operator/(HardExtended a, HardExtended b) {
        return HardExtended(a.v_ / b.v_);
    }
    HardExtended& operator+=(HardExtended b) { return *this = *this + b; }
    HardExtended& operator-=(HardExtended b) { return *this = *this - b; }
    HardExtended& operator*=(HardExtended b) { return *this = *this * b; }
    HardExtended& operator/=(HardExtended b) { return *this = *this / b; }

    friend bool operator==(HardExtended a, HardExtended b) { return a.v_ == b.v_; }
    friend bool operator!=(HardExtended a, HardExtended b) { return a.v_ != b.v_; }
    friend bool operator<(HardExtended a, HardExtended b) { return a.v_ < b.v_; }
    friend bool operator>(HardExtended a, HardExtended b) { return a.v_ > b.v_; }
    friend bool operator<=(HardExtended a, HardExtended b) { return a.v_ <= b.v_; }
    friend bool operator>=(HardExtended a, HardExtended b) { return a.v_ >= b.v_; }

    friend int64_t TruncToInt64(HardExtended x) { return quendal::TruncToInt64(x.v_); }
    friend HardExtended frexp(HardExtended x, int* exponent) {
        return HardExtended(std::frexp(x.v_, exponent));
    }
    friend HardExtended ldexp(HardExtended x, int n) { return HardExtended(std::ldexp(x.v_, n)); }
    // Hides the value from the compiler, which then keeps a constant in an x87 register
    // instead of loading the 80-bit literal again (four micro-operations) at every use.
    friend void KeepInRegister(HardExtended& x) {
#if defined(__x86_64__) && defined(__GNUC__)
        __asm__("" : "+t"(x.v_));
#else
        (void)x;
#endif
    }

private:
    struct Bits {
        uint64_t significand;
        uint16_t signExponent;
        uint16_t padding[(sizeof(long double) - 10) / 2];
    };
    explicit constexpr HardExtended(long double value) : v_(value) {}

    long double v_ = 0;
};

using Extended = HardExtended;

#endif

// The decimal constants of the core as x87 reads the literals (0.01L and so on).
inline constexpr Extended kHundredth = Extended::FromBits(0x3ff8, 0xa3d70a3d70a3d70a);     // 0.01
inline constexpr Extended kTenThousandth = Extended::FromBits(0x3ff1, 0xd1b71758e219652c); // 1e-4
inline constexpr Extended kHalfPercent = Extended::FromBits(0x3ff7, 0xa3d70a3d70a3d70a);   // 0.005
inline constexpr Extended kSubStepShare = Extended::FromBits(0x3ff7, 0x83126e978d4fdf3b);  // 0.004
inline constexpr Extended kTenth = Extended::FromBits(0x3ffb, 0xcccccccccccccccd);         // 0.1
inline constexpr Extended kFifth = Extended::FromBits(0x3ffc, 0xcccccccccccccccd);         // 0.2
inline constexpr Extended kThird = Extended::FromBits(0x3ffd, 0xaaaaaaaaaaaaaaab);         // 1/3
inline constexpr Extended kSixtyThousandth =
    Extended::FromBits(0x3fef, 0x8bcf64e5ec10ee1d); // 1/60000

} // namespace quendal
