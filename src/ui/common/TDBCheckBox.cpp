#include "ui/common/TDBCheckBox.h"

#include "dataset/Field.h"
#include "ui/common/ErrorDisplay.h"

#include <exception>

namespace zrn::ui {

TDBCheckBox::TDBCheckBox(QWidget* parent)
    : QCheckBox(parent), link_([this] { refreshFromField(); }) {
    connect(this, &QCheckBox::clicked, this, &TDBCheckBox::store);
    refreshFromField();
}

void TDBCheckBox::setDataSource(ds::DataSource* source) {
    link_.setDataSource(source);
}
void TDBCheckBox::setTable(ds::Table* table) {
    link_.setTable(table);
}
void TDBCheckBox::setDataField(const std::string& fieldName) {
    link_.setFieldName(fieldName);
}

void TDBCheckBox::refreshFromField() {
    bool checked = false;
    if (const ds::Field* shown = link_.field()) {
        try {
            checked = shown->asBoolean();
        } catch (const std::exception&) {
            checked = false;
        }
    }
    refreshing_ = true;
    setChecked(checked);
    refreshing_ = false;
}

void TDBCheckBox::nextCheckState() {
    // A field that cannot be written keeps the box as it is.
    if (link_.canModify())
        QCheckBox::nextCheckState();
}

void TDBCheckBox::store(bool checked) {
    if (refreshing_ || !link_.canModify())
        return;
    guarded(this, [&] {
        link_.ensureEditing();
        link_.field()->setAsBoolean(checked);
    });
    refreshFromField();
}

} // namespace zrn::ui
