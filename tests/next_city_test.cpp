#include "next_city.h"

#include <gtest/gtest.h>

#include "random.h"

namespace {

// Ant 0 at `from` with only the cities `left` unvisited, all pheromone equal.
struct Tables {
    DistanceTable distance;
    PheromoneTable pheromone;
    static inline VisitedTable visited;  // too large for the stack
    Tables() { pheromone.Fill(1e-7f, (BuildDistanceTable(distance), distance)); }
    int Choose(int from, CitySet left, float threshold = 2.0f) {  // by default every draw exploits
        visited[0].Clear();
        for (int c = 0; c < CityCount; ++c) {
            if ((left & CityBit(c)) == 0) visited[0].Mark(c);
        }
        return ChooseNextCity(0, from, visited, pheromone, distance, threshold);
    }
};

// From city 0 the nearest city is 8 (462), nearer than 2 (1204); cities 4 and
// 15 are both 1589 from city 33. Exploring takes rank 1 + draw % (count - 1),
// so of two cities left always the lower, and one city left takes one draw.
TEST(ChooseNextCity, ExploitsTheNearestLowerIndexOnTiesAndExploresByRank) {
    Tables t;
    EXPECT_EQ(t.Choose(0, AllCities & ~CityBit(0)), 8);
    EXPECT_EQ(t.Choose(33, CityBit(4) | CityBit(15)), 4);
    for (int call = 0; call < 20; ++call) EXPECT_EQ(t.Choose(0, CityBit(2) | CityBit(8), 0.0f), 2);
    SeedRandom(7);
    const int second = (DrawRandom(), DrawRandom());
    SeedRandom(7);
    EXPECT_EQ(t.Choose(0, CityBit(31), 0.0f), 31);
    EXPECT_EQ(DrawRandom(), second);
}

}  // namespace
