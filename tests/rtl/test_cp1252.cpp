#include "rtl/Cp1252.h"

#include <gtest/gtest.h>

namespace zrn::rtl {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), byte);
    }
}

TEST(Cp1252, MapsTheSpecialBytesToTheirCharacters) {
    const struct {
        const char* bytes;
        const char* utf8;
    } cases[] = {
        {"\x97", "\u2014"}, // em dash, the report rule
        {"\xB0", "\u00B0"}, // degree sign
        {"\x80", "\u20AC"}, // euro sign
        {"\x85\x99\x9F", "\u2026\u2122\u0178"},
        {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"}, // undefined: kept as controls
        {"\xE9t\xE9 \xFF", "\u00E9t\u00E9 \u00FF"},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(Cp1252ToUtf8(c.bytes), c.utf8);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.bytes);
    }
}

TEST(Cp1252, UnmappableAndMalformedTextBecomesQuestionMarks) {
    const struct {
        std::string utf8;
        std::string bytes;
    } cases[] = {
        {"\u65E5x", "?x"},            // no Windows-1252 form
        {"\U0001F600", "?"},          // four-byte character
        {"\u0080\u0082", "??"},       // controls that 0x80 and 0x82 do not stand for
        {"a\x80z", "a?z"},            // stray continuation byte
        {"\xFF\xFE", "??"},           // bytes that never occur in UTF-8
        {"\xE2\x82", "?"},            // cut short at the end
        {"\xE2\x82x", "?x"},          // cut short before another character
        {"\xC0\xAF", "??"},           // overlong form of '/'
        {"\xED\xA0\x80", "???"},      // surrogate half
        {"\xF4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.bytes);
    }
}

} // namespace
} // namespace zrn::rtl
