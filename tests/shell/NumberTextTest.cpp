#include "shell/NumberText.h"

#include <cmath>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

struct PrefixCase {
    const char* text;
    double expected;
};

class NumberPrefixTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(NumberPrefixTest, ReadsTheNumberTheTextStartsWith) {
    EXPECT_DOUBLE_EQ(NumberPrefix(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Rule, NumberPrefixTest,
    ::testing::Values(
        // digits, then anything
        PrefixCase{"1", 1}, PrefixCase{"01", 1}, PrefixCase{"1.0", 1}, PrefixCase{"1x", 1},
        PrefixCase{"x1", 0}, PrefixCase{"", 0}, PrefixCase{"-1", -1}, PrefixCase{"+7", 7},
        PrefixCase{"--1", 0}, PrefixCase{"2.5", 2.5}, PrefixCase{".5", 0.5}, PrefixCase{"1.", 1},
        PrefixCase{".", 0}, PrefixCase{"1.2.3", 1.2}, PrefixCase{"1,5", 1},
        // blanks, tabs and line feeds are ignored wherever they stand; other white space is not
        PrefixCase{" 1", 1}, PrefixCase{"1 2", 12}, PrefixCase{"\t1\n2", 12}, PrefixCase{"- 3", -3},
        PrefixCase{"\r1", 0},
        // exponent
        PrefixCase{"1e3", 1000}, PrefixCase{"1E+2", 100}, PrefixCase{"2.5e-1", 0.25}, PrefixCase{"1e", 1},
        PrefixCase{"1e-", 1}, PrefixCase{"e5", 0},
        // hexadecimal and octal
        PrefixCase{"&H10", 16}, PrefixCase{"&h1F", 31}, PrefixCase{"&O17", 15}, PrefixCase{"&O8", 0},
        PrefixCase{"&H", 0}, PrefixCase{"&X1", 0}, PrefixCase{"& H 10", 16}));

TEST(NumberPrefix, HugeExponentsDoNotWrapAround) {
    EXPECT_TRUE(std::isinf(NumberPrefix(QStringLiteral("1e999"))));
    EXPECT_DOUBLE_EQ(NumberPrefix(QStringLiteral("1e-999")), 0.0);
}

struct IntegerCase {
    const char* text;
    std::variant<std::int16_t, ConversionError> expected;
};

class ToInteger16Test : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ToInteger16Test, TakesTheWholeTextOrRefusesIt) {
    EXPECT_EQ(ToInteger16(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << "text \"" << GetParam().text << "\"";
}

constexpr auto TM = ConversionError::TypeMismatch;
constexpr auto OV = ConversionError::Overflow;

INSTANTIATE_TEST_SUITE_P(
    Conversion, ToInteger16Test,
    ::testing::Values(IntegerCase{"12", std::int16_t{12}}, IntegerCase{" 12 ", std::int16_t{12}},
                      IntegerCase{"0", std::int16_t{0}}, IntegerCase{"-5", std::int16_t{-5}},
                      // halves go to the even neighbour
                      IntegerCase{"2.5", std::int16_t{2}}, IntegerCase{"3.5", std::int16_t{4}},
                      IntegerCase{"-2.5", std::int16_t{-2}}, IntegerCase{"0.5", std::int16_t{0}},
                      IntegerCase{"2.51", std::int16_t{3}}, IntegerCase{"&H10", std::int16_t{16}},
                      IntegerCase{"1e3", std::int16_t{1000}}, IntegerCase{"32767", std::int16_t{32767}},
                      IntegerCase{"-32768", std::int16_t{-32768}},
                      // not a number at all
                      IntegerCase{"", TM}, IntegerCase{"  ", TM}, IntegerCase{"abc", TM},
                      IntegerCase{"1x", TM}, IntegerCase{"-", TM}, IntegerCase{".", TM},
                      IntegerCase{"&H", TM}, IntegerCase{"1 2", TM},
                      // a number that does not fit
                      IntegerCase{"32768", OV}, IntegerCase{"-32769", OV}, IntegerCase{"1e9", OV},
                      IntegerCase{"32767.5", OV}));

TEST(RoundToInteger16, RefusesWhatIsNoFiniteNumber) {
    EXPECT_EQ(RoundToInteger16(std::nan("")), (std::variant<std::int16_t, ConversionError>(OV)));
    EXPECT_EQ(RoundToInteger16(INFINITY), (std::variant<std::int16_t, ConversionError>(OV)));
    EXPECT_EQ(RoundToInteger16(32767.4), (std::variant<std::int16_t, ConversionError>(std::int16_t{32767})));
}

} // namespace
} // namespace vesmarin
