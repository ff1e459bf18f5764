#include "random.h"

#include <gtest/gtest.h>

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
