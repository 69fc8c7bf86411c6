#pragma once

#include "ui/common/DataControl.h"
#include "ui/common/FieldLink.h"

#include <QPlainTextEdit>

namespace zrn::ui {

//! A multi-line text bound to one field: read-only (the remarks of a results window) or
//! editable. Typing is handed to the field when the focus leaves the memo; a refused text
//! shows its message and keeps the focus. Escape drops the typing. Line breaks stored as
//! CR LF are shown as plain line breaks and written back the same way.
class TDBMemo : public QPlainTextEdit, public DataControl {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);

    //! Binds through a data source of the caller (its auto-edit switch applies).
    void setDataSource(ds::DataSource* source);
    //! Binds to a table directly (auto edit on).
    void setTable(ds::Table* table);
    //! Names the field shown.
    void setDataField(const std::string& fieldName);
    //! Makes the memo read-only even when the field could be written.
    void setMemoReadOnly(bool readOnly);
    //! The bound field, or null.
    ds::Field* field() const { return link_.field(); }
    //! True while the user has typed something not yet handed to the field.
    bool hasPendingEdit() const;

    bool commitPendingEdit() override;
    void refreshFromField() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fieldChanged();

    FieldLink link_;
    bool memoReadOnly_ = false;
    bool committing_ = false;
    bool crLf_ = false;
};

} // namespace zrn::ui
