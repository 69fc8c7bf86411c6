#pragma once

namespace zrn::ds {

class Table;

//! What a data-aware control is bound through: a table and whether typing into a control
//! may start editing the table's current row by itself (auto edit, on by default).
class DataSource {
public:
    explicit DataSource(Table* table = nullptr) : table_(table) {}

    //! The table, or null.
    Table* table() const { return table_; }
    //! Binds another table (or none).
    void setTable(Table* table) { table_ = table; }
    //! True when controls may start editing by themselves.
    bool autoEdit() const { return autoEdit_; }
    //! Allows or forbids starting an edit from a control.
    void setAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }

    //! Before a control writes: when the table is open and browsing and auto edit is on,
    //! starts editing. True when the table is now in edit or insert state.
    bool ensureEditing();

private:
    Table* table_ = nullptr;
    bool autoEdit_ = true;
};

} // namespace zrn::ds
