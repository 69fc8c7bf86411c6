#pragma once

#include <functional>
#include <vector>

namespace CLI {
class App;
}

namespace zrn::cli {

//! Adds one subcommand (its options and its callback) to the tool.
using CommandSetup = std::function<void(CLI::App&)>;

//! Every subcommand of zrncalc, in the order their files registered them.
std::vector<CommandSetup>& Commands();

//! A file-scope object of this type adds a subcommand: each command lives in its own file.
struct RegisterCommand {
    explicit RegisterCommand(CommandSetup setup) { Commands().push_back(std::move(setup)); }
};

//! The exit status a command's callback sets for main to return.
int& ExitStatus();

} // namespace zrn::cli
