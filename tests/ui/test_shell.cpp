#include "test_shell_support.h"

#include "common/d_onderhoud.h"
#include "ui/app/ImageList.h"
#include "ui/app/LocaleFormat.h"
#include "ui/app/Main.h"
#include "ui/app/ModuleWindow.h"
#include "ui/app/Warrenty.h"
#include "ui/lang/ChangeEenheidAction.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalLabel.h"

#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLocale>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace zrn::ui::test {
namespace {

const TModule kAllModules[] = {TModule::Belt, TModule::Chain, TModule::Flexbelt,
                               TModule::Onderhoud};

//! An input window as the modules build them: a main window with its own menu bar. It
//! writes down what the main window hands it.
class FakeInputWindow : public QMainWindow, public ModuleWindow {
public:
    FakeInputWindow(QStringList& log, const QString& menu) : log_(log) {
        menuBar()->addMenu(menu)->addAction(QStringLiteral("Entry"));
    }
    void SetTaalComponent(lang::TTaalComponent*) override { log_ << "SetTaalComponent"; }
    void SetProjectDirectory(const std::string& directory) override {
        log_ << "SetProjectDirectory " + QString::fromStdString(directory);
    }
    void SetImages(const ImageList& images) override {
        log_ << QStringLiteral("SetImages %1").arg(images.glyphSize().width());
    }

private:
    QStringList& log_;
};

//! A maintenance window that offers a catalogue of the program folder.
class FakeMaintenanceWindow : public QWidget, public MaintenanceWindow {
public:
    common::Tdm_onderhoud& OnderhoudData() override {
        if (!data_)
            data_ = std::make_unique<common::Tdm_onderhoud>();
        return *data_;
    }

private:
    std::unique_ptr<common::Tdm_onderhoud> data_;
};

//! Attaches an observer to the service of the next main window as soon as its design is
//! loaded, and notes at each notification how far the start-up has come.
class StartupWatch {
public:
    struct Moment {
        int languageItems;
        bool opslag;
        QString title;
    };

    explicit StartupWatch(const ProgramFolder& folder) {
        TZRN_main::DesignLoadedHook() = [this, &folder](TZRN_main& window) {
            observer_.OnTaalChange = [this, &folder, &window](lang::TTaalObserver&,
                                                              lang::ITaalSubject&) {
                moments << Moment{static_cast<int>(window.mnu_taal()->actions().size()),
                                  folder.hasDirectory("opslag"), window.windowTitle()};
            };
            observer_.SetTaalComponent(&window.TaalComponent());
        };
    }
    ~StartupWatch() { TZRN_main::DesignLoadedHook() = nullptr; }

    QList<Moment> moments;

private:
    lang::TTaalObserver observer_;
};

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* action : actions)
        captions << action->text();
    return captions;
}

QList<bool> Checks(const QList<QAction*>& actions) {
    QList<bool> checks;
    for (const QAction* action : actions)
        checks << action->isChecked();
    return checks;
}

//! True when the image has a pixel that is not fully transparent.
bool HasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

//! A main window on the "program" fixture, no module registered unless a test says so.
class MainWindowTest : public ShellTest {
protected:
    ProgramFolder folder{"program"};
    ModalAnswerer answerer;
    FactoryGuard noBelt{TModule::Belt, {}};
    FactoryGuard noChain{TModule::Chain, {}};
    FactoryGuard noFlexbelt{TModule::Flexbelt, {}};
    FactoryGuard noOnderhoud{TModule::Onderhoud, {}};
};

TEST_F(MainWindowTest, StartUpReadsTheLanguageThenBuildsTheMenuThenNotifiesAgain) {
    StartupWatch watch(folder);
    TZRN_main window;

    // Attached after the design: told once at once, then by the unit file (3.1) and once
    // more after the language menu was built (3.3); "opslag" comes last.
    ASSERT_EQ(watch.moments.size(), 3);
    EXPECT_EQ(watch.moments[0].languageItems, 0);
    EXPECT_EQ(watch.moments[0].title, "ZRN Calculation Program");
    EXPECT_EQ(watch.moments[1].languageItems, 0);
    EXPECT_EQ(watch.moments[1].title, "Fixture Program");
    EXPECT_EQ(watch.moments[2].languageItems, 3);
    for (const auto& moment : watch.moments)
        EXPECT_FALSE(moment.opslag);
    EXPECT_TRUE(folder.hasDirectory("opslag"));
    EXPECT_TRUE(answerer.seen.isEmpty());

    EXPECT_EQ(window.TaalComponent().TaalDirectory(), folder.path() + "taal/");
    EXPECT_EQ(window.windowTitle(), "Fixture Program");
    EXPECT_EQ(Captions(window.menuBar()->actions()), QStringList({"&File", "&Language", "&Size"}));
    EXPECT_EQ(window.act_file_quit()->text(), "&Quit");
    EXPECT_EQ(window.act_file_quit()->toolTip(), "Quit");
}

TEST_F(MainWindowTest, OpslagThatExistsIsLeftAlone) {
    QDir(QString::fromStdString(folder.path())).mkdir("opslag");
    QFile marker(QString::fromStdString(folder.path() + "opslag/project.MAT"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    TZRN_main window;
    EXPECT_TRUE(marker.exists());
}

TEST_F(MainWindowTest, LanguageMenuHasOneItemPerListRowAndFollowsTheChoice) {
    TZRN_main window;
    const QList<QAction*> items = window.mnu_taal()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(Captions(items), QStringList({"English", "Nederlands", "Deutsch"}));
    EXPECT_EQ(Checks(items), QList<bool>({true, false, false}));

    items[1]->trigger();
    EXPECT_EQ(window.TaalComponent().Taal(), "nederlands");
    EXPECT_EQ(window.windowTitle(), "Proefprogramma");
    EXPECT_EQ(Captions(window.menuBar()->actions()),
              QStringList({"&Bestand", "&Taal", "&Eenheden"}));
    EXPECT_EQ(window.act_file()->toolTip(), "Bestand");
    EXPECT_EQ(Checks(items), QList<bool>({false, true, false}));
    // Language and unit items keep their own captions in every language.
    EXPECT_EQ(Captions(items), QStringList({"English", "Nederlands", "Deutsch"}));
    EXPECT_EQ(window.act_eenheid_metrisch()->text(), "&Metrisch");
    EXPECT_EQ(window.act_eenheid_imperial()->text(), "&Imperial");

    // A language without a file: chosen, but the texts stay.
    items[2]->trigger();
    EXPECT_EQ(window.TaalComponent().Taal(), "duits");
    EXPECT_EQ(window.windowTitle(), "Proefprogramma");
    EXPECT_EQ(Checks(items), QList<bool>({false, false, true}));

    // The current language chosen again stays checked.
    items[0]->trigger();
    items[0]->trigger();
    EXPECT_EQ(window.windowTitle(), "Fixture Program");
    EXPECT_EQ(Checks(items), QList<bool>({true, false, false}));
}

TEST_F(MainWindowTest, SizeItemsAreOneRadioGroup) {
    TZRN_main window;
    TChangeEenheidAction* metric = window.act_eenheid_metrisch();
    TChangeEenheidAction* imperial = window.act_eenheid_imperial();
    EXPECT_TRUE(metric->isChecked());
    EXPECT_FALSE(imperial->isChecked());

    imperial->trigger();
    EXPECT_EQ(window.TaalComponent().Eenheid(), lang::ehImperial);
    EXPECT_FALSE(metric->isChecked());
    EXPECT_TRUE(imperial->isChecked());
    imperial->trigger();
    EXPECT_TRUE(imperial->isChecked());
    // The language group is a group of its own.
    EXPECT_TRUE(window.mnu_taal()->actions()[0]->isChecked());

    metric->trigger();
    EXPECT_EQ(window.TaalComponent().Eenheid(), lang::ehMetrisch);
    EXPECT_TRUE(metric->isChecked());
    EXPECT_FALSE(imperial->isChecked());
}

TEST_F(MainWindowTest, DesignedLayout) {
    TZRN_main window;
    window.show();
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_EQ(window.Toolbar()->height(), 49);
    EXPECT_EQ(window.Logo1()->size(), QSize(593, 458));
    const struct {
        TModule module;
        QRect geometry;
        const char* hint;
    } buttons[] = {
        {TModule::Belt, QRect(8, 8, 30, 30), "Belt"},
        {TModule::Chain, QRect(48, 8, 30, 30), "Chain"},
        {TModule::Flexbelt, QRect(88, 8, 30, 30), "Flexbelt"},
    };
    for (const auto& button : buttons) {
        EXPECT_EQ(window.ModuleButton(button.module)->geometry(), button.geometry);
        EXPECT_TRUE(window.ModuleButton(button.module)->isVisible());
        EXPECT_EQ(window.ModuleAction(button.module)->toolTip(), button.hint);
    }
    EXPECT_FALSE(window.ModuleButton(TModule::Onderhoud)->isVisible());
}

TEST_F(MainWindowTest, LogoKeepsItsPlaceInTheMiddle) {
    TZRN_main window;
    window.show();
    for (const QSize size : {QSize(800, 600), QSize(1280, 960), QSize(1000, 700)}) {
        window.resize(size);
        QCoreApplication::processEvents();
        const QRect area = window.mdiArea()->viewport()->rect();
        const QPoint offset = window.Logo1()->geometry().center() - area.center();
        EXPECT_LE(std::abs(offset.x()), 1) << size.width();
        EXPECT_LE(std::abs(offset.y()), 1) << size.width();
    }
    window.resize(500, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.Logo1()->pos(), QPoint(0, 0));
}

TEST_F(MainWindowTest, ModulesWithoutAWindowCannotStart) {
    TZRN_main window;
    for (TModule module : kAllModules) {
        EXPECT_FALSE(window.ModuleAction(module)->isEnabled());
        EXPECT_EQ(window.ExistingWindow(module), nullptr);
    }
    EXPECT_EQ(window.MatInvoer(), nullptr);
}

//! Main windows with a belt and a chain input window registered.
class ModuleLaunchTest : public MainWindowTest {
protected:
    QWidget* Launch(TModule module) {
        window->ModuleAction(module)->trigger();
        ProcessEvents();
        return window->ExistingWindow(module);
    }
    QStringList MenuTitles() const { return Captions(window->menuBar()->actions()); }

    QStringList log;
    int created = 0;
    FactoryGuard belt{TModule::Belt, [this](TZRN_main&) {
                          ++created;
                          return new FakeInputWindow(log, "&Invoer");
                      }};
    FactoryGuard chain{TModule::Chain, [this](TZRN_main&) {
                           ++created;
                           return new FakeInputWindow(log, "&Ketting");
                       }};
    std::unique_ptr<TZRN_main> window = [] {
        auto main = std::make_unique<TZRN_main>();
        main->show();
        return main;
    }();
};

TEST_F(ModuleLaunchTest, LaunchShowsTheWarningThenTheInputWindow) {
    EXPECT_TRUE(window->ModuleAction(TModule::Belt)->isEnabled());
    EXPECT_FALSE(window->ModuleAction(TModule::Flexbelt)->isEnabled());

    QWidget* belt = Launch(TModule::Belt);
    ASSERT_EQ(answerer.seen.size(), 1);
    EXPECT_EQ(answerer.seen[0].title, "Warning");
    EXPECT_EQ(answerer.seen[0].text, "Take care!\nSecond line.");
    EXPECT_EQ(answerer.seen[0].window, nullptr) << "the dialog is freed";
    ASSERT_NE(belt, nullptr);
    EXPECT_EQ(
        log, QStringList({"SetTaalComponent",
                          "SetProjectDirectory " + QString::fromStdString(folder.path()) + "opslag",
                          "SetImages 17"}));
    EXPECT_TRUE(belt->isVisible());
    EXPECT_FALSE(window->Toolbar()->isVisible());
    EXPECT_FALSE(window->Logo1()->isVisible());

    // Launched again: the warning again, then the same window in front.
    QWidget* chain = Launch(TModule::Chain);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), chain);
    EXPECT_EQ(Launch(TModule::Belt), belt);
    EXPECT_EQ(answerer.seen.size(), 3);
    EXPECT_EQ(created, 2);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), belt);
}

TEST_F(ModuleLaunchTest, WarningFollowsTheCurrentLanguage) {
    window->mnu_taal()->actions()[1]->trigger();
    Launch(TModule::Belt);
    ASSERT_EQ(answerer.seen.size(), 1);
    EXPECT_EQ(answerer.seen[0].title, "Waarschuwing");
    EXPECT_EQ(answerer.seen[0].text, "Pas op!\nTweede regel.");
}

TEST_F(ModuleLaunchTest, ClosingOneModuleWindowShowsLogoAndToolbarAgain) {
    QWidget* belt = Launch(TModule::Belt);
    QWidget* chain = Launch(TModule::Chain);
    ASSERT_TRUE(belt && chain);
    EXPECT_FALSE(window->Logo1()->isVisible());

    qobject_cast<QMdiSubWindow*>(belt->parentWidget())->close();
    ProcessEvents();
    EXPECT_EQ(window->ExistingWindow(TModule::Belt), nullptr);
    EXPECT_EQ(window->ExistingWindow(TModule::Chain), chain);
    EXPECT_TRUE(window->Logo1()->isVisible());
    EXPECT_TRUE(window->Toolbar()->isVisible());

    // A window that closes itself takes its frame with it; a later launch makes a new one.
    chain->close();
    ProcessEvents();
    EXPECT_EQ(window->ExistingWindow(TModule::Chain), nullptr);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_NE(Launch(TModule::Belt), nullptr);
    EXPECT_EQ(created, 3);
}

TEST_F(ModuleLaunchTest, ActiveModuleMenusTakeThePlaceOfFile) {
    QWidget* belt = Launch(TModule::Belt);
    EXPECT_EQ(MenuTitles(), QStringList({"&Invoer", "&Language", "&Size"}));
    EXPECT_FALSE(qobject_cast<QMainWindow*>(belt)->menuWidget()->isVisible());

    QWidget* chain = Launch(TModule::Chain);
    EXPECT_EQ(MenuTitles(), QStringList({"&Ketting", "&Language", "&Size"}));
    window->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(belt->parentWidget()));
    ProcessEvents();
    EXPECT_EQ(MenuTitles(), QStringList({"&Invoer", "&Language", "&Size"}));

    belt->close();
    chain->close();
    ProcessEvents();
    EXPECT_EQ(MenuTitles(), QStringList({"&File", "&Language", "&Size"}));
}

TEST_F(ModuleLaunchTest, ClosingTheMainWindowClosesTheModuleWindows) {
    QPointer<QWidget> belt = Launch(TModule::Belt);
    ASSERT_TRUE(belt);
    window.reset();
    EXPECT_TRUE(belt.isNull());
}

TEST_F(MainWindowTest, MaintenanceWindowReadsTheLanguageListAndGoesAgain) {
    int created = 0;
    FactoryGuard maintenance(TModule::Onderhoud, [&created](TZRN_main&) {
        ++created;
        return new FakeMaintenanceWindow;
    });
    TZRN_main window;
    window.show();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(window.mnu_taal()->actions().size(), 3);
    ProcessEvents();
    EXPECT_EQ(window.ExistingWindow(TModule::Onderhoud), nullptr);
    EXPECT_TRUE(window.Logo1()->isVisible());

    // Its launch opens it anew, without the warning.
    window.ModuleAction(TModule::Onderhoud)->trigger();
    ProcessEvents();
    EXPECT_EQ(created, 2);
    ASSERT_NE(window.ExistingWindow(TModule::Onderhoud), nullptr);
    EXPECT_TRUE(window.ExistingWindow(TModule::Onderhoud)->isVisible());
    EXPECT_TRUE(answerer.seen.isEmpty());
    EXPECT_FALSE(window.Toolbar()->isVisible());
}

TEST_F(ShellTest, MissingUnitFileStopsTheStartUpWithItsMessage) {
    ProgramFolder folder("no_units");
    ModalAnswerer answerer;
    StartupWatch watch(folder);
    TZRN_main window;
    ASSERT_EQ(answerer.seen.size(), 1);
    EXPECT_EQ(answerer.seen[0].text, "Taaldirectory niet gevonden");
    EXPECT_EQ(watch.moments.size(), 1) << "only the attach; no notification";
    EXPECT_TRUE(window.mnu_taal()->actions().isEmpty());
    EXPECT_FALSE(folder.hasDirectory("opslag"));
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "ZRN Calculation Program");
}

TEST_F(ShellTest, UnreadableLanguageListStopsTheStartUpAfterTheFirstNotification) {
    ProgramFolder folder("no_list");
    ModalAnswerer answerer;
    StartupWatch watch(folder);
    TZRN_main window;
    ASSERT_EQ(answerer.seen.size(), 1);
    EXPECT_TRUE(answerer.seen[0].text.contains("closed dataset"))
        << answerer.seen[0].text.toStdString();
    EXPECT_EQ(watch.moments.size(), 2);
    EXPECT_EQ(window.windowTitle(), "Fixture Program");
    EXPECT_TRUE(window.mnu_taal()->actions().isEmpty());
    EXPECT_FALSE(folder.hasDirectory("opslag"));
}

TEST_F(ShellTest, DeliveredLanguageDirectoryFillsTheMenu) {
    // The program's own folder: bin/ with the delivered taal/ and data/ beside it.
    ModalAnswerer answerer;
    FactoryGuard noOnderhoud(TModule::Onderhoud, {});
    TZRN_main window;
    EXPECT_TRUE(answerer.seen.isEmpty());
    EXPECT_EQ(Captions(window.mnu_taal()->actions()),
              QStringList({"English", "Nederlands", "Deutsch", "Français", "Italiano", "Español",
                           "Português"}));
    EXPECT_EQ(window.windowTitle(), "ZRN Calculation Program");
    window.mnu_taal()->actions()[2]->trigger();
    EXPECT_EQ(window.act_mnu_taal()->text(), "&Sprache");
}

TEST_F(ShellTest, WarningDialogClosesOnlyWithOk) {
    lang::TTaalComponent service;
    service.SetLoading(true);
    service.SetTaal("engels");
    service.SetLoading(false);
    service.SetTaalDirectory(ShellFixture("program/taal").toStdString());
    TfrmWarrenty dialog(&service);

    EXPECT_EQ(dialog.minimumSize(), QSize(443, 327));
    EXPECT_EQ(dialog.maximumSize(), QSize(443, 327));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.TaalLabel1()->text().count('\n'), 4) << "five designed lines";
    EXPECT_TRUE(dialog.TaalLabel1()->wordWrap());
    EXPECT_EQ(dialog.TaalLabel1()->font().pixelSize(), 16);
    EXPECT_EQ(dialog.TaalLabel1()->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(dialog.OkButton()->size(), QSize(75, 25));
    lang::TaalNotify(service);
    EXPECT_EQ(dialog.TaalLabel1()->text(), "Take care!\nSecond line.");

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    dialog.OkButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(ImageList, EveryGlyphIsDrawnAndOthersAreEmpty) {
    const struct {
        ImageList list;
        std::vector<int> indexes;
    } lists[] = {
        {ImageList::MainImages(), {0, 1, 5, 8, 10, 20, 28, 29, 30, 31, 32, 33, 35, 36}},
        {ImageList::ModuleImages(), {0, 1, 2}},
    };
    for (const auto& entry : lists) {
        for (int index : entry.indexes) {
            const QIcon icon = entry.list.icon(index);
            ASSERT_FALSE(icon.isNull()) << index;
            EXPECT_TRUE(HasInk(icon.pixmap(entry.list.glyphSize()).toImage())) << index;
            EXPECT_TRUE(HasInk(icon.pixmap(entry.list.glyphSize(), QIcon::Disabled).toImage()))
                << index;
        }
        EXPECT_TRUE(entry.list.icon(3).isNull());
    }
    EXPECT_TRUE(HasInk(QIcon(LogoResource()).pixmap(530, 267).toImage()));
}

TEST(LocaleFormat, SeparatorsAndShortDateComeFromTheLocale) {
    const rtl::NumberFormat saved = rtl::FormatSettings();
    const struct {
        QLocale locale;
        char decimal;
        char thousand;
    } cases[] = {
        {QLocale(QLocale::Dutch, QLocale::Netherlands), ',', '.'},
        {QLocale(QLocale::English, QLocale::UnitedStates), '.', ','},
        {QLocale(QLocale::French, QLocale::France), ',', ' '},
        {QLocale(QLocale::German, QLocale::Switzerland), '.', '\''},
    };
    for (const auto& c : cases) {
        ApplyLocaleNumberFormat(c.locale);
        EXPECT_EQ(rtl::FormatSettings().decimalSeparator, c.decimal)
            << c.locale.name().toStdString();
        EXPECT_EQ(rtl::FormatSettings().thousandSeparator, c.thousand)
            << c.locale.name().toStdString();
    }
    ApplyLocaleNumberFormat(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(rtl::FormatSettings().shortDateFormat, "dd.mm.yy");
    rtl::FormatSettings() = saved;
}

} // namespace
} // namespace zrn::ui::test
