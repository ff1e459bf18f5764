#include "colony.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "colony_state.h"
#include "random.h"
#include "report.h"

namespace {

TEST(RunColony, WithNoIterationPrintsOnlyTheStartLine) {
    for (const int iterations : {0, -1, std::numeric_limits<int>::min()}) {
        for (const int ants : {0, 30, 100000}) {  // unused without iterations
            EXPECT_EQ(Report({ants, 0.8f, iterations, 0.5f}, 1), StartLine);
        }
    }
    EXPECT_FLOAT_EQ(Colony.Tao0, 1.3184236e-7f);
}

TEST(RunColony, GreedyFullColonyFindsTheBestNearestNeighbourTourFirst) {
    for (const std::uint32_t seed : {0u, 1u, 123456u}) {
        const std::vector<double> values = IterationValues(Report({48, 0.8f, 3, 1.5f}, seed));
        ASSERT_EQ(values.size(), 3u);
        EXPECT_EQ(values[0], 37664.0);
    }
}

struct Params {
    RunParameters params;
    std::uint32_t seed;
    const char* name;
};

void PrintTo(const Params& p, std::ostream* out) {
    *out << p.name;
}

class RunReport : public testing::TestWithParam<Params> {};

TEST_P(RunReport, HasOneNonIncreasingValuePerIteration) {
    const auto [params, seed, name] = GetParam();
    const std::vector<double> values = IterationValues(Report(params, seed));
    ASSERT_EQ(values.size(), static_cast<std::size_t>(params.IterationCount));
    EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend()));
    EXPECT_EQ(values.back(), Colony.BestLength);
}

TEST_P(RunReport, IsTheSameForTheSameSeed) {
    const auto [params, seed, name] = GetParam();
    const std::string first = Report(params, seed);
    EXPECT_EQ(Report(params, seed), first);
}

TEST_P(RunReport, KeepsAClosedPermutationOfTheLengthPrintedAfterEveryIteration) {
    auto [params, seed, name] = GetParam();
    const int iterations = std::min(params.IterationCount, 12);
    for (params.IterationCount = 1; params.IterationCount <= iterations; ++params.IterationCount) {
        const double printed = IterationValues(Report(params, seed)).back();
        const TourRow& tour = Colony.BestTour;
        TourRow sorted = tour;
        std::sort(sorted.begin(), sorted.begin() + CityCount);
        for (int c = 0; c < CityCount; ++c) {
            ASSERT_EQ(sorted[c], c);
        }
        ASSERT_EQ(tour[CityCount], tour[0]);
        double length = 0;
        for (int s = 0; s < CityCount; ++s) {
            length += Colony.Distance[tour[s]][tour[s + 1]];
        }
        ASSERT_EQ(length, printed);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, RunReport,
                         testing::Values(Params{{30, 0.8f, 30, 0.5f}, 1, "Defaults"},
                                         Params{{1, 0.8f, 20, 0.5f}, 2, "OneAnt"},
                                         Params{{48, 0.1f, 40, 0.9f}, 3, "SlowEvaporation"},
                                         Params{{5, 0.01f, 25, -1.0f}, 4, "AlwaysExploring"},
                                         Params{{48, 1.0f, 15, 1.0f}, 5, "FullEvaporation"},
                                         Params{{12, 0.0f, 15, 0.0f}, 6, "NoEvaporation"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RunColony, SingleAntPrintsTheLengthOfItsOwnTour) {
    const std::vector<double> values = IterationValues(Report({1, 0.5f, 1, 0.5f}, 9));
    EXPECT_EQ(values.at(0), Colony.TourLength[0]);
    EXPECT_EQ(Colony.BestTour, Colony.Tour[0]);
}

TEST(RunColony, EvaporationZeroLeavesPheromoneAtTao0) {
    Report({20, 0.0f, 10, 0.5f}, 1);
    for (int from = 0; from < CityCount; ++from) {
        for (int to = 0; to < CityCount; ++to) {
            ASSERT_EQ(Colony.Pheromone[from][to], Colony.Tao0);
        }
    }
}

TEST(RunColony, EvaporationOneLeavesOnlyTheBestTourRaisedToItsInverseLength) {
    Report({20, 1.0f, 10, 0.5f}, 1);
    std::array<std::array<float, CityCount>, CityCount> expected;
    for (auto& row : expected) {
        row.fill(Colony.Tao0);
    }
    for (int p = 0; p < CityCount; ++p) {
        expected[Colony.BestTour[p]][Colony.BestTour[p + 1]] = 1 / Colony.BestLength;
    }
    for (int from = 0; from < CityCount; ++from) {
        EXPECT_TRUE(std::ranges::equal(Colony.Pheromone[from], expected[from])) << "row " << from;
    }
}

struct Refusal {
    RunParameters params;
    const char* message;
    const char* name;
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.name;
}

class RefusedRun : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedRun, ThrowsBeforeSeedingPrintingOrTouchingTheTables) {
    const auto [params, message, name] = GetParam();
    Colony.BestLength = -1;
    SeedRandom(5);
    const int nextDraw = DrawRandom();
    SeedRandom(5);
    std::string printed;
    try {
        printed = Captured([&](std::FILE* file) { RunColony(params, 77, file); });
        ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), message);
    }
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Colony.BestLength, -1);
    EXPECT_EQ(DrawRandom(), nextDraw);
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, RefusedRun,
    testing::Values(
        Refusal{{49, 0.8f, 1, 0.5f}, "number of ants must be from 1 to 48, got 49", "TooManyAnts"},
        Refusal{{0, 0.8f, 30, 0.5f}, "number of ants must be from 1 to 48, got 0", "NoAnts"},
        Refusal{
            {-3, 0.8f, 30, 0.5f}, "number of ants must be from 1 to 48, got -3", "NegativeAnts"},
        Refusal{{100000, 0.8f, 30, 0.5f},
                "number of ants must be from 1 to 48, got 100000",
                "AntsBeyondCapacity"},
        Refusal{
            {30, 1.5f, 30, 0.5f}, "evaporation rate must be from 0 to 1, got 1.5", "RateAboveOne"},
        Refusal{{30, -0.1f, 0, 0.5f},
                "evaporation rate must be from 0 to 1, got -0.1",
                "RateBelowZero"},
        Refusal{{30, std::nanf(""), 30, 0.5f},
                "evaporation rate must be from 0 to 1, got nan",
                "RateNaN"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeepBestTour, TakesOnlyStrictlyShorterToursSoEarlierHoldersStay) {
    static TourTable tour;
    static TourLengthTable length;
    for (int k = 0; k < 4; ++k) {
        tour[k].fill(k);
    }
    length[0] = 900;
    length[1] = 800;
    length[2] = 800;
    length[3] = 850;
    TourRow best;
    best.fill(-1);
    EXPECT_EQ(KeepBestTour(1000, tour, length, best, 4), 800);
    EXPECT_EQ(best[0], 1);
    EXPECT_EQ(KeepBestTour(800, tour, length, best, 4), 800);
    EXPECT_EQ(best[0], 1);
    best.fill(-1);
    EXPECT_EQ(KeepBestTour(800, tour, length, best, 4), 800);
    EXPECT_EQ(best[0], -1);
    EXPECT_EQ(KeepBestTour(850, tour, length, best, 1), 850);  // ants past the count are ignored
    EXPECT_EQ(best[0], -1);
}

}  // namespace
