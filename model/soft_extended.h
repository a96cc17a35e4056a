#pragma once

// The software back-end of Extended (see model/extended.h): x87 extended precision computed
// with integers, so that it gives the same bits on any processor. The value is x87's: a
// 64-bit significand with an explicit integer bit, a 15-bit exponent biased by 16383 and a
// sign; every operation rounds once, to nearest even, as x87 does at 64-bit precision.
//
// Between operations the fields are kept apart, each in a word of its own, and the exponent
// word tells the kind of encoding as well: a normal number keeps its exponent field (1 to
// 0x7ffe), a zero has kZero (2^31, below every normal number when taken as signed) and every
// other encoding (subnormals, pseudo-denormals, unnormals, infinities, NaN) its field plus
// kOther. No sign or exponent is masked out or packed on the way, a product needs no test of
// its operands (another kind of operand puts its exponent out of range), and one test finds
// two normal operands, or two that compare by their fields; x87's ten bytes are put
// together only when asked for (SignExponent).
//
// Sums, differences, products and quotients of normal operands with a normal result, and
// sums and differences with a zero, take the inline paths, as do the loads of integers and
// of doubles in double's normal range and the store of a value in that range; subnormals,
// infinities, NaN, overflow and underflow go to the paths out of line.

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
    constexpr SoftExtended() = default; // +0

    // Exact, as x87 loads them. An int32's significand has its lower half zero, which the
    // compiler sees: products and quotients by it need half the work where words are split.
    constexpr SoftExtended(int32_t value) {
        const uint32_t magnitude =
            value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        const int shift = std::countl_zero(magnitude | 1); // no branch for 0
        sig_ = static_cast<uint64_t>(magnitude << shift) << 32;
        exp_ = magnitude != 0 ? kBias + 31 - shift : kZero;
        sign_ = static_cast<uint32_t>(value) >> 31;
    }
    constexpr SoftExtended(int64_t value) {
        const uint64_t magnitude =
            value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        const int shift = std::countl_zero(magnitude | 1);
        sig_ = magnitude << shift;
        exp_ = magnitude != 0 ? kBias + 63 - shift : kZero;
        sign_ = static_cast<uint32_t>(static_cast<uint64_t>(value) >> 63);
    }
    // A signalling NaN is made quiet, as x87 loads it.
    constexpr SoftExtended(double value) {
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        const uint32_t field = static_cast<uint32_t>(bits >> 52) & 0x7ff;
        sign_ = static_cast<uint32_t>(bits >> 63);
        if (field - 1 < 0x7fe) [[likely]] { // normal
            exp_ = field + (kBias - 1023);
            sig_ = bits << 11 | kInteger;
            return;
        }
        const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
        if (field == 0x7ff) {
            exp_ = kOther | kMaxExp;
            sig_ = kInteger | (fraction == 0 ? 0 : kQuiet | fraction << 11);
        } else if (fraction != 0) { // a subnormal double is normal here
            const int shift = std::countl_zero(fraction);
            sig_ = fraction << shift;
            exp_ = kBias - 1022 - (shift - 11);
        } // else zero
    }

    // Any encoding, for constants that must not depend on how a compiler reads a literal.
    static constexpr SoftExtended FromBits(uint16_t signExponent, uint64_t significand) {
        const uint32_t field = signExponent & kMaxExp;
        const bool normal = field - 1 < kMaxExp - 1 && (significand & kInteger) != 0;
        const bool zero = field == 0 && significand == 0;
        return Make(static_cast<uint32_t>(signExponent >> 15),
                    normal ? field : (zero ? kZero : kOther | field), significand);
    }
    constexpr uint16_t SignExponent() const {
        return static_cast<uint16_t>(sign_ << 15 | (exp_ & kMaxExp));
    }
    constexpr uint64_t Significand() const { return sig_; }

    // Rounded to nearest even at double's precision and exponent, as x87 stores a double.
    double ToDouble() const {
        // Double's normal range; the exponent word of any other encoding lies beyond it.
        const uint32_t field = exp_ - (kBias - 1022);
        if (field <= 2045) [[likely]] {
            // Up when the 11 bits below are above half, or half with m odd: when they carry
            // out of 11 bits with 0x3ff and m's last bit added.
            uint64_t m = sig_ >> 11;
            m += ((sig_ & 0x7ff) + 0x3ff + (m & 1)) >> 11;
            // m includes the integer bit, which adds 1 to the exponent field, and a carry
            // out of the significand adds another (infinity past the largest double).
            return std::bit_cast<double>((static_cast<uint64_t>(sign_) << 63) +
                                         (static_cast<uint64_t>(field) << 52) + m);
        }
        return ToDoubleSlow(sign_, exp_, sig_);
    }
    explicit operator double() const { return ToDouble(); }

    constexpr SoftExtended operator-() const { return Make(sign_ ^ 1, exp_, sig_); }

    friend QUENDAL_SOFT_INLINE SoftExtended operator+(SoftExtended a, SoftExtended b) {
        return Add(a, b, b.sign_);
    }
    friend QUENDAL_SOFT_INLINE SoftExtended operator-(SoftExtended a, SoftExtended b) {
        return Add(a, b, b.sign_ ^ 1);
    }
    friend QUENDAL_SOFT_INLINE SoftExtended operator*(SoftExtended a, SoftExtended b) {
        // Computed as if both were normal: the exponent words of any other operand put the
        // product's exponent out of the normal range, to the path out of line, which then
        // also takes products that overflow or underflow.
        uint64_t high, low;
        wide::Multiply(a.sig_, b.sig_, high, low);
        // The product of significands in [1, 2) is in [1, 4): below 2 it is shifted left by
        // one. gcc branches on the case: each use in the calculation keeps mostly to one
        // side, and a mask without a branch measured slower.
        const bool top = (high >> 63) != 0;
        const uint64_t sig = top ? high : high << 1 | low >> 63;
        const uint64_t rest = top ? low : low << 1;
        const uint32_t e = a.exp_ + b.exp_ + top - kBias;
        if (e - 1 < kMaxExp - 2) [[likely]] // a carry of the rounding cannot overflow
            return RoundNormal<false>(a.sign_ ^ b.sign_, static_cast<int32_t>(e), sig, rest);
        return Fields(MulSlow(a.sign_, a.exp_, a.sig_, b.sign_, b.exp_, b.sig_));
    }
    friend QUENDAL_SOFT_INLINE SoftExtended operator/(SoftExtended a, SoftExtended b) {
        const uint32_t sign = a.sign_ ^ b.sign_;
        if (BothNormal(a, b)) [[likely]] {
            int32_t e = static_cast<int32_t>(a.exp_ - b.exp_) + kBias;
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
                    return Make(sign, static_cast<uint32_t>(e), a.sig_);
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
                    return Make(sign, static_cast<uint32_t>(e), q);
            }
        } else if (a.exp_ == kZero && IsNormal(b)) {
            return Make(sign, kZero, 0);
        }
        return Fields(DivSlow(a.sign_, a.exp_, a.sig_, b.sign_, b.exp_, b.sig_));
    }
    SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
    SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
    SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
    SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

    // NaN, and the encodings that x87 refuses as operands, compare unordered: only != holds.
    // Normal numbers and zeros compare by their fields; the rest on the general paths.
    friend QUENDAL_SOFT_INLINE bool operator==(SoftExtended a, SoftExtended b) {
        if (BothPlain(a, b)) // equal fields, or both zero whatever their signs
            return a.sig_ == b.sig_ && a.exp_ == b.exp_ && (a.sign_ == b.sign_ || a.sig_ == 0);
        return Equal(a, b);
    }
    friend QUENDAL_SOFT_INLINE bool operator!=(SoftExtended a, SoftExtended b) { return !(a == b); }
    friend QUENDAL_SOFT_INLINE bool operator<(SoftExtended a, SoftExtended b) {
        if (BothPlain(a, b))
            return PlainLess(a, b);
        return Less(a, b);
    }
    friend QUENDAL_SOFT_INLINE bool operator>(SoftExtended a, SoftExtended b) { return b < a; }
    friend QUENDAL_SOFT_INLINE bool operator<=(SoftExtended a, SoftExtended b) {
        if (BothPlain(a, b))
            return !PlainLess(b, a);
        return Less(a, b) || Equal(a, b);
    }
    friend QUENDAL_SOFT_INLINE bool operator>=(SoftExtended a, SoftExtended b) { return b <= a; }

    // Toward zero as model/numbers.h's TruncToInt64 of a long double: NaN gives 0 and values
    // beyond 64 bits saturate.
    friend int64_t TruncToInt64(SoftExtended x) {
        const int32_t e = static_cast<int32_t>(x.exp_); // zero's word is negative
        if (e < static_cast<int32_t>(kBias + 63)) {     // zero or normal below 2^63
            if (e < static_cast<int32_t>(kBias))
                return 0;
            const uint64_t magnitude = x.sig_ >> (kBias + 63 - x.exp_);
            return static_cast<int64_t>(x.sign_ ? 0 - magnitude : magnitude);
        }
        if (x.exp_ < kMaxExp) // normal, 2^63 or more
            return x.sign_ ? INT64_MIN : INT64_MAX;
        return TruncSlow(x.sign_, x.exp_, x.sig_);
    }

    // As the C library's frexpl and ldexpl: the fraction in [0.5, 1) and its power of two;
    // x scaled by 2^n, rounded once when it becomes subnormal.
    friend SoftExtended frexp(SoftExtended x, int* exponent) { return Frexp(x, exponent); }
    friend SoftExtended ldexp(SoftExtended x, int n) { return Ldexp(x, n); }

private:
    static constexpr uint32_t kBias = 16383;
    static constexpr uint32_t kMaxExp = 0x7fff;
    static constexpr uint32_t kOther = 0x10000;   // in the exponent word: not normal, not zero
    static constexpr uint32_t kZero = 0x80000000; // the exponent word of zero
    static constexpr uint64_t kInteger = uint64_t{1} << 63;
    static constexpr uint64_t kQuiet = uint64_t{1} << 62;

    static constexpr SoftExtended Make(uint32_t sign, uint32_t exp, uint64_t sig) {
        SoftExtended x;
        x.sig_ = sig;
        x.exp_ = exp;
        x.sign_ = sign;
        return x;
    }

    // bSign is b's sign, or its opposite for a difference.
    static QUENDAL_SOFT_INLINE SoftExtended Add(SoftExtended a, SoftExtended b, uint32_t bSign) {
        uint32_t ea = a.exp_, eb = b.exp_;
        uint64_t ma = a.sig_, mb = b.sig_;
        uint32_t sign = a.sign_; // the sign of the larger magnitude
        // a becomes the operand of the larger exponent word, taken as signed: zero's is below
        // every normal number's and the other encodings' above. Of equal exponents, the larger
        // magnitude is found by the difference.
        if (static_cast<int32_t>(ea) < static_cast<int32_t>(eb)) {
            std::swap(ea, eb);
            std::swap(ma, mb);
            sign = bSign;
        }
        // A normal number and a normal number or zero: a zero, aligned to the other operand,
        // adds nothing. Sums with a zero are common enough at some uses that a branch to a
        // path of their own would often be mispredicted.
        if (ea - 1 < kMaxExp - 1) [[likely]] {
            const bool sameSign = a.sign_ == bSign;
            const uint32_t d = ea - eb;
            if (d < 64) {
                // b aligned to a: hi under a's significand, lo the bits below it (exact).
                const uint64_t hi = mb >> d, lo = (mb << 1) << (63 - d);
                if (sameSign) {
                    const uint64_t sum = ma + hi;
                    if (sum >= ma)
                        return RoundNormal(sign, static_cast<int32_t>(ea), sum, lo);
                    // A carry into the next binade: one bit more moves below the significand
                    // (lo's last bit is 0, as d < 64).
                    return RoundNormal(sign, static_cast<int32_t>(ea) + 1, (sum >> 1) | kInteger,
                                       (sum << 63) | (lo >> 1));
                }
                uint64_t high = ma - hi - (lo != 0);
                const uint64_t low = 0 - lo;
                if (high > ma) { // equal exponents and b the larger: no bits below, b - a
                    high = 0 - high;
                    sign = bSign;
                }
                if (high != 0) {
                    const int shift = std::countl_zero(high);
                    const int32_t e = static_cast<int32_t>(ea) - shift;
                    if (e >= 1) // shift > 1 only when d <= 1, where low is 0 or 2^63
                        return RoundNormal(sign, e, high << shift | ((low >> 1) >> (63 - shift)),
                                           low << shift);
                } else if (low == 0) { // equal magnitudes: +0, as x87 rounds to nearest
                    return Make(0, kZero, 0);
                }
            } else if (d >= 66) { // b is below a quarter of a's ulp
                return Make(sign, ea, ma);
            }
        } else if (ea == kZero) {                   // the larger a zero: two zeros
            return Make(a.sign_ & bSign, kZero, 0); // -0 + -0 only
        }
        return Fields(AddSlow(a.sign_, a.exp_, a.sig_, b.sign_, b.exp_, b.sig_, bSign));
    }

    // Rounds sig and the bits below it, rest, (the integer bit of sig set; exponent e >= 1)
    // to 64 bits. Without kMayOverflow, e is below kMaxExp - 1.
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
            return Make(sign, kOther | kMaxExp, kInteger);
        return Make(sign, static_cast<uint32_t>(e), sig);
    }

    // The result of a path out of line, taken field by field: where a value comes back
    // through memory (WebAssembly), the inline path's result then stays out of it.
    static QUENDAL_SOFT_INLINE SoftExtended Fields(SoftExtended x) {
        return Make(x.sign_, x.exp_, x.sig_);
    }

    // Normal: exponent word 1 to 0x7ffe.
    static constexpr bool IsNormal(SoftExtended x) { return x.exp_ - 1 < kMaxExp - 1; }
    // Both normal at one test: each word less 1 is below 0x7ffe for a normal number, 2^31 - 1
    // for zero and above 0xffff for any other encoding.
    static constexpr bool BothNormal(SoftExtended a, SoftExtended b) {
        return ((a.exp_ - 1) | (b.exp_ - 1)) < 0x8000;
    }
    // Both normal or zero, the values that compare by their fields: of the words' bits 15 to
    // 30, only another encoding's have one set.
    static constexpr bool BothPlain(SoftExtended a, SoftExtended b) {
        return ((a.exp_ | b.exp_) & 0x7fff8000) == 0;
    }
    // Whether the magnitude of exponent word ea and significand ma is below that of eb and
    // mb, for normal numbers and zeros: the words taken as signed order zero below every
    // normal number.
    static constexpr bool Below(uint32_t ea, uint64_t ma, uint32_t eb, uint64_t mb) {
        if (ea != eb)
            return static_cast<int32_t>(ea) < static_cast<int32_t>(eb);
        return ma < mb;
    }
    // a < b for normal numbers and zeros.
    static QUENDAL_SOFT_INLINE bool PlainLess(SoftExtended a, SoftExtended b) {
        if (a.sign_ != b.sign_) // ±0 are equal
            return a.sign_ != 0 && (a.sig_ | b.sig_) != 0;
        return a.sign_ ? Below(b.exp_, b.sig_, a.exp_, a.sig_)
                       : Below(a.exp_, a.sig_, b.exp_, b.sig_);
    }
    static bool Equal(SoftExtended a, SoftExtended b);
    static bool Less(SoftExtended a, SoftExtended b);

    // Rounds high * 2^64 + low (bit 127 set; the value (high * 2^64 + low) * 2^(e - kBias - 127))
    // for any e: overflow gives infinity and e < 1 a subnormal, rounded once at its own
    // precision.
    [[gnu::cold]] static SoftExtended Pack(uint32_t sign, int32_t e, uint64_t high, uint64_t low);
    // The paths out of line take their operands' fields by value: an operand passed whole goes
    // through memory in WebAssembly, copied there before the inline path has even begun.
    // AddSlow adds b with the sign addedSign (b's own, or its opposite).
    [[gnu::cold]] static SoftExtended AddSlow(uint32_t aSign, uint32_t aExp, uint64_t aSig,
                                              uint32_t bSign, uint32_t bExp, uint64_t bSig,
                                              uint32_t addedSign);
    [[gnu::cold]] static SoftExtended MulSlow(uint32_t aSign, uint32_t aExp, uint64_t aSig,
                                              uint32_t bSign, uint32_t bExp, uint64_t bSig);
    [[gnu::cold]] static SoftExtended DivSlow(uint32_t aSign, uint32_t aExp, uint64_t aSig,
                                              uint32_t bSign, uint32_t bExp, uint64_t bSig);
    [[gnu::cold]] static double ToDoubleSlow(uint32_t sign, uint32_t exp, uint64_t sig);
    [[gnu::cold]] static int64_t TruncSlow(uint32_t sign, uint32_t exp, uint64_t sig);
    static SoftExtended Frexp(SoftExtended x, int* exponent);
    static SoftExtended Ldexp(SoftExtended x, int n);

    uint64_t sig_ = 0;     // the significand as stored, the integer bit included
    uint32_t exp_ = kZero; // the exponent field of a normal number; kZero; or kOther + the field
    uint32_t sign_ = 0;    // 0 or 1
};

} // namespace quendal
