// The colony's process-wide tables. They are static storage, zero at program
// start and reused by every run, so a run allocates nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "cities.h"
#include "pheromone.h"

inline constexpr int TourSlots = CityCount + 1;

// Capacity of every per-ant table.
inline constexpr int MaxAnts = 99999;

// Per ant, which cities it has already visited. Kept both as a set and as
// bytes, for the two ways the next-city rule looks at it.
class VisitedRow {
  public:
    void Mark(int city) {
        bits_ |= CityBit(city);
        bytes_[city] = 0xff;
    }
    void Clear() {
        bits_ = 0;
        bytes_.fill(0);
    }
    CitySet Unvisited() const { return AllCities & ~bits_; }
    const VisitedBytes& Bytes() const { return bytes_; }

  private:
    CitySet bits_;
    VisitedBytes bytes_;
};

// A tour row: slot 0 the start city, slots 1..47 the other cities in visiting
// order, slot 48 the start city again.
using TourRow = std::array<std::int32_t, TourSlots>;

// One ant's state in one record: the first 64 bytes hold all that a step
// reads, the rest the tour it writes, so a step touches two cache lines per
// ant and no other table.
struct alignas(64) Ant {
    VisitedRow Visited;
    std::int32_t City;    // where the ant is
    std::int32_t Length;  // of its tour, once measured
    std::array<std::int8_t, TourSlots> Tour;  // as a tour row
};
static_assert(offsetof(Ant, Tour) == 64);
using AntTable = std::array<Ant, MaxAnts>;

struct ColonyState {
    PheromoneTable Pheromone;
    DistanceTable Distance;
    AntTable Ants;
    std::array<std::int32_t, CityCount> StartTaken;  // 1 once an ant starts there
    TourRow BestTour;
    float BestLength;
    float Tao0;
};

extern ColonyState Colony;

// Of the first `antCount` ants (at least one), the first in index order with
// the shortest tour, if that is strictly below `bestLength`, has its tour
// copied into `bestTour`; returns the new best length. On equal lengths the
// earlier holder stays.
float KeepBestTour(float bestLength, const AntTable& ants, TourRow& bestTour, int antCount);
