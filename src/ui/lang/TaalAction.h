#pragma once

#include "lang/TaalClient.h"

#include <QAction>

#include <string>

namespace zrn::ui {

//! An action whose caption is the text of a language key; its hint (tool tip and status
//! tip) is the same text without its first "&", so the access key does not show there.
//!
//! The caption changes only on a notification of the service; attaching waits for the next
//! one. A key the language file lacks gives an empty caption and hint.
class TTaalAction : public QAction, public lang::TTaalClient {
    Q_OBJECT
public:
    explicit TTaalAction(QObject* parent = nullptr);
    //! An action of the given key with its designed caption.
    TTaalAction(const std::string& taalCode, const QString& caption, QObject* parent = nullptr);

    //! The language key.
    const std::string& TaalCode() const { return taalCode_; }
    //! Sets the language key.
    void SetTaalCode(std::string code) { taalCode_ = std::move(code); }

    //! Caption := text of the key; hint := that text without its first "&".
    void SubjectChanged(lang::ITaalSubject& subject) override;

protected:
    bool AppliesOnAttach() const override { return false; }

private:
    std::string taalCode_;
};

//! The hint of a caption: the caption without its first "&".
QString HintOf(const QString& caption);

} // namespace zrn::ui
