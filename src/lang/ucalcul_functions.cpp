#include "lang/ucalcul.h"

#include "lang/ucalcul_dates.h"
#include "lang/ucalcul_internal.h"
#include "lang/ucalcul_text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zrn::lang {

namespace calc {

namespace {

constexpr FunctionInfo Functions[] = {
    {"cos(", 11, 0},
    {"sin(", 12, 0},
    {"tg(", 13, 0},
    {"ctg(", 14, 0},
    {"abs(", 15, 0},
    {"sign(", 16, 0},
    {"sqrt(", 17, 0},
    {"ln(", 18, 0},
    {"exp(", 19, 0},
    {"arcsin(", 20, 0},
    {"arccos(", 21, 0},
    {"arctg(", 22, 0},
    {"arcctg(", 23, 0},
    {"sh(", 24, 0},
    {"ch(", 25, 0},
    {"th(", 26, 0},
    {"cth(", 27, 0},
    {"heaviside(", 28, 0},
    {"h(", 28, 0},
    {"existvar(", 29, 0},
    {"freevar(", 30, 0},
    {"lastday(", 32, 0},
    {"frac(", 33, 0},
    {"trunc(", 34, 0},
    {"length(", 35, 0},
    {"trimleft(", 38, 0},
    {"trimright(", 39, 0},
    {"trim(", 41, 0},
    {"eval(", 42, 0},
    {"char(", 43, 0},
    {"ascii(", 44, 0},
    {"upper(", 45, 0},
    {"lower(", 46, 0},
    {"not(", 47, 0},
    {"weekday(", 48, 0},
    {"month(", 49, 0},
    {"year(", 50, 0},
    {"day(", 51, 0},
    {"hour(", 52, 0},
    {"minute(", 53, 0},
    {"sec(", 54, 0},
    {"strtostamp(", 55, 0},
    {"stamptodatestr(", 56, 0},
    {"stamptotimestr(", 57, 0},
    {"stamptostr(", 58, 0},
    {"copy(", 60, 2},
    {"copyto(", 61, 2},
    {"pos(", 62, 2},
    {"delete(", 63, 2},
    {"replace(", 64, 3},
    {"maxval(", 65, 1},
    {"minval(", 66, 1},
    {"sumval(", 67, 1},
    {"avgval(", 68, 1},
    {"iff(", 69, 3},
    {"insert(", 70, 3},
    {"numbase(", 71, 2},
    {"basenum(", 72, 2},
    {"string(", 196, 0},
    {"numeric(", 197, 0},
    {"logic(", 198, 0},
};

bool sameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != b[i])
            return false;
    }
    return true;
}

} // namespace

const FunctionInfo* FindFunction(std::string_view name) {
    for (const auto& f : Functions)
        if (sameNameNoCase(name, f.name))
            return &f;
    return nullptr;
}

const FunctionInfo* FunctionByCode(int code) {
    for (const auto& f : Functions)
        if (f.code == code)
            return &f;
    return nullptr;
}

CalcType TypeOfOperation(int code) {
    switch (code) {
    case 38:
    case 39:
    case 41:
    case 43:
    case 45:
    case 46:
    case 56:
    case 57:
    case 58:
    case 60:
    case 61:
    case 64:
    case 69:
    case 70:
    case 71:
    case 196:
    case 202:
        return CalcType::Text;
    case 3:
    case 4:
    case 5:
    case 6:
    case 44:
    case 62:
    case 72:
    case 197:
    case 198:
    case 200:
    case 201:
    case 210:
    case 211:
        return CalcType::Number;
    default:
        break;
    }
    if ((code >= 10 && code <= 35) || (code >= 47 && code <= 55) || (code >= 65 && code <= 68) ||
        (code >= 220 && code <= 225))
        return CalcType::Number;
    return CalcType::None;
}

bool IsBinaryOperation(int code) {
    switch (code) {
    case ccPlus:
    case ccMinus:
    case ccMultiply:
    case ccDivide:
    case ccPower:
    case ccIntDiv:
    case ccMod:
    case ccConcat:
    case ccAnd:
    case ccOr:
    case ccEqual:
    case ccLess:
    case ccLessEqual:
    case ccGreater:
    case ccGreaterEqual:
    case ccNotEqual:
    case ccLike:
    case ccWildcard:
    case ccComma:
    case ccSequence:
        return true;
    default:
        return false;
    }
}

} // namespace calc

namespace {

const std::string InvalidFormule = "invalid formule";
const std::string Marker = "[!!!]";

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return std::string(s);
}

std::string trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

// A 1-based character position or count as an index into a text of size characters.
std::size_t clampIndex(std::int64_t value, std::size_t size) {
    if (value < 0)
        return 0;
    return static_cast<std::uint64_t>(value) > size ? size : static_cast<std::size_t>(value);
}

int clampBase(std::int64_t base) {
    return static_cast<int>(std::clamp<std::int64_t>(base, 2, 16));
}

int digitValue(char32_t c) {
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

} // namespace

std::string TCalcul::EvalFunction(Node* node) {
    if (calc::IsMultiArgument(node->code))
        return EvalMulti(node);
    const std::string argument = EvalNode(node->left);
    if (errorFlag_)
        return {};
    return EvalSingle(node, argument);
}

std::string TCalcul::EvalSingle(Node* node, const std::string& arg) {
    const int code = node->code;
    switch (code) {
    case 29: // existvar(
        return FindVariable(arg) >= 0 ? "1" : "0";
    case 30: { // freevar(
        const std::ptrdiff_t index = FindVariable(arg);
        if (index < 0)
            return "0";
        variables_.erase(variables_.begin() + index);
        return "1";
    }
    case 32: // lastday(
        return std::to_string(calc::LastDayOfMonth(double(ToInteger(arg))));
    case 35: // length(
        return std::to_string(calc::CharCount(arg));
    case 38: // trimleft(
        return trimLeft(arg);
    case 39: // trimright(
        return trimRight(arg);
    case 41: // trim(
        return trimLeft(trimRight(arg));
    case 42: { // eval(
        std::string formula = trimLeft(trimRight(arg));
        if (formula.size() >= 2 && formula.front() == '[' && formula.back() == ']')
            formula = formula.substr(1, formula.size() - 2);
        std::string result = EvalNested(formula, node->type);
        // The inner result comes back as a value: a text without its enclosing quotes.
        if (node->type == CalcType::Text && result.size() >= 2 && result.front() == '"' &&
            result.back() == '"')
            result = result.substr(1, result.size() - 2);
        return result;
    }
    case 43: // char(
        return calc::CodeChar(static_cast<int>(ToInteger(arg) & 0xFF));
    case 44: { // ascii(
        if (arg.empty())
            return {};
        const std::u32string chars = calc::DecodeChars(arg);
        return std::to_string(calc::CharCode(chars[0]));
    }
    case 45: // upper(
        return calc::UpperText(arg);
    case 46: // lower(
        return calc::LowerText(arg);
    case 196: // string(
        return arg;
    case 197: { // numeric(
        std::string out;
        for (char c : arg)
            if (c != ' ')
                out += c == ',' ? '.' : c;
        return out;
    }
    case 198: // logic(
        return ToInteger(arg) >= 1 ? "1" : "0";
    case 48:
    case 49:
    case 50:
    case 51:
    case 52:
    case 53:
    case 54:
    case 55: {
        const double stamp = calc::DateTextToStamp(arg);
        if (code == 55)
            return FormatNumber(stamp);
        const calc::DateParts p = calc::DecodeStamp(stamp);
        const std::int64_t parts[] = {p.weekday, p.month,  p.year,  p.day,
                                      p.hour,    p.minute, p.second};
        return std::to_string(parts[code - 48]);
    }
    default:
        break;
    }

    const double x = ToNumber(arg);
    if (errorFlag_)
        return {};
    switch (code) {
    case 11:
        return FormatNumber(std::cos(x));
    case 12:
        return FormatNumber(std::sin(x));
    case 13:
        return FormatNumber(std::tan(x));
    // The cotangent; at its poles the division fails as an invalid operation.
    case 14:
        return FormatNumber(std::cos(x) / std::sin(x));
    case 15:
        return FormatNumber(std::fabs(x));
    case 16:
        return x < -1e-7 ? "-1" : x > 1e-8 ? "1" : "0";
    case 17:
        return FormatNumber(std::sqrt(x));
    case 18:
        return FormatNumber(std::log(x));
    case 19:
        return FormatNumber(std::exp(x));
    case 20:
        return FormatNumber(std::asin(x));
    case 21:
        return FormatNumber(std::acos(x));
    case 22:
        return FormatNumber(std::atan(x));
    case 23:
        return FormatNumber(std::numbers::pi / 2 - std::atan(x));
    // The library's hyperbolic functions: the same values as the exponential forms, without
    // their overflow for large arguments.
    case 24:
        return FormatNumber(std::sinh(x));
    case 25:
        return FormatNumber(std::cosh(x));
    case 26:
        return FormatNumber(std::tanh(x));
    case 27:
        return FormatNumber(1 / std::tanh(x));
    case 28:
        return x >= 0 ? "1" : "0";
    case 33:
        return FormatNumber(x - std::trunc(x));
    case 34:
        return FormatNumber(std::trunc(x));
    case 47:
        return x >= 1 ? "0" : "1";
    case 56:
        return calc::StampToDateText(x);
    case 57:
        return calc::StampToTimeText(x);
    case 58:
        return calc::StampToText(x);
    default:
        SetError("Internal error oper code " + std::to_string(code));
        return {};
    }
}

// The first argument is the value of the argument expression; the commas in it have put the
// others on the parameter stack, under the function's code and a marker.
std::string TCalcul::EvalMulti(Node* node) {
    paramStack_.push_back(std::to_string(node->code));
    paramStack_.push_back(Marker);
    std::string first = EvalNode(node->left);
    if (errorFlag_)
        return {};
    if (paramStack_.size() < 2) {
        SetError(InvalidFormule);
        return {};
    }
    paramStack_.insert(paramStack_.end() - 2, std::move(first));
    const std::string& codeText = paramStack_[paramStack_.size() - 2];
    const calc::FunctionInfo* function = nullptr;
    for (int code = 60; code <= 72 && !function; ++code)
        if (codeText == std::to_string(code))
            function = calc::FunctionByCode(code);
    if (!function || paramStack_.back() != Marker) {
        SetError("Internal error, function with params");
        return {};
    }
    paramStack_.resize(paramStack_.size() - 2);
    // Every argument of this call comes off the stack, down to the marker of an enclosing
    // call; arguments beyond those the function uses are ignored.
    std::vector<std::string> args;
    while (!paramStack_.empty() && paramStack_.back() != Marker) {
        args.push_back(std::move(paramStack_.back()));
        paramStack_.pop_back();
    }
    if (calc::IsAggregate(function->code) && args.empty()) {
        SetError("Error, not enough params");
        return {};
    }
    if (args.size() < static_cast<std::size_t>(function->minArgs)) {
        SetError("Not enough params");
        return {};
    }
    return EvalWithArgs(function->code, args);
}

std::string TCalcul::EvalWithArgs(int code, const std::vector<std::string>& args) {
    const auto present = [&](std::size_t i) { return i < args.size(); };
    switch (code) {
    case 60:   // copy(
    case 61:   // copyto(
    case 63: { // delete(
        const std::u32string s = calc::DecodeChars(args[0]);
        const std::int64_t from = ToInteger(args[1]);
        const std::int64_t last = present(2) ? ToInteger(args[2]) : std::int64_t(s.size());
        if (errorFlag_)
            return {};
        if (code == 63) {
            if (from < 1 || from > std::int64_t(s.size()) || last < 1)
                return args[0];
            std::u32string rest = s;
            rest.erase(std::size_t(from - 1), clampIndex(last, s.size()));
            return calc::EncodeChars(rest);
        }
        const std::int64_t start = std::max<std::int64_t>(from, 1);
        // copyto( gives the end position, copy( the count.
        const std::int64_t count = code == 61 ? (last >= start ? last - start + 1 : 0) : last;
        if (start > std::int64_t(s.size()) || count < 1)
            return {};
        return calc::EncodeChars(s.substr(std::size_t(start - 1), clampIndex(count, s.size())));
    }
    case 62: { // pos(
        const std::u32string t = calc::DecodeChars(args[0]);
        if (t.empty())
            return "0";
        const std::size_t at = calc::TextFinder(t).Find(calc::DecodeChars(args[1]), 0);
        return at == std::u32string::npos ? "0" : std::to_string(at + 1);
    }
    case 64:
        return Replace(args);
    case 65:
    case 66:
    case 67:
    case 68: {
        double result = ToNumber(args[0]);
        for (std::size_t i = 1; i < args.size() && !errorFlag_; ++i) {
            const double x = ToNumber(args[i]);
            if (code == 65)
                result = std::max(result, x);
            else if (code == 66)
                result = std::min(result, x);
            else
                result += x;
        }
        if (errorFlag_)
            return {};
        return FormatNumber(code == 68 ? result / double(args.size()) : result);
    }
    case 69: // iff(
        return ToInteger(args[0]) == 1 ? args[1] : args[2];
    case 70: { // insert(
        if (args[0].empty())
            return args[1];
        std::u32string s = calc::DecodeChars(args[0]);
        const std::int64_t at =
            std::clamp<std::int64_t>(ToInteger(args[2]), 1, std::int64_t(s.size()) + 1);
        if (errorFlag_ || !CheckLength(args[0].size() + args[1].size()))
            return {};
        s.insert(std::size_t(at - 1), calc::DecodeChars(args[1]));
        return calc::EncodeChars(s);
    }
    case 71: { // numbase(
        std::int64_t n = ToInteger(args[0]);
        const int base = clampBase(ToInteger(args[1]));
        // Only values that fit in 32 digits are written; anything else (and below 1) is empty.
        std::string digits;
        while (n > 0 && digits.size() <= 32) {
            digits.insert(digits.begin(), "0123456789ABCDEF"[n % base]);
            n /= base;
        }
        return digits.size() > 32 ? std::string() : digits;
    }
    case 72: { // basenum(
        const int base = clampBase(ToInteger(args[1]));
        double value = 0;
        for (char32_t c : calc::DecodeChars(args[0])) {
            const int digit = digitValue(c);
            if (digit < 0 || digit >= base)
                return {};
            value = value * base + digit;
        }
        if (errorFlag_ || value < 1)
            return {};
        return FormatNumber(value);
    }
    default:
        SetError("Internal error, function with params");
        return {};
    }
}

std::string TCalcul::Replace(const std::vector<std::string>& args) {
    const bool all = args.size() < 4 || ToInteger(args[3]) == 1;
    const bool noCase = args.size() < 5 || ToInteger(args[4]) == 1;
    if (errorFlag_)
        return {};
    const std::u32string s = calc::DecodeChars(args[0]);
    std::u32string old = calc::DecodeChars(args[1]);
    const std::u32string replacement = calc::DecodeChars(args[2]);
    if (old.empty())
        return args[0];
    std::u32string searched = s;
    if (noCase) {
        for (char32_t& c : searched)
            c = calc::LowerChar(c);
        for (char32_t& c : old)
            c = calc::LowerChar(c);
    }
    const calc::TextFinder finder(old);
    std::u32string out;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = finder.Find(searched, from);
        if (at == std::u32string::npos)
            break;
        out.append(s, from, at - from);
        out += replacement;
        from = at + old.size();
        // Stop as soon as the result grows past the bound on texts.
        if (!CheckLength(out.size()) || !Charge(replacement.size() + 1))
            return {};
        if (!all)
            break;
    }
    out.append(s, from, std::u32string::npos);
    std::string result = calc::EncodeChars(out);
    if (!CheckLength(result.size()))
        return {};
    return result;
}

} // namespace zrn::lang
