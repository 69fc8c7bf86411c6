#pragma once

#include "ui/common/DataControl.h"
#include "ui/common/FieldLink.h"

#include <QCheckBox>

namespace zrn::ui {

//! A check box bound to a yes/no field. A click stores the new state at once (starting an
//! edit when the data source allows it), so the record's rules run without waiting for the
//! focus to leave. A refused state shows its message and the box shows the field again.
class TDBCheckBox : public QCheckBox, public DataControl {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);

    //! Binds through a data source of the caller (its auto-edit switch applies).
    void setDataSource(ds::DataSource* source);
    //! Binds to a table directly (auto edit on).
    void setTable(ds::Table* table);
    //! Names the yes/no field.
    void setDataField(const std::string& fieldName);
    //! The bound field, or null.
    ds::Field* field() const { return link_.field(); }
    //! The bound table, or null.
    ds::Table* table() const { return link_.table(); }
    //! True when a click may change the field.
    bool canModify() const { return link_.canModify(); }

    //! A click stores at once, so nothing is ever pending.
    bool commitPendingEdit() override { return true; }
    void refreshFromField() override;

protected:
    void nextCheckState() override;

private:
    void store(bool checked);

    FieldLink link_;
    bool refreshing_ = false;
};

} // namespace zrn::ui
