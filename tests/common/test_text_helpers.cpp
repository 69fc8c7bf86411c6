#include "common/TextHelpers.h"

#include <gtest/gtest.h>

namespace zrn::common {
namespace {

struct WidthCase {
    const char* text;
    int width;
    const char* expected;
};

TEST(TextHelpers, CenterText) {
    const WidthCase cases[] = {
        {"ab", 5, " ab  "},  {"", 4, "    "}, {"abcdef", 4, "abcd"}, {"abc", 7, "  abc  "},
        {"abcd", 4, "abcd"}, {"x", 0, ""},    {"x", -3, ""},
    };
    for (const WidthCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.width));
        EXPECT_EQ(CenterText(c.text, c.width), c.expected);
    }
}

TEST(TextHelpers, PadLeftAndPadRight) {
    EXPECT_EQ(PadLeft("7", 3, '0'), "007");
    EXPECT_EQ(PadLeft("abcdef", 3, ' '), "abc");
    EXPECT_EQ(PadLeft("abc", 3, '*'), "abc");
    EXPECT_EQ(PadLeft("", 2, '-'), "--");
    EXPECT_EQ(PadLeft("abc", -1, ' '), "");

    const WidthCase right[] = {
        {"ab", 4, "ab  "},
        {"abcdef", 3, "abc"},
        {"", 0, ""},
        {"\x97\xB0", 3, "\x97\xB0 "},
    };
    for (const WidthCase& c : right) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PadRight(c.text, c.width), c.expected);
    }
}

TEST(TextHelpers, CapitalizeFirstChangesOnlyATillZ) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"abc", "Abc"},         {"", ""},     {"z", "Z"},   {"Abc", "Abc"},
        {"1abc", "1abc"},       {"`a", "`a"}, {"{a", "{a"}, {"\xE9t\xE9", "\xE9t\xE9"},
        {"aBC def", "ABC def"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CapitalizeFirst(c.text), c.expected);
    }
}

TEST(TextHelpers, RepeatChar) {
    EXPECT_EQ(RepeatChar('\x97', 3), "\x97\x97\x97");
    EXPECT_EQ(RepeatChar('\x97', 80).size(), 80u);
    EXPECT_EQ(RepeatChar('-', 0), "");
    EXPECT_EQ(RepeatChar('-', -1), "");
}

} // namespace
} // namespace zrn::common
