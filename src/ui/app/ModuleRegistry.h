#pragma once

#include <functional>

class QWidget;

namespace zrn::ui {

class TZRN_main;

//! The windows the main window launches.
enum class TModule {
    Belt,     //!< the belt input window (`TMat_Invoer`)
    Chain,    //!< the chain input window (`TFrm_Ket_Invoer`)
    Flexbelt, //!< the flexbelt input window (`Tfrm_flex_mat_inv`)
    Onderhoud //!< the maintenance window (`Tfrm_onderhoud`)
};

//! Makes a module's window for the main window. The window it returns belongs to the main
//! window from then on; a window that implements ModuleWindow or MaintenanceWindow gets
//! what those interfaces promise.
using ModuleFactory = std::function<QWidget*(TZRN_main& main)>;

//! Sets the factory of a module's window (an empty one: none) and returns the previous one.
//! A main window created while a module has no factory disables that module's action.
ModuleFactory SetModuleFactory(TModule module, ModuleFactory factory);

//! The factory of a module's window (empty when none was registered).
const ModuleFactory& ModuleFactoryOf(TModule module);

//! A file-scope object of this type registers a module's window: each module's window file
//! holds one, so the main window knows nothing of the modules it launches.
struct RegisterModule {
    RegisterModule(TModule module, ModuleFactory factory) {
        SetModuleFactory(module, std::move(factory));
    }
};

} // namespace zrn::ui
