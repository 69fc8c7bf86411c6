#include "belt/d_mat.h"

#include "belt/MatHelpers.h"
#include "belt/MatTables.h"
#include "common/Algemeen.h"
#include "lang/TaalComponent.h"
#include "rtl/Format.h"

namespace zrn::belt {

namespace {

// Restores a flag and resumes display updates however the operation ends.
class LoadScope {
public:
    LoadScope(bool& flag, ds::Table& table) : flag_(flag), table_(table) {
        flag_ = true;
        table_.disableControls();
    }
    ~LoadScope() {
        flag_ = false;
        table_.enableControls();
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    bool& flag_;
    ds::Table& table_;
};

template <class Fn> void ForEachMetricField(ds::Table& table, const Fn& fn) {
    for (int i = 0; i < table.fieldCount(); ++i) {
        ds::Field& f = table.field(i);
        if (f.type() == ds::FieldType::Nested)
            ForEachMetricField(f.nestedTable(), fn);
        else if (auto* metric = dynamic_cast<lang::TMetricField*>(&f))
            fn(*metric);
    }
}

} // namespace

Tdm_mat::Tdm_mat()
    : cds_invoer_zones(tables::DeclareInvoer(cds_invoer)),
      cds_load_zones(cds_invoer.fieldByName("load_table").nestedTable()) {
    tables::DeclareMat(cds_mat);
    tables::DeclareSprockets(cds_matserie_tandwiel);
    tables::DeclareBores(cds_matserie_boring);
    tables::DeclareTempCorrection(cds_temp_corr);
    tables::DeclareProductMaterials(cds_prod_materiaal);
    tables::DeclareGuideMaterials(cds_geleiding_materiaal);
    tables::DeclareSupports(cds_support);
    tables::DeclareLubrication(cds_smering);
    tables::DeclareStartupFactors(cds_opstart);
    tables::DeclareWheelSpacing(cds_matafstand);
    AttachLookupTexts();
    DeclareInvoerRules();
    DeclareZoneRules();
    TaalObserver.OnTaalChange = [this](lang::TTaalObserver& sender, lang::ITaalSubject& subject) {
        TaalObserverTaalChange(sender, subject);
    };
}

Tdm_mat::~Tdm_mat() {
    // The fields and the observer leave the service with their own destruction; the rules
    // must not run while the tables go.
    cds_invoer.calculationHook = nullptr;
}

lang::TMetricField& Tdm_mat::Metric(const std::string& name) const {
    ds::Field& f = Invoer(name);
    auto* metric = dynamic_cast<lang::TMetricField*>(&f);
    if (!metric)
        throw Error("Field '" + name + "' is not a quantity with a unit");
    return *metric;
}

std::string Tdm_mat::Text(const std::string& key) const {
    lang::TTaalComponent* service = TaalComponent();
    // Without a service (a tool or a test running headless) the key itself is the best text.
    return service ? lang::TaalText(*service, key) : key;
}

std::string Tdm_mat::UnitLabel(const std::string& code) const {
    lang::TTaalComponent* service = TaalComponent();
    return service ? lang::TaalUnitLabel(*service, code) : std::string();
}

// ---- calculated texts of the lookup tables ----

void Tdm_mat::AttachLookupTexts() {
    auto keyText = [this](const char* keyField, const char* textField) {
        return [this, keyField, textField](ds::Table& t) {
            lang::TTaalComponent* service = TaalComponent();
            if (!service)
                return;
            t.fieldByName(textField).setAsString(
                lang::TaalText(*service, t.fieldByName(keyField).asString()));
        };
    };
    cds_prod_materiaal.onCalcFields = keyText("mat_code", "materiaal");
    cds_geleiding_materiaal.onCalcFields = keyText("mat_code", "materiaal");
    cds_support.onCalcFields = keyText("Taalcode", "Support");
    cds_smering.onCalcFields = keyText("smeer_code", "smeer_oms");
    cds_matserie_tandwiel.onCalcFields = [this](ds::Table& t) {
        lang::TTaalComponent* service = TaalComponent();
        if (!service)
            return;
        t.fieldByName("TandenDP")
            .setAsString(rtl::Format("%d %s %s", {t.fieldByName("tanden").asInteger(),
                                                  lang::TaalText(*service, "S_TEETH_MINUS_DP"),
                                                  t.fieldByName("Dp").asString()}));
    };
}

// ---- properties ----

void Tdm_mat::SetDataDirectory(const std::string& directory) {
    dataDirectory_.set(directory);
    OpenTables();
}

void Tdm_mat::SetTaalComponent(lang::TTaalComponent* service) {
    if (service == TaalComponent())
        return;
    TaalObserver.SetTaalComponent(service);
    ForEachMetricField(cds_invoer,
                       [service](lang::TMetricField& f) { f.SetTaalComponent(service); });
}

// ---- tables ----

void Tdm_mat::OpenTables() {
    const std::string& dir = DataDirectory();
    common::LoadTable(cds_mat, dir + "mat.xml");
    common::LoadTable(cds_matserie_tandwiel, dir + "matserie_tandwiel.xml");
    common::LoadTable(cds_matserie_boring, dir + "tandwiel.xml");
    common::LoadTable(cds_prod_materiaal, dir + "product_materiaal.xml");
    common::LoadTable(cds_geleiding_materiaal, dir + "geleiding_materiaal.xml");
    cds_geleiding_materiaal.setFiltered(true);
    common::LoadTable(cds_support, dir + "support.xml");
    common::LoadTable(cds_smering, dir + "smering.xml");
    common::LoadTable(cds_wrijving, dir + "wrijving.xml");
    common::LoadTable(cds_opstart, dir + "opstartfactor.xml");
    common::LoadTable(cds_temp_corr, dir + "temp_corr_factor.xml");
    common::LoadTable(cds_matafstand, dir + "mat_wielafstand.xml");
    common::LoadTable(cds_mat_snelheid, dir + "mat_snelheid.xml");
    common::LoadTable(cds_invoer, dir + "matinvoer.xml");
}

void Tdm_mat::RefreshLookupTables() {
    for (ds::Table* t :
         {&cds_prod_materiaal, &cds_geleiding_materiaal, &cds_support, &cds_smering}) {
        t->close();
        t->open();
    }
    // Reopening goes to the first row; the record's choices must stay the rows in use.
    PositionLookupRows();
}

void Tdm_mat::TaalObserverTaalChange(lang::TTaalObserver&, lang::ITaalSubject&) {
    RefreshLookupTables();
    UpdateDisplayLabels();
}

void Tdm_mat::UpdateDisplayLabels() {
    const auto withUnit = [this](const char* key, const char* unit) {
        return rtl::Format("%s(%s)", {Text(key), UnitLabel(unit)});
    };
    cds_invoer_zones.fieldByName("index").setDisplayLabel(Text("S_NR"));
    cds_invoer_zones.fieldByName("lengte").setDisplayLabel(withUnit("S_LENGTH", "M"));
    cds_invoer_zones.fieldByName("temp").setDisplayLabel(withUnit("S_TEMP", "C"));

    const std::string pull = "(" + UnitLabel("N/M") + ")";
    cds_load_zones.fieldByName("index").setDisplayLabel(" ");
    for (const char* name : {"strength", "continue", "startup"})
        cds_load_zones.fieldByName(name).setDisplayLabel(pull);
    for (const char* name : {"continue_perc", "startup_perc"})
        cds_load_zones.fieldByName(name).setDisplayLabel("(%)");

    Invoer("aandrijving_centraal").setDisplayValues(Text("S_YES") + ";");

    lang::TTaalComponent* service = TaalComponent();
    const bool imperial = service && service->Eenheid() == lang::ehImperial;
    // Imperial power and expansion figures are small numbers that need their decimals.
    Invoer("uit_motorvermogen").setDisplayFormat(imperial ? "0.00" : "0");
    Invoer("uit_vermogen_as").setDisplayFormat(imperial ? "0.00" : "0");
    Invoer("uit_uitzetting_lengte").setDisplayFormat(imperial ? "0.0" : "0");
    Invoer("uit_uitzetting_breedte").setDisplayFormat(imperial ? "0.0" : "0");
}

// ---- the project ----

void Tdm_mat::ResetAll() {
    pendingStop_.clear();
    {
        ChangeDepth depth(*this);
        cds_invoer.disableControls();
        struct Resume {
            ds::Table& t;
            ~Resume() { t.enableControls(); }
        } resume{cds_invoer};
        common::LoadTable(cds_invoer, DataDirectory() + "matinvoer.xml");
        if (lang::TTaalComponent* service = TaalComponent())
            lang::TaalNotify(*service);
        ResetLoadSwitch();
        cds_invoer.edit();
        TempZonesChanged();
        UpdateZoneReadOnly();
    }
    pendingStop_.clear();
}

void Tdm_mat::SaveProject(const std::string& fileName) {
    if (!cds_invoer.isEditing())
        cds_invoer.edit();
    lang::TTaalComponent* service = TaalComponent();
    Invoer("taal").setAsString(service ? service->Taal() : std::string());
    Invoer("eenheid").setAsBoolean(!service || service->Eenheid() == lang::ehMetrisch);
    // Writing the language and units runs the calculation again with unchanged input; its
    // outcome was told when the input changed.
    pendingStop_.clear();
    cds_invoer.post();
    cds_invoer.mergeChangeLog();
    common::SaveTable(cds_invoer, fileName);
    if (!cds_invoer.isEditing())
        cds_invoer.edit();
}

void Tdm_mat::LoadProject(const std::string& fileName) {
    pendingStop_.clear();
    {
        // The rules run below must not report a stopped pass before the load is complete.
        ChangeDepth depth(*this);
        LoadScope scope(loading_, cds_invoer);
        cds_invoer.close();
        try {
            common::ReadTableFile(cds_invoer, fileName);
        } catch (const std::exception&) {
            cds_invoer.close();
            throw Error(Text("S_THIS_FILE_IS_NOT_A_BELT_F"));
        }
        if (lang::TTaalComponent* service = TaalComponent()) {
            const std::string taal = Invoer("taal").asString();
            if (!taal.empty())
                service->SetTaal(taal);
            service->SetEenheid(Invoer("eenheid").asBoolean() ? lang::ehMetrisch
                                                              : lang::ehImperial);
        }
        MattypeChanged();
        const std::string sprocket = Invoer("tandwiel_grootte").asString();
        if (!sprocket.empty() && cds_matserie_tandwiel.isActive())
            cds_matserie_tandwiel.locate("tanden", {ds::Value(detail::StrToInt(sprocket))});
        TandwielGrootteChanged();
        if (cds_matserie_boring.isActive() && !Invoer("asdiameter").isNull())
            cds_matserie_boring.locate("boring", {ds::Value(Invoer("asdiameter").asString())});
        PositionLookupRows();
        ResetLoadSwitch();
        cds_invoer.edit();
        cds_invoerCalcFields();
        TempZonesChanged();
        UpdateZoneReadOnly();
    }
    RaisePendingStop();
}

void Tdm_mat::ClearZones() {
    ds::Table& zones = cds_invoer_zones;
    if (!zones.isActive())
        return;
    ds::Field& lengte = zones.fieldByName("lengte");
    ds::Field& temp = zones.fieldByName("temp");
    zones.first();
    while (!zones.isEmpty()) {
        zones.setReadOnly(false);
        zones.edit();
        lengte.clear();
        temp.clear();
        zones.post();
        const int before = zones.recNo();
        zones.next();
        if (zones.recNo() == before)
            break;
    }
    zones.first();
}

void Tdm_mat::ResetLoadSwitch() {
    // The required switch between load and product weight follows the record that was read,
    // not what the previous project left behind.
    const bool byWeight = !Invoer("gewicht").isNull();
    Invoer("belasting").setRequired(!byWeight);
    Invoer("gewicht").setRequired(byWeight);
}

} // namespace zrn::belt
