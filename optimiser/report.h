// The run's report: a start line, then the best length after every
// iteration. Numbers are written with a full stop whatever the process's
// locale, since people keep and parse the report.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <stdexcept>

// A write to the report's stream failed; the message names the cause.
class ReportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ReportWriter {
  public:
    // Clears an error left on `sink` by an earlier run, so every run tries anew.
    explicit ReportWriter(std::FILE* sink);

    void StartLine(float tao0, float naivedist);
    void IterationLine(float bestLength);

    // Writes out what is still held. Throws ReportError when a write fails.
    void Flush();

  private:
    void Append(const char* format, double value1, double value2 = 0);

    std::FILE* sink_;
    std::chrono::steady_clock::time_point lastFlush_;
    std::size_t held_ = 0;
    char buffer_[4096];
};
