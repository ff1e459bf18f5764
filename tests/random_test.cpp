#include "random.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Outputs worked out by hand-written big-integer arithmetic, not by this code.
TEST(Random, FirstOutputsForSeed42MatchTheGeneratorDefinition) {
    SeedRandom(42);
    const std::array<std::uint32_t, 4> expected = {0xc2f57bd6, 0x6b07c4a9, 0x72b7b29b, 0x44215383};
    for (const std::uint32_t value : expected) {
        EXPECT_EQ(NextRandom32(), value);
    }
}

TEST(Random, DrawsAreTheTop15BitsAndReseedingRestartsTheStream) {
    SeedRandom(0);
    EXPECT_EQ(DrawRandom(), 29713);
    EXPECT_EQ(DrawRandom(), 15679);
    SeedRandom(0);
    EXPECT_EQ(DrawRandom(), 29713);
}

}  // namespace
