// zrncalc eval FORMULA [NAME=VALUE ...]: evaluates one formula as the unit conversions do.

#include "cli/CommandRegistry.h"
#include "lang/ucalcul.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

namespace {

void runEval(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        std::cerr << "error: eval needs a formula\n";
        zrn::cli::ExitStatus() = 2;
        return;
    }
    zrn::lang::TCalcul calculator;
    calculator.SetFormula(arguments.front());
    calculator.SetVariableLines({arguments.begin() + 1, arguments.end()});
    const std::string result = calculator.Evaluate();
    if (calculator.ErrorFlag()) {
        std::cerr << "error: " << calculator.ErrorMessage() << '\n';
        zrn::cli::ExitStatus() = 1;
        return;
    }
    std::cout << result << '\n';
    zrn::cli::ExitStatus() = 0;
}

const zrn::cli::RegisterCommand evalCommand([](CLI::App& app) {
    CLI::App* command =
        app.add_subcommand("eval", "Evaluate a formula: eval FORMULA [NAME=VALUE ...]");
    // The formula and the variables are taken as they come, so that a formula may begin
    // with "-" ("-x^2") without being read as an option.
    command->prefix_command();
    command->callback([command] { runEval(command->remaining()); });
});

} // namespace
