#include "next_city.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "random.h"

namespace {

constexpr float AlwaysExploit = 2.0f, NeverExploit = 0.0f;

// Ant 0 at city `from` with only `left` unvisited, every entry at pheromone
// 1e-7 unless a test raises it.
struct Tables {
    DistanceTable distance;
    PheromoneTable pheromone;
    static inline VisitedTable visited;  // too large for the stack
    Tables() { pheromone.Fill(1e-7f, (BuildDistanceTable(distance), distance)); }
    int Choose(int from, CitySet left, float threshold) {
        visited[0].Clear();
        for (int c = 0; c < CityCount; ++c) {
            if ((left & CityBit(c)) == 0) visited[0].Mark(c);
        }
        return ChooseNextCity(0, from, visited, pheromone, distance, threshold);
    }
};
constexpr CitySet Cities(std::initializer_list<int> cities) {
    CitySet set = 0;
    for (const int c : cities) set |= CityBit(c);
    return set;
}

// d(0,8) = 462 and d(0,2) = 1204, so city 2 wins from 6.8 times city 8's
// pheromone on; cities 4 and 15 are both 1589 from city 33.
TEST(ChooseNextCity, ExploitingTakesTheLargestPheromoneOverSquaredDistanceLowerIndexOnTies) {
    Tables t;
    EXPECT_EQ(t.Choose(0, AllCities & ~CityBit(0), AlwaysExploit), 8);
    t.pheromone.Set(0, 2, 6 * 1e-7f);
    EXPECT_EQ(t.Choose(0, Cities({2, 8}), AlwaysExploit), 8);
    t.pheromone.Set(0, 2, 7 * 1e-7f);
    EXPECT_EQ(t.Choose(0, Cities({2, 8}), AlwaysExploit), 2);
    EXPECT_EQ(t.Choose(33, Cities({4, 15}), AlwaysExploit), 4);
    t.pheromone.Set(33, 15, std::nextafter(t.pheromone.Tao0(), 1.0f));
    EXPECT_EQ(t.Choose(33, Cities({4, 15}), AlwaysExploit), 15);
    // With rho 0.01 one ulp above tao0 is a fixed point of the decay: the
    // entry stops changing but still outweighs city 4.
    for (int step = 0; step < 100; ++step) t.pheromone.Decay(0.01f);
    EXPECT_EQ(t.Choose(33, Cities({4, 15}), AlwaysExploit), 15);
}

TEST(ChooseNextCity, ExploringNeverTakesTheHighestIndexedOfSeveralAndOneCityTakesOneDraw) {
    Tables t;
    int seen[CityCount] = {};
    SeedRandom(1);
    for (int call = 0; call < 2000; ++call)
        ++seen[t.Choose(0, Cities({3, 20, 41, 44}), NeverExploit)];
    EXPECT_EQ(seen[44], 0);
    EXPECT_GT(std::min({seen[3], seen[20], seen[41]}), 500);
    for (const float threshold : {AlwaysExploit, NeverExploit}) {
        SeedRandom(7);
        const int next = (DrawRandom(), DrawRandom());
        SeedRandom(7);
        EXPECT_EQ(t.Choose(0, Cities({31}), threshold), 31);
        EXPECT_EQ(DrawRandom(), next) << "threshold " << threshold;
    }
}

// Exploits when draw / 32767 is below the threshold: 1 explores only on the top draw.
TEST(ChooseNextCity, ExploitsWhenTheDrawOver32767IsBelowTheThreshold) {
    Tables t;
    t.pheromone.Set(0, 9, 1.0f);  // exploiting takes city 9; exploring, 8
    const auto exploits = [&](int calls, float threshold) {
        int count = 0;
        for (int call = 0; call < calls; ++call)
            count += t.Choose(0, Cities({8, 9}), threshold) == 9;
        return count;
    };
    SeedRandom(11);
    for (const float never : {0.0f, -3.0f, std::nanf("")}) EXPECT_EQ(exploits(1000, never), 0);
    EXPECT_EQ(exploits(1000, 1.5f), 1000);
    EXPECT_NEAR(exploits(4000, 0.5f), 2000, 200);
    for (std::uint32_t seed = 0, top = 0; top == 0; ++seed) {
        SeedRandom(seed);
        top = DrawRandom() == RandomMax;
        SeedRandom(seed);
        EXPECT_EQ(exploits(1, 1.0f), top ? 0 : 1) << "seed " << seed;
    }
}

}  // namespace
