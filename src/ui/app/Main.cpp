#include "ui/app/Main.h"

#include "common/d_onderhoud.h"
#include "dataset/Field.h"
#include "dataset/Table.h"
#include "lang/TaalComponent.h"
#include "rtl/Paths.h"
#include "ui/app/LinkLabel.h"
#include "ui/app/ModuleWindow.h"
#include "ui/app/SvgPicture.h"
#include "ui/app/Warrenty.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/lang/ChangeEenheidAction.h"
#include "ui/lang/ChangeTaalAction.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalQt.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zrn::ui {

namespace {

constexpr std::size_t Slot(TModule module) {
    return static_cast<std::size_t>(module);
}

//! The maker's details on the logo panel.
const char* const kCompany = "ZRN Conveyor Chains B.V.";
const char* const kPhone = "+31 (0)30 555 0170";
const char* const kFax = "+31 (0)30 555 0179";
const char* const kWeb = "www.zrn.example.com";
const char* const kMail = "info@zrn.example.com";

std::string TextOf(const ds::Field& field) {
    return field.isNull() ? std::string() : field.asString();
}

//! A module window's own menu bar, which the frame shows in place of File.
QMenuBar* OwnMenuBar(QWidget* window) {
    if (auto* main = qobject_cast<QMainWindow*>(window))
        return qobject_cast<QMenuBar*>(main->menuWidget());
    return window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

QLabel* NewLabel(const QString& text, QWidget* parent, int pixelSize = 13, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

std::function<void(TZRN_main&)>& TZRN_main::DesignLoadedHook() {
    static std::function<void(TZRN_main&)> hook;
    return hook;
}

TZRN_main::TZRN_main(QWidget* parent)
    : QMainWindow(parent), taalComponent_(std::make_unique<lang::TTaalComponent>()),
      imgMain_(ImageList::MainImages()), imgModules_(ImageList::ModuleImages()) {
    LoadDesign();
    if (DesignLoadedHook())
        DesignLoadedHook()(*this);
    guarded(this, [this] { FormCreate(); });
}

TZRN_main::~TZRN_main() {
    // Closing the frame closes every module window before the service goes; none of them
    // reports back any more.
    closing_ = true;
    QList<QPointer<QWidget>> doomed;
    for (QWidget* window : windows_) {
        if (window) {
            disconnect(window, nullptr, this, nullptr);
            doomed << window;
        }
    }
    windows_.fill(nullptr);
    const auto subWindows = mdi_->subWindowList();
    for (const QPointer<QMdiSubWindow>& sub :
         QList<QPointer<QMdiSubWindow>>(subWindows.begin(), subWindows.end()))
        delete sub.data();
    for (const QPointer<QWidget>& window : doomed)
        delete window.data();
}

// ---- design ----

void TZRN_main::LoadDesign() {
    setObjectName(QStringLiteral("ZRN_main"));
    setWindowTitle(QStringLiteral("ZRN Calculation Program"));
    setWindowIcon(imgModules_.icon(ImageList::Belt));

    // The service is being loaded from the design: it takes its language but reads nothing
    // until the creation handler gives it its directory.
    taalComponent_->SetLoading(true);
    taalComponent_->SetTaal("engels");
    taalObserver1_.SetLoading(true);
    taalObserver1_.OnTaalChange = [this](lang::TTaalObserver&, lang::ITaalSubject& subject) {
        TaalObserver1TaalChange(subject);
    };
    taalObserver1_.SetTaalComponent(taalComponent_.get());

    actionList1_ = new QObject(this);
    actionList1_->setObjectName(QStringLiteral("ActionList1"));

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    toolbar_ = new QFrame(client);
    toolbar_->setObjectName(QStringLiteral("Toolbar"));
    toolbar_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    toolbar_->setFixedHeight(49);
    column->addWidget(toolbar_);
    mdi_ = new QMdiArea(client);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(mdi_, 1);
    setCentralWidget(client);

    BuildMenus();
    BuildToolbar();
    BuildLogo();

    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { ScheduleMenuMerge(); });

    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    taalObserver1_.SetLoading(false);
    taalComponent_->SetLoading(false);
}

void TZRN_main::BuildMenus() {
    lang::TTaalComponent* service = taalComponent_.get();

    actFile_ = new TTaalAction("S_FILE", QStringLiteral("&File"), actionList1_);
    actFileQuit_ = new TTaalAction("S_QUIT", QStringLiteral("&Quit"), actionList1_);
    actMnuTaal_ = new TTaalAction("S_LANGUAGE", QStringLiteral("&Language"), actionList1_);
    actMnuEenheid_ = new TTaalAction("S_SIZE", QStringLiteral("&Size"), actionList1_);
    connect(actFileQuit_, &QAction::triggered, this, &QWidget::close);

    actMetrisch_ = new TChangeEenheidAction(actionList1_);
    actMetrisch_->setText(QStringLiteral("&Metrisch"));
    actMetrisch_->SetEenheid(lang::ehMetrisch);
    actMetrisch_->SetGroupIndex(1, actionList1_);
    actMetrisch_->setChecked(true);
    actImperial_ = new TChangeEenheidAction(actionList1_);
    actImperial_->setText(QStringLiteral("&Imperial"));
    actImperial_->SetEenheid(lang::ehImperial);
    actImperial_->SetGroupIndex(1, actionList1_);

    for (TTaalAction* action : {actFile_, actFileQuit_, actMnuTaal_, actMnuEenheid_})
        action->SetTaalComponent(service);
    actMetrisch_->SetTaalComponent(service);
    actImperial_->SetTaalComponent(service);

    mnuFile_ = new QMenu(this);
    mnuFile_->addAction(actFileQuit_);
    actFile_->setMenu(mnuFile_);
    mnuTaal_ = new QMenu(this);
    mnuTaal_->setObjectName(QStringLiteral("mnu_taal"));
    actMnuTaal_->setMenu(mnuTaal_);
    mnuEenheid_ = new QMenu(this);
    mnuEenheid_->addAction(actMetrisch_);
    mnuEenheid_->addAction(actImperial_);
    actMnuEenheid_->setMenu(mnuEenheid_);

    menuBar()->addAction(actFile_);
    menuBar()->addAction(actMnuTaal_);
    menuBar()->addAction(actMnuEenheid_);
}

void TZRN_main::BuildToolbar() {
    struct Entry {
        TModule module;
        const char* name;
        const char* hint;
        QIcon icon;
        int x;
    };
    const Entry entries[] = {
        {TModule::Belt, "act_mat", "Belt", imgModules_.icon(ImageList::Belt), 8},
        {TModule::Chain, "act_ketting", "Chain", imgModules_.icon(ImageList::Chain), 48},
        {TModule::Flexbelt, "act_flexmat", "Flexbelt", imgModules_.icon(ImageList::Flexbelt), 88},
        {TModule::Onderhoud, "act_onderhoud", "Onderhoud", imgMain_.icon(ImageList::Maintenance),
         128},
    };
    for (const Entry& entry : entries) {
        auto* action = new QAction(entry.icon, QString::fromLatin1(entry.hint), actionList1_);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setToolTip(QString::fromLatin1(entry.hint));
        action->setStatusTip(QString::fromLatin1(entry.hint));
        // No placeholder modules: a module that did not register its window cannot start.
        action->setEnabled(static_cast<bool>(ModuleFactoryOf(entry.module)));
        const TModule module = entry.module;
        connect(action, &QAction::triggered, this,
                [this, module] { guarded(this, [this, module] { LaunchModule(module); }); });
        moduleActions_[Slot(module)] = action;

        auto* button = new QToolButton(toolbar_);
        button->setDefaultAction(action);
        button->setGeometry(entry.x, 8, 30, 30);
        button->setIconSize(module == TModule::Onderhoud ? imgMain_.glyphSize()
                                                         : imgModules_.glyphSize());
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        moduleButtons_[Slot(module)] = button;
    }
    // The maintenance module has no visible entry in the main window.
    moduleButtons_[Slot(TModule::Onderhoud)]->setVisible(false);
}

void TZRN_main::BuildLogo() {
    logo1_ = new QGroupBox(mdi_->viewport());
    logo1_->setObjectName(QStringLiteral("Logo1"));
    logo1_->setFixedSize(593, 458);
    logo1_->setAutoFillBackground(true);
    logo1_->setPalette(palette());

    auto* column = new QVBoxLayout(logo1_);
    column->setContentsMargins(31, 20, 31, 16);
    column->setSpacing(6);

    auto* picture = new SvgPicture(LogoResource(), logo1_);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(530, 267);
    column->addWidget(picture, 0, Qt::AlignHCenter);
    column->addSpacing(10);

    QLabel* product = NewLabel(QStringLiteral("Calculation Program for ZRN-chains Version 5.2"),
                               logo1_, 16, true);
    product->setObjectName(QStringLiteral("lbl_product"));
    column->addWidget(product, 0, Qt::AlignHCenter);
    QLabel* company = NewLabel(QString::fromUtf8(kCompany), logo1_, 13, true);
    company->setObjectName(QStringLiteral("lbl_company"));
    column->addWidget(company, 0, Qt::AlignHCenter);
    column->addSpacing(4);

    auto* contacts = new QWidget(logo1_);
    auto* grid = new QGridLayout(contacts);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    auto* web =
        new TLinkLabel(QString::fromUtf8(kWeb),
                       QUrl(QStringLiteral("https://") + QString::fromUtf8(kWeb)), contacts);
    web->setObjectName(QStringLiteral("lnk_internet"));
    auto* mail =
        new TLinkLabel(QString::fromUtf8(kMail),
                       QUrl(QStringLiteral("mailto:") + QString::fromUtf8(kMail)), contacts);
    mail->setObjectName(QStringLiteral("lnk_email"));
    const struct {
        const char* caption;
        QLabel* value;
    } rows[] = {
        {"Phone", NewLabel(QString::fromUtf8(kPhone), contacts)},
        {"Fax", NewLabel(QString::fromUtf8(kFax), contacts)},
        {"Internet", web},
        {"E-mail", mail},
    };
    int row = 0;
    for (const auto& entry : rows) {
        QFont font = entry.value->font();
        font.setPixelSize(13);
        entry.value->setFont(font);
        grid->addWidget(NewLabel(QString::fromLatin1(entry.caption), contacts), row, 0);
        grid->addWidget(entry.value, row, 1);
        ++row;
    }
    column->addWidget(contacts, 0, Qt::AlignHCenter);
    column->addStretch(1);

    logo1_->lower();
    mdi_->viewport()->installEventFilter(this);
    PlaceLogo();
}

// ---- creation handler ----

void TZRN_main::FormCreate() {
    // Reads the language file silently, then the unit file, and notifies: the first
    // notification gives the window and the actions their captions.
    taalComponent_->SetTaalDirectory("taal");
    BuildLanguageMenu();
    lang::TaalNotify(*taalComponent_);
    std::error_code ignored;
    std::filesystem::create_directory(rtl::ExeDirectory() + "opslag", ignored);
}

void TZRN_main::TaalObserver1TaalChange(lang::ITaalSubject& subject) {
    setWindowTitle(TaalToQt(lang::TaalText(subject, "S_ZRN_CALCULATION_PROGRAM")));
    menuBar()->update();
}

void TZRN_main::BuildLanguageMenu() {
    // Reading the language list costs a whole catalogue; it goes again afterwards, also when
    // the list cannot be read.
    struct Release {
        TZRN_main* window;
        ~Release() { window->ReleaseOnderhoud(); }
    } release{this};

    ds::Table& talen = OnderhoudData().Talen();
    talen.first();
    const ds::Field& taal = talen.fieldByName("Taal");
    const ds::Field& display = talen.fieldByName("Display");
    for (; !talen.eof(); talen.next()) {
        auto* action = new TChangeTaalAction(actionList1_);
        action->setText(QString::fromStdString(TextOf(display)));
        action->SetTaal(TextOf(taal));
        action->SetTaalComponent(taalComponent_.get());
        action->SetGroupIndex(2, actionList1_);
        mnuTaal_->addAction(action);
    }
}

common::Tdm_onderhoud& TZRN_main::OnderhoudData() {
    if (auto* maintenance = dynamic_cast<MaintenanceWindow*>(OnderhoudWindow()))
        return maintenance->OnderhoudData();
    if (!onderhoudData_)
        onderhoudData_ = std::make_unique<common::Tdm_onderhoud>();
    return *onderhoudData_;
}

void TZRN_main::ReleaseOnderhoud() {
    if (QWidget* window = windows_[Slot(TModule::Onderhoud)])
        window->deleteLater();
    onderhoudData_.reset();
}

// ---- module windows ----

QAction* TZRN_main::ModuleAction(TModule module) const {
    return moduleActions_[Slot(module)];
}

QToolButton* TZRN_main::ModuleButton(TModule module) const {
    return moduleButtons_[Slot(module)];
}

QWidget* TZRN_main::ExistingWindow(TModule module) const {
    return windows_[Slot(module)];
}

QWidget* TZRN_main::ModuleWindowOf(TModule module) {
    if (QWidget* window = windows_[Slot(module)])
        return window;
    const ModuleFactory& factory = ModuleFactoryOf(module);
    if (!factory)
        return nullptr;
    QWidget* window = factory(*this);
    if (!window)
        return nullptr;
    // Owned by the main window and kept out of sight until it is launched.
    if (window->parentWidget() != this || window->isWindow())
        window->setParent(this, Qt::Widget);
    window->hide();
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows_[Slot(module)] = window;
    connect(window, &QObject::destroyed, this,
            [this, module](QObject* gone) { WindowDestroyed(module, gone); });
    if (module != TModule::Onderhoud) {
        if (auto* input = dynamic_cast<ModuleWindow*>(window)) {
            input->SetTaalComponent(taalComponent_.get());
            input->SetProjectDirectory(rtl::ExeDirectory() + "opslag");
            input->SetImages(imgMain_);
        }
    }
    return window;
}

void TZRN_main::ShowModuleWindow(TModule module, QWidget* window) {
    if (!window)
        return;
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!sub || sub->mdiArea() != mdi_) {
        sub = new QMdiSubWindow;
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWidget(window);
        sub->setWindowIcon(moduleActions_[Slot(module)]->icon());
        mdi_->addSubWindow(sub);
        if (QMenuBar* own = OwnMenuBar(window))
            own->hide();
        // A window that frees itself takes its frame with it.
        connect(window, &QObject::destroyed, sub, &QObject::deleteLater);
        connect(sub, &QObject::destroyed, this, [this] { ScheduleMenuMerge(); });
    }
    window->show();
    sub->show();
    sub->raise();
    mdi_->setActiveSubWindow(sub);
    ScheduleMenuMerge();
}

void TZRN_main::LaunchModule(TModule module) {
    toolbar_->hide();
    logo1_->hide();
    if (module != TModule::Onderhoud) {
        // The dialog goes again whatever happens; its result does not matter: the module
        // opens after OK.
        auto dialog = std::make_unique<TfrmWarrenty>(taalComponent_.get());
        lang::TaalNotify(*taalComponent_);
        dialog->setWindowTitle(TaalToQt(lang::TaalText(*taalComponent_, "S_WARNING")));
        dialog->exec();
    }
    ShowModuleWindow(module, ModuleWindowOf(module));
}

void TZRN_main::WindowDestroyed(TModule module, QObject* window) {
    if (closing_ || windows_[Slot(module)] != window)
        return;
    windows_[Slot(module)] = nullptr;
    logo1_->show();
    toolbar_->show();
    PlaceLogo();
    ScheduleMenuMerge();
}

// ---- layout and menus ----

void TZRN_main::PlaceLogo() {
    // Not anchored: the panel keeps its relative place (the middle) when the area changes.
    const QSize area = mdi_->viewport()->size();
    const int x = std::max(0, (area.width() - logo1_->width()) / 2);
    const int y = std::max(0, (area.height() - logo1_->height()) / 2);
    logo1_->move(x, y);
    logo1_->lower();
}

bool TZRN_main::eventFilter(QObject* watched, QEvent* event) {
    if (logo1_ && watched == mdi_->viewport() && event->type() == QEvent::Resize)
        PlaceLogo();
    return QMainWindow::eventFilter(watched, event);
}

void TZRN_main::ScheduleMenuMerge() {
    // After the event that caused it: windows that are being destroyed are gone by then.
    if (mergePending_ || closing_)
        return;
    mergePending_ = true;
    QTimer::singleShot(0, this, [this] { MergeMenus(); });
}

void TZRN_main::MergeMenus() {
    mergePending_ = false;
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    // A dialog over the frame deactivates the child without another one taking its place.
    if (!sub && lastActive_ && lastActive_->isVisible())
        sub = lastActive_;
    lastActive_ = sub;

    QList<QAction*> menus;
    if (sub && sub->widget()) {
        if (QMenuBar* own = OwnMenuBar(sub->widget())) {
            own->hide();
            menus = own->actions();
        }
    }
    if (menus.isEmpty())
        menus = {actFile_};
    menus << actMnuTaal_ << actMnuEenheid_;
    if (menuBar()->actions() == menus)
        return;
    const auto current = menuBar()->actions();
    for (QAction* action : current)
        menuBar()->removeAction(action);
    menuBar()->addActions(menus);
}

} // namespace zrn::ui
