#include "ui/lang/SwitchAction.h"

#include "ui/common/ErrorDisplay.h"

#include <QActionGroup>
#include <QVariant>

namespace zrn::ui {

namespace {

const char* const kGroupIndexProperty = "zrnGroupIndex";

} // namespace

QActionGroup* RadioGroup(QObject* list, int groupIndex) {
    const auto groups = list->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly);
    for (QActionGroup* group : groups) {
        if (group->property(kGroupIndexProperty).toInt() == groupIndex)
            return group;
    }
    auto* group = new QActionGroup(list);
    group->setProperty(kGroupIndexProperty, groupIndex);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    return group;
}

TSwitchAction::TSwitchAction(QObject* parent) : QAction(parent) {
    setCheckable(true);
    connect(this, &QAction::triggered, this, &TSwitchAction::chosen);
}

void TSwitchAction::SetGroupIndex(int groupIndex, QObject* list) {
    groupIndex_ = groupIndex;
    if (groupIndex <= 0 || !list) {
        setActionGroup(nullptr);
        return;
    }
    setActionGroup(RadioGroup(list, groupIndex));
}

void TSwitchAction::SubjectChanged(lang::ITaalSubject&) {
    setChecked(IsCurrent());
}

void TSwitchAction::chosen() {
    if (guarded(nullptr, [this] { Execute(); }))
        return;
    // Qt moved the check mark before the switch failed: show what the service holds.
    QList<QAction*> members = actionGroup() ? actionGroup()->actions() : QList<QAction*>{this};
    for (QAction* member : members) {
        if (auto* action = dynamic_cast<TSwitchAction*>(member))
            action->setChecked(action->IsCurrent());
    }
}

} // namespace zrn::ui
