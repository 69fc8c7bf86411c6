#pragma once

#include <QMainWindow>

class QMdiArea;

namespace zrn::ui {

//! The frame of the program: hosts the module windows in its MDI area.
class TZRN_main : public QMainWindow {
    Q_OBJECT
public:
    explicit TZRN_main(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return mdi_; }

private:
    QMdiArea* mdi_;
};

} // namespace zrn::ui
