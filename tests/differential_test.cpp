// The product's report is byte for byte the straightforward run's, over the
// whole valid range of the parameters.
#include <gtest/gtest.h>

#include <cmath>

#include "captured.h"
#include "oracle.h"

void PrintTo(const RunParameters& p, std::ostream* out) {
    *out << "ants " << p.AntCount << ", rho " << p.EvaporationRate << ", iterations "
         << p.IterationCount << ", q0 " << p.ExploitThreshold;
}

namespace {

using Case = std::pair<RunParameters, std::uint32_t>;  // and the seed

// Every rate meets every threshold at four iteration counts, ants spread over
// their range; then long runs where entries settle above tao0 and rows reorder,
// and one where a later tour as short as the best must leave it in place.
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
    cases.push_back({{48, 0.01f, 2000, 0.9f}, 4});
    cases.push_back({{48, 0.1f, 1000, 0.5f}, 5});
    cases.push_back({{28, 0.1f, 180, 0.9f}, 219});
    return cases;
}

class SameReport : public testing::TestWithParam<Case> {};

TEST_P(SameReport, AsTheStraightforwardRun) {
    const auto [params, seed] = GetParam();
    ASSERT_EQ(Report(params, seed),
              Captured([&](std::FILE* file) { oracle::RunColony(params, seed, file); }));
}

INSTANTIATE_TEST_SUITE_P(Runs, SameReport, testing::ValuesIn(Cases()));

}  // namespace
