// Where an ant moves next during tour construction.
#pragma once

#include "colony_state.h"

// True while the ant has at least one city left to visit.
inline bool HasUnvisitedCity(int ant, const VisitedTable& visited) {
    return visited[ant].Unvisited() != 0;
}

// With probability about `exploitThreshold` (q0) the ant exploits: it takes the
// unvisited city of largest pheromone / distance^2, the lowest index on ties.
// Otherwise it explores: it takes an unvisited city picked at random by rank.
// Requires an unvisited city, and the current city already marked visited.
// Draws once when it exploits or when one city is left, else twice.
int ChooseNextCity(int ant, int current, const VisitedTable& visited,
                   const PheromoneTable& pheromone, const DistanceTable& distance,
                   float exploitThreshold);
