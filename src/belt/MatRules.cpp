#include "belt/d_mat.h"

#include "belt/MatHelpers.h"
#include "rtl/Format.h"

#include <algorithm>

// The rules that fire when single fields of the input record or of its layout rows change.
namespace zrn::belt {

namespace {

constexpr double kShaftBeyondBeltMm = 100.0;
constexpr double kDefaultZoneTemp = 20.0;

} // namespace

// ---- user-level changes ----

Tdm_mat::ChangeDepth::ChangeDepth(Tdm_mat& module) : module_(module) {
    ++module_.changeDepth_;
}

Tdm_mat::ChangeDepth::~ChangeDepth() {
    --module_.changeDepth_;
}

void Tdm_mat::FinishChange() {
    // Only the outermost change tells the user: rules inside it may start further passes,
    // and the last of them decides what the record shows.
    if (changeDepth_ == 0 && !calculating_)
        RaisePendingStop();
}

void Tdm_mat::RaisePendingStop() {
    if (pendingStop_.empty())
        return;
    std::string message;
    message.swap(pendingStop_);
    throw CalculationStopped(message);
}

void Tdm_mat::WrapRules(ds::Field& field) {
    if (auto validate = std::move(field.onValidate)) {
        field.onValidate = [this, validate](ds::Field& f) {
            ChangeDepth depth(*this);
            validate(f);
        };
    }
    auto change = std::move(field.onChange);
    field.onChange = [this, change](ds::Field& f) {
        {
            ChangeDepth depth(*this);
            if (change)
                change(f);
        }
        FinishChange();
    };
}

int Tdm_mat::ZonesInUse() const {
    const ds::Field& f = Invoer("temp_zones");
    // An emptied count means the one zone a conveyor always has.
    if (f.isNull())
        return 1;
    return static_cast<int>(std::clamp<long long>(f.asInteger(), 1, 10));
}

// ---- declaring the rules ----

void Tdm_mat::DeclareInvoerRules() {
    cds_invoer.onNewRecord = [this](ds::Table&) {
        ds::Table& zones = cds_invoer_zones;
        zones.setReadOnly(false);
        for (int i = 1; i <= 10; ++i) {
            zones.append();
            zones.fieldByName("index").setAsInteger(i);
            zones.post();
        }
    };
    // The record is always being edited, so every control can write at once.
    cds_invoer.afterPost = [](ds::Table& t) { t.edit(); };
    cds_invoer.calculationHook = [this](ds::Table&, ds::Field&) { cds_invoerCalcFields(); };

    Invoer("mattype").onChange = [this](ds::Field&) { MattypeChanged(); };
    Invoer("tandwiel_grootte").onChange = [this](ds::Field&) { TandwielGrootteChanged(); };
    Invoer("lengte").onChange = [this](ds::Field&) { LengteChanged(); };
    Invoer("breedte").onChange = [this](ds::Field&) { BreedteChanged(); };
    for (const char* name : {"belasting", "gewicht", "diameter"})
        Invoer(name).onChange = [this](ds::Field& f) { LoadFieldChanged(f); };
    // Validation runs before the calculation, so the pass started by typing a load uses it.
    Invoer("belasting").onValidate = [this](ds::Field&) { loadTyped_ = true; };
    Invoer("product_per_uur").onValidate = [this](ds::Field&) {
        if (cds_invoer.isEditing() && !calculating_)
            Invoer("product_leading").setAsBoolean(true);
    };
    Invoer("matsnelheid").onValidate = [this](ds::Field&) {
        if (cds_invoer.isEditing() && !calculating_)
            Invoer("product_leading").setAsBoolean(false);
    };
    const auto percentage = [](ds::Field& f, const std::string& text) {
        f.setAsInteger(std::clamp<long long>(detail::StrToInt(text), 0, 100));
    };
    Invoer("bezettingsgraad").onSetText = percentage;
    Invoer("stuw").onSetText = percentage;
    Invoer("smering").onChange = [this](ds::Field&) { ClampZoneTemperature(); };
    Invoer("temp_zones").onChange = [this](ds::Field&) { TempZonesChanged(); };

    for (int i = 0; i < cds_invoer.fieldCount(); ++i) {
        ds::Field& f = cds_invoer.field(i);
        if (f.fieldKind() != ds::FieldKind::Data || f.type() == ds::FieldType::Nested)
            continue;
        if (f.name() == "taal" || f.name() == "eenheid")
            continue; // written by SaveProject, not by the user
        WrapRules(f);
    }
}

void Tdm_mat::DeclareZoneRules() {
    ds::Table& zones = cds_invoer_zones;
    zones.afterScroll = [this](ds::Table&) { ZonesAfterScroll(); };
    zones.beforePost = [this](ds::Table&) { ClampZoneTemperature(); };
    for (const char* name : {"lengte", "temp"}) {
        ds::Field& f = zones.fieldByName(name);
        f.onChange = [this](ds::Field&) { ZoneValueChanged(); };
        WrapRules(f);
    }
}

// ---- field rules ----

void Tdm_mat::MattypeChanged() {
    const std::string type = Invoer("mattype").asString();
    if (cds_mat.isActive() && !type.empty())
        cds_mat.locate("mattype", {ds::Value(type)});
    if (!cds_mat.isActive() || !cds_matserie_tandwiel.isActive() || cds_mat.isEmpty())
        return;
    const std::string series = cds_mat.fieldByName("matserie").asString();
    if (series.empty())
        return;
    ds::Table& sprockets = cds_matserie_tandwiel;
    const std::string oldFilter = sprockets.filter();
    const bool wasFiltering = sprockets.filtered();
    const std::string filter = rtl::Format("matserie = %s", {series});
    sprockets.setFilter(filter);
    sprockets.setFiltered(true);
    if (filter != oldFilter && cds_invoer.isEditing() && wasFiltering && !loading_)
        Invoer("tandwiel_grootte").clear();
}

void Tdm_mat::TandwielGrootteChanged() {
    ds::Table& bores = cds_matserie_boring;
    ds::Table& sprockets = cds_matserie_tandwiel;
    if (!bores.isActive() || !cds_mat.isActive() || !sprockets.isActive() || cds_mat.isEmpty())
        return;
    const std::string series = cds_mat.fieldByName("matserie").asString();
    if (series.empty())
        return;
    const std::string sprocket = Invoer("tandwiel_grootte").asString();
    if (!sprocket.empty())
        sprockets.locate("tanden", {ds::Value(sprocket)});
    const std::string oldFilter = bores.filter();
    const std::string bore = Invoer("asdiameter").asString();
    const long long teeth = sprockets.isEmpty() ? 0 : sprockets.fieldByName("tanden").asInteger();
    const double dp = sprockets.isEmpty() ? 0.0 : sprockets.fieldByName("Dp").asFloat();
    const std::string filter =
        rtl::Format("matserie = %s and tanden = %d and dp = %f", {series, teeth, dp});
    bores.setFilter(filter);
    bores.setFiltered(true);
    if (filter == oldFilter || !cds_invoer.isEditing())
        return;
    // Locating the bore also makes it the row the calculation reads.
    if (!bore.empty() && bores.locate("boring", {ds::Value(bore)}))
        Invoer("asdiameter").setAsString(bore);
    else
        Invoer("asdiameter").clear();
}

void Tdm_mat::LengteChanged() {
    if (!cds_invoer.isActive() || ZonesInUse() != 1)
        return;
    ds::Table& zones = cds_invoer_zones;
    if (zones.isEmpty())
        return;
    zones.first();
    zones.edit();
    ds::Field& zoneLength = zones.fieldByName("lengte");
    const ds::Field& length = Invoer("lengte");
    if (length.isNull())
        zoneLength.clear();
    else
        detail::SetMetric(zoneLength, detail::MetricOf(length));
    zones.post();
}

void Tdm_mat::BreedteChanged() {
    const ds::Field& width = Invoer("breedte");
    if (cds_invoer.isEditing() && !width.isNull())
        detail::SetMetric(Invoer("aslengte"), detail::MetricOf(width) + kShaftBeyondBeltMm);
}

void Tdm_mat::LoadFieldChanged(ds::Field& field) {
    loadTyped_ = false;
    if (!cds_invoer.isEditing() || calculating_)
        return;
    ds::Field& load = Invoer("belasting");
    ds::Field& weight = Invoer("gewicht");
    if (&field == &load) {
        if (!load.isNull()) {
            weight.setRequired(false);
            load.setRequired(true);
        }
    } else if (!weight.isNull()) {
        load.clear();
        load.setRequired(false);
        weight.setRequired(true);
    }
}

void Tdm_mat::TempZonesChanged() {
    if (!cds_invoer.isEditing())
        return;
    ds::Field& centre = Invoer("aandrijving_centraal");
    // A centre drive is possible only with one temperature zone.
    if (ZonesInUse() >= 2) {
        if (centre.isNull() || centre.asBoolean()) {
            centre.setReadOnly(false);
            centre.setAsBoolean(false);
        }
        centre.setReadOnly(true);
    } else {
        centre.setReadOnly(false);
    }
    // The zone the grid stands on may have come into use or gone out of it.
    UpdateZoneReadOnly();
}

// ---- layout-row rules ----

void Tdm_mat::ZonesAfterScroll() {
    ds::Table& zones = cds_invoer_zones;
    if (!zones.isActive() || zones.isEmpty())
        return;
    const long long index = zones.fieldByName("index").asInteger();
    const int inUse = ZonesInUse();
    UpdateZoneReadOnly();
    ds::Field& zoneLength = zones.fieldByName("lengte");
    const ds::Value sum = zones.aggregateByName("SomLengte").value();
    const ds::Field& length = Invoer("lengte");
    // The last zone in use takes the rest of the conveyor length.
    if (index != inUse || !zoneLength.isNull() || sum.isNull() || length.isNull())
        return;
    {
        ChangeDepth depth(*this);
        zones.edit();
        detail::SetMetric(zoneLength, detail::MetricOf(length) - sum.asFloat());
        zones.post();
    }
    FinishChange();
}

void Tdm_mat::UpdateZoneReadOnly() {
    ds::Table& zones = cds_invoer_zones;
    if (!zones.isActive() || zones.isEmpty() || !cds_invoer.isActive())
        return;
    // Only the zones in use take input.
    zones.setReadOnly(zones.fieldByName("index").asInteger() > ZonesInUse());
}

void Tdm_mat::ZoneValueChanged() {
    ds::Table& zones = cds_invoer_zones;
    if (!zones.isEditing() || zonesPosting_)
        return;
    zonesPosting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{zonesPosting_};
    zones.post();
    cds_invoerCalcFields();
    zones.edit();
}

void Tdm_mat::ClampZoneTemperature() {
    ds::Table& zones = cds_invoer_zones;
    if (!zones.isEditing() || clamping_)
        return;
    clamping_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{clamping_};
    ds::Field& temp = zones.fieldByName("temp");
    const long long index = zones.fieldByName("index").asInteger();
    if (temp.isNull() && ZonesInUse() >= index)
        detail::SetMetric(temp, kDefaultZoneTemp);
    SyncBeltRow();
    if (!cds_mat.isActive() || cds_mat.isEmpty())
        return;
    const bool dry = Invoer("smering").asString() == "D";
    const double lowest =
        cds_mat.fieldByName(dry ? "min_temp_droog" : "min_temp_smering").asFloat();
    const double highest =
        cds_mat.fieldByName(dry ? "max_temp_droog" : "max_temp_smering").asFloat();
    const double current = detail::MetricOf(temp); // an empty zone not in use counts as 0 °C
    if (current < lowest)
        detail::SetMetric(temp, lowest);
    else if (current > highest)
        detail::SetMetric(temp, highest);
}

// ---- lookup rows ----

void Tdm_mat::SyncBeltRow() {
    if (!cds_invoer.isActive() || !cds_mat.isActive())
        return;
    const std::string type = Invoer("mattype").asString();
    if (type.empty() || (!cds_mat.isEmpty() && cds_mat.fieldByName("mattype").asString() == type))
        return;
    cds_mat.locate("mattype", {ds::Value(type)});
}

void Tdm_mat::PositionLookupRows() {
    if (!cds_invoer.isActive())
        return;
    for (const char* name : {"mattype", "tandwiel_grootte", "asdiameter", "p_mat_code",
                             "g_mat_code", "geleidingsmateriaal", "smering"}) {
        ds::Table* list = LookupTable(name);
        const ds::Field& data = Invoer(name);
        if (!list || !list->isActive() || data.isNull())
            continue;
        const std::string keyName = LookupKeyField(name);
        const std::string wanted = data.asString();
        if (!list->isEmpty() && list->fieldByName(keyName).asString() == wanted)
            continue;
        list->locate(keyName, {ds::Value(wanted)});
    }
}

ds::Table* Tdm_mat::LookupTable(const std::string& fieldName) {
    if (fieldName == "mattype")
        return &cds_mat;
    if (fieldName == "tandwiel_grootte")
        return &cds_matserie_tandwiel;
    if (fieldName == "asdiameter")
        return &cds_matserie_boring;
    if (fieldName == "p_mat_code")
        return &cds_prod_materiaal;
    if (fieldName == "g_mat_code")
        return &cds_geleiding_materiaal;
    if (fieldName == "geleidingsmateriaal")
        return &cds_support;
    if (fieldName == "smering")
        return &cds_smering;
    return nullptr;
}

std::string Tdm_mat::LookupKeyField(const std::string& fieldName) const {
    if (fieldName == "mattype")
        return "mattype";
    if (fieldName == "tandwiel_grootte")
        return "tanden";
    if (fieldName == "asdiameter")
        return "boring";
    if (fieldName == "p_mat_code" || fieldName == "g_mat_code")
        return "mat_code";
    if (fieldName == "geleidingsmateriaal")
        return "Taalcode";
    if (fieldName == "smering")
        return "smering";
    return {};
}

} // namespace zrn::belt
