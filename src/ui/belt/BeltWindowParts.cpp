#include "ui/belt/BeltWindowParts.h"

#include "ui/lang/TaalAction.h"

#include <QGroupBox>

namespace zrn::ui {

TTaalAction* NewAction(const char* name, const std::string& key, const char* caption,
                       QObject* parent, int image, const QKeySequence& shortcut) {
    auto* action = new TTaalAction(key, QString::fromUtf8(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(HintOf(action->text()));
    if (image >= 0)
        action->setProperty(kImageIndex, image);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Several module windows live in one frame: a window's keys work while it has the
        // focus.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    return action;
}

QGroupBox* NewGroup(const char* name, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QString::fromLatin1(name));
    QFont font = group->font();
    font.setBold(true);
    group->setFont(font);
    return group;
}

} // namespace zrn::ui
