#include "ui/common/DataControl.h"

#include <QApplication>
#include <QWidget>

namespace zrn::ui {

DataControl* FindDataControl(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* control = dynamic_cast<DataControl*>(w))
            return control;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool CommitFocusedControl() {
    DataControl* control = FindDataControl(QApplication::focusWidget());
    return !control || control->commitPendingEdit();
}

void RefreshFocusedControl() {
    if (DataControl* control = FindDataControl(QApplication::focusWidget()))
        control->refreshFromField();
}

} // namespace zrn::ui
