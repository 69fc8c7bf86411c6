#pragma once

#include "ui/common/FieldLink.h"

#include <QLabel>

namespace zrn::ui {

//! A read-only text showing the display text of one field, following every change.
class TDBText : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);

    //! Binds through a data source of the caller.
    void setDataSource(ds::DataSource* source);
    //! Binds to a table directly.
    void setTable(ds::Table* table);
    //! Names the field shown.
    void setDataField(const std::string& fieldName);
    //! The bound field, or null.
    ds::Field* field() const { return link_.field(); }

    //! Shows the field's display text again.
    void refreshFromField();

private:
    FieldLink link_;
};

} // namespace zrn::ui
