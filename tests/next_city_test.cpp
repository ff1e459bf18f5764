#include "next_city.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "random.h"

namespace {

// Tables for ant 0 standing on `current`, with `visited` already visited and
// pheromone Tao0-like and equal everywhere.
struct Fixture {
    DistanceTable distance{};
    PheromoneTable pheromone{};
    int current = 0;

    explicit Fixture(int at) : current(at) {
        BuildDistanceTable(distance);
        pheromone.Fill(1e-7f, distance);
    }
};

// Process-wide tables: a VisitedTable is too large for the stack.
VisitedTable& VisitedOnly(std::initializer_list<int> cities) {
    static VisitedTable visited;
    visited[0].Clear();
    for (const int c : cities) {
        visited[0].Mark(c);
    }
    return visited;
}

VisitedTable& AllVisitedExcept(std::initializer_list<int> cities) {
    VisitedTable& visited = VisitedOnly({});
    for (int c = 0; c < CityCount; ++c) {
        if (std::find(cities.begin(), cities.end(), c) == cities.end()) {
            visited[0].Mark(c);
        }
    }
    return visited;
}

constexpr float AlwaysExploit = 2.0f;
constexpr float NeverExploit = 0.0f;

TEST(HasUnvisitedCity, IsFalseOnlyWhenEveryFlagIsSet) {
    EXPECT_TRUE(HasUnvisitedCity(0, AllVisitedExcept({47})));
    EXPECT_TRUE(HasUnvisitedCity(0, AllVisitedExcept({0})));
    EXPECT_FALSE(HasUnvisitedCity(0, AllVisitedExcept({})));
}

TEST(ChooseNextCity, ExploitingFromCity0WithEqualPheromoneTakesNearestCity8) {
    Fixture f(0);
    EXPECT_EQ(ChooseNextCity(0, 0, VisitedOnly({0}), f.pheromone, f.distance, AlwaysExploit), 8);
}

TEST(ChooseNextCity, ExploitingPrefersLowerIndexOnEqualWeight) {
    // Cities 4 and 15 are both 1589 from city 33.
    Fixture f(33);
    const VisitedTable& visited = AllVisitedExcept({4, 15});
    EXPECT_EQ(ChooseNextCity(0, 33, visited, f.pheromone, f.distance, AlwaysExploit), 4);
    // One ulp more pheromone outweighs the lower index, also once the decay
    // has stopped changing it: with rho 0.01 one ulp above tao0 is a fixed point.
    f.pheromone.Set(33, 15, std::nextafter(f.pheromone.Tao0(), 1.0f));
    EXPECT_EQ(ChooseNextCity(0, 33, visited, f.pheromone, f.distance, AlwaysExploit), 15);
    for (int step = 0; step < 100; ++step) {
        f.pheromone.Decay(0.01f);
    }
    EXPECT_GT(f.pheromone[33][15], f.pheromone.Tao0());
    EXPECT_EQ(ChooseNextCity(0, 33, visited, f.pheromone, f.distance, AlwaysExploit), 15);
}

TEST(ChooseNextCity, ExploitingWeighsPheromoneOverSquaredDistance) {
    Fixture f(0);
    // d(0,8) = 462, d(0,2) = 1204: 2 * 462^2 < 1204^2 < 7 * 462^2.
    const VisitedTable& visited = AllVisitedExcept({2, 8});
    f.pheromone.Set(0, 2, 2 * f.pheromone[0][8]);
    EXPECT_EQ(ChooseNextCity(0, 0, visited, f.pheromone, f.distance, AlwaysExploit), 8);
    f.pheromone.Set(0, 2, 7 * f.pheromone[0][8]);
    EXPECT_EQ(ChooseNextCity(0, 0, visited, f.pheromone, f.distance, AlwaysExploit), 2);
}

TEST(ChooseNextCity, WithOneCityLeftBothBranchesTakeItAfterOneDraw) {
    Fixture f(0);
    for (const float threshold : {AlwaysExploit, NeverExploit}) {
        SeedRandom(7);
        EXPECT_EQ(ChooseNextCity(0, 0, AllVisitedExcept({31}), f.pheromone, f.distance, threshold),
                  31);
        SeedRandom(7);
        DrawRandom();
        const int next = DrawRandom();
        SeedRandom(7);
        ChooseNextCity(0, 0, AllVisitedExcept({31}), f.pheromone, f.distance, threshold);
        EXPECT_EQ(DrawRandom(), next) << "threshold " << threshold;
    }
}

TEST(ChooseNextCity, ExploringNeverTakesTheHighestIndexedOfSeveralCities) {
    Fixture f(0);
    int seen[CityCount] = {};
    SeedRandom(1);
    for (int call = 0; call < 2000; ++call) {
        ++seen[ChooseNextCity(0, 0, AllVisitedExcept({3, 20, 41, 44}), f.pheromone, f.distance,
                              NeverExploit)];
    }
    EXPECT_EQ(seen[44], 0);
    EXPECT_GT(seen[3], 0);
    EXPECT_GT(seen[20], 0);
    EXPECT_GT(seen[41], 0);
    EXPECT_EQ(seen[3] + seen[20] + seen[41], 2000);
}

TEST(ChooseNextCity, ExploringWithTwoCitiesLeftTakesTheLowerIndexed) {
    Fixture f(0);
    SeedRandom(3);
    for (int call = 0; call < 50; ++call) {
        EXPECT_EQ(
            ChooseNextCity(0, 0, AllVisitedExcept({40, 8}), f.pheromone, f.distance, NeverExploit),
            8);
    }
}

// Counts how often the nearest city is taken from city 0 when exploring would
// take another one (only cities 8 and 9 are left, 8 being the nearest).
int ExploitsOutOf(int calls, float threshold) {
    Fixture f(0);
    f.pheromone.Set(0, 9, 1.0f);  // exploit takes 9, explore takes 8
    int exploits = 0;
    for (int call = 0; call < calls; ++call) {
        exploits +=
            ChooseNextCity(0, 0, AllVisitedExcept({8, 9}), f.pheromone, f.distance, threshold) == 9;
    }
    return exploits;
}

TEST(ChooseNextCity, ThresholdSetsHowOftenItExploits) {
    SeedRandom(11);
    EXPECT_EQ(ExploitsOutOf(1000, 0.0f), 0);
    EXPECT_EQ(ExploitsOutOf(1000, -3.0f), 0);
    EXPECT_EQ(ExploitsOutOf(1000, std::nanf("")), 0);
    EXPECT_EQ(ExploitsOutOf(1000, 1.5f), 1000);
    const int half = ExploitsOutOf(4000, 0.5f);
    EXPECT_GT(half, 1800);
    EXPECT_LT(half, 2200);
}

TEST(ChooseNextCity, ThresholdOneExploresOnlyOnTheTopDraw) {
    bool sawTopDraw = false;
    for (std::uint32_t seed = 0; !sawTopDraw; ++seed) {
        SeedRandom(seed);
        const int draw = DrawRandom();
        sawTopDraw = draw == RandomMax;
        SeedRandom(seed);
        EXPECT_EQ(ExploitsOutOf(1, 1.0f), draw == RandomMax ? 0 : 1) << "seed " << seed;
    }
}

}  // namespace
