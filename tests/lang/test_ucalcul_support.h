#pragma once

#include "lang/ucalcul.h"

#include <ostream>
#include <string>

namespace zrn::lang::test {

//! One formula with its variable lines ("\n" between lines).
struct FormulaCase {
    const char* formula;
    const char* variables;
    const char* expected; //!< the result, or the error message for a failure case
};

inline std::ostream& operator<<(std::ostream& out, const FormulaCase& c) {
    return out << "formula [" << c.formula << "] variables [" << c.variables << "]";
}

//! Evaluates one case on a fresh evaluator.
inline std::string Evaluate(TCalcul& calculator, const FormulaCase& c) {
    calculator.SetFormula(c.formula);
    calculator.SetVariablesText(c.variables);
    return calculator.Evaluate();
}

} // namespace zrn::lang::test
