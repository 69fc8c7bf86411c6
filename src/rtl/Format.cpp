#include "rtl/Format.h"

#include "rtl/DecimalDigits.h"
#include "rtl/Error.h"
#include "rtl/NumberFormat.h"

#include <cmath>
#include <optional>

namespace zrn::rtl {

namespace {

// Widths and precisions beyond this are taken as a broken pattern, not as a request for
// megabytes of padding.
constexpr long long MaxFieldSize = 100000;

// One "%..." conversion: everything between the '%' and the conversion letter.
struct Conversion {
    bool leftJustify = false;
    std::optional<long long> width;
    std::optional<long long> precision;
    char type = 0;
};

// Walks a pattern once, handing out conversions and the arguments they consume.
class Formatter {
public:
    Formatter(std::string_view pattern, const std::vector<FormatArg>& args)
        : pattern_(pattern), args_(args) {}

    std::string run() {
        while (pos_ < pattern_.size()) {
            const char c = pattern_[pos_++];
            if (c != '%') {
                out_ += c;
                continue;
            }
            if (peek() == '%') {
                ++pos_;
                out_ += '%';
                continue;
            }
            appendConversion(parseConversion());
        }
        return out_;
    }

private:
    [[noreturn]] void fail() const {
        throw Error("Format '" + std::string(pattern_) + "' invalid or incompatible with argument");
    }

    char peek() const { return pos_ < pattern_.size() ? pattern_[pos_] : '\0'; }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const FormatArg& nextArg() {
        if (argIndex_ >= args_.size())
            fail();
        return args_[argIndex_++];
    }

    long long wholeArg() {
        const auto* value = std::get_if<long long>(&nextArg());
        if (!value)
            fail();
        return *value;
    }

    // Whole-number arguments are accepted where a real number is asked for.
    double realArg() {
        const FormatArg& arg = nextArg();
        if (const auto* d = std::get_if<double>(&arg))
            return *d;
        if (const auto* i = std::get_if<long long>(&arg))
            return static_cast<double>(*i);
        fail();
    }

    const std::string& textArg() {
        const auto* text = std::get_if<std::string>(&nextArg());
        if (!text)
            fail();
        return *text;
    }

    // A run of digits or "*" (taken from the arguments); nothing when neither is there.
    std::optional<long long> parseNumber() {
        if (peek() == '*') {
            ++pos_;
            return wholeArg();
        }
        if (!isDigit(peek()))
            return std::nullopt;
        long long value = 0;
        while (isDigit(peek())) {
            value = value * 10 + (pattern_[pos_++] - '0');
            if (value > MaxFieldSize)
                fail();
        }
        return value;
    }

    Conversion parseConversion() {
        Conversion conv;
        std::optional<long long> number = parseNumber();
        if (number && peek() == ':') {
            ++pos_;
            if (*number < 0 || *number >= static_cast<long long>(args_.size()))
                fail();
            argIndex_ = static_cast<std::size_t>(*number);
            number.reset();
        }
        if (!number) {
            if (peek() == '-') {
                ++pos_;
                conv.leftJustify = true;
            }
            number = parseNumber();
        }
        conv.width = number;
        if (peek() == '.') {
            ++pos_;
            conv.precision = parseNumber().value_or(0);
        }
        if (conv.width && *conv.width < 0) {
            // A negative width from "*" left-justifies, as a minus sign would.
            conv.leftJustify = true;
            conv.width = -*conv.width;
        }
        if ((conv.width && *conv.width > MaxFieldSize) ||
            (conv.precision && (*conv.precision < 0 || *conv.precision > MaxFieldSize)))
            fail();
        if (pos_ >= pattern_.size())
            fail();
        conv.type = pattern_[pos_++];
        return conv;
    }

    static std::string withMinimumDigits(std::string digits, std::optional<long long> precision) {
        if (precision && static_cast<long long>(digits.size()) < *precision)
            digits.insert(0, static_cast<std::size_t>(*precision) - digits.size(), '0');
        return digits;
    }

    static std::string hexDigits(unsigned long long value) {
        static const char Hex[] = "0123456789ABCDEF";
        std::string digits;
        do {
            digits.insert(digits.begin(), Hex[value % 16]);
            value /= 16;
        } while (value != 0);
        return digits;
    }

    std::string realText(const Conversion& conv, double value) {
        if (!std::isfinite(value))
            return NonFiniteText(value);
        const NumberFormat& settings = FormatSettings();
        const int precision = static_cast<int>(conv.precision.value_or(-1));
        switch (conv.type) {
        case 'e':
            return ExponentText(value, precision < 0 ? 15 : precision, settings.decimalSeparator);
        case 'f':
            return FixedText(value, precision < 0 ? 2 : precision, settings.decimalSeparator, 0);
        case 'g':
            return GeneralText(value, precision < 0 ? 15 : precision, settings.decimalSeparator);
        default: // 'n'
            return FixedText(value, precision < 0 ? 2 : precision, settings.decimalSeparator,
                             settings.thousandSeparator);
        }
    }

    std::string convert(Conversion& conv) {
        switch (conv.type) {
        case 'd': {
            const long long value = wholeArg();
            const unsigned long long magnitude = value < 0
                                                     ? 0ULL - static_cast<unsigned long long>(value)
                                                     : static_cast<unsigned long long>(value);
            const std::string digits = withMinimumDigits(std::to_string(magnitude), conv.precision);
            return value < 0 ? "-" + digits : digits;
        }
        case 'u':
            return withMinimumDigits(std::to_string(static_cast<unsigned long long>(wholeArg())),
                                     conv.precision);
        case 'x':
            return withMinimumDigits(hexDigits(static_cast<unsigned long long>(wholeArg())),
                                     conv.precision);
        case 'e':
        case 'f':
        case 'g':
        case 'n':
            return realText(conv, realArg());
        case 's': {
            const std::string& text = textArg();
            if (conv.precision && static_cast<long long>(text.size()) > *conv.precision)
                return text.substr(0, static_cast<std::size_t>(*conv.precision));
            return text;
        }
        default:
            fail();
        }
    }

    void appendConversion(Conversion conv) {
        // Conversion letters are read without regard to case: "%S" is "%s".
        if (conv.type >= 'A' && conv.type <= 'Z')
            conv.type = static_cast<char>(conv.type - 'A' + 'a');
        const std::string text = convert(conv);
        const auto width = static_cast<std::size_t>(conv.width.value_or(0));
        const std::size_t padding = text.size() < width ? width - text.size() : 0;
        if (!conv.leftJustify)
            out_.append(padding, ' ');
        out_ += text;
        if (conv.leftJustify)
            out_.append(padding, ' ');
    }

    std::string_view pattern_;
    const std::vector<FormatArg>& args_;
    std::size_t pos_ = 0;
    std::size_t argIndex_ = 0;
    std::string out_;
};

} // namespace

std::string Format(std::string_view pattern, const std::vector<FormatArg>& args) {
    return Formatter(pattern, args).run();
}

} // namespace zrn::rtl
