// Microseconds per colony iteration of the product and of the straightforward
// run, side by side, and how many times faster the product is.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "colony.h"
#include "oracle.h"

namespace {

constexpr int IterationsPerRun = 200;

struct Setting {
    int ants;
    float rho;
    float q0;
};

constexpr Setting Settings[] = {
    {48, 0.8f, 0.5f}, {30, 0.8f, 0.5f}, {48, 0.1f, 0.5f}, {48, 0.01f, 0.9f}, {1, 0.8f, 0.5f}};

using RunFunction = void (*)(RunParameters, std::uint32_t, std::FILE*);

void Measure(benchmark::State& state, RunFunction run, Setting setting) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    const RunParameters params{setting.ants, setting.rho, IterationsPerRun, setting.q0};
    std::uint32_t seed = 1;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        run(params, seed++, sink);
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    std::fclose(sink);
    state.counters["us_per_iteration"] =
        elapsed.count() / (double(state.iterations()) * IterationsPerRun);
}

std::string Name(const char* who, Setting s) {
    char name[96];
    std::snprintf(name, sizeof name, "%s/ants:%d/rho:%g/q0:%g", who, s.ants, s.rho, s.q0);
    return name;
}

// Collects the per-iteration times to print the ratios once all have run.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                times_[run.run_name.str()] = run.counters.at("us_per_iteration").value;
            }
        }
    }

    void PrintRatios() const {
        std::printf("\n%-32s %12s %12s %8s\n", "setting", "product us", "oracle us", "ratio");
        for (const Setting& s : Settings) {
            const std::string setting = Name("", s).substr(1);
            const auto product = times_.find(Name("product", s));
            const auto oracle = times_.find(Name("oracle", s));
            if (product == times_.end() || oracle == times_.end()) {
                continue;
            }
            std::printf("%-32s %12.2f %12.2f %7.1fx\n", setting.c_str(), product->second,
                        oracle->second, oracle->second / product->second);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Setting& s : Settings) {
        const RunFunction product = [](RunParameters p, std::uint32_t seed, std::FILE* f) {
            RunColony(p, seed, f);
        };
        benchmark::RegisterBenchmark(Name("product", s).c_str(), Measure, product, s)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(Name("oracle", s).c_str(), Measure, &oracle::RunColony, s)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
}
