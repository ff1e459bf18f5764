#include "oracle.h"

#include <algorithm>
#include <span>

#include "cities.h"
#include "random.h"

namespace oracle {

float pheromone[48][48], bestLength;
int bestTour[49];

namespace {

constexpr int N = 48;  // cities, and at most as many ants

float tourLength[N], tao0;
DistanceTable distance;
int visited[N][N], tour[N][N + 1], startCity[N], startTaken[N];

int ChooseNextCity(int k, int current, float q0) {
    float bestWeight = 0;
    int count = 0, best = 0;
    for (int j = 0; j < N; ++j) {
        if (visited[k][j] != 0) continue;
        ++count;
        const int d = distance[current][j];
        const auto weight = static_cast<float>(double{pheromone[current][j]} / double(d * d));
        if (weight > bestWeight) bestWeight = weight, best = j;
    }
    if (static_cast<float>(DrawRandom() / 32767.0) < q0) return best;
    const int m = count == 1 ? 1 : 1 + DrawRandom() % (count - 1);
    for (int j = 0, seen = 0; j < N; ++j)
        if (visited[k][j] == 0 && ++seen == m) return j;
    return -1;
}

}  // namespace

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* report) {
    const double rho = params.EvaporationRate;
    SeedRandom(seed);
    bestLength = 999999.0f;
    const float naivedist = BuildDistanceTable(distance);
    tao0 = static_cast<float>(1.0 / (double{naivedist} * 48));
    std::fprintf(report, "Tao0 = %f  Naivedist=%f\n", double{tao0}, double{naivedist});
    std::fill_n(&pheromone[0][0], N * N, tao0);
    for (int iteration = 0; iteration < params.IterationCount; ++iteration) {
        std::fill_n(&visited[0][0], N * N, 0);
        std::fill_n(startTaken, N, 0);
        for (int k = 0; k < params.AntCount; ++k) {
            int c = DrawRandom() % N;
            while (startTaken[c] != 0) c = DrawRandom() % N;
            startTaken[c] = visited[k][c] = 1;
            startCity[k] = tour[k][0] = c;
        }
        for (int s = 1, done = 0; !done; ++s) {
            for (int k = 0; k < params.AntCount; ++k) {
                if (std::count(visited[k], visited[k] + N, 0) > 0) {  // a city left to visit
                    tour[k][s] = ChooseNextCity(k, tour[k][s - 1], params.ExploitThreshold);
                    visited[k][tour[k][s]] = 1;
                } else {
                    tour[k][s] = startCity[k];
                    done = 1;
                }
            }
            for (float& entry : std::span(&pheromone[0][0], N * N))
                entry = static_cast<float>((1.0 - rho) * double{entry} + rho * double{tao0});
        }
        for (int k = 0; k < params.AntCount; ++k) {
            tourLength[k] = 0;
            for (int s = 0; s < N; ++s)
                tourLength[k] += static_cast<float>(distance[tour[k][s]][tour[k][s + 1]]);
            if (tourLength[k] < bestLength) {
                bestLength = tourLength[k];
                std::copy_n(tour[k], N + 1, bestTour);
            }
        }
        std::fprintf(report, "\n %f", double{bestLength});
        for (int p = 0; p < N; ++p) {
            float& entry = pheromone[bestTour[p]][bestTour[p + 1]];
            entry =
                static_cast<float>((1.0 / double{bestLength}) * rho + (1.0 - rho) * double{entry});
        }
    }
}

}  // namespace oracle
