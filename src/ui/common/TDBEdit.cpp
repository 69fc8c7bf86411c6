#include "ui/common/TDBEdit.h"

#include "dataset/Field.h"
#include "dataset/Table.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/FieldText.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace zrn::ui {

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent), link_([this] { fieldChanged(); }) {
    connect(this, &QLineEdit::textEdited, this, [this] { pending_ = true; });
    refreshFromField();
}

void TDBEdit::setDataSource(ds::DataSource* source) {
    link_.setDataSource(source);
}
void TDBEdit::setTable(ds::Table* table) {
    link_.setTable(table);
}
void TDBEdit::setDataField(const std::string& fieldName) {
    link_.setFieldName(fieldName);
}

bool TDBEdit::commitPendingEdit() {
    if (!pending_)
        return true;
    ds::Field* target = link_.field();
    if (!target) {
        refreshFromField();
        return true;
    }
    const std::string typed = text().toStdString();
    committing_ = true;
    const bool stored = guarded(this, [&] {
        link_.ensureEditing();
        target->setText(typed);
    });
    committing_ = false;
    if (stored)
        refreshFromField();
    return stored;
}

void TDBEdit::refreshFromField() {
    const ds::Field* shown = link_.field();
    setReadOnly(!link_.canModify());
    if (shown) {
        setAlignment(ToQtAlignment(shown->alignment()) | Qt::AlignVCenter);
        // Setting the length sets the text again, which would drop the selection that
        // tabbing into the edit made: typing must replace the value, not add to it.
        const int length =
            shown->type() == ds::FieldType::String && shown->size() > 0 ? shown->size() : 32767;
        if (maxLength() != length)
            setMaxLength(length);
    }
    const QString value = shown ? FieldText(*shown, !hasFocus()) : QString();
    if (value != text())
        setText(value);
    pending_ = false;
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Coming back to a refused value keeps what the user typed.
    if (!pending_)
        refreshFromField();
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A menu or another application taking the focus is not leaving the edit.
    const Qt::FocusReason reason = event->reason();
    if (committing_ || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    if (commitAndKeepFocusOnRefusal() && !pending_)
        refreshFromField();
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (commitAndKeepFocusOnRefusal())
            selectAll();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (pending_) {
            refreshFromField();
            selectAll();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::fieldChanged() {
    // During our own write the typed text must survive a refusal; the edit redisplays
    // itself once the write succeeded.
    if (!committing_)
        refreshFromField();
}

bool TDBEdit::commitAndKeepFocusOnRefusal() {
    if (commitPendingEdit())
        return true;
    setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace zrn::ui
