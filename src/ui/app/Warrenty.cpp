#include "ui/app/Warrenty.h"

#include "ui/lang/TaalLabel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace zrn::ui {

TfrmWarrenty::TfrmWarrenty(lang::TTaalComponent* taalComponent, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmWarrenty"));
    setFixedSize(443, 327);

    auto* raised = new QFrame(this);
    raised->setFrameStyle(QFrame::Panel | QFrame::Raised);
    raised->setGeometry(0, 0, 443, 327);

    auto* white = new QFrame(raised);
    white->setGeometry(29, 24, 385, 225);
    white->setAutoFillBackground(true);
    white->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette paper = white->palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, QColor(160, 160, 160));
    white->setPalette(paper);

    taalLabel1_ = new TTaalLabel("S_WARRANTY",
                                 QStringLiteral("Warning!\n"
                                                "This calculation program should be used as an\n"
                                                "addition to the practical knowledge of the\n"
                                                "conveyor builder. When warnings are given\n"
                                                "or when in doubt, please consult ZRN."),
                                 white);
    taalLabel1_->setObjectName(QStringLiteral("TaalLabel1"));
    taalLabel1_->setGeometry(12, 12, 361, 201);
    taalLabel1_->setWordWrap(true);
    taalLabel1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = taalLabel1_->font();
    // The five lines are set for a font of Arial's width.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(16);
    taalLabel1_->setFont(font);
    QPalette navy = taalLabel1_->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    taalLabel1_->setPalette(navy);
    taalLabel1_->SetTaalComponent(taalComponent);

    ok_ = new QPushButton(QStringLiteral("OK"), raised);
    ok_->setGeometry(184, 274, 75, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmWarrenty::reject() {}

void TfrmWarrenty::showEvent(QShowEvent* event) {
    if (const QScreen* screen =
            parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace zrn::ui
