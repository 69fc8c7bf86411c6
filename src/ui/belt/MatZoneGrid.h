#pragma once

#include "ui/common/TDBGrid.h"

namespace zrn::belt {
class Tdm_mat;
}

namespace zrn::ui {

//! The temperature-zone grid of the belt input window: zone number (a fixed column), length
//! and temperature of the ten layout rows.
//!
//! Cursor rules: entering the grid puts the cursor on zone 1 in the length column; the cursor
//! never stands in the zone-number column, and never beyond the first zone after those in
//! use (one zone more can be started, not further). Leaving the temperature column keeps the
//! zone's temperature within the belt's range; leaving it on an empty zone beyond those in
//! use finishes the input (inputFinished).
class TMatZoneGrid : public TDBGrid {
    Q_OBJECT
public:
    explicit TMatZoneGrid(QWidget* parent = nullptr);

    //! Shows the layout rows of the module.
    void SetDataModule(belt::Tdm_mat* module);

    //! Column of the zone number.
    static constexpr int kIndexColumn = 0;
    //! Column of the zone length.
    static constexpr int kLengthColumn = 1;
    //! Column of the zone temperature.
    static constexpr int kTempColumn = 2;

    //! The zone number shown in a grid row (0 when there is none).
    int ZoneIndexAt(int row) const;
    //! The grid row showing a zone number, or -1.
    int RowOfZone(int zoneIndex) const;

signals:
    //! The user stepped past the last zone in use: the input is complete.
    void inputFinished();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void LeaveTemperature(int row, bool rowChanged);
    void MoveCursor(int row, int column);
    int ZonesInUse() const;

    belt::Tdm_mat* module_ = nullptr;
    bool adjusting_ = false;
};

} // namespace zrn::ui
