#include "colony.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "colony_state.h"
#include "random.h"
#include "report.h"
#include "captured.h"

#include <unistd.h>

namespace {

TEST(RunColony, WithNoIterationPrintsOnlyTheStartLine) {
    for (const int iterations : {0, -1, std::numeric_limits<int>::min()}) {
        for (const int ants : {0, 30, 100000}) {  // unused without iterations
            EXPECT_EQ(Report({ants, 0.8f, iterations, 0.5f}, 1), StartLine);
        }
    }
    EXPECT_FLOAT_EQ(Colony.Tao0, 1.3184236e-7f);
}

TEST(RunColony, GreedyFullColonyFirstFindsTheBestNearestNeighbourTour) {
    for (const std::uint32_t seed : {0u, 1u, 123456u}) {
        EXPECT_EQ(IterationValues(Report({48, 0.8f, 3, 1.5f}, seed)).at(0), 37664.0);
    }
}

// After every iteration the best tour is a closed tour through every city, its
// length is the value printed, and that value never grows.
TEST(RunColony, PrintsTheLengthOfAClosedBestTourThatNeverGrows) {
    for (const RunParameters params :
         {RunParameters{30, 0.8f, 12, 0.5f}, {1, 0.8f, 12, 0.5f}, {48, 0.01f, 12, -1.0f}}) {
        double previous = 1e9;
        for (int iterations = 1; iterations <= params.IterationCount; ++iterations) {
            RunParameters run = params;
            run.IterationCount = iterations;
            const double printed = IterationValues(Report(run, 3)).back();
            TourRow sorted = Colony.BestTour;
            std::sort(sorted.begin(), sorted.begin() + CityCount);
            double length = 0;
            for (int s = 0; s < CityCount; ++s) {
                ASSERT_EQ(sorted[s], s);
                length += Colony.Distance[Colony.BestTour[s]][Colony.BestTour[s + 1]];
            }
            ASSERT_EQ(Colony.BestTour[CityCount], Colony.BestTour[0]);
            ASSERT_EQ(length, printed);
            ASSERT_LE(printed, previous);
            previous = printed;
        }
    }
}

// With rho 0 pheromone stays at tao0; with rho 1 only the best tour's edges,
// reinforced after the last step, differ from it, at 1 / BestLength.
TEST(RunColony, EvaporationZeroOrOneLeavesPheromoneAsTheRulesSay) {
    for (const float rho : {0.0f, 1.0f}) {
        Report({20, rho, 10, 0.5f}, 1);
        std::array<std::array<float, CityCount>, CityCount> expected;
        for (auto& row : expected) row.fill(Colony.Tao0);
        for (int p = 0; p < CityCount && rho == 1; ++p) {
            expected[Colony.BestTour[p]][Colony.BestTour[p + 1]] = 1 / Colony.BestLength;
        }
        for (int from = 0; from < CityCount; ++from) {
            for (int to = 0; to < CityCount; ++to) {
                ASSERT_EQ(Colony.Pheromone.Entry(from, to), expected[from][to])
                    << "rho " << rho << ", [" << from << "][" << to << "]";
            }
        }
    }
}

struct Refusal {
    RunParameters params;
    const char* message;
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.message;
}

class RefusedRun : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedRun, ThrowsBeforeSeedingPrintingOrTouchingTheTables) {
    const auto [params, message] = GetParam();
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
    testing::Values(Refusal{{49, 0.8f, 1, 0.5f}, "number of ants must be from 1 to 48, got 49"},
                    Refusal{{0, 0.8f, 30, 0.5f}, "number of ants must be from 1 to 48, got 0"},
                    Refusal{{-3, 0.8f, 30, 0.5f}, "number of ants must be from 1 to 48, got -3"},
                    Refusal{{30, 1.5f, 30, 0.5f}, "evaporation rate must be from 0 to 1, got 1.5"},
                    Refusal{{30, -0.1f, 0, 0.5f}, "evaporation rate must be from 0 to 1, got -0.1"},
                    Refusal{{30, std::nanf(""), 30, 0.5f},
                            "evaporation rate must be from 0 to 1, got nan"}));

TEST(KeepBestTour, TakesOnlyStrictlyShorterToursSoEarlierHoldersStay) {
    static TourTable tour;
    static TourLengthTable length;
    for (int k = 0; k < 4; ++k) tour[k].fill(k);
    length[0] = 900, length[1] = 800, length[2] = 800, length[3] = 850;
    TourRow best;
    best.fill(-1);
    EXPECT_EQ(KeepBestTour(1000, tour, length, best, 4), 800);
    EXPECT_EQ(best[0], 1);
    best.fill(-1);
    EXPECT_EQ(KeepBestTour(800, tour, length, best, 4), 800);
    EXPECT_EQ(best[0], -1);
    EXPECT_EQ(KeepBestTour(850, tour, length, best, 1), 850);  // ants past the count are ignored
    EXPECT_EQ(best[0], -1);
}

// The test command installs a decimal-comma locale, where printf would write
// "0,000000".
TEST(RunColony, WritesFullStopsInADecimalCommaLocale) {
    const RunParameters params{30, 0.8f, 5, 0.5f};
    const std::string inC = Report(params, 9);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    char comma[16];
    std::snprintf(comma, sizeof comma, "%f", 0.5);
    const std::string inGerman = Report(params, 9);
    std::setlocale(LC_ALL, "C");
    EXPECT_STREQ(comma, "0,500000");
    EXPECT_EQ(inGerman, inC);
    EXPECT_EQ(inGerman.substr(0, StartLine.size()), StartLine);
}

TEST(RunColony, EndsWithTheCauseWhenTheReportCannotBeWritten) {
    std::signal(SIGPIPE, SIG_IGN);
    const RunParameters params{30, 0.8f, 5, 0.5f};
    const auto expectFailure = [&](std::FILE* sink, const char* message) {
        try {
            RunColony(params, 1, sink);
            ADD_FAILURE() << "no error for " << message;
        } catch (const ReportError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    };
    std::FILE* full = std::fopen("/dev/full", "w");
    expectFailure(full, "The report could not be written: No space left on device");
    std::fclose(full);
    std::FILE* readOnly = std::fopen("/dev/null", "r");
    expectFailure(readOnly, "The report could not be written: Bad file descriptor");
    std::fclose(readOnly);

    // A later run on the same stream tries again, and writes all of its report.
    int gone[2], fresh[2];
    ASSERT_EQ(pipe(gone), 0);
    ASSERT_EQ(pipe(fresh), 0);
    std::FILE* sink = fdopen(gone[1], "w");
    close(gone[0]);
    expectFailure(sink, "The report could not be written: Broken pipe");
    dup2(fresh[1], gone[1]);
    RunColony(params, 1, sink);
    std::fclose(sink);
    close(fresh[1]);
    std::string read(4096, '\0');
    read.resize(static_cast<std::size_t>(::read(fresh[0], read.data(), read.size())));
    close(fresh[0]);
    EXPECT_EQ(read, Report(params, 1));
}

}  // namespace
