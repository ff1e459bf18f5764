// The colony run as literally as it reads: every weight computed in a full
// scan, every entry decayed after every step. Sharing the distances and the
// generator with the product, it is the yardstick of its report and speed.
#pragma once

#include "colony.h"

namespace oracle {

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* report);

// What the last run left.
extern float pheromone[48][48], bestLength;
extern int bestTour[49];

}  // namespace oracle
