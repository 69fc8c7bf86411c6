#include "ui/common/FieldLink.h"

#include "dataset/Field.h"
#include "dataset/Table.h"

namespace zrn::ui {

FieldLink::FieldLink(std::function<void()> changed) : changed_(std::move(changed)) {}

// Leaving the table is done by the observer base.
FieldLink::~FieldLink() = default;

void FieldLink::setDataSource(ds::DataSource* source) {
    source_ = source;
    bind(source ? source->table() : nullptr);
}

void FieldLink::setTable(ds::Table* table) {
    ownSource_.setTable(table);
    source_ = table ? &ownSource_ : nullptr;
    bind(table);
}

void FieldLink::setFieldName(std::string name) {
    fieldName_ = std::move(name);
    changed();
}

ds::DataSource* FieldLink::dataSource() const {
    return table_ ? source_ : nullptr;
}

ds::Field* FieldLink::field() const {
    if (!table_ || fieldName_.empty())
        return nullptr;
    return table_->findField(fieldName_);
}

bool FieldLink::canModify() const {
    const ds::Field* f = field();
    return f && table_->isActive() && !table_->readOnly() && !f->readOnly() && f->isStored() &&
           f->type() != ds::FieldType::Nested;
}

bool FieldLink::ensureEditing() {
    ds::DataSource* source = dataSource();
    return source && source->ensureEditing();
}

void FieldLink::fieldChanged(ds::Table&, ds::Field& changedField) {
    if (&changedField == field())
        changed();
}

void FieldLink::recordChanged(ds::Table&) {
    changed();
}
void FieldLink::scrolled(ds::Table&) {
    changed();
}
void FieldLink::stateChanged(ds::Table&) {
    changed();
}
void FieldLink::rowsInserted(ds::Table&, int, int) {
    changed();
}
void FieldLink::rowsRemoved(ds::Table&, int, int) {
    changed();
}
void FieldLink::refreshed(ds::Table&) {
    changed();
}

void FieldLink::tableDestroyed(ds::Table& table) {
    if (&table != table_)
        return;
    table_ = nullptr;
    ownSource_.setTable(nullptr);
    changed();
}

void FieldLink::bind(ds::Table* table) {
    if (table_ != table) {
        if (table_)
            table_->detach(*this);
        table_ = table;
        if (table_)
            table_->attach(*this);
    }
    changed();
}

void FieldLink::changed() {
    if (changed_)
        changed_();
}

} // namespace zrn::ui
