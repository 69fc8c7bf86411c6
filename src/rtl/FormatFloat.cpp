#include "rtl/DecimalDigits.h"
#include "rtl/Format.h"
#include "rtl/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zrn::rtl {

namespace {

// One element of a display pattern section.
struct Token {
    enum Kind { Literal, IntDigit, FracDigit, Point, Exponent } kind;
    std::string text;        // Literal: the characters; Exponent: "E" or "e"
    bool zero = false;       // digit placeholder "0" (shown always) rather than "#"
    bool signAlways = false; // Exponent: "E+" shows "+" as well as "-"
    int minDigits = 1;       // Exponent: at least this many exponent digits
};

// A display pattern section taken apart once: "#,##0.00", "0.000E+00", "'Zero'".
struct Section {
    std::vector<Token> tokens;
    int intCount = 0;      // "0"/"#" before the point
    int minInt = 0;        // whole digits always shown (from the first "0" on)
    int fracCount = 0;     // "0"/"#" after the point
    int minFrac = 0;       // decimals always shown (up to the last "0")
    bool grouping = false; // a "," anywhere asks for thousands separators
    bool scientific = false;

    bool hasPlaceholders() const { return intCount + fracCount > 0; }
};

// Splits on ";" outside quotes; only the first three sections count.
std::vector<std::string_view> splitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    if (sections.size() > 3)
        sections.resize(3);
    return sections;
}

void addLiteral(Section& section, std::string_view text) {
    if (!section.tokens.empty() && section.tokens.back().kind == Token::Literal)
        section.tokens.back().text += text;
    else
        section.tokens.push_back({Token::Literal, std::string(text)});
}

Section parseSection(std::string_view text) {
    Section section;
    bool afterPoint = false;
    int firstZero = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            const auto close = text.find(c, i + 1);
            const auto end = close == std::string_view::npos ? text.size() : close;
            addLiteral(section, text.substr(i + 1, end - i - 1));
            i = end;
        } else if ((c == '0' || c == '#') && !section.scientific) {
            Token digit{afterPoint ? Token::FracDigit : Token::IntDigit, {}, c == '0'};
            if (afterPoint) {
                ++section.fracCount;
                if (digit.zero)
                    section.minFrac = section.fracCount;
            } else {
                if (digit.zero && firstZero < 0)
                    firstZero = section.intCount;
                ++section.intCount;
            }
            section.tokens.push_back(digit);
        } else if (c == '.' && !afterPoint && !section.scientific) {
            afterPoint = true;
            section.tokens.push_back(Token{Token::Point, {}});
        } else if (c == ',') {
            section.grouping = true;
        } else if ((c == 'E' || c == 'e') && !section.scientific && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            Token exponent{Token::Exponent, std::string(1, c)};
            exponent.signAlways = text[i + 1] == '+';
            i += 2;
            int zeros = 0;
            while (i < text.size() && text[i] == '0') {
                ++zeros;
                ++i;
            }
            --i;
            exponent.minDigits = zeros > 0 ? zeros : 1;
            section.scientific = true;
            section.tokens.push_back(exponent);
        } else {
            addLiteral(section, text.substr(i, 1));
        }
    }
    section.minInt = firstZero < 0 ? 0 : section.intCount - firstZero;
    return section;
}

// The text of one section for a non-negative magnitude, or nothing when the value rounds
// to zero under this section (the caller then shows the zero section).
//
// Rounding: the magnitude is first taken to 15 significant digits, which removes the noise
// of its binary form (2.675 is stored as 2.67499999...), and then rounded to the shown
// decimals with halves away from zero, so 2.675 shows as "2.68" and 0.5 under "0" as "1".
// Display patterns keep this classic rule; half-even rounding is for whole-number results.
std::optional<std::string> renderSection(const Section& section, double magnitude, bool minusSign,
                                         bool allowZero) {
    const NumberFormat& settings = FormatSettings();
    DecimalDigits d = ToDecimalDigits(magnitude);
    std::string whole;
    std::string fraction;
    int exponent = 0;
    if (section.scientific) {
        // Scientific notation keeps one digit before the point, at the last whole placeholder.
        RoundDigits(d, 1 + section.fracCount);
        whole = d.isZero() ? "0" : d.digits.substr(0, 1);
        exponent = d.isZero() ? 0 : d.exponent - 1;
        fraction = d.isZero() ? std::string() : d.digits.substr(1);
        fraction.resize(section.fracCount, '0');
    } else {
        RoundToDecimals(d, section.fracCount);
        whole = IntegerDigits(d);
        if (static_cast<int>(whole.size()) < section.minInt)
            whole.insert(0, section.minInt - whole.size(), '0');
        fraction = FractionDigits(d, section.fracCount);
    }
    if (d.isZero() && !allowZero)
        return std::nullopt;
    while (static_cast<int>(fraction.size()) > section.minFrac && fraction.back() == '0')
        fraction.pop_back();

    std::string out = minusSign ? "-" : "";
    bool wholeDone = false;
    const auto wholeSize = static_cast<int>(whole.size());
    // Places whole digits [from, to), with thousands separators where a group ends.
    auto putWhole = [&](int from, int to) {
        for (int i = std::max(from, 0); i < to; ++i) {
            out += whole[i];
            const int remaining = wholeSize - 1 - i;
            if (section.grouping && !section.scientific && remaining > 0 && remaining % 3 == 0)
                out += settings.thousandSeparator;
        }
    };
    // Whole digits not yet placed (a pattern without whole placeholders, like ".00").
    auto flushWhole = [&] {
        if (!wholeDone && section.hasPlaceholders())
            putWhole(0, wholeSize);
        wholeDone = true;
    };

    int intIndex = 0;
    int fracIndex = 0;
    for (const Token& token : section.tokens) {
        switch (token.kind) {
        case Token::Literal:
            out += token.text;
            break;
        case Token::IntDigit:
            if (section.scientific) {
                if (intIndex == section.intCount - 1)
                    putWhole(0, wholeSize);
            } else if (intIndex == 0) {
                // The first placeholder takes every digit the pattern has no room for.
                putWhole(0, wholeSize - section.intCount + 1);
            } else {
                const int i = wholeSize - section.intCount + intIndex;
                putWhole(i, i + 1);
            }
            ++intIndex;
            wholeDone = intIndex == section.intCount;
            break;
        case Token::Point:
            flushWhole();
            if (!fraction.empty())
                out += settings.decimalSeparator;
            break;
        case Token::FracDigit:
            if (fracIndex < static_cast<int>(fraction.size()))
                out += fraction[fracIndex];
            ++fracIndex;
            break;
        case Token::Exponent: {
            flushWhole();
            out += token.text;
            if (exponent < 0)
                out += '-';
            else if (token.signAlways)
                out += '+';
            std::string digits = std::to_string(std::abs(exponent));
            if (static_cast<int>(digits.size()) < token.minDigits)
                digits.insert(0, token.minDigits - digits.size(), '0');
            out += digits;
            break;
        }
        }
    }
    flushWhole();
    return out;
}

} // namespace

std::string FormatFloat(std::string_view pattern, double value) {
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (pattern.empty())
        return FloatToStr(value);
    const std::vector<std::string_view> texts = splitSections(pattern);
    if (texts[0].empty())
        return FloatToStr(value);
    // A missing or empty negative or zero section falls back to the positive one.
    const Section positive = parseSection(texts[0]);
    const bool hasNegative = texts.size() > 1 && !texts[1].empty();
    const bool hasZero = texts.size() > 2 && !texts[2].empty();
    const Section zero = hasZero ? parseSection(texts[2]) : positive;

    if (value != 0.0) {
        const bool negative = value < 0;
        const bool ownNegative = negative && hasNegative;
        const Section section = ownNegative ? parseSection(texts[1]) : positive;
        // A value that rounds to zero is shown as zero, without a minus sign.
        if (auto text = renderSection(section, std::fabs(value), negative && !ownNegative, false))
            return *text;
    }
    return *renderSection(zero, 0.0, false, true);
}

} // namespace zrn::rtl
