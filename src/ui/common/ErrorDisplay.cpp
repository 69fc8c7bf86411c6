#include "ui/common/ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace zrn::ui {

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

} // namespace

MessageHook setMessageHook(MessageHook hook) {
    MessageHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

void showError(QWidget* parent, const zrn::Error& error) {
    showErrorMessage(parent, QString::fromUtf8(error.what()));
}

void showErrorMessage(QWidget* parent, const QString& message) {
    if (Hook()) {
        Hook()(parent, message);
        return;
    }
    QWidget* owner = parent ? parent->window() : QApplication::activeWindow();
    QMessageBox::critical(owner, QApplication::applicationDisplayName(), message);
}

} // namespace zrn::ui
