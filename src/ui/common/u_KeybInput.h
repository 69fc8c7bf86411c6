#pragma once

#include <QObject>

class QCoreApplication;

namespace zrn::ui {

//! Makes the numeric keypad's decimal key type the program's decimal separator, whatever
//! the keyboard layout puts on it, so that a number can be typed on the keypad alone.
//!
//! One converter watches every key event of the program (an application-wide event
//! filter): a key of the keypad's decimal key is replaced, for the widget it was meant
//! for, by the same key typing zrn::rtl::FormatSettings().decimalSeparator. Destroying the
//! converter removes it again.
class TKeyConverter : public QObject {
    Q_OBJECT
public:
    //! A converter installed on the application (owned by the caller, usually the main
    //! window or the program's entry).
    explicit TKeyConverter(QCoreApplication* application, QObject* parent = nullptr);
    ~TKeyConverter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCoreApplication* application_;
    bool sending_ = false;
};

} // namespace zrn::ui
