#pragma once

#include <string>

namespace zrn::ds {
class Table;
}

// Reading and writing the program's table files.
//
// Table files always use "." as decimal separator: every operation here forces the file
// number format for its duration and puts the user's back afterwards, also on failure.
// A table file named "x.xml" may be overridden by "x.CDS" beside it (the maintenance
// module's saved edits); names are matched without regard to case, since the delivered
// files are spelt "ketting.XML" and the program asks for "ketting.xml".

namespace zrn::common {

//! The whole file as text: every line (ended by CR, LF or CR LF, or by the end of the file)
//! followed by CR LF. A file that cannot be opened is an error naming it.
std::string ReadTextFile(const std::string& fileName);

//! The file a load of fileName reads: its ".CDS" override when one exists, else the file
//! itself (both found without regard to case), else fileName unchanged.
std::string FindTableSource(const std::string& fileName);

//! Reads exactly that file into the table, binary or XML packet (told apart by content),
//! and leaves the table open on its first row. The table is closed first (a bound table
//! writes its unsaved changes back then); its binding is not touched. A failure leaves the
//! table closed and is reported unchanged (naming the file).
void ReadTableFile(ds::Table& table, const std::string& fileName);

//! Fills the table from the file, preferring its ".CDS" override. The table ends open on
//! its first row and bound to no file, so later edits never reach the file. A failure
//! (missing file, not a data packet, a declared field missing) leaves the table closed and
//! is reported unchanged.
void LoadTable(ds::Table& table, const std::string& fileName);

//! Writes the table to the file: an open edit or insert is posted first, the file is in the
//! XML form when its extension is ".xml" in any case and in the binary form otherwise. The
//! file is replaced only when the whole write succeeded; only then do the pending changes
//! become the table's base data, so a failed save keeps them pending.
void SaveTable(ds::Table& table, const std::string& fileName);

} // namespace zrn::common
