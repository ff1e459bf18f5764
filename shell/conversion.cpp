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

// Whether a reader cannot see the character, or it reorders the text around
// it: a control, a format character (zero-width space and joiners, soft
// hyphen, the marks and isolates of bidirectional text, tags), a line or
// paragraph separator, a variation selector or the grapheme joiner.
bool IsInvisible(char32_t c) {
    switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return c == 0x034f || (c >= 0xfe00 && c <= 0xfe0f) || (c >= 0xe0100 && c <= 0xe01ef);
    }
}

bool IsPictograph(char32_t c) {
    return QChar::category(c) == QChar::Symbol_Other;
}

// Whether a character takes two columns, as CJK, full-width forms and emoji do.
bool IsWide(char32_t c) {
    switch (QChar::script(c)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
        case QChar::Script_Bopomofo:
            return true;
        default:
            return IsPictograph(c) || (c >= 0xff01 && c <= 0xff60);
    }
}

bool IsNonAsciiLetterOrMark(char32_t c) {
    return c >= 0x0300 && (QChar::isLetter(c) || QChar::isMark(c));
}

// Whether the invisible character codes[i] belongs to a sequence a reader
// sees as one: the joiners of an emoji (between two pictographs, a variation
// selector or skin tone between), an emoji's presentation selector, a
// keycap's, a flag's tags after its black flag, or a joiner between the
// letters of a script that joins them (between two letters or marks beyond
// Latin). Anywhere else it is shown as its code.
bool InVisibleSequence(const QList<uint>& codes, qsizetype i) {
    const char32_t c = codes[i];
    const char32_t next = i + 1 < codes.size() ? codes[i + 1] : 0;
    qsizetype before = i - 1;
    const auto skip = [&](auto within) {
        while (before >= 0 && within(codes[before])) --before;
    };
    if (c == 0x200d || c == 0x200c) {
        skip([](char32_t b) { return b == 0xfe0f || (b >= 0x1f3fb && b <= 0x1f3ff); });
        const char32_t prev = before >= 0 ? codes[before] : 0;
        return (c == 0x200d && IsPictograph(prev) && IsPictograph(next)) ||
               (IsNonAsciiLetterOrMark(prev) && IsNonAsciiLetterOrMark(next));
    }
    const char32_t prev = i > 0 ? codes[i - 1] : 0;
    if (c == 0xfe0f) {
        const bool keycap = (prev >= '0' && prev <= '9') || prev == '#' || prev == '*';
        return IsPictograph(prev) || (keycap && next == 0x20e3);
    }
    if (c >= 0xe0020 && c <= 0xe007f) {
        skip([](char32_t b) { return b >= 0xe0020 && b <= 0xe007e; });
        return before >= 0 && codes[before] == 0x1f3f4;
    }
    return false;
}

// The text as a message quotes it: isolated, so that a right-to-left text
// cannot turn the sentence round; each invisible character written out as
// <U+XXXX> unless it belongs to a visible sequence, so that nothing wrong goes
// unseen and no control can break out of the isolate or the line; and cut
// after 32 columns as a reader counts them (an accented letter is one, a CJK
// character, a flag or a family emoji two, a code shown its length), so that
// the quote, which the message box cannot break, keeps the box about 500
// pixels wide.
String Quoted(const String& text) {
    constexpr int longest = 32;
    const QList<uint> codes = text.toUcs4();
    String shown;
    int width = 0;
    qsizetype start = 0, code = 0;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    while (graphemes.toNextBoundary() != -1) {
        String grapheme;
        int graphemeWidth = 0, visibleWidth = 0;
        for (; start < graphemes.position(); ++code) {
            const char32_t c = codes[code];
            start += QChar::requiresSurrogates(c) ? 2 : 1;
            if (IsInvisible(c) && !InVisibleSequence(codes, code)) {
                const String written = QStringLiteral("<U+%1>")
                                           .arg(static_cast<unsigned>(c), 4, 16, QChar(u'0'))
                                           .toUpper();
                grapheme += written;
                graphemeWidth += static_cast<int>(written.size());
            } else {
                grapheme += String::fromUcs4(&c, 1);
                if (visibleWidth == 0) visibleWidth = IsWide(c) ? 2 : 1;
            }
        }
        graphemeWidth += visibleWidth;
        if (width + graphemeWidth > longest) {
            shown += u'…';
            break;
        }
        width += graphemeWidth;
        shown += grapheme;
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
        value = *first == '-' ? std::numeric_limits<Number>::lowest()
                              : std::numeric_limits<Number>::max();
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
            throw OutOfRange(Quoted(text) + " is outside the range of whole numbers, " +
                                 QString::number(std::numeric_limits<std::int32_t>::min()) +
                                 " to " + QString::number(std::numeric_limits<std::int32_t>::max()),
                             value < 0);
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
            throw OutOfRange(Quoted(text) + " is outside the range of numbers, " +
                                 Shortest(-largest) + " to " + Shortest(largest),
                             value < 0);
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
    } catch (const OutOfRange& error) {
        throw OutOfRange(text.field + ": " + error.Message(), error.negative);
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
