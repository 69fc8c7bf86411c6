#pragma once

#include <QDialog>

class QPushButton;

namespace zrn::lang {
class TTaalComponent;
}

namespace zrn::ui {

class TTaalLabel;

//! The warning shown before a calculation module opens: the program is an aid to the
//! conveyor builder's own knowledge. A fixed-size dialog that only its OK button closes
//! (no close box, Escape does nothing); its text follows the language service.
class TfrmWarrenty : public QDialog {
    Q_OBJECT
public:
    //! A dialog whose label follows the given service (the main window's).
    explicit TfrmWarrenty(lang::TTaalComponent* taalComponent, QWidget* parent = nullptr);

    //! The word-wrapping label of "S_WARRANTY".
    TTaalLabel* TaalLabel1() const { return taalLabel1_; }
    //! The button that closes the dialog with the result OK.
    QPushButton* OkButton() const { return ok_; }

public slots:
    //! Only OK closes the dialog: the title bar and Escape do not.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TTaalLabel* taalLabel1_;
    QPushButton* ok_;
};

} // namespace zrn::ui
