#include "ui/common/u_KeybInput.h"

#include "rtl/NumberFormat.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace zrn::ui {

namespace {

bool IsKeypadDecimal(const QKeyEvent& key) {
    return (key.modifiers() & Qt::KeypadModifier) &&
           (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma);
}

int KeyOf(QChar ch) {
    if (ch == QLatin1Char(','))
        return Qt::Key_Comma;
    if (ch == QLatin1Char('.'))
        return Qt::Key_Period;
    return ch.toUpper().unicode();
}

} // namespace

TKeyConverter::TKeyConverter(QCoreApplication* application, QObject* parent)
    : QObject(parent), application_(application) {
    if (application_)
        application_->installEventFilter(this);
}

TKeyConverter::~TKeyConverter() {
    if (application_)
        application_->removeEventFilter(this);
}

bool TKeyConverter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (sending_ || (type != QEvent::KeyPress && type != QEvent::KeyRelease) ||
        !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (!IsKeypadDecimal(key))
        return QObject::eventFilter(watched, event);
    const QChar separator = QLatin1Char(zrn::rtl::FormatSettings().decimalSeparator);
    if (key.text() == QString(separator))
        return QObject::eventFilter(watched, event);
    // The replacement still says it comes from the keypad, for widgets that care.
    QKeyEvent replaced(type, KeyOf(separator), key.modifiers(), QString(separator),
                       key.isAutoRepeat(), key.count());
    sending_ = true;
    QCoreApplication::sendEvent(watched, &replaced);
    sending_ = false;
    // The replacement has gone its whole way (up to the parents that wanted it); the
    // original key must not travel on by itself.
    event->accept();
    return true;
}

} // namespace zrn::ui
