#include <gtest/gtest.h>

#include <charconv>

#include "conversion.h"

namespace {

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

// What a conversion makes of a text: the number, or the message refusing it
// with the quoted text, which the message isolates from its sentence, written "Q".
template <typename Number>
std::string Converted(Number (*convert)(const String&), const std::string& text) {
    try {
        char number[32];
        const Number value = convert(String::fromStdString(text));
        return std::string(number, std::to_chars(number, number + sizeof number, value).ptr);
    } catch (const Exception& error) {
        const std::string message = error.what(), quoted = "\"\u2068" + text + "\u2069\"";
        return message.starts_with(quoted) ? "Q" + message.substr(quoted.size()) : message;
    }
}

const std::string NotWhole = "Q is not a valid whole number", NotReal = "Q is not a valid number",
                  Comma = NotReal + "; the decimal separator is a full stop",
                  NotFinite = "Q is not a finite number",
                  WholeRange = "Q is outside the range of whole numbers, -2147483648 to 2147483647",
                  RealRange = "Q is outside the range of numbers, -3.4028235e+38 to 3.4028235e+38";

// clang-format off
TEST(Conversion, ReadsWholeNumbersIncludingFullWidthOnesAndRefusesAnythingElse) {
    const std::pair<std::string, std::string> cases[] = {
        {"30", "30"}, {" 48\t", "48"}, {"+7", "7"}, {"-2147483648", "-2147483648"}, {"３０", "30"},
        {"－５", "-5"}, {"\u3000１\u3000", "1"}, {"", NotWhole}, {"30.5", NotWhole}, {"1e3", NotWhole},
        {"3 0", NotWhole}, {"+-3", NotWhole}, {"三十", NotWhole}, {"2147483648", WholeRange},
        {"-2147483649", WholeRange}, {"99999999999999999999", WholeRange}};
    for (const auto& [text, result] : cases) EXPECT_EQ(Converted(StrToInt, text), result) << text;
}

TEST(Conversion, ReadsRealsInFloatRangeWithAFullStopAndRefusesAnythingElse) {
    const std::pair<const char*, std::string> cases[] = {
        {"0.8", "0.8"}, {" -2.5 ", "-2.5"}, {"+.25", "0.25"}, {"1e3", "1000"}, {"－０．５", "-0.5"},
        {"3.4028235e+38", "3.4028235e+38"}, {"3.40282356e38", "3.4028235e+38"},
        // read as the nearest float: up to the midpoint between the largest
        // float and 2^128, 340282356779733661637539395458142568448, exclusive
        {"340282356779733661637539395458142568447.99", "3.4028235e+38"},
        {"340282356779733661637539395458142568448", "\"\u206834028235677973366163753939545814…\u2069\"" + RealRange.substr(1)},
        {"1e-45", "1e-45"}, {"1e-46", "0"}, {"1e-400", "0"}, {"-0.00001e-99999999999999999999", "-0"},
        {"", NotReal}, {"0.8.1", NotReal}, {"0x1p3", NotReal}, {"0,8", Comma}, {"０，８", Comma},
        {"nan", NotFinite}, {"-infinity", NotFinite}, {"3.4028236e38", RealRange}, {"-1e39", RealRange},
        {"1e400", RealRange}, {"1e99999999999999999999", RealRange}};
    for (const auto& [text, result] : cases) EXPECT_EQ(Converted(StrToFloat, text), result) << text;
}

// An invisible character or bidi control is shown as its code wherever it
// stands, even within a grapheme, unless it belongs to a sequence a reader
// sees as one (an emoji's joiners and selectors, a keycap, a flag's tags, the
// joiners of a script), so that none can hide or turn the sentence round. The
// cut after 32 columns splits nothing shown as one and counts wide ones twice.
TEST(Conversion, QuotesInvisibleCharactersAsCodesUnlessASequenceShowsThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"30\r\n40", "30<U+000D><U+000A>40"}, {"3\t0", "3<U+0009>0"}, {"30\u200d", "30<U+200D>"},
        {"\u200e3\u2069\u202e0", "<U+200E>3<U+2069><U+202E>0"}, {"30\ufe0f", "30<U+FE0F>"},
        {"30\U000E0041\U000E007F", "30<U+E0041><U+E007F>"}, {"\u200d😀", "<U+200D>😀"},
        {"👩\u200d💻", "👩\u200d💻"}, {"3\ufe0f\u20e3", "3\ufe0f\u20e3"}, {"👍🏽\u200d", "👍🏽<U+200D>"},
        {"می\u200cخواهم", "می\u200cخواهم"}, {"🏴\U000E0067\U000E0062\U000E007F", "🏴\U000E0067\U000E0062\U000E007F"},
        {Repeated("\u200b", 5), Repeated("<U+200B>", 4) + "…"}, {Repeated("W", 32), Repeated("W", 32)},
        {"1" + Repeated("蟻", 16), "1" + Repeated("蟻", 15) + "…"},
        {"1" + Repeated("👨\u200d👩\u200d👧", 16), "1" + Repeated("👨\u200d👩\u200d👧", 15) + "…"}};
    for (const auto& [text, quoted] : cases) {  // "Q" where the text is quoted as it is
        const std::string shown = quoted == text ? "Q" : "\"\u2068" + quoted + "\u2069\"";
        EXPECT_EQ(Converted(StrToInt, text), shown + NotWhole.substr(1)) << text;
    }
}
// clang-format on

}  // namespace
