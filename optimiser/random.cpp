#include "random.h"

namespace {

constexpr std::uint64_t Multiplier = 6364136223846793005u;
constexpr std::uint64_t Increment = 1442695040888963407u;

std::uint64_t State = 0;

}  // namespace

std::uint32_t NextRandom32() {
    const std::uint64_t old = State;
    State = old * Multiplier + Increment;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
    const auto rotation = static_cast<std::uint32_t>(old >> 59);
    return (xorshifted >> rotation) | (xorshifted << ((32 - rotation) & 31));
}

void SeedRandom(std::uint32_t seed) {
    State = 0;
    NextRandom32();
    State += seed;
    NextRandom32();
}
