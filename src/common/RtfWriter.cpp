#include "common/RtfWriter.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace zrn::common {

namespace {

// Page layout. Rich Text Format has no "do not wrap" switch, and word processors wrap at the
// right margin, so the page is made wide enough for the longest line instead: A4 when the
// report fits (it normally does), wider otherwise, up to the widest page word processors
// accept (22 inches). The one advance width of a fixed-pitch 8 point font makes the line
// width a plain product.
constexpr int IndentTwips = 800;
constexpr int CharTwips = 96;     // Courier New advance width: 0.6 em of 8 pt (160 twips)
constexpr int TabTwips = 720;     // default tab stop distance
constexpr int MarginTwips = 1134; // 2 cm on every side
constexpr int SlackTwips = 2 * CharTwips;
constexpr int A4WidthTwips = 11906;
constexpr int A4HeightTwips = 16838;
constexpr int MaxPaperTwips = 31680;

// Splits on CR LF, lone LF and lone CR. N line breaks give N + 1 lines, so writing and
// reading back keeps a final line break.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

int lineTwips(std::string_view line) {
    int twips = 0;
    for (const char c : line)
        twips += c == '\t' ? TabTwips : CharTwips;
    return twips;
}

int paperWidth(const std::vector<std::string_view>& lines) {
    int longest = 0;
    for (const auto line : lines)
        longest = std::max(longest, lineTwips(line));
    const int needed = 2 * MarginTwips + IndentTwips + longest + SlackTwips;
    return std::clamp(needed, A4WidthTwips, MaxPaperTwips);
}

void appendEscaped(std::string& out, std::string_view line) {
    static constexpr char Hex[] = "0123456789abcdef";
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (byte >= 0x80 || byte < 0x20) {
            out += "\\'";
            out += Hex[byte >> 4];
            out += Hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
}

} // namespace

std::string TextToRtf(std::string_view text) {
    const auto lines = splitLines(text);
    char page[128];
    std::snprintf(page, sizeof page, "\\paperw%d\\paperh%d\\margl%d\\margr%d\\margt%d\\margb%d",
                  paperWidth(lines), A4HeightTwips, MarginTwips, MarginTwips, MarginTwips,
                  MarginTwips);

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
                      "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n";
    out += page;
    out += "\\viewkind4\\uc1\r\n";
    const std::string paragraphStart = "\\pard\\fi" + std::to_string(IndentTwips) + "\\f0\\fs16 ";
    for (const auto line : lines) {
        out += paragraphStart;
        appendEscaped(out, line);
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

} // namespace zrn::common
