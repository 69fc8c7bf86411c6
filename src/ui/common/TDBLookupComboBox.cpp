#include "ui/common/TDBLookupComboBox.h"

#include "dataset/Field.h"
#include "dataset/Table.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/FieldText.h"
#include "ui/common/TableModel.h"
#include "ui/common/u_lookup.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <exception>

namespace zrn::ui {

namespace {

// Keys compare as the table compares them: numbers as numbers, everything else exactly. A
// key kept as text in the data field (a sprocket's number of teeth) matches the number it
// reads as.
bool SameKey(const ds::Value& a, const ds::Value& b) {
    if (a.isNumber() && b.isNumber())
        return a.asFloat() == b.asFloat();
    if (a.isNumber() != b.isNumber() && !a.isNull() && !b.isNull())
        return a.toString() == b.toString();
    return a == b;
}

bool EntersFromUser(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent)
    : QComboBox(parent), link_([this] { refreshFromField(); }), listModel_(new TableModel(this)) {
    listModel_->setReadOnly(true);
    setModel(listModel_);
    setModelColumn(0);
    connect(this, &QComboBox::activated, this, &TDBLookupComboBox::chooseRow);
    // The list table changing its rows (a filter, a reload) may change the row to show.
    connect(listModel_, &QAbstractItemModel::modelReset, this,
            &TDBLookupComboBox::refreshFromField);
    connect(listModel_, &QAbstractItemModel::rowsInserted, this,
            &TDBLookupComboBox::refreshFromField);
    connect(listModel_, &QAbstractItemModel::rowsRemoved, this,
            &TDBLookupComboBox::refreshFromField);
    connect(listModel_, &QAbstractItemModel::dataChanged, this,
            &TDBLookupComboBox::refreshFromField);
}

TDBLookupComboBox::~TDBLookupComboBox() {
    // The list model goes before the combo's base; stop listening to it first.
    disconnect(listModel_, nullptr, this, nullptr);
}

void TDBLookupComboBox::setDataSource(ds::DataSource* source) {
    link_.setDataSource(source);
}
void TDBLookupComboBox::setTable(ds::Table* table) {
    link_.setTable(table);
}
void TDBLookupComboBox::setDataField(const std::string& fieldName) {
    link_.setFieldName(fieldName);
}

void TDBLookupComboBox::setListSource(ds::Table* listTable, const std::string& keyField,
                                      const std::string& listField) {
    keyFieldName_ = keyField;
    listFieldName_ = listField;
    listModel_->setFieldNames({listField});
    listModel_->setTable(listTable);
    refreshFromField();
}

ds::Table* TDBLookupComboBox::listTable() const {
    return listModel_->table();
}

ds::Field* TDBLookupComboBox::keyField() const {
    ds::Table* list = listTable();
    return list && !keyFieldName_.empty() ? list->findField(keyFieldName_) : nullptr;
}

ds::Field* TDBLookupComboBox::listField() const {
    ds::Table* list = listTable();
    return list && !listFieldName_.empty() ? list->findField(listFieldName_) : nullptr;
}

bool TDBLookupComboBox::canModify() const {
    ds::Table* list = listTable();
    return link_.canModify() && list && list->isActive() && keyField();
}

void TDBLookupComboBox::refreshFromField() {
    if (busy_)
        return;
    busy_ = true;
    int row = -1;
    try {
        row = rowOfKey();
        // The list table follows the shown key, unless it is being edited itself: moving it
        // would end that edit.
        ds::Table* list = listTable();
        if (row >= 0 && !list->isEditing() && list->recNo() != row + 1)
            list->setRecNo(row + 1);
    } catch (const std::exception&) {
        // A list that cannot be read or positioned shows nothing chosen.
        row = -1;
    }
    if (row >= listModel_->rowCount())
        row = -1;
    if (currentIndex() != row)
        setCurrentIndex(row);
    busy_ = false;
}

int TDBLookupComboBox::rowOfKey() const {
    ds::Field* data = link_.field();
    ds::Table* list = listTable();
    ds::Field* key = keyField();
    if (!data || !key || !list->isActive() || data->isNull())
        return -1;
    const ds::Value wanted = data->value();
    const int current = list->recNo() - 1;
    if (current >= 0 && SameKey(key->value(), wanted))
        return current;
    for (int row = 0; row < list->recordCount(); ++row) {
        ds::RowPeek peek = list->peekRow(row);
        if (SameKey(key->value(), wanted))
            return row;
    }
    return -1;
}

void TDBLookupComboBox::selectFirstIfEmpty() {
    TypeAheadBuffer().clear();
    ds::Field* data = link_.field();
    if (!data || !data->isNull() || !canModify())
        return;
    busy_ = true;
    guarded(this, [&] {
        ds::Table* list = listTable();
        list->first();
        if (list->isEmpty() || !link_.ensureEditing())
            return;
        writeKey(keyField()->value());
    });
    busy_ = false;
    refreshFromField();
}

bool TDBLookupComboBox::typeAhead(QChar ch) {
    if (ch.unicode() < 32)
        return false;
    if (!canModify())
        return true;
    busy_ = true;
    guarded(this, [&] {
        if (!link_.ensureEditing())
            return;
        ds::Table* list = listTable();
        const ds::Field* shown = listField();
        if (!shown)
            return;
        const int width = shown->type() == ds::FieldType::String ? shown->size() : 0;
        const int found = TypeAheadSearch(
            list->recordCount(),
            [&](int i) {
                ds::RowPeek peek = list->peekRow(i);
                return FieldText(*shown, true);
            },
            ch, false, width);
        if (found >= 0)
            list->setRecNo(found + 1);
        if (!list->isEmpty() && !shown->isNull())
            writeKey(keyField()->value());
    });
    busy_ = false;
    refreshFromField();
    return true;
}

void TDBLookupComboBox::showPopup() {
    if (canModify())
        QComboBox::showPopup();
}

void TDBLookupComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    if (selectFirstOnEnter_ && EntersFromUser(event->reason()))
        selectFirstIfEmpty();
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent* event) {
    const QChar ch = TypedCharacter(event);
    // Typed characters search the list here; the combo's own keyboard search would fight.
    if (!ch.isNull() && typeAhead(ch)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TDBLookupComboBox::chooseRow(int row) {
    if (canModify() && row >= 0 && row < listModel_->rowCount()) {
        busy_ = true;
        guarded(this, [&] {
            // The list row is current before the key is written, so the rules that run on
            // the write read the chosen row.
            listTable()->setRecNo(row + 1);
            writeKey(keyField()->value());
        });
        busy_ = false;
    }
    refreshFromField();
}

void TDBLookupComboBox::writeKey(const ds::Value& key) {
    ds::Field* data = link_.field();
    // Choosing the key already held changes nothing: its change rule must not run again
    // (it may clear choices that depend on this one).
    if (!data || (!data->isNull() && SameKey(data->value(), key)))
        return;
    link_.ensureEditing();
    data->setValue(key);
}

} // namespace zrn::ui
