#pragma once

#include "dataset/Value.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zrn::ds {

//! A parsed condition over named values, the language of filters and field constraints:
//! names (case-insensitive), numbers ("." or "," before the decimals), texts in
//! apostrophes ('' for an apostrophe), TRUE, FALSE, NULL, = <> < <= > >=, IS [NOT] NULL,
//! and, or, not, unary minus and parentheses.
//!
//! Comparisons follow three-valued logic: a comparison with a null value is unknown, and
//! a row is accepted only when the whole condition is true. A text compared with a number
//! compares as a number when the text reads as one ("." decimals), else it is unknown.
//! "x = NULL" and "x <> NULL" test for null.
class Expression {
public:
    //! Parses a condition; kind ("filter", "constraint") names it in the error message
    //! 'Invalid <kind> expression "<text>": <reason>'.
    static std::shared_ptr<const Expression> Parse(const std::string& text,
                                                   const std::string& kind);
    ~Expression();

    //! The text it was parsed from.
    const std::string& text() const { return text_; }
    //! The distinct names it uses, in order of first appearance; a name's position is
    //! the slot evaluate() asks for.
    const std::vector<std::string>& names() const { return names_; }
    //! True when the condition holds for the values lookup(slot) gives.
    bool accepts(const std::function<Value(int)>& lookup) const;
    //! As accepts(), for values that stay in place while it runs: lookup(slot) refers to
    //! them and nothing is copied.
    bool holds(const std::function<const Value&(int)>& lookup) const;

    struct Node;

private:
    Expression() = default;
    std::string text_;
    std::vector<std::string> names_;
    std::unique_ptr<Node> root_;
};

} // namespace zrn::ds
