#include "ui/lang/ChangeTaalAction.h"

#include "lang/TaalComponent.h"

namespace zrn::ui {

TChangeTaalAction::TChangeTaalAction(QObject* parent) : TSwitchAction(parent) {}

void TChangeTaalAction::Execute() {
    if (!TaalComponent() || taal_.empty())
        return;
    TaalComponent()->SetTaal(taal_);
    setChecked(true);
}

bool TChangeTaalAction::IsCurrent() const {
    return TaalComponent() && TaalComponent()->Taal() == taal_;
}

} // namespace zrn::ui
