// The run's one shared stream of pseudo-random draws, uniform over 0..RandomMax.
//
// A 32-bit permuted congruential generator (64-bit state, xorshift-high then
// random rotation) of our own, so that a seed gives the same draws with every
// compiler and standard library; a draw is an output's top 15 bits. Inline: a
// run draws thousands of times per iteration.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

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

inline std::uint16_t Draw(std::uint64_t old) {
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
    return static_cast<std::uint16_t>(std::rotr(xorshifted, static_cast<int>(old >> 59)) >> 17);
}

// Draws are made ahead in blocks of 64, in stream order, by Lanes chains of
// states, each Lanes draws apart, side by side rather than one dependent
// multiplication after another. Each block gets a word with bit i set when
// its draw i reaches the explore cutoff; blocks are moved whole, never made
// again.
inline constexpr int Lanes = 4;
inline constexpr int BlockDraws = 64;
inline constexpr int Blocks = 8;
inline constexpr int Capacity = Blocks * BlockDraws;

inline std::uint64_t State = 0;  // the state of the first draw not yet made
inline std::uint64_t ExploreLift = 0;  // 2^15 - cutoff in each 16-bit quarter
alignas(64) inline std::array<std::uint16_t, Capacity> Ahead;
inline std::array<std::uint64_t, Blocks + 2> Explores;  // two spare words to read past the end
inline int Next = 0, End = 0;  // Ahead[Next..End) are made and not yet drawn

// Four draws at a time, one per 16-bit quarter, the first lowest: a draw is
// below 2^15, so adding 2^15 - cutoff sets a quarter's top bit (15, 31, 47,
// 63) exactly when the draw reaches the cutoff, and carries into no other
// quarter. Multiplying the top bits by 2^0 + 2^15 + 2^30 + 2^45 moves them to
// bits 60..63 in order: a bit at 16i + 15 moved by 15j lands at
// 16i + 15(j + 1), distinct for all i, j in 0..3, so no two meet and nothing
// carries.
inline std::uint64_t ExploreBits(const std::uint16_t* draw) {
    constexpr std::uint64_t tops = 0x8000800080008000u;
    constexpr std::uint64_t gather = 1 | 1u << 15 | std::uint64_t{1} << 30 | std::uint64_t{1} << 45;
    std::uint64_t bits = 0;
    for (int i = 0; i < BlockDraws; i += 4) {
        std::uint64_t four;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&four, &draw[i], sizeof four);
        } else {
            four = draw[i] | std::uint64_t{draw[i + 1]} << 16 | std::uint64_t{draw[i + 2]} << 32 |
                   std::uint64_t{draw[i + 3]} << 48;
        }
        bits |= (((four + ExploreLift) & tops) * gather >> 60) << i;
    }
    return bits;
}

inline void Refill() {
    static_assert(Lanes == 4);
    constexpr Jump One = JumpOf(1), Two = JumpOf(2), Three = JumpOf(3), Step = JumpOf(Lanes);
    // Every made draw may be used already: `first` is then Blocks, and the
    // blocks kept begin at the end of the array.
    const int first = Next / BlockDraws, kept = End / BlockDraws - first;
    std::copy_n(Ahead.data() + first * BlockDraws, kept * BlockDraws, Ahead.data());
    std::copy_n(Explores.data() + first, kept, Explores.data());
    Next -= first * BlockDraws;
    End = kept * BlockDraws;
    // The lanes written out, so that every build keeps them in registers.
    std::uint64_t lane0 = State, lane1 = One(State), lane2 = Two(State), lane3 = Three(State);
    for (; End < Capacity; End += Lanes) {
        Ahead[End] = Draw(lane0);
        Ahead[End + 1] = Draw(lane1);
        Ahead[End + 2] = Draw(lane2);
        Ahead[End + 3] = Draw(lane3);
        lane0 = Step(lane0);
        lane1 = Step(lane1);
        lane2 = Step(lane2);
        lane3 = Step(lane3);
    }
    State = lane0;
    // A loop of its own: joined with the one above, compilers may split it
    // again into two loops that each make every draw.
    for (int b = kept; b < Blocks; ++b) {
        Explores[b] = ExploreBits(&Ahead[b * BlockDraws]);
    }
}

}  // namespace random_detail

// Starts the stream for `seed`. A draw of `exploreFrom` (0..RandomMax + 1) or
// more is marked as one that makes an ant explore (PeekExplores).
inline void SeedRandom(std::uint32_t seed, int exploreFrom = RandomMax + 1) {
    using namespace random_detail;
    constexpr Jump step = JumpOf(1);
    State = step(0) + seed;
    State = step(State);
    ExploreLift = static_cast<std::uint64_t>(RandomMax + 1 - exploreFrom) * 0x0001000100010001u;
    Next = End = 0;
}

inline int DrawRandom() {
    using namespace random_detail;
    if (Next == End) {
        Refill();
    }
    return Ahead[Next++];
}

// The next `count` draws of the stream (at most Capacity - BlockDraws), left
// in it until SkipRandom takes them.
inline const std::uint16_t* PeekRandom(int count) {
    using namespace random_detail;
    if (End - Next < count) {
        Refill();
    }
    return &Ahead[Next];
}

// Bit i: whether the draw i places on from the next reaches the explore
// cutoff, for the places PeekRandom made ready.
inline void PeekExplores(std::uint64_t (&explores)[2]) {
    using namespace random_detail;
    const int w = Next / BlockDraws, b = Next % BlockDraws;
    // Shifting by 1 and then 63 - b moves by 64 - b, and by 64 gives 0.
    explores[0] = Explores[w] >> b | Explores[w + 1] << 1 << (63 - b);
    explores[1] = Explores[w + 1] >> b | Explores[w + 2] << 1 << (63 - b);
}

// The same for one place, from the draw itself, as ExploreBits does it.
inline int PeekExplore(int place) {
    using namespace random_detail;
    return static_cast<int>((Ahead[Next + place] + (ExploreLift & 0xffff)) >> 15);
}

inline void SkipRandom(int count) {
    random_detail::Next += count;
}
