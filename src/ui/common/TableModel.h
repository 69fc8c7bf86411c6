#pragma once

#include "dataset/DataSource.h"
#include "dataset/TableObserver.h"

#include <QAbstractTableModel>
#include <QColor>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zrn::ds {
class Field;
class Table;
} // namespace zrn::ds

namespace zrn::ui {

//! How one grid cell looks; an unset colour keeps the grid's own.
struct CellStyle {
    QColor foreground; //!< text colour
    QColor background; //!< cell colour
    bool bold = false; //!< bold text
};

//! The item model of a table for grids and list controls; it owns no data.
//!
//! Columns are the table's visible fields (or a given list of field names), rows its visible
//! rows, in the table's order. Cells give the display text (DisplayRole) and the edit text
//! (EditRole); writing a cell goes through Field::setText on that row, so every field rule
//! runs, and a refused value shows its message. Titles are the display labels, a "~" in one
//! breaking it over two lines. Cells of a read-only field or table are not editable and are
//! greyed. The model follows the table: inserted and removed rows, refreshes (open, close,
//! filter, order, load) and field changes, announcing each to Qt as it must.
//!
//! The row count the model reports is the one it has announced, so a view asking between a
//! change of the table and its notification never reads past the end.
class TableModel : public QAbstractTableModel, public ds::TableObserver {
    Q_OBJECT
public:
    //! Gives the style of a cell. It runs while the cell's row is the table's active row, so
    //! it may read any field of that row.
    using CellStyleHook = std::function<void(const ds::Field& field, int row, CellStyle& style)>;

    explicit TableModel(QObject* parent = nullptr);
    ~TableModel() override;

    //! Shows a table (writes go through a data source of the model's own, auto edit on).
    void setTable(ds::Table* table);
    //! Shows the table of the caller's data source (its auto-edit switch applies).
    void setDataSource(ds::DataSource* source);
    //! The table shown, or null.
    ds::Table* table() const { return table_; }
    //! Shows these fields as the columns, in this order; an empty list shows the visible
    //! fields of the table.
    void setFieldNames(std::vector<std::string> fieldNames);
    //! The names of the fields in the columns.
    const std::vector<std::string>& columnFieldNames() const { return columns_; }
    //! The field of a column, or null.
    ds::Field* fieldAt(int column) const;
    //! The column showing a field (names compare without regard to case), or -1.
    int columnOf(std::string_view fieldName) const;

    //! Makes every cell read-only (a results grid) without greying it.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    //! True when every cell is read-only.
    bool readOnly() const { return readOnly_; }
    //! Sets the per-cell style hook (an empty function removes it).
    void setCellStyleHook(CellStyleHook hook);
    //! The window that messages about refused values are shown over.
    void setMessageParent(QWidget* parent) { messageParent_ = parent; }
    //! True when the last setData was refused by the field.
    bool lastWriteRefused() const { return lastWriteRefused_; }
    //! Forgets the last refusal (before handing an editor's text to the model).
    void clearLastWriteRefused() { lastWriteRefused_ = false; }

    //! The row of the table's current row, or -1.
    int currentRow() const;
    //! Moves the table's current row to a row (the move may post an open edit). False when
    //! that was refused; the message has been shown.
    bool setCurrentRow(int row);
    //! Reads the columns and rows again (after fields were shown or hidden).
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    //! True when the cell's field and table accept writes (whatever the model's own switch).
    bool cellWritable(int column) const;

signals:
    //! The table's current row moved to row (-1: none).
    void currentRowChanged(int row);

private:
    void fieldChanged(ds::Table& table, ds::Field& field) override;
    void recordChanged(ds::Table& table) override;
    void scrolled(ds::Table& table) override;
    void stateChanged(ds::Table& table) override;
    void rowsAboutToBeInserted(ds::Table& table, int first, int count) override;
    void rowsInserted(ds::Table& table, int first, int count) override;
    void rowsAboutToBeRemoved(ds::Table& table, int first, int count) override;
    void rowsRemoved(ds::Table& table, int first, int count) override;
    void refreshed(ds::Table& table) override;
    void tableDestroyed(ds::Table& table) override;

    void bind(ds::Table* table);
    void resetColumns();
    void currentRowDataChanged();
    QVariant cellData(const QModelIndex& index, const ds::Field& field, int role) const;

    ds::DataSource ownSource_;
    ds::DataSource* source_ = nullptr;
    ds::Table* table_ = nullptr;
    std::vector<std::string> requestedColumns_;
    std::vector<std::string> columns_;
    int rows_ = 0;
    int pendingInsert_ = 0;
    int pendingRemove_ = 0;
    bool readOnly_ = false;
    bool lastWriteRefused_ = false;
    CellStyleHook styleHook_;
    QWidget* messageParent_ = nullptr;
};

} // namespace zrn::ui
