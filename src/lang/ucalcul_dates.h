#pragma once

// Dates of the formula evaluator. A stamp is a real number of days since 30 December 1899
// with the time of day as its fraction. Stamps run from 1 January of year 1 to the last
// millisecond of 31 December 9999; anything beyond is held at those ends.

#include <cstdint>
#include <string>
#include <string_view>

namespace zrn::lang::calc {

//! A stamp taken apart.
struct DateParts {
    std::int64_t year = 1899; //!< 1..9999
    int month = 12;           //!< 1..12
    int day = 30;             //!< 1..31
    int hour = 0;             //!< 0..23
    int minute = 0;           //!< 0..59
    int second = 0;           //!< 0..59
    int msec = 0;             //!< 0..999
    int weekday = 6;          //!< 1 Monday to 7 Sunday
};

//! The stamp of a date text: "y/m/d [time]", "y/d [time]", a time "h:m:s.ms" (trailing
//! parts may be left out) or a year; 0 for a text that is none of these.
double DateTextToStamp(std::string_view text);

//! The date and time of a stamp.
DateParts DecodeStamp(double stamp);

//! Days of the stamp's month; 0 for 1 January of year 1, the date of every text too early.
int LastDayOfMonth(double stamp);

//! The date as yyyy/mm/dd.
std::string StampToDateText(double stamp);

//! The time as hh:mm:ss.zzz.
std::string StampToTimeText(double stamp);

//! Date and time separated by one space.
std::string StampToText(double stamp);

//! The stamp of this moment on this computer's clock, in local time.
double NowStamp();

} // namespace zrn::lang::calc
