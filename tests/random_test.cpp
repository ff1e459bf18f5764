#include "random.h"

#include <gtest/gtest.h>

#include <vector>

// Outputs worked out by hand-written big-integer arithmetic, not by this code;
// the later ones come after the generator has refilled its block ahead.
TEST(Random, DrawsForSeed42AreTheTopBitsOfTheGeneratorsOutputs) {
    const std::pair<int, std::uint32_t> expected[] = {{0, 0xc2f57bd6}, {1, 0x6b07c4a9}, {2, 0x72b7b29b},
                                                      {3, 0x44215383}, {299, 0xb2f50c97}, {999, 0x5dfe42ea}};
    SeedRandom(42);
    for (int index = 0; const auto& [at, value] : expected) {
        while (index++ < at) DrawRandom();
        EXPECT_EQ(DrawRandom(), value >> 17) << "draw " << at;  // a draw is the output's top 15 bits
    }
}

// Peeks at every offset from a block's start, across refills, against the
// stream drawn one by one: the draws stay in order, and a draw is marked
// exactly when it reaches the cutoff, at both ends of the range too, and on
// either side of the first draw, 24954 (0xc2f57bd6 >> 17).
TEST(Random, PeeksTheStreamInOrderWithTheDrawsThatReachTheCutoffMarked) {
    std::vector<int> stream(200 * 37 + 97);
    SeedRandom(42);
    for (int& draw : stream) draw = DrawRandom();
    for (const int cutoff : {0, 1, 24954, 24955, 32767, 32768}) {
        SeedRandom(42, cutoff);
        for (int at = 0; at < 200 * 37; at += 37) {
            const std::uint16_t* draw = PeekRandom(97);
            std::uint64_t explores[2];
            PeekExplores(explores);
            for (int i = 0; i < 97; ++i) {
                ASSERT_EQ(draw[i], stream[at + i]) << "draw " << at + i;
                const bool reaches = stream[at + i] >= cutoff;
                ASSERT_EQ(explores[i / 64] >> i % 64 & 1, reaches) << cutoff << " " << at + i;
                ASSERT_EQ(PeekExplore(i), reaches) << cutoff << " " << at + i;
            }
            SkipRandom(37);
        }
    }
}
