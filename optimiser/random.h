// The run's one shared stream of pseudo-random draws, uniform over 0..RandomMax.
//
// A 32-bit permuted congruential generator (64-bit state, xorshift-high then
// random rotation) of our own, so that a seed gives the same draws with every
// compiler and standard library.
#pragma once

#include <cstdint>

inline constexpr int RandomMax = 32767;

void SeedRandom(std::uint32_t seed);

// The generator's full 32-bit output; DrawRandom keeps its top 15 bits.
std::uint32_t NextRandom32();

inline int DrawRandom() {
    return static_cast<int>(NextRandom32() >> 17);
}
