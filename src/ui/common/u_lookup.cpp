#include "ui/common/u_lookup.h"

#include "ui/common/TDBGrid.h"
#include "ui/common/TDBLookupComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QListView>

namespace zrn::ui {

namespace {

bool ComboTypeAhead(QComboBox& combo, QChar ch) {
    const int found = TypeAheadSearch(
        combo.count(), [&](int i) { return combo.itemText(i); }, ch, false, 0);
    if (found >= 0)
        combo.setCurrentIndex(found);
    return true;
}

bool ViewTypeAhead(QAbstractItemView& view, QChar ch) {
    QAbstractItemModel* model = view.model();
    if (!model)
        return false;
    const QModelIndex root = view.rootIndex();
    const auto* list = qobject_cast<const QListView*>(&view);
    const int column = list ? list->modelColumn() : 0;
    const int found = TypeAheadSearch(
        model->rowCount(root),
        [&](int i) { return model->index(i, column, root).data(Qt::DisplayRole).toString(); }, ch,
        true, 0);
    if (found < 0)
        return true;
    const QModelIndex index = model->index(found, column, root);
    view.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view.scrollTo(index);
    return true;
}

} // namespace

int TypeAheadSearch(int count, const std::function<QString(int)>& entryText, QChar ch,
                    bool searchOnSpace, int maxChars) {
    QString& buffer = TypeAheadBuffer();
    buffer += ch;
    if (ch == QLatin1Char(' ') && !searchOnSpace)
        return -1;
    while (!buffer.isEmpty()) {
        for (int i = 0; i < count; ++i)
            if (entryText(i).startsWith(buffer, Qt::CaseInsensitive))
                return i;
        buffer = maxChars > 0 ? buffer.mid(1, maxChars) : buffer.mid(1);
    }
    return -1;
}

QString& TypeAheadBuffer() {
    static QString buffer;
    return buffer;
}

bool TypeAheadLookup(QWidget* control, QChar ch) {
    if (!control || ch.unicode() < 32)
        return false;
    if (auto* lookup = qobject_cast<TDBLookupComboBox*>(control))
        return lookup->typeAhead(ch);
    if (qobject_cast<TDBGrid*>(control))
        return false;
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->isEditable() ? false : ComboTypeAhead(*combo, ch);
    if (auto* view = qobject_cast<QAbstractItemView*>(control))
        return ViewTypeAhead(*view, ch);
    return false;
}

void SelectFirstIfEmpty(TDBLookupComboBox& combo) {
    combo.selectFirstIfEmpty();
}

QChar TypedCharacter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return {};
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    const QString text = key->text();
    if (text.size() != 1 || text.at(0).unicode() < 32)
        return {};
    return text.at(0);
}

bool TypeAheadFilter::eventFilter(QObject* watched, QEvent* event) {
    const QChar ch = TypedCharacter(event);
    if (!ch.isNull() && watched->isWidgetType())
        // Handled characters are not passed on: the control's own keyboard search would
        // move the selection again.
        if (TypeAheadLookup(static_cast<QWidget*>(watched), ch))
            return true;
    return QObject::eventFilter(watched, event);
}

void installTypeAhead(QWidget* control) {
    control->installEventFilter(new TypeAheadFilter(control));
}

} // namespace zrn::ui
