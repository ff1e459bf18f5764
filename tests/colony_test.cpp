#include "colony.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <csignal>
#include <limits>
#include <stdexcept>

#include "captured.h"
#include "colony_state.h"
#include "random.h"
#include "report.h"

namespace {

TEST(RunColony, WithNoIterationPrintsOnlyTheStartLine) {
    for (const int iterations : {0, -1, std::numeric_limits<int>::min()}) {
        EXPECT_EQ(Report({100000, 0.8f, iterations, 0.5f}, 1), StartLine);  // ants unused
    }
    EXPECT_FLOAT_EQ(Colony.Tao0, 1.3184236e-7f);
}

TEST(RunColony, GreedyFullColonyFirstFindsTheBestNearestNeighbourTour) {
    for (const std::uint32_t seed : {0u, 1u, 123456u}) {
        EXPECT_EQ(IterationValues(Report({48, 0.8f, 3, 1.5f}, seed)).at(0), 37664.0);
    }
}

TEST(RunColony, RefusesOutOfRangeParametersBeforeSeedingPrintingOrTouchingTheTables) {
    const std::pair<RunParameters, const char*> refusals[] = {
        {{49, 0.8f, 1, 0.5f}, "number of ants must be from 1 to 48, got 49"},
        {{0, 0.8f, 30, 0.5f}, "number of ants must be from 1 to 48, got 0"},
        {{30, 1.5f, 30, 0.5f}, "evaporation rate must be from 0 to 1, got 1.5"},
        {{30, -0.1f, 0, 0.5f}, "evaporation rate must be from 0 to 1, got -0.1"},
        {{30, std::nanf(""), 30, 0.5f}, "evaporation rate must be from 0 to 1, got nan"}};
    for (const auto& [params, message] : refusals) {
        Colony.BestLength = -1;
        SeedRandom(5);
        const int nextDraw = DrawRandom();
        SeedRandom(5);
        std::string printed;
        try {
            printed = Captured([&](std::FILE* file) { RunColony(params, 77, file); });
            ADD_FAILURE() << "accepted: " << message;
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), message);
        }
        EXPECT_EQ(printed, "");
        EXPECT_EQ(Colony.BestLength, -1);
        EXPECT_EQ(DrawRandom(), nextDraw);
    }
}

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
    EXPECT_EQ(KeepBestTour(850, tour, length, best, 1), 850);  // ants past the count are ignored
    EXPECT_EQ(best[0], -1);
}

// The test command installs a decimal-comma locale, where printf writes "0,500000".
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
    const auto expectFailure = [&](std::FILE* sink, const char* cause) {
        try {
            RunColony(params, 1, sink);
            ADD_FAILURE() << "no error for " << cause;
        } catch (const ReportError& error) {
            EXPECT_EQ(error.what(), std::string("The report could not be written: ") + cause);
        }
    };
    std::FILE* full = std::fopen("/dev/full", "w");
    expectFailure(full, "No space left on device");
    std::fclose(full);
    std::FILE* readOnly = std::fopen("/dev/null", "r");
    expectFailure(readOnly, "Bad file descriptor");
    std::fclose(readOnly);

    // A later run on the same stream tries again, and writes all of its report.
    int gone[2], fresh[2];
    ASSERT_EQ(pipe(gone), 0);
    ASSERT_EQ(pipe(fresh), 0);
    std::FILE* sink = fdopen(gone[1], "w");
    close(gone[0]);
    expectFailure(sink, "Broken pipe");
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
