// The pheromone table: one float per directed edge [from][to]. Entries start at
// a base level, tao0, are raised by reinforcement and decay back toward it.
// Beside the values the table keeps what lets a run skip work that changes
// nothing: which entries the decay still changes, grouped by value, and each
// row's other entries in the order of the weight (pheromone / distance^2).
//
// No entry falls below tao0 while rho is in 0..1: the decay's exact value lies
// between the entry and tao0, a reinforced entry's exact value is at least
// tao0 since 1 / BestLength exceeds tao0 (a tour of 48 edges of at most 8416
// is far shorter than Naivedist * 48), and the double arithmetic's error is
// far too small to round either below tao0, itself a float.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "cities.h"

// The weight of a move: pheromone over squared distance, the division in
// double precision.
inline float Weight(float pheromone, std::int32_t distance) {
    return static_cast<float>(double{pheromone} / double(distance * distance));
}

// A move's weight and city as one number that orders as the rule does: by
// weight, then the lower index first. Weights are never negative, and such
// floats order as their bit patterns do.
inline std::uint64_t MoveKey(float weight, int city) {
    return std::uint64_t{std::bit_cast<std::uint32_t>(weight)} << 32 |
           static_cast<std::uint32_t>(CityCount - city);
}
inline int CityOfKey(std::uint64_t key) {
    return CityCount - static_cast<int>(key & 0xffffffffu);
}

// Per city, 0xff when visited, else 0.
using VisitedBytes = std::array<std::uint8_t, CityCount>;

class PheromoneTable {
  public:
    float Entry(int from, int to) const {
        const int at = from * CityCount + to;
        return (changing_[from] & CityBit(to)) != 0 ? level_[levelOf_[at]] : value_[at];
    }

    // Every entry to tao0. The table keeps `distance` to order its rows.
    void Fill(float tao0, const DistanceTable& distance);

    void Set(int from, int to, float value);

    // Every entry becomes (1 - rho) * entry + rho * tao0. Valid while rho is
    // the same at every call, as it is for a whole run; Fill starts afresh.
    void Decay(float rho);

    // False only when the decay changes no entry: a level with entries stays
    // counted.
    bool AnyChanging() const { return levelCount_ > 0; }

    // The entries of the row that the decay still changes.
    CitySet Changing(int from) const { return changing_[from]; }

    // The weight of a changing entry (or 0, for the row's own city).
    float ChangingWeight(int from, int to) const {
        return WeightOf(level_[levelOf_[from * CityCount + to]], from, to);
    }

    // The MoveKey of the unvisited settled city of the row of largest weight,
    // the lowest index among equal weights; of weight 0 when there is none.
    std::uint64_t HeaviestSettled(int from, const VisitedBytes& visited) const {
        return placeKey_[from][FirstSettledPlace(from, visited)];
    }
    // Its city, for a table with no entry changing.
    int HeaviestCity(int from, const VisitedBytes& visited) const {
        return order_[from][FirstSettledPlace(from, visited)];
    }

  private:
    // Weight(value, distance) exactly, but as a product with 1 / distance^2
    // where that is sure to round the same (0 for the row's own city). Both
    // the product and the quotient lie within 2 units of the last place of a
    // double (ulps) from the exact quotient: the reciprocal and the product
    // each round once, by at most 2^-53 relative, and the quotient rounds once.
    // A double rounds to the nearer of two floats, so two doubles round alike
    // unless a midpoint between floats lies between them; a midpoint is a
    // double whose 29 bits below a float's precision are 1 and then 28 zeros.
    // Only a product within 4 ulps of one is divided out.
    float WeightOf(float value, int from, int to) const {
        const double product = double{value} * inverseSquare_[from * CityCount + to];
        constexpr std::uint64_t lowBits = (std::uint64_t{1} << 29) - 1, midpoint = lowBits / 2 + 1;
        if ((std::bit_cast<std::uint64_t>(product) & lowBits) - (midpoint - 4) <= 8) {
            return Weight(value, (*distance_)[from][to]);
        }
        return static_cast<float>(product);
    }
    // The lowest place among the unvisited settled cities: a place or-ed with
    // a visited city's 0xff, or NotSettled, lies beyond Nowhere. A scan of 48
    // bytes with no branch, which compilers turn into a few vector operations;
    // unrolled three times, as many as 16-byte vectors take, so that a build
    // that leaves loops rolled (-O2) does not count its way through them.
    int FirstSettledPlace(int from, const VisitedBytes& visited) const {
        const auto& place = place_[from];
        std::uint8_t first = Nowhere;
#pragma GCC unroll 3
        for (int to = 0; to < CityCount; ++to) {
            first = std::min(first, static_cast<std::uint8_t>(place[to] | visited[to]));
        }
        return first;
    }
    void Order(int from);
    int LevelOf(float value);
    void Settle(const bool* settles);

    // Row after row, entry [from][to] at from * CityCount + to. The value of
    // a changing entry is that of its level.
    std::array<float, CityCount * CityCount> value_;
    float tao0_;
    const DistanceTable* distance_;
    std::array<double, CityCount * CityCount> inverseSquare_;  // 1 / distance^2, 0 on the diagonal

    // The entries the decay still changes, and their values. Entries of one
    // value share a level: the decay is a function of the value, so they keep
    // sharing it, and each level is decayed once for all its entries.
    std::array<CitySet, CityCount> changing_;
    std::array<std::int16_t, CityCount * CityCount> levelOf_;
    std::array<float, CityCount * CityCount> level_;
    std::array<std::int16_t, CityCount * CityCount> levelEntries_;
    int levelCount_;

    // Each row's cities by (weight, index), a changing entry's weight taken at
    // tao0, and the values used. place_ is where an entry stands, NotSettled
    // for a changing one and the row's own city, which order_ holds last, at
    // Nowhere, of weight 0. placeKey_ holds each place's MoveKey.
    static constexpr std::uint8_t NotSettled = 0xff;
    static constexpr int Nowhere = CityCount - 1;
    std::array<std::array<std::int8_t, CityCount>, CityCount> order_;
    std::array<std::array<std::uint8_t, CityCount>, CityCount> place_;
    std::array<std::uint8_t, CityCount * CityCount> settledPlace_;
    std::array<float, CityCount * CityCount> orderedValue_;
    std::array<std::array<std::uint64_t, CityCount>, CityCount> placeKey_;
    CitySet rowsToOrder_;
};
