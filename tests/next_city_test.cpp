#include "next_city.h"

#include <gtest/gtest.h>

#include <bit>

#include "random.h"

namespace {

// Ant 0 at `from` with only the cities `left` unvisited, all pheromone equal.
struct Tables {
    DistanceTable distance;
    PheromoneTable pheromone;
    static inline AntTable ants;  // too large for the stack
    Tables() { pheromone.Fill(1e-7f, (BuildDistanceTable(distance), distance)); }
    int Choose(int from, CitySet left, float threshold = 2.0f) {  // by default every draw exploits
        ants[0].Visited.Clear();
        for (int c = 0; c < CityCount; ++c) {
            if ((left & CityBit(c)) == 0) ants[0].Visited.Mark(c);
        }
        return ChooseNextCity(0, from, ants, pheromone, distance, threshold);
    }
};

// From city 0 the nearest city is 8 (462), nearer than 2 (1204); cities 4 and
// 15 are both 1589 from city 33. Exploring takes rank 1 + draw % (count - 1),
// so of two cities left always the lower, and one city left takes one draw.
TEST(ChooseNextCity, ExploitsTheNearestLowerIndexOnTiesAndExploresByRank) {
    Tables t;
    EXPECT_EQ(t.Choose(0, AllCities & ~CityBit(0)), 8);
    EXPECT_EQ(t.Choose(33, CityBit(4) | CityBit(15)), 4);
    t.pheromone.Set(33, 0, 1.0f);  // a changing entry to a visited city, however heavy, never counts
    EXPECT_EQ(t.Choose(33, CityBit(4) | CityBit(15)), 4);
    for (int call = 0; call < 20; ++call) EXPECT_EQ(t.Choose(0, CityBit(2) | CityBit(8), 0.0f), 2);
    SeedRandom(7);
    const int second = (DrawRandom(), DrawRandom());
    SeedRandom(7);
    EXPECT_EQ(t.Choose(0, CityBit(31), 0.0f), 31);
    EXPECT_EQ(DrawRandom(), second);
}

// A raised entry that decays back to tao0 settles, and then the table counts
// nothing changing, so that a run takes the quicker settled path again.
TEST(PheromoneTable, CountsNoChangingEntryOnceAllHaveSettled) {
    Tables t;
    t.pheromone.Set(3, 5, 1e-3f);
    EXPECT_TRUE(t.pheromone.AnyChanging());
    t.pheromone.Decay(1.0f);
    EXPECT_FALSE(t.pheromone.AnyChanging());
}

// A changing entry is weighed by a multiplication where that rounds as the
// division does. Every entry of the table, each at values spread evenly over
// the floats from tao0 up to 1, as a run's pheromone ranges.
TEST(PheromoneTable, WeighsEveryChangingEntryAsTheDivisionDoes) {
    Tables t;
    const auto low = std::bit_cast<std::uint32_t>(1e-10f),
               high = std::bit_cast<std::uint32_t>(1.0f);
    for (std::uint32_t bits = low; bits < high; bits += (high - low) / 10007) {
        const auto value = std::bit_cast<float>(bits);
        for (int from = 0; from < CityCount; ++from) {
            for (int to = 0; to < CityCount; ++to) {
                if (to == from) continue;
                t.pheromone.Set(from, to, value);
                const double square = double(t.distance[from][to]) * t.distance[from][to];
                ASSERT_EQ(t.pheromone.ChangingWeight(from, to), static_cast<float>(value / square))
                    << from << " " << to << " " << value;
            }
        }
    }
}

}  // namespace
