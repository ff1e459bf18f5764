#include "next_city.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

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
    t.pheromone.Set(33, 0,
                    1.0f);  // a changing entry to a visited city, however heavy, never counts
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
// division does: every entry of the table, at values spread evenly over the
// floats from 1e-10 up to 1, as a run's pheromone ranges, and at every value
// whose quotient lies within 8 units of a double's last place of a midpoint
// between floats, where the two could round apart. Only a value's 24-bit
// mantissa a matters, not its scale: with d^2 = m * 2^k, m odd, and s the shift
// that puts a * 2^s / m between 2^23 and 2^24, where a float's last place is 1,
// the quotient's fraction is r / m, r = a * 2^s mod m, which lies |2r - m| *
// 2^28 / m units from 1/2. Under 8 only where m > 2^25 (m < 2^27 here) and
// |2r - m| is 1 or 3; then one mantissa at most has each r: r * 2^-s mod m.
TEST(PheromoneTable, WeighsEveryChangingEntryAsTheDivisionDoes) {
    Tables t;
    const auto low = std::bit_cast<std::uint32_t>(1e-10f),
               high = std::bit_cast<std::uint32_t>(1.0f);
    for (int from = 0; from < CityCount; ++from) {
        for (int to = 0; to < CityCount; ++to) {
            if (to == from) continue;
            const auto square =
                static_cast<std::uint64_t>(t.distance[from][to]) * t.distance[from][to];
            std::vector<float> values;
            for (std::uint32_t bits = low; bits < high; bits += (high - low) / 10007)
                values.push_back(std::bit_cast<float>(bits));
            const std::uint64_t m = square >> std::countr_zero(square);
            for (std::uint64_t s = 0, inverse = 1; m > 1u << 25 && s < 28;
                 ++s, inverse = inverse * ((m + 1) / 2) % m) {
                for (const std::uint64_t residue : {m / 2 - 1, m / 2, m / 2 + 1, m / 2 + 2}) {
                    const std::uint64_t a = residue * inverse % m;
                    if (a >> 23 == 1 && (a << s) / m >> 23 == 1)
                        values.push_back(std::ldexp(float(a), -30));
                }
            }
            for (const float value : values) {
                t.pheromone.Set(from, to, value);
                ASSERT_EQ(t.pheromone.ChangingWeight(from, to),
                          static_cast<float>(value / double(square)))
                    << from << " " << to << " " << value;
            }
            t.pheromone.Set(from, to, 1e-7f);
        }
    }
}

}  // namespace
