#pragma once

class QWidget;

namespace zrn::ui {

//! What every data-aware control offers to the windows around it: hand a half-typed value
//! to its field (what leaving the control does) and show the field's value again (what
//! entering it does). Switching the unit system uses both on the focused control, so that
//! a value being typed is stored in the old unit system and then shown in the new one.
class DataControl {
public:
    virtual ~DataControl() = default;

    //! Writes a pending, typed value into the field. False when the field refused it; the
    //! message has been shown and the typed text stays.
    virtual bool commitPendingEdit() = 0;
    //! Shows the field's current value again; uncommitted typing is dropped.
    virtual void refreshFromField() = 0;
};

//! The data-aware control that is widget or contains it (an editor inside a grid), or null.
DataControl* FindDataControl(QWidget* widget);

//! Commits the pending edit of the control with the keyboard focus, if it is data-aware.
//! False when the value was refused (the caller then stops what it was doing).
bool CommitFocusedControl();

//! Makes the control with the keyboard focus, if it is data-aware, show its field again.
void RefreshFocusedControl();

} // namespace zrn::ui
