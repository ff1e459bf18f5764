#include "cities.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

DistanceTable Built() {
    DistanceTable distance{};
    BuildDistanceTable(distance);
    return distance;
}

struct KnownDistance {
    int from, to, distance;
};

class DistanceEntry : public testing::TestWithParam<KnownDistance> {};

TEST_P(DistanceEntry, MatchesTruncatedEuclideanDistance) {
    const auto [from, to, expected] = GetParam();
    EXPECT_EQ(Built()[from][to], expected);
}

INSTANTIATE_TEST_SUITE_P(Known, DistanceEntry,
                         testing::Values(KnownDistance{0, 1, 4726}, KnownDistance{1, 2, 3587},
                                         KnownDistance{0, 8, 462}, KnownDistance{30, 43, 130},
                                         KnownDistance{43, 30, 130},
                                         // 0 -> 47 closes the index-order tour
                                         KnownDistance{47, 0, 3985}));

TEST(DistanceTable, IsSymmetricWithZeroDiagonalOnly) {
    const DistanceTable d = Built();
    for (int i = 0; i < CityCount; ++i) {
        EXPECT_EQ(d[i][i], 0);
        for (int j = 0; j < CityCount; ++j) {
            EXPECT_EQ(d[i][j], d[j][i]) << i << ", " << j;
        }
    }
}

TEST(DistanceTable, OffDiagonalEntriesLieBetween130And8416) {
    const DistanceTable d = Built();
    int smallest = d[0][1], largest = 0;
    for (int i = 0; i < CityCount; ++i) {
        for (int j = 0; j < CityCount; ++j) {
            if (i != j) {
                smallest = std::min(smallest, d[i][j]);
                largest = std::max(largest, d[i][j]);
            }
        }
    }
    EXPECT_EQ(smallest, 130);
    EXPECT_EQ(largest, 8416);
}

TEST(DistanceTable, RebuildOverwritesEveryEntryAndGivesNaivedist158017) {
    DistanceTable d;
    for (auto& row : d) {
        row.fill(-1);
    }
    EXPECT_EQ(BuildDistanceTable(d), 158017.0f);
    EXPECT_EQ(d, Built());
}

}  // namespace
