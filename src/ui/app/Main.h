#pragma once

#include "lang/TaalObserver.h"
#include "ui/app/ImageList.h"
#include "ui/app/ModuleRegistry.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QFrame;
class QGroupBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolButton;

namespace zrn::lang {
class TTaalComponent;
}
namespace zrn::common {
class Tdm_onderhoud;
}

namespace zrn::ui {

class TTaalAction;
class TChangeEenheidAction;

//! The frame of the program: a multiple-document window that owns the one language and unit
//! service and the shared image lists, shows the maker's logo panel and the module toolbar,
//! fills the Language menu from the language list, and launches the calculation modules
//! (each after the warning dialog) and the maintenance module.
//!
//! What always holds: each module's window exists at most once; the main window owns it and
//! forgets it when it is destroyed, and then shows the logo panel and the toolbar again. A
//! module without a registered window has its action disabled. While a module window is the
//! active child, its own menus stand in the menu bar in place of File; Language and Size
//! always stay at the end.
class TZRN_main : public QMainWindow {
    Q_OBJECT
public:
    //! Builds the window from its design, then runs the creation handler: an error there is
    //! shown in a message box, the remaining steps are skipped and the window still opens.
    explicit TZRN_main(QWidget* parent = nullptr);
    ~TZRN_main() override;

    // ---- components ----

    //! The language and unit service of the whole program.
    lang::TTaalComponent& TaalComponent() const { return *taalComponent_; }
    //! The observer that relabels the window caption.
    lang::TTaalObserver& TaalObserver1() { return taalObserver1_; }
    //! The glyphs of the menu and window actions, shared with every module window.
    const ImageList& img_main() const { return imgMain_; }
    //! The glyphs of the three modules.
    const ImageList& img_modules() const { return imgModules_; }
    //! The panel with the module buttons.
    QFrame* Toolbar() const { return toolbar_; }
    //! The logo panel with the product and contact labels.
    QGroupBox* Logo1() const { return logo1_; }
    //! The area the module windows live in.
    QMdiArea* mdiArea() const { return mdi_; }
    //! The Language menu; one item per language of the language list.
    QMenu* mnu_taal() const { return mnuTaal_; }
    //! The action list holding the menu actions and the radio groups of the switch actions.
    QObject* ActionList1() const { return actionList1_; }

    TTaalAction* act_file() const { return actFile_; }              //!< the File menu
    TTaalAction* act_file_quit() const { return actFileQuit_; }     //!< File, Quit
    TTaalAction* act_mnu_taal() const { return actMnuTaal_; }       //!< the Language menu
    TTaalAction* act_mnu_eenheid() const { return actMnuEenheid_; } //!< the Size menu
    //! Size, Metrisch.
    TChangeEenheidAction* act_eenheid_metrisch() const { return actMetrisch_; }
    //! Size, Imperial.
    TChangeEenheidAction* act_eenheid_imperial() const { return actImperial_; }
    //! The launch action of a module (`act_mat`, `act_ketting`, `act_flexmat`,
    //! `act_onderhoud`).
    QAction* ModuleAction(TModule module) const;
    //! The toolbar button of a module.
    QToolButton* ModuleButton(TModule module) const;

    // ---- module windows ----

    //! The belt input window, created on first use (null when no belt window is registered).
    QWidget* MatInvoer() { return ModuleWindowOf(TModule::Belt); }
    //! The chain input window, created on first use.
    QWidget* KettingInvoer() { return ModuleWindowOf(TModule::Chain); }
    //! The flexbelt input window, created on first use.
    QWidget* FlexmatInvoer() { return ModuleWindowOf(TModule::Flexbelt); }
    //! The maintenance window, created on first use and not shown.
    QWidget* OnderhoudWindow() { return ModuleWindowOf(TModule::Onderhoud); }
    //! The window of a module as it is now, without creating it (null when there is none).
    QWidget* ExistingWindow(TModule module) const;

    //! The table catalogue of the maintenance window. Until a maintenance window is
    //! registered, the main window keeps a catalogue of its own for this (read from "data"
    //! and "taal" beside the program); it goes with the maintenance window's release.
    common::Tdm_onderhoud& OnderhoudData();

    //! Appends one language switch action per row of the language list to the Language
    //! menu, then releases the maintenance window (and its catalogue) again.
    void BuildLanguageMenu();

    //! Module launch: hides the toolbar and the logo panel, shows the warning dialog, then
    //! shows the module's input window (created on first use, brought to the front
    //! otherwise). The maintenance module opens without the warning.
    void LaunchModule(TModule module);

    //! Called for every main window right after its design is loaded and before its
    //! creation handler runs (start-up diagnostics and tests watch the start-up with it).
    static std::function<void(TZRN_main&)>& DesignLoadedHook();

private:
    void LoadDesign();
    void BuildMenus();
    void BuildToolbar();
    void BuildLogo();
    void FormCreate();
    void TaalObserver1TaalChange(lang::ITaalSubject& subject);

    QWidget* ModuleWindowOf(TModule module);
    void ShowModuleWindow(TModule module, QWidget* window);
    void WindowDestroyed(TModule module, QObject* window);
    void ReleaseOnderhoud();
    void PlaceLogo();
    void ScheduleMenuMerge();
    void MergeMenus();

    bool eventFilter(QObject* watched, QEvent* event) override;

    std::unique_ptr<lang::TTaalComponent> taalComponent_;
    lang::TTaalObserver taalObserver1_;
    ImageList imgMain_;
    ImageList imgModules_;

    QObject* actionList1_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QFrame* toolbar_ = nullptr;
    QGroupBox* logo1_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuTaal_ = nullptr;
    QMenu* mnuEenheid_ = nullptr;
    TTaalAction* actFile_ = nullptr;
    TTaalAction* actFileQuit_ = nullptr;
    TTaalAction* actMnuTaal_ = nullptr;
    TTaalAction* actMnuEenheid_ = nullptr;
    TChangeEenheidAction* actMetrisch_ = nullptr;
    TChangeEenheidAction* actImperial_ = nullptr;
    std::array<QAction*, 4> moduleActions_{};
    std::array<QToolButton*, 4> moduleButtons_{};

    std::array<QWidget*, 4> windows_{};
    std::unique_ptr<common::Tdm_onderhoud> onderhoudData_;
    QPointer<QMdiSubWindow> lastActive_;
    bool mergePending_ = false;
    bool closing_ = false;
};

} // namespace zrn::ui
