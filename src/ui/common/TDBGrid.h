#pragma once

#include "ui/common/DataControl.h"

#include <QTableView>

#include <string>
#include <vector>

namespace zrn::ds {
class DataSource;
class Table;
} // namespace zrn::ds

namespace zrn::ui {

class TableModel;

//! A data grid: a table view over a TableModel that behaves as a data grid does.
//!
//! The current cell's row is the table's current row in both directions: moving the cell
//! moves the table's cursor (which may post an open edit; a refused post keeps the cell
//! where it was), and the table moving its cursor moves the cell. An edited cell is written
//! through its field when the editor is left; a refused value shows its message and the
//! editor stays open with the typed text. Column widths follow the fields' display widths.
class TDBGrid : public QTableView, public DataControl {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);

    //! Shows a table (auto edit on).
    void setTable(ds::Table* table);
    //! Shows the table of the caller's data source (its auto-edit switch applies).
    void setDataSource(ds::DataSource* source);
    //! Shows these fields as columns; an empty list shows the visible fields.
    void setFieldNames(std::vector<std::string> fieldNames);
    //! The grid's model.
    TableModel* tableModel() const { return model_; }
    //! The table shown, or null.
    ds::Table* table() const;

    //! True while a cell editor is open.
    bool isEditing() const { return state() == EditingState; }

    //! Writes the text of an open cell editor into its field; the editor stays open.
    bool commitPendingEdit() override;
    //! Shows the current cell (and an open editor) from the field again.
    void refreshFromField() override;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void followTableRow(int row);
    void applyColumnWidths();
    QWidget* openEditor() const;

    TableModel* model_;
    bool syncing_ = false;
    bool committing_ = false;
    bool refused_ = false;
};

} // namespace zrn::ui
