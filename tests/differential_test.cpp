// The product's report is byte for byte the straightforward run's, over the
// whole valid range of the parameters.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "captured.h"
#include "oracle.h"

namespace {

struct Case {
    RunParameters params;
    std::uint32_t seed;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << "ants " << c.params.AntCount << ", rho " << c.params.EvaporationRate << ", iterations "
         << c.params.IterationCount << ", q0 " << c.params.ExploitThreshold << ", seed " << c.seed;
}

// Every evaporation rate meets every threshold at four iteration counts, with
// ant counts spread over their range; then two long runs, where entries
// settle above tao0 and rows are reordered often, and a run where a later tour
// as short as the best must leave the best in place.
std::vector<Case> Cases() {
    const std::array ants = {1, 2, 5, 12, 30, 47, 48};
    std::vector<Case> cases;
    for (const float rho : {0.0f, 1.0f, 0.8f, 0.5f, 0.1f, 0.01f, 0.001f, 0.3f, 0.95f}) {
        for (const float q0 : {-1.0f, 0.0f, 0.25f, 0.5f, 0.9f, 1.0f, 1.5f, std::nanf("")}) {
            for (const int iterations : {0, 1, 40, 300}) {
                const auto n = static_cast<std::uint32_t>(cases.size());
                cases.push_back({{ants[n % ants.size()], rho, iterations, q0}, n * 2654435761u});
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
