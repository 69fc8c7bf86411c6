// libFuzzer target for the formula evaluator: any bytes as formula and variables must
// evaluate without a crash, a hang or undefined behaviour, and every failure must say why.
//
// Input: the formula, then optionally a zero byte and the variable lines.

#include "lang/ucalcul.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    zrn::lang::TCalcul calculator;
    calculator.SetFormula(std::string(input.substr(0, split)));
    if (split != std::string_view::npos)
        calculator.SetVariablesText(input.substr(split + 1));
    calculator.Evaluate();
    if (calculator.ErrorFlag() && calculator.ErrorMessage().empty()) {
        std::fprintf(stderr, "failure without a message\n");
        std::abort();
    }
    // A second evaluation on the same object must start afresh.
    calculator.Evaluate();
    return 0;
}
