// The software extended type's conversions and scalings against x87 and the C library, bit
// for bit, and constants written as bits on either back-end.

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "model/extended.h"

#if defined(__x86_64__) && __LDBL_MANT_DIG__ == 64
#define QUENDAL_X87_REFERENCE 1
#include "model/numbers.h"
#include "tests/core/x87_operands.h"
#endif

namespace quendal {
namespace {

// The core's decimal constants (model/extended.h) are 1 / k, which a correctly rounded
// division gives too, on either back-end and any processor; on x86 they are the literals.
struct Constant {
    int32_t k;
    Extended value;
};
const Constant kConstants[] = {
    {200, kHalfPercent},
    {250, kSubStepShare},
    {10000, kTenThousandth},
    {100, kHundredth},
    {10, kTenth},
    {5, kFifth},
    {3, kThird},
    {60000, kSixtyThousandth},
};

TEST(Extended, ConstantsWrittenAsBits) {
    EXPECT_EQ(kHalfPercent.ToDouble(), 0.005);
    for (const Constant& c : kConstants) {
        const Extended quotient = Extended(1) / Extended(c.k);
        EXPECT_EQ(quotient.SignExponent(), c.value.SignExponent()) << "1 / " << c.k;
        EXPECT_EQ(quotient.Significand(), c.value.Significand()) << "1 / " << c.k;
    }
#if QUENDAL_X87_REFERENCE
    const long double literals[] = {0.005L, 0.004L, 0.0001L,  0.01L,
                                    0.1L,   0.2L,   1.0L / 3, 1.0L / 60000};
    for (size_t i = 0; i < std::size(literals); ++i)
        EXPECT_EQ(x87::BitsOf(literals[i]), (x87::Bits80{kConstants[i].value.SignExponent(),
                                                         kConstants[i].value.Significand()}))
            << "1 / " << kConstants[i].k;
#endif
}

#if QUENDAL_X87_REFERENCE

using x87::Bits80;
using x87::BitsOf;
using x87::Describe;
using x87::Hard;
using x87::kBias;
using x87::kInteger;
using x87::Operands;
using x87::Soft;
using x87::Tally;

// Values per kind of conversion; fewer under the sanitizers.
#ifdef NDEBUG
constexpr int kCount = 1 << 20;
#else
constexpr int kCount = 1 << 18;
#endif

void Report(const char* what, const Tally& tally) {
    EXPECT_EQ(tally.differences, 0) << what << ":\n" << tally.examples;
    std::printf("  %-38s %lld compared, %lld different\n", what,
                static_cast<long long>(tally.compared), static_cast<long long>(tally.differences));
}

uint64_t DoubleBits(double d) {
    return std::bit_cast<uint64_t>(d);
}

// Loads exactly, as fild and fld do (a signalling NaN made quiet).
TEST(SoftExtended, LoadsLikeX87) {
    Operands g(0x7d3a55c0e1b29f64);
    Tally doubles, int64s, int32s;
    for (int i = 0; i < kCount; ++i) {
        uint64_t bits = g.Next();
        if (g.Below(4) == 0) // subnormal, infinite or NaN
            bits = (bits & 0x800fffffffffffff) | (g.Below(2) ? 0x7ff0000000000000 : 0);
        const double d = g.Below(4) == 0 ? g.Realistic() : std::bit_cast<double>(bits);
        doubles.Check(BitsOf(SoftExtended(d)), BitsOf(static_cast<long double>(d)),
                      std::to_string(DoubleBits(d)));
        const int64_t n = static_cast<int64_t>(g.Next()) >> g.Below(64);
        int64s.Check(BitsOf(SoftExtended(n)), BitsOf(static_cast<long double>(n)),
                     std::to_string(n));
        const int32_t m = static_cast<int32_t>(g.Next()) >> g.Below(32);
        int32s.Check(BitsOf(SoftExtended(m)), BitsOf(static_cast<long double>(m)),
                     std::to_string(m));
    }
    for (const int64_t n : {INT64_MIN, INT64_MAX, int64_t{0}, int64_t{-1}})
        int64s.Check(BitsOf(SoftExtended(n)), BitsOf(static_cast<long double>(n)),
                     std::to_string(n));
    Report("from double", doubles);
    Report("from int64", int64s);
    Report("from int32", int32s);
}

// A value whose significand, cut where double's precision ends at its exponent (11 bits
// below for a normal double, more for a subnormal), is followed by exactly half, a bit less
// or more, nothing or all ones.
SoftExtended BesideADouble(Operands& g) {
    const int32_t e = g.Between(kBias - 1022 - 66, kBias + 1024);
    const int32_t field = e - static_cast<int32_t>(kBias) + 1023;
    const int drop = std::min(64, field >= 1 ? 11 : 12 - field);
    const uint64_t low = drop == 64 ? ~uint64_t{0} : (uint64_t{1} << drop) - 1;
    const uint64_t half = uint64_t{1} << (drop - 1);
    const uint64_t tails[] = {half, half - 1, half + 1, 0, low, g.Next() & low};
    uint64_t sig = ((g.Next() | kInteger) & ~low) | (tails[g.Below(6)] & low);
    if (g.Below(8) == 0) // the top of a binade, where rounding carries
        sig |= ~low;
    sig |= kInteger;
    const uint16_t sign = g.Below(2) ? 0x8000 : 0;
    return SoftExtended::FromBits(static_cast<uint16_t>(sign | e), sig);
}

// Stored to double as fstp rounds: once, at double's precision and exponent, overflowing to
// infinity; NaN keeps its sign and upper payload.
TEST(SoftExtended, StoresToDoubleLikeX87) {
    Operands g(0x0b8e6c41f2d3a957);
    Tally any, beside, computed;
    const auto check = [](Tally& t, SoftExtended x) {
        const double soft = x.ToDouble();
        const double hard = static_cast<double>(Hard(x));
        if (DoubleBits(soft) != DoubleBits(hard))
            t.Check(DoubleBits(soft), DoubleBits(hard), Describe(x));
        else
            t.Check(0, 0, "");
    };
    for (int i = 0; i < kCount; ++i) {
        check(any, g.AnyEncoding());
        check(beside, BesideADouble(g));
        check(computed, Soft(static_cast<long double>(g.Realistic()) * g.Realistic() /
                             (1 + static_cast<long double>(g.Realistic()))));
    }
    for (const uint16_t se : {0x7fffu, 0x3fffu, 0u, 0xffffu}) // refused encodings, zeros
        for (const uint64_t sig : {uint64_t{0}, uint64_t{1} << 62, kInteger})
            check(any, SoftExtended::FromBits(se, sig));
    Report("to double, any encoding", any);
    Report("to double, beside a double", beside);
    Report("to double, computed 0..1e12", computed);
}

// Toward zero, as model/numbers.h truncates a long double: NaN 0, beyond 64 bits saturated.
TEST(SoftExtended, TruncatesLikeNumbersTruncToInt64) {
    Operands g(0x93c4e1a7d2086b5f);
    Tally any, nearInteger, nearLimit;
    const auto check = [](Tally& t, SoftExtended x) {
        const int64_t soft = TruncToInt64(x), hard = TruncToInt64(Hard(x));
        t.Check(soft, hard, soft == hard ? std::string() : Describe(x));
    };
    for (int i = 0; i < kCount; ++i) {
        check(any, g.AnyEncoding());
        // An integer, a half between two, and their neighbours an ulp away.
        const int64_t n = static_cast<int64_t>(g.Next()) >> g.Below(64);
        SoftExtended x = g.Below(2) ? SoftExtended(n) : Soft(n + 0.5L);
        const uint64_t sig = x.Significand() + static_cast<uint64_t>(g.Between(-1, 1));
        if (sig & kInteger)
            x = SoftExtended::FromBits(x.SignExponent(), sig);
        check(nearInteger, x);
        // Around ±2^63.
        const uint64_t sigs[] = {kInteger, kInteger + 1, ~uint64_t{0}, ~uint64_t{0} - 1};
        const uint16_t e = static_cast<uint16_t>(kBias + 62 + g.Below(3));
        check(nearLimit,
              SoftExtended::FromBits(static_cast<uint16_t>((g.Below(2) ? 0x8000 : 0) | e),
                                     sigs[g.Below(4)]));
    }
    Report("to int64, any encoding", any);
    Report("to int64, beside an integer or a half", nearInteger);
    Report("to int64, around 2^63", nearLimit);
}

// frexp and ldexp as the C library's frexpl and ldexpl: exact, rounded once when ldexp
// makes a value subnormal, infinity past the largest.
TEST(SoftExtended, FrexpAndLdexpLikeTheCLibrary) {
    Operands g(0x46f1a2b9c7e03d18);
    Tally frexps, ldexps;
    for (int i = 0; i < kCount; ++i) {
        const SoftExtended x = g.AnyEncoding();
        int softExp = 0, hardExp = 0;
        const Bits80 soft = BitsOf(frexp(x, &softExp));
        const Bits80 hard = BitsOf(std::frexp(Hard(x), &hardExp));
        frexps.Check(std::make_pair(soft, softExp), std::make_pair(hard, hardExp), Describe(x));
        // Scalings that stay in range, that reach the subnormals, and the extremes.
        const int32_t e = x.SignExponent() & 0x7fff;
        int n = g.Between(-33000, 33000);
        if (g.Below(2))
            n = g.Between(-70, 2) - e;
        else if (g.Below(8) == 0)
            n = g.Below(2) ? INT_MIN : INT_MAX;
        const Bits80 softScaled = BitsOf(ldexp(x, n));
        const Bits80 hardScaled = BitsOf(std::ldexp(Hard(x), n));
        ldexps.Check(softScaled, hardScaled,
                     softScaled == hardScaled ? std::string()
                                              : Describe(x) + " by " + std::to_string(n));
    }
    Report("frexp", frexps);
    Report("ldexp", ldexps);
}

#if !QUENDAL_SOFT_EXTENDED
// A formula of the core's shape through either back-end's interface: mixed with int and
// double operands, truncated, compared, split and scaled by powers of two, stored.
template <class T> uint64_t Formula(double x, int64_t c, int32_t k) {
    const T d = T(x) - T(c) * T(0.01) / T(k);
    int exponent = 0;
    const T fraction = frexp(d, &exponent);
    const T low = ldexp(T(1), exponent - 1);
    const T scaled = ldexp(fraction, -16400) + T(TruncToInt64(d * T(k)));
    uint64_t bits = std::bit_cast<uint64_t>((scaled + low).ToDouble());
    bits ^=
        static_cast<uint64_t>((d < low) | (d <= low) << 1 | (d > -low) << 2 | (d >= fraction) << 3 |
                              (d == d && d <= d && d >= d) << 4 | (d != low) << 5)
        << 58;
    return bits ^ (uint64_t{(-d).SignExponent()} << 40) ^ fraction.Significand();
}

TEST(HardExtended, InterfaceGivesTheSoftBackEndsResults) {
    Operands g(0x6a09e667f3bcc908);
    Tally tally;
    for (int i = 0; i < 10000; ++i) {
        const double x = g.Realistic();
        const int64_t c = static_cast<int64_t>(g.Next() >> g.Between(1, 63)) - (1 << 20);
        const int32_t k = g.Between(1, 100000);
        tally.Check(Formula<SoftExtended>(x, c, k), Formula<HardExtended>(x, c, k),
                    std::to_string(x) + ", " + std::to_string(c) + ", " + std::to_string(k));
    }
    EXPECT_EQ(tally.differences, 0) << tally.examples;
}
#endif

#endif

} // namespace
} // namespace quendal
