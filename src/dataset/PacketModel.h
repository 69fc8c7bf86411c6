#pragma once

#include "dataset/Field.h"
#include "dataset/Row.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The table as the packet forms see it: a field list and rows laid out by that list.
// Readers build it before anything of the table changes; writers are fed from it.
namespace zrn::ds {

class Table;

//! One field as a packet describes it.
struct PacketField {
    std::string name;
    FieldType type = FieldType::String;
    int width = 0;
    std::string subtype;
    bool required = false;
    std::vector<PacketField> fields; //!< of a nested field
};

//! A whole packet: rows hold one value (or nested rowset) per packet field.
struct PacketData {
    std::vector<PacketField> fields;
    detail::Rows rows;
};

//! Deepest nesting a packet may have; deeper ones are refused as malformed.
inline constexpr int MaxPacketDepth = 16;

//! The packet's view of the table and its classes' private parts.
class PacketAccess {
public:
    //! The stored fields and posted rows of a table.
    static PacketData Extract(const Table& table);
    //! Replaces the table's rows (and undeclared fields) with the packet's, then opens it.
    static void Apply(Table& table, PacketData packet, const std::string& source);
    //! True for a field the program declared, false for one taken from a file.
    static bool IsDeclared(const Field& field);

    struct Plan;

private:
    static std::unique_ptr<Plan> MakePlan(Table* table, const std::vector<PacketField>& fields,
                                          const std::string& source);
    static void Commit(Table& table, Plan& plan);
};

//! "\"<source>\": " or "" when there is no source, in front of packet error messages.
std::string SourcePrefix(const std::string& source);

//! Reads an XML data packet.
PacketData ReadXmlPacket(std::string_view xml, const std::string& source);
//! Writes an XML data packet.
std::string WriteXmlPacket(const PacketData& packet);
//! Reads a binary packet.
PacketData ReadBinaryPacket(std::string_view bytes, const std::string& source);
//! Writes a binary packet.
std::string WriteBinaryPacket(const PacketData& packet);

} // namespace zrn::ds
