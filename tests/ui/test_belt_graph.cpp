#include "test_belt_support.h"

#include "belt/MatGraph.h"
#include "ui/belt/f_graf_mat.h"

#include <QClipboard>
#include <QFile>
#include <QPrinterInfo>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

namespace zrn::ui::test {

namespace {

std::vector<QPointF> Points(const std::vector<belt::TGraphPoint>& points) {
    std::vector<QPointF> result;
    for (const belt::TGraphPoint& p : points)
        result.emplace_back(p.x, p.y);
    return result;
}

std::vector<QPointF> Points(const QLineSeries& series) {
    const QList<QPointF> points = series.points();
    return {points.begin(), points.end()};
}

} // namespace

//! A typed project with its results window and graph open.
class BeltGraphWindow : public BeltWindowTest {
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

    //! The chart shows the series of the calculation as it stands.
    void ExpectChartFollowsTheCalculation() {
        const belt::TGraphSeries series = belt::GraphSeries(Dm());
        ASSERT_TRUE(series.valid);
        EXPECT_EQ(Points(*G().ser_belt_load), Points(series.beltLoad));
        EXPECT_EQ(Points(*G().ser_max_load), Tfrm_graf_mat::StepPoints(Points(series.maxLoad)));
        EXPECT_DOUBLE_EQ(G().axis_left->max(), series.leftAxisMax);
        EXPECT_DOUBLE_EQ(G().axis_left->min(), 0);
    }
};

TEST(BeltGraphSteps, EachValueHoldsUntilTheNextPoint) {
    const std::vector<QPointF> steps =
        Tfrm_graf_mat::StepPoints({{0, 10}, {0, 10}, {5, 9}, {15, 8}, {20, 8}});
    const std::vector<QPointF> expected = {{0, 10}, {0, 10}, {0, 10}, {5, 10}, {5, 9},
                                           {15, 9}, {15, 8}, {20, 8}, {20, 8}};
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(Tfrm_graf_mat::StepPoints({}).empty());
}

TEST_F(BeltGraphWindow, DrawsThePullAgainstTheAllowedLoadOfEachZone) {
    ExpectChartFollowsTheCalculation();
    // Two zones of 8 and 4 m: the allowed load steps at 8 m and ends at 12 m.
    const QList<QPointF> blue = G().ser_max_load->points();
    ASSERT_FALSE(blue.isEmpty());
    EXPECT_DOUBLE_EQ(blue.back().x(), 12);
    EXPECT_TRUE(std::any_of(blue.begin(), blue.end(), [](const QPointF& p) { return p.x() == 8; }));
    EXPECT_EQ(G().ser_belt_load->pen().color(), QColor(Qt::red));
    EXPECT_EQ(G().ser_max_load->pen().color(), QColor(Qt::blue));
    EXPECT_EQ(G().ser_belt_load->pen().width(), 2);

    const std::string pull = lang::TaalUnitLabel(taal_, "N/M");
    EXPECT_EQ(G().axis_left->titleText().toStdString(),
              lang::TaalText(taal_, "S_LOAD_CAPITAL") + "[" + pull + "]");
    EXPECT_EQ(G().axis_bottom->titleText().toStdString(),
              lang::TaalText(taal_, "S_LENGTH") + "[" + lang::TaalUnitLabel(taal_, "M") + "]");
    EXPECT_EQ(G().ser_max_load->name().toStdString(),
              lang::TaalText(taal_, "S_MAX_WORKING_LOAD") + "[" + pull + "]");
    EXPECT_EQ(G().windowTitle().toStdString(), lang::TaalText(taal_, "S_GRAPH_CAPTION"));
}

TEST_F(BeltGraphWindow, FollowsEveryChangeOfTheInput) {
    const QList<QPointF> before = G().ser_max_load->points();
    TypeZone(2, TMatZoneGrid::kTempColumn, QStringLiteral("70"));
    ExpectChartFollowsTheCalculation();
    EXPECT_NE(G().ser_max_load->points(), before);

    // In imperial units the chart is in feet and the imperial pull.
    taal_.SetEenheid(lang::ehImperial);
    Settle();
    ExpectChartFollowsTheCalculation();
    EXPECT_NEAR(G().ser_max_load->points().back().x(), taal_.ToImperial("M", 12), 1e-9);
    EXPECT_EQ(G().axis_bottom->titleText().toStdString(),
              lang::TaalText(taal_, "S_LENGTH") + "[" + lang::TaalUnitLabel(taal_, "M") + "]");
}

TEST_F(BeltGraphWindow, AClosedGraphComesBackWithTheCurrentResults) {
    G().close();
    QTest::qWait(0);
    EXPECT_EQ(R().ExistingGraphWindow(), nullptr);
    TypeZone(1, TMatZoneGrid::kTempColumn, QStringLiteral("35"));
    R().act_graph->trigger();
    Settle();
    ASSERT_NE(R().ExistingGraphWindow(), nullptr);
    ExpectChartFollowsTheCalculation();
}

TEST_F(BeltGraphWindow, ExportsABitmapAndCopiesOne) {
    QTemporaryDir dir;
    answers.push_back(dir.filePath(QStringLiteral("chart")));
    G().act_export->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].filter, QStringLiteral("Bitmap-files (*.BMP)|*.BMP|All files (*.*)|*.*"));
    EXPECT_EQ(dialogs[0].defaultExtension, QStringLiteral("BMP"));
    QFile bmp(dir.filePath(QStringLiteral("chart.BMP")));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bmp.read(2).startsWith("BM"));

    QApplication::clipboard()->clear();
    G().act_copy->trigger();
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.pixelColor(1, 1), QColor(Qt::white));

    // A cancelled export writes nothing.
    G().act_export->trigger();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(BeltGraphWindow, PrintingWithoutAPrinterSaysSo) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer";
    MessageCatcher messages;
    G().act_print->trigger();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].toStdString(), lang::TaalText(taal_, "S_ERR_NO_PRINTER"));
}

} // namespace zrn::ui::test
