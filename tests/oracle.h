// The colony run as literally as it reads: every weight computed in a full
// scan, every entry decayed after every step. Sharing the distances and the
// generator with the product, it is the yardstick of its report and speed.
#pragma once

#include <array>

#include "colony.h"

namespace oracle {

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* report);

// What the last run left: every pheromone entry, row after row, as bits; the
// best tour and its length.
struct EndState {
    std::array<std::uint32_t, 48 * 48> pheromone;
    std::array<std::int32_t, 49> bestTour;
    float bestLength;
};
EndState LastRun();

}  // namespace oracle
