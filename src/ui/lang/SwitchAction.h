#pragma once

#include "lang/TaalClient.h"

#include <QAction>

class QActionGroup;

namespace zrn::ui {

//! The common part of the two actions that switch the service's language or unit system:
//! a checkable action whose check mark shows whether its choice is the current one.
//!
//! Switch actions of one action list with the same group index (above 0) are radio items:
//! checking one unchecks the others. Choosing the action runs Execute; a failure is shown to
//! the user, and afterwards the check marks of the group show what the service holds.
class TSwitchAction : public QAction, public lang::TTaalClient {
    Q_OBJECT
public:
    explicit TSwitchAction(QObject* parent = nullptr);

    //! The radio group number (0: none).
    int GroupIndex() const { return groupIndex_; }
    //! Puts the action into the radio group of that number within list (0 leaves every
    //! group). The group is a child of list, shared by its switch actions of that number.
    void SetGroupIndex(int groupIndex, QObject* list);

    //! What choosing the action does; may throw zrn::Error.
    virtual void Execute() = 0;
    //! True when the service's current choice is this action's.
    virtual bool IsCurrent() const = 0;

    //! Checked := IsCurrent().
    void SubjectChanged(lang::ITaalSubject& subject) override;

protected:
    bool AppliesOnAttach() const override { return true; }

private:
    void chosen();

    int groupIndex_ = 0;
};

//! The radio group of that number within list, created on first use.
QActionGroup* RadioGroup(QObject* list, int groupIndex);

} // namespace zrn::ui
