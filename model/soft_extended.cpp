#include "model/soft_extended.h"

namespace quendal {

namespace {

using U128 = unsigned __int128;

constexpr uint32_t kMaxExp = 0x7fff;
constexpr uint64_t kInteger = uint64_t{1} << 63;
constexpr uint64_t kQuiet = uint64_t{1} << 62;

// What x87 returns for an invalid operation: the quiet NaN with the sign set.
constexpr SoftExtended kIndefinite = SoftExtended::FromBits(0xffff, 0xc000000000000000);

enum class Kind { Zero, Finite, Infinity, NaN, Refused };

// An operand taken apart. A finite value is sig * 2^(exp - kBias - 63) with the integer bit
// of sig set, its exponent unbounded below so that subnormals are normalised. sign is 0 or 1.
struct Parts {
    Kind kind;
    uint32_t sign;
    int32_t exp;
    uint64_t sig;
};

// The fields as SoftExtended keeps them (model/soft_extended.h): the exponent field is the
// word's lower 15 bits.
Parts Unpack(uint32_t sign, uint32_t exp, uint64_t sig) {
    const uint32_t e = exp & kMaxExp;
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
    return Unpack(x.SignExponent() >> 15, x.SignExponent(), x.Significand());
}

SoftExtended Encoding(uint32_t sign, uint32_t exp, uint64_t sig) {
    return SoftExtended::FromBits(static_cast<uint16_t>(sign << 15 | (exp & kMaxExp)), sig);
}

SoftExtended Infinity(uint32_t sign) {
    return SoftExtended::FromBits(static_cast<uint16_t>(sign << 15 | kMaxExp), kInteger);
}

SoftExtended Zero(uint32_t sign) {
    return SoftExtended::FromBits(static_cast<uint16_t>(sign << 15), 0);
}

SoftExtended Quiet(SoftExtended x) {
    return SoftExtended::FromBits(x.SignExponent(), x.Significand() | kQuiet);
}

bool IsNaN(SoftExtended x) {
    return (x.SignExponent() & kMaxExp) == kMaxExp && x.Significand() != kInteger &&
           (x.Significand() & kInteger);
}

// NaN and the encodings that x87 refuses as operands.
bool Unordered(const Parts& p) {
    return p.kind == Kind::NaN || p.kind == Kind::Refused;
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

uint64_t High(U128 r) {
    return static_cast<uint64_t>(r >> 64);
}

uint64_t Low(U128 r) {
    return static_cast<uint64_t>(r);
}

// The magnitude of a finite value as a number that orders like it.
U128 Magnitude(const Parts& p) {
    return static_cast<U128>(static_cast<uint32_t>(p.exp + 64)) << 64 | p.sig;
}

} // namespace

SoftExtended SoftExtended::Pack(uint32_t sign, int32_t e, uint64_t high, uint64_t low) {
    if (e >= 1)
        return RoundNormal(sign, e, high, low);
    // Subnormal: the significand is r shifted to exponent 1, rounded there. A carry into the
    // integer bit gives the smallest normal number.
    const U128 r = ShiftRightJam(static_cast<U128>(high) << 64 | low, 1 - e);
    uint64_t sig = High(r);
    const uint64_t rest = Low(r);
    if ((rest >> 63) && ((rest << 1) != 0 || (sig & 1)))
        ++sig;
    return FromBits(static_cast<uint16_t>(sign << 15 | (sig >> 63)), sig);
}

SoftExtended SoftExtended::AddSlow(uint32_t aSign, uint32_t aExp, uint64_t aSig, uint32_t bSign,
                                   uint32_t bExp, uint64_t bSig, uint32_t addedSign) {
    const SoftExtended a = Encoding(aSign, aExp, aSig);
    const SoftExtended b = Encoding(bSign, bExp, bSig);
    Parts x = Unpack(a), y = Unpack(addedSign, bExp, bSig);
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
        return Pack(x.sign, x.exp, x.sig, 0);
    if (x.kind == Kind::Zero)
        return Pack(y.sign, y.exp, y.sig, 0);
    if (x.exp < y.exp || (x.exp == y.exp && x.sig < y.sig))
        std::swap(x, y);
    // As the inline path, with exponents beyond the encoding's range.
    const int32_t d = x.exp - y.exp;
    const U128 wa = static_cast<U128>(x.sig) << 63;
    const U128 wb = ShiftRightJam(static_cast<U128>(y.sig) << 63, d);
    if (x.sign == y.sign) {
        const U128 s = wa + wb;
        if (s >> 127)
            return Pack(x.sign, x.exp + 1, High(s), Low(s));
        return Pack(x.sign, x.exp, High(s << 1), Low(s << 1));
    }
    const U128 diff = wa - wb;
    if (diff == 0)
        return SoftExtended();
    const int shift = LeadingZeros(diff);
    return Pack(x.sign, x.exp + 1 - shift, High(diff << shift), Low(diff << shift));
}

SoftExtended SoftExtended::MulSlow(uint32_t aSign, uint32_t aExp, uint64_t aSig, uint32_t bSign,
                                   uint32_t bExp, uint64_t bSig) {
    const SoftExtended a = Encoding(aSign, aExp, aSig);
    const SoftExtended b = Encoding(bSign, bExp, bSig);
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
    uint64_t high, low;
    wide::Multiply(x.sig, y.sig, high, low);
    const int32_t e = x.exp + y.exp - static_cast<int32_t>(kBias);
    if (high >> 63)
        return Pack(sign, e + 1, high, low);
    return Pack(sign, e, high << 1 | low >> 63, low << 1);
}

SoftExtended SoftExtended::DivSlow(uint32_t aSign, uint32_t aExp, uint64_t aSig, uint32_t bSign,
                                   uint32_t bExp, uint64_t bSig) {
    const SoftExtended a = Encoding(aSign, aExp, aSig);
    const SoftExtended b = Encoding(bSign, bExp, bSig);
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
    uint64_t high = x.sig >> 1, low = x.sig << 63;
    if (x.sig < y.sig) {
        high = x.sig;
        low = 0;
        --e;
    }
    uint64_t r;
    const uint64_t q = wide::Divide(high, low, y.sig, r);
    uint64_t r2;
    const uint64_t q2 = wide::Divide(r, 0, y.sig, r2);
    return Pack(sign, e, q, q2 | (r2 != 0));
}

double SoftExtended::ToDoubleSlow(uint32_t sign, uint32_t exp, uint64_t sig) {
    const Parts p = Unpack(sign, exp, sig);
    const uint64_t signBit = static_cast<uint64_t>(p.sign) << 63;
    switch (p.kind) {
    case Kind::Refused:
        return std::bit_cast<double>(uint64_t{0xfff8000000000000});
    case Kind::NaN: // quiet, the significand's upper bits kept
        return std::bit_cast<double>(signBit | 0x7ff8000000000000 | (p.sig & ~kInteger) >> 11);
    case Kind::Infinity:
        return std::bit_cast<double>(signBit | 0x7ff0000000000000);
    case Kind::Zero:
        return std::bit_cast<double>(signBit);
    case Kind::Finite:
        break;
    }
    const int32_t field = p.exp - static_cast<int32_t>(kBias) + 1023; // double's biased exponent
    if (field >= 2047)
        return std::bit_cast<double>(signBit | 0x7ff0000000000000);
    // Rounds the significand at the bit that is double's last, subnormal or not.
    const int32_t drop = field >= 1 ? 11 : 11 + 1 - field;
    const U128 r = ShiftRightJam(static_cast<U128>(p.sig) << 64, drop);
    uint64_t m = High(r);
    const uint64_t rest = Low(r);
    if ((rest >> 63) && ((rest << 1) != 0 || (m & 1)))
        ++m;
    // With the integer bit in m, a normal value's exponent field is field - 1 plus that bit;
    // a subnormal's integer bit appears only when it rounds up to the smallest normal.
    const uint64_t base = field >= 1 ? static_cast<uint64_t>(field - 1) << 52 : 0;
    return std::bit_cast<double>(signBit | (base + m));
}

int64_t SoftExtended::TruncSlow(uint32_t sign, uint32_t exp, uint64_t sig) {
    const Parts p = Unpack(sign, exp, sig);
    if (p.kind == Kind::Infinity)
        return sign ? INT64_MIN : INT64_MAX;
    // Subnormals and pseudo-denormals are below 1; NaN and refused encodings give 0.
    return 0;
}

bool SoftExtended::Equal(SoftExtended a, SoftExtended b) {
    const Parts x = Unpack(a), y = Unpack(b);
    if (Unordered(x) || Unordered(y))
        return false;
    if (x.kind == Kind::Zero || y.kind == Kind::Zero) // ±0 are equal
        return x.kind == y.kind;
    return x.kind == y.kind && x.sign == y.sign && x.exp == y.exp && x.sig == y.sig;
}

bool SoftExtended::Less(SoftExtended a, SoftExtended b) {
    const Parts x = Unpack(a), y = Unpack(b);
    if (Unordered(x) || Unordered(y))
        return false;
    // Infinity beyond every finite magnitude, zero below.
    const U128 kx = x.kind == Kind::Infinity ? ~U128{0} : x.kind == Kind::Zero ? 0 : Magnitude(x);
    const U128 ky = y.kind == Kind::Infinity ? ~U128{0} : y.kind == Kind::Zero ? 0 : Magnitude(y);
    if (x.sign != y.sign) // ±0 are equal
        return x.sign != 0 && (kx | ky) != 0;
    return x.sign ? ky < kx : kx < ky;
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
    return FromBits(static_cast<uint16_t>(p.sign << 15 | (kBias - 1)), p.sig);
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
    return Pack(p.sign, p.exp + scale, p.sig, 0);
}

} // namespace quendal
