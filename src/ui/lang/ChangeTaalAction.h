#pragma once

#include "ui/lang/SwitchAction.h"

#include <string>

namespace zrn::ui {

//! A Language menu item: switches the service to one language and is checked while that
//! language is the current one.
class TChangeTaalAction : public TSwitchAction {
    Q_OBJECT
public:
    explicit TChangeTaalAction(QObject* parent = nullptr);

    //! The language code this action switches to.
    const std::string& Taal() const { return taal_; }
    //! Sets the language code.
    void SetTaal(std::string taal) { taal_ = std::move(taal); }

    //! With a service and a code: sets the service's language (which reads its file and
    //! notifies every observer) and checks the action.
    void Execute() override;
    //! True when the service's language equals Taal exactly.
    bool IsCurrent() const override;

private:
    std::string taal_;
};

} // namespace zrn::ui
