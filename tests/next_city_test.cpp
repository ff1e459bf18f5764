#include "next_city.h"

#include <gtest/gtest.h>

#include "random.h"

namespace {

// Ant 0 at `from` with only the cities `left` unvisited, pheromone 1e-7 unless raised.
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

// d(0,8) = 462 is the nearest to city 0, and d(0,2) = 1204, so city 2 wins
// from 6.8 times city 8's pheromone on; cities 4 and 15 are both 1589 from 33.
TEST(ChooseNextCity, ExploitingTakesTheLargestPheromoneOverSquaredDistanceLowerIndexOnTies) {
    Tables t;
    EXPECT_EQ(t.Choose(0, AllCities & ~CityBit(0)), 8);
    EXPECT_EQ(t.Choose(33, CityBit(4) | CityBit(15)), 4);
    t.pheromone.Set(0, 2, 6 * 1e-7f);
    EXPECT_EQ(t.Choose(0, CityBit(2) | CityBit(8)), 8);
    t.pheromone.Set(0, 2, 7 * 1e-7f);
    EXPECT_EQ(t.Choose(0, CityBit(2) | CityBit(8)), 2);
}

// The rank comes from 1 + draw % (count - 1), so the highest-indexed of several
// cities is never explored, and one city left takes no second draw.
TEST(ChooseNextCity, ExploringSkipsTheHighestIndexedCityAndOneCityLeftTakesOneDraw) {
    Tables t;
    for (int call = 0; call < 20; ++call) EXPECT_EQ(t.Choose(0, CityBit(3) | CityBit(44), 0.0f), 3);
    SeedRandom(7);
    const int second = (DrawRandom(), DrawRandom());
    SeedRandom(7);
    EXPECT_EQ(t.Choose(0, CityBit(31), 0.0f), 31);
    EXPECT_EQ(DrawRandom(), second);
}

}  // namespace
