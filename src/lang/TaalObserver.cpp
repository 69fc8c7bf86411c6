#include "lang/TaalObserver.h"

namespace zrn::lang {

void TTaalObserver::SubjectChanged(ITaalSubject& subject) {
    if (Loading() || !OnTaalChange)
        return;
    OnTaalChange(*this, subject);
}

} // namespace zrn::lang
