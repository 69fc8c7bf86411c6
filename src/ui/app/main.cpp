#include "ui/app/Main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zrn::ui::TZRN_main window;
    window.show();
    return app.exec();
}
