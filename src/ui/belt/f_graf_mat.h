#pragma once

#include "lang/TaalObserver.h"

#include <QImage>
#include <QMainWindow>

#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QToolBar;
class QValueAxis;

namespace zrn::belt {
struct TGraphSeries;
}

namespace zrn::ui {

class ImageList;
class TTaalAction;

//! The belt graph: the belt pull along the conveyor (red) against the allowed working load of
//! each temperature zone (blue steps), with the titles in the current language and units. The
//! window draws what it is given; its results window hands it the series after every change
//! of the calculation. It prints the chart, copies it to the clipboard as a bitmap and
//! exports it as a BMP file.
class Tfrm_graf_mat : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrm_graf_mat(QWidget* parent = nullptr);
    ~Tfrm_graf_mat() override;

    //! Binds the window's actions and titles to the language service.
    void SetTaalComponent(lang::TTaalComponent* service);
    //! Gives the window's actions their glyphs.
    void SetImages(const ImageList& images);

    //! Draws the series: replaces the points of the three series and ends the load axis at
    //! the series' axis maximum. Invalid series leave the chart as it is.
    void ShowSeries(const belt::TGraphSeries& series);

    //! The chart as a bitmap on a white background, at the chart's size on the screen.
    QImage ChartImage() const;

    //! Print: the chart on the default printer.
    void act_printExecute();
    //! Copy to clipboard: the chart as a bitmap.
    void act_copyExecute();
    //! Export: asks for a file and saves the chart as a BMP bitmap.
    void act_exportExecute();
    //! Writes the chart as a BMP bitmap; throws zrn::Error when the file cannot be written.
    void ExportBitmap(const QString& fileName) const;

    // ---- components ----

    lang::TTaalObserver TaalObserver; //!< relabels the caption, titles and series names

    QChartView* chart_view = nullptr;      //!< the chart on the screen
    QLineSeries* ser_belt_load = nullptr;  //!< the belt pull, red
    QLineSeries* ser_max_load = nullptr;   //!< the allowed load, blue steps
    QScatterSeries* ser_perc = nullptr;    //!< load in percent (kept, never shown)
    QValueAxis* axis_left = nullptr;       //!< the load axis
    QValueAxis* axis_right = nullptr;      //!< the percentage axis, 0 to 100
    QValueAxis* axis_bottom = nullptr;     //!< the length axis
    TTaalAction* act_graph_menu = nullptr; //!< the Graph menu
    TTaalAction* act_print = nullptr;      //!< Print
    TTaalAction* act_copy = nullptr;       //!< Copy to clipboard
    TTaalAction* act_export = nullptr;     //!< Export
    QToolBar* ToolBar1 = nullptr;          //!< the window's toolbar

    //! The points of the blue line as drawn: each value held until the next point.
    static std::vector<QPointF> StepPoints(const std::vector<QPointF>& points);

private:
    void BuildActions();
    void BuildChart();
    void TaalObserverTaalChange(lang::ITaalSubject& subject);

    const ImageList* images_ = nullptr;
};

} // namespace zrn::ui
