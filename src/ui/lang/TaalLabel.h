#pragma once

#include "lang/TaalClient.h"

#include <QLabel>

#include <string>

namespace zrn::ui {

//! A label whose caption follows the language service: the text of a language key in the
//! current language (optionally with its first letter upper-cased), or, for a unit label,
//! the label of a unit code in the current unit system.
//!
//! The caption changes only on a notification of the service; attaching waits for the next
//! one, and changing a property does not relabel by itself. Captions are plain text.
class TTaalLabel : public QLabel, public lang::TTaalClient {
    Q_OBJECT
public:
    explicit TTaalLabel(QWidget* parent = nullptr);
    //! A language label of the given key showing text until the first notification.
    TTaalLabel(const std::string& taalCode, const QString& text, QWidget* parent = nullptr);

    //! The unit code shown when IsTaal is false.
    const std::string& EenhCode() const { return eenhCode_; }
    //! Sets the unit code.
    void SetEenhCode(std::string code) { eenhCode_ = std::move(code); }
    //! True (the default) for a language text, false for a unit label.
    bool IsTaal() const { return isTaal_; }
    //! Chooses between language text and unit label.
    void SetIsTaal(bool isTaal) { isTaal_ = isTaal; }
    //! The language key shown when IsTaal is true.
    const std::string& TaalCode() const { return taalCode_; }
    //! Sets the language key.
    void SetTaalCode(std::string code) { taalCode_ = std::move(code); }
    //! True when the first letter of the language text is upper-cased (a to z only).
    bool FirstCharUpper() const { return firstCharUpper_; }
    //! Sets the first-letter rule.
    void SetFirstCharUpper(bool on) { firstCharUpper_ = on; }

    //! Relabels from the service: unit label, capitalised text or plain text.
    void SubjectChanged(lang::ITaalSubject& subject) override;

protected:
    bool AppliesOnAttach() const override { return false; }

private:
    std::string eenhCode_;
    bool isTaal_ = true;
    std::string taalCode_;
    bool firstCharUpper_ = false;
};

} // namespace zrn::ui
