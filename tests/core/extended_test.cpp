// The software extended type against the processor's x87 arithmetic, bit for bit: sums,
// differences, products, quotients and comparisons. Conversions are compared in
// extended_convert_test.cpp.

#include <gtest/gtest.h>

#if defined(__x86_64__) && __LDBL_MANT_DIG__ == 64

#include <cstdio>
#include <utility>
#include <vector>

#include "tests/core/x87_operands.h"

namespace quendal::x87 {
namespace {

// Operations per kind of operation and kind of operands; fewer under the sanitizers.
#ifdef NDEBUG
constexpr int kCount = 1 << 18;
#else
constexpr int kCount = 1 << 16;
#endif

enum class Op { Add, Sub, Mul, Div };
constexpr Op kOps[] = {Op::Add, Op::Sub, Op::Mul, Op::Div};
constexpr const char* kOpNames[] = {"+", "-", "*", "/"};

SoftExtended Apply(Op op, SoftExtended a, SoftExtended b) {
    switch (op) {
    case Op::Add:
        return a + b;
    case Op::Sub:
        return a - b;
    case Op::Mul:
        return a * b;
    case Op::Div:
        return a / b;
    }
    return {};
}

long double Apply(Op op, long double a, long double b) {
    switch (op) {
    case Op::Add:
        return a + b;
    case Op::Sub:
        return a - b;
    case Op::Mul:
        return a * b;
    case Op::Div:
        return a / b;
    }
    return 0;
}

using Pair = std::pair<SoftExtended, SoftExtended>;

// Operands whose result, before rounding, has an exponent field near `target` (below 1:
// subnormal, above kMaxFinite: overflow).
Pair Aimed(Operands& g, Op op, int64_t target) {
    const int64_t bias = kBias;
    if (op == Op::Add || op == Op::Sub) {
        const uint32_t ea = g.Exponent(target + g.Between(0, 1));
        const uint32_t eb = g.Exponent(int64_t{ea} - g.Between(0, 68));
        Pair p{g.Finite(ea), g.Finite(eb)};
        if (g.Below(2))
            std::swap(p.first, p.second);
        return p;
    }
    // a * b: ea + eb - bias; a / b: ea - eb + bias.
    const int64_t sum = op == Op::Mul ? target + bias : 0;
    const int64_t lo = op == Op::Mul ? sum - kMaxFinite : target - bias;
    const int64_t hi = op == Op::Mul ? sum : kMaxFinite + target - bias;
    const uint32_t ea =
        g.Exponent(g.Between(static_cast<int32_t>(std::max<int64_t>(lo, 0)),
                             static_cast<int32_t>(std::min<int64_t>(hi, kMaxFinite))));
    const int64_t eb = op == Op::Mul ? sum - ea : ea + bias - target;
    return {g.Finite(ea), g.Finite(g.Exponent(eb + g.Between(-1, 1)))};
}

// Nearly equal magnitudes whose difference is taken: the result loses most of its bits.
Pair Cancelling(Operands& g, Op op) {
    const uint32_t ea = g.Exponent(g.Between(0, kMaxFinite));
    const SoftExtended a = g.Finite(ea);
    uint64_t sig = a.Significand();
    const uint64_t step = g.Below(2) ? g.Below(1000) : g.Next() >> g.Between(1, 63);
    sig = g.Below(2) ? sig + step : sig - step;
    uint32_t eb = ea;
    if ((sig & kInteger) == 0 && ea > 0) { // a borrow out of the integer bit: next binade down
        sig <<= 1;
        eb = ea - 1;
    } else if (ea == 0) {
        sig &= ~kInteger;
    }
    const uint16_t sign = (a.SignExponent() & 0x8000) ^ (op == Op::Sub ? 0 : 0x8000);
    return {a, SoftExtended::FromBits(static_cast<uint16_t>(sign | eb), sig | (eb ? kInteger : 0))};
}

// Results that fall exactly halfway, or a bit beside: b half an ulp of a for sums; few
// significant bits for products; exact quotients, normal or subnormal, and their neighbours.
Pair Halfway(Operands& g, Op op) {
    const uint32_t ea = g.Exponent(g.Between(1, kMaxFinite));
    if (op == Op::Add || op == Op::Sub) {
        const uint32_t eb = g.Exponent(int64_t{ea} - 64 + g.Between(-1, 1));
        const uint64_t sigs[] = {kInteger, kInteger + 1, ~uint64_t{0}};
        const uint64_t sig = sigs[g.Below(3)];
        const uint16_t sign = g.Below(2) ? 0x8000 : 0;
        return {g.Finite(ea),
                SoftExtended::FromBits(static_cast<uint16_t>(sign | eb), eb ? sig : sig >> 1)};
    }
    const auto sparse = [&](int64_t e) {
        const uint64_t sig = (g.Next() | kInteger) & ~(~uint64_t{0} >> g.Between(1, 33));
        return SoftExtended::FromBits(
            static_cast<uint16_t>((g.Below(2) ? 0x8000 : 0) | g.Exponent(e)), sig);
    };
    if (op == Op::Mul)
        return {sparse(ea), sparse(2 * int64_t{kBias} - ea + g.Between(-40, 40))};
    // a = q b exactly (few bits), scaled so that q lands in the normal range or among the
    // subnormals, then moved by an ulp or not.
    const SoftExtended q = sparse(g.Between(kBias - 10, kBias + 10));
    const SoftExtended b = sparse(g.Between(kBias + 70, kBias + 400));
    const SoftExtended a = Soft(Hard(q) * Hard(b));
    const int32_t qe = q.SignExponent() & 0x7fff;
    const int32_t scale = g.Below(2) ? 0 : qe - g.Between(-64, 2);
    const uint64_t sig = a.Significand() + static_cast<uint64_t>(g.Between(-1, 1));
    return {SoftExtended::FromBits(static_cast<uint16_t>(a.SignExponent() - scale),
                                   sig & kInteger ? sig : a.Significand()),
            b};
}

// A subnormal operand and one that brings the result back among the normal numbers.
Pair SubnormalOperand(Operands& g, Op op) {
    const SoftExtended a = g.Finite(0);
    const int64_t eb = op == Op::Mul ? 2 * int64_t{kBias} - g.Between(0, 200) : g.Between(1, 200);
    Pair p{a, g.Finite(g.Exponent(eb))};
    if (op == Op::Mul && g.Below(2))
        std::swap(p.first, p.second);
    return p;
}

// Values where the rules change: zeros, infinities, NaN of both kinds and signs, the ends
// of the subnormal and normal ranges, pseudo-denormals, and the encodings x87 refuses.
std::vector<SoftExtended> Specials() {
    const std::pair<uint16_t, uint64_t> bits[] = {
        {0x0000, 0},
        {0x7fff, kInteger},
        {0x7fff, 0xc000000000000000},
        {0x7fff, 0xc000000000000001},
        {0x7fff, 0xe000000000000000},
        {0x7fff, 0x8000000000000001},
        {0x7fff, 0x8000000000000002},
        {0x7fff, 0xa000000000000000},
        {0x0000, 1},
        {0x0000, 0x7fffffffffffffff},
        {0x0000, kInteger}, // pseudo-denormals
        {0x0000, 0xffffffffffffffff},
        {0x0001, kInteger},
        {0x0001, 0xffffffffffffffff},
        {0x7ffe, 0xffffffffffffffff},
        {0x7ffe, kInteger},
        {0x3fff, kInteger},
        {0x3fff, 0xc000000000000000},
        {0x403e, kInteger},
        {0x3fff, 0x4000000000000000}, // unnormal
        {0x7fff, 0},                  // pseudo-infinity
        {0x7fff, 0x4000000000000000}, // pseudo-NaN
    };
    std::vector<SoftExtended> values;
    for (const auto& [se, sig] : bits) {
        values.push_back(SoftExtended::FromBits(se, sig));
        values.push_back(SoftExtended::FromBits(se | 0x8000, sig));
    }
    return values;
}

void CompareOp(Tally& tally, Op op, SoftExtended a, SoftExtended b) {
    const Bits80 soft = BitsOf(Apply(op, a, b));
    const Bits80 hard = BitsOf(Apply(op, Hard(a), Hard(b)));
    if (soft != hard) // the message is built only for a difference
        tally.Check(soft, hard,
                    Describe(a) + " " + kOpNames[static_cast<int>(op)] + " " + Describe(b) +
                        ": soft " + Describe(soft) + ", x87 " + Describe(hard));
    else
        tally.Check(soft, hard, "");
}

TEST(SoftExtended, ArithmeticMatchesX87BitForBit) {
    const char* const kinds[] = {"any encoding", "normal result", "subnormal result",
                                 "overflow",     "0..1e12",       "cancellation/subnormal operand",
                                 "halfway"};
    const std::vector<SoftExtended> specials = Specials();
    for (const Op op : kOps) {
        Operands g(0x51ed270b0d1e5a9f + static_cast<uint64_t>(op));
        for (int kind = 0; kind < 7; ++kind) {
            Tally tally;
            for (int i = 0; i < kCount; ++i) {
                Pair p;
                switch (kind) {
                case 0:
                    p = {g.AnyEncoding(), g.AnyEncoding()};
                    break;
                case 1:
                    p = Aimed(g, op, g.Between(1, kMaxFinite));
                    break;
                case 2:
                    p = Aimed(g, op, g.Between(-70, 3));
                    break;
                case 3:
                    p = Aimed(g, op, g.Between(kMaxFinite - 3, kMaxFinite + 70));
                    break;
                case 4:
                    p = {g.Realistic(), g.Realistic()};
                    break;
                case 5:
                    p = op == Op::Add || op == Op::Sub ? Cancelling(g, op)
                                                       : SubnormalOperand(g, op);
                    break;
                default:
                    p = Halfway(g, op);
                    break;
                }
                CompareOp(tally, op, p.first, p.second);
            }
            EXPECT_EQ(tally.differences, 0)
                << kOpNames[static_cast<int>(op)] << ", " << kinds[kind] << ":\n"
                << tally.examples;
            std::printf("  %s %-32s %lld compared, %lld different\n",
                        kOpNames[static_cast<int>(op)], kinds[kind],
                        static_cast<long long>(tally.compared),
                        static_cast<long long>(tally.differences));
        }
        Tally tally;
        for (const SoftExtended a : specials)
            for (const SoftExtended b : specials)
                CompareOp(tally, op, a, b);
        EXPECT_EQ(tally.differences, 0) << kOpNames[static_cast<int>(op)] << ", specials:\n"
                                        << tally.examples;
    }
}

// The six comparisons; NaN and refused encodings are unordered, ±0 equal, a pseudo-denormal
// equal to the normal number of the same value.
TEST(SoftExtended, ComparisonsMatchX87) {
    Operands g(0x2c6fe8a3b1d04417);
    std::vector<Pair> pairs;
    const std::vector<SoftExtended> specials = Specials();
    for (const SoftExtended a : specials)
        for (const SoftExtended b : specials)
            pairs.emplace_back(a, b);
    pairs.emplace_back(SoftExtended::FromBits(0, kInteger), SoftExtended::FromBits(1, kInteger));
    for (int i = 0; i < kCount; ++i) {
        const SoftExtended a = g.AnyEncoding();
        switch (g.Below(4)) {
        case 0:
            pairs.emplace_back(a, g.AnyEncoding());
            break;
        case 1:
            pairs.emplace_back(a, g.Below(2) ? a : -a);
            break;
        case 2: // a neighbour, or the same magnitude with the other sign
            pairs.emplace_back(a, SoftExtended::FromBits(a.SignExponent() ^ (g.Below(2) << 15),
                                                         a.Significand() + g.Between(-1, 1)));
            break;
        default:
            pairs.emplace_back(a, Aimed(g, Op::Sub, a.SignExponent() & 0x7fff).first);
            break;
        }
    }
    Tally tally;
    for (const auto& [a, b] : pairs) {
        const long double x = Hard(a), y = Hard(b);
        const int soft =
            (a == b) | (a != b) << 1 | (a < b) << 2 | (a <= b) << 3 | (a > b) << 4 | (a >= b) << 5;
        const int hard =
            (x == y) | (x != y) << 1 | (x < y) << 2 | (x <= y) << 3 | (x > y) << 4 | (x >= y) << 5;
        tally.Check(soft, hard, Describe(a) + " vs " + Describe(b));
    }
    EXPECT_EQ(tally.differences, 0) << tally.examples;
    std::printf("  comparisons: %lld pairs, 6 relations each, %lld different\n",
                static_cast<long long>(tally.compared), static_cast<long long>(tally.differences));
}

// Negation flips the sign alone, of NaN too, as fchs does.
TEST(SoftExtended, NegationMatchesX87) {
    Tally tally;
    for (const SoftExtended a : Specials())
        tally.Check(BitsOf(-a), BitsOf(-Hard(a)), Describe(a));
    EXPECT_EQ(tally.differences, 0) << tally.examples;
}

} // namespace
} // namespace quendal::x87

#endif
