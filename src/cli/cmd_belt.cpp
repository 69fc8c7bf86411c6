// zrncalc belt [--data DIR] [--taal DIR] [--lang CODE] [--units metric|imperial]
//              [--project FILE] [--set FIELD=TEXT]... [--zone INDEX:FIELD=TEXT]...
//              (--json | --report | --columnar [--header]) [--save FILE] [--rtf FILE]
//
// Replays a belt session without windows. The data module is wired to a language service as
// the belt input window wires it, starts from the template (or the project given), and every
// --set and --zone is applied in the order given, as a user typing into the bound control or
// picking a row of a lookup box: the text goes through the field's text entry in the current
// unit system, so validation, the calculation and every rule run as they do in the window.

#include "belt/MatRapport.h"
#include "belt/MatRapportFile.h"
#include "belt/d_mat.h"
#include "cli/CommandRegistry.h"
#include "common/TableFileNames.h"
#include "dataset/Field.h"
#include "dataset/Table.h"
#include "lang/MetricField.h"
#include "lang/TaalComponent.h"
#include "rtl/Cp1252.h"
#include "rtl/Error.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace zrn::cli {
namespace {

using json = nlohmann::ordered_json;

struct BeltOptions {
    std::string data;
    std::string taal;
    std::string lang;
    std::string units;
    std::string project;
    std::string save;
    std::string rtf;
    bool json = false;
    bool report = false;
    bool columnar = false;
    bool header = false;
};

//! One --set (a field of the record) or --zone (a field of a layout row), as given.
struct Edit {
    bool zone = false;
    std::string given;
};

// A directory or file given on the command line is meant from where the user stands; an
// empty one keeps the program's own beside the executable.
std::string FromHere(const std::string& path, const char* fallback) {
    return path.empty() ? std::string(fallback) : std::filesystem::absolute(path).string();
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool ParseYesNo(const std::string& name, const std::string& text) {
    const std::string t = Lower(text);
    if (t == "true" || t == "yes" || t == "1")
        return true;
    if (t == "false" || t == "no" || t == "0")
        return false;
    throw Error("'" + text + "' is not a value of the check box " + name + " (true or false)");
}

// FIELD=TEXT; the text may itself hold "=".
std::pair<std::string, std::string> SplitAssignment(const std::string& given, const char* what) {
    const std::size_t eq = given.find('=');
    if (eq == std::string::npos || eq == 0)
        throw Error(std::string("expected ") + what + ", got '" + given + "'");
    return {given.substr(0, eq), given.substr(eq + 1)};
}

void ApplySet(belt::Tdm_mat& module, const std::string& given) {
    const auto [name, text] = SplitAssignment(given, "--set FIELD=TEXT");
    const ds::Field& field = module.Invoer(name);
    if (module.LookupTable(name) && !text.empty())
        module.PickLookup(name, text);
    else if (field.type() == ds::FieldType::Boolean)
        module.ClickCheckBox(name, ParseYesNo(name, text));
    else
        module.EnterText(name, text);
}

void ApplyZone(belt::Tdm_mat& module, const std::string& given) {
    const std::size_t colon = given.find(':');
    if (colon == std::string::npos)
        throw Error("expected --zone INDEX:FIELD=TEXT, got '" + given + "'");
    int index = 0;
    try {
        std::size_t used = 0;
        index = std::stoi(given.substr(0, colon), &used);
        if (used != colon)
            throw std::invalid_argument("index");
    } catch (const std::exception&) {
        throw Error("'" + given.substr(0, colon) + "' is not a zone number (1 to 10)");
    }
    const auto [name, text] = SplitAssignment(given.substr(colon + 1), "--zone INDEX:FIELD=TEXT");
    module.EnterZoneText(index, name, text);
}

// The --set and --zone options in the order the user wrote them, interleaved.
std::vector<Edit> EditsInOrder(const CLI::App& cmd, const CLI::Option* set,
                               const CLI::Option* zone) {
    std::vector<Edit> edits;
    std::size_t sets = 0;
    std::size_t zones = 0;
    for (const CLI::Option* opt : cmd.parse_order()) {
        if (opt == set && sets < set->results().size())
            edits.push_back({false, set->results()[sets++]});
        else if (opt == zone && zones < zone->results().size())
            edits.push_back({true, zone->results()[zones++]});
    }
    if (sets != set->results().size() || zones != zone->results().size())
        throw Error("the order of the --set and --zone options could not be read");
    return edits;
}

// A pass that stopped is not a refused value: the value is stored and the message is what
// the window would show. The session goes on.
template <class Fn> void TellStoppedPass(const Fn& action) {
    try {
        action();
    } catch (const belt::CalculationStopped& stopped) {
        std::cerr << "warning: " << stopped.what() << '\n';
    }
}

// ---- JSON of the record ----

json StoredValue(const ds::Field& field) {
    if (field.isNull())
        return nullptr;
    switch (field.type()) {
    case ds::FieldType::Float:
        if (const auto* metric = dynamic_cast<const lang::TMetricField*>(&field))
            return metric->MetricValue();
        return field.asFloat();
    case ds::FieldType::Integer:
        return field.asInteger();
    case ds::FieldType::Boolean:
        return field.asBoolean();
    default:
        return field.asString();
    }
}

json RowFields(const ds::Table& table) {
    json row = json::object();
    for (int i = 0; i < table.fieldCount(); ++i) {
        const ds::Field& field = table.field(i);
        if (field.isStored() && field.type() != ds::FieldType::Nested)
            row[field.name()] = StoredValue(field);
    }
    return row;
}

json Rows(ds::Table& table) {
    json rows = json::array();
    if (!table.isActive())
        return rows;
    for (int pos = 0; pos < table.recordCount(); ++pos) {
        auto peek = table.peekRow(pos);
        rows.push_back(RowFields(table));
    }
    return rows;
}

json RecordJson(belt::Tdm_mat& module) {
    const ds::Field* blocking = module.CheckInput();
    json out;
    out["record"] = RowFields(module.cds_invoer);
    out["zones"] = Rows(module.cds_invoer_zones);
    out["load_table"] = Rows(module.cds_load_zones);
    if (blocking)
        out["blocking_field"] = blocking->table() == &module.cds_invoer_zones
                                    ? "zones." + blocking->name()
                                    : blocking->name();
    else
        out["blocking_field"] = nullptr;
    out["input_warning"] = module.Invoer("uit_invoerwarning").asString();
    return out;
}

// Report text on standard output: UTF-8, one line per line.
void PrintReport(const std::string& report) {
    std::string text = rtl::Cp1252ToUtf8(report);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    std::cout << out;
}

// ---- the session ----

void RunBelt(const BeltOptions& options, const std::vector<Edit>& edits) {
    if (options.json + options.report + options.columnar != 1)
        throw Error("give exactly one of --json, --report and --columnar");

    // As the main window builds its service: English until the directory is read.
    lang::TTaalComponent service;
    service.SetLoading(true);
    service.SetTaal("engels");
    service.SetLoading(false);
    service.SetTaalDirectory(FromHere(options.taal, "taal"));

    belt::Tdm_mat module;
    module.SetDataDirectory(FromHere(options.data, "data"));
    module.SetTaalComponent(&service);
    lang::TaalNotify(service);

    if (!options.project.empty())
        TellStoppedPass([&] { module.LoadProject(FromHere(options.project, "")); });
    if (!options.lang.empty()) {
        if (!common::FindFileIgnoringCase(service.TaalDirectory() + options.lang + ".xml"))
            throw Error("There is no language file for '" + options.lang + "'");
        service.SetTaal(options.lang);
    }
    if (!options.units.empty())
        service.SetEenheid(options.units == "imperial" ? lang::ehImperial : lang::ehMetrisch);

    for (const Edit& edit : edits)
        TellStoppedPass([&] {
            if (edit.zone)
                ApplyZone(module, edit.given);
            else
                ApplySet(module, edit.given);
        });

    if (!options.save.empty())
        module.SaveProject(FromHere(options.save, ""));
    if (!options.rtf.empty())
        belt::SaveTextReport(module, FromHere(options.rtf, ""));

    if (options.json)
        std::cout << RecordJson(module).dump(2) << '\n';
    else if (options.report)
        PrintReport(module.BuildTextReport());
    else
        PrintReport(module.BuildColumnarLine(options.header));
}

const RegisterCommand registerBelt([](CLI::App& app) {
    auto options = std::make_shared<BeltOptions>();
    auto sets = std::make_shared<std::vector<std::string>>();
    auto zones = std::make_shared<std::vector<std::string>>();
    CLI::App* cmd = app.add_subcommand("belt", "Run a belt calculation and show or save it");
    cmd->add_option("--data", options->data, "Data directory (default: data beside the program)");
    cmd->add_option("--taal", options->taal,
                    "Language directory (default: taal beside the program)");
    cmd->add_option("--lang", options->lang,
                    "Language to switch to before the edits (engels, ...)");
    cmd->add_option("--units", options->units, "Unit system to switch to before the edits")
        ->check(CLI::IsMember({"metric", "imperial"}));
    cmd->add_option("--project", options->project, "Project file to load instead of the template");
    CLI::Option* set = cmd->add_option("--set", *sets,
                                       "FIELD=TEXT: type TEXT into a field, or pick the row with "
                                       "that key in a lookup field");
    CLI::Option* zone =
        cmd->add_option("--zone", *zones, "INDEX:FIELD=TEXT: type TEXT into a temperature zone");
    cmd->add_flag("--json", options->json, "Show the record, zones and load rows as JSON");
    cmd->add_flag("--report", options->report, "Show the text report");
    CLI::Option* columnar =
        cmd->add_flag("--columnar", options->columnar, "Show the columnar line");
    cmd->add_flag("--header", options->header, "With --columnar: the header lines first")
        ->needs(columnar);
    cmd->add_option("--save", options->save, "Save the project to this file");
    cmd->add_option("--rtf", options->rtf, "Write the text report to this report file");
    // The option objects write into sets and zones, so the callback keeps them alive.
    cmd->callback([options, sets, zones, cmd, set, zone] {
        try {
            RunBelt(*options, EditsInOrder(*cmd, set, zone));
            ExitStatus() = 0;
        } catch (const std::exception& e) {
            std::cerr << "error: " << e.what() << '\n';
            ExitStatus() = 1;
        }
    });
});

} // namespace
} // namespace zrn::cli
