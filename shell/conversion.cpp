#include "conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

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

// The text as a message quotes it: isolated, so that a right-to-left text
// cannot turn the sentence round, and cut short, so that a long paste cannot
// push the message box off the screen.
String Quoted(const String& text) {
    constexpr qsizetype longest = 40;
    String shown = text;
    if (shown.size() > longest) {
        shown.truncate(shown[longest - 1].isHighSurrogate() ? longest - 1 : longest);
        shown += u'…';
    }
    return QStringLiteral("\"\u2068") + shown + QStringLiteral("\u2069\"");
}

// The shortest text that reads back as exactly `value`.
String Shortest(float value) {
    char text[32];
    return String::fromLatin1(text, std::to_chars(text, text + sizeof text, value).ptr - text);
}

// For a number in from_chars syntax too small or too large for a double:
// whether it is small, that is whether its leading digit stands after the
// decimal point once the exponent is applied.
bool IsTiny(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    long long exponent = 0;
    if (e != std::string_view::npos) {
        const char* first = number.data() + e + 1;
        first += *first == '+';
        if (std::from_chars(first, number.data() + number.size(), exponent).ec != std::errc()) {
            return number[e + 1] == '-';  // an exponent this long outweighs any digits
        }
    }
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const auto lead = static_cast<long long>(mantissa.find_first_of("123456789"));
    const long long power = lead < static_cast<long long>(point) ? point - lead - 1 : point - lead;
    return exponent + power < 0;
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
        // A real too small for a double is read as zero, as a smaller one is.
        if constexpr (std::is_floating_point_v<Number>) {
            if (IsTiny(std::string_view(first, last))) {
                value = *first == '-' ? -Number{0} : Number{0};
                return Parsed::Number;
            }
        }
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

// The fields become single-precision values, so the range is that of a
// float: beyond it the conversion to float would be undefined. A value that
// lies beyond the largest float by less than half the spacing of floats there
// rounds to it, so it is taken as that float, and the bounds the message
// gives are accepted as they are written.
double StrToFloat(const String& text) {
    constexpr float largest = std::numeric_limits<float>::max();
    constexpr double roundsToLargest = double{largest} + 0x1p103;  // spacing 2^104
    double value = 0;
    switch (ParseNumber(text, value)) {
        case Parsed::Number:
            if (!std::isfinite(value)) {  // spelled out: nan, inf, infinity
                throw Exception(Quoted(text) + " is not a finite number");
            }
            if (std::fabs(value) < roundsToLargest) {
                return std::clamp(value, double{-largest}, double{largest});
            }
            [[fallthrough]];
        case Parsed::OutOfRange:
            throw Exception(Quoted(text) + " is outside the range of numbers, " +
                            Shortest(-largest) + " to " + Shortest(largest));
        case Parsed::NotANumber:
            break;
    }
    const bool comma = text.contains(u',') || text.contains(u'，');
    throw Exception(Quoted(text) + " is not a valid number" +
                    (comma ? "; the decimal separator is a full stop" : ""));
}

namespace {

// The conversion's error, its message prefixed with the field.
template <typename Convert>
auto ConvertField(const FieldText& text, Convert convert) {
    try {
        return convert(text.text);
    } catch (const Exception& error) {
        throw Exception(text.field + ": " + error.Message());
    }
}

}  // namespace

std::int32_t StrToInt(const FieldText& text) {
    return ConvertField(text, [](const String& t) { return StrToInt(t); });
}

double StrToFloat(const FieldText& text) {
    return ConvertField(text, [](const String& t) { return StrToFloat(t); });
}
