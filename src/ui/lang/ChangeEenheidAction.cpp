#include "ui/lang/ChangeEenheidAction.h"

#include "lang/TaalComponent.h"
#include "ui/common/DataControl.h"

namespace zrn::ui {

TChangeEenheidAction::TChangeEenheidAction(QObject* parent) : TSwitchAction(parent) {}

void TChangeEenheidAction::Execute() {
    if (!TaalComponent())
        return;
    if (!CommitFocusedControl())
        return;
    TaalComponent()->SetEenheid(eenheid_);
    setChecked(true);
    RefreshFocusedControl();
}

bool TChangeEenheidAction::IsCurrent() const {
    return TaalComponent() && TaalComponent()->Eenheid() == eenheid_;
}

} // namespace zrn::ui
