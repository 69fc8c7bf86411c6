#include "ui/belt/Mat_uitv.h"
#include "ui/belt/BeltWindowParts.h"

#include "belt/MatGraph.h"
#include "belt/d_mat.h"
#include "common/TextHelpers.h"
#include "dataset/Table.h"
#include "dataset/TableObserver.h"
#include "lang/TaalComponent.h"
#include "ui/app/ImageList.h"
#include "ui/belt/FieldRows.h"
#include "ui/belt/MatReportCommands.h"
#include "ui/belt/MdiChild.h"
#include "ui/belt/f_graf_mat.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/TDBMemo.h"
#include "ui/common/TDBText.h"
#include "ui/common/TableModel.h"
#include "ui/common/f_flex_report.h"
#include "ui/lang/SetTaalComponent.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalLabel.h"
#include "ui/lang/TaalQt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace zrn::ui {

namespace {

constexpr int kValueWidth = 72;

//! The body of a group in the regular font (the heading alone is bold).
QWidget* GroupBody(QGroupBox* group) {
    auto* body = new QWidget(group);
    QFont regular = group->font();
    regular.setBold(false);
    body->setFont(regular);
    auto* outer = new QVBoxLayout(group);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->addWidget(body);
    return body;
}

QGridLayout* NewGrid(QWidget* body) {
    auto* grid = new QGridLayout(body);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    return grid;
}

} // namespace

// ---- following the record ----

// Every change of the record, its layout rows or its load rows redraws an open graph, once
// the change is complete.
class TMat_uitvoer::RecordFollower : public ds::TableObserver {
public:
    explicit RecordFollower(TMat_uitvoer& window) : window_(window) {}

    void fieldChanged(ds::Table&, ds::Field&) override { window_.ScheduleGraphUpdate(); }
    void recordChanged(ds::Table&) override { window_.ScheduleGraphUpdate(); }
    void scrolled(ds::Table&) override { window_.ScheduleGraphUpdate(); }
    void refreshed(ds::Table&) override { window_.ScheduleGraphUpdate(); }

private:
    TMat_uitvoer& window_;
};

// The load table's titles: the heading of a column group over the unit title of the field.
class TMat_uitvoer::LoadTitles : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    void SetHeadings(QStringList headings) {
        headings_ = std::move(headings);
        if (sourceModel())
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        const QVariant title = QIdentityProxyModel::headerData(section, orientation, role);
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return title;
        const QString heading = section < headings_.size() ? headings_[section] : QString();
        return heading + QLatin1Char('\n') + title.toString();
    }

private:
    QStringList headings_;
};

// ---- creation ----

TMat_uitvoer::TMat_uitvoer(QWidget* parent)
    : QMainWindow(parent), reports_(std::make_unique<TMatReportCommands>(
                               *this, [this]() -> Tfrm_flex_report& { return ReportWindow(); })),
      follower_(std::make_unique<RecordFollower>(*this)) {
    setObjectName(QStringLiteral("Mat_uitvoer"));
    setWindowTitle(QStringLiteral("Belt calculation results"));
    TaalObserver.OnTaalChange = [this](lang::TTaalObserver&, lang::ITaalSubject& subject) {
        TaalObserverTaalChange(subject);
    };
    BuildActions();
    BuildMenus();
    BuildForm();
}

TMat_uitvoer::~TMat_uitvoer() {
    delete graph_.data();
    follower_.reset();
}

void TMat_uitvoer::BuildActions() {
    act_file = NewAction("act_file", "S_FILE", "&File", this);
    act_report = NewAction("act_report", "S_REPORT", "&Report", this);
    act_copy_report = NewAction("act_copy_report", "S_COPY_TEXT_REPORT", "&Copy Text Report", this,
                                ImageList::Copy);
    act_save_report = NewAction("act_save_report", "S_SAVE_TEXT_REPORT", "Save &text report", this,
                                ImageList::Save);
    act_add_to_text_report = NewAction("act_add_to_text_report", "S_ADD_TO_TEXT_REPORT",
                                       "Add to &text report", this, ImageList::AddToReport);
    act_print_text = NewAction("act_print_text", "S_PRINT_TEXT_REPORT", "&Print Text Report", this,
                               ImageList::Print);
    act_print_pdf = NewAction("act_print_pdf", "S_PRINT_TO_PDF", "Print to &PDF...", this);
    act_col_report = NewAction("act_col_report", "S_MAKE_COLUMNAR_REPORT", "M&columnar report",
                               this, ImageList::Columnar);
    act_add_to_columnar =
        NewAction("act_add_to_columnar", "S_ADD_TO_COLUMNAR_REPORT", "Add to &columnar report",
                  this, ImageList::AddToColumnar, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    act_graph = NewAction("act_graph", "S_GRAPH", "&Graph", this, ImageList::Graph);
    act_graph_no_image = NewAction("act_graph_no_image", "S_GRAPH", "&Graph", this);
    act_close = NewAction("act_close", "S_CLOSE", "&Close", this, ImageList::Close,
                          QKeySequence(Qt::CTRL | Qt::Key_F4));

    const auto on = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this,
                [this, command] { guarded(this, [&] { command(); }); });
    };
    on(act_copy_report, [this] { reports_->CopyTextReport(); });
    on(act_save_report, [this] { reports_->SaveTextReport(); });
    on(act_add_to_text_report, [this] { reports_->AddToTextReport(); });
    on(act_print_text, [this] { reports_->PrintTextReport(windowTitle()); });
    on(act_print_pdf, [this] { reports_->PrintTextReportToPdf(windowTitle()); });
    on(act_col_report, [this] { reports_->MakeColumnarReport(); });
    on(act_add_to_columnar, [this] { reports_->AddToColumnarReport(); });
    on(act_graph, [this] { act_graphExecute(); });
    on(act_graph_no_image, [this] { act_graphExecute(); });
    connect(act_close, &QAction::triggered, this, &QWidget::close);
    addActions({act_add_to_columnar, act_close});
}

void TMat_uitvoer::BuildMenus() {
    auto* bar = new QMenuBar(this);
    auto* file = new QMenu(this);
    file->setObjectName(QStringLiteral("mnu_file"));
    file->addAction(act_close);
    act_file->setMenu(file);
    auto* report = new QMenu(this);
    report->setObjectName(QStringLiteral("mnu_report"));
    report->addActions({act_copy_report, act_print_text, act_print_pdf, act_save_report,
                        act_add_to_text_report, act_col_report, act_add_to_columnar});
    act_report->setMenu(report);
    bar->addActions({act_file, act_report, act_graph_no_image});
    setMenuBar(bar);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->addActions(
        {act_copy_report, act_save_report, act_add_to_text_report, act_print_text});
    ToolBar1->addSeparator();
    ToolBar1->addActions({act_col_report, act_add_to_columnar, act_graph});
    addToolBar(Qt::TopToolBarArea, ToolBar1);
}

void TMat_uitvoer::BuildForm() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("pnl_client"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);
    // Left the friction and the load table, right the results and the remarks.
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(BuildFrictionGroup());
    left->addWidget(BuildLoadGroup());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildResultsGroup());
    right->addWidget(BuildRemarksGroup(), 1);
    columns->addLayout(left);
    columns->addLayout(right, 1);
    column->addLayout(columns, 1);
    setCentralWidget(client);

    for (TTaalLabel* label : client->findChildren<TTaalLabel*>())
        labels_.push_back(label);
}

TDBText* TMat_uitvoer::NewValue(const std::string& fieldName, QWidget* parent) {
    auto* value = new TDBText(parent);
    value->setObjectName(QString::fromStdString("txt_" + fieldName));
    value->setProperty("fieldName", QString::fromStdString(fieldName));
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(kValueWidth);
    value->setMargin(2);
    values_.push_back(value);
    return value;
}

QWidget* TMat_uitvoer::BuildFrictionGroup() {
    grp_friction = NewGroup("grp_friction", this);
    QWidget* body = GroupBody(grp_friction);
    QGridLayout* grid = NewGrid(body);
    const char* const rows[][2] = {{"S_PRODUCT_TO_BELT", "uit_wrijf_product"},
                                   {"S_BELT_TO_SUPPORT_UPPER_PAR", "uit_wrijf_boven"},
                                   {"S_BELT_TO_SUPPORT_LOWER_PAR", "uit_wrijf_onder"}};
    int row = 0;
    for (const auto& entry : rows) {
        grid->addWidget(NewCaption(entry[0], body), row, 0);
        grid->addWidget(NewValue(entry[1], body), row, 1);
        ++row;
    }
    return grp_friction;
}

QWidget* TMat_uitvoer::BuildResultsGroup() {
    grp_results = NewGroup("grp_results", this);
    QWidget* body = GroupBody(grp_results);
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(16);

    auto* first = new QWidget(body);
    QGridLayout* grid = NewGrid(first);
    struct Row {
        const char* key;
        const char* field;
        const char* unit;  // unit code
        const char* fixed; // fixed unit text
    };
    const Row rows[] = {
        {"S_MAX_WORKING_LOAD", "uit_max_belasting", "N/M", nullptr},
        {"S_BELT_LOAD", "uit_werk_belasting", "N/M", nullptr},
        {"S_TORQUE", "uit_draaimoment", "NM", nullptr},
        {"S_RPM", "uit_omwentelingen", nullptr, "1/min"},
        {"S_SHAFT_POWER", "uit_vermogen_as", "WATT", nullptr},
        {"S_MOTOR_POWER_(EFF_75%)", "uit_motorvermogen", "WATT", nullptr},
        {"S_BELT_WEIGHT", "uit_matgewicht", "KG/M2", nullptr},
        {"S_THERMAL_LENGTH_EXPANSION", "uit_uitzetting_lengte", "MM", nullptr},
        {"S_THERMAL_WIDTH_EXPANSION", "uit_uitzetting_breedte", "MM", nullptr},
        {"S_TOTAL_BELT_LENGTH", "uit_lengte_mat", "M", nullptr},
        {"S_NR_OF_PRODUCTS_ON_CONVEY", "uit_product_op_baan", nullptr, nullptr},
        {"S_NR_SPROCKETS_DRIVE", "uit_aandrijf_wielen", nullptr, nullptr},
        {"S_NR_SPROCKETS_IDLER", "uit_retour_wielen", nullptr, nullptr},
        {"S_NR_BEARINGS_DRIVE", "uit_lagers_aandrijfas", nullptr, nullptr},
        {"S_NR_BEARINGS_IDLER", "uit_lagers_retouras", nullptr, nullptr},
    };
    int row = 0;
    for (const Row& entry : rows) {
        grid->addWidget(NewCaption(entry.key, first), row, 0);
        grid->addWidget(NewValue(entry.field, first), row, 1);
        if (entry.unit)
            grid->addWidget(NewUnitLabel(entry.unit, first), row, 2);
        else if (entry.fixed)
            grid->addWidget(NewFixedUnit(QString::fromLatin1(entry.fixed), first), row, 2);
        ++row;
    }
    columns->addWidget(first);

    // The shafts: each value with its allowed maximum beside it.
    auto* second = new QWidget(body);
    auto* secondColumn = new QVBoxLayout(second);
    secondColumn->setContentsMargins(0, 0, 0, 0);
    auto* shafts = new QWidget(second);
    QGridLayout* shaftGrid = NewGrid(shafts);
    const QString degree = QString::fromUtf8("\u00B0");
    struct Shaft {
        const char* key;
        const char* value;
        const char* maximum;
        const char* unit; // unit code; null: the degree sign
    };
    const Shaft shaftRows[] = {
        {"S_DEFLECTION_DRIVE_SHAFT", "uit_doorbuiging_aandrijfas", "uit_max_doorbuiging_aandrijfas",
         "MM"},
        {"S_DEFLECTION_IDLER_SHAFT", "uit_doorbuiging_retouras", "uit_max_doorbuiging_retouras",
         "MM"},
        {"S_TORSION_DRIVE_SHAFT", "uit_hoekverdraaiing", "uit_max_hoekverdraaiing", nullptr},
    };
    const auto unitOf = [&](const char* code, QWidget* parent) -> QWidget* {
        if (code)
            return NewUnitLabel(code, parent);
        return NewFixedUnit(degree, parent);
    };
    shaftGrid->addWidget(NewCaption("S_MAXIMUM", shafts), 0, 3, 1, 2);
    row = 1;
    for (const Shaft& entry : shaftRows) {
        shaftGrid->addWidget(NewCaption(entry.key, shafts), row, 0);
        shaftGrid->addWidget(NewValue(entry.value, shafts), row, 1);
        shaftGrid->addWidget(unitOf(entry.unit, shafts), row, 2);
        shaftGrid->addWidget(NewValue(entry.maximum, shafts), row, 3);
        shaftGrid->addWidget(unitOf(entry.unit, shafts), row, 4);
        ++row;
    }
    shaftGrid->addWidget(NewCaption("S_STARTUP_FACTOR", shafts), row, 0);
    shaftGrid->addWidget(NewValue("uit_opstartfactor", shafts), row, 1);
    secondColumn->addWidget(shafts);
    secondColumn->addStretch(1);
    columns->addWidget(second, 1);
    return grp_results;
}

QWidget* TMat_uitvoer::BuildLoadGroup() {
    grp_load = NewGroup("grp_load", this);
    QWidget* body = GroupBody(grp_load);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    auto* model = new TableModel(this);
    model->setReadOnly(true);
    model->setFieldNames(
        {"index", "strength", "continue", "continue_perc", "startup", "startup_perc"});
    loadTitles_ = new LoadTitles(this);
    loadTitles_->setSourceModel(model);
    grd_load = new QTableView(body);
    grd_load->setObjectName(QStringLiteral("grd_load"));
    grd_load->setModel(loadTitles_);
    grd_load->verticalHeader()->hide();
    grd_load->setSelectionMode(QAbstractItemView::NoSelection);
    grd_load->setFocusPolicy(Qt::NoFocus);
    grd_load->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grd_load->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grd_load->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grd_load->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grd_load->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grd_load->verticalHeader()->setDefaultSectionSize(grd_load->fontMetrics().height() + 6);
    column->addWidget(grd_load);
    return grp_load;
}

QWidget* TMat_uitvoer::BuildRemarksGroup() {
    grp_remarks = NewGroup("grp_remarks", this);
    QWidget* body = GroupBody(grp_remarks);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    mem_warning = new TDBMemo(body);
    mem_warning->setObjectName(QStringLiteral("mem_warning"));
    mem_warning->setMemoReadOnly(true);
    mem_warning->setMinimumHeight(4 * mem_warning->fontMetrics().lineSpacing() + 12);
    column->addWidget(mem_warning);
    return grp_remarks;
}

// ---- wiring ----

void TMat_uitvoer::SetDataModule(belt::Tdm_mat* module) {
    for (ds::Table* table : std::vector<ds::Table*>(follower_->observedTables()))
        table->detach(*follower_);
    dm_ = module;
    reports_->SetDataModule(module);
    ds::Table* invoer = module ? &module->cds_invoer : nullptr;
    for (TDBText* value : values_) {
        value->setTable(invoer);
        value->setDataField(value->property("fieldName").toString().toStdString());
    }
    mem_warning->setTable(invoer);
    mem_warning->setDataField("uit_warning");
    auto* model = static_cast<TableModel*>(loadTitles_->sourceModel());
    model->setTable(module ? &module->cds_load_zones : nullptr);
    if (module) {
        module->cds_invoer.attach(*follower_);
        module->cds_invoer_zones.attach(*follower_);
        module->cds_load_zones.attach(*follower_);
    }
    if (lang::TTaalComponent* service = TaalComponent())
        lang::TaalNotify(*service);
}

void TMat_uitvoer::SetTaalComponent(lang::TTaalComponent* service) {
    if (service == TaalComponent())
        return;
    ui::SetTaalComponent(this, service, &TaalObserver);
    if (host_)
        host_->SetMessageService(service);
    if (graph_)
        graph_->SetTaalComponent(service);
}

void TMat_uitvoer::SetImages(const ImageList& images) {
    images_ = &images;
    ToolBar1->setIconSize(images.glyphSize().expandedTo(QSize(20, 20)));
    for (QAction* action : findChildren<QAction*>()) {
        const QVariant index = action->property(kImageIndex);
        if (index.isValid() && action->parent() == this)
            action->setIcon(images.icon(index.toInt()));
    }
    if (graph_)
        graph_->SetImages(images);
}

void TMat_uitvoer::TaalObserverTaalChange(lang::ITaalSubject& subject) {
    const auto text = [&](const char* key) {
        return TaalToQt(common::CapitalizeFirst(lang::TaalText(subject, key)));
    };
    setWindowTitle(TaalToQt(lang::TaalText(subject, "S_BELT_CALCULATION_RESULTS")));
    grp_friction->setTitle(text("S_COEFFICIENT_OF_FRICTION"));
    grp_results->setTitle(text("S_BELT_CALCULATION_RESULTS"));
    grp_load->setTitle(text("S_TABLE_OF_LOAD_INFORMATION"));
    grp_remarks->setTitle(text("S_REMARKS"));
    loadTitles_->SetHeadings({text("S_ZONE"), text("S_STRENGTH"), text("S_CONTINUOUS"), QString(),
                              text("S_STARTMINUSUP"), QString()});
    grd_load->resizeColumnsToContents();
}

// ---- the report host and the graph ----

Tfrm_flex_report& TMat_uitvoer::ReportWindow() {
    if (!host_) {
        host_ = new Tfrm_flex_report(this);
        host_->SetMessageService(TaalComponent());
    }
    return *host_;
}

Tfrm_graf_mat& TMat_uitvoer::GraphWindow() {
    if (!graph_) {
        auto* graph = new Tfrm_graf_mat(nullptr);
        graph_ = graph;
        graph->SetTaalComponent(TaalComponent());
        if (images_)
            graph->SetImages(*images_);
    }
    return *graph_;
}

Tfrm_graf_mat* TMat_uitvoer::ExistingGraphWindow() const {
    return graph_.data();
}

void TMat_uitvoer::act_graphExecute() {
    Tfrm_graf_mat& graph = GraphWindow();
    ShowBeside(&graph, this);
    UpdateGraph();
}

void TMat_uitvoer::ScheduleGraphUpdate() {
    if (graphUpdatePending_ || !graph_)
        return;
    graphUpdatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        graphUpdatePending_ = false;
        guarded(this, [this] { UpdateGraph(); });
    });
}

void TMat_uitvoer::UpdateGraph() {
    if (!dm_ || !graph_)
        return;
    graph_->ShowSeries(belt::GraphSeries(*dm_));
}

TDBText* TMat_uitvoer::ValueOf(const std::string& fieldName) const {
    for (TDBText* value : values_)
        if (value->property("fieldName").toString().toStdString() == fieldName)
            return value;
    return nullptr;
}

// ---- closing ----

void TMat_uitvoer::closeEvent(QCloseEvent* event) {
    // Only its input window destroys it; closing puts it aside.
    event->ignore();
    if (QMdiSubWindow* sub = SubWindowOf(this))
        sub->showMinimized();
    else
        showMinimized();
}

} // namespace zrn::ui
