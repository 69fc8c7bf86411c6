#include "ui/belt/MdiChild.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

namespace zrn::ui {

QMdiSubWindow* SubWindowOf(const QWidget* window) {
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

QMdiArea* MdiAreaOf(const QWidget* window) {
    QMdiSubWindow* sub = SubWindowOf(window);
    return sub ? sub->mdiArea() : nullptr;
}

QMdiSubWindow* ShowBeside(QWidget* window, QWidget* sibling) {
    QMdiSubWindow* sub = SubWindowOf(window);
    if (!sub) {
        QMdiArea* area = MdiAreaOf(sibling);
        if (!area) {
            window->show();
            window->raise();
            window->activateWindow();
            return nullptr;
        }
        sub = new QMdiSubWindow;
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWidget(window);
        sub->setWindowIcon(window->windowIcon());
        area->addSubWindow(sub);
        if (auto* main = qobject_cast<QMainWindow*>(window))
            if (QWidget* bar = main->menuWidget())
                bar->hide();
        // The window decides when it goes; its frame follows it.
        QObject::connect(window, &QObject::destroyed, sub, &QObject::deleteLater);
    }
    window->show();
    sub->show();
    sub->raise();
    if (QMdiArea* area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    return sub;
}

QWidget* FrameOf(QWidget* window) {
    if (QMdiSubWindow* sub = SubWindowOf(window))
        return sub;
    return window;
}

} // namespace zrn::ui
