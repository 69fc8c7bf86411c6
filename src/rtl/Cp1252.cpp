#include "rtl/Cp1252.h"

#include <array>
#include <cstdint>

namespace zrn::rtl {

namespace {

// Unicode code points of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number, so
// every byte survives a round trip.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t toCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return HighControls[byte - 0x80];
    return byte;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The Windows-1252 byte of a code point, or '?' when it has none.
char toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Reads one UTF-8 sequence at `pos`, advancing past it. A malformed sequence (stray
// continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short) yields nothing and
// advances past its longest valid beginning, so it counts as one unknown character.
bool readUtf8(std::string_view text, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        cp = lead;
        return true;
    }
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0; // overlong below U+0800
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90; // overlong below U+10000
        if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else {
        return false;
    }
    for (int i = 0; i < length; ++i) {
        if (pos >= text.size())
            return false;
        const auto next = static_cast<unsigned char>(text[pos]);
        if (next < low || next > high)
            return false;
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (next & 0x3F);
        ++pos;
    }
    return true;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        appendUtf8(out, toCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        out += readUtf8(text, pos, cp) ? toByte(cp) : '?';
    }
    return out;
}

} // namespace zrn::rtl
