#pragma once

// The software back-end of Extended (see model/extended.h): x87 extended precision computed
// with integers, so that it gives the same bits on any processor. The layout is x87's: a
// 64-bit significand with an explicit integer bit, a 15-bit exponent biased by 16383 and a
// sign. Every operation rounds once, to nearest even, as x87 does at 64-bit precision.
//
// Sums, differences, products and quotients of normal operands with a normal result, and
// the conversion of a value in double's normal range, take the inline paths; subnormals,
// sums, differences, products and quotients with a zero beside a normal operand take them
// too; subnormals, infinities, NaN, overflow and underflow go to the paths out of line.

#include <bit>
#include <cstdint>
#include <utility>

#include "model/wide_word.h"

#if !defined(__SIZEOF_INT128__)
#error "The software extended type needs unsigned __int128 (gcc or clang)"
#endif

// The operations' fast paths are inlined at every use, whatever the compiler's estimate of
// their size: a call costs as much as the operation.
#define QUENDAL_SOFT_INLINE __attribute__((always_inline)) inline

namespace quendal {

class SoftExtended {
public:
    using U128 = unsigned __int128;

    constexpr SoftExtended() = default; // +0

    // Exact, as x87 loads them.
    constexpr SoftExtended(int32_t value) : SoftExtended(int64_t{value}) {}
    constexpr SoftExtended(int64_t value) {
        if (value == 0)
            return;
        const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
        const int shift = std::countl_zero(magnitude);
        sig_ = magnitude << shift;
        se_ = static_cast<uint16_t>((value < 0 ? kSign : 0) | (kBias + 63 - shift));
    }
    // A signalling NaN is made quiet, as x87 loads it.
    constexpr SoftExtended(double value) {
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        const uint32_t sign = static_cast<uint32_t>(bits >> 48) & kSign;
        const uint32_t exponent = static_cast<uint32_t>(bits >> 52) & 0x7ff;
        const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
        uint32_t e = exponent + (kBias - 1023);
        if (exponent - 1 < 0x7fe) [[likely]] { // normal
            sig_ = kInteger | fraction << 11;
        } else if (exponent == 0x7ff) {
            e = kMaxExp;
            sig_ = kInteger | (fraction == 0 ? 0 : kQuiet | fraction << 11);
        } else if (fraction != 0) { // a subnormal double is normal here
            const int shift = std::countl_zero(fraction);
            sig_ = fraction << shift;
            e = kBias - 1022 - (shift - 11);
        } else {
            e = 0;
        }
        se_ = static_cast<uint16_t>(sign | e);
    }

    // Any encoding, for constants that must not depend on how a compiler reads a literal.
    static constexpr SoftExtended FromBits(uint16_t signExponent, uint64_t significand) {
        SoftExtended x;
        x.se_ = signExponent;
        x.sig_ = significand;
        return x;
    }
    constexpr uint16_t SignExponent() const { return static_cast<uint16_t>(se_); }
    constexpr uint64_t Significand() const { return sig_; }

    // Rounded to nearest even at double's precision and exponent, as x87 stores a double.
    double ToDouble() const {
        const uint32_t e = se_ & kMaxExp;
        if (e - (kBias - 1022) <= 2045 && (sig_ & kInteger) != 0) { // double's normal range
            const uint64_t rest = sig_ & 0x7ff;
            uint64_t m = sig_ >> 11;
            m += (rest > 0x400) | ((rest == 0x400) & m);
            // m includes the integer bit, which adds 1 to the exponent field, and a carry
            // out of the significand adds another (infinity past the largest double).
            const uint64_t field = e - kBias + 1022;
            return std::bit_cast<double>((static_cast<uint64_t>(se_ & kSign) << 48) +
                                         (field << 52) + m);
        }
        return ToDoubleSlow(static_cast<uint32_t>(se_), sig_);
    }
    explicit operator double() const { return ToDouble(); }

    SoftExtended operator-() const { return FromBits(static_cast<uint16_t>(se_ ^ kSign), sig_); }

    friend QUENDAL_SOFT_INLINE SoftExtended operator+(SoftExtended a, SoftExtended b) {
        return Add(a, b, static_cast<uint32_t>(b.se_));
    }
    friend QUENDAL_SOFT_INLINE SoftExtended operator-(SoftExtended a, SoftExtended b) {
        return Add(a, b, static_cast<uint32_t>(b.se_ ^ kSign));
    }
    friend QUENDAL_SOFT_INLINE SoftExtended operator*(SoftExtended a, SoftExtended b) {
        const uint32_t sign = (a.se_ ^ b.se_) & kSign;
        if (BothNormal(a, b)) {
            const uint32_t ea = a.se_ & kMaxExp, eb = b.se_ & kMaxExp;
            // The product of significands in [1, 2) is in [1, 4): normalised without a branch,
            // shifted left by s = 1 when below 2.
            uint64_t high, low;
            wide::Multiply(a.sig_, b.sig_, high, low);
            const uint32_t top = static_cast<uint32_t>(high >> 63);
            const uint32_t s = top ^ 1;
            high = (high << s) | ((low >> 63) & s);
            low <<= s;
            const int32_t e = static_cast<int32_t>(ea + eb + top) - kBias;
            if (static_cast<uint32_t>(e - 1) < kMaxExp - 2) // a carry cannot overflow
                return RoundNormal<false>(sign, e, high, low);
            return Pack(sign, e, static_cast<U128>(high) << 64 | low);
        }
        if ((IsNormal(a) || IsZero(a)) && (IsNormal(b) || IsZero(b))) // one of them zero
            return FromBits(static_cast<uint16_t>(sign), 0);
        return MulSlow(a.SignExponent(), a.sig_, b.SignExponent(), b.sig_);
    }
    friend QUENDAL_SOFT_INLINE SoftExtended operator/(SoftExtended a, SoftExtended b) {
        if (BothNormal(a, b)) {
            const uint32_t ea = a.se_ & kMaxExp, eb = b.se_ & kMaxExp;
            int32_t e = static_cast<int32_t>(ea - eb) + kBias;
            // The quotient's integer bit lands on bit 63 of q: the dividend is a.sig_ * 2^63,
            // or 2^64 when a.sig_ < b.sig_; its high half is below b.sig_ either way.
            uint64_t high = a.sig_ >> 1, low = a.sig_ << 63;
            if (a.sig_ < b.sig_) {
                high = a.sig_;
                low = 0;
                --e;
            }
            if (static_cast<uint32_t>(e - 1) < kMaxExp - 1) {
                if (b.sig_ == kInteger) // by a power of two: exact, the dividend's significand
                    return FromBits(static_cast<uint16_t>(((a.se_ ^ b.se_) & kSign) | e), a.sig_);
                uint64_t r;
                uint64_t q = wide::Divide(high, low, b.sig_, r);
                // Up when 2r is above the divisor, or equal to it with q odd; without a branch,
                // as the direction is as good as random. rest compares 2r with the divisor
                // without overflow.
                const uint64_t rest = b.sig_ - r;
                q += static_cast<uint64_t>(r > rest) | (static_cast<uint64_t>(r == rest) & q & 1);
                if (q == 0) [[unlikely]] { // all ones rounded up: the next binade
                    q = kInteger;
                    ++e;
                }
                if (e < static_cast<int32_t>(kMaxExp))
                    return FromBits(static_cast<uint16_t>(((a.se_ ^ b.se_) & kSign) | e), q);
            }
        } else if (IsZero(a) && IsNormal(b)) {
            return FromBits(static_cast<uint16_t>((a.se_ ^ b.se_) & kSign), 0);
        }
        return DivSlow(a.SignExponent(), a.sig_, b.SignExponent(), b.sig_);
    }
    SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
    SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
    SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
    SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

    // NaN, and the encodings that x87 refuses as operands, compare unordered: only != holds.
    // Normal numbers and zeros compare by their fields; the rest on the general paths.
    friend QUENDAL_SOFT_INLINE bool operator==(SoftExtended a, SoftExtended b) {
        if (IsPlain(a) && IsPlain(b)) // equal fields, or both zero whatever their signs
            return a.sig_ == b.sig_ && (a.se_ == b.se_ || a.sig_ == 0);
        return Equal(a, b);
    }
    friend QUENDAL_SOFT_INLINE bool operator!=(SoftExtended a, SoftExtended b) { return !(a == b); }
    friend QUENDAL_SOFT_INLINE bool operator<(SoftExtended a, SoftExtended b) {
        if (IsPlain(a) && IsPlain(b))
            return PlainLess(a, b);
        return Less(a, b);
    }
    friend QUENDAL_SOFT_INLINE bool operator>(SoftExtended a, SoftExtended b) { return b < a; }
    friend QUENDAL_SOFT_INLINE bool operator<=(SoftExtended a, SoftExtended b) {
        if (IsPlain(a) && IsPlain(b))
            return !PlainLess(b, a);
        return Less(a, b) || Equal(a, b);
    }
    friend QUENDAL_SOFT_INLINE bool operator>=(SoftExtended a, SoftExtended b) { return b <= a; }

    // Toward zero as model/numbers.h's TruncToInt64 of a long double: NaN gives 0 and values
    // beyond 64 bits saturate.
    friend int64_t TruncToInt64(SoftExtended x) {
        const uint32_t e = x.se_ & kMaxExp;
        const bool negative = (x.se_ & kSign) != 0;
        if (e < kBias + 63) {
            if (e < kBias || (x.sig_ & kInteger) == 0) // below 1, or refused by x87
                return 0;
            const uint64_t magnitude = x.sig_ >> (kBias + 63 - e);
            return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
        }
        if (Unordered(x))
            return 0;
        return negative ? INT64_MIN : INT64_MAX;
    }

    // As the C library's frexpl and ldexpl: the fraction in [0.5, 1) and its power of two;
    // x scaled by 2^n, rounded once when it becomes subnormal.
    friend SoftExtended frexp(SoftExtended x, int* exponent) { return Frexp(x, exponent); }
    friend SoftExtended ldexp(SoftExtended x, int n) { return Ldexp(x, n); }

private:
    static constexpr uint32_t kBias = 16383;
    static constexpr uint32_t kMaxExp = 0x7fff;
    static constexpr uint32_t kSign = 0x8000;
    static constexpr uint64_t kInteger = uint64_t{1} << 63;
    static constexpr uint64_t kQuiet = uint64_t{1} << 62;

    static QUENDAL_SOFT_INLINE SoftExtended Add(SoftExtended a, SoftExtended b, uint32_t bSignExp) {
        uint32_t ea = a.se_ & kMaxExp, eb = bSignExp & kMaxExp;
        if (BothNormal(a, b)) {
            uint64_t ma = a.sig_, mb = b.sig_;
            const bool sameSign = ((a.se_ ^ bSignExp) & kSign) == 0;
            uint32_t sa = a.se_ & kSign;            // the sign of the larger magnitude
            if (ea < eb || (ea == eb && ma < mb)) { // a becomes the larger magnitude
                std::swap(ea, eb);
                std::swap(ma, mb);
                sa = bSignExp & kSign;
            }
            const uint32_t d = ea - eb;
            if (d < 64) {
                // b aligned to a: hi under a's significand, lo the bits below it (exact).
                const uint64_t hi = mb >> d, lo = (mb << 1) << (63 - d);
                if (sameSign) {
                    const uint64_t sum = ma + hi;
                    if (sum >= ma)
                        return RoundNormal(sa, static_cast<int32_t>(ea), sum, lo);
                    // A carry into the next binade: one bit more moves below the significand
                    // (lo's last bit is 0, as d < 64).
                    return RoundNormal(sa, static_cast<int32_t>(ea) + 1, (sum >> 1) | kInteger,
                                       (sum << 63) | (lo >> 1));
                }
                const uint64_t high = ma - hi - (lo != 0), low = 0 - lo;
                if (high != 0) {
                    const int shift = std::countl_zero(high);
                    const int32_t e = static_cast<int32_t>(ea) - shift;
                    if (e >= 1) // shift > 1 only when d <= 1, where low is 0 or 2^63
                        return RoundNormal(sa, e, high << shift | ((low >> 1) >> (63 - shift)),
                                           low << shift);
                }
            } else if (d >= 66) { // b is below a quarter of a's ulp
                return FromBits(static_cast<uint16_t>(sa | ea), ma);
            }
        } else if ((IsNormal(a) || IsZero(a)) && (IsNormal(b) || IsZero(b))) { // a zero: exact
            if (!IsZero(b))
                return FromBits(static_cast<uint16_t>(bSignExp), b.sig_);
            if (!IsZero(a))
                return a;
            return FromBits(static_cast<uint16_t>(a.se_ & bSignExp & kSign), 0); // -0 + -0 only
        }
        return AddSlow(a.SignExponent(), a.sig_, b.SignExponent(), b.sig_, bSignExp);
    }

    // Rounds sig and the bits below it, rest, (the integer bit of sig set; exponent field
    // e >= 1) to 64 bits.
    // Without kMayOverflow, e is below kMaxExp - 1.
    template <bool kMayOverflow = true>
    static QUENDAL_SOFT_INLINE SoftExtended RoundNormal(uint32_t sign, int32_t e, uint64_t sig,
                                                        uint64_t rest) {
        // Up when rest is above half an ulp, or half with sig odd: exactly when
        // rest + (2^63 - 1) + (sig & 1) carries out of 64 bits. No branch, as the direction is
        // as good as random.
        uint64_t ignored;
        sig += __builtin_add_overflow(rest, kInteger - 1 + (sig & 1), &ignored);
        if (sig == 0) [[unlikely]] { // all ones rounded up: the next binade
            sig = kInteger;
            ++e;
        }
        if (kMayOverflow && e >= static_cast<int32_t>(kMaxExp)) [[unlikely]]
            return FromBits(static_cast<uint16_t>(sign | kMaxExp), kInteger);
        return FromBits(static_cast<uint16_t>(sign | e), sig);
    }
    // The same for r (bit 127 set; the value r * 2^(e - kBias - 127)).
    static QUENDAL_SOFT_INLINE SoftExtended RoundNormal(uint32_t sign, int32_t e, U128 r) {
        return RoundNormal(sign, e, static_cast<uint64_t>(r >> 64), static_cast<uint64_t>(r));
    }

    // A normal number: exponent field 1 to 0x7ffe and the integer bit set.
    static constexpr bool IsNormal(SoftExtended x) {
        return (x.se_ & kMaxExp) - 1u < kMaxExp - 1 && (x.sig_ & kInteger) != 0;
    }
    // Both normal, the integer bits tested at once.
    static constexpr bool BothNormal(SoftExtended a, SoftExtended b) {
        return (a.se_ & kMaxExp) - 1u < kMaxExp - 1 && (b.se_ & kMaxExp) - 1u < kMaxExp - 1 &&
               (a.sig_ & b.sig_ & kInteger) != 0;
    }
    static constexpr bool IsZero(SoftExtended x) { return ((x.se_ & kMaxExp) | x.sig_) == 0; }

    // Normal or zero: the values that compare by their fields.
    static constexpr bool IsPlain(SoftExtended x) { return IsNormal(x) || IsZero(x); }
    static constexpr bool Equal(SoftExtended a, SoftExtended b) {
        if (Unordered(a) || Unordered(b))
            return false;
        const U128 ka = Magnitude(a), kb = Magnitude(b);
        return ka == kb && (ka == 0 || ((a.se_ ^ b.se_) & kSign) == 0);
    }
    static constexpr bool Less(SoftExtended a, SoftExtended b) {
        if (Unordered(a) || Unordered(b))
            return false;
        const U128 ka = Magnitude(a), kb = Magnitude(b);
        if ((a.se_ ^ b.se_) & kSign) // ±0 are equal
            return (a.se_ & kSign) != 0 && (ka | kb) != 0;
        return (a.se_ & kSign) ? kb < ka : ka < kb;
    }
    // a < b for normal numbers and zeros: ordered by exponent field and significand.
    static QUENDAL_SOFT_INLINE bool PlainLess(SoftExtended a, SoftExtended b) {
        if ((a.se_ ^ b.se_) & kSign) // ±0 are equal
            return (a.se_ & kSign) != 0 && (a.sig_ | b.sig_) != 0;
        const U128 ka = static_cast<U128>(a.se_ & kMaxExp) << 64 | a.sig_;
        const U128 kb = static_cast<U128>(b.se_ & kMaxExp) << 64 | b.sig_;
        return (a.se_ & kSign) ? kb < ka : ka < kb;
    }

    static constexpr bool Unordered(SoftExtended x) {
        const uint32_t e = x.se_ & kMaxExp;
        if (e == kMaxExp)
            return x.sig_ != kInteger;
        return e != 0 && (x.sig_ & kInteger) == 0;
    }
    // The magnitude as a number that orders like it; a pseudo-denormal (exponent 0 with the
    // integer bit) has the value of exponent 1.
    static constexpr U128 Magnitude(SoftExtended x) {
        uint32_t e = x.se_ & kMaxExp;
        if (e == 0 && (x.sig_ & kInteger))
            e = 1;
        return static_cast<U128>(e) << 64 | x.sig_;
    }

    // Rounds r (bit 127 set; the value r * 2^(e - kBias - 127)) for any e: overflow gives
    // infinity and e < 1 a subnormal, rounded once at its own precision.
    [[gnu::cold]] static SoftExtended Pack(uint32_t sign, int32_t e, U128 r);
    // The paths out of line take their operands' fields by value: an operand passed whole goes
    // through memory in WebAssembly, copied there before the inline path has even begun.
    // AddSlow adds b with the sign and exponent addedSignExp (b's own, or its negation).
    [[gnu::cold]] static SoftExtended AddSlow(uint32_t aSignExp, uint64_t aSig, uint32_t bSignExp,
                                              uint64_t bSig, uint32_t addedSignExp);
    [[gnu::cold]] static SoftExtended MulSlow(uint32_t aSignExp, uint64_t aSig, uint32_t bSignExp,
                                              uint64_t bSig);
    [[gnu::cold]] static SoftExtended DivSlow(uint32_t aSignExp, uint64_t aSig, uint32_t bSignExp,
                                              uint64_t bSig);
    static SoftExtended Frexp(SoftExtended x, int* exponent);
    static SoftExtended Ldexp(SoftExtended x, int n);
    [[gnu::cold]] static double ToDoubleSlow(uint32_t signExp, uint64_t sig); // by value: no spill

    uint64_t sig_ = 0;
    // The sign and exponent field, of 16 bits, kept in a whole word: where a value passes
    // through memory (in WebAssembly, to and from every call), a copy then reads back the
    // word as it was stored, instead of waiting for a 16-bit store to reach memory.
    uint64_t se_ = 0;
};

} // namespace quendal
