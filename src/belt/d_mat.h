#pragma once

#include "belt/MatFormules.h"
#include "common/DataDirectory.h"
#include "dataset/Table.h"
#include "lang/MetricField.h"
#include "lang/TaalObserver.h"
#include "rtl/Error.h"

#include <string>

namespace zrn::lang {
class TTaalComponent;
}

namespace zrn::belt {

//! A calculation pass that could not go on: a speed without start-up factor, a zone
//! temperature without strength correction, an occupation of 0 with a throughput, a product
//! diameter of 0, no wheel spacing for the load, or a value that would not be a finite
//! number. The message is in the user's language. Results stored by the steps before the
//! stop keep their values, and the message is also written into `uit_warning`, so the
//! results window and the reports say that the figures are not a finished calculation.
class CalculationStopped : public Error {
public:
    using Error::Error;
};

//! The belt module's data: its reference tables, the one input and result record
//! `cds_invoer` of the project with its ten layout rows (`cds_invoer_zones`, temperature
//! zones) and ten load rows (`cds_load_zones`), the field rules that fire on single changes,
//! and the calculation that fills the result fields after every input change.
//!
//! What always holds:
//! - Quantities with a unit code are `lang::TMetricField`s and stored metric; the
//!   calculation reads and writes the metric value.
//! - The input record stays in edit mode (it is put back into edit after every post).
//! - `cds_invoer_zones` and `cds_load_zones` are the detail tables of `cds_invoer`'s nested
//!   fields `zones` and `load_table`: the same objects for the module's whole life, ordered
//!   by `index`, so bindings survive `ResetAll` and `LoadProject`.
//! - A change of an input field runs: its validation rule, the store, the calculation hook
//!   (`cds_invoerCalcFields`), its change rule, then the notification of bound views. A pass
//!   that stops (CalculationStopped) does not skip the change rule: the error is raised from
//!   the field change once the rule has run.
//! - No pass stores an infinite or undefined number.
//!
//! Lookup rows: the calculation, the rules and the reports read the current rows of the
//! reference tables. `PickLookup` moves the list table to the chosen row before it writes
//! the key (as the input window's lookup boxes do), and every pass first positions each
//! lookup table on the row that matches the record (`PositionLookupRows`).
class Tdm_mat {
public:
    //! Creates the tables and the formula record (DataModuleCreate); reads nothing until
    //! `SetDataDirectory`.
    Tdm_mat();
    //! Detaches from the language service and frees the formula record (DataModuleDestroy).
    ~Tdm_mat();
    Tdm_mat(const Tdm_mat&) = delete;
    Tdm_mat& operator=(const Tdm_mat&) = delete;

    // ---- reference tables (file in the data directory) ----

    ds::Table cds_mat{"cds_mat"}; //!< belt types, "mat.xml"
    ds::Table cds_matserie_tandwiel{
        "cds_matserie_tandwiel"};                         //!< sprockets, "matserie_tandwiel.xml"
    ds::Table cds_matserie_boring{"cds_matserie_boring"}; //!< bores, "tandwiel.xml"
    ds::Table cds_temp_corr{"cds_temp_corr"}; //!< strength by temperature, "temp_corr_factor.xml"
    ds::Table cds_prod_materiaal{
        "cds_prod_materiaal"}; //!< product materials, "product_materiaal.xml"
    ds::Table cds_geleiding_materiaal{
        "cds_geleiding_materiaal"}; //!< wearstrips, "geleiding_materiaal.xml" (filtered on ind_mat)
    ds::Table cds_support{"cds_support"};       //!< support types, "support.xml"
    ds::Table cds_smering{"cds_smering"};       //!< lubrication, "smering.xml"
    ds::Table cds_wrijving{"cds_wrijving"};     //!< friction, "wrijving.xml" (fields from the file)
    ds::Table cds_opstart{"cds_opstart"};       //!< start-up factors, "opstartfactor.xml"
    ds::Table cds_matafstand{"cds_matafstand"}; //!< wheel spacing, "mat_wielafstand.xml"
    ds::Table cds_mat_snelheid{"cds_mat_snelheid"}; //!< speed limits, "mat_snelheid.xml"

    // ---- the project ----

    //! The input and result record, loaded from "matinvoer.xml".
    ds::Table cds_invoer{"cds_invoer"};
    //! The ten layout rows (`index`, `lengte`, `temp`) of the record; aggregate `SomLengte`.
    ds::Table& cds_invoer_zones;
    //! The ten load rows (`index`, `strength`, `continue`, `continue_perc`, `startup`,
    //! `startup_perc`); aggregates `max_continue`, `max_startup` (live only during a pass).
    ds::Table& cds_load_zones;

    //! The module's language observer; its event is `TaalObserverTaalChange`.
    lang::TTaalObserver TaalObserver;

    //! A field of `cds_invoer` by name (throws when there is none).
    ds::Field& Invoer(const std::string& name) const { return cds_invoer.fieldByName(name); }
    //! A unit-converting field of `cds_invoer` by name (throws for other fields).
    lang::TMetricField& Metric(const std::string& name) const;

    // ---- properties ----

    //! The data directory, completed and ending in the path separator ("" before the first
    //! write).
    const std::string& DataDirectory() const { return dataDirectory_.value(); }
    //! Stores a changed directory (a relative one beside the executable) and then, changed
    //! or not, reopens every table (`OpenTables`). Read failures reach the caller.
    void SetDataDirectory(const std::string& directory);
    //! The language service in use, or null.
    lang::TTaalComponent* TaalComponent() const { return TaalObserver.TaalComponent(); }
    //! Attaches the module, its observer and every unit-converting field to the service;
    //! nothing happens when that service is already attached.
    void SetTaalComponent(lang::TTaalComponent* service);
    //! The formula record of the calculation.
    TMatdata& Matdata() { return matdata_; }
    //! The formula record of the calculation.
    const TMatdata& Matdata() const { return matdata_; }

    // ---- operations of the module ----

    //! Reads every reference table and then `cds_invoer` from "matinvoer.xml".
    void OpenTables();
    //! Reopens the product, wearstrip, support and lubrication tables, so their texts follow
    //! the current language.
    void RefreshLookupTables();
    //! Loads the template into the record, refreshes the language observers, puts the record
    //! into edit and runs the `temp_zones` rule.
    void ResetAll();
    //! Writes the record with its layout and load rows, the current language and unit
    //! system to the file (binary, XML for ".xml" names). The record is in edit afterwards.
    void SaveProject(const std::string& fileName);
    //! Reads a project file, switches the program to its language and unit system, restores
    //! the sprocket and bore choice and recomputes the results. A file that is not a belt
    //! project fails with the text of "S_THIS_FILE_IS_NOT_A_BELT_F" (the record is then
    //! closed). A project that loads but does not calculate raises CalculationStopped once
    //! the load is complete.
    void LoadProject(const std::string& fileName);
    //! Clears `lengte` and `temp` of every layout row and ends on the first row.
    void ClearZones();
    //! The language or unit system changed: relabels fields and reopens the lookup tables.
    void TaalObserverTaalChange(lang::TTaalObserver& sender, lang::ITaalSubject& subject);
    //! Keeps the current layout row's temperature within the belt type's range (20 °C for an
    //! empty zone in use); only while the layout rows are being edited.
    void ClampZoneTemperature();
    //! Moves each lookup table (belt, sprocket, bore, product, wearstrip, support,
    //! lubrication) to the row whose key the record holds, where such a row is visible.
    void PositionLookupRows();

    // ---- calculation ----

    //! The record's calculation hook: runs `Calculate` when the input is complete. Guarded
    //! against re-entry; a stopped pass is remembered (LastStop) and raised by the field
    //! change that started it.
    void cds_invoerCalcFields();
    //! The first input field that blocks a calculation (a layout-row `lengte` field for the
    //! zones), or null. Sets `uit_invoerwarning` on a zone-length mismatch.
    ds::Field* CheckInput();
    //! The calculation pass; throws CalculationStopped when it cannot finish.
    void Calculate();
    //! Fills the load rows of the zones in use and empties the others.
    void CalculateLoadZones();
    //! Numbers of drive sprockets and idler wheels (`uit_aandrijf_wielen`,
    //! `uit_retour_wielen`).
    void BerekenAantalWielen();
    //! Wheels needed across the width for a series at a load ratio (pull / strength).
    int ZoekAantalWielenperAfstand(int series, double ratio);
    //! Writes the warnings of the calculation into `uit_warning`.
    void CheckLimits();

    // ---- reports (built in MatRapport*.cpp) ----

    //! The text report of the current state, lines ended by CR LF.
    std::string BuildTextReport();
    //! The columnar line (after the five header lines when asked), lines ended by CR LF.
    std::string BuildColumnarLine(bool withHeader);

    // ---- working values and flags ----

    //! Strength of zone 1 in the last pass, N/m.
    double StrengthFirstZone() const { return strengthFirst_; }
    //! Strength of the last zone in use in the last pass, N/m.
    double StrengthLastZone() const { return strengthLast_; }
    //! Drive sprockets computed by the last pass.
    int DriveWheelCount() const { return driveWheels_; }
    //! Idler wheels computed by the last pass.
    int IdlerWheelCount() const { return idlerWheels_; }
    //! True while the calculation hook runs.
    bool Calculating() const { return calculating_; }
    //! True while `LoadProject` runs.
    bool Loading() const { return loading_; }
    //! True between the validation of a typed load and the load's change rule.
    bool LoadTyped() const { return loadTyped_; }
    //! The message of the last pass when it stopped; "" when it ran to its end.
    const std::string& LastStop() const { return lastStop_; }
    //! Number of passes that ran `Calculate` (finished or stopped) since creation.
    int PassCount() const { return passCount_; }

    // ---- a user's actions, as the input window's controls perform them ----

    //! The user types text into the edit of a field of `cds_invoer` and leaves it: the record
    //! goes into edit when needed and the text is stored in the current unit system.
    void EnterText(const std::string& fieldName, const std::string& text);
    //! The user types text into column fieldName of layout row index (1..10) in the zone
    //! grid: the grid moves to that row (its scroll rules run), edits it and stores the text.
    void EnterZoneText(int index, const std::string& fieldName, const std::string& text);
    //! The user picks the row with that key in the lookup box of fieldName: the list table
    //! moves to that row, then the key is written (nothing is written when the field already
    //! holds it). An unknown key is an error.
    void PickLookup(const std::string& fieldName, const std::string& key);
    //! The user enters the lookup box of fieldName: an empty field takes the first row.
    void EnterLookup(const std::string& fieldName);
    //! The user clicks a check box of a yes/no field into the given state.
    void ClickCheckBox(const std::string& fieldName, bool checked);
    //! The list table behind the lookup box of a field, or null for other fields.
    ds::Table* LookupTable(const std::string& fieldName);
    //! The list table's key field name for a lookup field ("" for other fields).
    std::string LookupKeyField(const std::string& fieldName) const;

private:
    // Counts the field changes in progress, so that a stopped pass is told once, by the
    // outermost change, after every rule has run.
    class ChangeDepth {
    public:
        explicit ChangeDepth(Tdm_mat& module);
        ~ChangeDepth();
        ChangeDepth(const ChangeDepth&) = delete;
        ChangeDepth& operator=(const ChangeDepth&) = delete;

    private:
        Tdm_mat& module_;
    };

    void AttachLookupTexts();
    void DeclareInvoerRules();
    void DeclareZoneRules();
    void WrapRules(ds::Field& field);
    void FinishChange();
    void RaisePendingStop();
    void UpdateDisplayLabels();
    std::string Text(const std::string& key) const;
    std::string UnitLabel(const std::string& code) const;
    int ZonesInUse() const;

    void MattypeChanged();
    void TandwielGrootteChanged();
    void LengteChanged();
    void BreedteChanged();
    void LoadFieldChanged(ds::Field& field);
    void TempZonesChanged();
    void ZonesAfterScroll();
    void UpdateZoneReadOnly();
    void ZoneValueChanged();
    void ResetLoadSwitch();
    void SyncBeltRow();

    [[noreturn]] void StopPass(const std::string& message);
    void CheckFinite(double value, const std::string& what);
    void StoreResult(const std::string& name, double value);
    void ReadFriction();
    bool FrictionValue(const std::string& code, const std::string& column, ds::Value& value);

    common::DataDirectoryProperty dataDirectory_;
    TMatdata matdata_;

    double strengthFirst_ = 0;
    double strengthLast_ = 0;
    int driveWheels_ = 0;
    int idlerWheels_ = 0;

    bool calculating_ = false;
    bool loading_ = false;
    bool zonesPosting_ = false;
    bool clamping_ = false;
    bool loadTyped_ = false;

    std::string lastStop_;
    std::string pendingStop_;
    int changeDepth_ = 0;
    int passCount_ = 0;
};

} // namespace zrn::belt
