#pragma once

// Pieces of the formula evaluator shared by its source files; not for other callers.

#include "lang/ucalcul.h"

#include <cstddef>
#include <string_view>

namespace zrn::lang::calc {

//! The limits that keep any formula safe. One evaluation and the evaluations it nests
//! (eval( and assignments) share one set. Going past one fails with "invalid formule"; a
//! nesting too deep fails the inner evaluation, which gives an empty text.
struct Limits {
    static constexpr int MaxDepth = 400;                     //!< parse levels plus node levels
    static constexpr int MaxNested = 16;                     //!< evaluators inside evaluators
    static constexpr std::size_t MaxNodes = 1 << 18;         //!< nodes alive at once
    static constexpr std::size_t MaxText = 1 << 20;          //!< bytes of one text value
    static constexpr long long MaxWork = 16LL * 1000 * 1000; //!< work units of an evaluation
    static constexpr std::size_t NestedWork = 4096;          //!< work units of starting one
};

//! One function of the function table.
struct FunctionInfo {
    std::string_view name; //!< lower case, with its opening parenthesis
    int code;              //!< operation code
    int minArgs;           //!< fewest arguments (multi-argument functions only)
};

//! The function whose name (with "(") equals name without regard to case, or nullptr.
const FunctionInfo* FindFunction(std::string_view name);

//! The function with that code, or nullptr.
const FunctionInfo* FunctionByCode(int code);

//! Multi-argument functions take their arguments from the parameter stack.
inline bool IsMultiArgument(int code) {
    return code >= 60 && code <= 72;
}

//! The four aggregates take any number of arguments.
inline bool IsAggregate(int code) {
    return code >= 65 && code <= 68;
}

//! The value type an operation gives; None where the node keeps the type it has.
CalcType TypeOfOperation(int code);

//! The binary operators, which the parser chains from the left.
bool IsBinaryOperation(int code);

} // namespace zrn::lang::calc

namespace zrn::lang {

//! The shared state behind calc::Limits.
struct CalcLimits {
    int depth = 0;         //!< current parse and evaluation depth
    int nested = 0;        //!< evaluators currently nested
    std::size_t nodes = 0; //!< nodes alive
    long long work = 0;    //!< work done so far
    double now = 0;        //!< the moment of the evaluation, for date, now and time
    bool haveNow = false;  //!< now has been read from the clock
};

} // namespace zrn::lang
