#include "conversion.h"

#include <QTextBoundaryFinder>

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

// The code of a grapheme that is one character a reader cannot see, or one
// that reorders the text around it: a control, a format character (zero-width
// space, soft hyphen, the marks and isolates of bidirectional text), a line or
// paragraph separator. 0 for any other grapheme.
char32_t InvisibleCode(QStringView grapheme) {
    const QList<uint> codes = grapheme.toUcs4();
    if (codes.size() != 1) {
        return 0;
    }
    switch (QChar::category(codes.front())) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return codes.front();
        default:
            return 0;
    }
}

// The text as a message quotes it: isolated, so that a right-to-left text
// cannot turn the sentence round; each invisible character written out as
// <U+XXXX>, so that nothing wrong goes unseen and no control can break out of
// the isolate; and cut after 40 characters as a reader counts them (an
// accented letter, a flag or a family emoji is one), so that a long paste
// cannot push the message box off the screen.
String Quoted(const String& text) {
    constexpr int longest = 40;
    String shown;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (int count = 0; graphemes.toNextBoundary() != -1; ++count) {
        if (count == longest) {
            shown += u'…';
            break;
        }
        const QStringView grapheme = QStringView(text).sliced(start, graphemes.position() - start);
        start = graphemes.position();
        if (const char32_t code = InvisibleCode(grapheme)) {
            shown += QStringLiteral("<U+%1>")
                         .arg(static_cast<unsigned>(code), 4, 16, QChar(u'0'))
                         .toUpper();
        } else {
            shown += grapheme;
        }
    }
    return QStringLiteral("\"\u2068") + shown + QStringLiteral("\u2069\"");
}

// The shortest text that reads back as exactly `value`.
String Shortest(float value) {
    char text[32];
    return String::fromLatin1(text, std::to_chars(text, text + sizeof text, value).ptr - text);
}

// For a number in from_chars syntax too small or too large for a float:
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
        // A real too small for a float is read as zero, as a smaller one is.
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

// The fields become single-precision values, so a text is read as the float
// nearest to it; one beyond the largest float is refused, and the bounds the
// message gives are accepted as they are written.
float StrToFloat(const String& text) {
    constexpr float largest = std::numeric_limits<float>::max();
    float value = 0;
    switch (ParseNumber(text, value)) {
        case Parsed::Number:
            if (!std::isfinite(value)) {  // spelled out: nan, inf, infinity
                throw Exception(Quoted(text) + " is not a finite number");
            }
            return value;
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

float StrToFloat(const FieldText& text) {
    return ConvertField(text, [](const String& t) { return StrToFloat(t); });
}
