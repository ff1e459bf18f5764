// The colony run written as literally as it reads: every weight computed in
// full scans, every pheromone entry decayed after every step. It shares only
// the city table and the generator with the product, and is the yardstick for
// both its correctness and its speed.
#pragma once

#include <cstdint>
#include <cstdio>

#include "colony.h"

namespace oracle {

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* report);

}  // namespace oracle
