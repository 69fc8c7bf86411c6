#include "dataset/Expression.h"

#include "dataset/TextUtil.h"
#include "rtl/Error.h"

#include <cctype>
#include <unordered_map>

namespace zrn::ds {

enum class Op { Eq, Ne, Lt, Le, Gt, Ge };

struct Expression::Node {
    enum class Kind { Literal, Name, Not, And, Or, Compare, IsNull, Negate } kind;
    Value literal;
    int slot = -1;
    Op op = Op::Eq;
    bool negated = false; // IS NOT NULL
    std::unique_ptr<Node> a;
    std::unique_ptr<Node> b;
};

namespace {

using Node = Expression::Node;

struct Token {
    enum class Type { End, Number, Text, Name, Op, LParen, RParen, Minus } type;
    std::string text;
    double number = 0;
};

// Truth values of three-valued logic; null is "unknown".
Value Truth(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Null:
        return Value();
    case ValueKind::Boolean:
        return v;
    case ValueKind::Integer:
    case ValueKind::Float:
        return Value(v.asFloat() != 0);
    case ValueKind::String:
        if (text::EqualsIgnoreCase(v.asString(), "true"))
            return Value(true);
        if (text::EqualsIgnoreCase(v.asString(), "false"))
            return Value(false);
        return Value();
    }
    return Value();
}

// A value as a number for a mixed comparison, or none.
std::optional<double> AsNumber(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Integer:
    case ValueKind::Float:
        return v.asFloat();
    case ValueKind::Boolean:
        return v.asBoolean() ? 1.0 : 0.0;
    case ValueKind::String:
        return text::ParseFileNumber(v.asString());
    default:
        return std::nullopt;
    }
}

template <class T> bool Holds(Op op, const T& x, const T& y) {
    switch (op) {
    case Op::Eq:
        return x == y;
    case Op::Ne:
        return x != y;
    case Op::Lt:
        return x < y;
    case Op::Le:
        return x <= y;
    case Op::Gt:
        return x > y;
    case Op::Ge:
        return x >= y;
    }
    return false;
}

Value Compare(Op op, const Value& x, const Value& y) {
    if (x.isNull() || y.isNull())
        return Value();
    if (x.kind() == ValueKind::String && y.kind() == ValueKind::String)
        return Value(Holds(op, x.asString(), y.asString()));
    if (x.kind() == ValueKind::Boolean || y.kind() == ValueKind::Boolean) {
        Value tx = Truth(x), ty = Truth(y);
        if (tx.isNull() || ty.isNull())
            return Value();
        return Value(Holds(op, static_cast<int>(tx.asBoolean()), static_cast<int>(ty.asBoolean())));
    }
    auto nx = AsNumber(x), ny = AsNumber(y);
    if (!nx || !ny)
        return Value();
    return Value(Holds(op, *nx, *ny));
}

// Evaluates a node. get(slot, scratch) gives a name's value, either a reference to where
// it lives or a copy left in scratch; operands are read in place, so comparing a field
// with a literal copies no text.
template <class Get> Value Eval(const Node& n, const Get& get);

template <class Get> const Value& Operand(const Node& n, const Get& get, Value& scratch) {
    switch (n.kind) {
    case Node::Kind::Literal:
        return n.literal;
    case Node::Kind::Name:
        return get(n.slot, scratch);
    default:
        scratch = Eval(n, get);
        return scratch;
    }
}

template <class Get> Value Eval(const Node& n, const Get& get) {
    Value scratch;
    switch (n.kind) {
    case Node::Kind::Literal:
        return n.literal;
    case Node::Kind::Name:
        return get(n.slot, scratch);
    case Node::Kind::Negate: {
        const Value& v = Operand(*n.a, get, scratch);
        if (v.kind() == ValueKind::Integer)
            return Value(-v.asInteger());
        if (v.kind() == ValueKind::Float)
            return Value(-v.asFloat());
        auto num = AsNumber(v);
        return num && v.kind() == ValueKind::String ? Value(-*num) : Value();
    }
    case Node::Kind::Not: {
        Value t = Truth(Operand(*n.a, get, scratch));
        return t.isNull() ? t : Value(!t.asBoolean());
    }
    case Node::Kind::And: {
        Value l = Truth(Operand(*n.a, get, scratch));
        if (!l.isNull() && !l.asBoolean())
            return Value(false);
        Value r = Truth(Operand(*n.b, get, scratch));
        if (!r.isNull() && !r.asBoolean())
            return Value(false);
        return (l.isNull() || r.isNull()) ? Value() : Value(true);
    }
    case Node::Kind::Or: {
        Value l = Truth(Operand(*n.a, get, scratch));
        if (!l.isNull() && l.asBoolean())
            return Value(true);
        Value r = Truth(Operand(*n.b, get, scratch));
        if (!r.isNull() && r.asBoolean())
            return Value(true);
        return (l.isNull() || r.isNull()) ? Value() : Value(false);
    }
    case Node::Kind::Compare: {
        Value other;
        return Compare(n.op, Operand(*n.a, get, scratch), Operand(*n.b, get, other));
    }
    case Node::Kind::IsNull: {
        bool isNull = Operand(*n.a, get, scratch).isNull();
        return Value(n.negated ? !isNull : isNull);
    }
    }
    return Value();
}

template <class Get> bool Accepts(const Node& root, const Get& get) {
    Value scratch;
    Value v = Truth(Operand(root, get, scratch));
    return !v.isNull() && v.asBoolean();
}

class Parser {
public:
    Parser(const std::string& text, std::vector<std::string>& names) : s_(text), names_(names) {
        advance();
    }

    std::unique_ptr<Node> parseAll() {
        auto n = parseOr();
        if (tok_.type != Token::Type::End)
            fail("unexpected '" + tok_.text + "'");
        return n;
    }

    [[noreturn]] void fail(const std::string& why) { throw Reason{why}; }
    struct Reason {
        std::string why;
    };

private:
    bool isKeyword(const char* kw) const {
        return tok_.type == Token::Type::Name && text::EqualsIgnoreCase(tok_.text, kw);
    }

    std::unique_ptr<Node> make(Node::Kind k, std::unique_ptr<Node> a = {},
                               std::unique_ptr<Node> b = {}) {
        auto n = std::make_unique<Node>();
        n->kind = k;
        n->a = std::move(a);
        n->b = std::move(b);
        return n;
    }

    std::unique_ptr<Node> parseOr() {
        auto l = parseAnd();
        while (isKeyword("or")) {
            advance();
            l = make(Node::Kind::Or, std::move(l), parseAnd());
        }
        return l;
    }

    std::unique_ptr<Node> parseAnd() {
        auto l = parseNot();
        while (isKeyword("and")) {
            advance();
            l = make(Node::Kind::And, std::move(l), parseNot());
        }
        return l;
    }

    std::unique_ptr<Node> parseNot() {
        if (isKeyword("not")) {
            advance();
            return make(Node::Kind::Not, parseNot());
        }
        return parseComparison();
    }

    static bool IsNullLiteral(const Node& n) {
        return n.kind == Node::Kind::Literal && n.literal.isNull();
    }

    std::unique_ptr<Node> parseComparison() {
        auto l = parsePrimary();
        if (isKeyword("is")) {
            advance();
            bool negated = false;
            if (isKeyword("not")) {
                negated = true;
                advance();
            }
            if (!isKeyword("null"))
                fail("NULL expected after IS");
            advance();
            auto n = make(Node::Kind::IsNull, std::move(l));
            n->negated = negated;
            return n;
        }
        if (tok_.type != Token::Type::Op)
            return l;
        Op op = Op::Eq;
        const std::string& t = tok_.text;
        if (t == "=")
            op = Op::Eq;
        else if (t == "<>")
            op = Op::Ne;
        else if (t == "<")
            op = Op::Lt;
        else if (t == "<=")
            op = Op::Le;
        else if (t == ">")
            op = Op::Gt;
        else
            op = Op::Ge;
        advance();
        auto r = parsePrimary();
        // "x = NULL" reads as a null test, the way users write it.
        if ((op == Op::Eq || op == Op::Ne) && (IsNullLiteral(*l) || IsNullLiteral(*r))) {
            auto n = make(Node::Kind::IsNull, IsNullLiteral(*l) ? std::move(r) : std::move(l));
            n->negated = op == Op::Ne;
            return n;
        }
        auto n = make(Node::Kind::Compare, std::move(l), std::move(r));
        n->op = op;
        if (tok_.type == Token::Type::Op)
            fail("unexpected '" + tok_.text + "'");
        return n;
    }

    std::unique_ptr<Node> parsePrimary() {
        switch (tok_.type) {
        case Token::Type::LParen: {
            advance();
            auto n = parseOr();
            if (tok_.type != Token::Type::RParen)
                fail("')' expected");
            advance();
            return n;
        }
        case Token::Type::Minus: {
            advance();
            return make(Node::Kind::Negate, parsePrimary());
        }
        case Token::Type::Number: {
            auto n = make(Node::Kind::Literal);
            n->literal = Value(tok_.number);
            advance();
            return n;
        }
        case Token::Type::Text: {
            auto n = make(Node::Kind::Literal);
            n->literal = Value(tok_.text);
            advance();
            return n;
        }
        case Token::Type::Name: {
            if (isKeyword("and") || isKeyword("or") || isKeyword("not") || isKeyword("is"))
                fail("unexpected '" + tok_.text + "'");
            auto n = make(Node::Kind::Literal);
            if (isKeyword("null")) {
                n->literal = Value();
            } else if (isKeyword("true")) {
                n->literal = Value(true);
            } else if (isKeyword("false")) {
                n->literal = Value(false);
            } else {
                n->kind = Node::Kind::Name;
                n->slot = slotOf(tok_.text);
            }
            advance();
            return n;
        }
        case Token::Type::End:
            fail("unexpected end");
        default:
            fail("unexpected '" + tok_.text + "'");
        }
    }

    int slotOf(const std::string& name) {
        for (size_t i = 0; i < names_.size(); ++i)
            if (text::EqualsIgnoreCase(names_[i], name))
                return static_cast<int>(i);
        names_.push_back(name);
        return static_cast<int>(names_.size() - 1);
    }

    void advance() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
        tok_ = Token{Token::Type::End, {}, 0};
        if (pos_ >= s_.size())
            return;
        char c = s_[pos_];
        auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
        if (c == '(' || c == ')') {
            tok_.type = c == '(' ? Token::Type::LParen : Token::Type::RParen;
            tok_.text = std::string(1, c);
            ++pos_;
        } else if (c == '-') {
            tok_.type = Token::Type::Minus;
            tok_.text = "-";
            ++pos_;
        } else if (c == '=' || c == '<' || c == '>') {
            tok_.type = Token::Type::Op;
            tok_.text = std::string(1, c);
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '=' || (c == '<' && s_[pos_] == '>'))) {
                if (c == '=')
                    fail("unexpected '='");
                tok_.text += s_[pos_++];
            }
        } else if (c == '\'') {
            tok_.type = Token::Type::Text;
            ++pos_;
            for (;;) {
                if (pos_ >= s_.size())
                    fail("unterminated text");
                if (s_[pos_] == '\'') {
                    if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
                        tok_.text += '\'';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                tok_.text += s_[pos_++];
            }
        } else if (isDigit(c) || (c == '.' && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1]))) {
            size_t start = pos_;
            std::string number;
            while (pos_ < s_.size() && isDigit(s_[pos_]))
                number += s_[pos_++];
            // A decimal comma comes from numbers formatted with the user's separator.
            if (pos_ + 1 < s_.size() && (s_[pos_] == '.' || s_[pos_] == ',') &&
                isDigit(s_[pos_ + 1])) {
                number += '.';
                ++pos_;
                while (pos_ < s_.size() && isDigit(s_[pos_]))
                    number += s_[pos_++];
            } else if (pos_ < s_.size() && s_[pos_] == '.') {
                ++pos_;
            }
            if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
                size_t save = pos_;
                std::string exp = "e";
                ++pos_;
                if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-'))
                    exp += s_[pos_++];
                if (pos_ < s_.size() && isDigit(s_[pos_])) {
                    while (pos_ < s_.size() && isDigit(s_[pos_]))
                        exp += s_[pos_++];
                    number += exp;
                } else {
                    pos_ = save;
                }
            }
            if (pos_ < s_.size() &&
                (std::isalpha(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_'))
                fail("malformed number '" + s_.substr(start, pos_ - start + 1) + "'");
            auto v = text::ParseFileNumber(number);
            if (!v)
                fail("malformed number '" + number + "'");
            tok_.type = Token::Type::Number;
            tok_.number = *v;
            tok_.text = s_.substr(start, pos_ - start);
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
                   static_cast<unsigned char>(c) >= 0x80) {
            tok_.type = Token::Type::Name;
            while (pos_ < s_.size() &&
                   (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_' ||
                    static_cast<unsigned char>(s_[pos_]) >= 0x80))
                tok_.text += s_[pos_++];
        } else if (c == '[') {
            size_t close = s_.find(']', pos_);
            if (close == std::string::npos || close == pos_ + 1)
                fail("unterminated name");
            tok_.type = Token::Type::Name;
            tok_.text = s_.substr(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
        } else {
            fail(std::string("unexpected '") + c + "'");
        }
    }

    const std::string& s_;
    std::vector<std::string>& names_;
    size_t pos_ = 0;
    Token tok_;
};

} // namespace

Expression::~Expression() = default;

std::shared_ptr<const Expression> Expression::Parse(const std::string& text,
                                                    const std::string& kind) {
    // The calculation sets the same few filters again on every pass; a parsed expression
    // never changes, so it is shared. Only texts that parse are kept, and the store is
    // emptied when it grows large, so ever new texts cannot pile up.
    constexpr size_t MaxRemembered = 256;
    thread_local std::unordered_map<std::string, std::shared_ptr<const Expression>> parsed;
    if (auto it = parsed.find(text); it != parsed.end())
        return it->second;
    std::shared_ptr<Expression> e(new Expression());
    e->text_ = text;
    try {
        Parser p(text, e->names_);
        e->root_ = p.parseAll();
    } catch (const Parser::Reason& r) {
        throw Error("Invalid " + kind + " expression \"" + text + "\": " + r.why);
    }
    if (parsed.size() >= MaxRemembered)
        parsed.clear();
    parsed.emplace(text, e);
    return e;
}

bool Expression::accepts(const std::function<Value(int)>& lookup) const {
    return Accepts(*root_, [&](int slot, Value& scratch) -> const Value& {
        scratch = lookup(slot);
        return scratch;
    });
}

bool Expression::holds(const std::function<const Value&(int)>& lookup) const {
    return Accepts(*root_, [&](int slot, Value&) -> const Value& { return lookup(slot); });
}

} // namespace zrn::ds
