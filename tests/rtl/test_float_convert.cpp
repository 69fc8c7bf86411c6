#include "SettingsGuard.h"

#include "rtl/Error.h"
#include "rtl/Format.h"
#include "rtl/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace zrn::rtl {
namespace {

TEST(FloatToStr, GeneralFormWithFifteenDigits) {
    struct Case {
        char decimal;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {'.', 0.0, "0"},
        {'.', -0.0, "0"},
        {'.', 1.5, "1.5"},
        {'.', -1.5, "-1.5"},
        {'.', 1.0 / 3, "0.333333333333333"},
        {'.', 2.0 / 3, "0.666666666666667"},
        {'.', 0.1 + 0.2, "0.3"},
        {'.', 123456789.125, "123456789.125"},
        {'.', 1e14, "100000000000000"},
        {'.', 999999999999999.0, "999999999999999"},
        {'.', 1e15, "1E15"},
        {'.', -1.5e20, "-1.5E20"},
        {'.', 1e-5, "0.00001"},
        {'.', 1e-6, "1E-6"},
        {'.', 1.5e-7, "1.5E-7"},
        {'.', std::numeric_limits<double>::infinity(), "INF"},
        {'.', -std::numeric_limits<double>::infinity(), "-INF"},
        {',', 1.5, "1,5"},
        {',', 1.5e-7, "1,5E-7"},
        {',', 1234567.0, "1234567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        test::SettingsGuard guard(c.decimal);
        EXPECT_EQ(FloatToStr(c.value), c.expected);
    }
}

TEST(StrToFloat, AcceptsNumbersWithTheSystemSeparator) {
    struct Case {
        char decimal;
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {'.', "1.5", 1.5},   {'.', "  1.5  ", 1.5},  {'.', "-2", -2},   {'.', "+3.25", 3.25},
        {'.', "1e3", 1000},  {'.', "1.5E-2", 0.015}, {'.', ".5", 0.5},  {'.', "5.", 5},
        {'.', " 0 ", 0},     {'.', "1e-400", 0},     {',', "1,5", 1.5}, {',', "-0,25", -0.25},
        {',', "2,5e+1", 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::SettingsGuard guard(c.decimal);
        EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.expected);
    }
}

TEST(StrToFloat, RejectsWhatIsNotOneNumber) {
    struct Case {
        char decimal;
        const char* text;
    };
    const Case cases[] = {
        {'.', ""},      {'.', "   "},     {'.', "abc"},   {'.', "1,5"}, {'.', "1,000.5"},
        {'.', "1.5.2"}, {'.', "1.5x"},    {'.', "--1"},   {'.', "+"},   {'.', "-"},
        {'.', "."},     {'.', "1e"},      {'.', "1e+"},   {'.', "e5"},  {'.', "1 5"},
        {'.', "1e999"}, {'.', "0x10"},    {'.', "inf"},   {'.', "nan"}, {'.', "\t1"},
        {',', "1.5"},   {',', "1.000,5"}, {',', "1,5,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::SettingsGuard guard(c.decimal);
        double value = 42;
        EXPECT_FALSE(TryStrToFloat(c.text, value));
        EXPECT_EQ(value, 42) << "a failed read must leave the value alone";
        EXPECT_THROW(StrToFloat(c.text), Error);
    }
    try {
        StrToFloat("12,5");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'12,5' is not a valid floating point value");
    }
}

TEST(StrToFloat, ReadsBackWhatFloatToStrWrites) {
    for (const char decimal : {'.', ','}) {
        test::SettingsGuard guard(decimal);
        for (const double value : {0.1, -2.5, 1.0 / 3, 1e15, 1.5e-7, 123456.789}) {
            SCOPED_TRACE(FloatToStr(value));
            EXPECT_NEAR(StrToFloat(FloatToStr(value)), value, std::fabs(value) * 1e-14);
        }
    }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        double expected;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {3.0, 3},
        {-3.7, -4},
        {1e300, 1e300},
        {4503599627370497.0, 4503599627370497.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundHalfEven(c.value), c.expected);
    }
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
}

TEST(FileNumberFormat, ForcesThePointAndRestoresTheSystemSeparators) {
    test::SettingsGuard guard(',');
    {
        FileNumberFormat fileFormat;
        EXPECT_EQ(FormatSettings().decimalSeparator, '.');
        EXPECT_EQ(FormatSettings().thousandSeparator, ',');
        EXPECT_EQ(FloatToStr(1.5), "1.5");
    }
    EXPECT_EQ(FormatSettings().decimalSeparator, ',');
    EXPECT_EQ(FormatSettings().thousandSeparator, '.');
    try {
        FileNumberFormat fileFormat;
        throw std::runtime_error("reading failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(FormatSettings().decimalSeparator, ',');
    EXPECT_EQ(FormatSettings().thousandSeparator, '.');
}

} // namespace
} // namespace zrn::rtl
