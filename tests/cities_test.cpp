#include "cities.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Naivedist sums the table's consecutive distances, so a slip in any city shows.
TEST(DistanceTable, HoldsTruncatedEuclideanDistances) {
    DistanceTable d;
    EXPECT_EQ(BuildDistanceTable(d), 158017.0f);  // Naivedist, exact in float
    EXPECT_EQ(d[0][1], 4726);
    EXPECT_EQ(d[0][8], 462);
    EXPECT_EQ(d[47][0], 3985);
    EXPECT_EQ(d[30][43], 130);  // the nearest pair
    int largest = 0;
    for (const auto& row : d)
        largest = std::max(largest, *std::max_element(row.begin(), row.end()));
    EXPECT_EQ(largest, 8416);
}

}  // namespace
