#include "rtl/Dates.h"

#include "rtl/NumberFormat.h"

#include <cctype>
#include <ctime>

namespace zrn::rtl {

namespace {

std::string twoDigits(int value) {
    value %= 100;
    if (value < 0)
        value = -value;
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

std::string padded(int value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

} // namespace

Date Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatDate(std::string_view pattern, const Date& date) {
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'' || c == '"') {
            const auto close = pattern.find(c, i + 1);
            const auto end = close == std::string_view::npos ? pattern.size() : close;
            out += pattern.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (letter != 'd' && letter != 'm' && letter != 'y') {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = 0;
        while (i < pattern.size() &&
               std::tolower(static_cast<unsigned char>(pattern[i])) == letter) {
            ++run;
            ++i;
        }
        const int value = letter == 'd' ? date.day : letter == 'm' ? date.month : date.year;
        if (letter == 'y')
            out += run <= 2 ? twoDigits(value) : padded(value, 4);
        else
            out += run == 1 ? std::to_string(value) : padded(value, 2);
    }
    return out;
}

std::string DateToStr(const Date& date) {
    return FormatDate(FormatSettings().shortDateFormat, date);
}

} // namespace zrn::rtl
