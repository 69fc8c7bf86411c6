#include "dataset/Packet.h"
#include "dataset/PacketModel.h"
#include "rtl/Error.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// The binary packet of this program (layout in Packet.h).
namespace zrn::ds {

namespace {

constexpr char kMagic[8] = {'Z', 'R', 'N', 'T', 'A', 'B', 'L', '\x1A'};
constexpr uint16_t kVersion = 1;

enum class Tag : uint8_t { Null = 0, Value = 1 };

uint8_t TypeCode(FieldType type) {
    switch (type) {
    case FieldType::String:
        return 0;
    case FieldType::Float:
        return 1;
    case FieldType::Integer:
        return 2;
    case FieldType::Boolean:
        return 3;
    case FieldType::Nested:
        return 4;
    }
    return 0;
}

class Writer {
public:
    void bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
    void u8(uint8_t v) { out_ += static_cast<char>(v); }
    void u16(uint16_t v) {
        for (int i = 0; i < 2; ++i)
            u8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void u64(uint64_t v) {
        for (int i = 0; i < 8; ++i)
            u8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void str(const std::string& s) {
        u32(static_cast<uint32_t>(s.size()));
        bytes(s.data(), s.size());
    }

    void schema(const std::vector<PacketField>& fields) {
        u32(static_cast<uint32_t>(fields.size()));
        for (const PacketField& f : fields) {
            str(f.name);
            u8(TypeCode(f.type));
            u32(static_cast<uint32_t>(f.width));
            str(f.subtype);
            u8(f.required ? 1 : 0);
            if (f.type == FieldType::Nested)
                schema(f.fields);
        }
    }

    void rows(const std::vector<PacketField>& fields, const detail::Rows& rows) {
        u32(static_cast<uint32_t>(rows.size()));
        for (const detail::Row& row : rows)
            for (size_t i = 0; i < fields.size(); ++i) {
                if (fields[i].type == FieldType::Nested) {
                    this->rows(fields[i].fields, row.nested[i]);
                    continue;
                }
                const Value& v = row.values[i];
                if (v.isNull()) {
                    u8(static_cast<uint8_t>(Tag::Null));
                    continue;
                }
                u8(static_cast<uint8_t>(Tag::Value));
                switch (fields[i].type) {
                case FieldType::String:
                    str(v.asString());
                    break;
                case FieldType::Float: {
                    double d = v.asFloat();
                    uint64_t bits;
                    std::memcpy(&bits, &d, sizeof bits);
                    u64(bits);
                    break;
                }
                case FieldType::Integer:
                    u32(static_cast<uint32_t>(static_cast<int32_t>(v.asInteger())));
                    break;
                case FieldType::Boolean:
                    u8(v.asBoolean() ? 1 : 0);
                    break;
                case FieldType::Nested:
                    break;
                }
            }
    }

    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

class Reader {
public:
    Reader(std::string_view data, const std::string& source)
        : data_(data), where_(SourcePrefix(source)) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw Error(where_ + "not a valid table file (" + what + " at byte " +
                    std::to_string(pos_) + ")");
    }

    void need(size_t n) const {
        if (n > data_.size() - pos_)
            fail("unexpected end of data");
    }
    uint8_t u8() {
        need(1);
        return static_cast<uint8_t>(data_[pos_++]);
    }
    uint16_t u16() {
        need(2);
        uint16_t v = 0;
        for (int i = 0; i < 2; ++i)
            v |= static_cast<uint16_t>(static_cast<uint8_t>(data_[pos_++])) << (8 * i);
        return v;
    }
    uint32_t u32() {
        need(4);
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(static_cast<uint8_t>(data_[pos_++])) << (8 * i);
        return v;
    }
    uint64_t u64() {
        need(8);
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v |= static_cast<uint64_t>(static_cast<uint8_t>(data_[pos_++])) << (8 * i);
        return v;
    }
    std::string str() {
        uint32_t n = u32();
        need(n);
        std::string s(data_.substr(pos_, n));
        pos_ += n;
        return s;
    }
    // A count can never exceed the bytes left: every element takes at least one byte.
    uint32_t count(size_t minBytesEach) {
        uint32_t n = u32();
        if (minBytesEach > 0 && n > (data_.size() - pos_) / minBytesEach)
            fail("a count of " + std::to_string(n) + " overruns the data");
        return n;
    }

    void header() {
        if (data_.size() < sizeof kMagic || std::memcmp(data_.data(), kMagic, sizeof kMagic) != 0)
            throw Error(where_ + "not a table file of this program");
        pos_ = sizeof kMagic;
        uint16_t version = u16();
        if (version != kVersion)
            throw Error(where_ + "unsupported table file version " + std::to_string(version));
    }

    std::vector<PacketField> schema(int depth) {
        if (depth > MaxPacketDepth)
            fail("fields nested too deeply");
        // A field takes at least 14 bytes: two lengths, type, width and flags.
        uint32_t n = count(14);
        std::vector<PacketField> fields;
        fields.reserve(n);
        for (uint32_t i = 0; i < n; ++i) {
            PacketField f;
            f.name = str();
            if (f.name.empty())
                fail("a field without a name");
            uint8_t type = u8();
            if (type > 4)
                fail("unknown field type " + std::to_string(type));
            f.type = static_cast<FieldType>(type);
            uint32_t width = u32();
            if (width > 1000000)
                fail("invalid width " + std::to_string(width));
            f.width = static_cast<int>(width);
            f.subtype = str();
            uint8_t flags = u8();
            if (flags > 1)
                fail("unknown field flags");
            f.required = flags & 1;
            if (f.type == FieldType::Nested)
                f.fields = schema(depth + 1);
            fields.push_back(std::move(f));
        }
        return fields;
    }

    detail::Rows rows(const std::vector<PacketField>& fields) {
        // A row takes at least one byte per field (a tag, or a nested count of four).
        uint32_t n = count(fields.empty() ? 0 : fields.size());
        if (fields.empty() && n > 0)
            fail("rows without fields");
        detail::Rows out;
        out.reserve(n);
        for (uint32_t r = 0; r < n; ++r) {
            detail::Row row;
            row.values.resize(fields.size());
            row.nested.resize(fields.size());
            for (size_t i = 0; i < fields.size(); ++i) {
                if (fields[i].type == FieldType::Nested) {
                    row.nested[i] = rows(fields[i].fields);
                    continue;
                }
                uint8_t tag = u8();
                if (tag == static_cast<uint8_t>(Tag::Null))
                    continue;
                if (tag != static_cast<uint8_t>(Tag::Value))
                    fail("unknown value tag " + std::to_string(tag));
                switch (fields[i].type) {
                case FieldType::String:
                    row.values[i] = Value(str());
                    break;
                case FieldType::Float: {
                    uint64_t bits = u64();
                    double d;
                    std::memcpy(&d, &bits, sizeof d);
                    if (!std::isfinite(d))
                        fail("invalid number");
                    row.values[i] = Value(d);
                    break;
                }
                case FieldType::Integer:
                    row.values[i] = Value(static_cast<long long>(static_cast<int32_t>(u32())));
                    break;
                case FieldType::Boolean: {
                    uint8_t b = u8();
                    if (b > 1)
                        fail("invalid yes/no value");
                    row.values[i] = Value(b == 1);
                    break;
                }
                case FieldType::Nested:
                    break;
                }
            }
            out.push_back(std::move(row));
        }
        return out;
    }

    void end() const {
        if (pos_ != data_.size())
            fail("data after the rows");
    }

private:
    std::string_view data_;
    std::string where_;
    size_t pos_ = 0;
};

} // namespace

bool IsBinaryPacket(std::string_view bytes) {
    return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

PacketData ReadBinaryPacket(std::string_view bytes, const std::string& source) {
    Reader r(bytes, source);
    r.header();
    PacketData data;
    data.fields = r.schema(1);
    data.rows = r.rows(data.fields);
    r.end();
    return data;
}

std::string WriteBinaryPacket(const PacketData& packet) {
    Writer w;
    w.bytes(kMagic, sizeof kMagic);
    w.u16(kVersion);
    w.schema(packet.fields);
    w.rows(packet.fields, packet.rows);
    return w.take();
}

} // namespace zrn::ds
