#pragma once

#include <string>
#include <string_view>

namespace zrn::ds {

class Table;

// Reading and writing tables as data packets.
//
// Loading replaces the table's rows (and, for a table without declared stored fields, its
// fields) with the packet's, then opens the table on its first row. A table that declares
// stored fields takes from the packet exactly those (matched by name, case-insensitively);
// a declared Data field missing from the packet is an error, InternalCalc fields may be
// missing, and extra packet fields are ignored. Calculated fields are never read or
// written. The packet is parsed completely before anything changes: a failing load leaves
// the table closed with its previous contents, and throws a zrn::Error naming the source
// (when given) and what is wrong. Loading closes the table first (see Table::close).
//
// Saving writes the posted rows (an open edit is not included) of every stored field.
//
// XML form: <?xml version="1.0" standalone="yes"?>, DATAPACKET Version="2.0" holding
// METADATA (FIELDS with one FIELD per stored field: attrname, fieldtype "string" with WIDTH,
// "r8", "i4", "boolean" or "nested" with its own FIELDS; SUBTYPE when set; required="true";
// then PARAMS) and ROWDATA (one ROW per row, one attribute per non-null value). The rows of
// a nested field are a child element of their ROW named after the field, holding ROW
// elements: <ROW a="1"><zones><ROW index="1"/></zones></ROW>. Numbers use "." in their
// shortest exact form, yes/no "TRUE"/"FALSE". In values the characters < > " & ' CR LF
// TAB and backslash are written as &lt; &gt; &quot; &amp; &apos; &#013; &#010; &#009;
// &#092;. Reading also accepts nested row elements named "ROW" + anything, rows with a
// RowState (read as plain rows), other integer and real types (i1, i2, i8, ui*, r4,
// fixed), text that is not UTF-8 (read as Windows-1252), and reads unknown field types as
// text.
//
// Binary form, little endian throughout:
//   magic    8 bytes  "ZRNTABL" followed by 0x1A
//   version  u16      1
//   fields   schema
//   rows     rowset   (for the schema above)
//   nothing may follow.
//   schema := u32 count, then per field: str name, u8 type (0 text, 1 real, 2 whole,
//             3 yes/no, 4 nested), u32 width, str subtype, u8 flags (bit 0: required),
//             and for a nested field its own schema (at most 16 levels deep).
//   rowset := u32 count, then per row per field of the schema: for a nested field a
//             rowset; else u8 tag (0 null, 1 value) and, after tag 1, the value:
//             text str, real f64, whole i32, yes/no u8 (0 or 1).
//   str    := u32 byte length, then that many UTF-8 bytes.
// A wrong magic or version, a count or length that overruns the data, an unknown type or
// tag, or bytes after the rows are refused with an error.

//! Loads an XML data packet (version "2.0"); source names the file in messages.
void LoadFromXml(Table& table, std::string_view xml, const std::string& source = {});
//! The table as an XML data packet version "2.0" (UTF-8, no encoding declared).
std::string SaveToXml(const Table& table);

//! Loads a binary packet written by SaveToBinary.
void LoadFromBinary(Table& table, std::string_view bytes, const std::string& source = {});
//! The table as a binary packet (format above).
std::string SaveToBinary(const Table& table);

//! True when the bytes begin with the binary packet's magic number.
bool IsBinaryPacket(std::string_view bytes);
//! Loads either form, told apart by content: the binary magic, else XML.
void LoadFromBytes(Table& table, std::string_view bytes, const std::string& source = {});

//! Loads a file of either form; a missing or unreadable file is an error naming it.
void LoadFromFile(Table& table, const std::string& path);
//! Writes the table to a file: XML when the extension is ".xml" in any case, else binary.
//! The file is written beside the target under a temporary name and renamed over it
//! only when the whole write succeeded.
void SaveToFile(const Table& table, const std::string& path);

} // namespace zrn::ds
