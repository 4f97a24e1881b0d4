#include "base/NumberText.h"

#include <cmath>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

TEST(NumberPrefix, ReadsTheNumberTheTextStartsWith) {
    // Digits then anything; blanks, tabs and line feeds are ignored wherever they stand, other white space
    // is not; exponents; hexadecimal and octal.
    const std::pair<const char*, double> cases[] = {
        {"1", 1},    {"01", 1},      {"1.0", 1},    {"1x", 1},     {"x1", 0},        {"", 0},
        {"-1", -1},  {"+7", 7},      {"--1", 0},    {"2.5", 2.5},  {".5", 0.5},      {"1.", 1},
        {".", 0},    {"1.2.3", 1.2}, {"1,5", 1},    {" 1", 1},     {"1 2", 12},      {"\t1\n2", 12},
        {"- 3", -3}, {"\r1", 0},     {"1e3", 1000}, {"1E+2", 100}, {"2.5e-1", 0.25}, {"1e", 1},
        {"1e-", 1},  {"e5", 0},      {"&H10", 16},  {"&hAf", 175}, {"&O17", 15},     {"&O8", 0},
        {"&H", 0},   {"&X1", 0},     {"& H 10", 16}};
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(NumberPrefix(QString::fromUtf8(text)), expected) << "text \"" << text << "\"";
    // Huge exponents do not wrap around.
    EXPECT_TRUE(std::isinf(NumberPrefix(QStringLiteral("1e999"))));
    EXPECT_DOUBLE_EQ(NumberPrefix(QStringLiteral("1e-999")), 0.0);
}

using Result = std::variant<std::int16_t, ConversionError>;
using I = std::int16_t;
constexpr auto TM = ConversionError::TypeMismatch;
constexpr auto OV = ConversionError::Overflow;

TEST(ToInteger16, TakesTheWholeTextOrRefusesIt) {
    // Halves go to the even neighbour; then texts that are no number at all, and numbers that do not fit.
    // clang-format off
    const std::pair<const char*, Result> cases[] = {
        {"12", I(12)},         {" 12 ", I(12)},       {"0", I(0)},           {"-5", I(-5)},
        {"2.5", I(2)},         {"3.5", I(4)},         {"-2.5", I(-2)},       {"0.5", I(0)},
        {"2.51", I(3)},        {"&H10", I(16)},       {"1e3", I(1000)},      {"32767", I(32767)},
        {"-32768", I(-32768)}, {"", TM},              {"  ", TM},            {"abc", TM},
        {"1x", TM},            {"-", TM},             {".", TM},             {"&H", TM},
        {"1 2", TM},           {"32768", OV},         {"-32769", OV},        {"1e9", OV},
        {"32767.5", OV}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ToInteger16(QString::fromUtf8(text)), expected) << "text \"" << text << "\"";
    // Numbers from elsewhere (a setting read as a number prefix) that are no finite number do not fit either.
    EXPECT_EQ(RoundToInteger16(std::nan("")), Result(OV));
    EXPECT_EQ(RoundToInteger16(INFINITY), Result(OV));
    EXPECT_EQ(RoundToInteger16(32767.4), Result(I(32767)));
}

} // namespace
} // namespace vesmarin
