#include "ui/common/TDBText.h"

#include "dataset/Field.h"
#include "ui/common/FieldText.h"

namespace zrn::ui {

TDBText::TDBText(QWidget* parent) : QLabel(parent), link_([this] { refreshFromField(); }) {
    // Field texts are shown as they are, never as markup.
    setTextFormat(Qt::PlainText);
}

void TDBText::setDataSource(ds::DataSource* source) {
    link_.setDataSource(source);
}
void TDBText::setTable(ds::Table* table) {
    link_.setTable(table);
}
void TDBText::setDataField(const std::string& fieldName) {
    link_.setFieldName(fieldName);
}

void TDBText::refreshFromField() {
    const ds::Field* shown = link_.field();
    setText(shown ? FieldText(*shown, true) : QString());
}

} // namespace zrn::ui
