#include "next_city.h"

#include <algorithm>
#include <bit>

#include "random.h"

std::uint64_t HeavierChanging(std::uint64_t best, CitySet changing, int current,
                              const PheromoneTable& pheromone) {
    for (; changing != 0; changing &= changing - 1) {
        const int city = std::countr_zero(changing);
        best = std::max(best, MoveKey(pheromone.ChangingWeight(current, city), city));
    }
    return best;
}

// The fraction draw / RandomMax rises with the draw, so the draws for which it
// falls below the threshold are those below a cutoff.
int ExploitCutoff(float exploitThreshold) {
    int below = 0, above = RandomMax + 1;
    while (below < above) {
        const int draw = (below + above) / 2;
        if (static_cast<float>(draw / double{RandomMax}) < exploitThreshold) {
            below = draw + 1;
        } else {
            above = draw;
        }
    }
    return below;
}

// The draws do not depend on the weights, so the weights are needed only when
// the ant exploits.
int ChooseNextCity(int ant, int current, const AntTable& ants, const PheromoneTable& pheromone,
                   const DistanceTable& /*distance*/, float exploitThreshold) {
    const VisitedRow& row = ants[ant].Visited;
    if (DrawRandom() < ExploitCutoff(exploitThreshold)) {
        return HeaviestUnvisitedCity(row, current, pheromone);
    }
    const ExplorationRank rank(std::popcount(row.Unvisited()));
    return UnvisitedCityOfRank(row, rank.Draws() ? rank(DrawRandom()) : 1);
}
