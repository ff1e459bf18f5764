// One complete run of the ant colony on the built-in 48-city instance.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

struct RunParameters {
    std::int32_t AntCount;        // 1..48 when at least one iteration runs
    float EvaporationRate;        // rho, 0..1
    std::int32_t IterationCount;  // 0 or less runs no iteration
    float ExploitThreshold;       // q0
};

// A parameter that would hang the run or let ants revisit cities. The message
// names the parameter, its allowed range and the value given; `parameter`
// says which it is, for a caller that shows where the value came from.
struct RefusedParameter : std::invalid_argument {
    enum Parameter { AntCount, EvaporationRate } parameter;
    RefusedParameter(Parameter which, const std::string& message)
        : std::invalid_argument(message), parameter(which) {}
};

// Throws RefusedParameter for the first parameter outside its range.
void CheckRunParameters(const RunParameters& params);

// Checks the parameters, seeds the generator with `seed`, then writes to
// `sink` the start line and, after every iteration, the best tour length so
// far. Nothing is written, seeded or touched when the parameters are refused.
// A failed write ends the run with a ReportError (report.h).
void RunColony(RunParameters params, std::uint32_t seed, std::FILE* sink);

// The same run seeded with the current time in seconds, reporting on stdout.
void RunColony(RunParameters params);
