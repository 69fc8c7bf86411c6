#include "ui/lang/TaalQt.h"

namespace zrn::ui {

QString TaalToQt(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace zrn::ui
