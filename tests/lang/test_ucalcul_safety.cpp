// The evaluator must be safe on any formula: no crash, no hang, bounded recursion and memory,
// and a message for every failure.

#include "lang/ucalcul.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace zrn::lang {
namespace {

using Clock = std::chrono::steady_clock;

std::string repeat(const std::string& part, std::size_t times) {
    std::string out;
    out.reserve(part.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += part;
    return out;
}

struct Outcome {
    std::string result;
    bool failed;
    std::string message;
    double seconds;
};

Outcome run(const std::string& formula, const std::vector<std::string>& variables = {}) {
    TCalcul calculator;
    calculator.SetFormula(formula);
    calculator.SetVariableLines(variables);
    const auto start = Clock::now();
    std::string result = calculator.Evaluate();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return {std::move(result), calculator.ErrorFlag(), calculator.ErrorMessage(), seconds};
}

TEST(CalculSafety, NestingIsBoundedAndModerateNestingWorks) {
    EXPECT_EQ(run(repeat("(", 100) + "1" + repeat(")", 100)).result, "1");
    EXPECT_EQ(run(repeat("abs(", 100) + "-1" + repeat(")", 100)).result, "1");
    EXPECT_EQ(run(repeat("(1+", 100) + "1" + repeat(")", 100)).result, "101");

    const std::string tooDeep[] = {
        repeat("(", 100000) + "1" + repeat(")", 100000),
        repeat("abs(", 100000) + "1" + repeat(")", 100000),
        repeat("(1+", 100000) + "1" + repeat(")", 100000),
        repeat("copy(", 50000) + "\"a\"" + repeat(",1)", 50000),
        repeat("-(", 100000) + "1" + repeat(")", 100000),
    };
    for (const auto& formula : tooDeep) {
        const Outcome r = run(formula);
        EXPECT_TRUE(r.failed) << formula.substr(0, 20);
        EXPECT_EQ(r.message, "invalid formule") << formula.substr(0, 20);
    }
}

TEST(CalculSafety, LongChainsOfOperatorsNeedNoDeepRecursion) {
    EXPECT_EQ(run("1" + repeat("+1", 49999)).result, "50000");
    EXPECT_EQ(run("2" + repeat("*1", 49999)).result, "2");
    EXPECT_EQ(run("64" + repeat("/2", 6) + repeat("/1", 49990)).result, "1");
    EXPECT_EQ(run("1" + repeat("|2", 49999)).result.size(), 50000u + 2u);
    EXPECT_EQ(run("2" + repeat("^1", 49999)).result, "2");
}

TEST(CalculSafety, HugeFormulasFailWithinBounds) {
    const Outcome r = run(repeat("1+", 2000000) + "1");
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.message, "invalid formule");
    EXPECT_LT(r.seconds, 5.0);
}

TEST(CalculSafety, NestedEvaluationsAreBounded) {
    // A variable evaluating itself: the innermost evaluation fails, giving an empty text.
    const Outcome self = run("eval(x)", {"x=\"eval(x)\""});
    EXPECT_FALSE(self.failed) << self.message;
    EXPECT_EQ(self.result, "");

    // Each level evaluates itself twice: the work bound stops it.
    const Outcome doubling = run("iff(1, eval(x), eval(x))", {"x=\"iff(1, eval(x), eval(x))\""});
    EXPECT_TRUE(doubling.failed);
    EXPECT_EQ(doubling.message, "invalid formule");
    EXPECT_LT(doubling.seconds, 5.0);

    // An assignment whose value evaluates the same assignment again.
    const Outcome assigning = run("eval(x)", {"x=\"a:=eval(x); a\""});
    EXPECT_FALSE(assigning.failed) << assigning.message;
    EXPECT_EQ(assigning.result, "");
}

TEST(CalculSafety, TextsAreBounded) {
    std::string doubling = "v0:=\"ab\"";
    for (int i = 0; i < 40; ++i)
        doubling +=
            "; v" + std::to_string(i + 1) + ":=v" + std::to_string(i) + "|v" + std::to_string(i);
    doubling += "; length(v40)";
    const Outcome concat = run(doubling);
    EXPECT_TRUE(concat.failed);
    EXPECT_EQ(concat.message, "invalid formule");

    const std::string thousand = "s=\"" + std::string(1000, 'a') + "\"";
    const Outcome growing =
        run("replace(replace(replace(s, \"a\", s), \"a\", s), \"a\", s)", {thousand});
    EXPECT_TRUE(growing.failed);
    EXPECT_EQ(growing.message, "invalid formule");

    // Texts up to the bound are fine.
    const std::string big = "s=\"" + std::string(500000, 'a') + "\"";
    EXPECT_EQ(run("length(s | s)", {big}).result, "1000000");
    EXPECT_EQ(run("pos(\"b\", s)", {big}).result, "0");
}

TEST(CalculSafety, PatternMatchingIsBounded) {
    const std::string text = "s=\"" + std::string(200000, 'a') + "\"";
    const Outcome quick = run("s like \"%a%a%a%a%a%a%b\"", {text});
    EXPECT_EQ(quick.result, "\"0\"");
    // Every position of the text matches most of the pattern before failing: the work bound
    // ends it.
    const std::string pattern = "p=\"%" + std::string(100000, 'a') + "b\"";
    const Outcome slow = run("s like p", {text, pattern});
    EXPECT_TRUE(slow.failed);
    EXPECT_EQ(slow.message, "invalid formule");
    EXPECT_LT(slow.seconds, 5.0);
}

// Formulas made from the evaluator's own vocabulary, deep, long and broken, with a fixed seed.
class FormulaGenerator {
public:
    explicit FormulaGenerator(unsigned seed) : random_(seed) {}

    std::string Formula() {
        switch (pick(10)) {
        case 0:
            return noise(pick(200));
        case 1: { // deep nesting
            const std::size_t depth = pick(3000);
            std::string open;
            for (std::size_t i = 0; i < depth; ++i)
                open += pick(2) ? "(" : std::string(oneOf(Functions));
            return open + expression(2) + repeat(")", pick(2) ? depth : pick(depth + 1));
        }
        case 2: { // a long chain
            std::string chain = expression(1);
            for (std::size_t i = pick(20000); i > 0; --i)
                chain += std::string(oneOf(Operators)) + oneOf(Leaves);
            return chain;
        }
        case 3: // a long text
            return "length(\"" + std::string(pick(100000), 'a') + "\") | " + expression(3);
        default:
            return expression(6);
        }
    }

    std::vector<std::string> Variables() {
        static const std::vector<std::string> pool = {
            "x=2",
            "y=-1.5",
            "s=\"abc\"",
            "d=\"2024/05/17 10:30\"",
            "e=\"eval(e)\"",
            "f=\"[iff(1, eval(f), eval(f))]\"",
            "g=\"g:=g|g; g\"",
            "p=\"%a%a%a%b\"",
            "@@x=[1+]",
            "'q r'=1",
        };
        std::vector<std::string> lines;
        for (const auto& line : pool)
            if (pick(3))
                lines.push_back(line);
        if (pick(4) == 0)
            lines.push_back(noise(pick(20)));
        return lines;
    }

private:
    static constexpr const char* Leaves[] = {"0",
                                             "1",
                                             "2.5",
                                             "-3",
                                             "1e3",
                                             "1e400",
                                             "x",
                                             "y",
                                             "s",
                                             "d",
                                             "e",
                                             "f",
                                             "g",
                                             "p",
                                             "'q r'",
                                             "date",
                                             "now",
                                             "\"abc\"",
                                             "\"\"",
                                             "\"a\"\"b\"",
                                             "\"12:-5\"",
                                             "\"[a\"",
                                             "\"%\"",
                                             "z",
                                             "99999999999999999999",
                                             "\"2024/13/45 25:61:61.9999\""};
    static constexpr const char* Operators[] = {
        "+", "-", "*",  "/", "^",  " div ", " mod ",  "|",          "||", " and ", " or ",
        "=", "<", "<=", ">", ">=", "<>",    " like ", " wildcard ", ",",  ";"};
    static constexpr const char* Functions[] = {"sin(",
                                                "cos(",
                                                "tg(",
                                                "ctg(",
                                                "abs(",
                                                "sign(",
                                                "sqrt(",
                                                "ln(",
                                                "exp(",
                                                "arcsin(",
                                                "arccos(",
                                                "arctg(",
                                                "arcctg(",
                                                "sh(",
                                                "ch(",
                                                "th(",
                                                "cth(",
                                                "h(",
                                                "existvar(",
                                                "freevar(",
                                                "lastday(",
                                                "frac(",
                                                "trunc(",
                                                "length(",
                                                "trimleft(",
                                                "trimright(",
                                                "trim(",
                                                "eval(",
                                                "char(",
                                                "ascii(",
                                                "upper(",
                                                "lower(",
                                                "not(",
                                                "weekday(",
                                                "month(",
                                                "year(",
                                                "day(",
                                                "hour(",
                                                "minute(",
                                                "sec(",
                                                "strtostamp(",
                                                "stamptodatestr(",
                                                "stamptotimestr(",
                                                "stamptostr(",
                                                "copy(",
                                                "copyto(",
                                                "pos(",
                                                "delete(",
                                                "replace(",
                                                "maxval(",
                                                "minval(",
                                                "sumval(",
                                                "avgval(",
                                                "iff(",
                                                "insert(",
                                                "numbase(",
                                                "basenum(",
                                                "string(",
                                                "numeric(",
                                                "logic(",
                                                "nofunc("};
    static constexpr const char* Extras[] = {"(",  ")",  ":=", "a:=", "@@", "\"", "'", "[!!!]",
                                             "1.", "1e", "#",  "  ",  "\t", "\n", "-"};

    std::size_t pick(std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    template <std::size_t N> const char* oneOf(const char* const (&items)[N]) {
        return items[pick(N)];
    }

    std::string expression(int depth) {
        if (depth <= 0 || pick(4) == 0)
            return oneOf(Leaves);
        switch (pick(5)) {
        case 0:
            return "(" + expression(depth - 1) + ")";
        case 1: {
            std::string call = oneOf(Functions) + expression(depth - 1);
            for (std::size_t i = pick(7); i > 0; --i)
                call += ", " + expression(depth - 1);
            return call + ")";
        }
        case 2:
            return std::string(pick(2) ? "-" : "") + expression(depth - 1);
        case 3:
            return "a:=" + expression(depth - 1) + "; " + expression(depth - 1);
        default:
            return expression(depth - 1) + oneOf(Operators) + expression(depth - 1);
        }
    }

    std::string noise(std::size_t length) {
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            switch (pick(5)) {
            case 0:
                out += static_cast<char>(pick(256));
                break;
            case 1:
                out += oneOf(Extras);
                break;
            case 2:
                out += oneOf(Functions);
                break;
            case 3:
                out += oneOf(Operators);
                break;
            default:
                out += oneOf(Leaves);
            }
        }
        return out;
    }

    std::mt19937 random_;
};

TEST(CalculSafety, RandomFormulasNeverCrashAndAlwaysExplainFailures) {
    FormulaGenerator generator(20240517);
    const auto start = Clock::now();
    int cases = 0;
    double slowest = 0;
    std::string slowestFormula;
    while (std::chrono::duration<double>(Clock::now() - start).count() < 1.0 || cases < 200) {
        const std::string formula = generator.Formula();
        const std::vector<std::string> variables = generator.Variables();
        const Outcome r = run(formula, variables);
        ++cases;
        ASSERT_TRUE(!r.failed || !r.message.empty())
            << "case " << cases << ": " << formula.substr(0, 200);
        if (r.seconds > slowest) {
            slowest = r.seconds;
            slowestFormula = formula.substr(0, 200);
        }
    }
    EXPECT_LT(slowest, 2.0) << slowestFormula;
    RecordProperty("cases", cases);
}

} // namespace
} // namespace zrn::lang
