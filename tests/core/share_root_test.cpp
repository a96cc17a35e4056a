// The roots of the start habitability's share against a high-precision reference: every
// expected value below is the exact power share^(1.0 / m), 1.0 / 3 being the double
// (2^54 - 1) / (3 * 2^54), rounded to the nearest double by 300-bit arithmetic when the
// table was written.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "model/extended.h"
#include "model/share_root.h"

namespace quendal {
namespace {

struct RootRow {
    uint64_t x;
    int m;
    uint64_t root;
};

// The start shares whose exact power lies nearest a midpoint between two doubles (1.1e-10 of an
// ulp for prc 535846294, the nearest of all prc up to 2^31 - 1; 2.4e-6 for prc 27195, the
// nearest up to 100000), some where the C library's pow is an ulp off, exact cubes
// (whose power lies an ulp or two below the integer for large ones) and the ends of the
// double range.
constexpr RootRow kHardCases[] = {
    {0x415470dfbc28f5c3, 3, 0x4065dfaeac017cb6}, // prc 535846294
    {0x4070ff3333333333, 3, 0x4019ea5182f6772f}, // prc 27195
    {0x4069780000000000, 3, 0x4017899590c2c90b}, // prc 20375
    {0x408a69851eb851ec, 3, 0x4022e8d8fcc2f2e5}, // prc 84519
    {0x4071c7ae147ae148, 3, 0x401a4eaf067cd616}, // prc 28448
    {0x408c960000000000, 3, 0x40236a2a1fab944a}, // prc 91475
    {0x405dae147ae147ae, 3, 0x4013a8c7998cce87}, // prc 11872
    {0x406f84cccccccccd, 3, 0x4019453c3c71d0ee}, // prc 25215
    {0x4075011eb851eb85, 3, 0x401bcf659b6939ba}, // prc 33607
    {0x40447d70a3d70a3d, 3, 0x400b94cce9733611}, // prc 4098
    {0x4022851eb851eb85, 2, 0x4008581d645f4053}, // prc 926
    {0x4023b33333333333, 2, 0x40091b96aa5b1a22}, // prc 985
    {0x405785c28f5c28f6, 2, 0x4023666666666666}, // prc 9409: just below 9.7
    {0x405785c28f5c28f6, 1, 0x405785c28f5c28f6}, // prc 9409
    {0x3ff0000000000000, 3, 0x3ff0000000000000}, // 1
    {0x3fe0000000000000, 3, 0x3fe965fea53d6e3d}, // 0.5
    {0x4020000000000000, 3, 0x4000000000000000}, // 8
    {0x403b000000000000, 3, 0x4008000000000000}, // 27
    {0x4172c56b80000000, 3, 0x4070dfffffffffff}, // 270^3
    {0x417444f2d0000000, 3, 0x40714ffffffffffe}, // 277^3
    {0x3fb999999999999a, 3, 0x3fddb4c7760bcff3}, // 0.1
    {0x4008000000000000, 3, 0x3ff7137449123ef6}, // 3
    {0x0000000000000001, 3, 0x299000000000003e}, // the least subnormal
    {0x0010000000000000, 3, 0x2aa428a2f98d72d5}, // the least normal
    {0x7fefffffffffffff, 3, 0x554428a2f98d7240}, // the greatest double
    {0x7e37e43c8800759c, 3, 0x54b249ad2594c33b}, // 1e300
};

TEST(ShareRoot, HardCasesMatchTheReference) {
    for (const RootRow& row : kHardCases) {
        const double x = std::bit_cast<double>(row.x);
        EXPECT_EQ(std::bit_cast<uint64_t>(ShareRoot(x, row.m)), row.root)
            << std::hex << row.x << " m " << row.m;
    }
    EXPECT_EQ(PowThird(0.0), 0.0);
    EXPECT_TRUE(std::isnan(PowThird(-1.0)));
}

// Every third power of a start share for prc 1 to 100000 is the reference's (a checksum of
// the reference's results) and proven by the rounding check.
TEST(ShareRoot, ThirdPowersOfStartSharesMatchTheReference) {
    uint64_t hash = 0xcbf29ce484222325; // FNV-1a over the results' bytes, low byte first
    int unproven = 0;
    for (int32_t prc = 1; prc <= 100000; ++prc) {
        const double share = (Extended(prc) * kHundredth).ToDouble();
        const ThirdPower power = PowThirdChecked(share);
        unproven += power.margin <= kThirdPowerMargin;
        const uint64_t bits = std::bit_cast<uint64_t>(power.value);
        for (int i = 0; i < 8; ++i)
            hash = (hash ^ ((bits >> (8 * i)) & 0xff)) * 0x100000001b3;
    }
    EXPECT_EQ(hash, 0x78388c651afbda69u);
    EXPECT_EQ(unproven, 0);
}

} // namespace
} // namespace quendal
