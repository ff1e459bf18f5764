// The product's run is the straightforward run's: the same report byte for
// byte, and the same pheromone table bit for bit, best tour and best length
// after it, over the whole valid range of the parameters.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "captured.h"
#include "colony_state.h"
#include "oracle.h"

void PrintTo(const RunParameters& p, std::ostream* out) {
    *out << "ants " << p.AntCount << ", rho " << p.EvaporationRate << ", iterations "
         << p.IterationCount << ", q0 " << p.ExploitThreshold;
}

namespace {

using Case = std::pair<RunParameters, std::uint32_t>;  // and the seed

void ExpectSameRun(const RunParameters& params, std::uint32_t seed) {
    SCOPED_TRACE(testing::PrintToString(params) + ", seed " + std::to_string(seed));
    const std::string report = Report(params, seed);
    ASSERT_EQ(report, Captured([&](std::FILE* file) { oracle::RunColony(params, seed, file); }));
    for (int i = 0; i < CityCount * CityCount; ++i) {
        const float entry = Colony.Pheromone.Entry(i / CityCount, i % CityCount);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(entry),
                  std::bit_cast<std::uint32_t>(oracle::pheromone[i / CityCount][i % CityCount]))
            << "entry " << i;
    }
    EXPECT_EQ(Colony.BestLength, oracle::bestLength);
    if (params.IterationCount >= 1) {  // else what an earlier run left
        EXPECT_TRUE(std::equal(Colony.BestTour.begin(), Colony.BestTour.end(), oracle::bestTour));
    }
}

// Every rate meets every threshold at four iteration counts; then long runs where
// entries settle above tao0, ties for the best tour across and within iterations,
// and more reinforcements than the table has entries, each settling in the end.
std::vector<Case> Cases() {
    const int ants[] = {1, 2, 5, 12, 30, 47, 48};
    std::vector<Case> cases;
    for (const float rho : {0.0f, 1.0f, 0.8f, 0.5f, 0.1f, 0.01f, 0.001f, 0.3f, 0.95f}) {
        for (const float q0 : {-1.0f, 0.0f, 0.25f, 0.5f, 0.9f, 1.0f, 1.5f, std::nanf("")}) {
            for (const int iterations : {0, 1, 40, 300}) {
                const auto n = static_cast<std::uint32_t>(cases.size());
                cases.push_back(
                    {{ants[n % std::size(ants)], rho, iterations, q0}, n * 2654435761u});
            }
        }
    }
    cases.insert(cases.end(), {{{48, 0.01f, 2000, 0.9f}, 4},
                               {{48, 0.1f, 1000, 0.5f}, 5},
                               {{20, 0.2f, 1000, 0.8f}, 3253053337},
                               {{28, 0.1f, 180, 0.9f}, 219},
                               {{20, 0.5f, 300, 0.7f}, 392230127},
                               {{5, 0.00001f, 208, 1.169f}, 3944822943},
                               {{2, 0.5f, 3000, 0.5f}, 6}});
    // Long runs at rates from 1e-4 down to 1e-6, where entries settle a few
    // ulps above tao0 only after hundreds of steps and their rows are ordered
    // again; with few ants that mostly exploit, that order decides most moves.
    std::mt19937 pick(2026);
    const auto below = [&](int n) { return static_cast<int>(pick() % n); };
    for (int n = 0; n < 60; ++n) {
        const float rho = std::pow(10.0f, -4.0f - static_cast<float>(below(2001)) / 1000);
        const float q0 = 0.8f + static_cast<float>(below(1001)) / 1000;
        const int ants = 1 + below(6), iterations = 200 + below(201);
        cases.push_back({{ants, rho, iterations, q0}, static_cast<std::uint32_t>(pick())});
    }
    return cases;
}

class SameRun : public testing::TestWithParam<Case> {};

TEST_P(SameRun, AsTheStraightforwardRun) {
    ExpectSameRun(GetParam().first, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Runs, SameRun, testing::ValuesIn(Cases()));

}  // namespace
