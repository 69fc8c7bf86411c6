#pragma once

#include <vector>

namespace zrn::ds {

class Field;
class Table;

//! A view of one or more tables (a "data link"): a grid model, a bound control.
//!
//! Register with Table::attach. Tables tell their observers what changed; every callback
//! has an empty default, so an observer overrides only what it shows. Row positions are
//! 0-based positions among the table's visible rows. While a table's controls are
//! disabled it tells nothing, and enableControls() sends one refreshed().
//!
//! Either side may go first: an observer that is destroyed leaves every table it
//! observes, and a table that is destroyed calls tableDestroyed() and forgets its
//! observers. Callbacks must not throw.
class TableObserver {
public:
    TableObserver() = default;
    virtual ~TableObserver();
    TableObserver(const TableObserver&) = delete;
    TableObserver& operator=(const TableObserver&) = delete;

    //! A field of the current row got a new value or must be shown again.
    virtual void fieldChanged(Table& table, Field& field) {}
    //! The values of the current row changed as a whole (post, cancel, edit started).
    virtual void recordChanged(Table& table) {}
    //! The current row moved to another row.
    virtual void scrolled(Table& table) {}
    //! The table went to another state (browse, edit, insert, closed).
    virtual void stateChanged(Table& table) {}
    //! Rows first..first+count-1 are about to appear (Qt's beginInsertRows).
    virtual void rowsAboutToBeInserted(Table& table, int first, int count) {}
    //! Rows first..first+count-1 appeared.
    virtual void rowsInserted(Table& table, int first, int count) {}
    //! Rows first..first+count-1 are about to go (Qt's beginRemoveRows).
    virtual void rowsAboutToBeRemoved(Table& table, int first, int count) {}
    //! Rows first..first+count-1 went.
    virtual void rowsRemoved(Table& table, int first, int count) {}
    //! Anything may have changed: rows, order, fields, state (open, close, filter, index,
    //! load, master moved, enableControls).
    virtual void refreshed(Table& table) {}
    //! The table is being destroyed; the observer is already detached from it.
    virtual void tableDestroyed(Table& table) {}

    //! The tables this observer is attached to.
    const std::vector<Table*>& observedTables() const { return tables_; }

private:
    friend class Table;
    std::vector<Table*> tables_;
};

} // namespace zrn::ds
