#include "test_belt_support.h"

#include "rtl/Format.h"
#include "ui/belt/f_graf_mat.h"
#include "ui/common/FieldText.h"
#include "ui/common/TDBText.h"
#include "ui/lang/TaalAction.h"

#include <QGroupBox>
#include <QTableView>
#include <QtCharts/QValueAxis>

namespace zrn::ui::test {

namespace {

//! Every control of a window that shows a field, with what it shows.
std::vector<std::pair<std::string, QString>> ShownValues(QWidget& window) {
    std::vector<std::pair<std::string, QString>> shown;
    for (TDBEdit* edit : window.findChildren<TDBEdit*>())
        if (edit->field())
            shown.emplace_back(edit->field()->name(), edit->text());
    for (TDBText* text : window.findChildren<TDBText*>())
        if (text->field())
            shown.emplace_back(text->field()->name(), text->text());
    return shown;
}

std::vector<std::string> StoredValues(belt::Tdm_mat& dm) {
    std::vector<std::string> values;
    ds::Table& invoer = dm.cds_invoer;
    for (int i = 0; i < invoer.fieldCount(); ++i)
        if (auto* metric = dynamic_cast<lang::TMetricField*>(&invoer.field(i)))
            values.push_back(metric->isNull() ? "" : rtl::FloatToStr(metric->MetricValue()));
    return values;
}

} // namespace

//! A typed project with its results window and graph open.
class BeltWindowsFollowTheService : public BeltWindowTest {
protected:
    void SetUp() override {
        BeltWindowTest::SetUp();
        TypeProject();
        W().act_results->trigger();
        Settle();
        ASSERT_NE(W().ExistingResultsWindow(), nullptr);
        R().act_graph->trigger();
        Settle();
        ASSERT_NE(R().ExistingGraphWindow(), nullptr);
    }
    TMat_uitvoer& R() { return *W().ExistingResultsWindow(); }
    Tfrm_graf_mat& G() { return *R().ExistingGraphWindow(); }

    std::string Text(const char* key) { return lang::TaalText(taal_, key); }
    std::string Cap(const char* key) { return common::CapitalizeFirst(Text(key)); }

    //! Every label, caption, heading and action of the three windows shows the current
    //! language and unit system.
    void ExpectEverythingRelabelled() {
        for (QWidget* window : {static_cast<QWidget*>(&W()), static_cast<QWidget*>(&R()),
                                static_cast<QWidget*>(&G())}) {
            for (TTaalLabel* label : window->findChildren<TTaalLabel*>())
                EXPECT_EQ(label->text().toStdString(), ExpectedCaption(*label))
                    << window->objectName().toStdString() << " " << label->TaalCode()
                    << label->EenhCode();
            for (TTaalAction* action : window->findChildren<TTaalAction*>()) {
                // The report host keeps its designed captions.
                if (action->parent() != window)
                    continue;
                EXPECT_EQ(action->text().toStdString(), Text(action->TaalCode().c_str()))
                    << window->objectName().toStdString() << " " << action->TaalCode();
            }
        }
        EXPECT_EQ(W().windowTitle().toStdString().rfind(Text("S_BELT_CALCULATION_PROGRAM"), 0), 0u)
            << W().windowTitle().toStdString();
        EXPECT_EQ(R().windowTitle().toStdString(), Text("S_BELT_CALCULATION_RESULTS"));
        EXPECT_EQ(G().windowTitle().toStdString(), Text("S_GRAPH_CAPTION"));
        const std::pair<QGroupBox*, const char*> headings[] = {
            {W().grp_belt, "S_BELT_SPECIFICATION"},
            {W().grp_product, "S_PRODUCT_SPECIFICATION"},
            {W().grp_conveyor, "S_CONVEYOR_SPECIFICATION"},
            {W().grp_zones, "S_TEMPERATURE_ZONES"},
            {R().grp_friction, "S_COEFFICIENT_OF_FRICTION"},
            {R().grp_results, "S_BELT_CALCULATION_RESULTS"},
            {R().grp_load, "S_TABLE_OF_LOAD_INFORMATION"},
            {R().grp_remarks, "S_REMARKS"}};
        for (const auto& [group, key] : headings)
            EXPECT_EQ(group->title().toStdString(), Cap(key)) << key;
        // Grid titles: the zone columns and the load table.
        QAbstractItemModel* zones = W().grd_zones->model();
        EXPECT_EQ(
            zones->headerData(TMatZoneGrid::kLengthColumn, Qt::Horizontal).toString().toStdString(),
            Text("S_LENGTH") + "(" + lang::TaalUnitLabel(taal_, "M") + ")");
        EXPECT_EQ(
            zones->headerData(TMatZoneGrid::kTempColumn, Qt::Horizontal).toString().toStdString(),
            Text("S_TEMP") + "(" + lang::TaalUnitLabel(taal_, "C") + ")");
        QAbstractItemModel* load = R().grd_load->model();
        EXPECT_EQ(load->headerData(4, Qt::Horizontal).toString().toStdString(),
                  Cap("S_STARTMINUSUP") + "\n(" + lang::TaalUnitLabel(taal_, "N/M") + ")");
        EXPECT_EQ(G().axis_left->titleText().toStdString(),
                  Text("S_LOAD_CAPITAL") + "[" + lang::TaalUnitLabel(taal_, "N/M") + "]");
        // The lookup boxes show the texts of the new language.
        EXPECT_EQ(W().cbx_smering->currentText().toStdString(), Text("S_WATER"));
        EXPECT_EQ(W().cbx_tandwiel->currentText().toStdString(),
                  "10 " + Text("S_TEETH_MINUS_DP") + " 82.2");
    }
};

TEST_F(BeltWindowsFollowTheService, ALanguageSwitchRelabelsEveryLabelAndCaption) {
    ExpectEverythingRelabelled();
    const QString english = W().grp_product->title();
    taal_.SetTaal("duits");
    Settle();
    ASSERT_NE(W().grp_product->title(), english) << "the German file has its own texts";
    ExpectEverythingRelabelled();
    taal_.SetTaal("frans");
    Settle();
    ExpectEverythingRelabelled();
}

TEST_F(BeltWindowsFollowTheService, AUnitSwitchConvertsEveryShownValueAndBack) {
    const auto metricInput = ShownValues(W());
    const auto metricResults = ShownValues(R());
    const std::vector<std::string> stored = StoredValues(Dm());
    QWidget* parking = W().Edit1; // the focus rests on a text that has no unit
    Front();
    TabInto(*parking);

    taal_.SetEenheid(lang::ehImperial);
    Settle();
    // Every bound control shows its field as the field formats it now, and the quantities
    // changed: the conveyor length is in feet.
    for (QWidget* window : {static_cast<QWidget*>(&W()), static_cast<QWidget*>(&R())})
        for (const auto& [name, text] : ShownValues(*window))
            EXPECT_EQ(text, FieldText(Dm().Invoer(name), true)) << name;
    const double feet = taal_.ToImperial("M", 12);
    EXPECT_EQ(W().Edit2->text(), QString::fromStdString(rtl::FormatFloat("#.##", feet)));
    EXPECT_NE(W().Edit2->text(), QStringLiteral("12"));
    for (TTaalLabel* label : W().Labels())
        EXPECT_EQ(label->text().toStdString(), ExpectedCaption(*label));
    for (TTaalLabel* label : R().Labels())
        EXPECT_EQ(label->text().toStdString(), ExpectedCaption(*label));
    EXPECT_EQ(StoredValues(Dm()), stored) << "showing other units stores nothing";

    taal_.SetEenheid(lang::ehMetrisch);
    Settle();
    EXPECT_EQ(ShownValues(W()), metricInput);
    EXPECT_EQ(ShownValues(R()), metricResults);
    EXPECT_EQ(StoredValues(Dm()), stored);
    ExpectEverythingRelabelled();
}

TEST_F(BeltWindowsFollowTheService, LoadingAProjectSavedInAnotherLanguageSwitchesToIt) {
    QTemporaryDir dir;
    taal_.SetTaal("nederlands");
    taal_.SetEenheid(lang::ehImperial);
    answers.push_back(dir.filePath(QStringLiteral("nl.MAT")));
    W().act_file_save_as->trigger();
    taal_.SetTaal("engels");
    taal_.SetEenheid(lang::ehMetrisch);
    Settle();

    answers.push_back(dir.filePath(QStringLiteral("nl.MAT")));
    W().act_file_load->trigger();
    Settle();
    EXPECT_EQ(taal_.Taal(), "nederlands");
    EXPECT_EQ(taal_.Eenheid(), lang::ehImperial);
    EXPECT_EQ(W().windowTitle().toStdString(), Text("S_BELT_CALCULATION_PROGRAM") + " - nl.MAT");
    ExpectEverythingRelabelled();
}

} // namespace zrn::ui::test
