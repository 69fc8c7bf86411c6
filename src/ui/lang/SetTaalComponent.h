#pragma once

class QWidget;

namespace zrn::lang {
class TTaalComponent;
class TTaalObserver;
} // namespace zrn::lang

namespace zrn::ui {

//! Binds a window to the language service: sets the service on the window's own observer
//! (when given), then on every language label and language action of the window, in the
//! order they were created, and notifies the service's observers once so that everything
//! shows the current language and unit system. A failure of the notification is raised as
//! zrn::Error.
void SetTaalComponent(QWidget* window, lang::TTaalComponent* service,
                      lang::TTaalObserver* observer = nullptr);

} // namespace zrn::ui
