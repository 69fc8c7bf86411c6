#include "test_belt_support.h"

#include "common/RtfDocument.h"
#include "rtl/Cp1252.h"
#include "ui/belt/MatReportCommands.h"
#include "ui/common/TDBMemo.h"
#include "ui/common/TDBText.h"
#include "ui/common/f_flex_report.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTableView>

namespace zrn::ui::test {

namespace {

//! The lines of a report file as the program reads them back.
std::vector<std::string> FileLines(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Tfrm_flex_report host;
    host.LoadFromFile(fileName);
    std::vector<std::string> lines;
    const std::string text = host.PlainText();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return lines;
}

} // namespace

//! A typed project with its results window open.
class BeltResultsWindow : public BeltWindowTest {
protected:
    void SetUp() override {
        BeltWindowTest::SetUp();
        TypeProject();
        W().act_results->trigger();
        Settle();
        ASSERT_NE(W().ExistingResultsWindow(), nullptr);
    }
    TMat_uitvoer& R() { return *W().ExistingResultsWindow(); }
};

TEST_F(BeltResultsWindow, ShowsEveryResultWithItsLabelAndUnit) {
    // Every value is the field's display text, and every label the text of its key.
    for (const char* name : {"uit_wrijf_product",
                             "uit_wrijf_boven",
                             "uit_wrijf_onder",
                             "uit_max_belasting",
                             "uit_werk_belasting",
                             "uit_draaimoment",
                             "uit_omwentelingen",
                             "uit_vermogen_as",
                             "uit_motorvermogen",
                             "uit_matgewicht",
                             "uit_uitzetting_lengte",
                             "uit_uitzetting_breedte",
                             "uit_lengte_mat",
                             "uit_product_op_baan",
                             "uit_aandrijf_wielen",
                             "uit_retour_wielen",
                             "uit_lagers_aandrijfas",
                             "uit_lagers_retouras",
                             "uit_doorbuiging_aandrijfas",
                             "uit_max_doorbuiging_aandrijfas",
                             "uit_doorbuiging_retouras",
                             "uit_max_doorbuiging_retouras",
                             "uit_hoekverdraaiing",
                             "uit_max_hoekverdraaiing",
                             "uit_opstartfactor"}) {
        TDBText* value = R().ValueOf(name);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(value->text().toStdString(), Dm().Invoer(name).text()) << name;
    }
    for (TTaalLabel* label : R().Labels())
        EXPECT_EQ(label->text().toStdString(), ExpectedCaption(*label));
    EXPECT_EQ(R().windowTitle().toStdString(), lang::TaalText(taal_, "S_BELT_CALCULATION_RESULTS"));

    // The load table: the ten rows with the zones in use filled, under two-line titles.
    QAbstractItemModel* load = R().grd_load->model();
    ASSERT_EQ(load->rowCount(), 10);
    ASSERT_EQ(load->columnCount(), 6);
    ds::Table& rows = Dm().cds_load_zones;
    const char* const columns[] = {"index",         "strength", "continue",
                                   "continue_perc", "startup",  "startup_perc"};
    for (int pos = 0; pos < 2; ++pos) {
        ds::RowPeek peek = rows.peekRow(pos);
        for (int column = 1; column < 6; ++column) {
            const std::string shown = load->data(load->index(pos, column)).toString().toStdString();
            EXPECT_FALSE(shown.empty());
            EXPECT_EQ(shown, rows.fieldByName(columns[column]).text()) << pos << "," << column;
        }
    }
    EXPECT_TRUE(load->data(load->index(2, 1)).toString().isEmpty()) << "zone 3 is not in use";
    const QString strength = load->headerData(1, Qt::Horizontal).toString();
    EXPECT_EQ(strength, common::CapitalizeFirst(lang::TaalText(taal_, "S_STRENGTH")).c_str() +
                            QStringLiteral("\n(") +
                            QString::fromStdString(lang::TaalUnitLabel(taal_, "N/M")) +
                            QStringLiteral(")"));
    EXPECT_TRUE(load->headerData(3, Qt::Horizontal).toString().endsWith(QStringLiteral("(%)")));

    // The remarks show the warnings of the calculation.
    EXPECT_EQ(R().mem_warning->toPlainText().toStdString(),
              TaalToQt(Dm().Invoer("uit_warning").asString()).toStdString());
}

TEST_F(BeltResultsWindow, FollowsTheInputAtOnce) {
    const QString before = R().ValueOf("uit_werk_belasting")->text();
    Type(W().edt_weight, QStringLiteral("500"));
    EXPECT_NE(R().ValueOf("uit_werk_belasting")->text(), before);
    EXPECT_EQ(R().ValueOf("uit_werk_belasting")->text().toStdString(),
              Dm().Invoer("uit_werk_belasting").text());
}

TEST_F(BeltResultsWindow, ClosingOnlyMinimisesAndResultsBringsItBack) {
    TMat_uitvoer* results = &R();
    EXPECT_FALSE(results->close());
    Settle();
    EXPECT_TRUE(results->isMinimized());
    EXPECT_EQ(W().ExistingResultsWindow(), results);
    W().act_results->trigger();
    Settle();
    EXPECT_FALSE(results->isMinimized());
    EXPECT_EQ(W().ExistingResultsWindow(), results) << "the same window comes back";
}

TEST_F(BeltResultsWindow, ItsFileMenuStartsWithTheInputWindowsLoadSaveAndSaveAs) {
    auto* bar = qobject_cast<QMenuBar*>(R().menuWidget());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 3);
    EXPECT_EQ(bar->actions()[0], R().act_file);
    EXPECT_EQ(bar->actions()[1], R().act_report);
    EXPECT_EQ(bar->actions()[2], R().act_graph_no_image);
    const QList<QAction*> file = R().act_file->menu()->actions();
    ASSERT_GE(file.size(), 4);
    EXPECT_EQ(file[0], W().act_file_load);
    EXPECT_EQ(file[1], W().act_file_save);
    EXPECT_EQ(file[2], W().act_file_save_as);
    EXPECT_EQ(file.back(), R().act_close);
    EXPECT_EQ(R().act_close->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_EQ(R().act_add_to_columnar->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    const QList<QAction*> report = R().act_report->menu()->actions();
    EXPECT_EQ(report, (QList<QAction*>{R().act_copy_report, R().act_print_text, R().act_print_pdf,
                                       R().act_save_report, R().act_add_to_text_report,
                                       R().act_col_report, R().act_add_to_columnar}));
    QList<QAction*> toolbar;
    for (QAction* action : R().ToolBar1->actions())
        if (!action->isSeparator())
            toolbar << action;
    EXPECT_EQ(toolbar,
              (QList<QAction*>{R().act_copy_report, R().act_save_report, R().act_add_to_text_report,
                               R().act_print_text, R().act_col_report, R().act_add_to_columnar,
                               R().act_graph}));
}

TEST_F(BeltResultsWindow, SaveAndAddToTheTextReport) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bottles"));
    answers.push_back(file);
    R().act_save_report->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].filter, QStringLiteral("RTF-files|*.RTF|All files|*.*"));
    EXPECT_EQ(dialogs[0].defaultExtension, QStringLiteral("rtf"));
    EXPECT_EQ(dialogs[0].initialDirectory,
              QDir::current().absoluteFilePath(QStringLiteral("rapport.dat")));
    EXPECT_TRUE(dialogs[0].confirmOverwrite);
    const QString written = file + QStringLiteral(".rtf");
    ASSERT_TRUE(QFileInfo::exists(written));
    const std::vector<std::string> report = Lines(Dm().BuildTextReport());
    ASSERT_GT(report.size(), 50u);
    std::vector<std::string> lines = FileLines(written);
    ASSERT_GE(lines.size(), report.size());
    lines.resize(report.size());
    EXPECT_EQ(lines, report);

    // Adding goes to the same file without asking, after what it held.
    R().act_add_to_text_report->trigger();
    EXPECT_EQ(dialogs.size(), 1u);
    const std::vector<std::string> twice = FileLines(written);
    EXPECT_GE(twice.size(), 2 * report.size());
    EXPECT_EQ(std::count(twice.begin(), twice.end(), report[0]), 2);
}

TEST_F(BeltResultsWindow, MakeAndAddToAColumnarReport) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("compare.rtf"));
    // Adding asks for the file once; a new file gets the header.
    answers.push_back(file);
    R().act_add_to_columnar->trigger();
    R().act_add_to_columnar->trigger();
    EXPECT_EQ(dialogs.size(), 1u);
    const std::vector<std::string> header = Lines(Dm().BuildColumnarLine(true));
    ASSERT_EQ(header.size(), 6u);
    std::vector<std::string> lines = FileLines(file);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6), header);
    EXPECT_EQ(lines[6], header[5]);

    // Making a columnar report starts the file again.
    answers.push_back(file);
    R().act_col_report->trigger();
    lines = FileLines(file);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    EXPECT_EQ(lines, header);
}

TEST_F(BeltResultsWindow, ACancelledDialogWritesNothing) {
    QTemporaryDir dir;
    R().act_save_report->trigger();
    R().act_add_to_text_report->trigger();
    R().act_col_report->trigger();
    R().act_add_to_columnar->trigger();
    EXPECT_EQ(dialogs.size(), 4u);
    EXPECT_TRUE(R().Reports().TextReportFile().isEmpty());
    EXPECT_TRUE(R().Reports().ColumnarReportFile().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(BeltResultsWindow, AnUnreadableReportFileIsReportedAndLeftAlone) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("old.rtf"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not rich text");
    }
    MessageCatcher messages;
    answers.push_back(file);
    R().act_add_to_text_report->trigger();
    EXPECT_EQ(messages.messages.size(), 1);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not rich text"));
}

TEST_F(BeltResultsWindow, CopyPutsTheReportOnTheClipboardAsRichText) {
    QApplication::clipboard()->clear();
    R().act_copy_report->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QStringLiteral("text/rtf")));
    const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf"));
    EXPECT_EQ(R().ReportWindow().PlainText().substr(0, 40), Dm().BuildTextReport().substr(0, 40));
}

TEST_F(BeltResultsWindow, PrintWithoutAPrinterSaysSoAndPrintToPdfWritesTheReport) {
    Tfrm_flex_report& host = R().ReportWindow();
    host.SetPrinterLookup([] { return QPrinterInfo(); });
    MessageCatcher messages;
    R().act_print_text->trigger();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].toStdString(), lang::TaalText(taal_, "S_ERR_NO_PRINTER"));

    QTemporaryDir dir;
    answers.push_back(dir.filePath(QStringLiteral("report")));
    R().act_print_pdf->trigger();
    QFile pdf(dir.filePath(QStringLiteral("report.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}

} // namespace zrn::ui::test
