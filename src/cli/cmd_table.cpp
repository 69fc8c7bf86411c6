// zrncalc table FILE [--save OUT]
// Shows a table file (XML or binary packet) as JSON, or writes it in another form. The file
// named is read as it is: no ".CDS" override takes its place.

#include "cli/CommandRegistry.h"
#include "common/Algemeen.h"
#include "dataset/Field.h"
#include "dataset/Table.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>

namespace zrn::cli {
namespace {

using json = nlohmann::ordered_json;

struct TableOptions {
    std::string file;
    std::string save;
};

const char* PacketTypeName(ds::FieldType type) {
    switch (type) {
    case ds::FieldType::String:
        return "string";
    case ds::FieldType::Float:
        return "r8";
    case ds::FieldType::Integer:
        return "i4";
    case ds::FieldType::Boolean:
        return "boolean";
    case ds::FieldType::Nested:
        return "nested";
    }
    return "string";
}

bool IsShown(const ds::Field& field) {
    return field.fieldKind() != ds::FieldKind::Calculated;
}

json FieldsToJson(const ds::Table& table) {
    json fields = json::array();
    for (int i = 0; i < table.fieldCount(); ++i) {
        const ds::Field& field = table.field(i);
        if (!IsShown(field))
            continue;
        json f = {{"name", field.name()}, {"type", PacketTypeName(field.type())}};
        if (field.type() == ds::FieldType::String)
            f["width"] = field.size();
        f["required"] = field.required();
        if (field.type() == ds::FieldType::Nested)
            f["fields"] = FieldsToJson(field.nestedTable());
        fields.push_back(std::move(f));
    }
    return fields;
}

json ValueToJson(const ds::Field& field) {
    if (field.isNull())
        return nullptr;
    switch (field.type()) {
    case ds::FieldType::String:
        return field.value().asString();
    case ds::FieldType::Float:
        return field.value().asFloat();
    case ds::FieldType::Integer:
        return field.value().asInteger();
    case ds::FieldType::Boolean:
        return field.value().asBoolean();
    case ds::FieldType::Nested:
        break;
    }
    return nullptr;
}

json RowsToJson(ds::Table& table) {
    json rows = json::array();
    if (!table.isActive())
        table.open();
    for (table.first(); !table.eof(); table.next()) {
        json row = json::object();
        for (int i = 0; i < table.fieldCount(); ++i) {
            const ds::Field& field = table.field(i);
            if (!IsShown(field))
                continue;
            row[field.name()] = field.type() == ds::FieldType::Nested
                                    ? RowsToJson(field.nestedTable())
                                    : ValueToJson(field);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Messages may carry a parser's line breaks; the tool reports one line.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

void RunTable(const TableOptions& options) {
    ds::Table table("table");
    common::ReadTableFile(table, options.file);
    if (!options.save.empty()) {
        common::SaveTable(table, options.save);
        return;
    }
    json out = {{"fields", FieldsToJson(table)}, {"rows", RowsToJson(table)}};
    std::cout << out.dump(1, ' ', false, json::error_handler_t::replace) << '\n';
}

const RegisterCommand registerTable([](CLI::App& app) {
    auto options = std::make_shared<TableOptions>();
    CLI::App* cmd =
        app.add_subcommand("table", "Show a table file as JSON, or write it in another form");
    cmd->add_option("file", options->file, "Table file (XML or binary data packet)")->required();
    cmd->add_option("--save", options->save,
                    "Write the table to this file instead (XML when it ends in .xml, else "
                    "binary)");
    cmd->callback([options] {
        try {
            RunTable(*options);
            ExitStatus() = 0;
        } catch (const std::exception& e) {
            std::cerr << "error: " << OneLine(e.what()) << '\n';
            ExitStatus() = 1;
        }
    });
});

} // namespace
} // namespace zrn::cli
