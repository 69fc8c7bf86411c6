#include "ui/belt/MAT_INV.h"
#include "ui/belt/BeltWindowParts.h"

#include "belt/MatTables.h"
#include "belt/d_mat.h"
#include "common/Algemeen.h"
#include "common/TextHelpers.h"
#include "dataset/Field.h"
#include "dataset/Table.h"
#include "dataset/TableObserver.h"
#include "lang/MetricField.h"
#include "lang/TaalComponent.h"
#include "rtl/Format.h"
#include "rtl/Paths.h"
#include "ui/app/ImageList.h"
#include "ui/app/ModuleRegistry.h"
#include "ui/belt/FieldRows.h"
#include "ui/belt/FileDialogs.h"
#include "ui/belt/MatZoneGrid.h"
#include "ui/belt/Mat_uitv.h"
#include "ui/belt/MdiChild.h"
#include "ui/common/DataControl.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/TDBCheckBox.h"
#include "ui/common/TDBEdit.h"
#include "ui/common/TDBLookupComboBox.h"
#include "ui/common/TDBText.h"
#include "ui/common/WindowHelpers.h"
#include "ui/lang/SetTaalComponent.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalLabel.h"
#include "ui/lang/TaalQt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace zrn::ui {

namespace {

const char* const kProjectFilter = "MAT-Files|*.MAT|All files|*.*";
const char* const kProjectExtension = "MAT";

//! A fixed-width number edit: wide enough for the values of the form, not wider.
constexpr int kEditWidth = 110;
constexpr int kComboChars = 16;

//! The form grid of a group: its own font is the regular one (the heading alone is bold).
QGridLayout* NewFormGrid(QGroupBox* group) {
    auto* body = new QWidget(group);
    QFont regular = group->font();
    regular.setBold(false);
    body->setFont(regular);
    auto* outer = new QVBoxLayout(group);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->addWidget(body);
    auto* grid = new QGridLayout(body);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(3, 1);
    return grid;
}

TDBEdit* NewEdit(const char* name, QWidget* parent) {
    auto* edit = new TDBEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(kEditWidth);
    return edit;
}

TDBLookupComboBox* NewCombo(const char* name, QWidget* parent) {
    auto* combo = new TDBLookupComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    // As wide as the longest entry of its list, in whatever language the list is.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(kComboChars);
    return combo;
}

//! The stored form of a field's value: metric for a quantity, whatever is shown.
std::string StoredText(const ds::Field& field) {
    if (field.isNull())
        return {};
    if (const auto* metric = dynamic_cast<const lang::TMetricField*>(&field))
        return rtl::FloatToStr(metric->MetricValue());
    // A yes/no field's text is its display value, which follows the language.
    if (field.type() == ds::FieldType::Boolean)
        return field.asBoolean() ? "1" : "0";
    return field.asString();
}

bool IsResultField(const ds::Field& field) {
    return field.name().rfind("uit_", 0) == 0;
}

} // namespace

// ---- the record watcher ----

// Tells the window of single field changes of the input record. A unit switch asks every
// control to show a quantity again without changing it, so a change counts only when the
// stored value differs from the one seen last.
class TMat_Invoer::RecordWatcher : public ds::TableObserver {
public:
    explicit RecordWatcher(TMat_Invoer& window) : window_(window) {
        if (window_.dm_->cds_invoer.isActive())
            Remember();
        window_.dm_->cds_invoer.attach(*this);
    }

    void fieldChanged(ds::Table&, ds::Field& field) override {
        const std::string& name = field.name();
        if (name != "p_mat_code" && name != "g_mat_code" && name != "belasting")
            return;
        const std::string now = StoredText(field);
        std::string& before = seen_[name];
        if (now == before)
            return;
        before = now;
        guarded(&window_, [&] {
            if (name == "belasting") {
                if (!now.empty())
                    window_.LoadChanged();
            } else {
                window_.MaterialChanged(name);
            }
        });
    }
    void recordChanged(ds::Table&) override { Resync(); }
    void refreshed(ds::Table&) override { Resync(); }
    void scrolled(ds::Table&) override { Resync(); }

private:
    void Remember() {
        for (const char* name : {"p_mat_code", "g_mat_code", "belasting"})
            seen_[name] = StoredText(window_.dm_->Invoer(name));
    }
    void Resync() {
        if (!window_.dm_->cds_invoer.isActive())
            return;
        Remember();
        window_.SyncFrictionPanels();
    }

    TMat_Invoer& window_;
    std::map<std::string, std::string> seen_;
};

// ---- creation ----

TMat_Invoer::TMat_Invoer(QWidget* parent)
    : QMainWindow(parent), dm_(std::make_unique<belt::Tdm_mat>()) {
    setObjectName(QStringLiteral("Mat_Invoer"));
    setWindowTitle(QStringLiteral("Belt calculation program"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ImageList::ModuleImages().icon(ImageList::Belt));
    TaalObserver.OnTaalChange = [this](lang::TTaalObserver&, lang::ITaalSubject& subject) {
        TaalObserverTaalChange(subject);
    };

    BuildActions();
    BuildMenus();
    BuildForm();
    SetTabOrder();
    guarded(this, [this] { FormCreate(); });
    BindControls();
    watcher_ = std::make_unique<RecordWatcher>(*this);
    SyncFrictionPanels();
    TakeSnapshot();
}

TMat_Invoer::~TMat_Invoer() {
    // The results window and the controls show the data module's tables: they go first.
    delete results_.data();
    watcher_.reset();
    delete centralWidget();
}

void TMat_Invoer::FormCreate() {
    dm_->SetDataDirectory("data");
    dm_->OpenTables();
}

void TMat_Invoer::BuildActions() {
    act_file = NewAction("act_file", "S_FILE", "&File", this);
    act_clear = NewAction("act_clear", "S_CLEAR", "&Clear", this);
    act_file_load = NewAction("act_file_load", "S_FILE_LOAD", "&Load", this, ImageList::Load,
                              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L));
    act_file_save = NewAction("act_file_save", "S_SAVE", "&Save", this, ImageList::Save,
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    act_file_save_as = NewAction("act_file_save_as", "S_SAVE_AS", "Save &As", this,
                                 ImageList::SaveAs, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    act_file_close = NewAction("act_file_close", "S_CLOSE", "&Close", this, ImageList::Close);
    act_clear_zones = NewAction("act_clear_zones", "S_CLEAR_ZONES", "&Clear zones", this);
    act_reset_all = NewAction("act_reset_all", "S_RESET_ALL", "Reset &All", this, ImageList::Reset);
    act_results = NewAction("act_results", "S_RESULTS", "&Results", this, ImageList::Results);
    act_results_no_image = NewAction("act_results_no_image", "S_RESULTS", "&Results", this);

    const auto on = [this](QAction* action, void (TMat_Invoer::*command)()) {
        connect(action, &QAction::triggered, this,
                [this, command] { guarded(this, [this, command] { (this->*command)(); }); });
    };
    on(act_file_load, &TMat_Invoer::act_file_loadExecute);
    on(act_file_save, &TMat_Invoer::act_file_saveExecute);
    on(act_file_save_as, &TMat_Invoer::act_file_save_asExecute);
    connect(act_file_close, &QAction::triggered, this, &QWidget::close);
    on(act_clear_zones, &TMat_Invoer::act_clear_zonesExecute);
    on(act_reset_all, &TMat_Invoer::act_reset_allExecute);
    on(act_results, &TMat_Invoer::act_resultsExecute);
    on(act_results_no_image, &TMat_Invoer::act_resultsExecute);
    addActions({act_file_load, act_file_save, act_file_save_as});
}

void TMat_Invoer::BuildMenus() {
    auto* bar = new QMenuBar(this);
    auto* file = new QMenu(this);
    file->setObjectName(QStringLiteral("mnu_file"));
    file->addActions({act_file_load, act_file_save, act_file_save_as});
    file->addSeparator();
    file->addAction(act_file_close);
    act_file->setMenu(file);
    auto* clear = new QMenu(this);
    clear->setObjectName(QStringLiteral("mnu_clear"));
    clear->addActions({act_clear_zones, act_reset_all});
    act_clear->setMenu(clear);
    bar->addActions({act_file, act_clear, act_results_no_image});
    setMenuBar(bar);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->addActions(
        {act_file_load, act_file_save, act_file_save_as, act_reset_all, act_results});
    addToolBar(Qt::TopToolBarArea, ToolBar1);
}

void TMat_Invoer::BuildForm() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("pnl_client"));
    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(6);

    auto* left = new QVBoxLayout;
    left->addWidget(BuildBeltGroup());
    left->addWidget(BuildProductGroup());
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(BuildConveyorGroup());
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildZonesGroup());
    right->addStretch(1);
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);
    setCentralWidget(client);

    for (TTaalLabel* label : client->findChildren<TTaalLabel*>())
        labels_.push_back(label);
}

QWidget* TMat_Invoer::BuildBeltGroup() {
    grp_belt = NewGroup("grp_belt", this);
    QGridLayout* grid = NewFormGrid(grp_belt);
    QWidget* body = grid->parentWidget();
    Edit1 = NewEdit("Edit1", body);
    Edit1->setFixedWidth(kEditWidth * 2);
    cbx_mat = NewCombo("cbx_mat", body);
    Edit2 = NewEdit("Edit2", body);
    Edit3 = NewEdit("Edit3", body);
    AddFieldRow(*grid, 0, "S_PROJECTNAME", Edit1);
    AddFieldRow(*grid, 1, "S_BELTTYPE", cbx_mat);
    AddFieldRow(*grid, 2, "S_MINUS_LENGTH", Edit2, NewUnitLabel("M", body));
    AddFieldRow(*grid, 3, "S_MINUS_WIDTH", Edit3, NewUnitLabel("MM", body));
    return grp_belt;
}

QWidget* TMat_Invoer::BuildProductGroup() {
    grp_product = NewGroup("grp_product", this);
    QGridLayout* grid = NewFormGrid(grp_product);
    QWidget* body = grid->parentWidget();
    cbx_product = NewCombo("cbx_product", body);
    pnl_frc_prod = new QWidget(body);
    pnl_frc_prod->setObjectName(QStringLiteral("pnl_frc_prod"));
    auto* panel = new QHBoxLayout(pnl_frc_prod);
    panel->setContentsMargins(0, 0, 0, 0);
    edt_frc_prod = NewEdit("edt_frc_prod", pnl_frc_prod);
    panel->addWidget(edt_frc_prod);
    edt_load = NewEdit("edt_load", body);
    edt_weight = NewEdit("edt_weight", body);
    edt_diameter = NewEdit("edt_diameter", body);
    Edit7 = NewEdit("Edit7", body);
    AddFieldRow(*grid, 0, "S_MATERIAL_PRODUCT", cbx_product);
    AddFieldRow(*grid, 1, "S_COEFFICIENT_OF_FRICTION", pnl_frc_prod)->setBuddy(edt_frc_prod);
    AddFieldRow(*grid, 2, "S_LOAD", edt_load, NewUnitLabel("KG/M2", body));
    AddFieldRow(*grid, 3, "S_WEIGHT_PRODUCT", edt_weight, NewUnitLabel("GR", body));
    AddFieldRow(*grid, 4, "S_DIAMETER_PRODUCT", edt_diameter, NewUnitLabel("MM", body));
    AddFieldRow(*grid, 5, "S_OCCUPATION_PERCENTAGE", Edit7,
                NewFixedUnit(QStringLiteral("%"), body));
    return grp_product;
}

QWidget* TMat_Invoer::BuildConveyorGroup() {
    grp_conveyor = NewGroup("grp_conveyor", this);
    QGridLayout* grid = NewFormGrid(grp_conveyor);
    QWidget* body = grid->parentWidget();
    cbx_support = NewCombo("cbx_support", body);
    cbx_geleiding = NewCombo("cbx_geleiding", body);
    Edit13 = NewEdit("Edit13", body);
    Edit8 = NewEdit("Edit8", body);
    cbx_smering = NewCombo("cbx_smering", body);
    Edit9 = NewEdit("Edit9", body);
    Edit10 = NewEdit("Edit10", body);
    Edit11 = NewEdit("Edit11", body);
    cbx_tandwiel = NewCombo("cbx_tandwiel", body);
    cbx_boring = NewCombo("cbx_boring", body);
    Edit12 = NewEdit("Edit12", body);

    auto* centre = new QWidget(body);
    auto* centreRow = new QHBoxLayout(centre);
    centreRow->setContentsMargins(0, 0, 0, 0);
    chk_centerdrive = new TDBCheckBox(centre);
    chk_centerdrive->setObjectName(QStringLiteral("chk_centerdrive"));
    txt_centerdrive = new TDBText(centre);
    txt_centerdrive->setObjectName(QStringLiteral("txt_centerdrive"));
    centreRow->addWidget(chk_centerdrive);
    centreRow->addWidget(txt_centerdrive, 1);

    pnl_frc_geleiding = new QWidget(body);
    pnl_frc_geleiding->setObjectName(QStringLiteral("pnl_frc_geleiding"));
    auto* panel = new QHBoxLayout(pnl_frc_geleiding);
    panel->setContentsMargins(0, 0, 0, 0);
    edt_frc_geleiding = NewEdit("edt_frc_geleiding", pnl_frc_geleiding);
    panel->addWidget(edt_frc_geleiding);

    int row = 0;
    AddFieldRow(*grid, row++, "S_TYPE_OF_SUPPORT", cbx_support);
    AddFieldRow(*grid, row++, "S_WEARSTRIP_MATERIAL", cbx_geleiding);
    AddFieldRow(*grid, row++, "S_PRODUCT_/_HOUR", Edit13);
    AddFieldRow(*grid, row++, "S_BELTSPEED", Edit8, NewUnitLabel("M/MIN", body));
    AddFieldRow(*grid, row++, "S_LUBRICATION", cbx_smering);
    AddFieldRow(*grid, row++, "S_ACCUMULATION", Edit9, NewFixedUnit(QStringLiteral("%"), body));
    AddFieldRow(*grid, row++, "S_HEIGHT_DIFFERENCE", Edit10, NewUnitLabel("MM", body));
    AddFieldRow(*grid, row++, "S_NR_TEMP_ZONES", Edit11);
    AddFieldRow(*grid, row++, "S_SPROCKET_SIZE", cbx_tandwiel);
    AddFieldRow(*grid, row++, "S_DIAMETER_SHAFT", cbx_boring);
    AddFieldRow(*grid, row++, "S_LENGTH_SHAFT", Edit12, NewUnitLabel("MM", body));
    AddFieldRow(*grid, row++, "S_CENTERDRIVE_(Y/N)", centre)->setBuddy(chk_centerdrive);
    AddFieldRow(*grid, row++, "S_COEFFICIENT_OF_FRICTION", pnl_frc_geleiding)
        ->setBuddy(edt_frc_geleiding);
    return grp_conveyor;
}

QWidget* TMat_Invoer::BuildZonesGroup() {
    grp_zones = NewGroup("grp_zones", this);
    auto* body = new QWidget(grp_zones);
    QFont regular = grp_zones->font();
    regular.setBold(false);
    body->setFont(regular);
    auto* outer = new QVBoxLayout(grp_zones);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->addWidget(body);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    grd_zones = new TMatZoneGrid(body);
    grd_zones->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grd_zones->verticalHeader()->setDefaultSectionSize(grd_zones->fontMetrics().height() + 8);
    grd_zones->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grd_zones->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->addWidget(grd_zones);
    txt_invoerwarning = new TDBText(body);
    txt_invoerwarning->setObjectName(QStringLiteral("txt_invoerwarning"));
    txt_invoerwarning->setWordWrap(true);
    QFont bold = txt_invoerwarning->font();
    bold.setBold(true);
    txt_invoerwarning->setFont(bold);
    QPalette red = txt_invoerwarning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    txt_invoerwarning->setPalette(red);
    column->addWidget(txt_invoerwarning);
    connect(
        grd_zones, &TMatZoneGrid::inputFinished, this,
        [this] { guarded(this, [this] { act_resultsExecute(); }); }, Qt::QueuedConnection);
    return grp_zones;
}

void TMat_Invoer::SetTabOrder() {
    const QList<QWidget*> order = {Edit1,
                                   cbx_mat,
                                   Edit2,
                                   Edit3,
                                   cbx_product,
                                   edt_frc_prod,
                                   edt_load,
                                   edt_weight,
                                   edt_diameter,
                                   Edit7,
                                   cbx_support,
                                   cbx_geleiding,
                                   Edit13,
                                   Edit8,
                                   cbx_smering,
                                   Edit9,
                                   Edit10,
                                   Edit11,
                                   cbx_tandwiel,
                                   cbx_boring,
                                   Edit12,
                                   chk_centerdrive,
                                   edt_frc_geleiding,
                                   grd_zones};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TMat_Invoer::BindControls() {
    ds::Table* invoer = &dm_->cds_invoer;
    const std::pair<TDBEdit*, const char*> edits[] = {{Edit1, "project"},
                                                      {Edit2, "lengte"},
                                                      {Edit3, "breedte"},
                                                      {edt_frc_prod, "frc_prod_afw"},
                                                      {edt_load, "belasting"},
                                                      {edt_weight, "gewicht"},
                                                      {edt_diameter, "diameter"},
                                                      {Edit7, "bezettingsgraad"},
                                                      {Edit13, "product_per_uur"},
                                                      {Edit8, "matsnelheid"},
                                                      {Edit9, "stuw"},
                                                      {Edit10, "hoogteverschil"},
                                                      {Edit11, "temp_zones"},
                                                      {Edit12, "aslengte"},
                                                      {edt_frc_geleiding, "frc_geleiding_afw"}};
    for (const auto& [edit, field] : edits) {
        edit->setTable(invoer);
        edit->setDataField(field);
    }
    const std::pair<TDBLookupComboBox*, std::pair<const char*, const char*>> combos[] = {
        {cbx_mat, {"mattype", "mattype"}},
        {cbx_product, {"p_mat_code", "materiaal"}},
        {cbx_support, {"geleidingsmateriaal", "Support"}},
        {cbx_geleiding, {"g_mat_code", "materiaal"}},
        {cbx_smering, {"smering", "smeer_oms"}},
        {cbx_tandwiel, {"tandwiel_grootte", "TandenDP"}},
        {cbx_boring, {"asdiameter", "boring"}}};
    for (const auto& [combo, names] : combos) {
        combo->setTable(invoer);
        combo->setDataField(names.first);
        combo->setListSource(dm_->LookupTable(names.first), dm_->LookupKeyField(names.first),
                             names.second);
    }
    chk_centerdrive->setTable(invoer);
    chk_centerdrive->setDataField("aandrijving_centraal");
    txt_centerdrive->setTable(invoer);
    txt_centerdrive->setDataField("aandrijving_centraal");
    txt_invoerwarning->setTable(invoer);
    txt_invoerwarning->setDataField("uit_invoerwarning");
    grd_zones->SetDataModule(dm_.get());
}

// ---- what the main window hands over ----

void TMat_Invoer::SetTaalComponent(lang::TTaalComponent* service) {
    if (service == TaalComponent())
        return;
    dm_->SetTaalComponent(service);
    ui::SetTaalComponent(this, service, &TaalObserver);
    if (results_)
        results_->SetTaalComponent(service);
}

void TMat_Invoer::SetProjectDirectory(const std::string& directory) {
    projectDirectory_ = directory;
}

void TMat_Invoer::SetImages(const ImageList& images) {
    if (images_ == &images)
        return;
    images_ = &images;
    ToolBar1->setIconSize(images.glyphSize().expandedTo(QSize(20, 20)));
    for (QAction* action : findChildren<QAction*>()) {
        const QVariant index = action->property(kImageIndex);
        if (index.isValid())
            action->setIcon(images.icon(index.toInt()));
    }
    if (results_)
        results_->SetImages(images);
}

// ---- language ----

void TMat_Invoer::TaalObserverTaalChange(lang::ITaalSubject& subject) {
    const auto heading = [&](QGroupBox* group, const char* key) {
        group->setTitle(TaalToQt(common::CapitalizeFirst(lang::TaalText(subject, key))));
    };
    heading(grp_belt, "S_BELT_SPECIFICATION");
    heading(grp_product, "S_PRODUCT_SPECIFICATION");
    heading(grp_conveyor, "S_CONVEYOR_SPECIFICATION");
    heading(grp_zones, "S_TEMPERATURE_ZONES");
    // The sprocket texts are worked out in the language of the moment, and the data module
    // does not reopen their list: worked out again here, on the same sprocket.
    dm_->cds_matserie_tandwiel.refresh();
    UpdateCaption();
}

void TMat_Invoer::UpdateCaption() {
    QString caption = QStringLiteral("Belt calculation program");
    if (lang::TTaalComponent* service = TaalComponent())
        caption = TaalToQt(lang::TaalText(*service, "S_BELT_CALCULATION_PROGRAM"));
    if (!projectFile_.isEmpty())
        caption += QStringLiteral(" - ") + QFileInfo(projectFile_).fileName();
    setWindowTitle(caption);
}

// ---- placement ----

void TMat_Invoer::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    // At the top left of the frame's client area, as large as the form needs.
    if (QMdiSubWindow* sub = SubWindowOf(this)) {
        sub->resize(sub->sizeHint());
        sub->move(0, 0);
    }
}

// ---- commands ----

QString TMat_Invoer::ProjectDialogDirectory() const {
    return QString::fromStdString(rtl::ExeDirectory() + "opslag");
}

void TMat_Invoer::act_file_loadExecute() {
    TFileDialogRequest request;
    request.filter = QString::fromLatin1(kProjectFilter);
    request.defaultExtension = QString::fromLatin1(kProjectExtension);
    request.initialDirectory = ProjectDialogDirectory();
    request.fileName = projectFile_;
    const QString chosen = RunFileDialog(this, request);
    if (!chosen.isEmpty())
        LoadProjectFile(chosen);
}

bool TMat_Invoer::LoadProjectFile(const QString& fileName) {
    if (!CommitFocusedControl())
        return false;
    const std::string file = fileName.toStdString();
    // A file that is not a belt project is refused before the record is touched, so the
    // project on the screen stays as it was.
    const bool readable = guarded(this, [&] {
        ds::Table probe("probe");
        belt::tables::DeclareInvoer(probe);
        try {
            common::ReadTableFile(probe, file);
        } catch (const std::exception&) {
            std::string message = "This file is not a belt file";
            if (lang::TTaalComponent* service = TaalComponent())
                message = lang::TaalText(*service, "S_THIS_FILE_IS_NOT_A_BELT_F");
            throw Error(message);
        }
    });
    if (!readable)
        return false;
    guarded(this, [&] { dm_->LoadProject(file); });
    // A project that loads but stops its calculation is loaded all the same; the message
    // has said why its results are not complete.
    if (!dm_->cds_invoer.isActive())
        return false;
    projectFile_ = fileName;
    if (lang::TTaalComponent* service = TaalComponent())
        guarded(this, [service] { lang::TaalNotify(*service); });
    UpdateCaption();
    SyncFrictionPanels();
    HighlightFieldLabel(this, nullptr);
    TakeSnapshot();
    return true;
}

void TMat_Invoer::act_file_saveExecute() {
    if (projectFile_.isEmpty()) {
        act_file_save_asExecute();
        return;
    }
    SaveProjectFile(projectFile_);
}

void TMat_Invoer::act_file_save_asExecute() {
    TFileDialogRequest request;
    request.save = true;
    request.filter = QString::fromLatin1(kProjectFilter);
    request.defaultExtension = QString::fromLatin1(kProjectExtension);
    request.initialDirectory = ProjectDialogDirectory();
    request.fileName = projectFile_;
    const QString chosen = RunFileDialog(this, request);
    if (chosen.isEmpty())
        return;
    if (SaveProjectFile(chosen)) {
        projectFile_ = chosen;
        UpdateCaption();
    }
}

bool TMat_Invoer::SaveProjectFile(const QString& fileName) {
    if (!CommitFocusedControl())
        return false;
    const bool saved = guarded(this, [&] { dm_->SaveProject(fileName.toStdString()); });
    if (saved)
        TakeSnapshot();
    return saved;
}

void TMat_Invoer::act_clear_zonesExecute() {
    dm_->ClearZones();
}

void TMat_Invoer::act_reset_allExecute() {
    dm_->ResetAll();
    projectFile_.clear();
    UpdateCaption();
    SyncFrictionPanels();
    HighlightFieldLabel(this, nullptr);
    TakeSnapshot();
}

void TMat_Invoer::act_resultsExecute() {
    // The value being typed counts; the control keeps the focus.
    QWidget* focused = QApplication::focusWidget();
    if (!CommitFocusedControl())
        return;
    if (focused)
        focused->setFocus(Qt::OtherFocusReason);
    ds::Field* blocking = dm_->CheckInput();
    HighlightFieldLabel(this, blocking);
    if (blocking)
        return;
    TMat_uitvoer& results = ResultsWindow();
    ShowBeside(&results, this);
    PlaceResultsWindow();
    if (QMdiSubWindow* sub = SubWindowOf(&results)) {
        if (sub->isMinimized())
            sub->showNormal();
    } else if (results.isMinimized()) {
        results.showNormal();
    }
}

// ---- the results window ----

TMat_uitvoer& TMat_Invoer::ResultsWindow() {
    if (!results_) {
        auto* results = new TMat_uitvoer(nullptr);
        results_ = results;
        WireResultsWindow(*results);
    }
    return *results_;
}

void TMat_Invoer::WireResultsWindow(TMat_uitvoer& results) {
    results.SetDataModule(dm_.get());
    InsertActionMenuItem(&results, 0, 0, act_file_load);
    InsertActionMenuItem(&results, 0, 1, act_file_save);
    InsertActionMenuItem(&results, 0, 2, act_file_save_as);
    // Their keys work in the results window too.
    results.addActions({act_file_load, act_file_save, act_file_save_as});
    results.SetTaalComponent(TaalComponent());
    if (images_)
        results.SetImages(*images_);
    if (lang::TTaalComponent* service = TaalComponent())
        lang::TaalNotify(*service);
}

void TMat_Invoer::PlaceResultsWindow() {
    QWidget* frame = FrameOf(results_);
    QWidget* own = FrameOf(this);
    if (!frame || !own || frame == results_.data())
        return;
    // Its right edge at this window's right edge, its top at the top of the frame.
    frame->resize(frame->sizeHint().expandedTo(frame->size()));
    const int x = std::max(0, own->geometry().right() - frame->width() + 1);
    frame->move(x, 0);
}

// ---- data-change rules ----

bool TMat_Invoer::IsOtherMaterial(const std::string& fieldName) const {
    ds::Table* list = dm_->LookupTable(fieldName);
    if (!list || !list->isActive() || list->isEmpty() || dm_->Invoer(fieldName).isNull())
        return false;
    // The material row in use is the list's current row (the lookup box keeps it there).
    const ds::Field* code = list->findField("mat_wrijvings_code");
    if (!code || code->isNull())
        return false;
    return QString::fromStdString(code->asString())
               .compare(QStringLiteral("W_ANDERS"), Qt::CaseInsensitive) == 0;
}

QWidget* TMat_Invoer::FrictionPanel(const std::string& fieldName) const {
    return fieldName == "p_mat_code" ? pnl_frc_prod : pnl_frc_geleiding;
}

TDBEdit* TMat_Invoer::FrictionEdit(const std::string& fieldName) const {
    return fieldName == "p_mat_code" ? edt_frc_prod : edt_frc_geleiding;
}

void TMat_Invoer::MaterialChanged(const std::string& fieldName) {
    if (!dm_->cds_invoer.isEditing())
        return;
    ds::Field& friction =
        dm_->Invoer(fieldName == "p_mat_code" ? "frc_prod_afw" : "frc_geleiding_afw");
    if (!IsOtherMaterial(fieldName)) {
        if (!friction.isNull())
            friction.clear();
        SyncFrictionPanels();
        return;
    }
    // The proposed 1 marks a combination that is not recommended: the warning stays until
    // the real coefficient is typed.
    if (friction.isNull())
        friction.setAsFloat(1);
    SyncFrictionPanels();
    TDBEdit* edit = FrictionEdit(fieldName);
    // The proposal is selected: what the user types replaces it.
    QTimer::singleShot(0, edit, [edit] {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    });
}

void TMat_Invoer::SyncFrictionPanels() {
    for (const char* name : {"p_mat_code", "g_mat_code"}) {
        const bool shown = dm_->cds_invoer.isActive() && IsOtherMaterial(name);
        QWidget* panel = FrictionPanel(name);
        panel->setVisible(shown);
        // The panel's caption goes with it.
        for (TTaalLabel* label : labels_)
            if (label->buddy() == FrictionEdit(name))
                label->setVisible(shown);
    }
}

void TMat_Invoer::LoadChanged() {
    // Typing a load and moving on to the weight: the load describes the product, so the
    // weight goes and the cursor skips to the diameter.
    if (!dm_->cds_invoer.isEditing() || QApplication::focusWidget() != edt_weight)
        return;
    ds::Field& weight = dm_->Invoer("gewicht");
    if (!weight.isNull())
        weight.clear();
    QTimer::singleShot(0, edt_diameter, [this] {
        edt_diameter->setFocus(Qt::OtherFocusReason);
        edt_diameter->selectAll();
    });
}

// ---- closing ----

void TMat_Invoer::TakeSnapshot() {
    snapshot_.clear();
    ds::Table& invoer = dm_->cds_invoer;
    if (!invoer.isActive())
        return;
    for (int i = 0; i < invoer.fieldCount(); ++i) {
        const ds::Field& field = invoer.field(i);
        if (field.fieldKind() != ds::FieldKind::Data || field.type() == ds::FieldType::Nested ||
            IsResultField(field) || field.name() == "taal" || field.name() == "eenheid")
            continue;
        snapshot_.push_back(StoredText(field));
    }
    ds::Table& zones = dm_->cds_invoer_zones;
    if (zones.isActive()) {
        for (int pos = 0; pos < zones.recordCount(); ++pos) {
            ds::RowPeek peek = zones.peekRow(pos);
            snapshot_.push_back(StoredText(zones.fieldByName("lengte")));
            snapshot_.push_back(StoredText(zones.fieldByName("temp")));
        }
    }
}

bool TMat_Invoer::InputChangedSinceSnapshot() const {
    auto* self = const_cast<TMat_Invoer*>(this);
    const std::vector<std::string> before = snapshot_;
    self->TakeSnapshot();
    const bool changed = snapshot_ != before;
    self->snapshot_ = before;
    return changed;
}

bool TMat_Invoer::MaySaveBeforeClose() {
    if (!CommitFocusedControl())
        return false;
    if (!InputChangedSinceSnapshot())
        return true;
    QString question = QStringLiteral("Save the changes to the project?");
    QString saveText = QStringLiteral("&Save");
    if (lang::TTaalComponent* service = TaalComponent()) {
        const std::string text = lang::TaalText(*service, "S_SAVE_CHANGES");
        if (!text.empty())
            question = TaalToQt(text);
        const std::string save = lang::TaalText(*service, "S_SAVE");
        if (!save.empty())
            saveText = TaalToQt(save);
    }
    const QMessageBox::StandardButton answer =
        SaveQuestionHook() ? SaveQuestionHook()(*this, question) : [&] {
            QMessageBox box(this);
            box.setIcon(QMessageBox::Question);
            box.setWindowTitle(windowTitle());
            box.setText(question);
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.button(QMessageBox::Save)->setText(saveText);
            return static_cast<QMessageBox::StandardButton>(box.exec());
        }();
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    guarded(this, [this] { act_file_saveExecute(); });
    return !InputChangedSinceSnapshot();
}

std::function<QMessageBox::StandardButton(TMat_Invoer&, const QString&)>&
TMat_Invoer::SaveQuestionHook() {
    static std::function<QMessageBox::StandardButton(TMat_Invoer&, const QString&)> hook;
    return hook;
}

void TMat_Invoer::closeEvent(QCloseEvent* event) {
    if (!MaySaveBeforeClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

namespace {

// The main window's Belt button and menu launch this window.
const RegisterModule registerBelt(TModule::Belt,
                                  [](TZRN_main&) -> QWidget* { return new TMat_Invoer; });

} // namespace

} // namespace zrn::ui
