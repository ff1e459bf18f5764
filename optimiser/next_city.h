// Where an ant moves next during tour construction: with probability about
// `exploitThreshold` (q0) it exploits, taking the unvisited city of largest
// pheromone / distance^2, the lowest index on ties; otherwise it explores,
// taking an unvisited city picked at random by rank.
#pragma once

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
// run.

// An ant exploits when its draw is below this.
int ExploitCutoff(float exploitThreshold);

// The unvisited city of largest weight, the lowest index among equals.
int HeaviestUnvisitedCity(const VisitedRow& visited, int current, const PheromoneTable& pheromone);

// The rank 1 + draw mod (count - 1) that an exploring ant with `count` cities
// left takes from its second draw, and rank 1 when one city is left (which
// takes no second draw).
class ExplorationRank {
  public:
    explicit ExplorationRank(int count);
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

// The unvisited city of rank `rank` in index order, counting from 1.
int UnvisitedCityOfRank(const VisitedRow& visited, int rank);
