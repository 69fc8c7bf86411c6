// zrncalc convert CODE VALUE --to imperial|metric [--taal DIR]
// Converts one value with the formulas of the unit file, as the windows do.

#include "cli/CommandRegistry.h"
#include "lang/TaalComponent.h"
#include "rtl/Error.h"
#include "rtl/Format.h"
#include "rtl/NumberFormat.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace zrn::cli {
namespace {

struct ConvertOptions {
    std::string code;
    std::string value;
    std::string to;
    std::string taal;
};

void RunConvert(const ConvertOptions& options) {
    rtl::FileNumberFormat fileFormat;
    double value = 0;
    if (!rtl::TryStrToFloat(options.value, value))
        throw Error("'" + options.value + "' is not a valid number");

    lang::TTaalComponent service;
    // A directory given on the command line is meant from where the user stands.
    service.SetTaalDirectory(options.taal.empty()
                                 ? std::string("taal")
                                 : std::filesystem::absolute(options.taal).string());
    const double converted = options.to == "imperial" ? service.ToImperial(options.code, value)
                                                      : service.ToMetric(options.code, value);
    std::cout << rtl::FloatToStr(converted) << '\n';
}

const RegisterCommand registerConvert([](CLI::App& app) {
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* cmd = app.add_subcommand("convert", "Convert a value between metric and imperial");
    cmd->add_option("code", options->code, "Unit code (MM, M, M/MIN, N, ..., C)")->required();
    cmd->add_option("value", options->value, "The value to convert (\".\" as decimal point)")
        ->required();
    cmd->add_option("--to", options->to, "Unit system of the result")
        ->required()
        ->check(CLI::IsMember({"imperial", "metric"}));
    cmd->add_option("--taal", options->taal,
                    "Language directory holding eenheden.xml (default: taal beside the program)");
    cmd->callback([options] {
        try {
            RunConvert(*options);
            ExitStatus() = 0;
        } catch (const std::exception& e) {
            std::cerr << "error: " << e.what() << '\n';
            ExitStatus() = 1;
        }
    });
});

} // namespace
} // namespace zrn::cli
