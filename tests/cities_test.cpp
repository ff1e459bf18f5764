#include "cities.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(DistanceTable, HoldsTruncatedEuclideanDistances) {
    DistanceTable d;
    for (auto& row : d) row.fill(-1);
    EXPECT_EQ(BuildDistanceTable(d), 158017.0f);  // Naivedist, exact in float
    EXPECT_EQ(d[0][1], 4726);
    EXPECT_EQ(d[1][2], 3587);
    EXPECT_EQ(d[0][8], 462);
    EXPECT_EQ(d[47][0], 3985);
    int smallest = d[0][1], largest = 0;
    for (int i = 0; i < CityCount; ++i) {
        EXPECT_EQ(d[i][i], 0);
        for (int j = 0; j < CityCount; ++j) {
            EXPECT_EQ(d[i][j], d[j][i]) << i << ", " << j;
            if (i == j) continue;
            smallest = std::min(smallest, d[i][j]);
            largest = std::max(largest, d[i][j]);
        }
    }
    EXPECT_EQ(smallest, 130);  // between cities 30 and 43
    EXPECT_EQ(largest, 8416);
}

}  // namespace
