#include "ui/belt/MatZoneGrid.h"

#include "belt/d_mat.h"
#include "dataset/Field.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/TableModel.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPalette>

namespace zrn::ui {

TMatZoneGrid::TMatZoneGrid(QWidget* parent) : TDBGrid(parent) {
    setObjectName(QStringLiteral("grd_zones"));
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    // The zone number is the grid's fixed column: it looks like a title.
    tableModel()->setCellStyleHook([](const ds::Field& field, int, CellStyle& style) {
        if (field.name() == "index")
            style.background = QApplication::palette().color(QPalette::Button);
    });
}

void TMatZoneGrid::SetDataModule(belt::Tdm_mat* module) {
    module_ = module;
    setFieldNames({"index", "lengte", "temp"});
    setTable(module ? &module->cds_invoer_zones : nullptr);
}

int TMatZoneGrid::ZoneIndexAt(int row) const {
    const QModelIndex cell = tableModel()->index(row, kIndexColumn);
    return cell.isValid() ? cell.data(Qt::DisplayRole).toString().toInt() : 0;
}

int TMatZoneGrid::RowOfZone(int zoneIndex) const {
    for (int row = 0; row < tableModel()->rowCount(); ++row)
        if (ZoneIndexAt(row) == zoneIndex)
            return row;
    return -1;
}

int TMatZoneGrid::ZonesInUse() const {
    if (!module_ || !module_->cds_invoer.isActive())
        return 1;
    const ds::Field& zones = module_->Invoer("temp_zones");
    return zones.isNull() ? 1 : static_cast<int>(zones.asInteger());
}

void TMatZoneGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    TDBGrid::currentChanged(current, previous);
    if (adjusting_ || !current.isValid())
        return;
    // A refused value keeps the cursor where it was.
    if (currentIndex() != current)
        return;
    const bool rowChanged = previous.isValid() && previous.row() != current.row();
    if (previous.isValid() && previous.column() == kTempColumn &&
        (rowChanged || current.column() != kTempColumn))
        LeaveTemperature(previous.row(), rowChanged);

    int row = current.row();
    const int reachable = ZonesInUse() + 1;
    if (ZoneIndexAt(row) > reachable) {
        const int limit = RowOfZone(reachable);
        if (limit >= 0)
            row = limit;
    }
    const int column = current.column() == kIndexColumn ? kLengthColumn : current.column();
    if (row != current.row() || column != current.column())
        MoveCursor(row, column);
}

void TMatZoneGrid::LeaveTemperature(int row, bool rowChanged) {
    if (!module_)
        return;
    // Moving to another row posted the zone, which keeps its temperature in range; within
    // the row the zone is still being edited.
    if (!rowChanged)
        guarded(this, [this] { module_->ClampZoneTemperature(); });
    const QModelIndex length = tableModel()->index(row, kLengthColumn);
    const QModelIndex temp = tableModel()->index(row, kTempColumn);
    const bool empty = length.data(Qt::DisplayRole).toString().isEmpty() &&
                       temp.data(Qt::DisplayRole).toString().isEmpty();
    if (empty && ZoneIndexAt(row) > ZonesInUse())
        emit inputFinished();
}

void TMatZoneGrid::MoveCursor(int row, int column) {
    const QModelIndex target = tableModel()->index(row, column);
    if (!target.isValid() || target == currentIndex())
        return;
    adjusting_ = true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    adjusting_ = false;
    scrollTo(target);
}

void TMatZoneGrid::focusInEvent(QFocusEvent* event) {
    TDBGrid::focusInEvent(event);
    // Only a user entering the grid; not the focus coming back from a closed editor or a
    // message box.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
        const int first = RowOfZone(1);
        if (first >= 0)
            selectionModel()->setCurrentIndex(tableModel()->index(first, kLengthColumn),
                                              QItemSelectionModel::ClearAndSelect);
    }
}

QModelIndex TMatZoneGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = TDBGrid::moveCursor(action, modifiers);
    if (!next.isValid() || next.column() != kIndexColumn)
        return next;
    // Tab and Shift+Tab step over the zone numbers: from the temperature of one zone to the
    // length of the next, and back.
    if (action == MovePrevious && next.row() > 0)
        return tableModel()->index(next.row() - 1, kTempColumn);
    return tableModel()->index(next.row(), kLengthColumn);
}

bool TMatZoneGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // The zone numbers are fixed.
    if (index.isValid() && index.column() == kIndexColumn)
        return false;
    return TDBGrid::edit(index, trigger, event);
}

} // namespace zrn::ui
