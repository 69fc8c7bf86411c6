#include "ui/common/TDBMemo.h"

#include "dataset/Field.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/FieldText.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace zrn::ui {

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent), link_([this] { fieldChanged(); }) {
    refreshFromField();
}

void TDBMemo::setDataSource(ds::DataSource* source) {
    link_.setDataSource(source);
}
void TDBMemo::setTable(ds::Table* table) {
    link_.setTable(table);
}
void TDBMemo::setDataField(const std::string& fieldName) {
    link_.setFieldName(fieldName);
}

void TDBMemo::setMemoReadOnly(bool readOnly) {
    memoReadOnly_ = readOnly;
    setReadOnly(memoReadOnly_ || !link_.canModify());
}

bool TDBMemo::hasPendingEdit() const {
    return document()->isModified();
}

bool TDBMemo::commitPendingEdit() {
    ds::Field* target = link_.field();
    if (!hasPendingEdit() || !target)
        return true;
    QString typed = toPlainText();
    if (crLf_)
        typed.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    committing_ = true;
    const bool stored = guarded(this, [&] {
        link_.ensureEditing();
        target->setText(typed.toStdString());
    });
    committing_ = false;
    if (stored)
        refreshFromField();
    return stored;
}

void TDBMemo::refreshFromField() {
    setReadOnly(memoReadOnly_ || !link_.canModify());
    const ds::Field* shown = link_.field();
    QString value = shown ? FieldText(*shown, !hasFocus()) : QString();
    crLf_ = value.contains(QLatin1String("\r\n"));
    value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (value != toPlainText())
        setPlainText(value);
    document()->setModified(false);
}

void TDBMemo::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (committing_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    if (!commitPendingEdit())
        setFocus(Qt::OtherFocusReason);
}

void TDBMemo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && hasPendingEdit()) {
        refreshFromField();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TDBMemo::fieldChanged() {
    if (!committing_)
        refreshFromField();
}

} // namespace zrn::ui
