#include "next_city.h"

#include "random.h"

bool HasUnvisitedCity(int ant, const VisitedTable& visited) {
    for (int j = 0; j < CityCount; ++j) {
        if (visited[ant][j] == 0) {
            return true;
        }
    }
    return false;
}

namespace {

// The `rank`-th unvisited city in index order, counting from 1.
int UnvisitedCityOfRank(const VisitedRow& visited, int rank) {
    int seen = 0;
    for (int j = 0; j < CityCount; ++j) {
        if (visited[j] == 0 && ++seen == rank) {
            return j;
        }
    }
    return -1;  // unreachable: callers ask for a rank within the count
}

}  // namespace

int ChooseNextCity(int ant, int current, const VisitedTable& visited,
                   const PheromoneTable& pheromone, const DistanceTable& distance,
                   float exploitThreshold) {
    const VisitedRow& flags = visited[ant];
    std::array<float, CityCount> weight{};
    int count = 0;
    int best = 0;
    for (int j = 0; j < CityCount; ++j) {
        if (flags[j] != 0) {
            continue;  // weight stays 0
        }
        ++count;
        const std::int32_t d = distance[current][j];
        weight[j] = static_cast<float>(double{pheromone[current][j]} / double(d * d));
        if (weight[j] > weight[best]) {
            best = j;
        }
    }

    const auto x = static_cast<float>(DrawRandom() / double{RandomMax});
    if (x < exploitThreshold) {
        return best;
    }
    // The divisor is count - 1, so while two or more cities remain the
    // highest-indexed one is never explored.
    const int rank = count == 1 ? 1 : 1 + DrawRandom() % (count - 1);
    return UnvisitedCityOfRank(flags, rank);
}
