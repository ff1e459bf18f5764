#include "pheromone.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

namespace {

// The table filled as a run starts it, pheromone equal everywhere.
struct Tables {
    DistanceTable distance;
    PheromoneTable pheromone;
    Tables() { pheromone.Fill(1e-7f, (BuildDistanceTable(distance), distance)); }
};

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
// division does: every entry at values spread over the floats from 1e-10 to 1,
// and at every value whose quotient lies within 8 units of a double's last
// place of a midpoint between floats. With d^2 = m * 2^k, m odd, a mantissa a
// and s the shift putting a * 2^s / m in [2^23, 2^24), the quotient lies
// |2r - m| * 2^28 / m units from a midpoint, r = a * 2^s mod m: under 8 only
// for m > 2^25 (m < 2^27 here) and |2r - m| of 1 or 3, each r met by at most
// one mantissa, r * 2^-s mod m.
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
