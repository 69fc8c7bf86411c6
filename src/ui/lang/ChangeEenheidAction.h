#pragma once

#include "lang/TaalIntf.h"
#include "ui/lang/SwitchAction.h"

namespace zrn::ui {

//! A Size menu item: switches the service to one unit system and is checked while that
//! system is the current one.
class TChangeEenheidAction : public TSwitchAction {
    Q_OBJECT
public:
    explicit TChangeEenheidAction(QObject* parent = nullptr);

    //! The unit system this action switches to.
    lang::TEenheid Eenheid() const { return eenheid_; }
    //! Sets the unit system.
    void SetEenheid(lang::TEenheid eenheid) { eenheid_ = eenheid; }

    //! With a service: hands a half-typed value of the focused data-aware control to its
    //! field in the old unit system (a refused value stops the switch), sets the service's
    //! unit system (which notifies every observer), checks the action, and lets the focused
    //! control show its value in the new system.
    void Execute() override;
    //! True when the service's unit system is Eenheid.
    bool IsCurrent() const override;

private:
    lang::TEenheid eenheid_ = lang::ehMetrisch;
};

} // namespace zrn::ui
