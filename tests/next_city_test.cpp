#include "next_city.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Ant 0 at city `from` with only the cities `left` unvisited, every entry at
// pheromone 1e-7 unless the test raises it, and a threshold every draw is below.
struct Tables {
    DistanceTable distance;
    PheromoneTable pheromone;
    static inline VisitedTable visited;  // too large for the stack
    Tables() { pheromone.Fill(1e-7f, (BuildDistanceTable(distance), distance)); }
    int Exploit(int from, std::initializer_list<int> left) {
        visited[0].Clear();
        for (int c = 0; c < CityCount; ++c) {
            if (std::find(left.begin(), left.end(), c) == left.end()) visited[0].Mark(c);
        }
        return ChooseNextCity(0, from, visited, pheromone, distance, 2.0f);
    }
};

// d(0,8) = 462 and d(0,2) = 1204, so city 2 wins from 6.8 times city 8's
// pheromone on; cities 4 and 15 are both 1589 from city 33.
TEST(ChooseNextCity, ExploitingTakesTheLargestPheromoneOverSquaredDistanceLowerIndexOnTies) {
    Tables t;
    t.pheromone.Set(0, 2, 6 * 1e-7f);
    EXPECT_EQ(t.Exploit(0, {2, 8}), 8);
    t.pheromone.Set(0, 2, 7 * 1e-7f);
    EXPECT_EQ(t.Exploit(0, {2, 8}), 2);
    EXPECT_EQ(t.Exploit(33, {4, 15}), 4);
    t.pheromone.Set(33, 15, std::nextafter(t.pheromone.Tao0(), 1.0f));
    EXPECT_EQ(t.Exploit(33, {4, 15}), 15);
    // With rho 0.01 one ulp above tao0 is a fixed point of the decay: the
    // entry stops changing but still outweighs city 4.
    for (int step = 0; step < 100; ++step) t.pheromone.Decay(0.01f);
    EXPECT_EQ(t.Exploit(33, {4, 15}), 15);
}

}  // namespace
