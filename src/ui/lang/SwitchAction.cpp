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
    guarded(nullptr, [this] { Execute(); });
    // Qt moved the check mark before Execute ran, which may have switched nothing (a refused
    // pending value) or failed: the marks show what the service holds.
    if (!TaalComponent())
        return;
    const QList<QAction*> members =
        actionGroup() ? actionGroup()->actions() : QList<QAction*>{this};
    for (QAction* member : members) {
        auto* action = qobject_cast<TSwitchAction*>(member);
        if (action && action->TaalComponent())
            action->setChecked(action->IsCurrent());
    }
}

} // namespace zrn::ui
