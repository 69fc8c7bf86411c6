#include "rtl/DecimalDigits.h"
#include "rtl/Error.h"
#include "rtl/Format.h"
#include "rtl/NumberFormat.h"

#include <charconv>
#include <cmath>

namespace zrn::rtl {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Rewrites a user's number into the C form ("-12.5e3") when it is one: optional sign, digits
// with at most one decimal separator, optional exponent. Spaces around it are allowed,
// thousands separators and any other character are not.
bool toPlainNumber(std::string_view text, char decimalSeparator, std::string& plain) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return false;
    std::size_t end = text.find_last_not_of(' ') + 1;
    text = text.substr(begin, end - begin);

    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) {
        plain += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == decimalSeparator) {
        plain += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            plain += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (i >= text.size() || !isDigit(text[i]))
            return false;
        while (i < text.size() && isDigit(text[i]))
            plain += text[i++];
    }
    return i == text.size();
}

} // namespace

std::string FloatToStr(double value) {
    if (!std::isfinite(value))
        return NonFiniteText(value);
    return GeneralText(value, 15, FormatSettings().decimalSeparator);
}

bool TryStrToFloat(std::string_view text, double& value) {
    std::string plain;
    if (!toPlainNumber(text, FormatSettings().decimalSeparator, plain))
        return false;
    double result = 0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    // from_chars wants no leading '+' and reads independent of the C locale.
    const auto [end, ec] = std::from_chars(first, last, result);
    if (end != last)
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is not a number the program can use.
        if (plain.find("e-") == std::string::npos)
            return false;
        result = plain[0] == '-' ? -0.0 : 0.0;
    } else if (ec != std::errc()) {
        return false;
    }
    value = result;
    return true;
}

double StrToFloat(std::string_view text) {
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw Error("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double rest = value - lower;
    if (rest > 0.5)
        return lower + 1;
    if (rest < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1;
}

} // namespace zrn::rtl
