#pragma once

class QAction;
class QWidget;

namespace zrn::ds {
class Field;
}

namespace zrn::ui {

//! Puts an action into another window's menu: a menu entry bound to the action (caption,
//! shortcut, icon, enabled and checked state follow the action, choosing it runs the
//! action) is inserted into the top-level menu number index of the window's menu bar, before
//! the entry now at position (position = the number of entries appends). Throws zrn::Error
//! when the window has no menu bar or index or position is out of range.
void InsertActionMenuItem(QWidget* window, int index, int position, QAction* action);

//! Points the user at the label of a field: every language label of the window gets the
//! regular font style and the window-text colour; then, when field is given, the first
//! language label (in the window's child order) whose buddy is a data-aware edit, lookup
//! combo box or check box bound to exactly that field becomes bold and red, and its buddy
//! gets the keyboard focus. Without a field, or when no label matches, only the reset
//! happens.
void HighlightFieldLabel(QWidget* window, const ds::Field* field);

} // namespace zrn::ui
