#include "oracle.h"

#include <cmath>

#include "cities.h"
#include "random.h"

namespace oracle {
namespace {

constexpr int Cities = 48;
constexpr int Slots = Cities + 1;
constexpr int Ants = 48;

struct State {
    float pheromone[Cities][Cities];
    std::int32_t distance[Cities][Cities];
    std::int32_t visited[Ants][Cities];
    std::int32_t tour[Ants][Slots];
    std::int32_t startCity[Ants];
    std::int32_t startTaken[Cities];
    float tourLength[Ants];
    std::int32_t bestTour[Slots];
    float bestLength;
    float tao0;
};

State S;

float BuildDistanceTable() {
    float x[Cities], y[Cities];
    for (int i = 0; i < Cities; ++i) {
        x[i] = CityTable.x[i];
        y[i] = CityTable.y[i];
    }
    for (int i = 0; i < Cities; ++i) {
        for (int j = 0; j < Cities; ++j) {
            const double dx = double{x[j]} - double{x[i]};
            const double dy = double{y[j]} - double{y[i]};
            S.distance[i][j] = static_cast<std::int32_t>(std::sqrt(dx * dx + dy * dy));
        }
    }
    float naivedist = 0;
    for (int i = 0; i < Cities; ++i) {
        naivedist = naivedist + static_cast<float>(S.distance[i][(i + 1) % Cities]);
    }
    return naivedist;
}

bool HasUnvisitedCity(int k) {
    for (int j = 0; j < Cities; ++j) {
        if (S.visited[k][j] == 0) {
            return true;
        }
    }
    return false;
}

int ChooseNextCity(int k, int current, float q0) {
    float weight[Cities];
    int count = 0;
    int best = 0;
    for (int j = 0; j < Cities; ++j) {
        if (S.visited[k][j] != 0) {
            weight[j] = 0;
        } else {
            ++count;
            const std::int32_t d = S.distance[current][j];
            weight[j] = static_cast<float>(double{S.pheromone[current][j]} / double(d * d));
            if (weight[j] > weight[best]) {
                best = j;
            }
        }
    }
    const auto x = static_cast<float>(DrawRandom() / 32767.0);
    if (x < q0) {
        return best;
    }
    int m = 1;
    if (count != 1) {
        m = 1 + DrawRandom() % (count - 1);
    }
    int seen = 0;
    for (int j = 0; j < Cities; ++j) {
        if (S.visited[k][j] == 0) {
            ++seen;
            if (seen == m) {
                return j;
            }
        }
    }
    return -1;
}

}  // namespace

void RunColony(RunParameters params, std::uint32_t seed, std::FILE* report) {
    const double rho = params.EvaporationRate;
    SeedRandom(seed);
    S.bestLength = 999999.0f;
    const float naivedist = BuildDistanceTable();
    S.tao0 = static_cast<float>(1.0 / (double{naivedist} * 48));
    std::fprintf(report, "Tao0 = %f  Naivedist=%f\n", double{S.tao0}, double{naivedist});
    for (int i = 0; i < Cities; ++i) {
        for (int j = 0; j < Cities; ++j) {
            S.pheromone[i][j] = S.tao0;
        }
    }
    for (int iteration = 0; iteration < params.IterationCount; ++iteration) {
        for (int k = 0; k < params.AntCount; ++k) {
            for (int j = 0; j < Cities; ++j) {
                S.visited[k][j] = 0;
            }
            for (int s = 0; s < Slots; ++s) {
                S.tour[k][s] = 0;
            }
        }
        for (int c = 0; c < Cities; ++c) {
            S.startTaken[c] = 0;
        }
        for (int k = 0; k < params.AntCount; ++k) {
            int c = DrawRandom() % Cities;
            while (S.startTaken[c] != 0) {
                c = DrawRandom() % Cities;
            }
            S.startTaken[c] = 1;
            S.startCity[k] = c;
            S.visited[k][c] = 1;
            S.tour[k][0] = c;
        }
        int s = 0;
        bool done = false;
        while (!done) {
            ++s;
            for (int k = 0; k < params.AntCount; ++k) {
                if (HasUnvisitedCity(k)) {
                    S.tour[k][s] = ChooseNextCity(k, S.tour[k][s - 1], params.ExploitThreshold);
                    S.visited[k][S.tour[k][s]] = 1;
                } else {
                    S.tour[k][s] = S.startCity[k];
                    done = true;
                }
            }
            for (int i = 0; i < Cities; ++i) {
                for (int j = 0; j < Cities; ++j) {
                    S.pheromone[i][j] = static_cast<float>((1.0 - rho) * double{S.pheromone[i][j]} +
                                                           rho * double{S.tao0});
                }
            }
        }
        for (int k = 0; k < params.AntCount; ++k) {
            S.tourLength[k] = 0;
            for (int p = 0; p < Cities; ++p) {
                S.tourLength[k] = S.tourLength[k] +
                                  static_cast<float>(S.distance[S.tour[k][p]][S.tour[k][p + 1]]);
            }
        }
        for (int k = 0; k < params.AntCount; ++k) {
            if (S.tourLength[k] < S.bestLength) {
                for (int p = 0; p < Slots; ++p) {
                    S.bestTour[p] = S.tour[k][p];
                }
                S.bestLength = S.tourLength[k];
            }
        }
        std::fprintf(report, "\n %f", double{S.bestLength});
        for (int p = 0; p < Cities; ++p) {
            const int a = S.bestTour[p];
            const int b = S.bestTour[p + 1];
            S.pheromone[a][b] = static_cast<float>((1.0 / double{S.bestLength}) * rho +
                                                   (1.0 - rho) * double{S.pheromone[a][b]});
        }
    }
}

}  // namespace oracle
