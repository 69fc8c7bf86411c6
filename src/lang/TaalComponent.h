#pragma once

#include "lang/TaalIntf.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zrn::lang {

class TCalcul;
class TTaalClient;

//! The language and unit service: holds the current language and unit system, answers
//! text and unit-label queries from the language file and the unit file of its language
//! directory, converts values between metric and imperial with the unit file's formulas,
//! and tells its observers, in attach order, when the language or unit system changes.
//!
//! What always holds: a failed read leaves the texts or units of the previous read in
//! force; the observer list has no duplicates; a destroyed service leaves no observer
//! holding it (its clients get the removal notice, see TTaalClient).
class TTaalComponent : public ITaalSubject {
public:
    TTaalComponent();
    ~TTaalComponent() override;
    TTaalComponent(const TTaalComponent&) = delete;
    TTaalComponent& operator=(const TTaalComponent&) = delete;

    // ---- properties ----

    //! The current unit system.
    TEenheid Eenheid() const { return eenheid_; }
    //! Sets the unit system, then rereads the unit file and notifies (also when unchanged).
    void SetEenheid(TEenheid eenheid);
    //! The current language code, the base name of its language file.
    const std::string& Taal() const { return taal_; }
    //! Sets the language, then reads its file and notifies (also when unchanged); a
    //! language without a file keeps the previous texts and notifies nobody.
    void SetTaal(const std::string& taal);
    //! The language directory, ending in the path separator; a relative stored value is
    //! completed with the program's directory.
    std::string TaalDirectory() const;
    //! Sets the language directory (a separator is added at the end), then reads the
    //! language file without notifying and the unit file with notifying.
    void SetTaalDirectory(const std::string& directory);

    //! True while the service is being built from its stored design: nothing is read.
    bool Loading() const { return loading_; }
    //! Starts or ends the loading of the stored design.
    void SetLoading(bool loading) { loading_ = loading; }

    // ---- reading the files ----

    //! Reads "eenheden.xml" from the language directory; throws "Taaldirectory niet
    //! gevonden" when it is missing. Notifies the observers when notify is set.
    virtual void LoadUnitFile(bool notify);
    //! Reads the file of the current language when it exists (notifying when notify is
    //! set); does nothing when it does not.
    virtual void LoadLanguageFile(bool notify);

    //! The formula evaluator of the conversions.
    TCalcul& Calculator() { return *calculator_; }

    //! Number of attached observers.
    int ObserverCount() const { return static_cast<int>(observers_.size()); }

    // ---- ITaalSubject ----

    bool NotifyObservers() override;
    bool GetText(const std::string& key, std::string& text) override;
    bool GetUnitLabel(const std::string& code, std::string& label) override;
    bool Attach(ITaalObserver& observer) override;
    bool Detach(ITaalObserver& observer) override;
    double ToMetric(const std::string& code, double value) override;
    double ToImperial(const std::string& code, double value) override;
    const std::string& LastFailure() const override { return lastFailure_; }

    // ---- removal notices ----

    //! Asks for the removal notice when this service is destroyed (once per client).
    void FreeNotification(TTaalClient& client);
    //! Withdraws the request.
    void RemoveFreeNotification(TTaalClient& client);

private:
    //! One row of the unit file.
    struct UnitRow {
        std::string metrisch;
        std::string imperial;
        std::string naarMetrisch;
        std::string naarImperial;
    };

    double Convert(const std::string& code, double value, std::string UnitRow::*formula);
    bool Fail(const std::string& message);

    TEenheid eenheid_ = ehMetrisch;
    std::string taal_;
    std::string directory_;
    bool loading_ = false;

    bool unitsRead_ = false;
    std::map<std::string, UnitRow> units_;
    bool textsRead_ = false;
    std::map<std::string, std::string> texts_;

    std::unique_ptr<TCalcul> calculator_;
    std::vector<ITaalObserver*> observers_;
    bool destroying_ = false;
    std::vector<TTaalClient*> freeNotifies_;
    std::string lastFailure_;
};

} // namespace zrn::lang
