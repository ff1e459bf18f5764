// Capturing and reading the report of a run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

inline const std::string StartLine = "Tao0 = 0.000000  Naivedist=158017.000000\n";

// The per-iteration values of a report, after checking its shape.
inline std::vector<double> IterationValues(const std::string& report) {
    EXPECT_EQ(report.substr(0, StartLine.size()), StartLine);
    std::vector<double> values;
    std::istringstream rest(report.substr(StartLine.size()));
    std::string line;
    std::getline(rest, line);
    EXPECT_EQ(line, "");
    while (std::getline(rest, line)) {
        EXPECT_EQ(line[0], ' ');
        EXPECT_EQ(line.substr(line.size() - 7, 1), ".");
        values.push_back(std::stod(line));
    }
    EXPECT_NE(report.back(), '\n');
    return values;
}
