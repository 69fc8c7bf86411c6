#pragma once

#include "lang/TaalObserver.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

class QCloseEvent;
class QGroupBox;
class QTableView;
class QToolBar;

namespace zrn::belt {
class Tdm_mat;
}

namespace zrn::ui {

class ImageList;
class TDBMemo;
class TDBText;
class Tfrm_flex_report;
class Tfrm_graf_mat;
class TMatReportCommands;
class TTaalAction;
class TTaalLabel;

//! The belt results window: every result of the input record with its label and unit, the
//! load table per temperature zone and the warnings, the six report commands and the graph.
//! It only shows: the calculation runs in the data module while the user edits the input,
//! and the window follows the record at once.
//!
//! What always holds: closing the window only minimises it (its input window destroys it);
//! it owns its hidden report host (created on the first report command) and its graph
//! window (created on first use, forgotten when closed). Every change of the record it shows
//! redraws an open graph.
class TMat_uitvoer : public QMainWindow {
    Q_OBJECT
public:
    explicit TMat_uitvoer(QWidget* parent = nullptr);
    ~TMat_uitvoer() override;

    //! Shows the record and load rows of a data module and lets the service relabel.
    void SetDataModule(belt::Tdm_mat* module);
    //! The data module shown, or null.
    belt::Tdm_mat* DataModule() const { return dm_; }
    //! Binds the window's labels and actions to the language service.
    void SetTaalComponent(lang::TTaalComponent* service);
    //! The language service in use, or null.
    lang::TTaalComponent* TaalComponent() const { return TaalObserver.TaalComponent(); }
    //! Gives the window's actions their glyphs.
    void SetImages(const ImageList& images);

    //! The hidden report host, created on first use.
    Tfrm_flex_report& ReportWindow();
    //! The report commands of the window.
    TMatReportCommands& Reports() { return *reports_; }
    //! The graph window, created on first use and shown beside this window's frame.
    Tfrm_graf_mat& GraphWindow();
    //! The graph window if it exists, else null.
    Tfrm_graf_mat* ExistingGraphWindow() const;
    //! Refills the chart from the data module (nothing without a calculation or a graph).
    void UpdateGraph();
    //! Graph: shows the graph window and draws the current results.
    void act_graphExecute();

    // ---- components ----

    lang::TTaalObserver TaalObserver; //!< relabels the caption, headings and grid titles

    TTaalAction* act_file = nullptr;               //!< the File menu
    TTaalAction* act_report = nullptr;             //!< the Report menu
    TTaalAction* act_copy_report = nullptr;        //!< Copy text report
    TTaalAction* act_save_report = nullptr;        //!< Save text report
    TTaalAction* act_add_to_text_report = nullptr; //!< Add to text report
    TTaalAction* act_print_text = nullptr;         //!< Print text report
    TTaalAction* act_print_pdf = nullptr;          //!< Print text report to a PDF file
    TTaalAction* act_col_report = nullptr;         //!< Make columnar report
    TTaalAction* act_add_to_columnar = nullptr;    //!< Add to columnar report
    TTaalAction* act_graph = nullptr;              //!< Graph (toolbar)
    TTaalAction* act_graph_no_image = nullptr;     //!< Graph (menu bar item)
    TTaalAction* act_close = nullptr;              //!< Close (minimises)
    QToolBar* ToolBar1 = nullptr;                  //!< the window's toolbar

    QGroupBox* grp_friction = nullptr; //!< "S_COEFFICIENT_OF_FRICTION"
    QGroupBox* grp_results = nullptr;  //!< "S_BELT_CALCULATION_RESULTS"
    QGroupBox* grp_load = nullptr;     //!< "S_TABLE_OF_LOAD_INFORMATION"
    QGroupBox* grp_remarks = nullptr;  //!< "S_REMARKS"
    QTableView* grd_load = nullptr;    //!< the load rows
    TDBMemo* mem_warning = nullptr;    //!< the warnings

    //! The value shown for a result field, or null.
    TDBText* ValueOf(const std::string& fieldName) const;
    //! The language labels of the window (captions and unit labels), in creation order.
    const std::vector<TTaalLabel*>& Labels() const { return labels_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class RecordFollower;
    class LoadTitles;

    void BuildActions();
    void BuildMenus();
    void BuildForm();
    QWidget* BuildFrictionGroup();
    QWidget* BuildResultsGroup();
    QWidget* BuildLoadGroup();
    QWidget* BuildRemarksGroup();
    TDBText* NewValue(const std::string& fieldName, QWidget* parent);
    void TaalObserverTaalChange(lang::ITaalSubject& subject);
    void ScheduleGraphUpdate();

    belt::Tdm_mat* dm_ = nullptr;
    std::unique_ptr<TMatReportCommands> reports_;
    std::unique_ptr<RecordFollower> follower_;
    QPointer<Tfrm_flex_report> host_;
    QPointer<Tfrm_graf_mat> graph_;
    LoadTitles* loadTitles_ = nullptr;
    const ImageList* images_ = nullptr;
    std::vector<TDBText*> values_;
    std::vector<TTaalLabel*> labels_;
    bool graphUpdatePending_ = false;
};

} // namespace zrn::ui
