// Capturing and reading the report of a run.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "colony.h"

// Everything `write` writes to the stream it is given.
template <typename Write>
std::string Captured(Write write) {
    std::FILE* file = std::tmpfile();
    write(file);
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

inline std::string Report(RunParameters params, std::uint32_t seed) {
    return Captured([&](std::FILE* file) { RunColony(params, seed, file); });
}

inline const std::string StartLine = "Tao0 = 0.000000  Naivedist=158017.000000\n";

// The values a report prints after its start line and an empty line, one per
// line as a blank and six decimals, the last without a line break.
inline std::vector<double> IterationValues(const std::string& report) {
    EXPECT_EQ(report.substr(0, StartLine.size() + 1), StartLine + "\n");
    EXPECT_NE(report.back(), '\n');
    std::vector<double> values;
    std::istringstream lines(report.substr(StartLine.size() + 1));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.size() > 8 && line[0] == ' ' && line[line.size() - 7] == '.') << line;
        values.push_back(std::stod(line));
    }
    return values;
}
