#include "belt/d_mat.h"

#include "belt/MatHelpers.h"
#include "lang/TaalComponent.h"
#include "rtl/Format.h"
#include "rtl/NumberFormat.h"

#include <cmath>
#include <numbers>

// The calculation pass: from the input record and the selected reference rows to the result
// fields, the load rows and the warnings.
namespace zrn::belt {

namespace {

constexpr double kZoneLengthTolerance = 0.001; // m

// Switches the load aggregates on for the length of a pass.
class AggregatesOn {
public:
    explicit AggregatesOn(ds::Table& load) : load_(load) { Set(true); }
    ~AggregatesOn() { Set(false); }
    AggregatesOn(const AggregatesOn&) = delete;
    AggregatesOn& operator=(const AggregatesOn&) = delete;

private:
    void Set(bool on) {
        load_.aggregateByName("max_continue").setActive(on);
        load_.aggregateByName("max_startup").setActive(on);
    }
    ds::Table& load_;
};

// The visible row whose `index` is the given one, as a position; -1 when there is none.
int PositionOfIndex(ds::Table& table, long long index) {
    const ds::Field& f = table.fieldByName("index");
    for (int pos = 0; pos < table.recordCount(); ++pos) {
        ds::RowPeek peek = table.peekRow(pos);
        if (!f.isNull() && f.asInteger() == index)
            return pos;
    }
    return -1;
}

} // namespace

// ---- the hook ----

void Tdm_mat::cds_invoerCalcFields() {
    if (calculating_)
        return;
    calculating_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{calculating_};
    AggregatesOn aggregates(cds_load_zones);
    if (!cds_invoer.isActive() || !cds_wrijving.isActive() || !cds_support.isActive() ||
        !cds_invoer.isEditing())
        return;
    if (CheckInput())
        return;
    ++passCount_;
    try {
        Calculate();
        lastStop_.clear();
        pendingStop_.clear();
    } catch (const Error& e) {
        // Told to the user by the field change that started the pass (or by LoadProject);
        // the warning field keeps saying it for the results window and the reports.
        lastStop_ = e.what();
        pendingStop_ = lastStop_;
        if (cds_invoer.isEditing())
            Invoer("uit_warning").setAsString(lastStop_ + "\r\n");
    }
}

// ---- input check ----

ds::Field* Tdm_mat::CheckInput() {
    ds::Field& warning = Invoer("uit_invoerwarning");
    if (cds_invoer.isEditing())
        warning.clear();
    for (int i = 0; i < cds_invoer.fieldCount(); ++i) {
        ds::Field& f = cds_invoer.field(i);
        if (f.fieldKind() == ds::FieldKind::Data && f.type() != ds::FieldType::Nested &&
            f.required() && f.isNull())
            return &f;
    }
    if (Invoer("product_per_uur").isNull() && Invoer("matsnelheid").isNull())
        return &Invoer("product_per_uur");

    ds::Table& zones = cds_invoer_zones;
    ds::Field& zoneLength = zones.fieldByName("lengte");
    const ds::Field& zoneTemp = zones.fieldByName("temp");
    const int inUse = ZonesInUse();
    // Rows are read in place: walking the cursor would run the rows' scroll rules.
    for (int index = 1; index <= inUse; ++index) {
        const int pos = PositionOfIndex(zones, index);
        if (pos < 0)
            return &zoneLength;
        ds::RowPeek peek = zones.peekRow(pos);
        if (zoneLength.isNull() || zoneTemp.isNull())
            return &zoneLength;
    }
    const ds::Value sum = zones.aggregateByName("SomLengte").value();
    if (sum.isNull())
        return &zoneLength;
    if (std::fabs(detail::MetricOf(Invoer("lengte")) - sum.asFloat()) > kZoneLengthTolerance) {
        if (cds_invoer.isEditing())
            warning.setAsString(Text("S_THE_BELTLENGTH_ZONE_MISMATCH"));
        return &zoneLength;
    }
    return nullptr;
}

// ---- stopping ----

void Tdm_mat::StopPass(const std::string& message) {
    throw CalculationStopped(message);
}

void Tdm_mat::CheckFinite(double value, const std::string& what) {
    // No language text exists for these: they come from input no conveyor can have (a width
    // of 0, a height difference beyond the length) or from damaged reference rows.
    if (!std::isfinite(value))
        StopPass("The calculation cannot be completed: " + what + " is not a finite number.");
}

void Tdm_mat::StoreResult(const std::string& name, double value) {
    CheckFinite(value, name);
    detail::SetMetric(Invoer(name), value);
}

// ---- the pass ----

bool Tdm_mat::FrictionValue(const std::string& code, const std::string& column, ds::Value& value) {
    const std::string lubrication =
        cds_smering.isEmpty() ? std::string() : cds_smering.fieldByName("smering").asString();
    if (!cds_wrijving.locate("smering;mat_wrijvings_code",
                             {ds::Value(lubrication), ds::Value(code)}))
        return false;
    value = cds_wrijving.fieldByName(column).value();
    return true;
}

void Tdm_mat::ReadFriction() {
    const std::string upper = cds_mat.fieldByName("wrijv_coef_boven").asString();
    const std::string lower = cds_mat.fieldByName("wrijv_coef_onder").asString();
    ds::Value v;
    auto store = [this](const char* name, const ds::Value& value) { Invoer(name).setValue(value); };
    const ds::Field& typedProduct = Invoer("frc_prod_afw");
    if (typedProduct.isNull()) {
        if (FrictionValue(cds_prod_materiaal.fieldByName("mat_wrijvings_code").asString(), upper,
                          v))
            store("uit_wrijf_product", v);
    } else {
        store("uit_wrijf_product", typedProduct.value());
    }
    const ds::Field& typedGuide = Invoer("frc_geleiding_afw");
    if (typedGuide.isNull()) {
        if (FrictionValue(cds_geleiding_materiaal.fieldByName("mat_wrijvings_code").asString(),
                          lower, v))
            store("uit_wrijf_boven", v);
    } else {
        store("uit_wrijf_boven", typedGuide.value());
    }
    const std::string returnCode = cds_support.fieldByName("mat_wrijvings_code").asString();
    if (returnCode.empty()) {
        if (!Invoer("uit_wrijf_boven").isNull())
            store("uit_wrijf_onder", Invoer("uit_wrijf_boven").value());
    } else if (FrictionValue(returnCode, lower, v)) {
        store("uit_wrijf_onder", v);
    }
    matdata_.wrijf_boven = Invoer("uit_wrijf_boven").asFloat();
    matdata_.wrijf_product = Invoer("uit_wrijf_product").asFloat();
    matdata_.wrijf_onder = Invoer("uit_wrijf_onder").asFloat();
}

void Tdm_mat::Calculate() {
    PositionLookupRows();
    TMatdata& m = matdata_;
    const ds::Table& belt = cds_mat;
    const ds::Table& bore = cds_matserie_boring;

    // 1. friction
    ReadFriction();

    // 2. rows of products
    m.lengte = detail::MetricOf(Invoer("lengte"));
    m.breedte = detail::MetricOf(Invoer("breedte")) / 1000.0;
    m.gewicht = detail::MetricOf(Invoer("gewicht"));
    m.diameter = detail::MetricOf(Invoer("diameter"));
    m.bezettingsgraad = Invoer("bezettingsgraad").asFloat();
    if (!(m.diameter > 0))
        StopPass(Text("S_ERR_PRODUCT_DIAMETER_ZERO"));
    m.RowsAcross();
    CheckFinite(m.producten_per_m, "products per metre");

    // 3. speed or throughput
    if (Invoer("product_leading").asBoolean()) {
        m.product_per_uur = Invoer("product_per_uur").asFloat();
        if (m.producten_per_m == 0)
            StopPass(Text("S_ERR_OCCUPATION_ZERO"));
        m.matsnelheid = m.product_per_uur / (m.producten_per_m * 60.0);
        StoreResult("matsnelheid", m.matsnelheid);
    } else {
        m.matsnelheid = detail::MetricOf(Invoer("matsnelheid"));
        m.product_per_uur = m.matsnelheid * m.producten_per_m * 60.0;
        CheckFinite(m.product_per_uur, "product_per_uur");
        Invoer("product_per_uur").setAsFloat(m.product_per_uur); // rounded half to even
    }

    // 4. product load
    const ds::Field& load = Invoer("belasting");
    if (Invoer("gewicht").isNull() || Invoer("diameter").isNull() || loadTyped_) {
        if (!load.isNull())
            m.belasting = detail::MetricOf(load);
    } else {
        m.ProductLoad();
        StoreResult("belasting", m.belasting);
    }

    // 5. allowed load of the belt type
    StoreResult("uit_max_belasting", belt.fieldByName("max_werk_bel").asFloat());

    // 6. conveyor, belt and shaft
    m.stuw = Invoer("stuw").asFloat() / 100.0;
    m.hoogteverschil = detail::MetricOf(Invoer("hoogteverschil")) / 1000.0;
    m.temp_zones = ZonesInUse();
    m.aslengte = detail::MetricOf(Invoer("aslengte")) / 1000.0;
    m.aandrijving_centraal = Invoer("aandrijving_centraal").asBoolean();
    m.massa = belt.fieldByName("massa").asFloat();
    m.lin_uitz_coef = belt.fieldByName("lin_uitz_coef").asFloat();
    m.Dp = bore.fieldByName("Dp").asFloat() / 1000.0;
    m.I = bore.fieldByName("I").asFloat();
    m.Ip = bore.fieldByName("Ip").asFloat();
    m.Dw = bore.fieldByName("Dw").asFloat();
    // The shaft figures divide by these; a bore row without them cannot carry a belt.
    if (!(m.I > 0) || !(m.Ip > 0) || !(m.Dp > 0))
        StopPass("The bore '" + bore.fieldByName("boring").asString() +
                 "' has no valid shaft data (Dp, I, Ip).");

    // 7. start-up factor of the speed band
    const long long speed = detail::Truncate(m.matsnelheid);
    cds_opstart.setFilter(rtl::Format("(%0:d >= v1) and (%0:d < v2)", {speed}));
    cds_opstart.setFiltered(true);
    m.opstartfactor = cds_opstart.isEmpty() ? 0.0 : cds_opstart.fieldByName("SF").asFloat();
    if (!(m.opstartfactor > 0)) {
        const std::string shown = Invoer("matsnelheid").text() + " " + UnitLabel("M/MIN");
        StopPass(rtl::Format(Text("S_ERR_NO_STARTUP_ROW"), {shown}));
    }

    // 8. zone lengths and temperatures by index
    m.zone_lengte.fill(0);
    m.zone_temp.fill(0);
    {
        ds::Table& zones = cds_invoer_zones;
        const ds::Field& index = zones.fieldByName("index");
        const ds::Field& zoneLength = zones.fieldByName("lengte");
        const ds::Field& zoneTemp = zones.fieldByName("temp");
        for (int pos = 0; pos < zones.recordCount(); ++pos) {
            ds::RowPeek peek = zones.peekRow(pos);
            const long long i = index.asInteger();
            if (i < 1 || i > 10)
                continue;
            m.zone_lengte[i] = detail::MetricOf(zoneLength);
            m.zone_temp[i] = detail::MetricOf(zoneTemp);
        }
    }

    // 9. the formula steps
    m.BeltPull();
    CheckFinite(m.werk_belasting, "uit_werk_belasting");
    CheckFinite(m.retour_belasting, "the return pull");
    m.ShaftTorque();
    m.ShaftSpeed();
    m.DrivePower();
    m.ThermalExpansion();
    m.ShaftDeflection();
    m.ShaftTorsion();

    // 10. load per zone
    CalculateLoadZones();

    // 11. pull, drive and lengths
    StoreResult("uit_werk_belasting", m.werk_belasting);
    StoreResult("uit_ond_belasting", m.ond_belasting);
    StoreResult("uit_draaimoment", m.draaimoment);
    StoreResult("uit_omwentelingen", m.omwentelingen);
    StoreResult("uit_vermogen_as", m.vermogen_as);
    StoreResult("uit_motorvermogen", m.motorvermogen);
    StoreResult("uit_matgewicht", m.massa);
    StoreResult("uit_uitzetting_lengte", m.uitzetting_lengte);
    StoreResult("uit_uitzetting_breedte", m.uitzetting_breedte);
    StoreResult("uit_lengte_mat", m.lengte_mat);
    StoreResult("uit_product_op_baan", m.producten_per_m * m.lengte);

    // 12. wheels
    BerekenAantalWielen();

    // 13. shafts, start-up factor and friction
    Invoer("uit_lagers_aandrijfas").setAsInteger(m.lagers_aandrijfas);
    Invoer("uit_lagers_retouras").setAsInteger(m.lagers_retouras);
    StoreResult("uit_doorbuiging_aandrijfas", m.doorbuiging_aandrijfas);
    StoreResult("uit_doorbuiging_retouras", m.doorbuiging_retouras);
    StoreResult("uit_hoekverdraaiing", m.hoekverdraaiing);
    StoreResult("uit_opstartfactor", m.opstartfactor);
    StoreResult("uit_max_doorbuiging_aandrijfas", kMaxShaftDeflection);
    StoreResult("uit_max_doorbuiging_retouras", kMaxShaftDeflection);
    StoreResult("uit_max_hoekverdraaiing", m.max_hoekverdraaiing);
    StoreResult("uit_wrijf_boven", m.wrijf_boven);
    StoreResult("uit_wrijf_product", m.wrijf_product);
    StoreResult("uit_wrijf_onder", m.wrijf_onder);

    // 14. warnings
    CheckLimits();
}

void Tdm_mat::CalculateLoadZones() {
    const TMatdata& m = matdata_;
    ds::Table& zones = cds_invoer_zones;
    ds::Table& load = cds_load_zones;
    const int inUse = ZonesInUse();
    const double W = m.werk_belasting;
    const double Fi = m.retour_belasting;
    const double SF = m.opstartfactor;
    // The pull grows linearly from the idler to the drive; a conveyor of no length has no
    // slope to speak of.
    const double slope = m.lengte != 0 ? (W - Fi) / m.lengte : 0.0;
    const double maxLoad = detail::MetricOf(Invoer("uit_max_belasting"));
    const std::string matcode = cds_mat.fieldByName("matcode").asString();
    const std::string beltType = cds_mat.fieldByName("mattype").asString();

    const ds::Bookmark loadRow = load.bookmark();
    struct Restore {
        ds::Table& t;
        ds::Bookmark b;
        ~Restore() {
            try {
                if (b.isSet() && t.bookmarkValid(b))
                    t.gotoBookmark(b);
            } catch (...) {
            }
        }
    } restore{load, loadRow};

    // Read the zones first: writing the load rows must not disturb the rows being read.
    struct Zone {
        long long index;
        double length;
        double temp;
    };
    std::vector<Zone> zoneRows;
    {
        const ds::Field& index = zones.fieldByName("index");
        const ds::Field& zoneLength = zones.fieldByName("lengte");
        const ds::Field& zoneTemp = zones.fieldByName("temp");
        for (int pos = 0; pos < zones.recordCount(); ++pos) {
            ds::RowPeek peek = zones.peekRow(pos);
            zoneRows.push_back(
                {index.asInteger(), detail::MetricOf(zoneLength), detail::MetricOf(zoneTemp)});
        }
    }

    double running = 0;
    long long lastWritten = 0;
    ds::Field& strength = load.fieldByName("strength");
    ds::Field& startup = load.fieldByName("startup");
    ds::Field& startupPerc = load.fieldByName("startup_perc");
    ds::Field& cont = load.fieldByName("continue");
    ds::Field& contPerc = load.fieldByName("continue_perc");
    for (const Zone& z : zoneRows) {
        if (z.index > inUse || !load.locate("index", {ds::Value(z.index)}))
            continue;
        running += z.length;
        cds_temp_corr.setFilter(
            rtl::Format("(%0:d >= temp_vanaf) and (%0:d < temp_tot) and (matcode = '%1:s')",
                        {detail::Truncate(z.temp), matcode}));
        cds_temp_corr.setFiltered(true);
        const double tcf =
            cds_temp_corr.isEmpty() ? 0.0 : cds_temp_corr.fieldByName("tcf").asFloat();
        if (!(tcf > 0))
            StopPass(rtl::Format(Text("S_ERR_NO_TEMP_CORRECTION"), {beltType}));
        const double zoneStrength = maxLoad * tcf;
        const double zoneStartup = Fi + slope * running;
        const double zoneContinue = zoneStartup / SF;
        const double startupPercent = zoneStartup * 100.0 / zoneStrength;
        const double continuePercent = zoneContinue * 100.0 / zoneStrength;
        CheckFinite(startupPercent, "startup_perc");
        CheckFinite(continuePercent, "continue_perc");
        load.edit();
        detail::SetMetric(strength, zoneStrength);
        detail::SetMetric(startup, zoneStartup);
        startupPerc.setAsFloat(startupPercent);
        detail::SetMetric(cont, zoneContinue);
        contPerc.setAsFloat(continuePercent);
        load.post();
        if (z.index == 1)
            strengthFirst_ = zoneStrength;
        if (z.index == inUse)
            strengthLast_ = zoneStrength;
        lastWritten = z.index;
    }
    // Rows beyond the zones in use must not show the figures of an earlier layout.
    const ds::Field& loadIndex = load.fieldByName("index");
    for (int pos = 0; pos < load.recordCount(); ++pos) {
        {
            ds::RowPeek peek = load.peekRow(pos);
            if (loadIndex.asInteger() <= lastWritten)
                continue;
            if (strength.isNull() && startup.isNull() && startupPerc.isNull() && cont.isNull() &&
                contPerc.isNull())
                continue;
        }
        load.setRecNo(pos + 1);
        load.edit();
        for (ds::Field* f : {&strength, &cont, &contPerc, &startup, &startupPerc})
            f->clear();
        load.post();
    }
}

int Tdm_mat::ZoekAantalWielenperAfstand(int series, double ratio) {
    rtl::FileNumberFormat dotDecimals;
    const std::string filter =
        rtl::Format("(matserie = %d) and (afst_vanaf < %.6f) and (afst_tm >= %.6f)",
                    {static_cast<long long>(series), ratio, ratio});
    cds_matafstand.setFilter(filter);
    cds_matafstand.setFiltered(true);
    const double perWheel =
        cds_matafstand.isEmpty() ? 0.0 : cds_matafstand.fieldByName("aantal_wielen").asFloat();
    if (perWheel == 0) {
        lang::TTaalComponent* service = TaalComponent();
        std::string message = service ? Text("S_ERR_NO_WHEEL_SPACING") : std::string();
        if (message.empty())
            message = "Mat afstand tabel niet correct. Gebruikt filter: " + filter;
        StopPass(message);
    }
    const double width = detail::MetricOf(Invoer("breedte"));
    const double wheels = width / perWheel;
    CheckFinite(wheels, "the wheel count");
    const long long count = detail::Truncate(wheels);
    const bool sawable = cds_matafstand.fieldByName("zaagbaar").asBoolean();
    return static_cast<int>(sawable ? count : count + 1);
}

void Tdm_mat::BerekenAantalWielen() {
    const TMatdata& m = matdata_;
    const ds::Table& belt = cds_mat;
    const ds::Table& bore = cds_matserie_boring;
    const double width = detail::MetricOf(Invoer("breedte"));
    const double W = m.werk_belasting;
    const double teeth = cds_matserie_tandwiel.fieldByName("tanden").asFloat();
    const double minWheels = belt.fieldByName("min_aant_wiel").asFloat();

    double X = width * W * 0.001 * belt.fieldByName("steek").asFloat() /
               ((bore.fieldByName("SH").asFloat() - bore.fieldByName("SD").asFloat()) *
                bore.fieldByName("Bb").asFloat()) /
               (bore.fieldByName("boormaat").asFloat() * 20.0 *
                bore.fieldByName("aantal_spie").asFloat()) /
               std::sin(std::numbers::pi / teeth);
    CheckFinite(X, "the drive sprocket count");
    const double spacing = width / belt.fieldByName("max_afst_tw").asFloat() + minWheels - 1.0;
    CheckFinite(spacing, "the idler wheel count");
    double Y = static_cast<double>(detail::Truncate(spacing));
    if (minWheels > Y)
        Y = minWheels;
    if (X >= Y)
        X = static_cast<double>(detail::Truncate(minWheels + X - 1.0));
    else
        X = Y;

    const int series = static_cast<int>(detail::StrToInt(belt.fieldByName("matserie").asString()));
    const double driveRatio = std::fabs(W / strengthLast_);
    const double idlerRatio = std::fabs(m.retour_belasting / strengthFirst_);
    CheckFinite(driveRatio, "the load ratio of the last zone");
    CheckFinite(idlerRatio, "the load ratio of the first zone");
    const int A1 = ZoekAantalWielenperAfstand(series, driveRatio);
    const int A2 = ZoekAantalWielenperAfstand(series, idlerRatio);
    if (A1 > X)
        X = A1;
    if (A2 > Y)
        Y = A2;
    driveWheels_ = static_cast<int>(X);
    idlerWheels_ = static_cast<int>(Y);
    Invoer("uit_aandrijf_wielen").setAsInteger(driveWheels_);
    Invoer("uit_retour_wielen").setAsInteger(idlerWheels_);
}

void Tdm_mat::CheckLimits() {
    const TMatdata& m = matdata_;
    const ds::Table& belt = cds_mat;
    std::vector<std::string> keys;
    if (m.rijen == 1)
        keys.push_back("S_ONE_ROW_OF_PRODUCTS_ASSUM");
    // An empty longest length means the belt type has no such limit.
    const ds::Field& longest = belt.fieldByName("max_asafstand");
    if (!longest.isNull() && m.lengte > rtl::RoundHalfEven(longest.asFloat()))
        keys.push_back("S_LONG_CONVEYOR!");
    const std::string matcode = belt.fieldByName("matcode").asString();
    if (cds_mat_snelheid.locate("matcode", {ds::Value(matcode)})) {
        const ds::Field& limit = cds_mat_snelheid.fieldByName(Invoer("smering").asString());
        if (!limit.isNull() && m.matsnelheid >= limit.asFloat())
            keys.push_back("S_HIGH_BELTSPEED!");
    }
    const ds::Value maxContinue = cds_load_zones.aggregateByName("max_continue").value();
    const ds::Value maxStartup = cds_load_zones.aggregateByName("max_startup").value();
    auto above = [](const ds::Value& v, double limit) {
        return !v.isNull() && v.asFloat() > limit;
    };
    if (above(maxContinue, 60) || above(maxStartup, 80))
        keys.push_back("S_BELTLOAD_TOO_HIGH_DO_NOT");
    else if (above(maxContinue, 50) || above(maxStartup, 60))
        keys.push_back("S_HIGH_BELTLOAD,_CONSULT_ZRN");
    if (Invoer("uit_hoekverdraaiing").asFloat() > Invoer("uit_max_hoekverdraaiing").asFloat())
        keys.push_back("S_ACTUAL_TORSION_GT_MAXIMUM");
    const double width = detail::MetricOf(Invoer("breedte"));
    if (width / belt.fieldByName("min_afst_tw").asFloat() < driveWheels_)
        keys.push_back("S_CALCULATED_NUMBER_OF_SPRO");
    // A coefficient of exactly 1 marks a combination that is not recommended.
    if (m.wrijf_boven == 1 || m.wrijf_product == 1 || m.wrijf_onder == 1)
        keys.push_back("S_THIS_APPLICATION_IS_NOT_R");
    std::string warning;
    for (const std::string& key : keys)
        warning += Text(key) + "\r\n";
    Invoer("uit_warning").setAsString(warning);
}

} // namespace zrn::belt
