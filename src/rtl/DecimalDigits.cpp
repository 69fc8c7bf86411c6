#include "rtl/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zrn::rtl {

namespace {

void stripTrailingZeros(DecimalDigits& value) {
    while (!value.digits.empty() && value.digits.back() == '0')
        value.digits.pop_back();
    if (value.digits.empty()) {
        value.exponent = 0;
        value.negative = false;
    }
}

} // namespace

DecimalDigits ToDecimalDigits(double value, int significant) {
    DecimalDigits result;
    if (value == 0.0 || !std::isfinite(value))
        return result;
    significant = std::clamp(significant, 1, 17);
    // to_chars rounds the exact binary value and ignores the C locale, unlike printf.
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, significant - 1);
    if (ec != std::errc())
        return result;
    const std::string text(buffer, end);
    const auto e = text.find('e');
    if (e == std::string::npos)
        return result;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            result.digits += text[i];
    result.exponent = std::atoi(text.c_str() + e + 1) + 1;
    result.negative = value < 0;
    stripTrailingZeros(result);
    return result;
}

void RoundDigits(DecimalDigits& value, int count) {
    if (count >= static_cast<int>(value.digits.size()))
        return;
    if (count < 0) {
        value = DecimalDigits{};
        return;
    }
    const bool up = value.digits[count] >= '5';
    value.digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && value.digits[i] == '9') {
            value.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++value.digits[i];
        } else {
            // All nines (or nothing kept): the carry becomes a new leading digit.
            value.digits.insert(value.digits.begin(), '1');
            ++value.exponent;
        }
    }
    stripTrailingZeros(value);
}

void RoundToDecimals(DecimalDigits& value, int decimals) {
    if (!value.isZero())
        RoundDigits(value, value.exponent + decimals);
}

std::string IntegerDigits(const DecimalDigits& value) {
    if (value.exponent <= 0)
        return {};
    const auto size = static_cast<int>(value.digits.size());
    std::string result = value.digits.substr(0, std::min(value.exponent, size));
    if (value.exponent > size)
        result.append(value.exponent - size, '0');
    return result;
}

std::string FractionDigits(const DecimalDigits& value, int decimals) {
    std::string result;
    const auto size = static_cast<int>(value.digits.size());
    for (int j = 0; j < decimals; ++j) {
        const int index = value.exponent + j;
        result += (index >= 0 && index < size) ? value.digits[index] : '0';
    }
    return result;
}

std::string GroupThousands(const std::string& digits, char separator) {
    std::string result;
    const auto size = digits.size();
    for (std::size_t i = 0; i < size; ++i) {
        result += digits[i];
        const auto remaining = size - 1 - i;
        if (remaining > 0 && remaining % 3 == 0)
            result += separator;
    }
    return result;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    return {};
}

std::string FixedText(double value, int decimals, char decimalSeparator, char thousandSeparator) {
    DecimalDigits d = ToDecimalDigits(value);
    RoundToDecimals(d, decimals);
    std::string whole = IntegerDigits(d);
    if (whole.empty())
        whole = "0";
    if (thousandSeparator != 0)
        whole = GroupThousands(whole, thousandSeparator);
    std::string result = d.negative ? "-" + whole : whole;
    if (decimals > 0)
        result += decimalSeparator + FractionDigits(d, decimals);
    return result;
}

std::string ExponentText(double value, int digits, char decimalSeparator) {
    digits = std::max(digits, 1);
    DecimalDigits d = ToDecimalDigits(value);
    RoundDigits(d, digits);
    std::string mantissa = d.digits;
    mantissa.resize(digits, '0');
    std::string result = d.negative ? "-" : "";
    result += mantissa[0];
    if (digits > 1)
        result += decimalSeparator + mantissa.substr(1);
    const int exponent = d.isZero() ? 0 : d.exponent - 1;
    std::string expDigits = std::to_string(std::abs(exponent));
    if (expDigits.size() < 3)
        expDigits.insert(0, 3 - expDigits.size(), '0');
    result += exponent < 0 ? "E-" : "E+";
    return result + expDigits;
}

std::string GeneralText(double value, int precision, char decimalSeparator) {
    precision = std::clamp(precision, 1, 17);
    const DecimalDigits d = ToDecimalDigits(value, precision);
    if (d.isZero())
        return "0";
    std::string result = d.negative ? "-" : "";
    const int exponent = d.exponent - 1;
    if (exponent >= precision || exponent < -5) {
        result += d.digits[0];
        if (d.digits.size() > 1)
            result += decimalSeparator + d.digits.substr(1);
        return result + "E" + std::to_string(exponent);
    }
    const std::string whole = IntegerDigits(d);
    result += whole.empty() ? "0" : whole;
    const int decimals = static_cast<int>(d.digits.size()) - d.exponent;
    if (decimals > 0)
        result += decimalSeparator + FractionDigits(d, decimals);
    return result;
}

} // namespace zrn::rtl
