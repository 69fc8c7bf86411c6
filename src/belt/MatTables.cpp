#include "belt/MatTables.h"

#include "lang/MetricField.h"

namespace zrn::belt::tables {

namespace {

ds::Field& Text(ds::Table& t, const std::string& name, int width, bool required = false) {
    ds::Field& f = t.addStringField(name, width);
    f.setRequired(required);
    return f;
}

ds::Field& Float(ds::Table& t, const std::string& name, bool required = false) {
    ds::Field& f = t.addFloatField(name);
    f.setRequired(required);
    return f;
}

ds::Field& Integer(ds::Table& t, const std::string& name, bool required = false) {
    ds::Field& f = t.addIntegerField(name);
    f.setRequired(required);
    return f;
}

ds::Field& Boolean(ds::Table& t, const std::string& name, bool required = false) {
    ds::Field& f = t.addBooleanField(name);
    f.setRequired(required);
    return f;
}

ds::Field& Calculated(ds::Table& t, const std::string& name, int width) {
    ds::Field& f = t.addStringField(name, width);
    f.setFieldKind(ds::FieldKind::Calculated);
    return f;
}

lang::TMetricField& Metric(ds::Table& t, const std::string& name, const std::string& unit,
                           const std::string& format, bool required = false) {
    auto& f = t.add<lang::TMetricField>(name, unit);
    f.setDisplayFormat(format);
    f.setRequired(required);
    return f;
}

// A result: stored with the record, written only by the calculation.
ds::Field& Result(ds::Field& f, const std::string& format) {
    f.setFieldKind(ds::FieldKind::InternalCalc);
    f.setDisplayFormat(format);
    return f;
}

ds::Field& ResultFloat(ds::Table& t, const std::string& name, const std::string& format) {
    return Result(t.addFloatField(name), format);
}

ds::Field& ResultMetric(ds::Table& t, const std::string& name, const std::string& unit,
                        const std::string& format) {
    return Result(t.add<lang::TMetricField>(name, unit), format);
}

ds::Field& ResultInteger(ds::Table& t, const std::string& name) {
    return Result(t.addIntegerField(name), "0");
}

void DeclareZones(ds::Table& zones) {
    ds::Field& index = zones.addIntegerField("index");
    index.setDisplayWidth(6);
    index.setAlignment(ds::Alignment::Left);
    Metric(zones, "lengte", "M", "#.##").setDisplayWidth(9);
    auto& temp = Metric(zones, "temp", "C", "#.#");
    temp.setDefaultExpression("20");
    temp.setDisplayWidth(9);
    zones.setIndexFieldNames("index");
    zones.addAggregate("SomLengte", "sum(lengte)");
}

void DeclareLoadRows(ds::Table& load) {
    ds::Field& index = load.addIntegerField("index");
    index.setDisplayLabel(" ");
    index.setDisplayWidth(6);
    auto value = [](ds::Field& f) {
        f.setDisplayFormat("0");
        f.setDisplayWidth(10);
        f.setAlignment(ds::Alignment::Left);
    };
    value(load.add<lang::TMetricField>("strength", "N/M"));
    value(load.add<lang::TMetricField>("continue", "N/M"));
    value(load.addFloatField("continue_perc"));
    value(load.add<lang::TMetricField>("startup", "N/M"));
    value(load.addFloatField("startup_perc"));
    load.setIndexFieldNames("index");
    // Read only by the limit checks, so they are switched on while a pass runs.
    load.addAggregate("max_continue", "max(continue_perc)").setActive(false);
    load.addAggregate("max_startup", "max(startup_perc)").setActive(false);
}

} // namespace

void DeclareMat(ds::Table& t) {
    Text(t, "mattype", 15, true);
    Text(t, "matserie", 5, true);
    Text(t, "matcode", 5, true);
    Float(t, "massa", true);
    Integer(t, "max_werk_bel", true);
    Integer(t, "min_temp_droog", true);
    Integer(t, "max_temp_droog", true);
    Integer(t, "min_temp_smering", true);
    Integer(t, "max_temp_smering", true);
    Float(t, "lin_uitz_coef", true);
    Float(t, "steek", true);
    Float(t, "min_afst_tw", true);
    Float(t, "max_afst_tw", true);
    Integer(t, "min_aant_wiel", true);
    Text(t, "wrijv_coef_onder", 5, true);
    Text(t, "wrijv_coef_boven", 5, true);
    Float(t, "max_asafstand");
}

void DeclareSprockets(ds::Table& t) {
    Text(t, "matserie", 5, true);
    Integer(t, "tanden", true);
    Float(t, "Dp", true);
    Calculated(t, "TandenDP", 40);
    t.setIndexFieldNames("tanden");
}

void DeclareBores(ds::Table& t) {
    Text(t, "matserie", 5, true);
    Integer(t, "tanden", true);
    Text(t, "boring", 8, true);
    Float(t, "boormaat", true);
    Float(t, "Dp", true);
    Integer(t, "I", true);
    Integer(t, "Ip", true);
    Float(t, "Dw", true);
    Float(t, "Bb", true);
    Integer(t, "SH", true);
    Float(t, "SD", true);
    Integer(t, "aantal_spie", true);
}

void DeclareTempCorrection(ds::Table& t) {
    Text(t, "matcode", 5, true);
    Integer(t, "temp_vanaf", true);
    Integer(t, "temp_tot", true);
    Float(t, "tcf", true);
}

void DeclareProductMaterials(ds::Table& t) {
    Text(t, "mat_code", 50);
    Calculated(t, "materiaal", 20);
    Text(t, "mat_wrijvings_code", 50);
}

void DeclareGuideMaterials(ds::Table& t) {
    Text(t, "mat_code", 50);
    Calculated(t, "materiaal", 20);
    Text(t, "mat_wrijvings_code", 50);
    Boolean(t, "ind_mat");
    t.setFilter("ind_mat = TRUE");
}

void DeclareSupports(ds::Table& t) {
    Text(t, "Taalcode", 50);
    Text(t, "mat_wrijvings_code", 50);
    Calculated(t, "Support", 50);
}

void DeclareLubrication(ds::Table& t) {
    Text(t, "smeer_code", 25);
    Text(t, "smering", 3);
    Calculated(t, "smeer_oms", 20);
}

void DeclareStartupFactors(ds::Table& t) {
    Integer(t, "v1");
    Integer(t, "v2");
    Float(t, "SF");
    struct Band {
        int v1, v2;
        double sf;
    };
    static constexpr Band kBands[] = {{0, 10, 1.0},  {10, 20, 1.1}, {20, 30, 1.2}, {30, 40, 1.3},
                                      {40, 50, 1.4}, {50, 60, 1.5}, {60, 999, 1.6}};
    t.open();
    for (const Band& b : kBands) {
        t.append();
        t.fieldByName("v1").setAsInteger(b.v1);
        t.fieldByName("v2").setAsInteger(b.v2);
        t.fieldByName("SF").setAsFloat(b.sf);
        t.post();
    }
    t.mergeChangeLog();
    t.first();
}

void DeclareWheelSpacing(ds::Table& t) {
    Text(t, "matserie", 5, true);
    Float(t, "afst_vanaf", true);
    Float(t, "afst_tm", true);
    Float(t, "aantal_wielen", true);
    Boolean(t, "zaagbaar");
}

ds::Table& DeclareInvoer(ds::Table& t) {
    Text(t, "project", 50);
    Text(t, "mattype", 15, true);
    Metric(t, "lengte", "M", "#.##", true);
    Metric(t, "breedte", "MM", "#.##", true);
    Text(t, "p_mat_code", 50, true);
    Float(t, "frc_prod_afw");
    Metric(t, "belasting", "KG/M2", "#.##", true);
    Metric(t, "gewicht", "GR", "#.#");
    Metric(t, "diameter", "MM", "#.#", true);
    Integer(t, "bezettingsgraad", true).setDefaultExpression("100");
    Text(t, "geleidingsmateriaal", 50, true);
    Text(t, "g_mat_code", 50, true);
    Float(t, "frc_geleiding_afw");
    Integer(t, "product_per_uur");
    Metric(t, "matsnelheid", "M/MIN", "0.##");
    Boolean(t, "product_leading", true).setDefaultExpression("TRUE");
    Text(t, "smering", 3, true);
    Integer(t, "stuw", true).setDefaultExpression("100");
    Metric(t, "hoogteverschil", "MM", "#0.#", true).setDefaultExpression("0");
    Text(t, "tandwiel_grootte", 50, true);
    Metric(t, "aslengte", "MM", "#.#", true);
    Text(t, "asdiameter", 50, true);
    Boolean(t, "aandrijving_centraal", true).setDefaultExpression("FALSE");
    Text(t, "taal", 50);
    Boolean(t, "eenheid");
    ds::Field& zonesInUse = Integer(t, "temp_zones");
    zonesInUse.setDefaultExpression("1");
    zonesInUse.setRange(1, 10);
    ds::Table& zones = t.addNestedField("zones").nestedTable();
    DeclareZones(zones);
    DeclareLoadRows(t.addNestedField("load_table").nestedTable());

    ResultFloat(t, "uit_wrijf_product", "0.00");
    ResultFloat(t, "uit_wrijf_onder", "0.00");
    ResultFloat(t, "uit_wrijf_boven", "0.00");
    ResultMetric(t, "uit_max_belasting", "N/M", "0");
    ResultMetric(t, "uit_werk_belasting", "N/M", "0");
    ResultMetric(t, "uit_ond_belasting", "N/M", "").setVisible(false);
    ResultMetric(t, "uit_draaimoment", "NM", "0");
    ResultFloat(t, "uit_omwentelingen", "0");
    ResultMetric(t, "uit_vermogen_as", "WATT", "0");
    ResultMetric(t, "uit_motorvermogen", "WATT", "0");
    ResultMetric(t, "uit_matgewicht", "KG/M2", "#0.##");
    ResultMetric(t, "uit_uitzetting_lengte", "MM", "0.#");
    ResultMetric(t, "uit_uitzetting_breedte", "MM", "#0.#");
    ResultMetric(t, "uit_lengte_mat", "M", "#0.#");
    ResultFloat(t, "uit_product_op_baan", "0");
    ResultInteger(t, "uit_aandrijf_wielen");
    ResultInteger(t, "uit_retour_wielen");
    ResultInteger(t, "uit_lagers_aandrijfas");
    ResultInteger(t, "uit_lagers_retouras");
    ResultMetric(t, "uit_doorbuiging_aandrijfas", "MM", "#0.##");
    ResultMetric(t, "uit_doorbuiging_retouras", "MM", "#0.##");
    ResultFloat(t, "uit_hoekverdraaiing", "#0.##");
    ResultFloat(t, "uit_opstartfactor", "#0.#");
    ResultMetric(t, "uit_max_doorbuiging_aandrijfas", "MM", "#0.##");
    ResultMetric(t, "uit_max_doorbuiging_retouras", "MM", "#0.##");
    ResultFloat(t, "uit_max_hoekverdraaiing", "#0.##");
    Result(t.addStringField("uit_warning", 512), "");
    Result(t.addStringField("uit_invoerwarning", 255), "").setVisible(false);
    return zones;
}

} // namespace zrn::belt::tables
