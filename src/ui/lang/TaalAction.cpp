#include "ui/lang/TaalAction.h"

#include "ui/lang/TaalQt.h"

namespace zrn::ui {

QString HintOf(const QString& caption) {
    QString hint = caption;
    const qsizetype amp = hint.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        hint.remove(amp, 1);
    return hint;
}

TTaalAction::TTaalAction(QObject* parent) : QAction(parent) {}

TTaalAction::TTaalAction(const std::string& taalCode, const QString& caption, QObject* parent)
    : QAction(caption, parent), taalCode_(taalCode) {}

void TTaalAction::SubjectChanged(lang::ITaalSubject& subject) {
    const QString caption = TaalToQt(lang::TaalText(subject, taalCode_));
    setText(caption);
    const QString hint = HintOf(caption);
    setToolTip(hint);
    setStatusTip(hint);
}

} // namespace zrn::ui
