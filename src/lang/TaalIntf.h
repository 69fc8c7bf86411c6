#pragma once

#include <string>

namespace zrn::lang {

//! The unit system in which quantities are shown and entered; values are always stored
//! metric.
enum TEenheid {
    ehMetrisch = 0, //!< metric units
    ehImperial = 1  //!< imperial units
};

class ITaalObserver;

//! What a language and unit service offers to the rest of the program: texts of language
//! keys, unit labels, conversions and the notification of its observers.
//!
//! The first five operations never throw: a failure is caught inside and reported by a
//! false result, and LastFailure() then holds the message for the caller to raise (see
//! CheckTaal). The two conversions return their value and throw zrn::Error on failure.
class ITaalSubject {
public:
    virtual ~ITaalSubject() = default;

    //! Tells every attached observer, in attach order, that language or units changed.
    virtual bool NotifyObservers() = 0;
    //! The text of a language key; a key the language file lacks gives "".
    virtual bool GetText(const std::string& key, std::string& text) = 0;
    //! The label of a unit code in the current unit system; an unknown code gives "".
    virtual bool GetUnitLabel(const std::string& code, std::string& label) = 0;
    //! Adds an observer at the end of the list; attaching it again changes nothing.
    virtual bool Attach(ITaalObserver& observer) = 0;
    //! Removes an observer from the list when it is in it.
    virtual bool Detach(ITaalObserver& observer) = 0;
    //! The metric value of an imperial value of a unit code (0 for an unknown code).
    virtual double ToMetric(const std::string& code, double value) = 0;
    //! The imperial value of a metric value of a unit code (0 for an unknown code).
    virtual double ToImperial(const std::string& code, double value) = 0;
    //! The message of the last failed status operation.
    virtual const std::string& LastFailure() const = 0;
};

//! A component that follows a language and unit service: it relabels or redisplays
//! itself whenever the service's language or unit system changes.
class ITaalObserver {
public:
    virtual ~ITaalObserver() = default;

    //! The service this observer is attached to, or null.
    virtual ITaalSubject* GetSubject() const = 0;
    //! Attaches to a service, or detaches when given null.
    virtual void SetSubject(ITaalSubject* subject) = 0;
    //! The language or unit system of subject changed; may throw zrn::Error.
    virtual void SubjectChanged(ITaalSubject& subject) = 0;
};

//! Throws zrn::Error with the subject's failure message when status is false.
void CheckTaal(bool status, const ITaalSubject& subject);

//! The text of a language key; throws zrn::Error when the subject cannot answer.
std::string TaalText(ITaalSubject& subject, const std::string& key);

//! The label of a unit code; throws zrn::Error when the subject cannot answer.
std::string TaalUnitLabel(ITaalSubject& subject, const std::string& code);

//! Notifies the subject's observers; throws zrn::Error when one of them failed.
void TaalNotify(ITaalSubject& subject);

} // namespace zrn::lang
