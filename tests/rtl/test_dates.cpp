#include "SettingsGuard.h"

#include "rtl/Dates.h"

#include <gtest/gtest.h>

namespace zrn::rtl {
namespace {

TEST(Dates, FormatsWithDatePatterns) {
    const Date march7{2024, 3, 7};
    const Date december31{2009, 12, 31};
    const struct {
        const char* pattern;
        Date date;
        const char* expected;
    } cases[] = {
        {"dd-mm-yyyy", march7, "07-03-2024"},     {"d/m/yy", march7, "7/3/24"},
        {"yyyy-mm-dd", march7, "2024-03-07"},     {"mm/dd/yyyy", march7, "03/07/2024"},
        {"dd.mm.yy", {2009, 1, 2}, "02.01.09"},   {"d-m-yyyy", december31, "31-12-2009"},
        {"DD-MM-YYYY", december31, "31-12-2009"}, {"'day' d", december31, "day 31"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatDate(c.pattern, c.date), c.expected);
    }
}

TEST(Dates, DateToStrUsesTheShortDateFormat) {
    test::SettingsGuard guard('.');
    FormatSettings().shortDateFormat = "m/d/yyyy";
    EXPECT_EQ(DateToStr({2024, 3, 7}), "3/7/2024");
    FormatSettings().shortDateFormat = "dd-mm-yyyy";
    EXPECT_EQ(DateToStr({2024, 3, 7}), "07-03-2024");
}

TEST(Dates, TodayIsACalendarDate) {
    const Date today = Today();
    EXPECT_GE(today.year, 2024);
    EXPECT_GE(today.month, 1);
    EXPECT_LE(today.month, 12);
    EXPECT_GE(today.day, 1);
    EXPECT_LE(today.day, 31);
}

} // namespace
} // namespace zrn::rtl
