#pragma once

#include "common/DataDirectory.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zrn::ds {
class Table;
}

namespace zrn::common {

//! The table catalogue of the maintenance module: one table for every reference table of
//! the data directory, the language list, the unit file and (on demand) one language file,
//! sorted into five groups for the maintenance window's tree.
//!
//! What always holds:
//! - Every table except `Taal` is read once, by OpenTables, from its file (its ".CDS"
//!   override when one exists) and stays bound to the file it was read from; a table whose
//!   file was missing or unreadable stays closed, and opening it later reports why.
//! - A bound table that holds unsaved changes writes them back to its bound file, in the
//!   form its extension calls for, when it is closed or destroyed. Saving (SaveCurrentTable)
//!   writes to the ".CDS" override instead and keeps the binding.
//! - Directories are properties of their own: writing one reads nothing.
class Tdm_onderhoud {
public:
    //! The catalogue of the program: "data" and "taal" beside the executable, tables read.
    Tdm_onderhoud();
    //! A catalogue on the given directories (completed like DataDirectory), tables read.
    Tdm_onderhoud(const std::string& dataDirectory, const std::string& taalDirectory);
    ~Tdm_onderhoud();
    Tdm_onderhoud(const Tdm_onderhoud&) = delete;
    Tdm_onderhoud& operator=(const Tdm_onderhoud&) = delete;

    // ---- directories ----

    //! The completed data directory, ending in the separator.
    const std::string& DataDirectory() const { return dataDirectory_.value(); }
    //! Stores and completes a different data directory; reads no table.
    void SetDataDirectory(const std::string& value) { dataDirectory_.set(value); }
    //! The completed language directory, ending in the separator.
    const std::string& TaalDirectory() const { return taalDirectory_.value(); }
    //! Stores and completes a different language directory; reads no table.
    void SetTaalDirectory(const std::string& value) { taalDirectory_.set(value); }

    // ---- reading ----

    //! Reads every table except `Taal` from the current directories (LoadEditableTable).
    void OpenTables();
    //! Reads the table from the file or its ".CDS" override and binds it to the file read.
    //! Any failure is swallowed and leaves the table closed; false then.
    bool LoadEditableTable(ds::Table& table, const std::string& fileName);

    // ---- groups ----

    //! Number of groups: 0 general, 1 language, 2 belt, 3 chain, 4 flexbelt.
    int GroupCount() const { return 5; }
    //! The fixed caption of a group ("" for a group that does not exist).
    std::string GetGroupCaption(int group) const;
    //! The items of a group, each followed by CR LF: the table names in component order, or
    //! for group 1 the `Taal` code of every row of `Talen` (none while `Talen` is closed).
    std::string GetGroupItems(int group);

    // ---- editing ----

    //! Makes an item the current table and opens it: for group 1 the language of that code,
    //! read from the language directory (".CDS" preferred) and bound to the file read;
    //! otherwise the table of that name in the group. Null (current table unchanged) for an
    //! unknown table. Reading a table whose file could not be read reports the error.
    ds::Table* OpenItem(int group, const std::string& itemName);
    //! Posts an open edit and writes the current table in the binary form to the ".CDS"
    //! override of its bound file; the table stays bound to the file it was read from.
    void SaveCurrentTable();
    //! Drops an open edit and every change since the current table was read or last saved.
    void CancelCurrentTable();
    //! True when there is a current table and it is open.
    bool HasCurrentTable() const;
    //! True when the current table is open and holds unsaved changes or an open edit.
    bool HasPendingChanges() const;
    //! The table being edited, or null.
    ds::Table* CurrentTable() const { return current_; }
    //! Unbinds the current table from its file, so closing it writes nothing (the window
    //! does this before it goes, dropping unsaved edits of the table shown).
    void UnbindCurrentTable();

    // ---- tables ----

    //! The language list (`Taal`, `Display`), which the main window builds its menu from.
    ds::Table& Talen() const;
    //! The table of the language file opened last.
    ds::Table& Taal() const;
    //! The table of that name (case-insensitive), or null.
    ds::Table* FindTable(std::string_view name) const;

private:
    struct Entry {
        std::unique_ptr<ds::Table> table;
        int group = 0;
        std::string file; //!< file name inside its directory ("" for Taal)
        bool inTaalDirectory = false;
        std::string order;   //!< index field names set after every read
        bool loaded = false; //!< the last read succeeded
    };

    void declareTables();
    Entry& addEntry(const std::string& name, int group, std::string file,
                    bool inTaalDirectory = false, std::string order = {});
    Entry* findEntry(const ds::Table& table);
    Entry* findEntry(int group, std::string_view name);
    std::string pathOf(const Entry& entry) const;
    void readBound(ds::Table& table, const std::string& fileName, Entry* entry);
    void openLanguage(const std::string& code);

    DataDirectoryProperty dataDirectory_;
    DataDirectoryProperty taalDirectory_;
    std::vector<Entry> entries_;
    ds::Table* talen_ = nullptr;
    ds::Table* taal_ = nullptr;
    ds::Table* current_ = nullptr;
};

} // namespace zrn::common
