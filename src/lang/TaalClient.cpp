#include "lang/TaalClient.h"

#include "lang/TaalComponent.h"

namespace zrn::lang {

TTaalClient::~TTaalClient() {
    // Not SetSubject: no virtual calls while the component is half destroyed.
    if (subject_)
        subject_->Detach(*this);
    subject_ = nullptr;
    if (taalComponent_)
        taalComponent_->RemoveFreeNotification(*this);
}

void TTaalClient::SetTaalComponent(TTaalComponent* service) {
    if (service != taalComponent_) {
        if (taalComponent_)
            taalComponent_->RemoveFreeNotification(*this);
        taalComponent_ = service;
        if (service)
            service->FreeNotification(*this);
    }
    SetSubject(service);
}

void TTaalClient::SetSubject(ITaalSubject* subject) {
    if (!subject) {
        if (subject_)
            subject_->Detach(*this);
        subject_ = nullptr;
        return;
    }
    // Leave a previous service first, so that it never keeps this component in its list.
    if (subject_ && subject_ != subject)
        subject_->Detach(*this);
    subject_ = nullptr;
    CheckTaal(subject->Attach(*this), *subject);
    // Held before the first relabel: a relabel that fails leaves the component attached
    // and knowing it, so it still detaches when it goes.
    subject_ = subject;
    if (AppliesOnAttach())
        SubjectChanged(*subject);
}

void TTaalClient::TaalComponentRemoved(TTaalComponent& service) {
    if (taalComponent_ == &service)
        SetTaalComponent(nullptr);
}

} // namespace zrn::lang
