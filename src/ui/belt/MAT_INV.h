#pragma once

#include "lang/TaalObserver.h"
#include "ui/app/ModuleWindow.h"
#include "ui/common/FieldLink.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCloseEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QShowEvent;
class QToolBar;
class QWidget;

namespace zrn::belt {
class Tdm_mat;
}
namespace zrn::ds {
class Field;
class Table;
} // namespace zrn::ds

namespace zrn::ui {

class TDBCheckBox;
class TDBEdit;
class TDBLookupComboBox;
class TDBText;
class TMat_uitvoer;
class TMatZoneGrid;
class TTaalAction;
class TTaalLabel;

//! The belt input window: the user describes a belt conveyor in it. Every control is bound
//! to a field of the input record of the window's own data module (or to its layout rows), so
//! each entry goes straight into the record, where the field rules and the calculation react.
//! The window loads and saves projects, resets or clears the input and opens the results.
//!
//! What always holds: the window owns its data module and, from the first Results on, its
//! results window; closing the window destroys both. Its own menu bar is never shown inside
//! it: in the main window its menus take the place of File while it is the active child.
//! The window holds no calculation: rules and results live in the data module.
class TMat_Invoer : public QMainWindow, public ModuleWindow {
    Q_OBJECT
public:
    //! Builds the window, creates its data module on the data directory "data" beside the
    //! program and binds every control. A data directory that cannot be read is shown in a
    //! message box; the window then shows an empty form.
    explicit TMat_Invoer(QWidget* parent = nullptr);
    ~TMat_Invoer() override;

    // ---- what the main window hands over ----

    void SetTaalComponent(lang::TTaalComponent* service) override;
    void SetProjectDirectory(const std::string& directory) override;
    void SetImages(const ImageList& images) override;

    //! The language service in use, or null.
    lang::TTaalComponent* TaalComponent() const { return TaalObserver.TaalComponent(); }
    //! The folder the project dialogs were given.
    const std::string& ProjectDirectory() const { return projectDirectory_; }

    // ---- the data module and the results window ----

    //! The window's data module.
    belt::Tdm_mat& DataModule() { return *dm_; }
    //! The results window, created and wired on first use.
    TMat_uitvoer& ResultsWindow();
    //! The results window if it exists, else null.
    TMat_uitvoer* ExistingResultsWindow() const { return results_; }

    //! The current project file (full path); empty after Reset All.
    const QString& ProjectFile() const { return projectFile_; }

    // ---- commands ----

    //! Load: asks for a project file and loads it.
    void act_file_loadExecute();
    //! Save: to the current project file, or as Save As when there is none.
    void act_file_saveExecute();
    //! Save As: asks for a file, saves and makes it the current project file.
    void act_file_save_asExecute();
    //! Clear zones: empties the lengths and temperatures of every zone.
    void act_clear_zonesExecute();
    //! Reset All: the template's values again, and no current project file.
    void act_reset_allExecute();
    //! Results: shows the results window, or points at the first input still missing.
    void act_resultsExecute();

    //! Loads a project file as Load does after its dialog. False when it failed (the
    //! message has been shown).
    bool LoadProjectFile(const QString& fileName);
    //! Saves the project to a file as Save As does after its dialog. False when it failed.
    bool SaveProjectFile(const QString& fileName);

    // ---- components ----

    lang::TTaalObserver TaalObserver; //!< relabels the caption and the group headings

    TDBEdit* Edit1 = nullptr;                   //!< project
    TDBLookupComboBox* cbx_mat = nullptr;       //!< belt type
    TDBEdit* Edit2 = nullptr;                   //!< conveyor length
    TDBEdit* Edit3 = nullptr;                   //!< belt width
    TDBLookupComboBox* cbx_product = nullptr;   //!< product material
    QWidget* pnl_frc_prod = nullptr;            //!< typed product friction, unlisted material
    TDBEdit* edt_frc_prod = nullptr;            //!< product-to-belt friction
    TDBEdit* edt_load = nullptr;                //!< product load
    TDBEdit* edt_weight = nullptr;              //!< product weight
    TDBEdit* edt_diameter = nullptr;            //!< product diameter
    TDBEdit* Edit7 = nullptr;                   //!< occupation
    TDBLookupComboBox* cbx_support = nullptr;   //!< type of support
    TDBLookupComboBox* cbx_geleiding = nullptr; //!< wearstrip material
    TDBEdit* Edit13 = nullptr;                  //!< products per hour
    TDBEdit* Edit8 = nullptr;                   //!< belt speed
    TDBLookupComboBox* cbx_smering = nullptr;   //!< lubrication
    TDBEdit* Edit9 = nullptr;                   //!< accumulation
    TDBEdit* Edit10 = nullptr;                  //!< height difference
    TDBEdit* Edit11 = nullptr;                  //!< number of temperature zones
    TDBLookupComboBox* cbx_tandwiel = nullptr;  //!< sprocket size
    TDBLookupComboBox* cbx_boring = nullptr;    //!< bore (shaft diameter)
    TDBEdit* Edit12 = nullptr;                  //!< shaft length
    TDBCheckBox* chk_centerdrive = nullptr;     //!< centre drive
    TDBText* txt_centerdrive = nullptr;         //!< the centre drive in words
    QWidget* pnl_frc_geleiding = nullptr;       //!< typed wearstrip friction, unlisted material
    TDBEdit* edt_frc_geleiding = nullptr;       //!< belt-to-wearstrip friction
    TMatZoneGrid* grd_zones = nullptr;          //!< the temperature zones
    TDBText* txt_invoerwarning = nullptr;       //!< why the zones block the calculation

    QGroupBox* grp_belt = nullptr;     //!< "S_BELT_SPECIFICATION"
    QGroupBox* grp_product = nullptr;  //!< "S_PRODUCT_SPECIFICATION"
    QGroupBox* grp_conveyor = nullptr; //!< "S_CONVEYOR_SPECIFICATION"
    QGroupBox* grp_zones = nullptr;    //!< "S_TEMPERATURE_ZONES"

    TTaalAction* act_file = nullptr;             //!< the File menu
    TTaalAction* act_clear = nullptr;            //!< the Clear menu
    TTaalAction* act_file_load = nullptr;        //!< Load
    TTaalAction* act_file_save = nullptr;        //!< Save
    TTaalAction* act_file_save_as = nullptr;     //!< Save As
    TTaalAction* act_file_close = nullptr;       //!< Close
    TTaalAction* act_clear_zones = nullptr;      //!< Clear zones
    TTaalAction* act_reset_all = nullptr;        //!< Reset All
    TTaalAction* act_results = nullptr;          //!< Results (toolbar)
    TTaalAction* act_results_no_image = nullptr; //!< Results (menu bar item)
    QToolBar* ToolBar1 = nullptr;                //!< the window's toolbar

    //! Replaces the question asked when a window with unsaved input closes (for tests): it
    //! gets the window and the question and answers Save, Discard or Cancel. Empty: a
    //! message box asks.
    static std::function<QMessageBox::StandardButton(TMat_Invoer&, const QString&)>&
    SaveQuestionHook();

    //! The language labels of the form, in creation order (captions and unit labels).
    const std::vector<TTaalLabel*>& Labels() const { return labels_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    //! Reacts to single field changes of the input record: the friction panels and the
    //! load/weight pair.
    class RecordWatcher;

    void BuildActions();
    void BuildMenus();
    void BuildForm();
    QWidget* BuildBeltGroup();
    QWidget* BuildProductGroup();
    QWidget* BuildConveyorGroup();
    QWidget* BuildZonesGroup();
    void SetTabOrder();
    void BindControls();
    void FormCreate();

    void TaalObserverTaalChange(lang::ITaalSubject& subject);
    void UpdateCaption();

    void MaterialChanged(const std::string& fieldName);
    void LoadChanged();
    void SyncFrictionPanels();
    bool IsOtherMaterial(const std::string& fieldName) const;
    QWidget* FrictionPanel(const std::string& fieldName) const;
    TDBEdit* FrictionEdit(const std::string& fieldName) const;

    void WireResultsWindow(TMat_uitvoer& results);
    void PlaceResultsWindow();
    QString ProjectDialogDirectory() const;
    void TakeSnapshot();
    bool InputChangedSinceSnapshot() const;
    bool MaySaveBeforeClose();

    std::unique_ptr<belt::Tdm_mat> dm_;
    std::unique_ptr<RecordWatcher> watcher_;
    QPointer<TMat_uitvoer> results_;
    const ImageList* images_ = nullptr;
    std::string projectDirectory_;
    QString projectFile_;
    std::vector<TTaalLabel*> labels_;
    std::vector<std::string> snapshot_;
    bool placed_ = false;
};

} // namespace zrn::ui
