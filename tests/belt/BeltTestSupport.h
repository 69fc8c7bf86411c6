#pragma once

#include "belt/d_mat.h"
#include "lang/TaalComponent.h"
#include "rtl/NumberFormat.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

namespace zrn::belt::test {

//! The small belt data directory of these tests.
inline std::string FixtureDataDir() {
    return std::string(ZRN_FIXTURES_DIR) + "/belt/";
}

//! The delivered language directory (copied beside the test program).
inline std::string DeliveredTaalDir() {
    return rtl::ExeDirectory() + "taal/";
}

//! A belt data module on a data directory, wired to a language service reading the delivered
//! language files in English and metric units. Puts the number format back afterwards.
class BeltTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings().decimalSeparator = '.';
        rtl::FormatSettings().thousandSeparator = ',';
        taal_.SetLoading(true);
        taal_.SetTaal("engels");
        taal_.SetLoading(false);
        taal_.SetTaalDirectory(DeliveredTaalDir());
    }
    void TearDown() override {
        dm_.reset();
        rtl::FormatSettings() = saved_;
    }

    //! Creates the module on a data directory and attaches the language service, as the input
    //! window does.
    Tdm_mat& Open(const std::string& dataDir = FixtureDataDir()) {
        dm_ = std::make_unique<Tdm_mat>();
        dm_->SetDataDirectory(dataDir);
        dm_->SetTaalComponent(&taal_);
        return *dm_;
    }

    //! The base conveyor of the hand calculations: belt B10 PP, 10 m long, 400 mm wide, PET
    //! products of 100 mm at 100 % occupation with a typed load of 20 kg/m², slider bed and
    //! UHMW-PE wearstrip, dry, 100 % accumulation, level, 15 m/min, sprocket 10 with bore
    //! "25 rd", one zone at 20 °C, end drive. Shaft length follows the width (500 mm).
    Tdm_mat& OpenBase() {
        Tdm_mat& dm = Open();
        dm.ResetAll();
        dm.EnterText("project", "base");
        dm.PickLookup("mattype", "B10 PP");
        dm.EnterText("lengte", "10");
        dm.EnterText("breedte", "400");
        dm.PickLookup("p_mat_code", "S_PET");
        dm.EnterText("belasting", "20");
        dm.EnterText("diameter", "100");
        dm.PickLookup("geleidingsmateriaal", "S_SUPPORT_SLIDER_BED");
        dm.PickLookup("g_mat_code", "S_UHMWPE");
        dm.EnterText("matsnelheid", "15");
        dm.PickLookup("smering", "D");
        dm.PickLookup("tandwiel_grootte", "10");
        dm.PickLookup("asdiameter", "25 rd");
        return dm;
    }

    //! A field of the record as a number in the current unit system.
    double Num(const std::string& name) { return dm_->Invoer(name).asFloat(); }
    //! A field of the record as its stored text.
    std::string Str(const std::string& name) { return dm_->Invoer(name).asString(); }
    //! A field of a layout row (index 1..10), metric; NaN when the field is empty.
    double Zone(int index, const std::string& name) {
        return RowValue(dm_->cds_invoer_zones, index, name);
    }
    //! A field of a load row (index 1..10), metric; NaN when the field is empty.
    double Load(int index, const std::string& name) {
        return RowValue(dm_->cds_load_zones, index, name);
    }

    lang::TTaalComponent taal_;
    std::unique_ptr<Tdm_mat> dm_;

private:
    static double RowValue(ds::Table& t, int index, const std::string& name) {
        for (int pos = 0; pos < t.recordCount(); ++pos) {
            ds::RowPeek peek = t.peekRow(pos);
            if (t.fieldByName("index").asInteger() != index)
                continue;
            ds::Field& f = t.fieldByName(name);
            if (f.isNull())
                return std::nan("");
            if (auto* m = dynamic_cast<lang::TMetricField*>(&f))
                return m->MetricValue();
            return f.asFloat();
        }
        ADD_FAILURE() << "no row with index " << index;
        return std::nan("");
    }

    rtl::NumberFormat saved_;
};

} // namespace zrn::belt::test

namespace zrn::belt::test {

//! Every number of the record, its layout rows and its load rows is finite.
inline void ExpectAllFinite(Tdm_mat& dm) {
    auto check = [](ds::Table& t, const std::string& where) {
        for (int pos = 0; pos < t.recordCount(); ++pos) {
            ds::RowPeek peek = t.peekRow(pos);
            for (int i = 0; i < t.fieldCount(); ++i) {
                ds::Field& f = t.field(i);
                if (f.type() != ds::FieldType::Float || f.isNull())
                    continue;
                const double v = dynamic_cast<lang::TMetricField*>(&f)
                                     ? dynamic_cast<lang::TMetricField&>(f).MetricValue()
                                     : f.asFloat();
                EXPECT_TRUE(std::isfinite(v)) << where << " row " << pos << " " << f.name();
            }
        }
    };
    check(dm.cds_invoer, "cds_invoer");
    check(dm.cds_invoer_zones, "zones");
    check(dm.cds_load_zones, "load rows");
}

} // namespace zrn::belt::test
