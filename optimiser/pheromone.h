// The pheromone table: one float per directed edge [from][to]. Entries start at
// a base level, tao0, are raised by reinforcement and decay back toward it.
//
// Beside the values the table keeps what lets a run skip work that changes
// nothing: which entries the decay still changes, and for each row the other
// entries in the order of the weight (pheromone / distance^2) they give a move.
//
// No entry falls below tao0 while rho is in 0..1: the decay's exact value lies
// between the entry and tao0, a reinforced entry's exact value is at least
// tao0 since 1 / BestLength exceeds tao0 (a tour of 48 edges of at most 8416
// is far shorter than Naivedist * 48), and the double arithmetic's error is
// far too small to round either below tao0, itself a float.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "cities.h"

// The weight of a move: pheromone over squared distance, the division in
// double precision.
inline float Weight(float pheromone, std::int32_t distance) {
    return static_cast<float>(double{pheromone} / double(distance * distance));
}

class PheromoneTable {
  public:
    std::span<const float, CityCount> operator[](int from) const {
        return std::span<const float, CityCount>(&entry_[from * CityCount], CityCount);
    }

    // Every entry to tao0. The table keeps `distance` to order its rows.
    void Fill(float tao0, const DistanceTable& distance);

    void Set(int from, int to, float value);

    // Every entry becomes (1 - rho) * entry + rho * tao0. Valid while rho is
    // the same at every call, as it is for a whole run; Fill starts afresh.
    void Decay(float rho);

    float Tao0() const { return tao0_; }

    // The entries of the row that the decay still changes.
    CitySet Changing(int from) const { return isChanging_[from]; }

    // Among `cities`, none of them changing and not `from` itself, the city of
    // largest weight, the lowest index among equal weights.
    int HeaviestSettled(int from, CitySet cities) const;
    // The weight of a move along an entry that is not changing.
    float SettledWeight(int from, int to) const { return orderWeight_[from * CityCount + to]; }

  private:
    void Order(int from);

    // Row after row, entry [from][to] at from * CityCount + to.
    std::array<float, CityCount * CityCount> entry_;
    float tao0_;
    const DistanceTable* distance_;

    // Entries that the last decay changed, as positions in entry_.
    std::array<std::int16_t, CityCount * CityCount> changing_;
    int changingCount_;
    std::array<CitySet, CityCount> isChanging_;

    // Each row's other cities by (weight, index), the weights of changing
    // entries taken at tao0, with the values and weights used for it.
    std::array<std::array<std::int8_t, CityCount - 1>, CityCount> order_;
    std::array<float, CityCount * CityCount> orderedValue_;
    std::array<float, CityCount * CityCount> orderWeight_;
    // rankBits_[from][n][bits]: the places in order_[from] of the cities
    // 4n..4n+3 that `bits` holds, one bit per place.
    std::array<std::array<std::array<std::uint64_t, 16>, CityCount / 4>, CityCount> rankBits_;
    CitySet rowsToOrder_;
};
