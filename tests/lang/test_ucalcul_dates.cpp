#include "lang/ucalcul.h"
#include "test_ucalcul_support.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace zrn::lang {
namespace {

using test::FormulaCase;

class CalculDate : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(CalculDate, GivesTheExpectedText) {
    TCalcul calculator;
    const std::string result = test::Evaluate(calculator, GetParam());
    EXPECT_FALSE(calculator.ErrorFlag()) << calculator.ErrorMessage();
    EXPECT_EQ(result, GetParam().expected);
}

const FormulaCase Stamps[] = {
    {"strtostamp(\"1899/12/30\")", "", "0"},
    {"strtostamp(\"1900/01/01\")", "", "2"},
    {"strtostamp(\"2024/05/17\")", "", "45429"},
    {"strtostamp(\"2024/05/17 12:00\")", "", "45429.5"},
    {"strtostamp(\" 2024 / 05 / 17 \")", "", "45429"},
    {"strtostamp(\"\"\"2024/05/17\"\"\")", "", "45429"},
    {"strtostamp(d)", "d=\"2024/05/17\"", "45429"},
    {"strtostamp(\"12:00\")", "", "0.5"},
    {"strtostamp(\"06:00:30\")", "", "0.250347222222"},
    {"strtostamp(\"2024\")", "", "45292"},
    {"strtostamp(\"2024/45\")", "", "45336"},    // one "/": the day of January
    {"strtostamp(\"2024/13/01\")", "", "45658"}, // months roll into the next year
    {"strtostamp(\"2024/02/30\")", "", "45352"}, // days count on into March
    {"strtostamp(\"0/5/5\")", "", "-693593"},    // 1 January of year 1
    {"strtostamp(\"abc\")", "", "0"},
    {"strtostamp(\"x2024/01/01\")", "", "0"},
    {"strtostamp(\"2024/01/01 x\")", "", "0"},
    {"stamptodatestr(45429.5)", "", "\"2024/05/17\""},
    {"stamptotimestr(45429.5)", "", "\"12:00:00.000\""},
    {"stamptostr(45429.75)", "", "\"2024/05/17 18:00:00.000\""},
    {"stamptotimestr(strtostamp(\"12:00:00.250\"))", "", "\"12:00:00.250\""},
    // Time parts carry into larger ones; negative ones borrow from them.
    {"stamptostr(strtostamp(\"2024/05/17 25:00\"))", "", "\"2024/05/18 01:00:00.000\""},
    {"stamptostr(strtostamp(\"2024/05/17 10:-5\"))", "", "\"2024/05/17 09:55:00.000\""},
    {"stamptostr(strtostamp(\"-1:00\"))", "", "\"1899/12/29 23:00:00.000\""},
    // Stamps stay between 1 January of year 1 and the end of 31 December 9999.
    {"stamptodatestr(1e9)", "", "\"9999/12/31\""},
    {"stamptodatestr(-1e9)", "", "\"0001/01/01\""},
    {"stamptostr(strtostamp(\"12000/06/01\"))", "", "\"9999/12/31 23:59:59.999\""},
    {"stamptostr(strtostamp(\"2024/1/99999999999999999999\"))", "", "\"9999/12/31 23:59:59.999\""},
};
INSTANTIATE_TEST_SUITE_P(Stamps, CalculDate, ::testing::ValuesIn(Stamps));

const FormulaCase Parts[] = {
    {"weekday(\"2024/05/17\")", "", "5"},
    {"weekday(\"2024/05/19\")", "", "7"},
    {"weekday(\"2024/05/20\")", "", "1"},
    {"weekday(\"1899/12/30\")", "", "6"},
    {"month(\"2024/05/17 13:45:30.250\")", "", "5"},
    {"year(\"2024/05/17 13:45:30.250\")", "", "2024"},
    {"day(\"2024/05/17 13:45:30.250\")", "", "17"},
    {"hour(\"2024/05/17 13:45:30.250\")", "", "13"},
    {"minute(\"2024/05/17 13:45:30.250\")", "", "45"},
    {"sec(\"2024/05/17 13:45:30.250\")", "", "30"},
    {"day(\"2024/05/17 25:00\")", "", "18"},
    {"hour(\"10:75\")", "", "11"},
    {"minute(\"10:75\")", "", "15"},
    {"year(\"abc\")", "", "1899"}, // not a date: stamp 0
    {"lastday(strtostamp(\"2024/02/10\"))", "", "29"},
    {"lastday(strtostamp(\"2023/02/10\"))", "", "28"},
    {"lastday(strtostamp(\"2000/02/01\"))", "", "29"},
    {"lastday(strtostamp(\"1900/02/01\"))", "", "28"},
    {"lastday(strtostamp(\"2024/04/30\"))", "", "30"},
    {"lastday(0)", "", "31"},
    {"lastday(strtostamp(\"0\"))", "", "0"},
};
INSTANTIATE_TEST_SUITE_P(Parts, CalculDate, ::testing::ValuesIn(Parts));

TEST(CalculDateVariables, DateNowAndTimeHoldOneMoment) {
    TCalcul calculator;
    calculator.SetFormula("date");
    const std::string date = calculator.Evaluate();
    EXPECT_TRUE(std::regex_match(date, std::regex(R"("\d{4}/\d{2}/\d{2}")"))) << date;
    EXPECT_EQ(calculator.ResultType(), CalcType::Text);

    calculator.SetFormula("time");
    const std::string time = calculator.Evaluate();
    EXPECT_TRUE(std::regex_match(time, std::regex(R"("\d{2}:\d{2}:\d{2}\.\d{3}")"))) << time;

    calculator.SetFormula("now");
    const std::string now = calculator.Evaluate();
    EXPECT_TRUE(
        std::regex_match(now, std::regex(R"("\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3}")")))
        << now;

    // One evaluation reads the clock once, nested evaluations included.
    calculator.SetFormula("(now = (date | \" \" | time)) and (eval(\"now\") = now)");
    EXPECT_EQ(calculator.Evaluate(), "1");

    // The three lines stay in the variables, replaced at each evaluation.
    int dateLines = 0;
    for (const auto& line : calculator.VariableLines())
        dateLines += line.rfind("date=", 0) == 0;
    EXPECT_EQ(dateLines, 1);
}

} // namespace
} // namespace zrn::lang
