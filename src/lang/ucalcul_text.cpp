#include "lang/ucalcul_text.h"

#include "rtl/Cp1252.h"

#include <utility>

namespace zrn::lang::calc {

namespace {

constexpr char32_t StrayBase = 0xDC00;

// Reads the character at pos and moves past it. Only well-formed UTF-8 (no overlong forms,
// no surrogates, nothing beyond U+10FFFF) makes a multi-byte character; any other byte is a
// stray byte of its own.
char32_t nextChar(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2;
        c = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3;
        c = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || pos + length >= text.size()) {
        ++pos;
        return StrayBase + lead;
    }
    for (std::size_t i = 1; i <= length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (byte < min || byte > max) {
            ++pos;
            return StrayBase + lead;
        }
        c = (c << 6) | (byte & 0x3F);
    }
    pos += length + 1;
    return c;
}

void appendChar(std::string& out, char32_t c) {
    if (c >= StrayBase + 0x80 && c <= StrayBase + 0xFF) {
        out += static_cast<char>(c - StrayBase);
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

template <typename Map> std::string mapText(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        appendChar(out, map(nextChar(text, pos)));
    return out;
}

} // namespace

std::u32string DecodeChars(std::string_view text) {
    std::u32string chars;
    chars.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        chars += nextChar(text, pos);
    return chars;
}

std::string EncodeChars(std::u32string_view chars) {
    std::string out;
    out.reserve(chars.size());
    for (char32_t c : chars)
        appendChar(out, c);
    return out;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        nextChar(text, pos);
        ++count;
    }
    return count;
}

// The letters of Windows-1252 with two cases: ASCII, Latin-1 and the five extra pairs.
char32_t UpperChar(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    switch (c) {
    case 0xFF:
        return 0x178;
    case 0x161:
        return 0x160;
    case 0x153:
        return 0x152;
    case 0x17E:
        return 0x17D;
    default:
        return c;
    }
}

char32_t LowerChar(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    switch (c) {
    case 0x178:
        return 0xFF;
    case 0x160:
        return 0x161;
    case 0x152:
        return 0x153;
    case 0x17D:
        return 0x17E;
    default:
        return c;
    }
}

std::string UpperText(std::string_view text) {
    return mapText(text, UpperChar);
}

std::string LowerText(std::string_view text) {
    return mapText(text, LowerChar);
}

int CharCode(char32_t c) {
    if (c < 0x80)
        return static_cast<int>(c);
    if (c >= StrayBase + 0x80 && c <= StrayBase + 0xFF)
        return static_cast<int>(c - StrayBase);
    std::string utf8;
    appendChar(utf8, c);
    const std::string bytes = rtl::Utf8ToCp1252(utf8);
    return bytes.size() == 1 ? static_cast<unsigned char>(bytes[0]) : '?';
}

std::string CodeChar(int code) {
    return rtl::Cp1252ToUtf8(std::string(1, static_cast<char>(code & 0xFF)));
}

TextFinder::TextFinder(std::u32string_view needle) : needle_(needle), fallback_(needle.size()) {
    // fallback_[i]: length of the longest proper border of needle_[0..i].
    std::size_t k = 0;
    for (std::size_t i = 1; i < needle_.size(); ++i) {
        while (k > 0 && needle_[i] != needle_[k])
            k = fallback_[k - 1];
        if (needle_[i] == needle_[k])
            ++k;
        fallback_[i] = k;
    }
}

std::size_t TextFinder::Find(std::u32string_view haystack, std::size_t from) const {
    if (needle_.empty())
        return std::u32string_view::npos;
    std::size_t k = 0;
    for (std::size_t i = from; i < haystack.size(); ++i) {
        while (k > 0 && haystack[i] != needle_[k])
            k = fallback_[k - 1];
        if (haystack[i] == needle_[k])
            ++k;
        if (k == needle_.size())
            return i + 1 - k;
    }
    return std::u32string_view::npos;
}

namespace {

struct MaskElement {
    enum Kind { Literal, AnyOne, AnyRun, Set } kind = Literal;
    char32_t c = 0;
    bool negate = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;
};

bool inRanges(const MaskElement& e, char32_t c) {
    for (const auto& [from, to] : e.ranges)
        if (c >= from && c <= to)
            return true;
    return false;
}

bool matchesOne(const MaskElement& e, char32_t c) {
    switch (e.kind) {
    case MaskElement::Literal:
        return LowerChar(e.c) == LowerChar(c);
    case MaskElement::AnyOne:
        return true;
    case MaskElement::Set: {
        const bool in = inRanges(e, c) || inRanges(e, LowerChar(c)) || inRanges(e, UpperChar(c));
        return in != e.negate;
    }
    default:
        return false;
    }
}

bool compileMask(std::u32string_view mask, std::vector<MaskElement>& out) {
    std::size_t i = 0;
    while (i < mask.size()) {
        MaskElement e;
        const char32_t c = mask[i++];
        if (c == '*') {
            e.kind = MaskElement::AnyRun;
        } else if (c == '?') {
            e.kind = MaskElement::AnyOne;
        } else if (c == '[') {
            e.kind = MaskElement::Set;
            if (i < mask.size() && mask[i] == '!') {
                e.negate = true;
                ++i;
            }
            bool closed = false;
            while (i < mask.size()) {
                const char32_t from = mask[i++];
                if (from == ']') {
                    closed = true;
                    break;
                }
                char32_t to = from;
                if (i + 1 < mask.size() && mask[i] == '-' && mask[i + 1] != ']') {
                    to = mask[i + 1];
                    i += 2;
                }
                e.ranges.emplace_back(from, to);
            }
            if (!closed)
                return false;
        } else {
            e.c = c;
        }
        out.push_back(std::move(e));
    }
    return true;
}

} // namespace

MaskResult MatchMask(std::u32string_view text, std::u32string_view mask, long long maxSteps,
                     long long& steps) {
    std::vector<MaskElement> elements;
    if (!compileMask(mask, elements))
        return MaskResult::BadMask;
    const std::size_t none = static_cast<std::size_t>(-1);
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t runAt = none; // the last "*" seen, where a failed match resumes
    std::size_t runText = 0;
    while (t < text.size()) {
        if (++steps > maxSteps)
            return MaskResult::TooLong;
        if (p < elements.size() && elements[p].kind == MaskElement::AnyRun) {
            runAt = p++;
            runText = t;
        } else if (p < elements.size() && matchesOne(elements[p], text[t])) {
            ++p;
            ++t;
        } else if (runAt != none) {
            p = runAt + 1;
            t = ++runText;
        } else {
            return MaskResult::NoMatch;
        }
    }
    while (p < elements.size() && elements[p].kind == MaskElement::AnyRun)
        ++p;
    return p == elements.size() ? MaskResult::Match : MaskResult::NoMatch;
}

} // namespace zrn::lang::calc
