#include "report.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr const char* StartLineFormat = "Tao0 = %f  Naivedist=%f\n";
constexpr const char* IterationLineFormat = "\n %f";

// A person watching sees the report move at this pace; a run writes far more
// often than that, so most lines cost no system call.
constexpr std::chrono::milliseconds FlushInterval{100};

// The longest text a format above expands to: "%f" of a float is at most 39
// digits before the point.
constexpr std::size_t LongestLine = 128;

}  // namespace

ReportWriter::ReportWriter(std::FILE* sink)
    : sink_(sink), lastFlush_(std::chrono::steady_clock::now() - FlushInterval) {
    std::clearerr(sink_);
}

void ReportWriter::StartLine(float tao0, float naivedist) {
    Append(StartLineFormat, tao0, naivedist);
}

void ReportWriter::IterationLine(float bestLength) {
    Append(IterationLineFormat, bestLength);
}

// Expands each "%f" as printf does in the C locale: fixed, six decimals.
void ReportWriter::Append(const char* format, double value1, double value2) {
    if (held_ + LongestLine > sizeof buffer_) {
        Flush();
    }
    const double values[] = {value1, value2};
    int next = 0;
    for (const char* c = format; *c != '\0'; ++c) {
        if (c[0] == '%' && c[1] == 'f') {
            const double value = values[next++];
            char* at = buffer_ + held_;
            char* const end = buffer_ + sizeof buffer_;
            // A length is a whole number: written as an integer, ten times
            // faster, and then the six zeros that "%f" gives it.
            if (value >= 1 && value < 0x1p31 && static_cast<std::int32_t>(value) == value) {
                at = std::to_chars(at, end, static_cast<std::int32_t>(value)).ptr;
                at = std::copy_n(".000000", 7, at);
            } else {
                at = std::to_chars(at, end, value, std::chars_format::fixed, 6).ptr;
            }
            held_ = static_cast<std::size_t>(at - buffer_);
            ++c;
        } else {
            buffer_[held_++] = *c;
        }
    }
    if (std::chrono::steady_clock::now() - lastFlush_ >= FlushInterval) {
        Flush();
    }
}

void ReportWriter::Flush() {
    errno = 0;
    const bool written = std::fwrite(buffer_, 1, held_, sink_) == held_ && std::fflush(sink_) == 0;
    const int cause = errno != 0 ? errno : EIO;
    held_ = 0;
    lastFlush_ = std::chrono::steady_clock::now();
    if (!written) {
        throw ReportError(std::string("The report could not be written: ") +
                          std::strerror(cause));
    }
}
