#include "conversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

// The number in `text` as ASCII, blanks around it removed and full-width
// digits, signs and full stop replaced by their ASCII twins, which Chinese
// input methods often produce. Empty when any other non-ASCII character is in
// it.
std::optional<std::string> AsciiNumber(const String& text) {
    std::string ascii;
    for (const QChar c : text.trimmed()) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            ascii += static_cast<char>(u);
        } else if ((u >= u'０' && u <= u'９') || u == u'＋' || u == u'－' || u == u'．') {
            ascii += static_cast<char>(u - (u'０' - '0'));
        } else {
            return std::nullopt;
        }
    }
    return ascii;
}

String Quoted(const String& text) {
    return u'"' + text + u'"';
}

enum class Parsed { Number, OutOfRange, NotANumber };

// Reads the whole of `text` as a Number. std::from_chars does the reading,
// locale-independent; it takes a minus sign but no plus sign.
template <typename Number>
Parsed ParseNumber(const String& text, Number& value) {
    const std::optional<std::string> number = AsciiNumber(text);
    if (!number || number->empty()) {
        return Parsed::NotANumber;
    }
    const char* first = number->data();
    const char* last = first + number->size();
    if (number->size() > 1 && number->front() == '+' && (*number)[1] != '-') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    if (end != last) {
        return Parsed::NotANumber;
    }
    if (error == std::errc::result_out_of_range) {
        return Parsed::OutOfRange;
    }
    return error == std::errc() ? Parsed::Number : Parsed::NotANumber;
}

}  // namespace

std::int32_t StrToInt(const String& text) {
    std::int32_t value = 0;
    switch (ParseNumber(text, value)) {
        case Parsed::Number:
            return value;
        case Parsed::OutOfRange:
            throw Exception(Quoted(text) + " is outside the range of whole numbers, " +
                            QString::number(std::numeric_limits<std::int32_t>::min()) + " to " +
                            QString::number(std::numeric_limits<std::int32_t>::max()));
        case Parsed::NotANumber:
            break;
    }
    throw Exception(Quoted(text) + " is not a valid whole number");
}

double StrToFloat(const String& text) {
    double value = 0;
    switch (ParseNumber(text, value)) {
        case Parsed::Number:
            if (!std::isfinite(value)) {
                throw Exception(Quoted(text) + " is not a finite number");
            }
            return value;
        case Parsed::OutOfRange:
            throw Exception(Quoted(text) + " is outside the range of numbers");
        case Parsed::NotANumber:
            break;
    }
    throw Exception(Quoted(text) + " is not a valid number");
}
