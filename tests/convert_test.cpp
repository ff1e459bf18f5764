#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "platform.h"

namespace {

struct IntCase {
    const char* text;
    std::int32_t value;
};

class StrToIntAccepts : public testing::TestWithParam<IntCase> {};

TEST_P(StrToIntAccepts, TheWholeNumber) {
    EXPECT_EQ(StrToInt(String::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, StrToIntAccepts,
                         testing::Values(IntCase{"30", 30}, IntCase{" 48\t", 48}, IntCase{"+7", 7},
                                         IntCase{"-0", 0}, IntCase{"2147483647", 2147483647},
                                         IntCase{"-2147483648", -2147483647 - 1},
                                         IntCase{"３０", 30}, IntCase{"－５", -5},
                                         IntCase{"\u3000１\u3000", 1}));

struct FloatCase {
    const char* text;
    double value;
};

class StrToFloatAccepts : public testing::TestWithParam<FloatCase> {};

TEST_P(StrToFloatAccepts, TheNumberWithAFullStopForDecimals) {
    EXPECT_EQ(StrToFloat(String::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, StrToFloatAccepts,
                         testing::Values(FloatCase{"0.8", 0.8}, FloatCase{"0.5", 0.5},
                                         FloatCase{" -2.5 ", -2.5}, FloatCase{"+.25", 0.25},
                                         FloatCase{"1e3", 1000}, FloatCase{"1", 1},
                                         FloatCase{"０.８", 0.8}, FloatCase{"－０．５", -0.5}));

using Conversion = void (*)(const String& text);

struct Rejection {
    Conversion convert;
    const char* text;
};

void PrintTo(const Rejection& rejection, std::ostream* out) {
    *out << '"' << rejection.text << '"';
}

std::vector<Rejection> Rejections(Conversion convert, std::initializer_list<const char*> texts) {
    std::vector<Rejection> cases;
    for (const char* text : texts) {
        cases.push_back({convert, text});
    }
    return cases;
}

class Rejects : public testing::TestWithParam<Rejection> {};

TEST_P(Rejects, WithAnExceptionQuotingTheText) {
    const String text = String::fromUtf8(GetParam().text);
    try {
        GetParam().convert(text);
        FAIL() << "accepted";
    } catch (const Exception& error) {
        EXPECT_TRUE(error.Message().startsWith('"' + text + '"')) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(WholeNumbers, Rejects,
                         testing::ValuesIn(Rejections([](const String& text) { StrToInt(text); },
                                                      {"", "  ", "30.5", "1e3", "abc", "3 0",
                                                       "0x10", "+-3", "--3", "+", "2147483648",
                                                       "-2147483649", "99999999999999999999",
                                                       "三十", "30\u00b2"})));

INSTANTIATE_TEST_SUITE_P(Reals, Rejects,
                         testing::ValuesIn(Rejections([](const String& text) { StrToFloat(text); },
                                                      {"", " ", "1,5", "0.8.1", "abc", "nan", "inf",
                                                       "-inf", "infinity", "1e400", "0x1p3",
                                                       "½"})));

}  // namespace
