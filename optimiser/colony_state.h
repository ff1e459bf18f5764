// The colony's process-wide tables. They are static storage, zero at program
// start and reused by every run, so a run allocates nothing.
#pragma once

#include <array>
#include <cstdint>

#include "cities.h"
#include "pheromone.h"

// A tour row: slot 0 the start city, slots 1..47 the other cities in visiting
// order, slot 48 the start city again.
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
using VisitedTable = std::array<VisitedRow, MaxAnts>;

using TourRow = std::array<std::int32_t, TourSlots>;
using TourTable = std::array<TourRow, MaxAnts>;
using TourLengthTable = std::array<float, MaxAnts>;

struct ColonyState {
    PheromoneTable Pheromone;
    DistanceTable Distance;
    VisitedTable Visited;
    TourTable Tour;
    std::array<std::int32_t, MaxAnts> StartCity;
    std::array<std::int32_t, CityCount> StartTaken;  // 1 once an ant starts there
    TourLengthTable TourLength;
    TourRow BestTour;
    float BestLength;
    float Tao0;
};

extern ColonyState Colony;

// Copies into `bestTour` the row of the first ant, in index order, whose length
// is strictly below the running best, and of every later ant that beats it in
// turn; returns the new best length. On equal lengths the earlier holder stays.
float KeepBestTour(float bestLength, const TourTable& tour, const TourLengthTable& tourLength,
                   TourRow& bestTour, int antCount);
