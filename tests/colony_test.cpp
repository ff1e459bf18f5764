#include "colony.h"

#include <gtest/gtest.h>

#include <limits>

#include "captured.h"
#include "report.h"

// The start line's Naivedist sums consecutive distances, so a slip in a city
// shows there; with every city a start and every ant exploiting, the first best
// tour is the shortest nearest-neighbour tour, whatever the seed.
TEST(RunColony, PrintsTheStartLineThenTheBestLengthOfEachIteration) {
    for (const int iterations : {0, -1, std::numeric_limits<int>::min()})  // ants unused
        EXPECT_EQ(Report({100000, 0.8f, iterations, 0.5f}, 1), StartLine);
    for (const std::uint32_t seed : {0u, 1u, 123456u})
        EXPECT_EQ(Report({48, 0.8f, 1, 1.5f}, seed), StartLine + "\n 37664.000000");
}

// The library refuses a rate that would corrupt a run whatever its caller
// checked first: NaN fails every comparison, so it must fail the range test.
TEST(RunColony, RefusesANaNRate) {
    const RunParameters params{30, std::numeric_limits<float>::quiet_NaN(), 0, 0.5f};
    EXPECT_EQ(Thrown<RefusedParameter>([&] { RunColony(params, 1, stdout); }),
              "evaporation rate must be from 0 to 1, got nan");
}

// A write that fails says why, or fails silently; either way the run ends
// with the cause.
TEST(RunColony, EndsWithTheCauseWhenTheReportCannotBeWritten) {
    const RunParameters params{30, 0.8f, 5, 0.5f};
    cookie_io_functions_t silent{};
    silent.write = [](void*, const char*, std::size_t) -> ssize_t { return -1; };
    const std::pair<std::FILE*, std::string> sinks[] = {
        {std::fopen("/dev/full", "w"), "No space left on device"},
        {fopencookie(nullptr, "w", silent), "Input/output error"}};
    for (const auto& sink : sinks) {
        EXPECT_EQ(Thrown<ReportError>([&] { RunColony(params, 1, sink.first); }),
                  "The report could not be written: " + sink.second);
        std::fclose(sink.first);
    }
}
