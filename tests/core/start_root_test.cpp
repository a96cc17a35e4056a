// The roots of the start habitability's factors (model/habitability.cpp, EnvForPrc): for a
// habitability prc of 1 to 100 and m = 1 to 3 sensitive factors, each factor's share is
// (prc / 100)^(1 / m). This table holds the roots x86-64's C library gave when EnvForPrc took
// them from pow (glibc 2.36, correctly rounded for every one of these inputs): ShareRoot gives
// them bit for bit, so the figures of every habitability the window takes stay as they were.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "model/extended.h"
#include "model/share_root.h"

namespace quendal {
namespace {

// Per prc: the share as EnvForPrc computes it, double(prc * 0.01L), then its square and cube
// roots as pow gives them (pow(share, 1.0) is share itself).
struct PowRow {
    uint64_t share;
    uint64_t root2;
    uint64_t root3;
};
constexpr PowRow kStartPow[100] = {
    {0x3f847ae147ae147b, 0x3fb999999999999a, 0x3fcb93a6cec0b3b2}, // 1
    {0x3f947ae147ae147b, 0x3fc21a1851ff630a, 0x3fd15f4d44462725}, // 2
    {0x3f9eb851eb851eb8, 0x3fc62b9586ad0a22, 0x3fd3e2e3c5da7ee5}, // 3
    {0x3fa47ae147ae147b, 0x3fc999999999999a, 0x3fd5e33fca656a43}, // 4
    {0x3fa999999999999a, 0x3fcc9f25c5bfedd9, 0x3fd793eace1a3427}, // 5
    {0x3faeb851eb851eb8, 0x3fcf5a7cecdb684a, 0x3fd90e1e802cbaab}, // 6
    {0x3fb1eb851eb851ec, 0x3fd0eecc87dbfa55, 0x3fda605057810b90}, // 7
    {0x3fb47ae147ae147b, 0x3fd21a1851ff630a, 0x3fdb93a6cec0b3b2}, // 8
    {0x3fb70a3d70a3d70a, 0x3fd3333333333333, 0x3fdcae5562aa4108}, // 9
    {0x3fb999999999999a, 0x3fd43d136248490f, 0x3fddb4c7760bcff3}, // 10
    {0x3fbc28f5c28f5c29, 0x3fd539f5433125c3, 0x3fdeaa4325afef0c}, // 11
    {0x3fbeb851eb851eb8, 0x3fd62b9586ad0a22, 0x3fdf9148a2366563}, // 12
    {0x3fc0a3d70a3d70a4, 0x3fd71355d04de190, 0x3fe035e6a290ae28}, // 13
    {0x3fc1eb851eb851ec, 0x3fd7f254dab9cc3b, 0x3fe09db0f066cb7a}, // 14
    {0x3fc3333333333333, 0x3fd8c97ef43f7248, 0x3fe100a645974168}, // 15
    {0x3fc47ae147ae147b, 0x3fd999999999999a, 0x3fe15f4d44462725}, // 16
    {0x3fc5c28f5c28f5c3, 0x3fda634bd77fe1a5, 0x3fe1ba168a0c15f4}, // 17
    {0x3fc70a3d70a3d70a, 0x3fdb27247aff148f, 0x3fe211615aa1502e}, // 18
    {0x3fc851eb851eb852, 0x3fdbe59eba3a165a, 0x3fe2657f19c6d76f}, // 19
    {0x3fc999999999999a, 0x3fdc9f25c5bfedd9, 0x3fe2b6b5edf6b54a}, // 20
    {0x3fcae147ae147ae1, 0x3fdd54178e8830d5, 0x3fe30542c7f6b37d}, // 21
    {0x3fcc28f5c28f5c29, 0x3fde04c6f553bdd8, 0x3fe3515af8956696}, // 22
    {0x3fcd70a3d70a3d71, 0x3fdeb17d88be6cf1, 0x3fe39b2d7180697d}, // 23
    {0x3fceb851eb851eb8, 0x3fdf5a7cecdb684a, 0x3fe3e2e3c5da7ee5}, // 24
    {0x3fd0000000000000, 0x3fe0000000000000, 0x3fe428a2f98d728b}, // 25
    {0x3fd0a3d70a3d70a4, 0x3fe0511de5a8265f, 0x3fe46c8c2a6095ae}, // 26
    {0x3fd147ae147ae148, 0x3fe0a0b02501c79a, 0x3fe4aebd1b1086c5}, // 27
    {0x3fd1eb851eb851ec, 0x3fe0eecc87dbfa55, 0x3fe4ef50a6a1f79f}, // 28
    {0x3fd28f5c28f5c28f, 0x3fe13b86ea20ae5c, 0x3fe52e5f20b1b398}, // 29
    {0x3fd3333333333333, 0x3fe186f174f88472, 0x3fe56bfea66ef78d}, // 30
    {0x3fd3d70a3d70a3d7, 0x3fe1d11cd1209b03, 0x3fe5a843631e2185}, // 31
    {0x3fd47ae147ae147b, 0x3fe21a1851ff630a, 0x3fe5e33fca656a43}, // 32
    {0x3fd51eb851eb851f, 0x3fe261f21ab573f3, 0x3fe61d04ca2e222e}, // 33
    {0x3fd5c28f5c28f5c3, 0x3fe2a8b73e294fb5, 0x3fe655a1f58924f4}, // 34
    {0x3fd6666666666666, 0x3fe2ee73dadc9b57, 0x3fe68d25a9bdf483}, // 35
    {0x3fd70a3d70a3d70a, 0x3fe3333333333333, 0x3fe6c39d2e7422b8}, // 36
    {0x3fd7ae147ae147ae, 0x3fe376ffc2b649c7, 0x3fe6f914d1bab00c}, // 37
    {0x3fd851eb851eb852, 0x3fe3b9e350c59eae, 0x3fe72d98008e0f86}, // 38
    {0x3fd8f5c28f5c28f6, 0x3fe3fbe701157608, 0x3fe761315c618975}, // 39
    {0x3fd999999999999a, 0x3fe43d136248490f, 0x3fe793eace1a3426}, // 40
    {0x3fda3d70a3d70a3d, 0x3fe47d707ae6659a, 0x3fe7c5cd96d77f6d}, // 41
    {0x3fdae147ae147ae1, 0x3fe4bd05d4eb41e9, 0x3fe7f6e25ed6778d}, // 42
    {0x3fdb851eb851eb85, 0x3fe4fbda8817b44d, 0x3fe8273142b0bc7d}, // 43
    {0x3fdc28f5c28f5c29, 0x3fe539f5433125c3, 0x3fe856c1df2e299e}, // 44
    {0x3fdccccccccccccd, 0x3fe5775c544ff263, 0x3fe8859b5bd7e46c}, // 45
    {0x3fdd70a3d70a3d71, 0x3fe5b415b05a401c, 0x3fe8b3c47474a92a}, // 46
    {0x3fde147ae147ae14, 0x3fe5f026f9c47652, 0x3fe8e1438190707b}, // 47
    {0x3fdeb851eb851eb8, 0x3fe62b9586ad0a22, 0x3fe90e1e802cbaab}, // 48
    {0x3fdf5c28f5c28f5c, 0x3fe6666666666666, 0x3fe93a5b18b2c25a}, // 49
    {0x3fe0000000000000, 0x3fe6a09e667f3bcd, 0x3fe965fea53d6e3d}, // 50
    {0x3fe051eb851eb852, 0x3fe6da4217576971, 0x3fe9910e374df4b1}, // 51
    {0x3fe0a3d70a3d70a4, 0x3fe71355d04de190, 0x3fe9bb8e9cfbadbf}, // 52
    {0x3fe0f5c28f5c28f6, 0x3fe74bddb3926321, 0x3fe9e58465ad764b}, // 53
    {0x3fe147ae147ae148, 0x3fe783ddb1a48e38, 0x3fea0ef3e6693ab7}, // 54
    {0x3fe199999999999a, 0x3fe7bb598c88b4ad, 0x3fea37e13dc4b3bc}, // 55
    {0x3fe1eb851eb851ec, 0x3fe7f254dab9cc3b, 0x3fea605057810b90}, // 56
    {0x3fe23d70a3d70a3d, 0x3fe828d309df0c49, 0x3fea8844efd9fb29}, // 57
    {0x3fe28f5c28f5c28f, 0x3fe85ed7614b038c, 0x3feaafc2968ff07c}, // 58
    {0x3fe2e147ae147ae1, 0x3fe8946504494be3, 0x3fead6ccb1b3f11e}, // 59
    {0x3fe3333333333333, 0x3fe8c97ef43f7248, 0x3feafd66803b2c0c}, // 60
    {0x3fe3851eb851eb85, 0x3fe8fe2812a529ed, 0x3feb23931c5f84d6}, // 61
    {0x3fe3d70a3d70a3d7, 0x3fe9326322d77275, 0x3feb49557dd1cf5e}, // 62
    {0x3fe428f5c28f5c29, 0x3fe96632cbc9f77f, 0x3feb6eb07bc1f229}, // 63
    {0x3fe47ae147ae147b, 0x3fe999999999999a, 0x3feb93a6cec0b3b1}, // 64
    {0x3fe4cccccccccccd, 0x3fe9cc99ff02c481, 0x3febb83b127e9343}, // 65
    {0x3fe51eb851eb851f, 0x3fe9ff3656bdf346, 0x3febdc6fc76ab5b5}, // 66
    {0x3fe570a3d70a3d71, 0x3fea3170e4c48745, 0x3fec00475434a02f}, // 67
    {0x3fe5c28f5c28f5c3, 0x3fea634bd77fe1a5, 0x3fec23c40733361f}, // 68
    {0x3fe6147ae147ae14, 0x3fea94c948e4800e, 0x3fec46e817b33213}, // 69
    {0x3fe6666666666666, 0x3feac5eb3f7ab2f8, 0x3fec69b5a72f1a99}, // 70
    {0x3fe6b851eb851eb8, 0x3feaf6b3af565e6f, 0x3fec8c2ec2728390}, // 71
    {0x3fe70a3d70a3d70a, 0x3feb27247aff148f, 0x3fecae5562aa4108}, // 72
    {0x3fe75c28f5c28f5c, 0x3feb573f7449ba9f, 0x3fecd02b6e6309e5}, // 73
    {0x3fe7ae147ae147ae, 0x3feb87065d24cee3, 0x3fecf1b2ba77e5c7}, // 74
    {0x3fe8000000000000, 0x3febb67ae8584caa, 0x3fed12ed0af1a27f}, // 75
    {0x3fe851eb851eb852, 0x3febe59eba3a165a, 0x3fed33dc13d8716f}, // 76
    {0x3fe8a3d70a3d70a4, 0x3fec14736957b96b, 0x3fed548179f8b3eb}, // 77
    {0x3fe8f5c28f5c28f6, 0x3fec42fa7f164e6c, 0x3fed74ded39be716}, // 78
    {0x3fe947ae147ae148, 0x3fec71357849271a, 0x3fed94f5a9368b35}, // 79
    {0x3fe999999999999a, 0x3fec9f25c5bfedd9, 0x3fedb4c7760bcff3}, // 80
    {0x3fe9eb851eb851ec, 0x3feccccccccccccd, 0x3fedd455a8c7be57}, // 81
    {0x3fea3d70a3d70a3d, 0x3fecfa2be7c3269f, 0x3fedf3a1a4108a1b}, // 82
    {0x3fea8f5c28f5c28f, 0x3fed2744666f6040, 0x3fee12acbf0fa632}, // 83
    {0x3feae147ae147ae1, 0x3fed54178e8830d5, 0x3fee317845f32bf5}, // 84
    {0x3feb333333333333, 0x3fed80a69c19e42a, 0x3fee50057a681902}, // 85
    {0x3feb851eb851eb85, 0x3fedacf2c1ebf386, 0x3fee6e55940ddd99}, // 86
    {0x3febd70a3d70a3d7, 0x3fedd8fd29e1516f, 0x3fee8c69c0e3abc2}, // 87
    {0x3fec28f5c28f5c29, 0x3fee04c6f553bdd8, 0x3feeaa4325afef0c}, // 88
    {0x3fec7ae147ae147b, 0x3fee30513d6a7202, 0x3feec7e2de624cd6}, // 89
    {0x3feccccccccccccd, 0x3fee5b9d136c6d96, 0x3feee549fe7085e7}, // 90
    {0x3fed1eb851eb851f, 0x3fee86ab810ea912, 0x3fef0279912e8b92}, // 91
    {0x3fed70a3d70a3d71, 0x3feeb17d88be6cf1, 0x3fef1f729a221498}, // 92
    {0x3fedc28f5c28f5c3, 0x3feedc1425e80867, 0x3fef3c361551f88b}, // 93
    {0x3fee147ae147ae14, 0x3fef06704d3a1e6f, 0x3fef58c4f791935a}, // 94
    {0x3fee666666666666, 0x3fef3092ece5bc35, 0x3fef75202ec86e0b}, // 95
    {0x3feeb851eb851eb8, 0x3fef5a7cecdb684a, 0x3fef9148a2366562}, // 96
    {0x3fef0a3d70a3d70a, 0x3fef842f2f055704, 0x3fefad3f32b48355}, // 97
    {0x3fef5c28f5c28f5c, 0x3fefadaa8f7eed52, 0x3fefc904baf2bc76}, // 98
    {0x3fefae147ae147ae, 0x3fefd6efe4c9b8a5, 0x3fefe49a0fb2bf3e}, // 99
    {0x3ff0000000000000, 0x3ff0000000000000, 0x3ff0000000000000}, // 100
};

TEST(StartHabitability, RootsMatchTheTable) {
    const Extended hundredth = Extended::FromBits(0x3ff8, 0xa3d70a3d70a3d70a); // 0.01L
    std::string differences;
    for (int32_t prc = 1; prc <= 100; ++prc) {
        const PowRow& row = kStartPow[prc - 1];
        const double share = (Extended(prc) * hundredth).ToDouble();
        const uint64_t got[3] = {std::bit_cast<uint64_t>(ShareRoot(share, 1)),
                                 std::bit_cast<uint64_t>(ShareRoot(share, 2)),
                                 std::bit_cast<uint64_t>(ShareRoot(share, 3))};
        const uint64_t want[3] = {row.share, row.root2, row.root3};
        if (std::bit_cast<uint64_t>(share) != row.share)
            differences += "share of " + std::to_string(prc) + "\n";
        for (int m = 1; m <= 3; ++m)
            if (got[m - 1] != want[m - 1])
                differences += "prc " + std::to_string(prc) + ", m " + std::to_string(m) + "\n";
    }
    EXPECT_EQ(differences, "");
}

} // namespace
} // namespace quendal
