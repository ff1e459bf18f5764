#include <gtest/gtest.h>

#include "captured.h"
#include "conversion.h"

// clang-format off
TEST(Conversion, ReadsNumbersIncludingFullWidthOnes) {
    const std::pair<const char*, std::int32_t> wholes[] = {
        {"30", 30}, {" 48\t", 48}, {"+7", 7}, {"-0", 0}, {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"３０", 30}, {"－５", -5}, {"\u3000１\u3000", 1}};
    for (const auto& [text, value] : wholes) EXPECT_EQ(StrToInt(String::fromUtf8(text)), value);
    const std::pair<const char*, double> reals[] = {
        {"0.8", 0.8}, {"0.5", 0.5}, {" -2.5 ", -2.5}, {"+.25", 0.25}, {"1e3", 1000}, {"０.８", 0.8},
        {"－０．５", -0.5}, {"3.4028234e38", 3.4028234e38},
        // too small for a float, or even a double: it rounds to zero
        {"1e-50", 1e-50}, {"1e-400", 0}, {"-0.00001e-99999999999999999999", 0}};
    for (const auto& [text, value] : reals) EXPECT_EQ(StrToFloat(String::fromUtf8(text)), value);
}

// clang-format on
TEST(Conversion, RefusesAnythingElseQuotingTheText) {
    const auto quoted = [](auto convert, const char* text) {
        const std::string message = Thrown<Exception>([&] { convert(String::fromUtf8(text)); });
        return message.starts_with('"' + std::string(text) + '"') ? "quoted" : message;
    };
    for (const char* text :
         {"", "  ", "30.5", "1e3", "abc", "3 0", "0x10", "+-3", "--3", "+", "2147483648",
          "-2147483649", "99999999999999999999", "三十", "30\u00b2"}) {
        EXPECT_EQ(quoted(StrToInt, text), "quoted") << text;
    }
    for (const char* text :
         {"", " ", "1,5", "0.8.1", "abc", "nan", "inf", "-inf", "infinity", "0x1p3", "½"}) {
        EXPECT_EQ(quoted(StrToFloat, text), "quoted") << text;
    }
    for (const char* text : {"1e39", "3.5e38", "-3.5e38", "1e308", "1e400", "100000e99999999999"}) {
        EXPECT_EQ(Thrown<Exception>([&] { StrToFloat(text); }),
                  '"' + std::string(text) +
                      "\" is outside the range of numbers, -3.40282e+38 to 3.40282e+38");
    }
}
