#include "dataset/PacketModel.h"
#include "dataset/TextUtil.h"
#include "rtl/Cp1252.h"
#include "rtl/Error.h"

#include <pugixml.hpp>

#include <map>

// The XML data packet, version "2.0" (layout in Packet.h).
namespace zrn::ds {

namespace {

struct TypeName {
    const char* name;
    FieldType type;
};

// Packet types this program reads, and the kind each becomes.
const TypeName kReadTypes[] = {
    {"string", FieldType::String}, {"string.uni", FieldType::String},
    {"r8", FieldType::Float},      {"r4", FieldType::Float},
    {"fixed", FieldType::Float},   {"fixedFMT", FieldType::Float},
    {"i4", FieldType::Integer},    {"i2", FieldType::Integer},
    {"i1", FieldType::Integer},    {"i8", FieldType::Integer},
    {"ui4", FieldType::Integer},   {"ui2", FieldType::Integer},
    {"ui1", FieldType::Integer},   {"boolean", FieldType::Boolean},
    {"nested", FieldType::Nested},
};

const char* WriteTypeName(FieldType type) {
    switch (type) {
    case FieldType::String:
        return "string";
    case FieldType::Float:
        return "r8";
    case FieldType::Integer:
        return "i4";
    case FieldType::Boolean:
        return "boolean";
    case FieldType::Nested:
        return "nested";
    }
    return "string";
}

class XmlReader {
public:
    explicit XmlReader(const std::string& source) : where_(SourcePrefix(source)) {}

    PacketData read(std::string_view xml) {
        std::string text(xml);
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 3);
        // Packets written by the classic tools carry Windows-1252 text.
        if (!text::IsValidUtf8(text))
            text = rtl::Cp1252ToUtf8(text);
        pugi::xml_document doc;
        pugi::xml_parse_result result =
            doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
        if (!result)
            fail(std::string("not a valid XML data packet (") + result.description() +
                 " at offset " + std::to_string(result.offset) + ")");
        pugi::xml_node packet = doc.child("DATAPACKET");
        if (!packet)
            fail("not a data packet (no DATAPACKET element)");
        std::string version = packet.attribute("Version").value();
        if (version != "2.0")
            fail("unsupported data packet version \"" + version + "\"");
        pugi::xml_node metadata = packet.child("METADATA");
        if (!metadata)
            fail("the data packet has no METADATA");
        pugi::xml_node fields = metadata.child("FIELDS");
        if (!fields)
            fail("the data packet has no FIELDS");
        PacketData data;
        data.fields = readFields(fields, 1);
        if (pugi::xml_node rowdata = packet.child("ROWDATA"))
            data.rows = readRows(rowdata, data.fields);
        return data;
    }

private:
    [[noreturn]] void fail(const std::string& what) const { throw Error(where_ + what); }

    std::vector<PacketField> readFields(pugi::xml_node fields, int depth) {
        if (depth > MaxPacketDepth)
            fail("the data packet is nested too deeply");
        std::vector<PacketField> out;
        for (pugi::xml_node f : fields.children("FIELD")) {
            PacketField pf;
            pf.name = f.attribute("attrname").value();
            if (pf.name.empty())
                fail("a FIELD has no attrname");
            for (const PacketField& other : out)
                if (text::EqualsIgnoreCase(other.name, pf.name))
                    fail("the field '" + pf.name + "' appears twice");
            std::string type = f.attribute("fieldtype").value();
            bool known = false;
            for (const TypeName& t : kReadTypes)
                if (type == t.name) {
                    pf.type = t.type;
                    known = true;
                }
            if (type.empty())
                fail("the field '" + pf.name + "' has no fieldtype");
            (void)known; // other types (dates, binary) are read as their text
            if (pugi::xml_attribute width = f.attribute("WIDTH")) {
                auto w = text::ParseFileInteger(width.value());
                if (!w || *w < 0 || *w > 1000000)
                    fail("the field '" + pf.name + "' has an invalid WIDTH \"" + width.value() +
                         "\"");
                // A Unicode text counts its width in bytes, two per character.
                pf.width = static_cast<int>(type == "string.uni" ? *w / 2 : *w);
            }
            if (pf.type != FieldType::String)
                pf.width = 0;
            pf.subtype = f.attribute("SUBTYPE").value();
            pf.required = text::EqualsIgnoreCase(f.attribute("required").value(), "true");
            if (pf.type == FieldType::Nested) {
                pugi::xml_node sub = f.child("FIELDS");
                if (!sub)
                    fail("the nested field '" + pf.name + "' has no FIELDS");
                pf.fields = readFields(sub, depth + 1);
            }
            out.push_back(std::move(pf));
        }
        return out;
    }

    static bool IsRowElement(pugi::xml_node n) {
        return n.type() == pugi::node_element && text::StartsWith(n.name(), "ROW", false);
    }

    Value readValue(const PacketField& pf, const char* raw) const {
        std::string_view s(raw);
        auto bad = [&]() {
            return "invalid value '" + std::string(s) + "' for field '" + pf.name + "'";
        };
        switch (pf.type) {
        case FieldType::String:
            return Value(text::CutToChars(std::string(s), pf.width));
        case FieldType::Float: {
            if (text::Trim(s).empty())
                return Value();
            auto v = text::ParseFileNumber(s);
            if (!v)
                fail(bad());
            return Value(*v);
        }
        case FieldType::Integer: {
            if (text::Trim(s).empty())
                return Value();
            auto v = text::ParseFileInteger(s);
            if (!v || *v < INT32_MIN || *v > INT32_MAX)
                fail(bad());
            return Value(*v);
        }
        case FieldType::Boolean: {
            std::string_view t = text::Trim(s);
            if (t.empty())
                return Value();
            if (text::EqualsIgnoreCase(t, "true") || t == "1")
                return Value(true);
            if (text::EqualsIgnoreCase(t, "false") || t == "0")
                return Value(false);
            fail(bad());
        }
        case FieldType::Nested:
            break;
        }
        return Value();
    }

    detail::Rows readRows(pugi::xml_node parent, const std::vector<PacketField>& fields) {
        std::map<std::string, int> byName;
        for (size_t i = 0; i < fields.size(); ++i)
            byName[text::Lower(fields[i].name)] = static_cast<int>(i);
        detail::Rows rows;
        for (pugi::xml_node n : parent.children()) {
            if (!IsRowElement(n))
                continue;
            detail::Row row;
            row.values.resize(fields.size());
            row.nested.resize(fields.size());
            // Attributes that are no field (RowState, for one) are not data.
            for (pugi::xml_attribute a : n.attributes()) {
                auto it = byName.find(text::Lower(a.name()));
                if (it == byName.end() || fields[it->second].type == FieldType::Nested)
                    continue;
                row.values[it->second] = readValue(fields[it->second], a.value());
            }
            for (pugi::xml_node child : n.children()) {
                if (child.type() != pugi::node_element)
                    continue;
                auto it = byName.find(text::Lower(child.name()));
                if (it == byName.end() || fields[it->second].type != FieldType::Nested)
                    continue;
                row.nested[it->second] = readRows(child, fields[it->second].fields);
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    std::string where_;
};

void AppendEscaped(std::string& out, std::string_view s) {
    for (char c : s) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#013;";
            break;
        case '\n':
            out += "&#010;";
            break;
        case '\t':
            out += "&#009;";
            break;
        case '\\':
            out += "&#092;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                std::string code = std::to_string(static_cast<int>(c));
                out += "&#" + std::string(3 - code.size(), '0') + code + ";";
            } else {
                out += c;
            }
        }
    }
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscaped(out, value);
    out += '"';
}

void WriteFields(std::string& out, const std::vector<PacketField>& fields, int indent) {
    std::string pad(indent, ' ');
    out += pad + "<FIELDS>\n";
    for (const PacketField& f : fields) {
        out += pad + "  <FIELD";
        AppendAttribute(out, "attrname", f.name);
        AppendAttribute(out, "fieldtype", WriteTypeName(f.type));
        if (f.type == FieldType::String)
            AppendAttribute(out, "WIDTH", std::to_string(f.width));
        if (!f.subtype.empty())
            AppendAttribute(out, "SUBTYPE", f.subtype);
        if (f.required)
            AppendAttribute(out, "required", "true");
        if (f.type == FieldType::Nested) {
            out += ">\n";
            WriteFields(out, f.fields, indent + 4);
            out += pad + "    <PARAMS/>\n";
            out += pad + "  </FIELD>\n";
        } else {
            out += "/>\n";
        }
    }
    out += pad + "</FIELDS>\n";
}

void WriteRows(std::string& out, const std::vector<PacketField>& fields, const detail::Rows& rows,
               int indent) {
    std::string pad(indent, ' ');
    for (const detail::Row& row : rows) {
        out += pad + "<ROW";
        bool hasNested = false;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].type == FieldType::Nested) {
                hasNested = hasNested || !row.nested[i].empty();
                continue;
            }
            if (!row.values[i].isNull())
                AppendAttribute(out, fields[i].name, row.values[i].toString());
        }
        if (!hasNested) {
            out += "/>\n";
            continue;
        }
        out += ">\n";
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].type != FieldType::Nested || row.nested[i].empty())
                continue;
            const std::string& name = fields[i].name;
            out += pad + "  <" + name + ">\n";
            WriteRows(out, fields[i].fields, row.nested[i], indent + 4);
            out += pad + "  </" + name + ">\n";
        }
        out += pad + "</ROW>\n";
    }
}

} // namespace

PacketData ReadXmlPacket(std::string_view xml, const std::string& source) {
    return XmlReader(source).read(xml);
}

std::string WriteXmlPacket(const PacketData& packet) {
    std::string out = "<?xml version=\"1.0\" standalone=\"yes\"?>\n";
    out += "<DATAPACKET Version=\"2.0\">\n";
    out += "  <METADATA>\n";
    WriteFields(out, packet.fields, 4);
    out += "    <PARAMS/>\n";
    out += "  </METADATA>\n";
    out += "  <ROWDATA>\n";
    WriteRows(out, packet.fields, packet.rows, 4);
    out += "  </ROWDATA>\n";
    out += "</DATAPACKET>\n";
    return out;
}

} // namespace zrn::ds
