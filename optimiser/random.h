// The run's one shared stream of pseudo-random draws, uniform over 0..RandomMax.
//
// A 32-bit permuted congruential generator (64-bit state, xorshift-high then
// random rotation) of our own, so that a seed gives the same draws with every
// compiler and standard library. Inline: a run draws thousands of times per
// iteration.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

inline constexpr int RandomMax = 32767;

namespace random_detail {

inline constexpr std::uint64_t Multiplier = 6364136223846793005u;
inline constexpr std::uint64_t Increment = 1442695040888963407u;

// The state `steps` draws on from s is multiplier * s + increment (mod 2^64).
struct Jump {
    std::uint64_t multiplier = 1, increment = 0;
    std::uint64_t operator()(std::uint64_t state) const { return multiplier * state + increment; }
};
constexpr Jump JumpOf(int steps) {
    Jump jump;
    for (int i = 0; i < steps; ++i) {
        jump = {Multiplier * jump.multiplier, Multiplier * jump.increment + Increment};
    }
    return jump;
}

inline std::uint32_t Output(std::uint64_t old) {
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
    return std::rotr(xorshifted, static_cast<int>(old >> 59));
}

// Outputs are made ahead, a block at a time, in stream order. Stepping the
// state one draw at a time is a chain of dependent multiplications; Lanes
// chains, each Lanes draws apart, make the same outputs side by side.
inline constexpr int Lanes = 4;
inline constexpr int Capacity = 256;

inline std::uint64_t State = 0;  // the state of the first output not yet made
inline std::array<std::uint32_t, Capacity> Ahead;
inline int Next = 0, End = 0;  // Ahead[Next..End) are made and not yet drawn

inline void Refill() {
    static constexpr Jump LaneStart[Lanes] = {JumpOf(0), JumpOf(1), JumpOf(2), JumpOf(3)};
    static constexpr Jump LaneStep = JumpOf(Lanes);
    for (int i = Next; i < End; ++i) {
        Ahead[i - Next] = Ahead[i];
    }
    End -= Next;
    Next = 0;
    std::uint64_t lane[Lanes];
    for (int l = 0; l < Lanes; ++l) {
        lane[l] = LaneStart[l](State);
    }
    for (; End + Lanes <= Capacity; End += Lanes) {
        for (int l = 0; l < Lanes; ++l) {
            Ahead[End + l] = Output(lane[l]);
            lane[l] = LaneStep(lane[l]);
        }
    }
    State = lane[0];
}

}  // namespace random_detail

inline void SeedRandom(std::uint32_t seed) {
    using namespace random_detail;
    constexpr Jump step = JumpOf(1);
    State = step(0) + seed;
    State = step(State);
    Next = End = 0;
}

// The generator's full 32-bit output; a draw is its top 15 bits.
inline std::uint32_t NextRandom32() {
    using namespace random_detail;
    if (Next == End) {
        Refill();
    }
    return Ahead[Next++];
}

inline int DrawOf(std::uint32_t output) {
    return static_cast<int>(output >> 17);
}

inline int DrawRandom() {
    return DrawOf(NextRandom32());
}

// The next `count` outputs of the stream (at most Capacity - Lanes), left in
// it until SkipRandom takes them.
inline const std::uint32_t* PeekRandom(int count) {
    using namespace random_detail;
    if (End - Next < count) {
        Refill();
    }
    return &Ahead[Next];
}

inline void SkipRandom(int count) {
    random_detail::Next += count;
}
