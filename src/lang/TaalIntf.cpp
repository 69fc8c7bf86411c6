#include "lang/TaalIntf.h"

#include "rtl/Error.h"

namespace zrn::lang {

void CheckTaal(bool status, const ITaalSubject& subject) {
    if (!status)
        throw Error(subject.LastFailure());
}

std::string TaalText(ITaalSubject& subject, const std::string& key) {
    std::string text;
    CheckTaal(subject.GetText(key, text), subject);
    return text;
}

std::string TaalUnitLabel(ITaalSubject& subject, const std::string& code) {
    std::string label;
    CheckTaal(subject.GetUnitLabel(code, label), subject);
    return label;
}

void TaalNotify(ITaalSubject& subject) {
    CheckTaal(subject.NotifyObservers(), subject);
}

} // namespace zrn::lang
