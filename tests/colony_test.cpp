#include "colony.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <stdexcept>

#include "captured.h"
#include "colony_state.h"
#include "random.h"
#include "report.h"

namespace {

// Naivedist in the start line sums the consecutive distances, so a slip in a
// city or in how a distance is truncated shows there.
TEST(RunColony, WithNoIterationPrintsOnlyTheStartLine) {
    for (const int iterations : {0, -1, std::numeric_limits<int>::min()}) {
        EXPECT_EQ(Report({100000, 0.8f, iterations, 0.5f}, 1), StartLine);  // ants unused
    }
    EXPECT_FLOAT_EQ(Colony.Tao0, 1.3184236e-7f);
}

// Every city is a start and every ant exploits, so whatever the seed the first
// best tour is the shortest of the nearest-neighbour tours.
TEST(RunColony, GreedyFullColonyFirstFindsTheBestNearestNeighbourTour) {
    for (const std::uint32_t seed : {0u, 1u, 123456u}) {
        EXPECT_EQ(Report({48, 0.8f, 1, 1.5f}, seed), StartLine + "\n 37664.000000");
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
        const std::string printed = Captured([&](std::FILE* file) {
            EXPECT_EQ(Thrown<std::invalid_argument>([&] { RunColony(params, 77, file); }), message);
        });
        EXPECT_EQ(printed, "");
        EXPECT_EQ(Colony.BestLength, -1);
        EXPECT_EQ(DrawRandom(), nextDraw);
    }
}

TEST(RunColony, EndsWithTheCauseWhenTheReportCannotBeWrittenAndTriesAgainNextRun) {
    std::signal(SIGPIPE, SIG_IGN);
    const RunParameters params{30, 0.8f, 5, 0.5f};
    const auto failure = [&](std::FILE* sink) {
        return Thrown<ReportError>([&] { RunColony(params, 1, sink); });
    };
    std::FILE* full = std::fopen("/dev/full", "w");
    EXPECT_EQ(failure(full), "The report could not be written: No space left on device");
    std::fclose(full);
    std::FILE* readOnly = std::fopen("/dev/null", "r");
    EXPECT_EQ(failure(readOnly), "The report could not be written: Bad file descriptor");
    std::fclose(readOnly);

    int gone[2];
    ASSERT_EQ(pipe(gone), 0);
    close(gone[0]);
    std::FILE* sink = fdopen(gone[1], "w");
    EXPECT_EQ(failure(sink), "The report could not be written: Broken pipe");
    // The same stream, its descriptor now on a file, takes the whole next report.
    EXPECT_EQ(Captured([&](std::FILE* file) {
                  dup2(fileno(file), gone[1]);
                  RunColony(params, 1, sink);
              }),
              Report(params, 1));
    std::fclose(sink);
}

}  // namespace
