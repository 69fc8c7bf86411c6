#pragma once

#include "dataset/Aggregate.h"
#include "dataset/Field.h"
#include "dataset/Row.h"
#include "dataset/TableObserver.h"
#include "dataset/Value.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zrn::ds {

class Expression;
class RowPeek;

//! Where a table stands.
enum class TableState {
    Inactive, //!< closed: no cursor, no rows visible (the data stays in memory)
    Browse,   //!< open, not editing
    Edit,     //!< the current row is being changed in an edit buffer
    Insert    //!< a new row is being filled in an edit buffer
};

//! How locate() compares texts.
struct LocateOptions {
    bool caseInsensitive = false; //!< compare texts without regard to (ASCII) case
    bool partialKey = false;      //!< a text matches when it begins with the value
};

//! A remembered row. Stays valid across edits, posts, reorders and filters of the row;
//! going to a bookmark whose row was deleted (or is filtered out) is an error.
class Bookmark {
public:
    Bookmark() = default;
    //! False for a bookmark taken on an empty or closed table.
    bool isSet() const { return id_ != 0; }
    bool operator==(const Bookmark&) const = default;

private:
    friend class Table;
    explicit Bookmark(unsigned long long id) : id_(id) {}
    unsigned long long id_ = 0;
};

//! An in-memory table: field definitions, rows, a cursor, editing with an edit buffer,
//! order, filters, a change log, aggregates and observers.
//!
//! What always holds:
//! - The visible rows are the stored rows that pass the filter, in index order (stable:
//!   rows with equal keys keep their stored order). A row being inserted is visible at its
//!   insert position until it is posted or cancelled.
//! - Moving the cursor (first/next/prior/last/setRecNo/locate/gotoBookmark) first ends an
//!   open edit: a modified row is posted, an unmodified one is cancelled.
//! - A failed operation leaves the table as it was (a refused post keeps the row in edit).
//! - A detail table (the nestedTable() of a Nested field) shows the nested rows of its
//!   master's current row; editing it puts the master into edit, and posting it writes into
//!   the master's edit buffer. The detail object lives as long as its field, whatever
//!   happens to the master's rows. When the master's current row changes, the detail goes
//!   to its first row and its observers get refreshed(); no scroll events of the detail run
//!   (call first() for those).
//! - Messages of errors are zrn::Error texts for the user.
class Table {
public:
    //! An empty, closed table; the name appears in error messages.
    explicit Table(std::string name = {});
    //! Tells the observers; a bound table with unmerged changes is written back first, as
    //! close() does (a failure to write can be reported to nobody then and is ignored).
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    //! The name given at construction.
    const std::string& name() const { return name_; }

    // ---- fields ----

    //! Declares a field (only while closed); the table takes ownership. Returns it.
    Field& addField(std::unique_ptr<Field> field);
    //! Declares a field of a subclass: add<TMetricField>("lengte", ...).
    template <class F, class... Args> F& add(Args&&... args) {
        auto field = std::make_unique<F>(std::forward<Args>(args)...);
        F& ref = *field;
        addField(std::move(field));
        return ref;
    }
    //! Declares a text field of the given width in characters.
    Field& addStringField(const std::string& name, int width);
    //! Declares a real-number field.
    Field& addFloatField(const std::string& name);
    //! Declares a whole-number field.
    Field& addIntegerField(const std::string& name);
    //! Declares a yes/no field.
    Field& addBooleanField(const std::string& name);
    //! Declares a nested field; declare the detail's fields on its nestedTable().
    Field& addNestedField(const std::string& name);
    //! Removes every field (only while closed).
    void clearFields();
    //! Number of fields.
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    //! The field at a position.
    Field& field(int index) const { return *fields_.at(index); }
    //! The field of that name (case-insensitive), or null.
    Field* findField(std::string_view name) const;
    //! The field of that name; throws "Field '<name>' not found" when there is none.
    Field& fieldByName(std::string_view name) const;

    // ---- aggregates ----

    //! Defines an aggregate such as addAggregate("SomLengte", "sum(lengte)").
    Aggregate& addAggregate(const std::string& name, const std::string& expression);
    //! The aggregate of that name (case-insensitive), or null.
    Aggregate* findAggregate(std::string_view name) const;
    //! The aggregate of that name; throws when there is none.
    Aggregate& aggregateByName(std::string_view name) const;

    // ---- open, close, state ----

    //! Opens the table on the rows in memory (declared fields, no rows at first) and goes
    //! to the first row. A detail table opens only while its master is open.
    void open();
    //! Closes the table: an open edit is cancelled; when the table is bound to a file and
    //! holds unmerged changes, the change log is merged and the table written to that file.
    //! The rows stay in memory: open() shows them again.
    void close();
    //! True when open.
    bool isActive() const;
    //! The current state.
    TableState state() const { return isActive() ? state_ : TableState::Inactive; }
    //! True in Edit or Insert state.
    bool isEditing() const;
    //! True when a field was written since edit()/insert() began.
    bool modified() const { return modified_; }

    // ---- cursor ----

    //! Number of visible rows (0 when closed).
    int recordCount() const;
    //! True when there is no visible row.
    bool isEmpty() const { return recordCount() == 0; }
    //! 1-based position of the current row among the visible rows; 0 when there is none.
    int recNo() const;
    //! Goes to the row at that 1-based position.
    void setRecNo(int recNo);
    //! Goes to the first row; sets bof.
    void first();
    //! Goes to the last row; sets eof.
    void last();
    //! Goes one row on; at the last row sets eof and stays.
    void next();
    //! Goes one row back; at the first row sets bof and stays.
    void prior();
    //! True after next() on the last row, after last(), or on an empty table.
    bool eof() const;
    //! True after prior() on the first row, after first(), or on an empty table.
    bool bof() const;
    //! Goes to the first visible row whose fields ("a;b") match the values; true when found.
    //! Numbers compare as numbers, texts exactly and case-sensitively unless options say
    //! otherwise. The cursor stays where it was when nothing matches.
    bool locate(std::string_view fieldNames, const std::vector<Value>& values,
                LocateOptions options = {});
    //! Remembers the current row (an unset bookmark on an empty table).
    Bookmark bookmark() const;
    //! True when the bookmarked row is visible.
    bool bookmarkValid(const Bookmark& bookmark) const;
    //! Goes back to a remembered row; throws "Record not found: ..." when it is gone.
    void gotoBookmark(const Bookmark& bookmark);
    //! Makes a visible row the active row for reading, without moving the cursor and
    //! without events, while the returned guard lives (grids reading any row).
    RowPeek peekRow(int position);

    // ---- order and filter ----

    //! Orders the visible rows by fields "a;b" (numbers as numbers, texts byte-wise, nulls
    //! first); "" restores the stored order. Unknown fields are an error.
    void setIndexFieldNames(const std::string& fieldNames);
    //! The current order.
    const std::string& indexFieldNames() const { return indexFieldNames_; }
    //! Sets the filter expression, e.g. "(matserie = 12) and (afst_tm >= 0.5)". A malformed
    //! expression or, while filtering, an unknown field is an error naming the expression;
    //! the previous filter then stays.
    void setFilter(const std::string& expression);
    //! The filter expression.
    const std::string& filter() const { return filterText_; }
    //! Switches filtering (expression and handler together) on or off.
    void setFiltered(bool filtered);
    //! True while filtering.
    bool filtered() const { return filtered_; }
    //! Sets a handler that accepts (true) or refuses each row; it reads the row through
    //! the fields. Takes effect while filtering. An empty function removes it.
    void setFilterHandler(std::function<bool(Table&)> handler);
    //! Applies the filter and order again (after a change the filter depends on).
    void refresh();

    // ---- observers ----

    //! Registers an observer (once; attaching twice has no effect).
    void attach(TableObserver& observer);
    //! Deregisters an observer.
    void detach(TableObserver& observer);
    //! Suspends observer notifications; nests.
    void disableControls();
    //! Ends one disableControls(); the outermost sends one refreshed().
    void enableControls();
    //! True while notifications are suspended.
    bool controlsDisabled() const { return disableCount_ > 0; }

    // ---- editing ----

    //! Starts editing the current row; on an empty table appends a new row instead.
    //! Does nothing while already editing.
    void edit();
    //! Starts a new row before the current one (defaults applied, then onNewRecord).
    void insert();
    //! Starts a new row at the end (defaults applied, then onNewRecord).
    void append();
    //! Stores the edited row: beforePost, required and constraint checks, store, afterPost.
    //! A refused post leaves the row in edit. Does nothing while browsing.
    void post();
    //! Drops the edit buffer (an inserted row disappears). Does nothing while browsing.
    void cancel();
    //! Deletes the current row (cancelling an insert deletes the new row).
    void deleteRecord();
    //! Deletes every row.
    void emptyTable();
    //! Ends an open edit as a move does: post when modified, else cancel.
    void checkBrowseMode();
    //! A read-only table refuses edit, insert, delete and every field write.
    void setReadOnly(bool readOnly);
    //! True when read-only.
    bool readOnly() const { return readOnly_; }

    // ---- change log ----

    //! Number of posts and deletes since the last load or merge (of the master for a
    //! detail table).
    int changeCount() const;
    //! Makes the current rows the base that cancelUpdates returns to.
    void mergeChangeLog();
    //! Cancels an open edit and restores the rows as they were at the last load or merge.
    void cancelUpdates();

    // ---- nesting ----

    //! The master of a detail table, or null.
    Table* master() const { return master_; }
    //! The master's Nested field this detail belongs to, or null.
    Field* masterField() const;

    // ---- file binding ----

    //! Binds the table to a file: close() writes unmerged changes back to it. "" unbinds.
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    //! The bound file ("" when unbound).
    const std::string& fileName() const { return fileName_; }

    // ---- events (each gets the table) ----

    std::function<void(Table&)> afterOpen;    //!< after open() and after a load
    std::function<void(Table&)> beforeClose;  //!< before close()
    std::function<void(Table&)> beforeEdit;   //!< before edit() copies the row
    std::function<void(Table&)> afterEdit;    //!< after edit()
    std::function<void(Table&)> beforeInsert; //!< before insert()/append()
    std::function<void(Table&)> onNewRecord;  //!< fills a new row after the defaults
    std::function<void(Table&)> afterInsert;  //!< after insert()/append()
    std::function<void(Table&)> beforePost;   //!< before the checks of post(); may throw
    std::function<void(Table&)> afterPost;    //!< after a post
    std::function<void(Table&)> afterCancel;  //!< after cancel()
    std::function<void(Table&)> beforeDelete; //!< before deleteRecord(); may throw
    std::function<void(Table&)> afterDelete;  //!< after deleteRecord()
    std::function<void(Table&)> beforeScroll; //!< before the cursor moves
    std::function<void(Table&)> afterScroll;  //!< after the cursor moved (also after open)
    //! Fills the calculated fields of the active row; runs whenever a row is read.
    std::function<void(Table&)> onCalcFields;
    //! The record's calculation hook: runs after a Data field of the row being edited got
    //! a value (not after InternalCalc or calculated fields), before that field's
    //! onChange. Writes to InternalCalc fields inside it do not run it again; writes to
    //! Data fields do (the hook guards itself when that matters).
    std::function<void(Table&, Field&)> calculationHook;

private:
    friend class Field;
    friend class Aggregate;
    friend class RowPeek;
    friend class PacketAccess;

    struct Peek {
        const detail::Row* row = nullptr;
        std::vector<Value> calc;
    };

    std::string messagePrefix() const;

    // Field names are looked up on every read by name; they compare without regard to
    // ASCII case.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    void rebuildFieldIndex();

    // rows and the active row
    detail::Rows* storage();
    const detail::Rows* storage() const;
    detail::Rows* nestedStorageFor(int fieldIndex);
    void visitRowLists(const std::function<void(detail::Rows&)>& fn);
    void resizeRows();
    detail::Row newRow() const;
    const detail::Row* activeRow() const;
    detail::Row* writableActiveRow();
    std::vector<Value>* activeCalc();
    const std::vector<Value>* activeCalc() const;
    bool hasCalculatedFields() const;
    void computeCalcFields(const detail::Row* row, std::vector<Value>& calc);
    void recalc();
    void installRows(detail::Rows rows);

    // view and cursor
    std::vector<int> resolveIndex(const std::string& names) const;
    std::vector<int> resolveFilter(const Expression& expr) const;
    bool rowAccepted(const detail::Row& row);
    void rebuildView();
    void applyView(bool toFirst);
    unsigned long long rowIdAt(int position) const;
    unsigned long long idAtOrZero(int position) const;
    unsigned long long currentId() const;
    int viewPositionOf(unsigned long long id) const;
    void moveTo(int position);
    void scrollTo(int position, bool bof, bool eof);

    // editing
    void ensureActive() const;
    void checkCanModify() const;
    void startNewRow(bool atEnd);
    void discardEdit();
    void checkRequiredAndConstraints() const;
    void masterRowChanged();
    void notifyDetails();

    // notifications
    void notify(const std::function<void(TableObserver&)>& fn);
    void notifyField(Field& field);
    void notifyRefresh();

    std::string name_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::unordered_map<std::string, int, NameHash, NameEqual> fieldIndex_; // the first of a name
    std::vector<std::unique_ptr<Aggregate>> aggregates_;
    detail::Rows rows_;
    detail::Rows baseRows_;
    int changeCount_ = 0;
    Table* master_ = nullptr;
    int masterFieldIndex_ = -1;

    bool active_ = false;
    TableState state_ = TableState::Browse;
    bool modified_ = false;
    detail::Row buffer_;
    int insertStoragePos_ = -1;

    std::vector<int> view_; // storage positions; -1 marks the row being inserted
    int cursor_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    std::vector<Value> calc_;
    std::vector<Peek> peeks_;
    bool inCalcFields_ = false;

    std::string indexFieldNames_;
    std::string filterText_;
    std::shared_ptr<const Expression> filterExpr_;
    std::vector<int> filterSlots_;
    bool filtered_ = false;
    std::function<bool(Table&)> filterHandler_;

    int disableCount_ = 0;
    std::vector<TableObserver*> observers_;
    bool readOnly_ = false;
    std::string fileName_;
};

//! Keeps one visible row active for reading while it lives (see Table::peekRow).
class RowPeek {
public:
    RowPeek(Table& table, int position);
    ~RowPeek();
    RowPeek(const RowPeek&) = delete;
    RowPeek& operator=(const RowPeek&) = delete;

private:
    Table* table_;
};

} // namespace zrn::ds
