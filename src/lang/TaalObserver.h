#pragma once

#include "lang/TaalClient.h"

#include <functional>

namespace zrn::lang {

class TTaalObserver;

//! The event of a TTaalObserver: the observer that fired and the service that changed.
using TTaalChangeEvent = std::function<void(TTaalObserver& sender, ITaalSubject& subject)>;

//! A window's or data module's hook into the language service: raises OnTaalChange once
//! when it is attached and once per change of language or unit system afterwards, so the
//! owner relabels its captions, field titles and lookup texts.
class TTaalObserver : public TTaalClient {
public:
    //! Raised on every change (not while the observer is being loaded); may throw.
    TTaalChangeEvent OnTaalChange;

    //! Calls OnTaalChange with this observer and the subject, unless loading.
    void SubjectChanged(ITaalSubject& subject) override;

protected:
    bool AppliesOnAttach() const override { return true; }
};

} // namespace zrn::lang
