#include "lang/ucalcul_dates.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <vector>

namespace zrn::lang::calc {

namespace {

constexpr std::int64_t MsPerDay = 86400000;
constexpr std::int64_t EpochOffset = 25569; // days from 30 December 1899 to 1 January 1970
constexpr std::int64_t FirstDay = -693593;  // 1 January of year 1
constexpr std::int64_t LastDay = 2958465;   // 31 December 9999
constexpr double LastStamp = LastDay + (MsPerDay - 1) / double(MsPerDay);
// Parts of a date text are held within this bound; any part that large lands outside the
// range of stamps anyway, so holding it there changes nothing but keeps the sums exact.
constexpr std::int64_t PartBound = 1000000000000000LL;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

std::int64_t floorMod(std::int64_t a, std::int64_t b) {
    return a - floorDiv(a, b) * b;
}

// Days since 1 January 1970 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

bool isLeap(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(std::int64_t y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

double clampStamp(double stamp) {
    if (std::isnan(stamp))
        return 0;
    return std::clamp(stamp, double(FirstDay), LastStamp);
}

// Months roll over into neighbouring years and days count on through the months; a year of
// 0 or less is 1 January of year 1. Time parts are summed as they are, so a part beyond its
// range carries into the larger ones and a negative part borrows from them.
double composeStamp(std::int64_t y, std::int64_t m, std::int64_t d, double timeMs) {
    y += floorDiv(m - 1, 12);
    m = floorMod(m - 1, 12) + 1;
    const std::int64_t day = y <= 0 ? FirstDay : daysFromCivil(y, m, 1) + EpochOffset + d - 1;
    return clampStamp(double(day) + timeMs / double(MsPerDay));
}

bool isSeparator(char c) {
    return c == '/' || c == ':' || c == '.';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

// The text without enclosing quotes and without the spaces around "/", ":" and ".".
std::string normalized(std::string_view text) {
    std::string_view s = trimmed(text);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = trimmed(s.substr(1, s.size() - 2));
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != ' ') {
            out += s[i];
            continue;
        }
        std::size_t next = i;
        while (next < s.size() && s[next] == ' ')
            ++next;
        const bool aroundSeparator =
            (!out.empty() && isSeparator(out.back())) || (next < s.size() && isSeparator(s[next]));
        if (!aroundSeparator)
            out += ' ';
        i = next - 1;
    }
    return out;
}

// A whole number with an optional sign; an empty part is 0 only where allowed.
bool readPart(std::string_view s, std::int64_t& value, bool emptyIsZero) {
    value = 0;
    if (s.empty())
        return emptyIsZero;
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return false;
    for (char c : s) {
        if (!isDigit(c))
            return false;
        value = std::min(value * 10 + (c - '0'), PartBound);
    }
    if (negative)
        value = -value;
    return true;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

// hours:minutes:seconds.milliseconds, trailing parts left out, in milliseconds.
bool readTime(std::string_view s, double& ms) {
    if (s.empty() || !(isDigit(s.front()) || s.front() == '-'))
        return false;
    const auto parts = split(s, ':');
    if (parts.size() > 3)
        return false;
    std::int64_t h = 0, mi = 0, sec = 0, msec = 0;
    if (!readPart(parts[0], h, false))
        return false;
    if (parts.size() > 1 && !readPart(parts[1], mi, true))
        return false;
    if (parts.size() > 2) {
        const std::string_view secPart = parts[2];
        const std::size_t point = secPart.find('.');
        if (!readPart(secPart.substr(0, point), sec, true))
            return false;
        if (point != std::string_view::npos && !readPart(secPart.substr(point + 1), msec, true))
            return false;
    }
    ms = double(h) * 3600000.0 + double(mi) * 60000.0 + double(sec) * 1000.0 + double(msec);
    return true;
}

std::string padded(std::int64_t value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

} // namespace

double DateTextToStamp(std::string_view text) {
    const std::string s = normalized(text);
    if (s.find('/') != std::string::npos) {
        const std::size_t space = s.find(' ');
        const std::string_view date = std::string_view(s).substr(0, space);
        if (date.empty() || !isDigit(date.front()))
            return 0;
        const auto parts = split(date, '/');
        if (parts.size() > 3)
            return 0;
        std::int64_t y = 0, m = 1, d = 0;
        if (!readPart(parts[0], y, false))
            return 0;
        if (parts.size() == 2 && !readPart(parts[1], d, false))
            return 0;
        if (parts.size() == 3 && !(readPart(parts[1], m, false) && readPart(parts[2], d, false)))
            return 0;
        double ms = 0;
        if (space != std::string::npos && !readTime(trimmed(std::string_view(s).substr(space)), ms))
            return 0;
        return composeStamp(y, m, d, ms);
    }
    if (s.find(':') != std::string::npos) {
        double ms = 0;
        return readTime(s, ms) ? clampStamp(ms / double(MsPerDay)) : 0;
    }
    std::int64_t y = 0;
    if (s.empty() || !isDigit(s.front()) || !readPart(s, y, false))
        return 0;
    return composeStamp(y, 1, 1, 0);
}

DateParts DecodeStamp(double stamp) {
    const auto totalMs = std::llround(clampStamp(stamp) * double(MsPerDay));
    std::int64_t day = floorDiv(totalMs, MsPerDay);
    std::int64_t ms = floorMod(totalMs, MsPerDay);
    if (day > LastDay) {
        day = LastDay;
        ms = MsPerDay - 1;
    }
    DateParts parts;
    civilFromDays(day - EpochOffset, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.msec = static_cast<int>(ms % 1000);
    parts.weekday = static_cast<int>(floorMod(day + 5, 7) + 1);
    return parts;
}

int LastDayOfMonth(double stamp) {
    const DateParts p = DecodeStamp(stamp);
    if (p.year == 1 && p.month == 1 && p.day == 1)
        return 0;
    return daysInMonth(p.year, p.month);
}

std::string StampToDateText(double stamp) {
    const DateParts p = DecodeStamp(stamp);
    return padded(p.year, 4) + "/" + padded(p.month, 2) + "/" + padded(p.day, 2);
}

std::string StampToTimeText(double stamp) {
    const DateParts p = DecodeStamp(stamp);
    return padded(p.hour, 2) + ":" + padded(p.minute, 2) + ":" + padded(p.second, 2) + "." +
           padded(p.msec, 3);
}

std::string StampToText(double stamp) {
    return StampToDateText(stamp) + " " + StampToTimeText(stamp);
}

double NowStamp() {
    const auto now = std::chrono::system_clock::now();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(floorDiv(ms, 1000));
    std::tm local{};
    localtime_r(&seconds, &local);
    const double timeMs = local.tm_hour * 3600000.0 + local.tm_min * 60000.0 +
                          local.tm_sec * 1000.0 + double(floorMod(ms, 1000));
    return composeStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, timeMs);
}

} // namespace zrn::lang::calc
