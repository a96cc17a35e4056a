#include "model/soft_extended.h"

namespace quendal {

namespace {

using U128 = SoftExtended::U128;

constexpr uint32_t kMaxExp = 0x7fff;
constexpr uint32_t kSign = 0x8000;
constexpr uint64_t kInteger = uint64_t{1} << 63;
constexpr uint64_t kQuiet = uint64_t{1} << 62;

// What x87 returns for an invalid operation: the quiet NaN with the sign set.
constexpr SoftExtended kIndefinite = SoftExtended::FromBits(0xffff, 0xc000000000000000);

enum class Kind { Zero, Finite, Infinity, NaN, Refused };

// An operand taken apart. A finite value is sig * 2^(exp - kBias - 63) with the integer bit
// of sig set, its exponent unbounded below so that subnormals are normalised.
struct Parts {
    Kind kind;
    uint32_t sign;
    int32_t exp;
    uint64_t sig;
};

Parts Unpack(uint32_t signExp, uint64_t sig) {
    const uint32_t sign = signExp & kSign, e = signExp & kMaxExp;
    if (e == kMaxExp) {
        const Kind kind =
            sig == kInteger ? Kind::Infinity : (sig & kInteger ? Kind::NaN : Kind::Refused);
        return {kind, sign, 0, sig};
    }
    if (e == 0) { // subnormal; with the integer bit set (pseudo-denormal) worth exponent 1
        if (sig == 0)
            return {Kind::Zero, sign, 0, 0};
        const int shift = std::countl_zero(sig);
        return {Kind::Finite, sign, 1 - shift, sig << shift};
    }
    // An unnormal (no integer bit) is refused by x87 as an operand.
    return {sig & kInteger ? Kind::Finite : Kind::Refused, sign, static_cast<int32_t>(e), sig};
}

Parts Unpack(SoftExtended x) {
    return Unpack(x.SignExponent(), x.Significand());
}

SoftExtended Infinity(uint32_t sign) {
    return SoftExtended::FromBits(static_cast<uint16_t>(sign | kMaxExp), kInteger);
}

SoftExtended Zero(uint32_t sign) {
    return SoftExtended::FromBits(static_cast<uint16_t>(sign), 0);
}

SoftExtended Quiet(SoftExtended x) {
    return SoftExtended::FromBits(x.SignExponent(), x.Significand() | kQuiet);
}

bool IsNaN(SoftExtended x) {
    return (x.SignExponent() & kMaxExp) == kMaxExp && x.Significand() != kInteger &&
           (x.Significand() & kInteger);
}

// x87's choice between operands of which at least one is a NaN: of two NaN the one with
// the larger significand as stored (so a quiet one before a signalling one), on a tie the
// positive one; made quiet.
SoftExtended PickNaN(SoftExtended a, SoftExtended b) {
    if (!IsNaN(b))
        return Quiet(a);
    if (!IsNaN(a))
        return Quiet(b);
    const uint64_t ma = a.Significand(), mb = b.Significand();
    if (ma != mb)
        return Quiet(ma > mb ? a : b);
    return Quiet(SoftExtended::FromBits(a.SignExponent() & b.SignExponent(), ma));
}

// Shifts right by n, any bit shifted out kept as bit 0 so that rounding still sees it.
U128 ShiftRightJam(U128 r, int32_t n) {
    if (n <= 0)
        return r;
    if (n >= 128)
        return r != 0;
    return (r >> n) | ((r << (128 - n)) != 0);
}

int LeadingZeros(U128 r) {
    const uint64_t high = static_cast<uint64_t>(r >> 64);
    return high ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<uint64_t>(r));
}

} // namespace

SoftExtended SoftExtended::Pack(uint32_t sign, int32_t e, U128 r) {
    if (e >= 1)
        return RoundNormal(sign, e, r);
    // Subnormal: the significand is r shifted to exponent 1, rounded there. A carry into the
    // integer bit gives the smallest normal number.
    r = ShiftRightJam(r, 1 - e);
    uint64_t sig = static_cast<uint64_t>(r >> 64);
    const uint64_t rest = static_cast<uint64_t>(r);
    if ((rest >> 63) && ((rest << 1) != 0 || (sig & 1)))
        ++sig;
    return FromBits(static_cast<uint16_t>(sign | (sig >> 63)), sig);
}

SoftExtended SoftExtended::AddSlow(uint32_t aSignExp, uint64_t aSig, uint32_t bSignExp,
                                   uint64_t bSig, uint32_t addedSignExp) {
    const SoftExtended a = FromBits(static_cast<uint16_t>(aSignExp), aSig);
    const SoftExtended b = FromBits(static_cast<uint16_t>(bSignExp), bSig);
    Parts x = Unpack(a), y = Unpack(addedSignExp, bSig);
    if (x.kind == Kind::Refused || y.kind == Kind::Refused)
        return kIndefinite;
    if (x.kind == Kind::NaN || y.kind == Kind::NaN)
        return PickNaN(a, b); // the NaN itself, with its own sign also when subtracted
    if (x.kind == Kind::Infinity) {
        if (y.kind == Kind::Infinity && x.sign != y.sign)
            return kIndefinite;
        return Infinity(x.sign);
    }
    if (y.kind == Kind::Infinity)
        return Infinity(y.sign);
    if (x.kind == Kind::Zero && y.kind == Kind::Zero)
        return Zero(x.sign & y.sign); // -0 only from -0 + -0
    if (y.kind == Kind::Zero)
        return Pack(x.sign, x.exp, static_cast<U128>(x.sig) << 64);
    if (x.kind == Kind::Zero)
        return Pack(y.sign, y.exp, static_cast<U128>(y.sig) << 64);
    if (x.exp < y.exp || (x.exp == y.exp && x.sig < y.sig))
        std::swap(x, y);
    // As the inline path, with exponents beyond the encoding's range.
    const int32_t d = x.exp - y.exp;
    const U128 wa = static_cast<U128>(x.sig) << 63;
    const U128 wb = ShiftRightJam(static_cast<U128>(y.sig) << 63, d);
    if (x.sign == y.sign) {
        const U128 s = wa + wb;
        return s >> 127 ? Pack(x.sign, x.exp + 1, s) : Pack(x.sign, x.exp, s << 1);
    }
    const U128 diff = wa - wb;
    if (diff == 0)
        return SoftExtended();
    const int shift = LeadingZeros(diff);
    return Pack(x.sign, x.exp + 1 - shift, diff << shift);
}

SoftExtended SoftExtended::MulSlow(uint32_t aSignExp, uint64_t aSig, uint32_t bSignExp,
                                   uint64_t bSig) {
    const SoftExtended a = FromBits(static_cast<uint16_t>(aSignExp), aSig);
    const SoftExtended b = FromBits(static_cast<uint16_t>(bSignExp), bSig);
    const Parts x = Unpack(a), y = Unpack(b);
    const uint32_t sign = x.sign ^ y.sign;
    if (x.kind == Kind::Refused || y.kind == Kind::Refused)
        return kIndefinite;
    if (x.kind == Kind::NaN || y.kind == Kind::NaN)
        return PickNaN(a, b);
    if (x.kind == Kind::Infinity || y.kind == Kind::Infinity)
        return x.kind == Kind::Zero || y.kind == Kind::Zero ? kIndefinite : Infinity(sign);
    if (x.kind == Kind::Zero || y.kind == Kind::Zero)
        return Zero(sign);
    const U128 p = static_cast<U128>(x.sig) * y.sig;
    const int32_t e = x.exp + y.exp - static_cast<int32_t>(kBias);
    return p >> 127 ? Pack(sign, e + 1, p) : Pack(sign, e, p << 1);
}

SoftExtended SoftExtended::DivSlow(uint32_t aSignExp, uint64_t aSig, uint32_t bSignExp,
                                   uint64_t bSig) {
    const SoftExtended a = FromBits(static_cast<uint16_t>(aSignExp), aSig);
    const SoftExtended b = FromBits(static_cast<uint16_t>(bSignExp), bSig);
    const Parts x = Unpack(a), y = Unpack(b);
    const uint32_t sign = x.sign ^ y.sign;
    if (x.kind == Kind::Refused || y.kind == Kind::Refused)
        return kIndefinite;
    if (x.kind == Kind::NaN || y.kind == Kind::NaN)
        return PickNaN(a, b);
    if (x.kind == Kind::Infinity)
        return y.kind == Kind::Infinity ? kIndefinite : Infinity(sign);
    if (y.kind == Kind::Infinity)
        return Zero(sign);
    if (y.kind == Kind::Zero)
        return x.kind == Kind::Zero ? kIndefinite : Infinity(sign);
    if (x.kind == Kind::Zero)
        return Zero(sign);
    // 64 quotient bits from the integer bit down, then 64 more, the remainder kept as bit 0.
    int32_t e = x.exp - y.exp + static_cast<int32_t>(kBias);
    U128 n = static_cast<U128>(x.sig) << 63;
    if (x.sig < y.sig) {
        n <<= 1;
        --e;
    }
    const uint64_t q = static_cast<uint64_t>(n / y.sig);
    const U128 n2 = (n % y.sig) << 64;
    const uint64_t q2 = static_cast<uint64_t>(n2 / y.sig);
    const U128 r = static_cast<U128>(q) << 64 | q2 | (n2 % y.sig != 0);
    return Pack(sign, e, r);
}

double SoftExtended::ToDoubleSlow(uint32_t signExp, uint64_t sig) {
    const Parts p = Unpack(signExp, sig);
    const uint64_t sign = static_cast<uint64_t>(p.sign) << 48;
    switch (p.kind) {
    case Kind::Refused:
        return std::bit_cast<double>(uint64_t{0xfff8000000000000});
    case Kind::NaN: // quiet, the significand's upper bits kept
        return std::bit_cast<double>(sign | 0x7ff8000000000000 | (p.sig & ~kInteger) >> 11);
    case Kind::Infinity:
        return std::bit_cast<double>(sign | 0x7ff0000000000000);
    case Kind::Zero:
        return std::bit_cast<double>(sign);
    case Kind::Finite:
        break;
    }
    const int32_t field = p.exp - static_cast<int32_t>(kBias) + 1023; // double's biased exponent
    if (field >= 2047)
        return std::bit_cast<double>(sign | 0x7ff0000000000000);
    // Rounds the significand at the bit that is double's last, subnormal or not.
    const int32_t drop = field >= 1 ? 11 : 11 + 1 - field;
    const U128 r = ShiftRightJam(static_cast<U128>(p.sig) << 64, drop);
    uint64_t m = static_cast<uint64_t>(r >> 64);
    const uint64_t rest = static_cast<uint64_t>(r);
    if ((rest >> 63) && ((rest << 1) != 0 || (m & 1)))
        ++m;
    // With the integer bit in m, a normal value's exponent field is field - 1 plus that bit;
    // a subnormal's integer bit appears only when it rounds up to the smallest normal.
    const uint64_t base = field >= 1 ? static_cast<uint64_t>(field - 1) << 52 : 0;
    return std::bit_cast<double>(sign | (base + m));
}

SoftExtended SoftExtended::Frexp(SoftExtended x, int* exponent) {
    *exponent = 0;
    const Parts p = Unpack(x);
    switch (p.kind) {
    case Kind::Zero:
    case Kind::Infinity:
        return x;
    case Kind::NaN:
        return Quiet(x);
    case Kind::Refused:
        return kIndefinite;
    case Kind::Finite:
        break;
    }
    *exponent = p.exp - static_cast<int32_t>(kBias) + 1;
    return FromBits(static_cast<uint16_t>(p.sign | (kBias - 1)), p.sig);
}

SoftExtended SoftExtended::Ldexp(SoftExtended x, int n) {
    const Parts p = Unpack(x);
    switch (p.kind) {
    case Kind::Zero:
    case Kind::Infinity:
        return x;
    case Kind::NaN:
        return Quiet(x);
    case Kind::Refused:
        return kIndefinite;
    case Kind::Finite:
        break;
    }
    // Past these bounds every finite value overflows or vanishes.
    const int32_t scale = n < -100000 ? -100000 : (n > 100000 ? 100000 : n);
    return Pack(p.sign, p.exp + scale, static_cast<U128>(p.sig) << 64);
}

} // namespace quendal
