#include "test_belt_support.h"

#include "rtl/Format.h"
#include "ui/common/TDBText.h"
#include "ui/common/TableModel.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>

namespace zrn::ui::test {

namespace {

//! The stored form of a field: metric for a quantity.
std::string Stored(const ds::Field& field) {
    if (field.isNull())
        return "<null>";
    if (const auto* metric = dynamic_cast<const lang::TMetricField*>(&field))
        return rtl::FloatToStr(metric->MetricValue());
    return field.asString();
}

//! Every stored field of the record and of its layout and load rows, by name.
std::vector<std::pair<std::string, std::string>> StoredRecord(belt::Tdm_mat& dm) {
    std::vector<std::pair<std::string, std::string>> values;
    ds::Table& invoer = dm.cds_invoer;
    for (int i = 0; i < invoer.fieldCount(); ++i) {
        const ds::Field& field = invoer.field(i);
        if (field.isStored() && field.type() != ds::FieldType::Nested && field.name() != "taal" &&
            field.name() != "eenheid")
            values.emplace_back(field.name(), Stored(field));
    }
    for (ds::Table* rows : {&dm.cds_invoer_zones, &dm.cds_load_zones}) {
        for (int pos = 0; pos < rows->recordCount(); ++pos) {
            ds::RowPeek peek = rows->peekRow(pos);
            for (int i = 0; i < rows->fieldCount(); ++i)
                values.emplace_back(rows->name() + "[" + std::to_string(pos) + "]." +
                                        rows->field(i).name(),
                                    Stored(rows->field(i)));
        }
    }
    return values;
}

bool IsBoldRed(const QLabel& label) {
    return label.font().bold() && label.palette().color(QPalette::WindowText) == QColor(Qt::red);
}

TTaalLabel* CaptionOf(TMat_Invoer& window, QWidget* control) {
    for (TTaalLabel* label : window.Labels())
        if (label->buddy() == control)
            return label;
    return nullptr;
}

} // namespace

class BeltInputWindow : public BeltWindowTest {};

TEST_F(BeltInputWindow, AProjectTypedIntoTheEmptyTemplateShowsTheResultsOfTheCore) {
    TypeProject();
    ASSERT_EQ(Dm().CheckInput(), nullptr) << "the typed project is complete";
    W().act_results->trigger();
    Settle();
    TMat_uitvoer* results = W().ExistingResultsWindow();
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->isVisible());

    std::unique_ptr<belt::Tdm_mat> replay = ReplayProject();
    ASSERT_EQ(replay->CheckInput(), nullptr);
    ASSERT_FALSE(replay->Invoer("uit_werk_belasting").isNull());
    // What the user typed, and everything the calculation made of it, is what the core makes
    // of the same inputs.
    const auto typed = StoredRecord(Dm());
    const auto expected = StoredRecord(*replay);
    ASSERT_EQ(typed.size(), expected.size());
    for (std::size_t i = 0; i < typed.size(); ++i)
        EXPECT_EQ(typed[i], expected[i]);
    // And the results window shows each result as the core formats it.
    for (const char* name : {"uit_werk_belasting", "uit_draaimoment", "uit_motorvermogen",
                             "uit_lengte_mat", "uit_aandrijf_wielen", "uit_doorbuiging_retouras",
                             "uit_max_hoekverdraaiing", "uit_opstartfactor", "uit_wrijf_product"}) {
        TDBText* value = results->ValueOf(name);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->text().toStdString(), replay->Invoer(name).text()) << name;
        EXPECT_FALSE(value->text().isEmpty()) << name;
    }
}

TEST_F(BeltInputWindow, ResultsWithAMissingDiameterHighlightsItsLabelAndFocusesTheEdit) {
    TypeProject();
    TabInto(*W().edt_diameter);
    W().edt_diameter->selectAll();
    QTest::keyClick(W().edt_diameter, Qt::Key_Backspace);
    QTest::keyClick(W().edt_diameter, Qt::Key_Tab);
    Settle();
    ASSERT_TRUE(Dm().Invoer("diameter").isNull());

    W().act_results->trigger();
    Settle();
    TTaalLabel* diameter = CaptionOf(W(), W().edt_diameter);
    ASSERT_NE(diameter, nullptr);
    EXPECT_TRUE(IsBoldRed(*diameter));
    EXPECT_EQ(QApplication::focusWidget(), W().edt_diameter);
    EXPECT_EQ(W().ExistingResultsWindow(), nullptr);
    for (TTaalLabel* label : W().Labels())
        if (label != diameter)
            EXPECT_FALSE(IsBoldRed(*label)) << label->text().toStdString();

    // The project name is optional: with the diameter back and no name the results open,
    // and the highlight is gone.
    Type(W().edt_diameter, QStringLiteral("80"));
    Type(W().Edit1, QString());
    W().act_results->trigger();
    Settle();
    EXPECT_NE(W().ExistingResultsWindow(), nullptr);
    EXPECT_FALSE(IsBoldRed(*diameter));
}

TEST_F(BeltInputWindow, ChoosingAnUnlistedMaterialAsksForItsCoefficient) {
    struct Case {
        const char* name;
        TDBLookupComboBox* TMat_Invoer::*combo;
        QWidget* TMat_Invoer::*panel;
        TDBEdit* TMat_Invoer::*edit;
        const char* field;
        const char* listed;
    };
    const Case cases[] = {
        {"product", &TMat_Invoer::cbx_product, &TMat_Invoer::pnl_frc_prod,
         &TMat_Invoer::edt_frc_prod, "frc_prod_afw", "PET"},
        {"wearstrip", &TMat_Invoer::cbx_geleiding, &TMat_Invoer::pnl_frc_geleiding,
         &TMat_Invoer::edt_frc_geleiding, "frc_geleiding_afw", "HDPE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* panel = W().*c.panel;
        EXPECT_FALSE(panel->isVisible());
        Choose(W().*c.combo, QStringLiteral("Oth"));
        EXPECT_TRUE(panel->isVisible());
        EXPECT_DOUBLE_EQ(Dm().Invoer(c.field).asFloat(), 1.0);
        EXPECT_EQ((W().*c.edit)->text(), QStringLiteral("1"));
        EXPECT_EQ(QApplication::focusWidget(), W().*c.edit);
        EXPECT_TRUE(CaptionOf(W(), W().*c.edit)->isVisible());

        Type(W().*c.edit, QStringLiteral("0.3"));
        EXPECT_DOUBLE_EQ(Dm().Invoer(c.field).asFloat(), 0.3);

        Choose(W().*c.combo, QString::fromLatin1(c.listed));
        EXPECT_FALSE(panel->isVisible());
        EXPECT_TRUE(Dm().Invoer(c.field).isNull());
    }
}

TEST_F(BeltInputWindow, TypingALoadAndMovingToTheWeightClearsTheWeight) {
    Type(W().edt_weight, QStringLiteral("350"));
    ASSERT_DOUBLE_EQ(Dm().Invoer("gewicht").asFloat(), 350);
    Type(W().edt_load, QStringLiteral("25"));
    EXPECT_TRUE(Dm().Invoer("gewicht").isNull());
    EXPECT_TRUE(W().edt_weight->text().isEmpty());
    EXPECT_DOUBLE_EQ(Dm().Invoer("belasting").asFloat(), 25);
    EXPECT_EQ(QApplication::focusWidget(), W().edt_diameter);

    // A weight typed with a diameter makes the calculation fill the load; the weight stays.
    Type(W().edt_diameter, QStringLiteral("80"));
    Type(W().edt_weight, QStringLiteral("350"));
    EXPECT_DOUBLE_EQ(Dm().Invoer("gewicht").asFloat(), 350);
}

TEST_F(BeltInputWindow, TheCentreDriveCheckBoxStoresAtOnce) {
    ASSERT_FALSE(Dm().Invoer("aandrijving_centraal").asBoolean());
    TabInto(*W().chk_centerdrive);
    QTest::mouseClick(W().chk_centerdrive, Qt::LeftButton);
    EXPECT_TRUE(Dm().Invoer("aandrijving_centraal").asBoolean());
    EXPECT_EQ(QApplication::focusWidget(), W().chk_centerdrive);
    EXPECT_EQ(W().txt_centerdrive->text().toStdString(), lang::TaalText(taal_, "S_YES"));

    // Two zones: no centre drive, and the box cannot be changed.
    Type(W().Edit11, QStringLiteral("2"));
    EXPECT_FALSE(Dm().Invoer("aandrijving_centraal").asBoolean());
    EXPECT_FALSE(W().chk_centerdrive->isChecked());
    QTest::mouseClick(W().chk_centerdrive, Qt::LeftButton);
    EXPECT_FALSE(Dm().Invoer("aandrijving_centraal").asBoolean());
}

TEST_F(BeltInputWindow, TheZoneGridKeepsTheCursorWithinOneZoneBeyondThoseInUse) {
    TMatZoneGrid* grid = W().grd_zones;
    Type(W().Edit11, QStringLiteral("3"));

    // Entering the grid starts at zone 1, length.
    TabInto(*grid);
    EXPECT_EQ(grid->ZoneIndexAt(grid->currentIndex().row()), 1);
    EXPECT_EQ(grid->currentIndex().column(), TMatZoneGrid::kLengthColumn);

    // Clicking zone 7 lands on zone 4.
    const QModelIndex zone7 =
        grid->tableModel()->index(grid->RowOfZone(7), TMatZoneGrid::kTempColumn);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(zone7).center());
    Settle();
    EXPECT_EQ(grid->ZoneIndexAt(grid->currentIndex().row()), 4);
    EXPECT_EQ(grid->currentIndex().column(), TMatZoneGrid::kTempColumn);

    // The zone numbers are not a place for the cursor.
    grid->setCurrentIndex(grid->tableModel()->index(grid->RowOfZone(2), 0));
    EXPECT_EQ(grid->currentIndex().column(), TMatZoneGrid::kLengthColumn);
}

TEST_F(BeltInputWindow, SteppingPastTheLastZoneInUseFinishesTheInput) {
    TypeProject();
    // Cleared zones beyond those in use stay empty for a belt that runs at 0 °C (a dry PE
    // belt); the others are kept within the belt's range.
    Choose(W().cbx_mat, QStringLiteral("ZRN 250 FT PE"));
    Choose(W().cbx_smering, QStringLiteral("Dry"));
    W().act_clear_zones->trigger();
    TypeZone(1, TMatZoneGrid::kLengthColumn, QStringLiteral("8"));
    TypeZone(1, TMatZoneGrid::kTempColumn, QStringLiteral("20"));
    TypeZone(2, TMatZoneGrid::kLengthColumn, QStringLiteral("4"));
    TypeZone(2, TMatZoneGrid::kTempColumn, QStringLiteral("45"));
    TMatZoneGrid* grid = W().grd_zones;
    grid->setFocus(Qt::OtherFocusReason);
    grid->setCurrentIndex(grid->tableModel()->index(grid->RowOfZone(3), TMatZoneGrid::kTempColumn));
    ASSERT_EQ(W().ExistingResultsWindow(), nullptr);
    ASSERT_EQ(Dm().CheckInput(), nullptr);
    QSignalSpy finished(grid, &TMatZoneGrid::inputFinished);
    QTest::keyClick(grid, Qt::Key_Tab);
    Settle();
    EXPECT_EQ(finished.count(), 1);
    ASSERT_NE(W().ExistingResultsWindow(), nullptr);
    EXPECT_TRUE(W().ExistingResultsWindow()->isVisible());
    // The cursor stays on the first zone beyond those in use.
    EXPECT_EQ(grid->ZoneIndexAt(grid->currentIndex().row()), 3);
}

TEST_F(BeltInputWindow, TheFirstMissingZoneValueBlocksWithoutALabel) {
    TypeProject();
    // Zone lengths that do not add up to the conveyor length.
    TypeZone(2, TMatZoneGrid::kLengthColumn, QStringLiteral("3"));
    W().act_results->trigger();
    Settle();
    EXPECT_EQ(W().ExistingResultsWindow(), nullptr);
    EXPECT_EQ(W().txt_invoerwarning->text().toStdString(),
              lang::TaalText(taal_, "S_THE_BELTLENGTH_ZONE_MISMATCH"));
    for (TTaalLabel* label : W().Labels())
        EXPECT_FALSE(IsBoldRed(*label));
}

TEST_F(BeltInputWindow, SaveAsResetAllAndLoadGiveTheProjectBack) {
    QTemporaryDir dir;
    TypeProject();
    const auto before = StoredRecord(Dm());
    const QString caption = W().windowTitle();

    answers.push_back(dir.filePath(QStringLiteral("a")));
    W().act_file_save_as->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].filter, QStringLiteral("MAT-Files|*.MAT|All files|*.*"));
    EXPECT_EQ(dialogs[0].defaultExtension, QStringLiteral("MAT"));
    EXPECT_EQ(dialogs[0].initialDirectory, QString::fromStdString(rtl::ExeDirectory() + "opslag"));
    const QString file = dir.filePath(QStringLiteral("a.MAT"));
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(W().ProjectFile(), file);
    EXPECT_EQ(W().windowTitle(), caption + QStringLiteral(" - a.MAT"));

    // Save goes to the same file without asking.
    W().act_file_save->trigger();
    EXPECT_EQ(dialogs.size(), 1u);

    W().act_reset_all->trigger();
    Settle();
    EXPECT_EQ(W().windowTitle(), caption);
    EXPECT_TRUE(W().Edit1->text().isEmpty());
    EXPECT_TRUE(Dm().Invoer("mattype").isNull());
    // With no project file Save asks for one (cancelled here).
    W().act_file_save->trigger();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[1].save);
    EXPECT_TRUE(dialogs[1].fileName.isEmpty());

    answers.push_back(file);
    W().act_file_load->trigger();
    Settle();
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_FALSE(dialogs[2].save);
    EXPECT_EQ(W().windowTitle(), caption + QStringLiteral(" - a.MAT"));
    EXPECT_EQ(W().Edit1->text(), QStringLiteral("Bottle line"));
    EXPECT_EQ(W().cbx_mat->currentText(), QStringLiteral("ZRN 250 FT PP"));
    EXPECT_EQ(W().cbx_boring->currentText(), QStringLiteral("30 rd"));
    EXPECT_EQ(W().cbx_tandwiel->currentText(), QStringLiteral("10 teeth - Dp 82.2"));
    const auto after = StoredRecord(Dm());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], before[i]);
}

TEST_F(BeltInputWindow, AFileThatIsNotABeltProjectLeavesTheProjectAsItWas) {
    QTemporaryDir dir;
    TypeProject();
    const auto before = StoredRecord(Dm());
    const QString bogus = dir.filePath(QStringLiteral("notes.MAT"));
    {
        QFile f(bogus);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a project\n");
    }
    MessageCatcher messages;
    answers.push_back(bogus);
    W().act_file_load->trigger();
    Settle();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].toStdString(),
              lang::TaalText(taal_, "S_THIS_FILE_IS_NOT_A_BELT_F"));
    EXPECT_TRUE(W().isVisible());
    EXPECT_TRUE(W().ProjectFile().isEmpty());
    EXPECT_EQ(StoredRecord(Dm()), before);
    EXPECT_EQ(W().Edit1->text(), QStringLiteral("Bottle line"));
}

TEST_F(BeltInputWindow, ClosingWithUnsavedInputAsksFirst) {
    QStringList asked;
    auto answer = QMessageBox::Cancel;
    TMat_Invoer::SaveQuestionHook() = [&](TMat_Invoer&, const QString& question) {
        asked << question;
        return answer;
    };
    struct Restore {
        ~Restore() { TMat_Invoer::SaveQuestionHook() = nullptr; }
    } restore;

    // Nothing typed: no question.
    EXPECT_TRUE(W().close() || !window_);
    ASSERT_TRUE(asked.isEmpty());
    QTest::qWait(0);
    ASSERT_FALSE(window_) << "a closed input window is destroyed";

    window_ = new TMat_Invoer;
    window_->SetTaalComponent(&taal_);
    Activate(W());
    Type(W().Edit1, QStringLiteral("Bottle line"));
    EXPECT_FALSE(W().close());
    EXPECT_EQ(asked.size(), 1);
    QTest::qWait(0);
    ASSERT_TRUE(window_);

    // Save, with the dialog cancelled: still nothing saved, so the window stays.
    answer = QMessageBox::Save;
    EXPECT_FALSE(W().close());
    QTest::qWait(0);
    ASSERT_TRUE(window_);

    answer = QMessageBox::Discard;
    EXPECT_TRUE(W().close());
    QTest::qWait(0);
    EXPECT_FALSE(window_);
}

TEST_F(BeltInputWindow, ItsActionsHaveTheirKeysIconsAndMenus) {
    struct Case {
        TTaalAction* TMat_Invoer::*action;
        const char* key;
        QKeySequence shortcut;
        bool icon;
    };
    const Case cases[] = {
        {&TMat_Invoer::act_file_load, "S_FILE_LOAD", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L),
         true},
        {&TMat_Invoer::act_file_save, "S_SAVE", QKeySequence(Qt::CTRL | Qt::Key_S), true},
        {&TMat_Invoer::act_file_save_as, "S_SAVE_AS", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S),
         true},
        {&TMat_Invoer::act_file_close, "S_CLOSE", {}, true},
        {&TMat_Invoer::act_clear_zones, "S_CLEAR_ZONES", {}, false},
        {&TMat_Invoer::act_reset_all, "S_RESET_ALL", {}, true},
        {&TMat_Invoer::act_results, "S_RESULTS", {}, true},
        {&TMat_Invoer::act_results_no_image, "S_RESULTS", {}, false},
    };
    for (const Case& c : cases) {
        TTaalAction* action = W().*c.action;
        SCOPED_TRACE(c.key);
        EXPECT_EQ(action->TaalCode(), c.key);
        EXPECT_EQ(action->text(), TaalToQt(lang::TaalText(taal_, c.key)));
        EXPECT_EQ(action->shortcut(), c.shortcut);
        EXPECT_EQ(!action->icon().isNull(), c.icon);
    }
    QMenuBar* bar = qobject_cast<QMenuBar*>(W().menuWidget());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 3);
    EXPECT_EQ(bar->actions()[0], W().act_file);
    EXPECT_EQ(bar->actions()[1], W().act_clear);
    EXPECT_EQ(bar->actions()[2], W().act_results_no_image);
    EXPECT_EQ(W().act_clear->text(), TaalToQt(lang::TaalText(taal_, "S_CLEAR")));
    const QList<QAction*> toolbar = W().ToolBar1->actions();
    EXPECT_EQ(toolbar, (QList<QAction*>{W().act_file_load, W().act_file_save, W().act_file_save_as,
                                        W().act_reset_all, W().act_results}));
}

} // namespace zrn::ui::test

namespace zrn::ui::test {

TEST_F(BeltInputWindow, TheZonesAreTypedByTabbingThroughTheGrid) {
    Type(W().Edit2, QStringLiteral("12"));
    Type(W().Edit11, QStringLiteral("2"));
    // From the last control of the form the Tab key enters the grid at zone 1, length.
    TabInto(*W().chk_centerdrive);
    QTest::keyClick(W().chk_centerdrive, Qt::Key_Tab);
    TMatZoneGrid* grid = W().grd_zones;
    ASSERT_TRUE(grid->hasFocus());
    ASSERT_EQ(grid->ZoneIndexAt(grid->currentIndex().row()), 1);
    for (const char* text : {"8", "20", "4", "45"}) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Settle();
    }
    EXPECT_EQ(Dm().cds_invoer_zones.fieldByName("index").asInteger(), 3);
    ds::Table& zones = Dm().cds_invoer_zones;
    const double expected[][2] = {{8, 20}, {4, 45}};
    for (int pos = 0; pos < 2; ++pos) {
        ds::RowPeek peek = zones.peekRow(pos);
        EXPECT_DOUBLE_EQ(zones.fieldByName("lengte").asFloat(), expected[pos][0]) << pos;
        EXPECT_DOUBLE_EQ(zones.fieldByName("temp").asFloat(), expected[pos][1]) << pos;
    }
}

} // namespace zrn::ui::test

namespace zrn::ui::test {

TEST_F(BeltInputWindow, TabGoesThroughTheControlsInTheOrderOfTheForm) {
    // The coefficient panels are hidden for listed materials, so Tab passes them by.
    const QList<QWidget*> order = {
        W().Edit1,           W().cbx_mat,    W().Edit2,        W().Edit3,       W().cbx_product,
        W().edt_load,        W().edt_weight, W().edt_diameter, W().Edit7,       W().cbx_support,
        W().cbx_geleiding,   W().Edit13,     W().Edit8,        W().cbx_smering, W().Edit9,
        W().Edit10,          W().Edit11,     W().cbx_tandwiel, W().cbx_boring,  W().Edit12,
        W().chk_centerdrive, W().grd_zones};
    TabInto(*order.front());
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Settle();
        ASSERT_EQ(QApplication::focusWidget(), order[i])
            << "after " << order[i - 1]->objectName().toStdString();
    }
    // An unlisted material's coefficient comes right after its material.
    Choose(W().cbx_product, QStringLiteral("Oth"));
    TabInto(*W().cbx_product);
    QTest::keyClick(W().cbx_product, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), W().edt_frc_prod);
}

} // namespace zrn::ui::test
