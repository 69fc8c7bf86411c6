#include "ui/lang/TaalLabel.h"

#include "common/TextHelpers.h"
#include "ui/lang/TaalQt.h"

namespace zrn::ui {

TTaalLabel::TTaalLabel(QWidget* parent) : QLabel(parent) {
    // Language texts are never markup, whatever characters they hold.
    setTextFormat(Qt::PlainText);
}

TTaalLabel::TTaalLabel(const std::string& taalCode, const QString& text, QWidget* parent)
    : TTaalLabel(parent) {
    taalCode_ = taalCode;
    setText(text);
}

void TTaalLabel::SubjectChanged(lang::ITaalSubject& subject) {
    std::string caption;
    if (!isTaal_)
        caption = lang::TaalUnitLabel(subject, eenhCode_);
    else if (firstCharUpper_)
        caption = common::CapitalizeFirst(lang::TaalText(subject, taalCode_));
    else
        caption = lang::TaalText(subject, taalCode_);
    setText(TaalToQt(caption));
}

} // namespace zrn::ui
