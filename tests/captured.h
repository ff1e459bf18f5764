// Capturing what a run writes, or what it throws.
#pragma once

#include <string>

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

// The message of the `Error` that `run` throws, or "accepted".
template <typename Error, typename Run>
std::string Thrown(Run run) {
    try { run(); } catch (const Error& error) { return error.what(); }
    return "accepted";
}

inline std::string Report(RunParameters params, std::uint32_t seed) {
    return Captured([&](std::FILE* file) { RunColony(params, seed, file); });
}

inline const std::string StartLine = "Tao0 = 0.000000  Naivedist=158017.000000\n";
