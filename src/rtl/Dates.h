#pragma once

#include <string>
#include <string_view>

namespace zrn::rtl {

//! A calendar date as the reports print it; no time of day.
struct Date {
    int year = 1;  //!< four-digit year
    int month = 1; //!< 1..12
    int day = 1;   //!< 1..31
};

//! Today's date on this computer's clock, in local time.
Date Today();

//! The date written with a date pattern: "d"/"dd" day, "m"/"mm" month, "yy"/"yyyy" year
//! (two letters give two digits); quoted parts and every other character are copied.
std::string FormatDate(std::string_view pattern, const Date& date);

//! The date in the short date format of FormatSettings().
std::string DateToStr(const Date& date);

} // namespace zrn::rtl
