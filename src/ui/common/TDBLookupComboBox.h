#pragma once

#include "dataset/Value.h"
#include "ui/common/DataControl.h"
#include "ui/common/FieldLink.h"

#include <QComboBox>

#include <string>

namespace zrn::ui {

class TableModel;

//! A drop-down list bound to a key field of a data table, offering the rows of a list table.
//!
//! The list shows the list field of every visible row of the list table, through a model of
//! its own over that table, so filters on the list table change what is offered. The combo
//! shows the row whose key field equals the data field and keeps the list table's current
//! row on it, which is where calculations read the chosen row from. Choosing a row moves the
//! list table to it and writes its key into the data field (starting an edit when the data
//! source allows it). Entering the combo picks the first row when the data field is empty
//! (SelectFirstIfEmpty); typed characters search the list (TypeAheadLookup).
class TDBLookupComboBox : public QComboBox, public DataControl {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    //! Binds the data side through a data source of the caller (its auto-edit switch applies).
    void setDataSource(ds::DataSource* source);
    //! Binds the data side to a table directly (auto edit on).
    void setTable(ds::Table* table);
    //! Names the data field that receives the chosen key.
    void setDataField(const std::string& fieldName);
    //! Sets the list table, its key field and the field whose texts are offered.
    void setListSource(ds::Table* listTable, const std::string& keyField,
                       const std::string& listField);
    //! Switches picking the first row on entering an empty combo (on by default).
    void setSelectFirstOnEnter(bool on) { selectFirstOnEnter_ = on; }

    //! The data table, or null.
    ds::Table* table() const { return link_.table(); }
    //! The data field, or null.
    ds::Field* field() const { return link_.field(); }
    //! The data source the data side writes through, or null.
    ds::DataSource* dataSource() const { return link_.dataSource(); }
    //! The list table, or null.
    ds::Table* listTable() const;
    //! The list table's key field, or null.
    ds::Field* keyField() const;
    //! The list table's field whose texts are offered, or null.
    ds::Field* listField() const;
    //! The model over the list table that feeds the drop-down list.
    TableModel* listModel() const { return listModel_; }
    //! True when the user may change the data field through the combo.
    bool canModify() const;

    //! Empties the type-ahead buffer and, when the data field is empty, moves the list table
    //! to its first row and writes that row's key into the data field.
    void selectFirstIfEmpty();
    //! Searches the list for the type-ahead buffer extended by ch and writes the key of the
    //! list row reached. Characters below 32 are not handled (false).
    bool typeAhead(QChar ch);

    //! The combo stores at once, so nothing is ever pending.
    bool commitPendingEdit() override { return true; }
    void refreshFromField() override;

    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chooseRow(int row);
    void writeKey(const ds::Value& key);
    int rowOfKey() const;

    FieldLink link_;
    TableModel* listModel_;
    std::string keyFieldName_;
    std::string listFieldName_;
    bool selectFirstOnEnter_ = true;
    bool busy_ = false; // writing the key, or showing it: notifications wait
};

} // namespace zrn::ui
