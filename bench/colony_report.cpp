// One seeded run's report on standard output, for the convergence plot:
// colony_report ANTS RHO ITERATIONS Q0 SEED
#include <cstdio>
#include <cstdlib>

#include "colony.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: colony_report ANTS RHO ITERATIONS Q0 SEED\n");
        return 2;
    }
    const RunParameters params{std::atoi(argv[1]), std::strtof(argv[2], nullptr),
                               std::atoi(argv[3]), std::strtof(argv[4], nullptr)};
    RunColony(params, static_cast<std::uint32_t>(std::strtoul(argv[5], nullptr, 10)), stdout);
}
