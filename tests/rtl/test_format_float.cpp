#include "SettingsGuard.h"

#include "rtl/Format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zrn::rtl {
namespace {

struct PatternRow {
    const char* pattern;
    const char* positive; // 1234
    const char* negative; // -1234
    const char* half;     // 0.5
    const char* zero;     // 0
};

TEST(FormatFloat, ClassicPatternTable) {
    const PatternRow rows[] = {
        {"", "1234", "-1234", "0.5", "0"},
        {"0", "1234", "-1234", "1", "0"},
        {"0.00", "1234.00", "-1234.00", "0.50", "0.00"},
        {"#.##", "1234", "-1234", ".5", ""},
        {"#,##0.00", "1,234.00", "-1,234.00", "0.50", "0.00"},
        {"#,##0.00;(#,##0.00)", "1,234.00", "(1,234.00)", "0.50", "0.00"},
        {"#,##0.00;;Zero", "1,234.00", "-1,234.00", "0.50", "Zero"},
        {"0.000E+00", "1.234E+03", "-1.234E+03", "5.000E-01", "0.000E+00"},
        {"#.###E-0", "1.234E3", "-1.234E3", "5E-1", "0E0"},
    };
    test::SettingsGuard guard('.');
    for (const PatternRow& row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_EQ(FormatFloat(row.pattern, 1234), row.positive);
        EXPECT_EQ(FormatFloat(row.pattern, -1234), row.negative);
        EXPECT_EQ(FormatFloat(row.pattern, 0.5), row.half);
        EXPECT_EQ(FormatFloat(row.pattern, 0), row.zero);
    }
}

struct FloatCase {
    char decimal;
    const char* pattern;
    double value;
    const char* expected;
};

TEST(FormatFloat, ReportPatternsRoundingAndSeparators) {
    const FloatCase cases[] = {
        // display formats of the input and result fields
        {'.', "#.##", 12.345, "12.35"},
        {'.', "#.##", 2.675, "2.68"},
        {'.', "#.##", 1.005, "1.01"},
        {'.', "#.##", 7, "7"},
        {'.', "#.##", -0.004, ""},
        {'.', "0.00", -0.004, "0.00"},
        {'.', "0.00", 1e-300, "0.00"},
        {'.', "0.00", -1.125, "-1.13"},
        {'.', "#0.#", 2.25, "2.3"},
        {'.', "#0.#", 0.04, "0"},
        {'.', "#0.#", 12, "12"},
        {'.', "###0.##", 12345.678, "12345.68"},
        {'.', "###0.##", 0.5, "0.5"},
        {'.', "##0", 2.5, "3"},
        {'.', "##0", -2.5, "-3"},
        {'.', "##0", 0.4, "0"},
        {'.', "##0", 1234567, "1234567"},
        {'.', "0", 1e20, "100000000000000000000"},
        {'.', "0.000", 1.0005, "1.001"},
        {'.', "0.000", 3, "3.000"},
        {'.', "0.0", 99.96, "100.0"},
        {'.', "00.0", 1.25, "01.3"},
        {'.', ".00", 12.5, "12.50"},
        // thousands separators, wherever the comma stands
        {'.', "#,##0", 999, "999"},
        {'.', "#,##0", 1000, "1,000"},
        {'.', "0,000", -1234567.5, "-1,234,568"},
        // sections: a negative that rounds to zero shows the zero form
        {'.', "0;(0)", -5, "(5)"},
        {'.', "0;(0)", -0.4, "0"},
        {'.', "0;(0);'nul'", -0.4, "nul"},
        {'.', "0;;", -5, "-5"},
        // literals, quoted or not
        {'.', "0.0 'mm'", 12.34, "12.3 mm"},
        {'.', "\"L=\"0", 5, "L=5"},
        {'.', "0'#;'", 5, "5#;"},
        {'.', "0\xB0", 20, "20\xB0"},
        // the system's separators
        {',', "#.##", 1234.5, "1234,5"},
        {',', "#,##0.00", 1234.5, "1.234,50"},
        {',', "0.000E+00", 1234, "1,234E+03"},
        {',', "", 0.25, "0,25"},
        {'.', "0.00", std::nan(""), "NAN"},
    };
    for (const FloatCase& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " with " + std::to_string(c.value));
        test::SettingsGuard guard(c.decimal);
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected);
    }
}

} // namespace
} // namespace zrn::rtl
