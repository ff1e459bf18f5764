// The run's one shared stream of pseudo-random draws, uniform over 0..RandomMax.
//
// A 32-bit permuted congruential generator (64-bit state, xorshift-high then
// random rotation) of our own, so that a seed gives the same draws with every
// compiler and standard library. Inline: a run draws thousands of times per
// iteration.
#pragma once

#include <bit>
#include <cstdint>

inline constexpr int RandomMax = 32767;

namespace random_detail {
inline std::uint64_t State = 0;
}  // namespace random_detail

// The generator's full 32-bit output; DrawRandom keeps its top 15 bits.
inline std::uint32_t NextRandom32() {
    const std::uint64_t old = random_detail::State;
    random_detail::State = old * 6364136223846793005u + 1442695040888963407u;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
    return std::rotr(xorshifted, static_cast<int>(old >> 59));
}

inline void SeedRandom(std::uint32_t seed) {
    random_detail::State = 0;
    NextRandom32();
    random_detail::State += seed;
    NextRandom32();
}

inline int DrawRandom() {
    return static_cast<int>(NextRandom32() >> 17);
}
