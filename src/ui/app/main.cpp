#include "ui/app/LocaleFormat.h"
#include "ui/app/Main.h"
#include "ui/common/u_KeybInput.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZRN Calculation Program"));
    // Before any window: numbers look as the user's regional settings say, and the keypad's
    // decimal key types that decimal separator.
    zrn::ui::ApplyLocaleNumberFormat(QLocale());
    zrn::ui::TKeyConverter keypad(&app);
    zrn::ui::TZRN_main window;
    window.show();
    return app.exec();
}
