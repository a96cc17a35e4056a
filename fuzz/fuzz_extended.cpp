// Runs the software extended type (model/soft_extended.h) beside the processor's x87
// arithmetic on operations that the bytes choose, and requires the same bits from both: sums,
// differences, products and quotients, the six comparisons, negation, the loads of int32,
// int64 and double, the store to double, the truncation to int64, frexp and ldexp.
//
// The input is a program for eight registers, each held by both types, which start as edge
// values. Every instruction is an opcode byte (the operation in the low four bits, the
// destination register above them) and its operands: a byte naming two source registers for
// the operations, raw bits for the loads (an x87 encoding as ten bytes, significand first, as
// in fuzz/dict/extended.dict). Results stay in the registers, so that operations chain.
// The number of operations compared is printed at exit. Each product and quotient also
// checks, on its operands' significands, the 32-bit-half arithmetic that replaces the
// 128-bit instructions on other processors (model/wide_word.h), against unsigned __int128.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/numbers.h"
#include "model/soft_extended.h"
#include "model/wide_word.h"

#if __LDBL_MANT_DIG__ != 64
#error "fuzz_extended compares with x87 long double: x86 only"
#endif

namespace {

using quendal::SoftExtended;

struct Bits80 {
    uint64_t sig;
    uint16_t se;
    bool operator==(const Bits80&) const = default;
};

Bits80 BitsOf(SoftExtended x) {
    return {x.Significand(), x.SignExponent()};
}

Bits80 BitsOf(long double x) {
    Bits80 b;
    std::memcpy(&b.sig, &x, sizeof b.sig);
    std::memcpy(&b.se, reinterpret_cast<const unsigned char*>(&x) + 8, sizeof b.se);
    return b;
}

long double HardFromBits(uint16_t se, uint64_t sig) {
    long double x = 0;
    std::memcpy(&x, &sig, sizeof sig);
    std::memcpy(reinterpret_cast<unsigned char*>(&x) + 8, &se, sizeof se);
    return x;
}

// The encodings that x87 arithmetic itself produces: zeros, normal and subnormal numbers,
// infinities and NaN; not pseudo-denormals, unnormals, pseudo-infinities or pseudo-NaN.
bool Canonical(Bits80 b) {
    const uint32_t e = b.se & 0x7fff;
    const bool integerBit = (b.sig >> 63) != 0;
    return e == 0 ? !integerBit : integerBit;
}

uint64_t gCompared = 0;

void PrintCount() {
    std::fprintf(stderr, "fuzz_extended: %llu operations compared, none different\n",
                 static_cast<unsigned long long>(gCompared));
}

[[noreturn]] void Differ(const char* what, Bits80 a, Bits80 b, const char* result) {
    std::fprintf(stderr, "fuzz_extended: %s of %04x:%016llx and %04x:%016llx differs: %s\n", what,
                 a.se, static_cast<unsigned long long>(a.sig), b.se,
                 static_cast<unsigned long long>(b.sig), result);
    std::abort();
}

void Same(const char* what, Bits80 a, Bits80 b, Bits80 soft, Bits80 hard) {
    ++gCompared;
    if (soft == hard) [[likely]]
        return;
    char text[96];
    std::snprintf(text, sizeof text, "soft %04x:%016llx, x87 %04x:%016llx", soft.se,
                  static_cast<unsigned long long>(soft.sig), hard.se,
                  static_cast<unsigned long long>(hard.sig));
    Differ(what, a, b, text);
}

void SameInt(const char* what, Bits80 a, Bits80 b, int64_t soft, int64_t hard) {
    ++gCompared;
    if (soft == hard) [[likely]]
        return;
    char text[96];
    std::snprintf(text, sizeof text, "got %lld, expected %lld", static_cast<long long>(soft),
                  static_cast<long long>(hard));
    Differ(what, a, b, text);
}

// The products and quotients of halves as the processor's 128-bit arithmetic gives them.
void SameWords(Bits80 x, Bits80 y) {
    using U128 = unsigned __int128;
    uint64_t high, low;
    quendal::wide::MultiplyHalves(x.sig, y.sig, high, low);
    const U128 p = static_cast<U128>(x.sig) * y.sig;
    SameInt("product of halves", x, y, static_cast<int64_t>(high ^ low),
            static_cast<int64_t>(static_cast<uint64_t>(p >> 64) ^ static_cast<uint64_t>(p)));
    // A normalised divisor and a dividend's high word below it, as the division's paths give.
    const uint64_t d = y.sig | uint64_t{1} << 63;
    const uint64_t top = x.sig < d ? x.sig : x.sig >> 1, next = x.sig << 63 | x.sig >> 1;
    uint64_t remainder;
    const uint64_t q = quendal::wide::DivideHalves(top, next, d, remainder);
    const U128 n = static_cast<U128>(top) << 64 | next;
    SameInt("quotient of halves", x, y, static_cast<int64_t>(q),
            static_cast<int64_t>(static_cast<uint64_t>(n / d)));
    SameInt("remainder of halves", x, y, static_cast<int64_t>(remainder),
            static_cast<int64_t>(static_cast<uint64_t>(n % d)));
}

enum Op : uint8_t {
    kLoad80,
    kLoadDouble,
    kLoadInt32,
    kLoadInt64,
    kAdd,
    kSub,
    kMul,
    kDiv,
    kAddTo, // the compound assignments: destination op= source
    kSubFrom,
    kMulBy,
    kDivBy,
    kNegateCompare, // negation, and the six relations of two registers
    kToDouble,      // stored to double and loaded back
    kTrunc,         // truncated to int64 and loaded back
    kFrexpLdexp,
};

// Reads the input front to back; past its end every read gives zeros and Done() holds.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool Done() const { return p_ >= end_; }
    template <class T> T Take() {
        T value{};
        const size_t n = static_cast<size_t>(end_ - p_) < sizeof value ? end_ - p_ : sizeof value;
        std::memcpy(&value, p_, n);
        p_ += n;
        return value;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(PrintCount);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // 1, -0, the largest finite, the smallest normal, a subnormal, infinity, a quiet NaN and
    // 1/3 rounded: the operands of a program that loads nothing.
    static constexpr struct {
        uint16_t se;
        uint64_t sig;
    } kStart[8] = {{0x3fff, 0x8000000000000000}, {0x8000, 0},
                   {0x7ffe, 0xffffffffffffffff}, {0x0001, 0x8000000000000000},
                   {0x0000, 0x0000000000000001}, {0x7fff, 0x8000000000000000},
                   {0xffff, 0xc000000000000000}, {0x3ffd, 0xaaaaaaaaaaaaaaab}};
    SoftExtended soft[8];
    long double hard[8];
    for (int i = 0; i < 8; ++i) {
        soft[i] = SoftExtended::FromBits(kStart[i].se, kStart[i].sig);
        hard[i] = HardFromBits(kStart[i].se, kStart[i].sig);
    }
    Reader in(data, size);
    while (!in.Done()) {
        const uint8_t code = in.Take<uint8_t>();
        const int r = (code >> 4) & 7;
        const Bits80 before = BitsOf(soft[r]);
        switch (static_cast<Op>(code & 15)) {
        case kLoad80: {
            const uint64_t sig = in.Take<uint64_t>();
            const uint16_t se = in.Take<uint16_t>();
            soft[r] = SoftExtended::FromBits(se, sig);
            hard[r] = HardFromBits(se, sig);
            Same("FromBits", {sig, se}, {sig, se}, BitsOf(soft[r]), BitsOf(hard[r]));
            continue;
        }
        case kLoadDouble: {
            const uint64_t bits = in.Take<uint64_t>();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            soft[r] = SoftExtended(d);
            hard[r] = d;
            Same("load of double", {bits, 0}, {bits, 0}, BitsOf(soft[r]), BitsOf(hard[r]));
            continue;
        }
        case kLoadInt32: {
            const int32_t n = in.Take<int32_t>();
            soft[r] = SoftExtended(n);
            hard[r] = n;
            Same("load of int32", {static_cast<uint32_t>(n), 0}, {}, BitsOf(soft[r]),
                 BitsOf(hard[r]));
            continue;
        }
        case kLoadInt64: {
            const int64_t n = in.Take<int64_t>();
            soft[r] = SoftExtended(n);
            hard[r] = static_cast<long double>(n);
            Same("load of int64", {static_cast<uint64_t>(n), 0}, {}, BitsOf(soft[r]),
                 BitsOf(hard[r]));
            continue;
        }
        default:
            break;
        }
        const uint8_t sources = in.Take<uint8_t>();
        const int a = sources & 7, b = (sources >> 3) & 7;
        const Bits80 x = BitsOf(soft[a]), y = BitsOf(soft[b]);
        switch (static_cast<Op>(code & 15)) {
        case kAdd:
            soft[r] = soft[a] + soft[b];
            hard[r] = hard[a] + hard[b];
            Same("+", x, y, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        case kSub:
            soft[r] = soft[a] - soft[b];
            hard[r] = hard[a] - hard[b];
            Same("-", x, y, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        case kMul:
            soft[r] = soft[a] * soft[b];
            hard[r] = hard[a] * hard[b];
            Same("*", x, y, BitsOf(soft[r]), BitsOf(hard[r]));
            SameWords(x, y);
            break;
        case kDiv:
            soft[r] = soft[a] / soft[b];
            hard[r] = hard[a] / hard[b];
            Same("/", x, y, BitsOf(soft[r]), BitsOf(hard[r]));
            SameWords(x, y);
            break;
        case kAddTo:
            soft[r] += soft[a];
            hard[r] += hard[a];
            Same("+=", before, x, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        case kSubFrom:
            soft[r] -= soft[a];
            hard[r] -= hard[a];
            Same("-=", before, x, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        case kMulBy:
            soft[r] *= soft[a];
            hard[r] *= hard[a];
            Same("*=", before, x, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        case kDivBy:
            soft[r] /= soft[a];
            hard[r] /= hard[a];
            Same("/=", before, x, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        case kNegateCompare: {
            const SoftExtended p = soft[a], q = soft[b];
            const long double u = hard[a], v = hard[b];
            const int s = (p == q) | (p != q) << 1 | (p < q) << 2 | (p <= q) << 3 | (p > q) << 4 |
                          (p >= q) << 5;
            const int h = (u == v) | (u != v) << 1 | (u < v) << 2 | (u <= v) << 3 | (u > v) << 4 |
                          (u >= v) << 5;
            SameInt("comparison", x, y, s, h);
            soft[r] = -p;
            hard[r] = -u;
            Same("negation", x, x, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        }
        case kToDouble: {
            const double s = soft[a].ToDouble(), h = static_cast<double>(hard[a]);
            uint64_t sb, hb;
            std::memcpy(&sb, &s, sizeof sb);
            std::memcpy(&hb, &h, sizeof hb);
            SameInt("store to double", x, x, static_cast<int64_t>(sb), static_cast<int64_t>(hb));
            soft[r] = SoftExtended(s);
            hard[r] = h;
            break;
        }
        case kTrunc: {
            const int64_t s = TruncToInt64(soft[a]), h = quendal::TruncToInt64(hard[a]);
            SameInt("truncation to int64", x, x, s, h);
            soft[r] = SoftExtended(s);
            hard[r] = static_cast<long double>(h);
            break;
        }
        case kFrexpLdexp: {
            // The C library is the reference here, for the encodings that arithmetic makes.
            if (!Canonical(x))
                break;
            const int n = static_cast<int16_t>(in.Take<uint16_t>()) * (sources >> 7 ? 3 : 1);
            int se = 0, he = 0;
            const SoftExtended f = frexp(soft[a], &se);
            const long double g = std::frexp(hard[a], &he);
            Same("frexp", x, x, BitsOf(f), BitsOf(g));
            SameInt("frexp's exponent", x, x, se, he);
            soft[r] = ldexp(soft[a], n);
            hard[r] = std::ldexp(hard[a], n);
            Same("ldexp", x, {static_cast<uint64_t>(n), 0}, BitsOf(soft[r]), BitsOf(hard[r]));
            break;
        }
        default:
            break;
        }
    }
    return 0;
}
