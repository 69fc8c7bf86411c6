#include "lang/ucalcul.h"
#include "rtl/NumberFormat.h"
#include "test_ucalcul_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zrn::lang {
namespace {

using test::FormulaCase;

// ---------------------------------------------------------------------------------------
// Results

class CalculResult : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(CalculResult, GivesTheExpectedText) {
    TCalcul calculator;
    const std::string result = test::Evaluate(calculator, GetParam());
    EXPECT_FALSE(calculator.ErrorFlag()) << calculator.ErrorMessage();
    EXPECT_EQ(result, GetParam().expected);
}

// Precedence: "+" and "-" lowest, every other binary operator one level above them, "^"
// highest; all group from the left. A "-" before a digit at the start or after "(" is part
// of the number.
const FormulaCase Precedence[] = {
    {"2+3*4", "", "14"},
    {"2^3^2", "", "64"},
    {"-2^2", "", "4"},
    {"-x^2", "x=2", "-4"},
    {"1+2=3", "", "1"},
    {"x>1 and x<5", "x=7", "1"},
    {"(x>1) and (x<5)", "x=7", "0"},
    {"2*3 = 6", "", "1"},
    {"6 = 2*3", "", "0"},
    {"1 | 2 + 3", "", "15"},
    {"10 - 2 - 3", "", "5"},
    {"2 * (-3)", "", "-6"},
    {"-x*3", "x=2", "-6"},
    {"-(2+3)", "", "-5"},
    {"+5", "", "5"},
    {"1+-2", "", "-1"},
    {"1--2", "", "3"},
    {"2^(-1)", "", "0.5"},
    {"3 # 4", "", "3"},
    {" 1 +\t2 ;; ", "", "3"},
};
INSTANTIATE_TEST_SUITE_P(Precedence, CalculResult, ::testing::ValuesIn(Precedence));

const FormulaCase Operators[] = {
    {"1/3", "", "0.333333333333"},
    {"2/3", "", "0.666666666667"},
    {"0.1+0.2", "", "0.3"},
    {"1-1.5", "", "-0.5"},
    {"x/25.4", "x=25.4", "1"},
    {"x*2", "x=25.4", "50.8"},
    {"1.5e3*2", "", "3000"},
    {"-1e-13*1", "", "0"}, // no negative zero
    {"5/0", "", "0"},
    {"5/0.000000001", "", "0"},
    {"0/y", "y=4", "0"},
    {"7 div 2", "", "3"},
    {"-7 div 2", "", "-3"},
    {"7 div 0", "", "0"},
    {"2.9999999999 div 1", "", "3"}, // whole numbers are read with a margin of 1e-7
    {"2.9999 div 1", "", "2"},
    {"-7 mod 2", "", "-1"},
    {"7 mod (-2)", "", "1"},
    {"2^0", "", "1"},
    {"0^2", "", "0"},
    {"(-2)^3", "", "-8"},
    {"2^0.5", "", "1.414213562373"},
    {"4^x", "x=0.5", "2"},
    {"1^2147483647", "", "1"},
    {"(-1)^2147483647", "", "-1"},
    {"1 and 0", "", "0"},
    {"2 and 1", "", "1"},
    {"0.5 and 1", "", "0"},
    {"0 or 0", "", "0"},
    {"0 or 1", "", "1"},
    {"0 and y", "", "0"}, // the right operand is not evaluated
    {"1 or y", "", "1"},
    {"\"abc\" = \"abc\"", "", "1"},
    {"1=1.0", "", "0"}, // texts are compared
    {"\"a\" <> \"b\"", "", "1"},
    {"1<1.0", "", "0"},
    {"2 >= 2", "", "1"},
    {"2 <= 1", "", "0"},
    {"3 > 2", "", "1"},
    {"\"10\" < \"9\"", "", "0"},  // numbers compare as numbers...
    {"\"10\" < \"9a\"", "", "1"}, // ...texts as texts
    {"\"b\" < \"a\"", "", "0"},
    {"\"a\" | \"b\"", "", "\"ab\""},
    {"\"a\" || 1", "", "\"a1\""},
    {"1;2", "", "2"},
    {"\"Hello\" like \"h%o\"", "", "\"1\""},
    {"\"Hello\" like \"h_llo\"", "", "\"1\""},
    {"\"Hello\" like \"h_lo\"", "", "\"0\""},
    {"\"b\" like \"[a-c]\"", "", "\"1\""},
    {"\"d\" like \"[!a-c]\"", "", "\"1\""},
    {"\"file.txt\" wildcard \"*.TXT\"", "", "\"1\""},
    {"\"a%\" wildcard \"a%\"", "", "\"1\""},
    {"\"ab\" wildcard \"a%\"", "", "\"0\""},
    {"\"abxxc\" wildcard \"a*x?\"", "", "\"1\""},
};
INSTANTIATE_TEST_SUITE_P(Operators, CalculResult, ::testing::ValuesIn(Operators));

const FormulaCase VariablesAndTypes[] = {
    {"x", "x=5", "5"},
    {"X", "x=5", "5"},
    {"x", "x= 7", "7"},
    {"s", "s=\"abc\"", "\"abc\""},
    {"s | 1", "s=\"a\"", "\"a1\""},
    {"'my var'*2", "my var=4", "8"},
    {"a.b+1", "a.b=1", "2"},
    {"x", "x=1\nx=2", "1"},
    {"5", "", "5"},
    {"\"5\"", "", "\"5\""},
    {"\"a\"\"b\"", "", "\"a\"b\""},
    {"pos(\"a\", \"a\")", "", "1"},         // a number, though the formula holds a text
    {"1 like 1", "", "1"},                  // like keeps the formula's type...
    {"\"1\" like \"1\"", "", "\"1\""},      // ...which is text when it holds a double quote
    {"delete(s, 2, 1)", "s=\"abc\"", "ac"}, // delete( keeps the type too
    {"string(5)", "", "\"5\""},
};
INSTANTIATE_TEST_SUITE_P(VariablesAndTypes, CalculResult, ::testing::ValuesIn(VariablesAndTypes));

const FormulaCase Functions[] = {
    {"sin(0)", "", "0"},
    {"cos(0)", "", "1"},
    {"tg(1)", "", "1.557407724655"},
    {"ctg(1)", "", "0.642092615934"},
    {"abs(-2.5)", "", "2.5"},
    {"sign(-3)", "", "-1"},
    {"sign(-0.00000011)", "", "-1"},
    {"sign(-0.0000001)", "", "0"},
    {"sign(0.000000011)", "", "1"},
    {"sign(0.00000001)", "", "0"},
    {"sqrt(16)", "", "4"},
    {"ln(1)", "", "0"},
    {"exp(1)", "", "2.718281828459"},
    {"arcsin(1)", "", "1.570796326795"},
    {"arccos(1)", "", "0"},
    {"arctg(1)", "", "0.785398163397"},
    {"arcctg(0)", "", "1.570796326795"},
    {"sh(1)", "", "1.175201193644"},
    {"ch(1)", "", "1.543080634815"},
    {"th(1)", "", "0.761594155956"},
    {"th(1000)", "", "1"},
    {"cth(1)", "", "1.313035285499"},
    {"h(0)", "", "1"},
    {"heaviside(-0.1)", "", "0"},
    {"existvar(\"x\")", "x=1", "1"},
    {"existvar(\"X\")", "x=1", "1"},
    {"existvar(\"y\")", "x=1", "0"},
    {"freevar(\"y\")", "x=1", "0"},
    {"frac(-2.75)", "", "-0.75"},
    {"trunc(-2.75)", "", "-2"},
    {"length(\"h\xC3\xA9llo\")", "", "5"}, // characters, not bytes
    {"length(\"\")", "", "0"},
    {"length(12.50)", "", "5"},
    {"trimleft(\"  a \")", "", "\"a \""},
    {"trimright(\"  a \")", "", "\"  a\""},
    {"trim(\" \ta \")", "", "\"a\""},
    {"eval(\"1+2\")", "", "3"},
    {"eval(\" [2*x] \")", "x=3", "6"},
    {"eval(\"\"\"a\"\"\") | \"b\"", "", "\"ab\""},
    {"eval(\"1+\")", "", ""}, // a failed inner evaluation is an empty text, not an error
    {"char(65)", "", "\"A\""},
    {"char(176)", "", "\"\xC2\xB0\""},
    {"char(128)", "", "\"\xE2\x82\xAC\""},
    {"ascii(\"A\")", "", "65"},
    {"ascii(\"\xE2\x82\xACuro\")", "", "128"},
    {"ascii(\"\")", "", ""},
    {"upper(\"ab\")", "", "\"AB\""},
    {"upper(\"\xC3\xA9\xC3\xBF\")", "", "\"\xC3\x89\xC5\xB8\""},
    {"lower(\"\xC3\x80Z\")", "", "\"\xC3\xA0z\""},
    {"not(1)", "", "0"},
    {"not(0.99)", "", "1"},
    {"numeric(\"1 234,5\")", "", "1234.5"},
    {"logic(0.5)", "", "0"},
    {"logic(2.9)", "", "1"},
    {"copy(\"abcdef\", 2, 3)", "", "\"bcd\""},
    {"copy(\"abcdef\", 4)", "", "\"def\""},
    {"copy(\"abc\", 5, 1)", "", "\"\""},
    {"copy(\"abc\", 0, 2)", "", "\"ab\""},
    {"copy(\"abc\", 2, 0)", "", "\"\""},
    {"copy(\"h\xC3\xA9llo\", 2, 2)", "", "\"\xC3\xA9l\""},
    {"copyto(\"abcdef\", 2, 4)", "", "\"bcd\""},
    {"copyto(\"abcdef\", 3)", "", "\"cdef\""},
    {"copyto(\"abc\", 3, 2)", "", "\"\""},
    {"pos(\"c\", \"abc\")", "", "3"},
    {"pos(\"x\", \"abc\")", "", "0"},
    {"pos(\"lo\", \"h\xC3\xA9llo\")", "", "4"},
    {"delete(\"abcdef\", 2, 3)", "", "\"aef\""},
    {"delete(\"abcdef\", 3)", "", "\"ab\""},
    {"delete(\"abc\", 4, 1)", "", "\"abc\""},
    {"delete(\"abc\", 1, 0)", "", "\"abc\""},
    {"replace(\"aXbxc\", \"x\", \"-\")", "", "\"a-b-c\""},
    {"replace(\"aXbxc\", \"x\", \"-\", 0)", "", "\"a-bxc\""},
    {"replace(\"aXbxc\", \"x\", \"-\", 1, 0)", "", "\"aXb-c\""},
    {"replace(\"aaa\", \"a\", \"aa\")", "", "\"aaaaaa\""},
    {"replace(\"abc\", \"\", \"x\")", "", "\"abc\""},
    {"maxval(1, 5, 3)", "", "5"},
    {"maxval(7)", "", "7"},
    {"minval(4, -2, 8)", "", "-2"},
    {"sumval(1, 2, 3.5)", "", "6.5"},
    {"avgval(1, 2)", "", "1.5"},
    {"sumval(1, 2, 3, 4, 5, 6, 7)", "", "28"},
    {"iff(2, 1, 0)", "", "\"0\""},
    {"iff(1, \"yes\", \"no\")", "", "\"yes\""},
    {"iff(x > 1, 10, 20)", "x=2", "\"10\""},
    {"insert(\"abc\", \"X\", 2)", "", "\"aXbc\""},
    {"insert(\"abc\", \"X\", 0)", "", "\"Xabc\""},
    {"insert(\"abc\", \"X\", 99)", "", "\"abcX\""},
    {"insert(\"\", \"X\", 5)", "", "\"X\""},
    {"numbase(255, 16)", "", "\"FF\""},
    {"numbase(5, 1)", "", "\"101\""},
    {"numbase(0, 2)", "", "\"\""},
    {"numbase(4294967295, 2)", "", "\"11111111111111111111111111111111\""},
    {"numbase(4294967296, 2)", "", "\"\""}, // 33 digits
    {"basenum(\"ff\", 16)", "", "255"},
    {"basenum(\"00101\", 2)", "", "5"},
    {"basenum(\"12\", 99)", "", "18"},
    {"basenum(\"0\", 2)", "", ""},
    {"basenum(\"12\", 2)", "", ""},
    {"basenum(\"1g\", 16)", "", ""},
    // Calls inside calls, and more arguments than a function uses.
    {"copy(copy(\"abcdef\", 2, 4), 2, 2)", "", "\"cd\""},
    {"length(copy(\"abc\", 1, 2)) + 1", "", "3"},
    {"maxval(1, minval(5, 3), 2)", "", "3"},
    {"copy(\"abcdef\", 2, 3, 9, 9, 9, 9)", "", "\"bcd\""},
    {"iff(1, copy(\"abc\", 1, 1, 1, 1, 1, 1, 1), \"z\")", "", "\"a\""},
};
INSTANTIATE_TEST_SUITE_P(Functions, CalculResult, ::testing::ValuesIn(Functions));

// ---------------------------------------------------------------------------------------
// Failures

class CalculFailure : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(CalculFailure, RecordsTheFirstError) {
    TCalcul calculator;
    test::Evaluate(calculator, GetParam());
    EXPECT_TRUE(calculator.ErrorFlag());
    EXPECT_EQ(calculator.ErrorMessage(), GetParam().expected);
}

const FormulaCase Failures[] = {
    {"2 * -3", "", "? operand "},
    {"x > -1", "x=1", "? operand "},
    {"x*", "x=1", "? operand "},
    {"", "", "? operand "},
    {"sin(1", "", "invalid formule"},
    {"(3 # 4)", "", "invalid formule"},
    {"1)", "", "invalid formule"},
    {"2 x", "x=1", "Invalid expression"},
    {"2 (3)", "", "Invalid expression"},
    {"\"a\" \"b\"", "", "Invalid expression"},
    {"2^(1+1)", "", "invalid formule"},
    {"2^-1", "", "Invalid values"},
    {"2^sin(1)", "", "Invalid values"},
    {"\"abc", "", "String value end error"},
    {"foo(1)", "", "Invalid function foo(...)"},
    {"Mod(1)", "", "Invalid function Mod(...)"},
    {"1.", "", "Wrong number in 1."},
    {"1e+", "", "Wrong number in 1e+"},
    {"2*1.e5", "", "Wrong number in 2*1.e5"},
    {"y", "", "Unknown variable:y"},
    {"'a b'", "", "Unknown variable:a b"},
    {"'a b", "", "invalid formule"},
    {"1 + \"a\"", "", "Error, convert to numeric value:a"},
    {"sqrt(\"x\")", "", "Error, convert to numeric value:x"},
    {"\"\" * 1", "", "Error, convert to numeric value:"},
    {"copy(\"abc\")", "", "Not enough params"},
    {"pos(\"a\")", "", "Not enough params"},
    {"replace(\"a\", \"b\")", "", "Not enough params"},
    {"iff(1, 2)", "", "Not enough params"},
    {"insert(\"a\", \"b\")", "", "Not enough params"},
    {"7 mod 0", "", "invalid formule"},
    {"sqrt(-1)", "", "invalid formule"},
    {"ln(0)", "", "invalid formule"},
    {"arcsin(2)", "", "invalid formule"},
    {"(-8)^0.5", "", "invalid formule"},
    {"0^(-1)", "", "invalid formule"},
    {"exp(1000)", "", "invalid formule"},
    {"10^400", "", "invalid formule"},
    {"ctg(0)", "", "invalid formule"},
    {"cth(0)", "", "invalid formule"},
    {"1e19 div 1", "", "invalid formule"},
    {"1,2", "", "invalid formule"}, // a comma outside a call
    {"\"a\" like \"[a\"", "", "invalid formule"},
    // Only the first error counts: "+" reads its left operand first, "|" and "/" their right.
    {"y + z", "", "Unknown variable:y"},
    {"y | z", "", "Unknown variable:z"},
    {"y / z", "", "Unknown variable:z"},
    {"1 + \"a\" + y", "", "Error, convert to numeric value:a"},
};
INSTANTIATE_TEST_SUITE_P(Failures, CalculFailure, ::testing::ValuesIn(Failures));

// ---------------------------------------------------------------------------------------
// State around an evaluation

bool hasLine(const TCalcul& calculator, const std::string& line) {
    const auto& lines = calculator.VariableLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool hasPendingLine(const TCalcul& calculator) {
    const auto& lines = calculator.VariableLines();
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return line.rfind("@@", 0) == 0; });
}

TEST(CalculState, CreatedWithFormulaZero) {
    TCalcul calculator;
    EXPECT_EQ(calculator.Formula(), "0");
    EXPECT_EQ(calculator.Evaluate(), "0");
    EXPECT_EQ(calculator.ResultType(), CalcType::Number);
}

TEST(CalculState, AssignmentsStoreTheirValues) {
    const struct {
        const char* formula;
        const char* result;
        const char* line;
    } cases[] = {
        {"a:=2; a*3", "6", "a=2"},
        {"a:=2; a:=a+1; a", "3", "a=3"},
        {"s:=\"x\" | \"y\"; s", "\"xy\"", "s=\"xy\""},
        {"a:=1", "1", "a=1"},
        {"a:=eval(\"a:=7; a*2\"); a", "\"14\"", "a=14"},
        {"'a b':=4; 'a b'/2", "2", "a b=4"},
    };
    for (const auto& c : cases) {
        TCalcul calculator;
        calculator.SetFormula(c.formula);
        EXPECT_EQ(calculator.Evaluate(), c.result)
            << c.formula << ": " << calculator.ErrorMessage();
        EXPECT_TRUE(hasLine(calculator, c.line)) << c.formula << "\n" << calculator.VariablesText();
        EXPECT_FALSE(hasPendingLine(calculator)) << c.formula;
    }
}

TEST(CalculState, AnAssignmentNotReachedLeavesNoPendingLine) {
    TCalcul calculator;
    calculator.SetFormula("a:=1; 1+");
    calculator.Evaluate();
    EXPECT_TRUE(calculator.ErrorFlag());
    EXPECT_FALSE(hasPendingLine(calculator));
    // ...so a later assignment to the same name is not shadowed by a stale one.
    calculator.SetFormula("a:=5; a");
    EXPECT_EQ(calculator.Evaluate(), "5");
}

TEST(CalculState, FreevarRemovesTheVariable) {
    TCalcul calculator;
    calculator.SetFormula("freevar(\"x\") + existvar(\"x\")");
    calculator.SetVariablesText("x=1\ny=2\n");
    EXPECT_EQ(calculator.Evaluate(), "1");
    EXPECT_FALSE(hasLine(calculator, "x=1"));
    EXPECT_TRUE(hasLine(calculator, "y=2"));
}

TEST(CalculState, AComparisonEvaluatesItsOperandsOnce) {
    // Text operands are compared as texts without evaluating them again, so freevar( runs
    // once and reports that the variable existed.
    TCalcul calculator;
    calculator.SetFormula("freevar(\"x\") | \"a\" > \"0b\"");
    calculator.SetVariablesText("x=1");
    EXPECT_EQ(calculator.Evaluate(), "1"); // "1a" > "0b"
}

TEST(CalculState, AFailureKeepsThePreviousResultAndASuccessClearsTheError) {
    TCalcul calculator;
    calculator.SetFormula("\"ok\"");
    EXPECT_EQ(calculator.Evaluate(), "\"ok\"");
    EXPECT_EQ(calculator.ResultType(), CalcType::Text);

    calculator.SetFormula("1+");
    EXPECT_EQ(calculator.Evaluate(), "\"ok\"");
    EXPECT_TRUE(calculator.ErrorFlag());
    EXPECT_EQ(calculator.ErrorMessage(), "? operand ");

    calculator.SetFormula("2");
    EXPECT_EQ(calculator.Evaluate(), "2");
    EXPECT_FALSE(calculator.ErrorFlag());
    EXPECT_EQ(calculator.ErrorMessage(), "");
    EXPECT_EQ(calculator.ResultType(), CalcType::Number);
    EXPECT_TRUE(calculator.ParamStack().empty());
}

TEST(CalculState, VariablesTextRoundTrip) {
    TCalcul calculator;
    calculator.SetVariablesText("x=1\r\ny=\"a\"\n\nz=3");
    EXPECT_EQ(calculator.VariableLines(), (std::vector<std::string>{"x=1", "y=\"a\"", "", "z=3"}));
    EXPECT_EQ(calculator.VariablesText(), "x=1\ny=\"a\"\n\nz=3\n");
    EXPECT_EQ(calculator.Value("Y"), "\"a\"");
    calculator.SetValue("y", "2");
    calculator.SetValue("w", "4");
    EXPECT_EQ(calculator.VariablesText(), "x=1\ny=2\n\nz=3\nw=4\n");
    EXPECT_EQ(calculator.Value("missing"), "");
}

TEST(CalculState, NumbersIgnoreTheProgramsDecimalSeparator) {
    rtl::NumberFormat saved = rtl::FormatSettings();
    rtl::FormatSettings().decimalSeparator = ',';
    rtl::FormatSettings().thousandSeparator = '.';
    TCalcul calculator;
    calculator.SetFormula("x*3+0.25");
    calculator.SetVariablesText("x=0.5");
    const std::string result = calculator.Evaluate();
    rtl::FormatSettings() = saved;
    EXPECT_EQ(result, "1.75");
}

} // namespace
} // namespace zrn::lang
