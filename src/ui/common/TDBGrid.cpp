#include "ui/common/TDBGrid.h"

#include "dataset/Field.h"
#include "dataset/Table.h"
#include "ui/common/TableModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMetaProperty>

#include <algorithm>

namespace zrn::ui {

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), model_(new TableModel(this)) {
    model_->setMessageParent(this);
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    connect(model_, &TableModel::currentRowChanged, this, &TDBGrid::followTableRow);
    connect(model_, &QAbstractItemModel::modelReset, this, &TDBGrid::applyColumnWidths);
}

void TDBGrid::setTable(ds::Table* table) {
    model_->setTable(table);
}
void TDBGrid::setDataSource(ds::DataSource* source) {
    model_->setDataSource(source);
}
void TDBGrid::setFieldNames(std::vector<std::string> fieldNames) {
    model_->setFieldNames(std::move(fieldNames));
}

ds::Table* TDBGrid::table() const {
    return model_->table();
}

bool TDBGrid::commitPendingEdit() {
    QWidget* editor = openEditor();
    if (!editor)
        return true;
    commitData(editor);
    const bool stored = !refused_;
    refused_ = false;
    return stored;
}

void TDBGrid::refreshFromField() {
    if (QWidget* editor = openEditor())
        itemDelegateForIndex(currentIndex())->setEditorData(editor, currentIndex());
    viewport()->update();
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!syncing_ && previous.isValid()) {
        // Leaving a cell with an open editor: its value goes to the field first, and a
        // refused value keeps the cell and the editor as they were.
        if (QWidget* editor = indexWidget(previous); editor && state() == EditingState) {
            commitData(editor);
            if (refused_) {
                refused_ = false;
                syncing_ = true;
                selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
                syncing_ = false;
                editor->setFocus();
                return;
            }
            QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid() || current.row() == previous.row())
        return;
    if (!model_->setCurrentRow(current.row()))
        followTableRow(model_->currentRow());
}

void TDBGrid::commitData(QWidget* editor) {
    // A message box over a refused value takes the focus from the editor, which asks for
    // another commit; that one is ignored.
    if (committing_)
        return;
    committing_ = true;
    // The write may make the model show the cell again, over the editor's text; a refused
    // text is put back for the user to correct.
    const QMetaProperty text = editor->metaObject()->userProperty();
    const QVariant typed = text.isValid() ? text.read(editor) : QVariant();
    model_->clearLastWriteRefused();
    QTableView::commitData(editor);
    refused_ = model_->lastWriteRefused();
    if (refused_ && text.isValid())
        text.write(editor, typed);
    committing_ = false;
}

void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (committing_)
        return;
    if (refused_ && hint != QAbstractItemDelegate::RevertModelCache) {
        // The typed text stays for the user to correct.
        refused_ = false;
        editor->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->selectAll();
        return;
    }
    refused_ = false;
    QTableView::closeEditor(editor, hint);
}

void TDBGrid::followTableRow(int row) {
    if (syncing_)
        return;
    syncing_ = true;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearCurrentIndex();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex target = model_->index(row, column);
        if (target != currentIndex())
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        scrollTo(target);
    }
    syncing_ = false;
}

void TDBGrid::applyColumnWidths() {
    const QFontMetrics metrics(font());
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < model_->columnCount(); ++column) {
        const ds::Field* field = model_->fieldAt(column);
        if (!field)
            continue;
        int width = digit * field->displayWidth() + 2 * digit;
        const QString title = model_->headerData(column, Qt::Horizontal).toString();
        for (const QString& line : title.split(QLatin1Char('\n')))
            width = std::max(width, metrics.horizontalAdvance(line) + 2 * digit);
        setColumnWidth(column, width);
    }
}

QWidget* TDBGrid::openEditor() const {
    if (state() != EditingState)
        return nullptr;
    return indexWidget(currentIndex());
}

} // namespace zrn::ui
