#pragma once

#include <cstddef>
#include <string>
#include <variant>

namespace zrn::ds {

//! What a Value holds.
enum class ValueKind { Null, Boolean, Integer, Float, String };

//! One cell value: null, a yes/no, a whole number, a real number or a UTF-8 text.
//! Values are what locate() takes, what Field::value() gives and what aggregates yield.
//! A Value never converts by itself; the typed getters require the matching kind.
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool b) : v_(b) {}
    Value(int i) : v_(static_cast<long long>(i)) {}
    Value(long i) : v_(static_cast<long long>(i)) {}
    Value(long long i) : v_(i) {}
    Value(double d) : v_(d) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}

    //! Which kind of value this is.
    ValueKind kind() const { return static_cast<ValueKind>(v_.index()); }
    //! True for the missing value.
    bool isNull() const { return v_.index() == 0; }
    //! True for a whole or a real number.
    bool isNumber() const { return kind() == ValueKind::Integer || kind() == ValueKind::Float; }

    //! The yes/no; the value must be a Boolean.
    bool asBoolean() const { return std::get<bool>(v_); }
    //! The whole number; the value must be an Integer.
    long long asInteger() const { return std::get<long long>(v_); }
    //! The number as a real; the value must be an Integer or a Float.
    double asFloat() const {
        return kind() == ValueKind::Integer ? static_cast<double>(std::get<long long>(v_))
                                            : std::get<double>(v_);
    }
    //! The text; the value must be a String.
    const std::string& asString() const { return std::get<std::string>(v_); }

    //! The value as file text: numbers with "." in their shortest exact form, yes/no as
    //! "TRUE"/"FALSE", null as "". Independent of the program's number format.
    std::string toString() const;

    bool operator==(const Value& other) const = default;

private:
    std::variant<std::monostate, bool, long long, double, std::string> v_;
};

} // namespace zrn::ds
