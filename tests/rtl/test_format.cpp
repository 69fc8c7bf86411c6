#include "SettingsGuard.h"

#include "rtl/Error.h"
#include "rtl/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace zrn::rtl {
namespace {

struct FormatCase {
    char decimal;
    const char* pattern;
    std::vector<FormatArg> args;
    const char* expected;
};

TEST(Format, ConversionsWidthsPrecisionsAndIndexes) {
    const FormatCase cases[] = {
        // whole numbers
        {'.', "%d", {42LL}, "42"},
        {'.', "%5d|%-5d|", {42LL, -42LL}, "   42|-42  |"},
        {'.', "%.3d", {-5LL}, "-005"},
        {'.', "%2d", {12345LL}, "12345"},
        {'.', "%d", {LLONG_MIN}, "-9223372036854775808"},
        {'.', "%u %x %.4x", {7LL, 255LL, 255LL}, "7 FF 00FF"},
        {'.',
         "%d %s %s",
         {12LL, std::string("tanden - Dp"), std::string("99.5")},
         "12 tanden - Dp 99.5"},
        // texts: width pads but never cuts, precision cuts
        {'.', "%5s|%-5s|", {std::string("abc"), std::string("abc")}, "  abc|abc  |"},
        {'.', "%2s", {std::string("abcdef")}, "abcdef"},
        {'.', "%8.8s|", {std::string("Lengte van de band")}, "Lengte v|"},
        {'.', "%8.8s|", {std::string("kort")}, "    kort|"},
        {'.', "%-15.15s|", {std::string("short")}, "short          |"},
        {'.', "%-13S|", {std::string("upper S")}, "upper S      |"},
        {'.', "%s", {std::string("\x97\xB0")}, "\x97\xB0"},
        // reals: "%f" alone gives two decimals, halves round away from zero
        {'.', "%f", {1.5}, "1.50"},
        {'.', "%f", {2LL}, "2.00"},
        {'.', "%.0f|%.0f", {2.5, -2.5}, "3|-3"},
        {'.', "%.1f", {0.05}, "0.1"},
        {'.', "%.2f", {2.675}, "2.68"},
        {'.', "%.2f", {-0.001}, "0.00"},
        {'.', "%-13f|", {12.5}, "12.50        |"},
        {'.', "%8.1f|", {-3.14159}, "    -3.1|"},
        {'.', "%-5.0f|", {1234.6}, "1235 |"},
        {'.', "%.0f", {1e20}, "100000000000000000000"},
        {'.', "%e", {1.5}, "1.50000000000000E+000"},
        {'.', "%.3e", {-12345.0}, "-1.23E+004"},
        {'.', "%.2e", {0.0}, "0.0E+000"},
        {'.', "%g|%g|%g", {0.5, 1e20, 1.0 / 3}, "0.5|1E20|0.333333333333333"},
        {'.', "%n|%.0n", {1234567.891, -1234.0}, "1,234,567.89|-1,234"},
        {'.', "%f", {std::numeric_limits<double>::infinity()}, "INF"},
        // the system's separators
        {',', "%f|%.6f", {1.5, 0.1}, "1,50|0,100000"},
        {',', "%n", {1234567.891}, "1.234.567,89"},
        {',', "%.2e|%g", {1.5, 0.25}, "1,5E+000|0,25"},
        {',', "%8.0f|%d", {1234.5, 1234LL}, "    1235|1234"},
        // percent signs, argument indexes and "*"
        {'.', "100%% %s", {std::string("ok")}, "100% ok"},
        {'.', "%1:s %0:s", {std::string("a"), std::string("b")}, "b a"},
        {'.', "%1:s %s", {std::string("a"), std::string("b"), std::string("c")}, "b c"},
        {'.', "(%0:d >= v1) and (%0:d < v2)", {5LL}, "(5 >= v1) and (5 < v2)"},
        {'.',
         "(%0:d >= t) and (matcode = '%1:s')",
         {20LL, std::string("PP")},
         "(20 >= t) and (matcode = 'PP')"},
        {'.', "%*d|%-*.*f|", {5LL, 42LL, 7LL, 1LL, 2.25}, "   42|2.3    |"},
        {'.', "no conversions", {}, "no conversions"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        test::SettingsGuard guard(c.decimal);
        EXPECT_EQ(Format(c.pattern, c.args), c.expected);
    }
}

TEST(Format, MismatchedOrMissingArgumentsAndBrokenPatternsThrow) {
    struct ErrorCase {
        const char* pattern;
        std::vector<FormatArg> args;
    };
    const ErrorCase cases[] = {
        {"%d", {std::string("abc")}},
        {"%d", {1.5}},
        {"%x", {std::string("1")}},
        {"%s", {5LL}},
        {"%s", {5.0}},
        {"%f", {std::string("1.5")}},
        {"%d", {}},
        {"%d %d", {1LL}},
        {"%", {}},
        {"abc %5", {1LL}},
        {"%-", {1LL}},
        {"%q", {1LL}},
        {"%m", {1.0}},
        {"%3:d", {1LL}},
        {"%*d", {std::string("x"), 1LL}},
        {"%999999999d", {1LL}},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_THROW(Format(c.pattern, c.args), Error);
    }
    try {
        Format("%-18s : %d", {std::string("Name"), std::string("7")});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Format '%-18s : %d' invalid or incompatible with argument");
    }
}

} // namespace
} // namespace zrn::rtl
