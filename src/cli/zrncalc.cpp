#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"zrncalc: the ZRN conveyor calculations without windows"};
    app.set_version_flag("--version", std::string("zrncalc ") + ZRN_VERSION);
    app.require_subcommand(0, 1);
    CLI11_PARSE(app, argc, argv);
    if (app.get_subcommands().empty()) {
        std::cout << app.help();
    }
    return 0;
}
