// The colony run written as literally as it reads, sharing only the city table
// and the generator with the product: the yardstick of its report and speed.
#pragma once

#include <cstdint>
#include <cstdio>

#include "colony.h"

namespace oracle {

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* report);

}  // namespace oracle
