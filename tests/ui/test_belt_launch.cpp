#include "test_belt_support.h"

#include "ui/app/Main.h"

#include <QGroupBox>
#include <QMenuBar>

namespace zrn::ui::test {

//! The main window of the program, launching the belt module as its Belt button does.
class BeltLaunch : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        previousHook_ = SetFileDialogHook([](const TFileDialogRequest&) { return QString(); });
        main_ = std::make_unique<TZRN_main>();
        Activate(*main_);
    }
    void TearDown() override {
        main_.reset();
        SetFileDialogHook(std::move(previousHook_));
        UiTest::TearDown();
    }

    TMat_Invoer* Launch() {
        DialogAccepter accepter;
        main_->ModuleAction(TModule::Belt)->trigger();
        Settle();
        EXPECT_EQ(accepter.captions.size(), 1) << "the warning dialog comes first";
        return qobject_cast<TMat_Invoer*>(main_->ExistingWindow(TModule::Belt));
    }

    std::unique_ptr<TZRN_main> main_;
    MessageCatcher shown_;

private:
    FileDialogHook previousHook_;
};

TEST_F(BeltLaunch, TheBeltButtonOpensTheInputWindowAtTheTopLeftWithItsMenusInTheFrame) {
    ASSERT_TRUE(main_->ModuleAction(TModule::Belt)->isEnabled());
    TMat_Invoer* input = Launch();
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->TaalComponent(), &main_->TaalComponent());
    EXPECT_EQ(input->ProjectDirectory(), rtl::ExeDirectory() + "opslag");
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(input->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->mdiArea(), main_->mdiArea());
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    EXPECT_FALSE(main_->Toolbar()->isVisible());
    EXPECT_FALSE(input->act_file_load->icon().isNull());

    // Its menus stand in the frame's menu bar in place of File; Language and Size stay.
    const QList<QAction*> menus = main_->menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0], input->act_file);
    EXPECT_EQ(menus[1], input->act_clear);
    EXPECT_EQ(menus[2], input->act_results_no_image);
    EXPECT_EQ(menus[3], main_->act_mnu_taal());
    EXPECT_EQ(menus[4], main_->act_mnu_eenheid());

    // Launching again brings the same window to the front.
    EXPECT_EQ(Launch(), input);
}

TEST_F(BeltLaunch, ResultsOpenAtTheRightEdgeOfTheInputWindowAndComeBackAfterClosing) {
    TMat_Invoer* input = Launch();
    ASSERT_NE(input, nullptr);
    belt::Tdm_mat& dm = input->DataModule();
    // A complete project, entered through the data module as the controls would.
    dm.ResetAll();
    dm.PickLookup("mattype", "ZRN 250 FT PP");
    dm.EnterText("lengte", "10");
    dm.EnterText("breedte", "500");
    dm.PickLookup("p_mat_code", "S_PET");
    dm.EnterText("belasting", "20");
    dm.EnterText("diameter", "65");
    dm.PickLookup("geleidingsmateriaal", "S_SUPPORT_SLIDER_BED");
    dm.PickLookup("g_mat_code", "S_UHMWPE");
    dm.EnterText("matsnelheid", "20");
    dm.PickLookup("smering", "D");
    dm.PickLookup("tandwiel_grootte", "10");
    dm.PickLookup("asdiameter", "30 rd");
    ASSERT_EQ(dm.CheckInput(), nullptr);

    input->act_results->trigger();
    Settle();
    TMat_uitvoer* results = input->ExistingResultsWindow();
    ASSERT_NE(results, nullptr);
    auto* resultsSub = qobject_cast<QMdiSubWindow*>(results->parentWidget());
    auto* inputSub = qobject_cast<QMdiSubWindow*>(input->parentWidget());
    ASSERT_NE(resultsSub, nullptr);
    EXPECT_EQ(resultsSub->mdiArea(), main_->mdiArea());
    EXPECT_EQ(resultsSub->y(), 0);
    EXPECT_EQ(resultsSub->geometry().right(),
              std::max(inputSub->geometry().right(), resultsSub->width() - 1));
    // The results window's menus are in the frame while it is active.
    EXPECT_EQ(main_->menuBar()->actions().value(0), results->act_file);

    resultsSub->close();
    Settle();
    EXPECT_TRUE(resultsSub->isMinimized());
    EXPECT_EQ(input->ExistingResultsWindow(), results);
    input->act_results->trigger();
    Settle();
    EXPECT_FALSE(resultsSub->isMinimized());
    EXPECT_EQ(resultsSub->y(), 0);

    // Closing the input window takes the results window with it and shows the logo again.
    QPointer<TMat_uitvoer> watched = results;
    TMat_Invoer::SaveQuestionHook() = [](TMat_Invoer&, const QString&) {
        return QMessageBox::Discard;
    };
    inputSub->close();
    TMat_Invoer::SaveQuestionHook() = nullptr;
    QTest::qWait(0);
    EXPECT_FALSE(watched);
    EXPECT_EQ(main_->ExistingWindow(TModule::Belt), nullptr);
    EXPECT_TRUE(main_->Logo1()->isVisible());
}

} // namespace zrn::ui::test
