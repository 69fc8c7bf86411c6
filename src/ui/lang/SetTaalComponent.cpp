#include "ui/lang/SetTaalComponent.h"

#include "lang/TaalComponent.h"
#include "lang/TaalObserver.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalLabel.h"

#include <QWidget>

namespace zrn::ui {

void SetTaalComponent(QWidget* window, lang::TTaalComponent* service,
                      lang::TTaalObserver* observer) {
    if (observer)
        observer->SetTaalComponent(service);
    if (window) {
        // findChildren walks depth first through each object's children in the order they
        // were added, which is the order the window created them.
        const auto children = window->findChildren<QObject*>();
        for (QObject* child : children) {
            if (auto* label = qobject_cast<TTaalLabel*>(child))
                label->SetTaalComponent(service);
            else if (auto* action = qobject_cast<TTaalAction*>(child))
                action->SetTaalComponent(service);
        }
    }
    if (service)
        lang::TaalNotify(*service);
}

} // namespace zrn::ui
