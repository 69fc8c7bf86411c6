#include "ui/belt/f_graf_mat.h"
#include "ui/belt/BeltWindowParts.h"

#include "belt/MatGraph.h"
#include "common/TextHelpers.h"
#include "lang/TaalComponent.h"
#include "rtl/Error.h"
#include "ui/app/ImageList.h"
#include "ui/belt/FileDialogs.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/lang/SetTaalComponent.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalQt.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zrn::ui {

namespace {

const char* const kExportFilter = "Bitmap-files (*.BMP)|*.BMP|All files (*.*)|*.*";

QList<QPointF> ToList(const std::vector<QPointF>& points) {
    return QList<QPointF>(points.begin(), points.end());
}

std::vector<QPointF> ToPoints(const std::vector<belt::TGraphPoint>& points) {
    std::vector<QPointF> result;
    result.reserve(points.size());
    for (const belt::TGraphPoint& point : points)
        result.emplace_back(point.x, point.y);
    return result;
}

//! A round distance between the ticks of an axis running from 0 to range: 1, 2 or 5 times
//! a power of ten, about five ticks.
double TickStep(double range) {
    if (!(range > 0))
        return 1;
    const double raw = range / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normal = raw / magnitude;
    const double factor = normal < 1.5 ? 1 : normal < 3 ? 2 : normal < 7 ? 5 : 10;
    return factor * magnitude;
}

//! An axis from 0 to its end with ticks at round values.
void SetRange(QValueAxis& axis, double end) {
    axis.setRange(0, end > 0 ? end : 1);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(TickStep(end > 0 ? end : 1));
}

QString Titled(const std::string& text, const std::string& unit) {
    return TaalToQt(text + "[" + unit + "]");
}

} // namespace

Tfrm_graf_mat::Tfrm_graf_mat(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frm_graf_mat"));
    setWindowTitle(QStringLiteral("Graph"));
    setAttribute(Qt::WA_DeleteOnClose);
    TaalObserver.OnTaalChange = [this](lang::TTaalObserver&, lang::ITaalSubject& subject) {
        TaalObserverTaalChange(subject);
    };
    BuildActions();
    BuildChart();
    resize(640, 440);
}

Tfrm_graf_mat::~Tfrm_graf_mat() = default;

void Tfrm_graf_mat::BuildActions() {
    act_graph_menu = NewAction("act_graph_menu", "S_GRAPH", "&Graph", this);
    act_print =
        NewAction("act_print", "S_PRINT", "Print", this, -1, QKeySequence(Qt::CTRL | Qt::Key_P));
    act_copy = NewAction("act_copy", "S_COPY_TO_CLIPBOARD", "Copy to clipboard", this, -1,
                         QKeySequence(Qt::CTRL | Qt::Key_C));
    act_export = NewAction("act_export", "S_EXPORT", "Export", this);
    act_print->setProperty("imageIndex", ImageList::Print);
    act_copy->setProperty("imageIndex", ImageList::Copy);
    act_export->setProperty("imageIndex", ImageList::Export);
    connect(act_print, &QAction::triggered, this,
            [this] { guarded(this, [this] { act_printExecute(); }); });
    connect(act_copy, &QAction::triggered, this,
            [this] { guarded(this, [this] { act_copyExecute(); }); });
    connect(act_export, &QAction::triggered, this,
            [this] { guarded(this, [this] { act_exportExecute(); }); });
    addActions({act_print, act_copy, act_export});

    auto* bar = new QMenuBar(this);
    auto* menu = new QMenu(this);
    menu->addActions({act_copy, act_export, act_print});
    act_graph_menu->setMenu(menu);
    bar->addAction(act_graph_menu);
    setMenuBar(bar);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->addActions({act_print, act_copy, act_export});
    addToolBar(Qt::TopToolBarArea, ToolBar1);
}

void Tfrm_graf_mat::BuildChart() {
    auto* chart = new QChart;
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->legend()->setAlignment(Qt::AlignBottom);

    ser_belt_load = new QLineSeries(chart);
    ser_belt_load->setObjectName(QStringLiteral("ser_belt_load"));
    ser_belt_load->setPen(QPen(Qt::red, 2));
    ser_belt_load->setPointsVisible(false);
    ser_max_load = new QLineSeries(chart);
    ser_max_load->setObjectName(QStringLiteral("ser_max_load"));
    ser_max_load->setPen(QPen(Qt::blue, 2));
    ser_perc = new QScatterSeries(chart);
    ser_perc->setObjectName(QStringLiteral("ser_perc"));
    ser_perc->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    ser_perc->setColor(Qt::green);
    ser_perc->setName(QStringLiteral("Percentage"));
    chart->addSeries(ser_max_load);
    chart->addSeries(ser_belt_load);
    chart->addSeries(ser_perc);

    const auto newAxis = [chart](Qt::Alignment side) {
        auto* axis = new QValueAxis(chart);
        axis->setLineVisible(false);
        axis->setGridLineVisible(false);
        axis->setMinorGridLineVisible(false);
        axis->setLabelFormat(QStringLiteral("%g"));
        chart->addAxis(axis, side);
        return axis;
    };
    axis_bottom = newAxis(Qt::AlignBottom);
    axis_left = newAxis(Qt::AlignLeft);
    axis_right = newAxis(Qt::AlignRight);
    axis_right->setRange(0, 100);
    axis_left->setRange(0, 1);
    axis_bottom->setRange(0, 1);
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(ser_max_load),
                                    static_cast<QAbstractSeries*>(ser_belt_load)}) {
        series->attachAxis(axis_bottom);
        series->attachAxis(axis_left);
    }
    ser_perc->attachAxis(axis_bottom);
    ser_perc->attachAxis(axis_right);
    // The percentages are kept with the chart but not drawn.
    ser_perc->setVisible(false);
    axis_right->setVisible(false);

    chart_view = new QChartView(chart, this);
    chart_view->setObjectName(QStringLiteral("chart_view"));
    chart_view->setRenderHint(QPainter::Antialiasing);
    setCentralWidget(chart_view);
}

void Tfrm_graf_mat::SetTaalComponent(lang::TTaalComponent* service) {
    if (service == TaalObserver.TaalComponent())
        return;
    ui::SetTaalComponent(this, service, &TaalObserver);
}

void Tfrm_graf_mat::SetImages(const ImageList& images) {
    images_ = &images;
    ToolBar1->setIconSize(images.glyphSize().expandedTo(QSize(20, 20)));
    for (QAction* action : {act_print, act_copy, act_export})
        action->setIcon(images.icon(action->property("imageIndex").toInt()));
}

void Tfrm_graf_mat::TaalObserverTaalChange(lang::ITaalSubject& subject) {
    const std::string pull = lang::TaalUnitLabel(subject, "N/M");
    const std::string length = lang::TaalUnitLabel(subject, "M");
    setWindowTitle(TaalToQt(lang::TaalText(subject, "S_GRAPH_CAPTION")));
    ser_belt_load->setName(
        Titled(common::CapitalizeFirst(lang::TaalText(subject, "S_BELT_LOAD_CAPITAL")), pull));
    ser_max_load->setName(Titled(lang::TaalText(subject, "S_MAX_WORKING_LOAD"), pull));
    axis_left->setTitleText(Titled(lang::TaalText(subject, "S_LOAD_CAPITAL"), pull));
    axis_bottom->setTitleText(Titled(lang::TaalText(subject, "S_LENGTH"), length));
}

std::vector<QPointF> Tfrm_graf_mat::StepPoints(const std::vector<QPointF>& points) {
    std::vector<QPointF> steps;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0)
            steps.emplace_back(points[i].x(), points[i - 1].y());
        steps.push_back(points[i]);
    }
    return steps;
}

void Tfrm_graf_mat::ShowSeries(const belt::TGraphSeries& series) {
    if (!series.valid)
        return;
    ser_belt_load->replace(ToList(ToPoints(series.beltLoad)));
    ser_max_load->replace(ToList(StepPoints(ToPoints(series.maxLoad))));
    ser_perc->replace(ToList(ToPoints(series.percent)));
    double length = 0;
    for (const auto* points : {&series.beltLoad, &series.maxLoad})
        for (const belt::TGraphPoint& point : *points)
            length = std::max(length, point.x);
    SetRange(*axis_bottom, length);
    SetRange(*axis_left, series.leftAxisMax);
}

QImage Tfrm_graf_mat::ChartImage() const {
    const QSize size = chart_view->size().expandedTo(QSize(320, 200));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    chart_view->render(&painter, QRectF(QPointF(0, 0), size), chart_view->rect());
    return image;
}

void Tfrm_graf_mat::act_printExecute() {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        QString message = QStringLiteral("No printer is available.");
        if (lang::TTaalComponent* service = TaalObserver.TaalComponent()) {
            const std::string text = lang::TaalText(*service, "S_ERR_NO_PRINTER");
            if (!text.empty())
                message = TaalToQt(text);
        }
        showErrorMessage(this, message);
        return;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("The printer \"%1\" did not accept the graph.")
                        .arg(printerInfo.printerName())
                        .toStdString());
    const QImage image = ChartImage();
    const QRect page = painter.viewport();
    QSize fitted = image.size();
    fitted.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), image);
    painter.end();
}

void Tfrm_graf_mat::act_copyExecute() {
    QApplication::clipboard()->setImage(ChartImage());
}

void Tfrm_graf_mat::act_exportExecute() {
    TFileDialogRequest request;
    request.save = true;
    request.filter = QString::fromLatin1(kExportFilter);
    request.defaultExtension = QStringLiteral("BMP");
    const QString chosen = RunFileDialog(this, request);
    if (!chosen.isEmpty())
        ExportBitmap(chosen);
}

void Tfrm_graf_mat::ExportBitmap(const QString& fileName) const {
    if (ChartImage().save(fileName, "BMP"))
        return;
    std::string message = "The file could not be saved: %s";
    if (lang::TTaalComponent* service = TaalObserver.TaalComponent()) {
        const std::string text = lang::TaalText(*service, "S_ERR_FILE_NOT_SAVED");
        if (!text.empty())
            message = text;
    }
    const std::size_t at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, fileName.toStdString());
    throw Error(message);
}

} // namespace zrn::ui
