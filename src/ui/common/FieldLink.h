#pragma once

#include "dataset/DataSource.h"
#include "dataset/TableObserver.h"

#include <functional>
#include <string>

namespace zrn::ds {
class Field;
class Table;
} // namespace zrn::ds

namespace zrn::ui {

//! The tie between one bound control and one field of a table: it observes the table and
//! calls back whenever what the control shows may have changed (the field's value, the
//! current row, the table's state, a refresh).
//!
//! The field is looked up by name whenever it is needed, so a table that is reloaded with
//! new field objects never leaves the control holding a stale one. The link is bound either
//! to a data source of the caller (its auto-edit switch then applies) or to a bare table,
//! for which it keeps a data source of its own.
class FieldLink : public ds::TableObserver {
public:
    //! A link that calls changed whenever the control must show its field again.
    explicit FieldLink(std::function<void()> changed);
    ~FieldLink() override;

    //! Binds through the caller's data source (kept, not owned). Bind again after giving
    //! the data source another table.
    void setDataSource(ds::DataSource* source);
    //! Binds to a table through a data source of the link's own (auto edit on).
    void setTable(ds::Table* table);
    //! Names the field shown.
    void setFieldName(std::string name);

    //! The field's name.
    const std::string& fieldName() const { return fieldName_; }
    //! The bound table, or null (also after it was destroyed).
    ds::Table* table() const { return table_; }
    //! The data source used for writing, or null when unbound.
    ds::DataSource* dataSource() const;
    //! The field, or null when the table lacks it or there is no table.
    ds::Field* field() const;
    //! True when the user may change the field: the table is open and writable and the
    //! field exists and is a writable, stored one.
    bool canModify() const;
    //! Starts editing the current row when the data source allows it; true when the table
    //! is in edit or insert state.
    bool ensureEditing();

    void fieldChanged(ds::Table& table, ds::Field& field) override;
    void recordChanged(ds::Table& table) override;
    void scrolled(ds::Table& table) override;
    void stateChanged(ds::Table& table) override;
    void rowsInserted(ds::Table& table, int first, int count) override;
    void rowsRemoved(ds::Table& table, int first, int count) override;
    void refreshed(ds::Table& table) override;
    void tableDestroyed(ds::Table& table) override;

private:
    void bind(ds::Table* table);
    void changed();

    std::function<void()> changed_;
    ds::DataSource ownSource_;
    ds::DataSource* source_ = nullptr;
    ds::Table* table_ = nullptr;
    std::string fieldName_;
};

} // namespace zrn::ui
