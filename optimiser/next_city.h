// Where an ant moves next during tour construction: with probability about
// `exploitThreshold` (q0) it exploits, taking the unvisited city of largest
// pheromone / distance^2, the lowest index on ties; otherwise it explores,
// taking an unvisited city picked at random by rank.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "colony_state.h"

// True while the ant has at least one city left to visit.
inline bool HasUnvisitedCity(int ant, const AntTable& ants) {
    return ants[ant].Visited.Unvisited() != 0;
}

// The rule for one ant. Requires an unvisited city, and the current city
// already marked visited. Draws once when it exploits or when one city is
// left, else twice.
int ChooseNextCity(int ant, int current, const AntTable& ants,
                   const PheromoneTable& pheromone, const DistanceTable& distance,
                   float exploitThreshold);

// The pieces of the rule, for one ant here and for all ants of a step in the
// run. Those a step runs for every ant are inline, so that every build, with
// or without optimisation across files, keeps the step's loop free of calls.

// An ant exploits when its draw is below this.
int ExploitCutoff(float exploitThreshold);

// The heaviest of `best` and the entries of `changing` (rarely more than one).
std::uint64_t HeavierChanging(std::uint64_t best, CitySet changing, int current,
                              const PheromoneTable& pheromone);

// The unvisited city of largest weight, the lowest index among equals.
// The heaviest settled entry comes from the row's order, and the few entries
// still changing are weighed one by one. Every unvisited weight is positive
// (pheromone never falls below tao0), so the settled none, of weight 0, loses
// to any of them. The lowest changing one is weighed with no branch on whether
// there is one: the ant's own city stands in, of weight 0 (1 / distance^2 is
// 0), which gives the same key as the settled none.
inline int HeaviestUnvisitedCity(const VisitedRow& visited, int current,
                                 const PheromoneTable& pheromone) {
    const CitySet changing = visited.Unvisited() & pheromone.Changing(current);
    const int first = changing != 0 ? std::countr_zero(changing) : current;
    const std::uint64_t best = std::max(pheromone.HeaviestSettled(current, visited.Bytes()),
                                        MoveKey(pheromone.ChangingWeight(current, first), first));
    const CitySet rest = changing & (changing - 1);
    return CityOfKey(rest == 0 ? best : HeavierChanging(best, rest, current, pheromone));
}

// The rank 1 + draw mod (count - 1) that an exploring ant with `count` cities
// left takes from its second draw, and rank 1 when one city is left (which
// takes no second draw). The divisor is count - 1, so while two or more cities
// remain the highest-indexed one is never explored. The remainder comes from
// a multiply and shift: with m = floor(2^32 / d) + 1 = (2^32 + e) / d,
// 0 < e <= d, draw * m / 2^32 = draw / d + draw * e / (d * 2^32), and since
// draw * e < 2^15 * 47 < 2^32 the second term is below 1 / d, too little to
// carry draw / d past the next whole number.
class ExplorationRank {
  public:
    explicit ExplorationRank(int count)
        : draws_(count > 1),
          divisor_(count > 1 ? count - 1 : 1),
          inverse_((std::uint64_t{1} << 32) / static_cast<std::uint64_t>(divisor_) + 1) {}
    bool Draws() const { return draws_; }
    int operator()(int draw) const {
        const auto quotient = static_cast<int>(draw * inverse_ >> 32);
        return 1 + draw - quotient * divisor_;
    }

  private:
    bool draws_;
    int divisor_;
    std::uint64_t inverse_;
};

namespace next_city_detail {

// For every byte value, where its n-th set bit is.
inline constexpr auto SelectInByte = [] {
    std::array<std::array<std::int8_t, 8>, 256> select{};
    for (int byte = 0; byte < 256; ++byte) {
        int n = 0;
        for (int bit = 0; bit < 8; ++bit) {
            if (byte >> bit & 1) {
                select[byte][n++] = static_cast<std::int8_t>(bit);
            }
        }
    }
    return select;
}();

// The cities of a set counted by rank in index order, without branches: the
// data decide the ranks, so a branch on them would be mispredicted at random.
class CityRanks {
  public:
    explicit CityRanks(CitySet cities) : cities_(cities) {
        constexpr std::uint64_t ones = 0x0101010101010101u;
        std::uint64_t count = cities - ((cities >> 1) & 0x5555555555555555u);
        count = (count & 0x3333333333333333u) + ((count >> 2) & 0x3333333333333333u);
        count = (count + (count >> 4)) & 0x0f0f0f0f0f0f0f0fu;
        upTo_ = count * ones;  // byte b: how many cities lie in bytes 0..b
    }

    // The city of rank `rank`, counting from 1.
    int City(int rank) const {
        constexpr std::uint64_t ones = 0x0101010101010101u;
        // Every byte count is at most 48, so no byte borrows from the next,
        // and a byte keeps its top bit exactly when its count reaches `rank`.
        const std::uint64_t reached =
            ((upTo_ | ones << 7) - static_cast<std::uint64_t>(rank) * ones) & ones << 7;
        const int byte = std::countr_zero(reached) / 8;
        const auto before = static_cast<int>((upTo_ << 8) >> (8 * byte) & 0xff);
        const auto bits = static_cast<std::uint8_t>(cities_ >> (8 * byte));
        return 8 * byte + SelectInByte[bits][rank - before - 1];
    }

  private:
    CitySet cities_;
    std::uint64_t upTo_;
};

}  // namespace next_city_detail

// The unvisited city of rank `rank` in index order, counting from 1.
inline int UnvisitedCityOfRank(const VisitedRow& visited, int rank) {
    return next_city_detail::CityRanks(visited.Unvisited()).City(rank);
}
