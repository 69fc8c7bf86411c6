#include "lang/ucalcul.h"

#include "lang/ucalcul_dates.h"
#include "lang/ucalcul_internal.h"
#include "lang/ucalcul_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <locale>

namespace zrn::lang {

using calc::Limits;

namespace {

const std::string InvalidFormule = "invalid formule";
constexpr std::string_view PendingPrefix = "@@";

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isNameChar(char c) {
    return isLetter(c) || isDigit(c) || c == '_' || c == '.';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

// The name of a variable line: the text before its first "="; lines without "=" have none.
bool lineName(std::string_view line, std::string_view& name) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = line.substr(0, eq);
    return true;
}

bool isPending(std::string_view line) {
    return line.substr(0, 2) == PendingPrefix;
}

bool enclosedInQuotes(std::string_view s) {
    return s.size() >= 2 && s.front() == '"' && s.back() == '"';
}

// A number as the evaluator writes and reads them: spaces at both ends ignored, "," read as
// ".", an optional sign, digits with an optional point, an optional exponent.
bool tryNumber(std::string_view text, double& value) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string s(text);
    for (char& c : s)
        if (c == ',')
            c = '.';
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (i >= s.size() || !isDigit(s[i]))
            return false;
        while (i < s.size() && isDigit(s[i]))
            ++i;
    }
    if (i != s.size())
        return false;
    const char* first = s.data() + mantissa;
    double magnitude = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), magnitude);
    if (ec != std::errc() || end != s.data() + s.size())
        return false;
    value = mantissa > 0 && s[0] == '-' ? -magnitude : magnitude;
    return true;
}

// Counts one level of parsing or evaluation for as long as it lives.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

} // namespace

TCalcul::TCalcul() : ownLimits_(std::make_unique<CalcLimits>()), limits_(ownLimits_.get()) {}

TCalcul::TCalcul(CalcLimits& shared) : limits_(&shared) {}

TCalcul::~TCalcul() {
    FreeTree();
}

std::string TCalcul::VariablesText() const {
    std::string text;
    for (const auto& line : variables_)
        text += line + "\n";
    return text;
}

void TCalcul::SetVariablesText(std::string_view text) {
    variables_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        variables_.emplace_back(line);
        start = end + 1;
    }
}

std::string TCalcul::Value(std::string_view name) const {
    for (const auto& line : variables_) {
        std::string_view lineNameText;
        if (lineName(line, lineNameText) && sameName(lineNameText, name))
            return line.substr(name.size() + 1);
    }
    return {};
}

void TCalcul::SetValue(std::string_view name, std::string_view value) {
    std::string line = std::string(name) + "=" + std::string(value);
    for (auto& existing : variables_) {
        std::string_view lineNameText;
        if (lineName(existing, lineNameText) && sameName(lineNameText, name)) {
            existing = std::move(line);
            return;
        }
    }
    variables_.push_back(std::move(line));
}

std::string TCalcul::Evaluate() {
    if (limits_ == ownLimits_.get())
        *limits_ = CalcLimits{};
    paramStack_.clear();
    errorFlag_ = false;
    errorMessage_.clear();
    resultType_ = formula_.find('"') != std::string::npos ? CalcType::Text : CalcType::Number;
    std::string formula = formula_;
    while (!formula.empty() &&
           (static_cast<unsigned char>(formula.back()) <= ' ' || formula.back() == ';'))
        formula.pop_back();
    try {
        text_ = PrepareArguments(formula);
        Node* root = Parse();
        if (root) {
            root->type = resultType_;
            std::string value = EvalNode(root);
            if (!errorFlag_) {
                if (root->type != CalcType::None)
                    resultType_ = root->type;
                if (resultType_ == CalcType::Text && !enclosedInQuotes(value))
                    value = "\"" + value + "\"";
                result_ = std::move(value);
            }
        }
    } catch (const std::exception&) {
        SetError(InvalidFormule);
    }
    paramStack_.clear();
    DropPendingAssignments();
    FreeTree();
    text_.clear();
    return result_;
}

// Wraps every argument of a function call in parentheses, so that an argument is read as a
// whole before the comma, which binds tighter than "+" and "-".
std::string TCalcul::PrepareArguments(const std::string& formula) const {
    if (formula.find(',') == std::string::npos)
        return formula;
    std::string out;
    out.reserve(formula.size() + formula.size() / 2);
    std::vector<bool> calls; // per open parenthesis: does it open a function call?
    const std::size_t n = formula.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = formula[i];
        if (c == '"' || c == '\'') {
            std::size_t end = formula.find(c, i + 1);
            end = end == std::string::npos ? n : end + 1;
            out.append(formula, i, end - i);
            i = end;
        } else if (isLetter(c) || c == '_') {
            const std::size_t start = i;
            while (i < n && isNameChar(formula[i]))
                ++i;
            out.append(formula, start, i - start);
            if (i < n && formula[i] == '(') {
                out += "((";
                calls.push_back(true);
                ++i;
            }
        } else if (isDigit(c)) {
            // A number as the scanner reads it, so that its exponent is not taken for a name.
            const std::size_t start = i;
            while (i < n && isDigit(formula[i]))
                ++i;
            if (i + 1 < n && formula[i] == '.' && isDigit(formula[i + 1])) {
                i += 1;
                while (i < n && isDigit(formula[i]))
                    ++i;
            }
            if (i < n && (formula[i] == 'e' || formula[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (formula[j] == '+' || formula[j] == '-'))
                    ++j;
                if (j < n && isDigit(formula[j])) {
                    i = j;
                    while (i < n && isDigit(formula[i]))
                        ++i;
                }
            }
            out.append(formula, start, i - start);
        } else if (c == '(') {
            calls.push_back(false);
            out += c;
            ++i;
        } else if (c == ')') {
            if (!calls.empty()) {
                out += calls.back() ? "))" : ")";
                calls.pop_back();
            } else {
                out += c;
            }
            ++i;
        } else if (c == ',' && !calls.empty() && calls.back()) {
            out += "),(";
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

TCalcul::Node* TCalcul::Parse() {
    FreeTree();
    errorFlag_ = false;
    errorMessage_.clear();
    SetDateVariables();
    pos_ = 0;
    token_ = ccEnd;
    prevToken_ = ccEnd;
    tokenText_.clear();
    depth_ = 0;
    Node* root = ParseExpression();
    if (depth_ != 0)
        SetError(InvalidFormule);
    if (errorFlag_) {
        FreeTree();
        return nullptr;
    }
    return root;
}

void TCalcul::SetDateVariables() {
    // One moment for the whole evaluation, nested evaluations included.
    if (!limits_->haveNow) {
        limits_->now = calc::NowStamp();
        limits_->haveNow = true;
    }
    const double now = limits_->now;
    PutVariable("date", "\"" + calc::StampToDateText(now) + "\"");
    PutVariable("now", "\"" + calc::StampToText(now) + "\"");
    PutVariable("time", "\"" + calc::StampToTimeText(now) + "\"");
}

void TCalcul::NextToken() {
    prevToken_ = token_;
    token_ = ccEnd;
    tokenText_.clear();
    if (!Charge(8))
        return;
    while (pos_ < text_.size() &&
           (static_cast<unsigned char>(text_[pos_]) <= 13 || text_[pos_] == ' '))
        ++pos_;
    if (pos_ >= text_.size())
        return;
    const char c = text_[pos_];
    const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (c == '"') {
        ReadText();
    } else if (isLetter(c) || c == '_' || c == '\'') {
        ReadName();
    } else if (isDigit(c)) {
        ReadNumber();
    } else if (c == '-' && isDigit(next) && (prevToken_ == ccEnd || prevToken_ == ccOpen)) {
        tokenText_ = "-";
        ++pos_;
        ReadNumber();
    } else {
        std::size_t length = 1;
        switch (c) {
        case '(':
            token_ = ccOpen;
            break;
        case ')':
            token_ = ccClose;
            break;
        case '+':
            token_ = ccPlus;
            break;
        case '-':
            token_ = ccMinus;
            break;
        case '*':
            token_ = ccMultiply;
            break;
        case '/':
            token_ = ccDivide;
            break;
        case ',':
            token_ = ccComma;
            break;
        case ';':
            token_ = ccSequence;
            break;
        case '=':
            token_ = ccEqual;
            break;
        case '^':
            token_ = ccPower;
            break;
        case '<':
            token_ = next == '=' ? ccLessEqual : next == '>' ? ccNotEqual : ccLess;
            length = token_ == ccLess ? 1 : 2;
            break;
        case '>':
            token_ = next == '=' ? ccGreaterEqual : ccGreater;
            length = token_ == ccGreater ? 1 : 2;
            break;
        case '|':
            token_ = ccConcat;
            length = next == '|' ? 2 : 1;
            break;
        default:
            // A character that starts no token ends the formula here.
            return;
        }
        pos_ += length;
    }
}

void TCalcul::ReadText() {
    ++pos_;
    while (true) {
        const std::size_t quote = text_.find('"', pos_);
        if (quote == std::string::npos) {
            pos_ = text_.size();
            SetError("String value end error");
            return;
        }
        tokenText_.append(text_, pos_, quote - pos_);
        pos_ = quote + 1;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            tokenText_ += '"';
            ++pos_;
        } else {
            break;
        }
    }
    token_ = ccText;
}

void TCalcul::ReadName() {
    // A name between apostrophes may hold any character but an apostrophe; it always names a
    // variable. Its token text keeps the opening apostrophe to mark it as such.
    if (text_[pos_] == '\'') {
        const std::size_t close = text_.find('\'', pos_ + 1);
        if (close == std::string::npos) {
            pos_ = text_.size();
            SetError(InvalidFormule);
            return;
        }
        const std::string name = text_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        if (text_.compare(pos_, 2, ":=") == 0) {
            ReadAssignment(name);
            return;
        }
        tokenText_ = "'" + name;
        token_ = ccName;
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isNameChar(text_[pos_]))
        ++pos_;
    const std::string name = text_.substr(start, pos_ - start);
    if (pos_ < text_.size() && text_[pos_] == '(') {
        tokenText_ = name + "(";
        const calc::FunctionInfo* function = calc::FindFunction(tokenText_);
        if (!function) {
            SetError("Invalid function " + tokenText_ + "...)");
            return;
        }
        token_ = function->code;
        return;
    }
    if (text_.compare(pos_, 2, ":=") == 0) {
        ReadAssignment(name);
        return;
    }
    tokenText_ = name;
    token_ = ccName;
    if (name.size() > 1) {
        static const std::pair<std::string_view, int> words[] = {
            {"and", ccAnd}, {"div", ccIntDiv}, {"like", ccLike},
            {"mod", ccMod}, {"or", ccOr},      {"wildcard", ccWildcard}};
        for (const auto& [word, code] : words)
            if (sameName(name, word))
                token_ = code;
    }
}

// name:=expression up to the next semicolon outside texts becomes a pending line
// "@@name=[expression]"; the name's first use evaluates it and stores the value.
void TCalcul::ReadAssignment(const std::string& name) {
    pos_ += 2;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ';') {
        const char c = text_[pos_];
        if (c == '"' || c == '\'') {
            const std::size_t close = text_.find(c, pos_ + 1);
            pos_ = close == std::string::npos ? text_.size() : close + 1;
        } else {
            ++pos_;
        }
    }
    std::string line =
        std::string(PendingPrefix) + name + "=[" + text_.substr(start, pos_ - start) + "]";
    if (!Charge(line.size()))
        return;
    variables_.push_back(std::move(line));
    tokenText_ = std::string(PendingPrefix) + name;
    token_ = ccName;
}

void TCalcul::ReadNumber() {
    const std::size_t start = pos_;
    bool wrong = false;
    while (pos_ < text_.size() && isDigit(text_[pos_]))
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
        ++pos_;
        wrong = pos_ >= text_.size() || !isDigit(text_[pos_]);
        while (pos_ < text_.size() && isDigit(text_[pos_]))
            ++pos_;
    }
    if (!wrong && pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        ++pos_;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
            ++pos_;
        wrong = pos_ >= text_.size() || !isDigit(text_[pos_]);
        while (pos_ < text_.size() && isDigit(text_[pos_]))
            ++pos_;
    }
    if (wrong) {
        SetError("Wrong number in " + formula_);
        return;
    }
    tokenText_.append(text_, start, pos_ - start);
    token_ = ccNumber;
}

TCalcul::Node* TCalcul::ParseExpression() {
    Node* node = ParseTerm();
    while (!errorFlag_) {
        if (token_ == ccPlus || token_ == ccMinus) {
            const int code = token_;
            Node* right = ParseTerm();
            node = NewNode(code, {}, node, right);
        } else if (token_ == ccEnd) {
            break;
        } else if (token_ == ccClose) {
            --depth_;
            break;
        } else {
            // Also two operands in a row ("2 x", "\"a\" \"b\""): the second is no operator.
            SetError("Invalid expression");
        }
    }
    return node;
}

// Every operator but "+", "-" and "^" shares this one level, grouping from the left.
TCalcul::Node* TCalcul::ParseTerm() {
    NextToken();
    bool negative = false;
    if (prevToken_ == ccEnd || prevToken_ == ccOpen || prevToken_ == ccPlus ||
        prevToken_ == ccMinus) {
        if (token_ == ccMinus) {
            negative = true;
            NextToken();
        } else if (token_ == ccPlus) {
            NextToken();
        }
    }
    Node* node = ParseFactor();
    while (!errorFlag_ &&
           (token_ == ccMultiply || token_ == ccDivide || (token_ >= 200 && token_ <= 255))) {
        const int code = token_;
        NextToken();
        Node* right = ParseFactor();
        node = NewNode(code, {}, node, right);
    }
    if (negative)
        node = NewNode(ccNegate, {}, node);
    return node;
}

TCalcul::Node* TCalcul::ParseFactor() {
    if (errorFlag_)
        return nullptr;
    Node* node = nullptr;
    if (token_ == ccOpen || calc::FunctionByCode(token_)) {
        if (limits_->depth >= Limits::MaxDepth) {
            SetError(InvalidFormule);
            return nullptr;
        }
        DepthGuard guard(limits_->depth);
        if (token_ == ccOpen) {
            ++depth_;
            node = ParseExpression();
        } else {
            const int code = token_;
            std::string name = tokenText_;
            NextToken();
            if (token_ != ccOpen) {
                SetError(InvalidFormule);
                return nullptr;
            }
            ++depth_;
            Node* argument = ParseExpression();
            node = NewNode(code, std::move(name), argument);
        }
        if (!errorFlag_ && token_ == ccClose)
            NextToken();
    } else if (token_ == ccNumber || token_ == ccText || token_ == ccName) {
        node = NewNode(token_, tokenText_);
        NextToken();
    } else {
        SetError("? operand ");
        return nullptr;
    }
    while (!errorFlag_ && token_ == ccPower) {
        NextToken();
        const bool enclosed = token_ == ccOpen;
        if (enclosed)
            NextToken();
        if (token_ != ccNumber && token_ != ccText && token_ != ccName) {
            SetError("Invalid values");
            break;
        }
        Node* exponent = NewNode(token_, tokenText_);
        NextToken();
        if (enclosed) {
            if (token_ != ccClose) {
                SetError(InvalidFormule);
                break;
            }
            NextToken();
        }
        node = NewNode(ccPower, {}, node, exponent);
    }
    return node;
}

TCalcul::Node* TCalcul::NewNode(int code, std::string text, Node* left, Node* right) {
    if (limits_->nodes >= Limits::MaxNodes)
        SetError(InvalidFormule);
    ++limits_->nodes;
    nodes_.push_back(Node{code, std::move(text), left, right, CalcType::None});
    return &nodes_.back();
}

void TCalcul::FreeTree() {
    limits_->nodes -= nodes_.size();
    nodes_.clear();
}

std::string TCalcul::EvalNode(Node* node) {
    if (errorFlag_)
        return {};
    if (!node) {
        SetError("Invalid formula (..)");
        return {};
    }
    if (limits_->depth >= Limits::MaxDepth) {
        SetError(InvalidFormule);
        return {};
    }
    DepthGuard guard(limits_->depth);
    const int code = node->code;
    std::string value;
    if (calc::IsBinaryOperation(code)) {
        value = EvalChain(node);
    } else if (code == ccNumber || code == ccText) {
        value = node->text;
    } else if (code == ccName) {
        value = EvalVariable(node);
    } else if (code == ccNegate) {
        const std::string operand = EvalNode(node->left);
        if (!errorFlag_)
            value = FormatNumber(-ToNumber(operand));
    } else if (calc::FunctionByCode(code)) {
        value = EvalFunction(node);
    } else {
        SetError("Internal error oper code " + std::to_string(code));
    }
    if (errorFlag_ || !Charge(32 + value.size()))
        return {};
    if (const CalcType type = calc::TypeOfOperation(code); type != CalcType::None)
        node->type = type;
    return value;
}

// A run of binary operators hangs down the left side of the tree, one node per operator,
// however long the formula. It is walked in a loop, so that only parentheses and function
// calls deepen the recursion. The order of evaluation is that of walking the tree node by
// node: "/", "div", "|" and "," take their right operand first, the others their left.
std::string TCalcul::EvalChain(Node* top) {
    struct Step {
        Node* node;
        std::string right; // the right operand, for operators that take it first
    };
    std::vector<Step> steps;
    std::string value;
    bool decided = false; // the lowest step's value followed from its right operand alone
    Node* node = top;
    while (node && calc::IsBinaryOperation(node->code)) {
        const int code = node->code;
        if (code == ccDivide || code == ccIntDiv || code == ccConcat || code == ccComma) {
            std::string right = EvalNode(node->right);
            if (errorFlag_)
                return {};
            decided = EvalRightFirst(node, right, value);
            if (errorFlag_)
                return {};
            steps.push_back({node, std::move(right)});
            if (decided)
                break;
        } else {
            steps.push_back({node, {}});
        }
        node = node->left;
    }
    if (!decided)
        value = EvalNode(node);
    for (std::size_t i = steps.size(); i-- > 0 && !errorFlag_;) {
        Node* step = steps[i].node;
        const int code = step->code;
        if (decided && i + 1 == steps.size()) {
            // its value is already there
        } else if (code == ccDivide) {
            const double divisor = ToNumber(steps[i].right);
            value = FormatNumber(ToNumber(value) / divisor);
        } else if (code == ccIntDiv) {
            const std::int64_t divisor = ToInteger(steps[i].right);
            const std::int64_t dividend = ToInteger(value);
            value = FormatNumber(divisor == -1 ? -double(dividend) : double(dividend / divisor));
        } else if (code == ccConcat) {
            if (!CheckLength(value.size() + steps[i].right.size()))
                return {};
            value += steps[i].right;
        } else if (code == ccComma) {
            // the left operand is the value
        } else {
            value = EvalLeftFirst(step, value);
        }
        // Appending the right operand costs its length, not that of the whole text so far.
        const std::size_t produced = code == ccConcat  ? steps[i].right.size()
                                     : code == ccComma ? 0
                                                       : value.size();
        if (errorFlag_ || !Charge(32 + produced))
            return {};
        if (const CalcType type = calc::TypeOfOperation(code); type != CalcType::None)
            step->type = type;
    }
    return errorFlag_ ? std::string() : value;
}

// The part of "/", "div" and "," that comes before the left operand. True when the right
// operand alone decides the value ("/" and "div" by zero give 0).
bool TCalcul::EvalRightFirst(Node* node, const std::string& right, std::string& value) {
    switch (node->code) {
    case ccDivide:
        if (std::fabs(ToNumber(right)) < 1e-8) {
            value = "0";
            return true;
        }
        return false;
    case ccIntDiv:
        if (ToInteger(right) == 0) {
            value = "0";
            return true;
        }
        return false;
    case ccComma:
        // Arguments after the first wait under the function code and marker of their call.
        if (paramStack_.size() < 2) {
            SetError(InvalidFormule);
            return false;
        }
        paramStack_.insert(paramStack_.end() - 2, right);
        return false;
    default:
        return false;
    }
}

std::string TCalcul::EvalLeftFirst(Node* node, const std::string& left) {
    const int code = node->code;
    if (code == ccAnd || code == ccOr) {
        const bool leftTrue = ToNumber(left) >= 1;
        if (errorFlag_)
            return {};
        if (code == ccAnd && !leftTrue)
            return "0";
        if (code == ccOr && leftTrue)
            return "1";
        const std::string right = EvalNode(node->right);
        if (errorFlag_)
            return {};
        return ToNumber(right) >= 1 ? "1" : "0";
    }
    if (code == ccMod) {
        const std::int64_t dividend = ToInteger(left);
        const std::int64_t divisor = ToInteger(EvalNode(node->right));
        if (errorFlag_)
            return {};
        if (divisor == 0) {
            SetError(InvalidFormule);
            return {};
        }
        return FormatNumber(divisor == -1 ? 0.0 : double(dividend % divisor));
    }
    if (code == ccPlus || code == ccMinus || code == ccMultiply || code == ccPower) {
        const double l = ToNumber(left);
        if (errorFlag_)
            return {};
        const double r = ToNumber(EvalNode(node->right));
        if (errorFlag_)
            return {};
        if (code == ccPlus)
            return FormatNumber(l + r);
        if (code == ccMinus)
            return FormatNumber(l - r);
        if (code == ccMultiply)
            return FormatNumber(l * r);
        return PowerOf(l, r);
    }
    const std::string right = EvalNode(node->right);
    if (errorFlag_)
        return {};
    switch (code) {
    case ccSequence:
        return right;
    case ccEqual:
        return left == right ? "1" : "0";
    case ccNotEqual:
        return left != right ? "1" : "0";
    case ccLess:
    case ccLessEqual:
    case ccGreater:
    case ccGreaterEqual:
        return EvalCompare(code, left, right);
    case ccLike:
    case ccWildcard:
        return EvalMatch(code, left, right);
    default:
        SetError("Internal error oper code " + std::to_string(code));
        return {};
    }
}

// Numbers compare as numbers; when either side is no number both compare as texts. The
// operands are evaluated once: evaluating them again could repeat an assignment or freevar(.
std::string TCalcul::EvalCompare(int code, const std::string& left, const std::string& right) {
    double l = 0;
    double r = 0;
    int order = 0;
    if (tryNumber(left, l) && tryNumber(right, r)) {
        order = l < r ? -1 : l > r ? 1 : 0;
    } else {
        // The collation of the program's locale, case-sensitive ("C" gives byte order).
        const auto& collate = std::use_facet<std::collate<char>>(std::locale());
        order = collate.compare(left.data(), left.data() + left.size(), right.data(),
                                right.data() + right.size());
    }
    bool result = false;
    switch (code) {
    case ccLess:
        result = order < 0;
        break;
    case ccLessEqual:
        result = order <= 0;
        break;
    case ccGreater:
        result = order > 0;
        break;
    default:
        result = order >= 0;
        break;
    }
    return result ? "1" : "0";
}

std::string TCalcul::EvalMatch(int code, const std::string& left, const std::string& right) {
    std::u32string mask = calc::DecodeChars(right);
    if (code == ccLike)
        for (char32_t& c : mask)
            c = c == '%' ? U'*' : c == '_' ? U'?' : c;
    long long steps = 0;
    const auto result =
        calc::MatchMask(calc::DecodeChars(left), mask, Limits::MaxWork - limits_->work, steps);
    if (result == calc::MaskResult::BadMask || !Charge(static_cast<std::size_t>(steps)))
        SetError(InvalidFormule);
    if (errorFlag_)
        return {};
    return result == calc::MaskResult::Match ? "1" : "0";
}

std::string TCalcul::PowerOf(double base, double exponent) {
    if (exponent == 0)
        return "1";
    if (base == 0 && exponent > 0)
        return "0";
    constexpr double IntLimit = 2147483647.0;
    if (exponent == std::trunc(exponent) && exponent >= -IntLimit - 1 && exponent <= IntLimit) {
        // Repeated multiplication, by squaring for exponents too large to multiply one by one.
        auto n = static_cast<std::int64_t>(std::fabs(exponent));
        double result = 1;
        if (n <= 1024) {
            for (std::int64_t i = 0; i < n; ++i)
                result *= base;
        } else {
            double square = base;
            for (; n > 0; n >>= 1) {
                if (n & 1)
                    result *= square;
                square *= square;
            }
        }
        return FormatNumber(exponent < 0 ? 1 / result : result);
    }
    return FormatNumber(std::exp(exponent * std::log(base)));
}

std::string TCalcul::EvalVariable(Node* node) {
    const std::string& name = node->text;
    if (name.compare(0, PendingPrefix.size(), PendingPrefix) == 0)
        return EvalAssignment(node, name.substr(PendingPrefix.size()));
    const auto first = static_cast<unsigned char>(name.empty() ? '\0' : name[0]);
    if (!((first >= 65 && first <= 122) || first == '\'')) {
        SetError("Unknown variable:" + name + ", invalid character in name");
        return {};
    }
    const std::string_view lookup = std::string_view(name).substr(first == '\'' ? 1 : 0);
    const std::ptrdiff_t index = FindVariable(lookup);
    if (index < 0) {
        SetError("Unknown variable:" + std::string(lookup));
        return {};
    }
    return ReadValue(variables_[index], node->type);
}

std::string TCalcul::EvalAssignment(Node* node, const std::string& name) {
    const std::string pending = std::string(PendingPrefix) + name;
    std::ptrdiff_t index = FindVariable(pending);
    if (index < 0) {
        SetError("Unknown variable:" + pending);
        return {};
    }
    CalcType ignored = CalcType::None;
    std::string expression = ReadValue(variables_[index], ignored);
    if (expression.size() >= 2 && expression.front() == '[' && expression.back() == ']')
        expression = expression.substr(1, expression.size() - 2);
    CalcType type = CalcType::None;
    const std::string result = EvalNested(expression, type);
    index = FindVariable(pending);
    if (errorFlag_)
        return {};
    if (index >= 0)
        variables_.erase(variables_.begin() + index);
    PutVariable(name, result);
    return ReadValue(name + "=" + result, node->type);
}

std::string TCalcul::EvalNested(const std::string& formula, CalcType& type) {
    type = CalcType::Number;
    // Too deep a nesting fails like any other inner evaluation: an empty text.
    if (limits_->nested >= Limits::MaxNested)
        return {};
    DepthGuard nested(limits_->nested);
    TCalcul inner(*limits_);
    inner.formula_ = formula;
    // Pending assignments belong to this formula, not to the inner one.
    std::size_t size = 0;
    for (const auto& line : variables_) {
        if (!isPending(line)) {
            inner.variables_.push_back(line);
            size += line.size();
        }
    }
    if (!Charge(Limits::NestedWork + size))
        return {};
    std::string result = inner.Evaluate();
    type = inner.resultType_;
    return inner.errorFlag_ ? std::string() : result;
}

double TCalcul::ToNumber(const std::string& text) {
    double value = 0;
    if (tryNumber(text, value))
        return value;
    SetError("Error, convert to numeric value:" + text);
    return 0;
}

std::int64_t TCalcul::ToInteger(const std::string& text) {
    if (errorFlag_)
        return 0;
    double value = ToNumber(text);
    if (errorFlag_)
        return 0;
    if (value > 0)
        value += 1e-7;
    else if (value < 0)
        value -= 1e-7;
    if (!(std::fabs(value) < 9.2e18)) {
        SetError(InvalidFormule);
        return 0;
    }
    return static_cast<std::int64_t>(std::trunc(value));
}

std::string TCalcul::FormatNumber(double x) {
    if (!std::isfinite(x)) {
        SetError(InvalidFormule);
        return {};
    }
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 12);
    if (ec != std::errc()) {
        SetError(InvalidFormule);
        return {};
    }
    std::string text(buffer, end);
    const std::size_t point = text.find('.');
    std::size_t last = text.size();
    while (last > point + 2 && text[last - 1] == '0')
        --last;
    text.resize(last);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
    if (text == "-0")
        text = "0";
    return text;
}

void TCalcul::SetError(const std::string& message) {
    if (errorFlag_)
        return;
    errorMessage_ = message.empty() ? InvalidFormule : message;
    errorFlag_ = true;
}

bool TCalcul::Charge(std::size_t units) {
    limits_->work += static_cast<long long>(std::min<std::size_t>(units, Limits::MaxWork));
    if (limits_->work <= Limits::MaxWork)
        return true;
    SetError(InvalidFormule);
    return false;
}

bool TCalcul::CheckLength(std::size_t length) {
    if (length <= Limits::MaxText)
        return true;
    SetError(InvalidFormule);
    return false;
}

std::ptrdiff_t TCalcul::FindVariable(std::string_view name) {
    Charge(variables_.size());
    for (std::size_t i = 0; i < variables_.size(); ++i) {
        std::string_view lineNameText;
        if (lineName(variables_[i], lineNameText) && sameName(lineNameText, name))
            return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

std::string TCalcul::ReadValue(const std::string& line, CalcType& type) const {
    std::string_view value = std::string_view(line).substr(line.find('=') + 1);
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    if (enclosedInQuotes(value)) {
        type = CalcType::Text;
        return std::string(value.substr(1, value.size() - 2));
    }
    type = CalcType::Number;
    return std::string(value);
}

void TCalcul::PutVariable(std::string_view name, const std::string& value) {
    std::string line = std::string(name) + "=" + value;
    Charge(line.size());
    const std::ptrdiff_t index = FindVariable(name);
    if (index >= 0)
        variables_[index] = std::move(line);
    else
        variables_.push_back(std::move(line));
}

void TCalcul::DropPendingAssignments() {
    std::erase_if(variables_, [](const std::string& line) { return isPending(line); });
}

} // namespace zrn::lang
