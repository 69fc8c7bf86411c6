#include "dataset/Expression.h"
#include "dataset/Packet.h"
#include "dataset/PacketModel.h"
#include "dataset/Table.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"
#include "rtl/Format.h"

#include <climits>
#include <cmath>

namespace zrn::ds {

std::string SourcePrefix(const std::string& source) {
    return source.empty() ? std::string() : "\"" + source + "\": ";
}

namespace {

// ---- extracting ----

void ExtractFields(const Table& table, std::vector<PacketField>& out, std::vector<int>& map) {
    for (int i = 0; i < table.fieldCount(); ++i) {
        const Field& f = table.field(i);
        if (!f.isStored())
            continue;
        PacketField pf;
        pf.name = f.name();
        pf.type = f.type();
        pf.width = f.size();
        pf.subtype = f.subtype();
        pf.required = f.required();
        if (f.type() == FieldType::Nested) {
            std::vector<int> ignored;
            ExtractFields(f.nestedTable(), pf.fields, ignored);
        }
        out.push_back(std::move(pf));
        map.push_back(i);
    }
}

std::vector<int> StoredFieldMap(const Table& table) {
    std::vector<int> map;
    for (int i = 0; i < table.fieldCount(); ++i)
        if (table.field(i).isStored())
            map.push_back(i);
    return map;
}

detail::Rows ExtractRows(const Table& table, const detail::Rows& rows) {
    std::vector<int> map = StoredFieldMap(table);
    detail::Rows out;
    out.reserve(rows.size());
    for (const detail::Row& row : rows) {
        detail::Row p;
        p.values.resize(map.size());
        p.nested.resize(map.size());
        for (size_t k = 0; k < map.size(); ++k) {
            const Field& f = table.field(map[k]);
            if (f.type() == FieldType::Nested)
                p.nested[k] = ExtractRows(f.nestedTable(), row.nested[map[k]]);
            else
                p.values[k] = row.values[map[k]];
        }
        out.push_back(std::move(p));
    }
    return out;
}

// ---- applying ----

} // namespace

// How one level of the table takes a packet level: the final field list in `targets`.
struct PacketAccess::Plan {
    struct Target {
        int packetIndex = -1;   // -1: not in the packet
        Field* field = nullptr; // existing field kept (declared, or reused by name)
        const PacketField* fromPacket = nullptr; // new field to create from the packet
        std::unique_ptr<Plan> nested;
        // fromPacket is set for every field of a rebuilt table; field for a kept one.
        FieldType type() const { return fromPacket ? fromPacket->type : field->type(); }
        int width() const { return fromPacket ? fromPacket->width : field->size(); }
        const std::string& name() const { return fromPacket ? fromPacket->name : field->name(); }
    };
    bool rebuild = false;
    std::vector<Target> targets;
    std::vector<Field*> keptCalculated; // declared calculated fields of a rebuilt table
};

namespace {

using Plan = PacketAccess::Plan;

int FindPacketField(const std::vector<PacketField>& fields, const std::string& name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (text::EqualsIgnoreCase(fields[i].name, name))
            return static_cast<int>(i);
    return -1;
}

bool DeclaresStoredFields(const Table& table) {
    for (int i = 0; i < table.fieldCount(); ++i) {
        const Field& f = table.field(i);
        if (f.isStored() && PacketAccess::IsDeclared(f))
            return true;
    }
    return false;
}

} // namespace

bool PacketAccess::IsDeclared(const Field& field) {
    return field.declared_;
}

std::unique_ptr<Plan> PacketAccess::MakePlan(Table* table, const std::vector<PacketField>& pfields,
                                             const std::string& source) {
    auto plan = std::make_unique<Plan>();
    const std::string where = SourcePrefix(source);
    if (table && DeclaresStoredFields(*table)) {
        for (int i = 0; i < table->fieldCount(); ++i) {
            Field& f = table->field(i);
            Plan::Target t;
            t.field = &f;
            if (f.isStored()) {
                t.packetIndex = FindPacketField(pfields, f.name());
                if (t.packetIndex < 0 && f.fieldKind() == FieldKind::Data)
                    throw Error(where + "field '" + f.name() + "' is missing from the file");
                if (t.packetIndex >= 0 && (f.type() == FieldType::Nested) !=
                                              (pfields[t.packetIndex].type == FieldType::Nested))
                    throw Error(where + "field '" + f.name() +
                                (f.type() == FieldType::Nested ? "' is not nested in the file"
                                                               : "' is nested in the file"));
                if (f.type() == FieldType::Nested)
                    t.nested = MakePlan(&f.nestedTable(),
                                        t.packetIndex >= 0 ? pfields[t.packetIndex].fields
                                                           : std::vector<PacketField>{},
                                        source);
            }
            plan->targets.push_back(std::move(t));
        }
        return plan;
    }
    // The table takes the file's fields: reuse fields of the same name and type, so that
    // handlers and settings on them survive a reload.
    plan->rebuild = true;
    for (size_t k = 0; k < pfields.size(); ++k) {
        const PacketField& pf = pfields[k];
        Plan::Target t;
        t.packetIndex = static_cast<int>(k);
        Field* existing = table ? table->findField(pf.name) : nullptr;
        t.fromPacket = &pf;
        if (existing && !PacketAccess::IsDeclared(*existing) && existing->type() == pf.type)
            t.field = existing;
        if (pf.type == FieldType::Nested)
            t.nested = MakePlan(t.field ? &t.field->nestedTable() : nullptr, pf.fields, source);
        plan->targets.push_back(std::move(t));
    }
    if (table)
        for (int i = 0; i < table->fieldCount(); ++i) {
            Field& f = table->field(i);
            if (f.fieldKind() == FieldKind::Calculated && PacketAccess::IsDeclared(f)) {
                if (FindPacketField(pfields, f.name()) >= 0)
                    throw Error(where + "field '" + f.name() +
                                "' of the file has the name of a calculated field");
                plan->keptCalculated.push_back(&f);
            }
        }
    return plan;
}

namespace {

Value ConvertValue(const Value& v, const Plan::Target& t, const std::string& source) {
    if (v.isNull())
        return v;
    auto invalid = [&]() {
        return Error(SourcePrefix(source) + "invalid value '" + v.toString() + "' for field '" +
                     t.name() + "'");
    };
    switch (t.type()) {
    case FieldType::String:
        return Value(text::CutToChars(v.kind() == ValueKind::String ? v.asString() : v.toString(),
                                      t.width()));
    case FieldType::Float:
        if (v.isNumber())
            return Value(v.asFloat());
        if (v.kind() == ValueKind::String)
            if (auto d = text::ParseFileNumber(v.asString()))
                return Value(*d);
        throw invalid();
    case FieldType::Integer: {
        double d = 0;
        if (v.kind() == ValueKind::Integer) {
            d = static_cast<double>(v.asInteger());
        } else if (v.kind() == ValueKind::Float) {
            d = rtl::RoundHalfEven(v.asFloat());
        } else if (v.kind() == ValueKind::String) {
            auto i = text::ParseFileInteger(v.asString());
            if (!i)
                throw invalid();
            d = static_cast<double>(*i);
        } else {
            throw invalid();
        }
        if (d < INT_MIN || d > INT_MAX)
            throw invalid();
        return Value(static_cast<long long>(d));
    }
    case FieldType::Boolean:
        if (v.kind() == ValueKind::Boolean)
            return v;
        if (v.kind() == ValueKind::String) {
            if (text::EqualsIgnoreCase(v.asString(), "true"))
                return Value(true);
            if (text::EqualsIgnoreCase(v.asString(), "false"))
                return Value(false);
        }
        if (v.isNumber())
            return Value(v.asFloat() != 0);
        throw invalid();
    case FieldType::Nested:
        break;
    }
    throw invalid();
}

detail::Rows ConvertRows(const detail::Rows& prows, const Plan& plan, const std::string& source) {
    size_t n = plan.targets.size() + plan.keptCalculated.size();
    detail::Rows out;
    out.reserve(prows.size());
    for (const detail::Row& p : prows) {
        detail::Row r;
        r.values.resize(n);
        r.nested.resize(n);
        r.id = detail::NextRowId();
        for (size_t i = 0; i < plan.targets.size(); ++i) {
            const Plan::Target& t = plan.targets[i];
            if (t.packetIndex < 0)
                continue;
            if (t.type() == FieldType::Nested)
                r.nested[i] = ConvertRows(p.nested[t.packetIndex], *t.nested, source);
            else
                r.values[i] = ConvertValue(p.values[t.packetIndex], t, source);
        }
        out.push_back(std::move(r));
    }
    return out;
}

// The field names the table will have, for checking its order and filter before loading.
void CheckOrderAndFilter(const Table& table, const Plan& plan, const std::string& source) {
    auto has = [&](const std::string& name) {
        for (const auto& t : plan.targets)
            if (text::EqualsIgnoreCase(t.name(), name))
                return true;
        for (const Field* f : plan.keptCalculated)
            if (text::EqualsIgnoreCase(f->name(), name))
                return true;
        return false;
    };
    for (const std::string& n : text::SplitNames(table.indexFieldNames()))
        if (!has(n))
            throw Error(SourcePrefix(source) + "the order field '" + n +
                        "' is not a field of the file");
    if (table.filtered() && !table.filter().empty()) {
        // Held here: the loop must not run over the names of an expression already freed.
        const auto filter = Expression::Parse(table.filter(), "filter");
        for (const std::string& n : filter->names())
            if (!has(n))
                throw Error(SourcePrefix(source) + "the field '" + n + "' of the filter \"" +
                            table.filter() + "\" is not a field of the file");
    }
}

} // namespace

void PacketAccess::Commit(Table& table, Plan& plan) {
    if (plan.rebuild) {
        std::vector<std::unique_ptr<Field>> fields;
        auto take = [&](Field* f) {
            for (auto& owned : table.fields_)
                if (owned.get() == f)
                    return std::move(owned);
            return std::unique_ptr<Field>();
        };
        for (auto& t : plan.targets) {
            const PacketField& fromPacket = *t.fromPacket;
            std::unique_ptr<Field> f =
                t.field ? take(t.field) : std::make_unique<Field>(fromPacket.name, fromPacket.type);
            // A field taken from the file follows the file's description.
            f->declared_ = false;
            f->size_ = fromPacket.type == FieldType::String ? fromPacket.width : 0;
            f->subtype_ = fromPacket.subtype;
            f->required_ = fromPacket.required;
            fields.push_back(std::move(f));
        }
        for (Field* f : plan.keptCalculated)
            fields.push_back(take(f));
        table.fields_ = std::move(fields);
        for (size_t i = 0; i < table.fields_.size(); ++i)
            table.fields_[i]->attachTo(&table, static_cast<int>(i));
        table.rebuildFieldIndex();
    }
    for (size_t i = 0; i < plan.targets.size(); ++i)
        if (plan.targets[i].nested)
            Commit(table.field(static_cast<int>(i)).nestedTable(), *plan.targets[i].nested);
}

PacketData PacketAccess::Extract(const Table& table) {
    PacketData packet;
    std::vector<int> map;
    ExtractFields(table, packet.fields, map);
    if (const detail::Rows* rows = table.storage())
        packet.rows = ExtractRows(table, *rows);
    return packet;
}

void PacketAccess::Apply(Table& table, PacketData packet, const std::string& source) {
    if (table.master_)
        throw Error(table.messagePrefix() + "A detail table is loaded with its master");
    table.close();
    std::unique_ptr<Plan> plan = MakePlan(&table, packet.fields, source);
    CheckOrderAndFilter(table, *plan, source);
    detail::Rows rows = ConvertRows(packet.rows, *plan, source);
    // Nothing above changed the table; from here on nothing fails but opening.
    Commit(table, *plan);
    table.installRows(std::move(rows));
    table.open();
}

} // namespace zrn::ds
