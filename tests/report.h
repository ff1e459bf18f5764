// Runs the colony with a fixed seed and returns everything it printed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "colony.h"

inline std::string ReadAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    return text;
}

// `run` is called with a temporary report stream.
template <typename Run>
std::string Captured(Run run) {
    std::FILE* file = std::tmpfile();
    try {
        run(file);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    std::string text = ReadAll(file);
    std::fclose(file);
    return text;
}

inline std::string Report(RunParameters params, std::uint32_t seed) {
    return Captured([&](std::FILE* file) { RunColony(params, seed, file); });
}
