#include "belt/MatRapport.h"

#include "belt/d_mat.h"
#include "dataset/Table.h"

#include <optional>

namespace zrn::belt {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The three ways a two-column line joins its halves; they put the right halves of the zone
// and load tables in the same columns (42 + 1 + 3 = 40 + 1 + 5).
std::string J1(const std::string& left, const std::string& right) {
    return rtl::Format("%-42s%s", {left, right});
}
std::string J2(const std::string& left, const std::string& right) {
    return rtl::Format("%-40s %s", {left, right});
}
std::string J3(const std::string& left, const std::string& right) {
    return rtl::Format("%-42s %s", {left, right});
}

// Position of the visible row whose key field holds `key`: the current row when it does,
// else the first such row. Nothing when no row does.
std::optional<int> PositionOf(ds::Table& table, const std::string& keyField,
                              const std::string& key) {
    if (key.empty() || !table.isActive() || table.isEmpty())
        return std::nullopt;
    const ds::Field& field = table.fieldByName(keyField);
    if (field.asString() == key)
        return table.recNo() - 1;
    for (int pos = 0; pos < table.recordCount(); ++pos) {
        auto peek = table.peekRow(pos);
        if (field.asString() == key)
            return pos;
    }
    return std::nullopt;
}

// "W_ANDERS" marks a material whose friction the user types.
bool IsOtherMaterial(const std::string& code) {
    static const std::string kOther = "W_ANDERS";
    if (code.size() != kOther.size())
        return false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != kOther[i])
            return false;
    }
    return true;
}

} // namespace

TMatRapport::TMatRapport(Tdm_mat& module) : module_(module), n_(module.TaalComponent()) {}

// ---- values of the record ----

double TMatRapport::Num(const std::string& name) const {
    return module_.Invoer(name).asFloat();
}

long long TMatRapport::Int(const std::string& name) const {
    return module_.Invoer(name).asInteger();
}

std::string TMatRapport::Shown(const std::string& name) const {
    return TReportNotation::Report(module_.Invoer(name).text());
}

std::string TMatRapport::Str(const std::string& name) const {
    return TReportNotation::Report(module_.Invoer(name).asString());
}

std::string TMatRapport::LookupText(ds::Table& list, const std::string& keyField,
                                    const std::string& key, const std::string& textField) {
    // A choice the list does not hold shows nothing rather than another row's text.
    const std::optional<int> pos = PositionOf(list, keyField, key);
    if (!pos)
        return {};
    auto peek = list.peekRow(*pos);
    return TReportNotation::Report(list.fieldByName(textField).asString());
}

std::string TMatRapport::FrictionNote() {
    ds::Table& list = module_.cds_prod_materiaal;
    const std::optional<int> pos =
        PositionOf(list, "mat_code", module_.Invoer("p_mat_code").asString());
    if (!pos)
        return {};
    auto peek = list.peekRow(*pos);
    if (!IsOtherMaterial(list.fieldByName("mat_wrijvings_code").asString()))
        return {};
    return n_.F("%s %s", {n_.Text("S_COEFFICIENT_OF_FRICTION"), Shown("frc_prod_afw")});
}

// ---- layout and load rows ----

void TMatRapport::ReadZones() {
    zones_.clear();
    ds::Table& t = module_.cds_invoer_zones;
    if (!t.isActive())
        return;
    const ds::Field& index = t.fieldByName("index");
    const ds::Field& lengte = t.fieldByName("lengte");
    const ds::Field& temp = t.fieldByName("temp");
    for (int pos = 0; pos < t.recordCount(); ++pos) {
        auto peek = t.peekRow(pos);
        ZoneRow row;
        row.index = index.asInteger();
        row.filled = !lengte.isNull();
        row.number = TReportNotation::Report(index.asString());
        row.length = TReportNotation::Report(lengte.text());
        row.temperature = TReportNotation::Report(temp.text());
        zones_.push_back(std::move(row));
    }
}

void TMatRapport::ReadLoadRows() {
    loads_.clear();
    ds::Table& t = module_.cds_load_zones;
    if (!t.isActive())
        return;
    const ds::Field& index = t.fieldByName("index");
    const ds::Field& strength = t.fieldByName("strength");
    for (int pos = 0; pos < t.recordCount(); ++pos) {
        auto peek = t.peekRow(pos);
        LoadRow row;
        row.index = index.asInteger();
        row.filled = !strength.isNull();
        row.number = TReportNotation::Report(index.asString());
        row.strength = strength.asFloat();
        row.running = t.fieldByName("continue").asFloat();
        row.runningPerc = t.fieldByName("continue_perc").asFloat();
        row.startup = t.fieldByName("startup").asFloat();
        row.startupPerc = t.fieldByName("startup_perc").asFloat();
        loads_.push_back(std::move(row));
    }
}

std::string TMatRapport::ZoneText(int index) const {
    for (const ZoneRow& row : zones_) {
        if (row.index != index)
            continue;
        if (!row.filled)
            return {};
        // Zone 7 sits on the line whose left half is two columns wider.
        return n_.F(index == 7 ? "%3s%12s%14s" : "%5s%12s%14s",
                    {row.number, row.length, row.temperature});
    }
    return {};
}

const TMatRapport::LoadRow* TMatRapport::FindLoadRow(long long index) const {
    for (const LoadRow& row : loads_)
        if (row.index == index)
            return &row;
    return nullptr;
}

std::string TMatRapport::LoadText(int index) const {
    const LoadRow* row = FindLoadRow(index);
    if (!row || !row->filled)
        return {};
    return n_.F("%5s%7.0f%10.0f%4d%8.0f%4d",
                {row->number, row->strength, row->running,
                 static_cast<long long>(rtl::RoundHalfEven(row->runningPerc)), row->startup,
                 static_cast<long long>(rtl::RoundHalfEven(row->startupPerc))});
}

// ---- the text report ----

std::vector<std::string> TMatRapport::InputLines() {
    const TReportNotation& n = n_;
    const std::string rule40 = n.Rule(40) + " " + n.Rule(40);
    const auto field = [&](const char* key, const std::string& value) {
        return n.F("%-18s : %s", {n.Cap(key), value});
    };
    const auto quantity = [&](const char* pattern, const char* key, rtl::FormatArg value,
                              const std::string& unit) {
        return n.F(pattern, {n.Cap(key), std::move(value), unit});
    };

    Tdm_mat& m = module_;
    const auto key = [&m](const char* name) { return m.Invoer(name).asString(); };
    const std::string product =
        LookupText(m.cds_prod_materiaal, "mat_code", key("p_mat_code"), "materiaal");
    const std::string support =
        LookupText(m.cds_support, "Taalcode", key("geleidingsmateriaal"), "Support");
    const std::string wearstrip =
        LookupText(m.cds_geleiding_materiaal, "mat_code", key("g_mat_code"), "materiaal");
    const std::string lubrication =
        LookupText(m.cds_smering, "smering", key("smering"), "smeer_oms");
    const std::string sprocket =
        LookupText(m.cds_matserie_tandwiel, "tanden", key("tandwiel_grootte"), "TandenDP");
    const std::string bore =
        LookupText(m.cds_matserie_boring, "boring", key("asdiameter"), "boring");

    std::vector<std::string> lines;
    lines.push_back(rule40);
    lines.push_back(n.Centre(n.Upper("S_BELT_SPECIFICATION"), 40) + " " +
                    n.Centre(n.Upper("S_PRODUCT_SPECIFICATION"), 40));
    lines.push_back(rule40);
    lines.push_back(
        J1(field("S_BELTTYPE", Str("mattype")),
           n.F("%-18s : %s %s", {n.Cap("S_MATERIAL_PRODUCT"), product, FrictionNote()})));
    lines.push_back(J1(quantity("%-18s : %-13f %s", "S_MINUS_LENGTH", Num("lengte"), n.Unit("M")),
                       quantity("%-18s : %-13f %s", "S_LOAD", Num("belasting"), n.Unit("KG/M2"))));
    lines.push_back(
        J1(quantity("%-18s : %-13f %s", "S_MINUS_WIDTH", Num("breedte"), n.Unit("MM")),
           quantity("%-18s : %-13S %s", "S_WEIGHT_PRODUCT", Shown("gewicht"), n.Unit("GR"))));
    lines.push_back(
        J1("", quantity("%-18s : %-13f %s", "S_DIAMETER_PRODUCT", Num("diameter"), n.Unit("MM"))));
    lines.push_back(
        J1("", quantity("%-18s : %d %s", "S_OCCUPATION_PERC", Int("bezettingsgraad"), "%")));
    lines.push_back(rule40);
    lines.push_back(n.Centre(n.Upper("S_CONVEYOR_SPECIFICATION"), 40) + " " +
                    n.Centre(n.Upper("S_TEMPERATURE_ZONES"), 40));
    lines.push_back(rule40);
    lines.push_back(
        J1(field("S_TYPE_OF_SUPPORT", support),
           n.F("%5s%11s %-5s%8s%5s", {n.Cap("S_NR"), n.Cap("S_LENGTH"), "[" + n.Unit("M") + "]",
                                      n.Cap("S_TEMP"), "[" + n.Unit("C") + "]"})));
    lines.push_back(
        J2(n.F("%-18s : %s %s", {n.Cap("S_WEARSTRIP_MATERIAL"), wearstrip, std::string()}),
           n.Rule(40)));
    lines.push_back(
        J2(n.F("%-18s : %.0f", {n.Cap("S_PRODUCT_/_HOUR"), Num("product_per_uur")}), ZoneText(1)));
    lines.push_back(
        J2(quantity("%-18s : %-13s %s", "S_BELTSPEED", Shown("matsnelheid"), n.Unit("M/MIN")),
           ZoneText(2)));
    lines.push_back(J2(field("S_LUBRICATION", lubrication), ZoneText(3)));
    lines.push_back(
        J2(quantity("%-18s : %-13d %s", "S_ACCUMULATION", Int("stuw"), "%"), ZoneText(4)));
    lines.push_back(J2(
        quantity("%-18s : %-13.0f %s", "S_HEIGHT_DIFFERENCE", Num("hoogteverschil"), n.Unit("MM")),
        ZoneText(5)));
    lines.push_back(
        J2(n.F("%-18s : %.0f", {n.Cap("S_NR_TEMP_ZONES"), Num("temp_zones")}), ZoneText(6)));
    lines.push_back(J3(field("S_SPROCKET_SIZE", sprocket), ZoneText(7)));
    lines.push_back(J2(field("S_DIAMETER_SHAFT", bore), ZoneText(8)));
    lines.push_back(
        J2(quantity("%-18s : %-13.0f %s", "S_LENGTH_SHAFT", Num("aslengte"), n.Unit("MM")),
           ZoneText(9)));
    lines.push_back(
        J2(field("S_CENTERDRIVE_(Y/N)",
                 n.Text(m.Invoer("aandrijving_centraal").asBoolean() ? "S_YES" : "S_NO")),
           ZoneText(10)));
    return lines;
}

std::vector<std::string> TMatRapport::OutputLines() {
    const TReportNotation& n = n_;
    const std::string rule40 = n.Rule(40) + " " + n.Rule(40);
    const auto result = [&](const char* pattern, const char* key, rtl::FormatArg value,
                            const std::string& unit) {
        return n.F(pattern, {n.Cap(key), std::move(value), unit});
    };
    const auto count = [&](const char* key, const char* name) {
        return n.F("%-26s : %-5d", {n.Cap(key), Int(name)});
    };
    const auto limit = [&](const char* key, const char* value, const char* maximum,
                           const std::string& unit) {
        return n.F("%-26s : %-5.2f %-5s ( %s %.2f %s )",
                   {n.Cap(key), Num(value), unit, n.Text("S_MAXIMUM"), Num(maximum), unit});
    };

    std::vector<std::string> lines;
    lines.push_back(n.Rule(40));
    lines.push_back(n.Centre(n.Upper("S_COEFFICIENT_OF_FRICTION"), 40));
    lines.push_back(n.Rule(40));
    lines.push_back(n.F("%-26s : %.2f", {n.Cap("S_PRODUCT_TO_BELT"), Num("uit_wrijf_product")}));
    lines.push_back(
        n.F("%-26s : %.2f", {n.Cap("S_BELT_TO_SUPPORT_UPPER_PAR"), Num("uit_wrijf_boven")}));
    lines.push_back(
        n.F("%-26s : %.2f", {n.Cap("S_BELT_TO_SUPPORT_LOWER_PAR"), Num("uit_wrijf_onder")}));
    lines.push_back(rule40);
    lines.push_back(n.Centre(n.Upper("S_BELT_CALCULATION_RESULTS"), 40) + " " +
                    n.Centre(n.Upper("S_TABLE_OF_LOAD_INFORMATION"), 40));
    lines.push_back(rule40);
    lines.push_back(J2(
        result("%-26s : %-5.0f %s", "S_MAX_WORKING_LOAD", Num("uit_max_belasting"), n.Unit("N/M")),
        n.F("%5s%9s%12s%10s", {n.Cap("S_ZONE"), n.Cap("S_STRENGTH"), n.Cap("S_CONTINUOUS"),
                               n.Cap("S_STARTMINUSUP")})));
    lines.push_back(
        J2(result("%-26s : %-5.0f %s", "S_BELT_LOAD", Num("uit_werk_belasting"), n.Unit("N/M")),
           n.F("%12s%10s%4s%8s%4s", {n.Unit("N/M"), n.Unit("N/M"), "%", n.Unit("N/M"), "%"})));
    lines.push_back(J2(
        result("%-26s : %-5.0f %s", "S_TORQUE", Num("uit_draaimoment"), n.Unit("NM")), n.Rule(40)));
    lines.push_back(
        J2(result("%-26s : %-5.0f %s", "S_RPM", Num("uit_omwentelingen"), "1/min"), LoadText(1)));
    lines.push_back(
        J2(result("%-26s : %-5s %s", "S_SHAFT_POWER", Shown("uit_vermogen_as"), n.Unit("WATT")),
           LoadText(2)));
    lines.push_back(J2(result("%-26s : %-5s %s", "S_MOTOR_POWER_(EFF_75%)",
                              Shown("uit_motorvermogen"), n.Unit("WATT")),
                       LoadText(3)));
    lines.push_back(
        J2(result("%-26s : %-5.0f %s", "S_BELT_WEIGHT", Num("uit_matgewicht"), n.Unit("KG/M2")),
           LoadText(4)));
    lines.push_back(J2(result("%-26s : %s %s", "S_THERMAL_LENGTH_EXPANSION",
                              Shown("uit_uitzetting_lengte"), n.Unit("MM")),
                       LoadText(5)));
    lines.push_back(J2(result("%-26s : %s %s", "S_THERMAL_WIDTH_EXPANSION",
                              Shown("uit_uitzetting_breedte"), n.Unit("MM")),
                       LoadText(6)));
    lines.push_back(
        J2(result("%-26s : %-5.0f %s", "S_TOTAL_BELT_LENGTH", Num("uit_lengte_mat"), n.Unit("M")),
           LoadText(7)));
    lines.push_back(J2(count("S_NR_SPROCKETS_DRIVE", "uit_aandrijf_wielen"), LoadText(8)));
    lines.push_back(J2(count("S_NR_SPROCKETS_IDLER", "uit_retour_wielen"), LoadText(9)));
    lines.push_back(J2(count("S_NR_BEARINGS_DRIVE", "uit_lagers_aandrijfas"), LoadText(10)));
    lines.push_back(count("S_NR_BEARINGS_IDLER", "uit_lagers_retouras"));
    lines.push_back(limit("S_DEFLECTION_DRIVE_SHAFT", "uit_doorbuiging_aandrijfas",
                          "uit_max_doorbuiging_aandrijfas", n.Unit("MM")));
    lines.push_back(limit("S_DEFLECTION_IDLER_SHAFT", "uit_doorbuiging_retouras",
                          "uit_max_doorbuiging_retouras", n.Unit("MM")));
    lines.push_back(limit("S_TORSION_DRIVE_SHAFT_CAPTIAL", "uit_hoekverdraaiing",
                          "uit_max_hoekverdraaiing", std::string(1, kDegreeSign)));
    lines.push_back(n.F("%-26s : %-5.1f", {n.Cap("S_STARTUP_FACTOR"), Num("uit_opstartfactor")}));
    const TMatdata& data = module_.Matdata();
    lines.push_back(
        n.F("%-26s : %-5d",
            {n.Cap("S_NR_PRODUCTS_ON_CONVEYOR"),
             static_cast<long long>(rtl::RoundHalfEven(data.producten_per_m * data.lengte))}));
    return lines;
}

std::vector<std::string> TMatRapport::RemarkLines() {
    std::string warnings = Str("uit_warning");
    if (warnings.empty())
        return {};
    // Each warning ends with its own line break; the report ends its lines itself, so the
    // last break would leave an empty line behind the remarks.
    if (warnings.size() >= 2 && warnings.compare(warnings.size() - 2, 2, "\r\n") == 0)
        warnings.resize(warnings.size() - 2);
    else if (warnings.back() == '\n' || warnings.back() == '\r')
        warnings.pop_back();
    return {n_.Rule(40), n_.Centre(n_.Upper("S_REMARKS"), 40), n_.Rule(40), warnings};
}

std::string TMatRapport::TextReport(const rtl::Date& date) {
    ReadZones();
    ReadLoadRows();
    const TReportNotation& n = n_;
    const auto title = [&](const std::string& text) {
        return n.Rule(28) + n.Centre(text, 24) + n.Rule(28);
    };
    std::vector<std::string> lines;
    lines.push_back(n.Centre(n.Text("S_ZRN_BELT_COPYRIGHT"), 80));
    lines.push_back("");
    lines.push_back(title(n.Text("S_GENERAL_INFORMATION")));
    lines.push_back(n.F("%-18s : %s", {n.Cap("S_PROJECTNAME"), Str("project")}));
    lines.push_back(
        n.F("%-18s : %s", {n.Cap("S_DATE"), TReportNotation::Report(rtl::DateToStr(date))}));
    lines.push_back(title(n.Upper("S_DATA_INPUT")));
    for (std::string& line : InputLines())
        lines.push_back(std::move(line));
    lines.push_back(title(n.Upper("S_DATA_OUTPUT")));
    for (std::string& line : OutputLines())
        lines.push_back(std::move(line));
    for (std::string& line : RemarkLines())
        lines.push_back(std::move(line));
    return JoinLines(lines);
}

// ---- the columnar report ----

std::string TMatRapport::ColumnarHeader() {
    const TReportNotation& n = n_;
    std::vector<std::string> lines;
    lines.push_back(n.Centre(n.Text("S_COLUMNAR_REPORT"), 80));
    lines.push_back("");
    lines.push_back(n.F("%-15.15s%-13.13s%-6.6s%-8.8s%-10.10s%-9.9s%-8.8s%-11.11s",
                        {n.Cap("S_PROJECTNAME"), n.Cap("S_BELTMINUS_OR"), n.Cap("S_WIDTH"),
                         n.Cap("S_AMOUNT"), n.Cap("S_LOAD_CAPITAL") + " [%]", n.Cap("S_SPROCK"),
                         n.Cap("S_TORQUE"), n.Cap("S_POWER")}));
    lines.push_back(n.F("%-15.15s%-13.13s%5.5s%7.7s%10.10s%10.10s%7.7s%13.13s",
                        {std::string(), n.Cap("S_CHAINTYPE"), "[" + n.Unit("MM") + "]",
                         "[" + n.Unit("M") + "]", n.Text("S_CON_ST"), n.Text("S_DR_IDL"),
                         "[" + n.Unit("NM") + "]", n.Text("S_SHAFT_MOTOR")}));
    lines.push_back(n.Rule(80));
    return JoinLines(lines);
}

std::string TMatRapport::ColumnarLine() {
    ReadLoadRows();
    // The load of the last zone in use is the one at the drive.
    const LoadRow* last = FindLoadRow(Int("temp_zones"));
    const double running = last ? last->runningPerc : 0.0;
    const double startup = last ? last->startupPerc : 0.0;
    return n_.F("%-15.15s%-13.13s%5.1f%7.1f%6.0f%4.0f%5d%4d%8.0f%7.0f%6.0f",
                {Str("project"), Str("mattype"), Num("breedte"), Num("uit_lengte_mat"), running,
                 startup, Int("uit_aandrijf_wielen"), Int("uit_retour_wielen"),
                 Num("uit_draaimoment"), Num("uit_vermogen_as"), Num("uit_motorvermogen")}) +
           "\r\n";
}

// ---- the module's report operations ----

std::string Tdm_mat::BuildTextReport() {
    return TMatRapport(*this).TextReport(rtl::Today());
}

std::string Tdm_mat::BuildColumnarLine(bool withHeader) {
    TMatRapport report(*this);
    return (withHeader ? report.ColumnarHeader() : std::string()) + report.ColumnarLine();
}

} // namespace zrn::belt
