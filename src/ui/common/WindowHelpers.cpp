#include "ui/common/WindowHelpers.h"

#include "rtl/Error.h"
#include "ui/common/TDBCheckBox.h"
#include "ui/common/TDBEdit.h"
#include "ui/common/TDBLookupComboBox.h"
#include "ui/lang/TaalLabel.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace zrn::ui {

namespace {

QMenuBar* MenuBarOf(QWidget* window) {
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        // menuWidget, not menuBar: asking for menuBar would make an empty one.
        if (auto* bar = qobject_cast<QMenuBar*>(main->menuWidget()))
            return bar;
    }
    return window->findChild<QMenuBar*>();
}

//! The field a label's buddy edits, when the buddy is one of the controls that count.
const ds::Field* EditedField(const QWidget* buddy) {
    if (auto* edit = qobject_cast<const TDBEdit*>(buddy))
        return edit->field();
    if (auto* combo = qobject_cast<const TDBLookupComboBox*>(buddy))
        return combo->field();
    if (auto* check = qobject_cast<const TDBCheckBox*>(buddy))
        return check->field();
    return nullptr;
}

void SetLook(TTaalLabel& label, bool bold, const QColor& colour) {
    QFont font = label.font();
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    label.setFont(font);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

} // namespace

void InsertActionMenuItem(QWidget* window, int index, int position, QAction* action) {
    QMenuBar* bar = window ? MenuBarOf(window) : nullptr;
    if (!bar)
        throw Error("The window has no main menu");
    const QList<QAction*> menus = bar->actions();
    if (index < 0 || index >= menus.size() || !menus[index]->menu())
        throw Error("Menu index out of range");
    QMenu* menu = menus[index]->menu();
    const QList<QAction*> entries = menu->actions();
    if (position < 0 || position > entries.size())
        throw Error("Menu index out of range");
    menu->insertAction(position < entries.size() ? entries[position] : nullptr, action);
}

void HighlightFieldLabel(QWidget* window, const ds::Field* field) {
    if (!window)
        return;
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    const auto labels = window->findChildren<TTaalLabel*>();
    for (TTaalLabel* label : labels)
        SetLook(*label, false, windowText);
    if (!field)
        return;
    for (TTaalLabel* label : labels) {
        QWidget* buddy = label->buddy();
        if (buddy && EditedField(buddy) == field) {
            SetLook(*label, true, Qt::red);
            buddy->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace zrn::ui
