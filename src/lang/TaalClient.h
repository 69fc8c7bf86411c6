#pragma once

#include "lang/TaalIntf.h"

namespace zrn::lang {

class TTaalComponent;

//! The part every language-aware component shares: its TaalComponent property, the
//! subject it is attached to, and the removal notice of the service.
//!
//! What always holds: the client is in the observer list of at most one service, the
//! subject it holds; it never holds a service that no longer exists. When the service is
//! destroyed first, its removal notice sets TaalComponent to none; when the client is
//! destroyed first, it detaches itself. Subclasses say what SubjectChanged does and
//! whether it is applied at once when the client attaches (AppliesOnAttach).
class TTaalClient : public ITaalObserver {
public:
    TTaalClient() = default;
    ~TTaalClient() override;
    TTaalClient(const TTaalClient&) = delete;
    TTaalClient& operator=(const TTaalClient&) = delete;

    //! The service the component follows, or null.
    TTaalComponent* TaalComponent() const { return taalComponent_; }
    //! Sets the service (null: none) and attaches to it; a second set with the same
    //! service attaches nothing more but applies SubjectChanged again where it applies.
    void SetTaalComponent(TTaalComponent* service);

    //! The subject held, or null.
    ITaalSubject* GetSubject() const override { return subject_; }
    //! Attaches to subject (then, for AppliesOnAttach components, applies SubjectChanged)
    //! or, given null, detaches from the subject held so far. Only TaalComponent asks for
    //! the removal notice, so attach through SetTaalComponent.
    void SetSubject(ITaalSubject* subject) override;

    //! True while the component is being built from its stored design.
    bool Loading() const { return loading_; }
    //! Starts or ends the loading of the stored design.
    void SetLoading(bool loading) { loading_ = loading; }

protected:
    //! True when attaching applies SubjectChanged at once; false waits for the next
    //! notification.
    virtual bool AppliesOnAttach() const = 0;

private:
    friend class TTaalComponent;
    //! The removal notice: the service is being destroyed.
    void TaalComponentRemoved(TTaalComponent& service);

    TTaalComponent* taalComponent_ = nullptr;
    ITaalSubject* subject_ = nullptr;
    bool loading_ = false;
};

} // namespace zrn::lang
