#include "BeltTestSupport.h"

#include "rtl/Format.h"

#include <cmath>
#include <vector>

// The delivered data directory: it opens, and every choice a user can make calculates.
namespace zrn::belt::test {
namespace {

class DeliveredData : public BeltTest {
protected:
    // Rows of a lookup table as the user sees them (after its filters), by key.
    static std::vector<std::string> Keys(ds::Table& t, const std::string& keyField) {
        std::vector<std::string> keys;
        for (int pos = 0; pos < t.recordCount(); ++pos) {
            ds::RowPeek peek = t.peekRow(pos);
            keys.push_back(t.fieldByName(keyField).asString());
        }
        return keys;
    }

    // The figures of the pass are all finite and the pass ran to its end.
    void Check(Tdm_mat& dm, const std::string& combination) {
        ++passes_;
        bool ok = dm.LastStop().empty() && dm.CheckInput() == nullptr;
        for (const char* name :
             {"uit_werk_belasting", "uit_draaimoment", "uit_vermogen_as", "uit_motorvermogen",
              "uit_uitzetting_lengte", "uit_lengte_mat", "uit_doorbuiging_aandrijfas",
              "uit_doorbuiging_retouras", "uit_hoekverdraaiing", "uit_max_hoekverdraaiing",
              "uit_wrijf_product", "uit_wrijf_boven", "uit_wrijf_onder"})
            ok = ok && !dm.Invoer(name).isNull() && std::isfinite(dm.Invoer(name).asFloat());
        ok = ok && dm.Invoer("uit_aandrijf_wielen").asInteger() >= 1 &&
             dm.Invoer("uit_retour_wielen").asInteger() >= 1;
        if (!ok && failures_.size() < 10)
            failures_.push_back(combination + ": " + dm.LastStop());
        failed_ += ok ? 0 : 1;
    }

    void Pick(Tdm_mat& dm, const std::string& field, const std::string& key,
              const std::string& combination) {
        try {
            dm.PickLookup(field, key);
        } catch (const Error& e) {
            failures_.push_back(combination + ": " + e.what());
            ++failed_;
        }
    }

    int passes_ = 0;
    int failed_ = 0;
    std::vector<std::string> failures_;
};

TEST_F(DeliveredData, EveryBeltSprocketBoreMaterialSupportAndLubricationCalculates) {
    Tdm_mat& dm = Open(rtl::ExeDirectory() + "data");
    dm.ResetAll();
    dm.EnterText("project", "all combinations");
    dm.EnterText("lengte", "8");
    dm.EnterText("breedte", "600");
    dm.EnterText("belasting", "40");
    dm.EnterText("diameter", "80");
    dm.EnterText("matsnelheid", "20");
    dm.EnterLookup("p_mat_code");
    dm.EnterLookup("geleidingsmateriaal");
    dm.EnterLookup("g_mat_code");
    dm.EnterLookup("smering");

    const auto products = Keys(dm.cds_prod_materiaal, "mat_code");
    const auto guides = Keys(dm.cds_geleiding_materiaal, "mat_code");
    const auto supports = Keys(dm.cds_support, "Taalcode");
    const auto lubrications = Keys(dm.cds_smering, "smering");
    ASSERT_EQ(products.size(), 9u);
    ASSERT_EQ(guides.size(), 6u) << "wearstrips offered for the belt";
    ASSERT_EQ(supports.size(), 4u);
    ASSERT_EQ(lubrications.size(), 3u);

    int bores = 0;
    for (const std::string& belt : Keys(dm.cds_mat, "mattype")) {
        Pick(dm, "mattype", belt, belt);
        for (const std::string& sprocket : Keys(dm.cds_matserie_tandwiel, "tanden")) {
            Pick(dm, "tandwiel_grootte", sprocket, belt);
            for (const std::string& bore : Keys(dm.cds_matserie_boring, "boring")) {
                ++bores;
                const std::string where = belt + " / " + sprocket + " / " + bore;
                Pick(dm, "asdiameter", bore, where);
                for (const std::string& lub : lubrications) {
                    Pick(dm, "smering", lub, where);
                    for (const std::string& support : supports) {
                        Pick(dm, "geleidingsmateriaal", support, where);
                        for (const std::string& guide : guides) {
                            Pick(dm, "g_mat_code", guide, where);
                            for (const std::string& product : products) {
                                const std::string combination = where + " / " + lub + " / " +
                                                                support + " / " + guide + " / " +
                                                                product;
                                Pick(dm, "p_mat_code", product, combination);
                                Check(dm, combination);
                            }
                        }
                    }
                }
                // the zone at the ends of the belt's range and at room temperature, dry and
                // lubricated, at a slow, a middle and a fast speed (bands 0..10, 30..40, 60..)
                for (const std::string& lub : {lubrications.front(), lubrications.back()}) {
                    Pick(dm, "smering", lub, where);
                    const bool dry = lub == "D";
                    const double low =
                        dm.cds_mat.fieldByName(dry ? "min_temp_droog" : "min_temp_smering")
                            .asFloat();
                    const double high =
                        dm.cds_mat.fieldByName(dry ? "max_temp_droog" : "max_temp_smering")
                            .asFloat();
                    for (double temp : {low, 20.0, high}) {
                        for (const char* speed : {"5", "35", "70"}) {
                            const std::string combination = where + " / " + lub + " at " +
                                                            rtl::FloatToStr(temp) + " °C, " +
                                                            speed + " m/min";
                            try {
                                dm.EnterZoneText(1, "temp", rtl::FloatToStr(temp));
                                dm.EnterText("matsnelheid", speed);
                            } catch (const Error& e) {
                                failures_.push_back(combination + ": " + e.what());
                                ++failed_;
                            }
                            Check(dm, combination);
                        }
                    }
                }
                dm.EnterZoneText(1, "temp", "20");
                dm.EnterText("matsnelheid", "20");
            }
        }
    }
    EXPECT_EQ(bores, 384) << "every belt type's sprockets and their bores";
    EXPECT_EQ(failed_, 0) << ::testing::PrintToString(failures_);
    EXPECT_GT(passes_, 240000);
}

} // namespace
} // namespace zrn::belt::test
