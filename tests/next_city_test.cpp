#include "next_city.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "random.h"

namespace {

constexpr float AlwaysExploit = 2.0f;
constexpr float NeverExploit = 0.0f;

// Ant 0 with only `left` unvisited, on tables where every entry holds
// pheromone 1e-7 unless a test raises it.
struct Tables {
    DistanceTable distance;
    PheromoneTable pheromone;
    VisitedTable& visited = Visited();

    Tables() {
        BuildDistanceTable(distance);
        pheromone.Fill(1e-7f, distance);
    }

    static VisitedTable& Visited() {
        static VisitedTable table;  // too large for the stack
        return table;
    }

    int Choose(int from, CitySet left, float threshold) {
        visited[0].Clear();
        for (int c = 0; c < CityCount; ++c) {
            if ((left & CityBit(c)) == 0) visited[0].Mark(c);
        }
        return ChooseNextCity(0, from, visited, pheromone, distance, threshold);
    }
    int Choose(int from, std::initializer_list<int> left, float threshold) {
        CitySet set = 0;
        for (const int c : left) set |= CityBit(c);
        return Choose(from, set, threshold);
    }
};

TEST(ChooseNextCity, ExploitingWithEqualPheromoneTakesTheNearestCity) {
    Tables t;
    EXPECT_EQ(t.Choose(0, AllCities & ~CityBit(0), AlwaysExploit), 8);  // 462 from city 0
    // d(0,8) = 462, d(0,2) = 1204: pheromone / d^2 decides.
    t.pheromone.Set(0, 2, 6 * 1e-7f);
    EXPECT_EQ(t.Choose(0, {2, 8}, AlwaysExploit), 8);
    t.pheromone.Set(0, 2, 7 * 1e-7f);
    EXPECT_EQ(t.Choose(0, {2, 8}, AlwaysExploit), 2);
}

TEST(ChooseNextCity, EqualWeightsGoToTheLowerIndexButOneUlpMoreWins) {
    // Cities 4 and 15 are both 1589 from city 33.
    Tables t;
    EXPECT_EQ(t.Choose(33, {4, 15}, AlwaysExploit), 4);
    t.pheromone.Set(33, 15, std::nextafter(t.pheromone.Tao0(), 1.0f));
    EXPECT_EQ(t.Choose(33, {4, 15}, AlwaysExploit), 15);
    // With rho 0.01 one ulp above tao0 is a fixed point of the decay: the
    // entry stops changing but still outweighs city 4.
    for (int step = 0; step < 100; ++step) t.pheromone.Decay(0.01f);
    EXPECT_GT(t.pheromone.Entry(33, 15), t.pheromone.Tao0());
    EXPECT_EQ(t.Choose(33, {4, 15}, AlwaysExploit), 15);
}

TEST(ChooseNextCity, ExploringNeverTakesTheHighestIndexedOfSeveralCities) {
    Tables t;
    int seen[CityCount] = {};
    SeedRandom(1);
    for (int call = 0; call < 2000; ++call) ++seen[t.Choose(0, {3, 20, 41, 44}, NeverExploit)];
    EXPECT_EQ(seen[44], 0);
    EXPECT_GT(std::min({seen[3], seen[20], seen[41]}), 500);
    for (int call = 0; call < 50; ++call) EXPECT_EQ(t.Choose(0, {40, 8}, NeverExploit), 8);
}

TEST(ChooseNextCity, WithOneCityLeftBothBranchesTakeItAfterOneDraw) {
    Tables t;
    for (const float threshold : {AlwaysExploit, NeverExploit}) {
        SeedRandom(7);
        DrawRandom();
        const int next = DrawRandom();
        SeedRandom(7);
        EXPECT_EQ(t.Choose(0, {31}, threshold), 31);
        EXPECT_EQ(DrawRandom(), next) << "threshold " << threshold;
    }
}

// How many of `calls` exploit, where exploiting takes city 9 and exploring 8.
int Exploits(int calls, float threshold) {
    Tables t;
    t.pheromone.Set(0, 9, 1.0f);
    int exploits = 0;
    for (int call = 0; call < calls; ++call) exploits += t.Choose(0, {8, 9}, threshold) == 9;
    return exploits;
}

TEST(ChooseNextCity, ExploitsWhenTheDrawOver32767IsBelowTheThreshold) {
    SeedRandom(11);
    EXPECT_EQ(Exploits(1000, 0.0f), 0);
    EXPECT_EQ(Exploits(1000, -3.0f), 0);
    EXPECT_EQ(Exploits(1000, std::nanf("")), 0);
    EXPECT_EQ(Exploits(1000, 1.5f), 1000);
    EXPECT_NEAR(Exploits(4000, 0.5f), 2000, 200);
    // A threshold of 1 explores only on the top draw.
    for (std::uint32_t seed = 0, top = 0; top == 0; ++seed) {
        SeedRandom(seed);
        top = DrawRandom() == RandomMax;
        SeedRandom(seed);
        EXPECT_EQ(Exploits(1, 1.0f), top ? 0 : 1) << "seed " << seed;
    }
}

}  // namespace
