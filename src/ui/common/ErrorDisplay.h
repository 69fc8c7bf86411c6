#pragma once

#include "rtl/Error.h"

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace zrn::ui {

//! Shows a failure to the user. By default a modal message box; tests and batch runs may
//! route the messages elsewhere with setMessageHook.
using MessageHook = std::function<void(QWidget* parent, const QString& message)>;

//! Routes every message shown through showError to the hook (an empty hook restores the
//! message box). Returns the previous hook.
MessageHook setMessageHook(MessageHook hook);

//! Shows the message of an error raised by the core, over parent (or the active window).
void showError(QWidget* parent, const zrn::Error& error);

//! Shows a message text, over parent (or the active window).
void showErrorMessage(QWidget* parent, const QString& message);

//! Runs fn at the edge of a slot or event handler: a zrn::Error (or any other exception)
//! is shown to the user instead of leaving the handler. True when fn finished normally.
template <class Fn> bool guarded(QWidget* parent, Fn&& fn) {
    try {
        fn();
        return true;
    } catch (const zrn::Error& error) {
        showError(parent, error);
    } catch (const std::exception& error) {
        showErrorMessage(parent, QString::fromUtf8(error.what()));
    }
    return false;
}

} // namespace zrn::ui
