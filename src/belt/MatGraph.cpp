#include "belt/MatGraph.h"

#include "belt/d_mat.h"
#include "dataset/Field.h"
#include "lang/TaalComponent.h"

#include <algorithm>
#include <map>
#include <optional>

namespace zrn::belt {

namespace {

//! What the graph reads of one load row, in the current unit system.
struct LoadValues {
    std::optional<double> strength;
    std::optional<double> continuous;
};

std::optional<double> Shown(const ds::Field& field) {
    if (field.isNull())
        return std::nullopt;
    return field.asFloat();
}

//! The zone lengths by index, as shown (peeking: no scroll rule runs).
std::map<long long, double> ZoneLengths(ds::Table& zones) {
    std::map<long long, double> lengths;
    if (!zones.isActive())
        return lengths;
    for (int pos = 0; pos < zones.recordCount(); ++pos) {
        ds::RowPeek peek = zones.peekRow(pos);
        const ds::Field& index = zones.fieldByName("index");
        if (index.isNull())
            continue;
        lengths[index.asInteger()] = Shown(zones.fieldByName("lengte")).value_or(0.0);
    }
    return lengths;
}

std::map<long long, LoadValues> LoadRows(ds::Table& load) {
    std::map<long long, LoadValues> rows;
    if (!load.isActive())
        return rows;
    for (int pos = 0; pos < load.recordCount(); ++pos) {
        ds::RowPeek peek = load.peekRow(pos);
        const ds::Field& index = load.fieldByName("index");
        if (index.isNull())
            continue;
        rows[index.asInteger()] = {Shown(load.fieldByName("strength")),
                                   Shown(load.fieldByName("continue"))};
    }
    return rows;
}

//! A metric pull in N/m in the current unit system.
double ShownPull(Tdm_mat& module, double metric) {
    lang::TTaalComponent* service = module.TaalComponent();
    if (service && service->Eenheid() == lang::ehImperial)
        return service->ToImperial("N/M", metric);
    return metric;
}

//! The continuous pull at the idler end.
double IdlerPull(Tdm_mat& module) {
    const ds::Field& centre = module.Invoer("aandrijving_centraal");
    if (!centre.isNull() && centre.asBoolean())
        return Shown(module.Invoer("uit_ond_belasting")).value_or(0.0);
    const TMatdata& data = module.Matdata();
    const double sf = data.opstartfactor;
    return ShownPull(module, sf > 0 ? data.retour_belasting / sf : data.retour_belasting);
}

double Percent(double value, double strength) {
    return strength != 0 ? value * 100 / strength : 0;
}

} // namespace

TGraphSeries GraphSeries(Tdm_mat& module) {
    TGraphSeries series;
    ds::Table& invoer = module.cds_invoer;
    if (!invoer.isActive() || invoer.isEmpty() || module.Invoer("uit_werk_belasting").isNull())
        return series;
    series.valid = true;

    const std::map<long long, double> zones = ZoneLengths(module.cds_invoer_zones);
    const std::map<long long, LoadValues> loads = LoadRows(module.cds_load_zones);
    const ds::Field& zonesInUse = module.Invoer("temp_zones");
    const long long inUse = zonesInUse.isNull() ? 1 : zonesInUse.asInteger();

    const double start = IdlerPull(module);
    if (zones.count(1) && loads.count(1)) {
        const double s1 = loads.at(1).strength.value_or(0.0);
        series.maxLoad.push_back({0, s1});
        series.beltLoad.push_back({0, start});
        series.percent.push_back({0, Percent(start, s1)});
    }

    double x = 0;
    const LoadValues* last = nullptr;
    for (long long index = 1; index <= inUse; ++index) {
        const auto zone = zones.find(index);
        if (zone == zones.end())
            continue;
        const auto load = loads.find(index);
        if (load != loads.end()) {
            const double strength = load->second.strength.value_or(0.0);
            series.highestStrength = std::max(series.highestStrength, strength);
            series.maxLoad.push_back({x, strength});
            series.percent.push_back({x, Percent(load->second.continuous.value_or(0.0), strength)});
            last = &load->second;
        }
        x += zone->second;
    }
    if (last) {
        series.maxLoad.push_back({x, last->strength.value_or(0.0)});
        series.beltLoad.push_back({x, last->continuous.value_or(0.0)});
    }
    series.leftAxisMax = 1.1 * series.highestStrength;
    return series;
}

} // namespace zrn::belt
