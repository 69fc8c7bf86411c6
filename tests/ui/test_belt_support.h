#pragma once

#include "UiTestSupport.h"

#include "belt/d_mat.h"
#include "common/TextHelpers.h"
#include "dataset/Field.h"
#include "dataset/Table.h"
#include "lang/MetricField.h"
#include "lang/TaalComponent.h"
#include "rtl/Paths.h"
#include "ui/app/ImageList.h"
#include "ui/belt/FileDialogs.h"
#include "ui/belt/MAT_INV.h"
#include "ui/belt/Mat_uitv.h"
#include "ui/belt/MatZoneGrid.h"
#include "ui/common/TDBCheckBox.h"
#include "ui/common/TDBEdit.h"
#include "ui/common/TDBLookupComboBox.h"
#include "ui/common/TableModel.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalLabel.h"
#include "ui/lang/TaalQt.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace zrn::ui::test {

//! Answers every modal dialog that opens while it lives by accepting it (OK on the warning
//! dialog) and notes its caption.
class DialogAccepter {
public:
    DialogAccepter() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                captions << dialog->windowTitle();
                dialog->accept();
            }
        });
        timer_.start();
    }
    QStringList captions;

private:
    QTimer timer_;
};

//! Lets queued focus moves, redraws and chart updates happen.
inline void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

//! One field of the belt project a test types in: the field, the control's text and how to
//! enter it (typed into an edit, or a list entry reached by typing its first letters).
struct Entry {
    const char* field;
    const char* text;
};

//! A belt input window on the delivered data and language files, in English and metric
//! units, shown and active; file dialogs are answered from a queue (an empty queue cancels).
class BeltWindowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        taal_.SetLoading(true);
        taal_.SetTaal("engels");
        taal_.SetLoading(false);
        taal_.SetTaalDirectory(rtl::ExeDirectory() + "taal/");
        previousHook_ = SetFileDialogHook([this](const TFileDialogRequest& request) {
            dialogs.push_back(request);
            if (answers.empty())
                return QString();
            const QString answer = answers.front();
            answers.pop_front();
            return answer;
        });
        window_ = new TMat_Invoer;
        window_->SetTaalComponent(&taal_);
        window_->SetProjectDirectory(rtl::ExeDirectory() + "opslag");
        window_->SetImages(Images());
        Activate(*window_);
    }

    void TearDown() override {
        delete window_.data();
        EXPECT_TRUE(shown_.messages.isEmpty())
            << "unexpected message: " << shown_.messages.join(QStringLiteral(" | ")).toStdString();
        SetFileDialogHook(std::move(previousHook_));
        UiTest::TearDown();
    }

    static const ImageList& Images() {
        static const ImageList images = ImageList::MainImages();
        return images;
    }

    TMat_Invoer& W() { return *window_; }
    belt::Tdm_mat& Dm() { return window_->DataModule(); }

    //! Makes the input window the active one again (a results or graph window of its own
    //! may have taken over).
    void Front() {
        if (!W().isActiveWindow())
            Activate(W());
    }

    //! Tabs into an edit, types text over what it shows and tabs on.
    void Type(TDBEdit* edit, const QString& text) {
        Front();
        TabInto(*edit);
        // Tabbing into an edit selects its text, so typing replaces it.
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
        Settle();
    }

    //! Tabs into a lookup box and types the first letters of an entry, then tabs on.
    void Choose(TDBLookupComboBox* combo, const QString& prefix) {
        Front();
        TabInto(*combo);
        QTest::keyClicks(combo, prefix);
        QTest::keyClick(combo, Qt::Key_Tab);
        Settle();
    }

    //! Types text into a cell of the zone grid (zone 1..10, column of the grid).
    void TypeZone(int zone, int column, const QString& text) {
        Front();
        TMatZoneGrid* grid = W().grd_zones;
        grid->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(grid->hasFocus());
        const QModelIndex cell = grid->tableModel()->index(grid->RowOfZone(zone), column);
        grid->setCurrentIndex(cell);
        // The first key opens the cell's editor, which takes the rest.
        for (const QChar ch : text)
            QTest::keyClicks(QApplication::focusWidget(), QString(ch));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        Settle();
    }

    //! The conveyor of these tests typed in as a user does: a 12 m bottle conveyor in two
    //! temperature zones (8 m at 20 °C, 4 m at 45 °C), 600 mm of ZRN 250 FT PP belt.
    void TypeProject() {
        Type(W().Edit1, QStringLiteral("Bottle line"));
        Choose(W().cbx_mat, QStringLiteral("ZRN 250 FT PP"));
        Type(W().Edit2, QStringLiteral("12"));
        Type(W().Edit3, QStringLiteral("600"));
        Choose(W().cbx_product, QStringLiteral("Gla"));
        Type(W().edt_weight, QStringLiteral("350"));
        Type(W().edt_diameter, QStringLiteral("80"));
        Type(W().Edit7, QStringLiteral("90"));
        Choose(W().cbx_support, QStringLiteral("Full"));
        Choose(W().cbx_geleiding, QStringLiteral("UHMW"));
        Type(W().Edit13, QStringLiteral("18000"));
        Choose(W().cbx_smering, QStringLiteral("Wat"));
        Type(W().Edit9, QStringLiteral("100"));
        Type(W().Edit10, QStringLiteral("0"));
        Type(W().Edit11, QStringLiteral("2"));
        Choose(W().cbx_tandwiel, QStringLiteral("10"));
        Choose(W().cbx_boring, QStringLiteral("30 r"));
        TypeZone(1, TMatZoneGrid::kLengthColumn, QStringLiteral("8"));
        TypeZone(1, TMatZoneGrid::kTempColumn, QStringLiteral("20"));
        TypeZone(2, TMatZoneGrid::kLengthColumn, QStringLiteral("4"));
        TypeZone(2, TMatZoneGrid::kTempColumn, QStringLiteral("45"));
    }

    //! The same project replayed through the data module alone, as the command-line tool
    //! does: a second module on the same data and language service.
    std::unique_ptr<belt::Tdm_mat> ReplayProject() {
        auto dm = std::make_unique<belt::Tdm_mat>();
        dm->SetDataDirectory(rtl::ExeDirectory() + "data");
        dm->SetTaalComponent(&taal_);
        dm->ResetAll();
        dm->EnterText("project", "Bottle line");
        dm->PickLookup("mattype", "ZRN 250 FT PP");
        dm->EnterText("lengte", "12");
        dm->EnterText("breedte", "600");
        dm->PickLookup("p_mat_code", "S_GLASS");
        dm->EnterText("gewicht", "350");
        dm->EnterText("diameter", "80");
        dm->EnterText("bezettingsgraad", "90");
        dm->PickLookup("geleidingsmateriaal", "S_SUPPORT_SLIDER_BED");
        dm->PickLookup("g_mat_code", "S_UHMWPE");
        dm->EnterText("product_per_uur", "18000");
        dm->PickLookup("smering", "W");
        dm->EnterText("stuw", "100");
        dm->EnterText("hoogteverschil", "0");
        dm->EnterText("temp_zones", "2");
        dm->PickLookup("tandwiel_grootte", "10");
        dm->PickLookup("asdiameter", "30 rd");
        dm->EnterZoneText(1, "lengte", "8");
        dm->EnterZoneText(1, "temp", "20");
        dm->EnterZoneText(2, "lengte", "4");
        dm->EnterZoneText(2, "temp", "45");
        return dm;
    }

    //! The expected caption of a language label in the current language and unit system.
    std::string ExpectedCaption(const TTaalLabel& label) {
        if (!label.IsTaal())
            return TaalToQt(lang::TaalUnitLabel(taal_, label.EenhCode())).toStdString();
        std::string text = lang::TaalText(taal_, label.TaalCode());
        if (label.FirstCharUpper())
            text = common::CapitalizeFirst(text);
        return TaalToQt(text).toStdString();
    }

    lang::TTaalComponent taal_;
    //! Messages nobody expected; a test that expects one catches it itself.
    MessageCatcher shown_;
    QPointer<TMat_Invoer> window_;
    std::vector<TFileDialogRequest> dialogs;
    std::deque<QString> answers;

private:
    FileDialogHook previousHook_;
};

} // namespace zrn::ui::test
