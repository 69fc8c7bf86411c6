#include "ui/app/Main.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>

namespace zrn::ui {

TZRN_main::TZRN_main(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("ZRN Calculation Program"));
    setCentralWidget(mdi_);
    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace zrn::ui
