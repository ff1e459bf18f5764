// The one built-in travelling-salesman instance and its integer distance table.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int CityCount = 48;

// A set of cities, one bit per city index.
using CitySet = std::uint64_t;
inline constexpr CitySet AllCities = (CitySet{1} << CityCount) - 1;
inline constexpr CitySet CityBit(int city) {
    return CitySet{1} << city;
}

struct CityCoordinates {
    std::array<float, CityCount> x;
    std::array<float, CityCount> y;
};

extern const CityCoordinates CityTable;

// [from][to], Euclidean distances truncated toward zero.
using DistanceTable = std::array<std::array<std::int32_t, CityCount>, CityCount>;

// Overwrites every entry of `distance` and returns Naivedist, the length of the
// closed tour that visits the cities in index order.
float BuildDistanceTable(DistanceTable& distance);
