#include "cli/CommandRegistry.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace zrn::cli {

std::vector<CommandSetup>& Commands() {
    static std::vector<CommandSetup> commands;
    return commands;
}

int& ExitStatus() {
    static int status = 0;
    return status;
}

} // namespace zrn::cli

int main(int argc, char** argv) {
    CLI::App app{"zrncalc: the ZRN conveyor calculations without windows"};
    app.set_version_flag("--version", std::string("zrncalc ") + ZRN_VERSION);
    app.require_subcommand(0, 1);
    for (auto& setup : zrn::cli::Commands())
        setup(app);
    CLI11_PARSE(app, argc, argv);
    if (app.get_subcommands().empty())
        std::cout << app.help();
    return zrn::cli::ExitStatus();
}
