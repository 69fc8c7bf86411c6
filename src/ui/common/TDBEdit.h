#pragma once

#include "ui/common/DataControl.h"
#include "ui/common/FieldLink.h"

#include <QLineEdit>

namespace zrn::ui {

//! A line edit bound to one field of a table.
//!
//! Without the focus it shows the field's display text, with the focus its edit text. What
//! the user types goes to the field through Field::setText (validation, store, calculation
//! and change rule all run in the core) when the focus leaves the edit or Enter is pressed.
//! A refused value shows its message; the edit keeps the focus and the typed text, the field
//! its old value. Escape drops the typing. The edit is read-only whenever the field cannot
//! be written, and follows every change of the field, the row and the table.
class TDBEdit : public QLineEdit, public DataControl {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);

    //! Binds through a data source of the caller (its auto-edit switch applies).
    void setDataSource(ds::DataSource* source);
    //! Binds to a table directly (auto edit on).
    void setTable(ds::Table* table);
    //! Names the field shown and edited.
    void setDataField(const std::string& fieldName);
    //! The bound field, or null.
    ds::Field* field() const { return link_.field(); }
    //! The bound table, or null.
    ds::Table* table() const { return link_.table(); }
    //! True while the user has typed something not yet handed to the field.
    bool hasPendingEdit() const { return pending_; }

    bool commitPendingEdit() override;
    void refreshFromField() override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fieldChanged();
    bool commitAndKeepFocusOnRefusal();

    FieldLink link_;
    bool pending_ = false;
    bool committing_ = false;
};

} // namespace zrn::ui
