#pragma once

#include <string>

namespace zrn::lang {
class TTaalComponent;
}
namespace zrn::common {
class Tdm_onderhoud;
}

namespace zrn::ui {

class ImageList;

//! What the main window hands a module's input window right after creating it, in this
//! order: the language service, the project directory (the program's folder followed by
//! "opslag") and the shared image list. A module's input window implements it.
//!
//! Menus: a module window's own menu bar is never shown in the window itself; while the
//! window is the active child of the main window, its menus take the place of File in the
//! main window's menu bar (Language and Size stay at the end).
class ModuleWindow {
public:
    virtual ~ModuleWindow() = default;

    //! Binds the window (and its data module) to the language service.
    virtual void SetTaalComponent(lang::TTaalComponent* service) = 0;
    //! The folder where projects are opened and saved.
    virtual void SetProjectDirectory(const std::string& directory) = 0;
    //! The glyphs of the window's actions (the main window's `img_main`).
    virtual void SetImages(const ImageList& images) = 0;
};

//! The maintenance window: offers its table catalogue, created on first use with the data
//! directory "data" and the language directory "taal" beside the program. The main window
//! reads the language list from it at start-up.
class MaintenanceWindow {
public:
    virtual ~MaintenanceWindow() = default;

    //! The window's table catalogue (`OnderhoudData`).
    virtual common::Tdm_onderhoud& OnderhoudData() = 0;
};

} // namespace zrn::ui
