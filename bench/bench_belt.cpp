// Timings of the belt module on the delivered data beside the program: one calculation pass
// after a field change on a ten-zone project, reading the module's tables (OpenTables), and
// building the text report.

#include "belt/d_mat.h"
#include "lang/TaalComponent.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using zrn::belt::Tdm_mat;

// The delivered data and language files, wired as the belt input window wires them.
struct BeltSession {
    zrn::lang::TTaalComponent service;
    Tdm_mat module;

    BeltSession() {
        service.SetLoading(true);
        service.SetTaal("engels");
        service.SetLoading(false);
        service.SetTaalDirectory("taal");
        module.SetDataDirectory("data");
        module.SetTaalComponent(&service);
    }
};

// A 20 m conveyor in ten zones of 2 m, 20 to 38 °C, typed in as a user would.
void TypeTenZoneProject(Tdm_mat& m) {
    m.EnterText("project", "Ten zones");
    m.PickLookup("mattype", "ZRN 120 FT PP");
    m.EnterText("lengte", "20");
    m.EnterText("breedte", "600");
    m.PickLookup("p_mat_code", "S_PET");
    m.EnterText("gewicht", "500");
    m.EnterText("diameter", "66");
    m.PickLookup("geleidingsmateriaal", "S_SUPPORT_WEARSTRIPS");
    m.PickLookup("g_mat_code", "S_UHMWPE");
    m.EnterText("product_per_uur", "3000");
    m.PickLookup("smering", "D");
    m.PickLookup("tandwiel_grootte", "16");
    m.PickLookup("asdiameter", "25 rd");
    m.EnterText("temp_zones", "10");
    for (int i = 1; i <= 10; ++i) {
        m.EnterZoneText(i, "lengte", "2");
        m.EnterZoneText(i, "temp", std::to_string(18 + 2 * i));
    }
}

void BM_CalculationPassAfterFieldChange(benchmark::State& state) {
    BeltSession session;
    Tdm_mat& m = session.module;
    TypeTenZoneProject(m);
    if (m.CheckInput() != nullptr || !m.LastStop().empty()) {
        state.SkipWithError("the ten-zone project does not calculate");
        return;
    }
    const int passesBefore = m.PassCount();
    bool high = false;
    for (auto _ : state) {
        // A changed height difference: validation, store, one pass, the change rule.
        m.EnterText("hoogteverschil", high ? "100" : "0");
        high = !high;
    }
    if (m.PassCount() - passesBefore != static_cast<int>(state.iterations()))
        state.SkipWithError("a field change did not run exactly one calculation pass");
}
BENCHMARK(BM_CalculationPassAfterFieldChange);

void BM_OpenTables(benchmark::State& state) {
    BeltSession session;
    for (auto _ : state)
        session.module.OpenTables();
}
BENCHMARK(BM_OpenTables)->Unit(benchmark::kMillisecond);

void BM_BuildTextReport(benchmark::State& state) {
    BeltSession session;
    TypeTenZoneProject(session.module);
    std::size_t size = 0;
    for (auto _ : state) {
        std::string report = session.module.BuildTextReport();
        size = report.size();
        benchmark::DoNotOptimize(report);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_BuildTextReport);

} // namespace

BENCHMARK_MAIN();
