#include "BeltTestSupport.h"

#include <cmath>
#include <numbers>

// The calculation pass on the small fixture data, against values worked out by hand. The
// base conveyor (BeltTestSupport.h) gives, with PP columns, dry, 20 °C:
//   μp = 0.2 (PET), μb = 0.25 (UHMW wearstrip), μo = 0.25 (slider bed of UHMW)
//   rows = (400 − 100) / 86.6025 + 1 = 4.464102; n = 10 × 4.464102 = 44.641016 per metre
//   speed 15 → band 10..20, SF = 1.25
//   Fi = 5·0.25·10·9.81·1.1·1.25 = 168.609375
//   W = (25·0.25 + 1.1·5·0.25 + 20·0.2·1)·10·9.81·1.25 = 11.625·122.625 = 1425.515625
//   strength of zone 1 = 10000 × 0.9 (PP 20..40 °C) = 9000
namespace zrn::belt::test {
namespace {

constexpr double kPi = std::numbers::pi;

class Calculation : public BeltTest {};

TEST_F(Calculation, BaseConveyorGivesTheHandWorkedResults) {
    Tdm_mat& dm = OpenBase();
    EXPECT_EQ(dm.LastStop(), "");
    EXPECT_EQ(dm.CheckInput(), nullptr);
    // friction
    EXPECT_DOUBLE_EQ(Num("uit_wrijf_product"), 0.2);
    EXPECT_DOUBLE_EQ(Num("uit_wrijf_boven"), 0.25);
    EXPECT_DOUBLE_EQ(Num("uit_wrijf_onder"), 0.25);
    // typed speed: throughput 15 × 44.641016 × 60 = 40176.91, stored as 40177
    EXPECT_FALSE(dm.Invoer("product_leading").asBoolean());
    EXPECT_EQ(dm.Invoer("product_per_uur").asInteger(), 40177);
    EXPECT_DOUBLE_EQ(Num("belasting"), 20);
    EXPECT_DOUBLE_EQ(Num("uit_max_belasting"), 10000);
    EXPECT_NEAR(Num("uit_werk_belasting"), 1425.515625, 1e-9);
    EXPECT_DOUBLE_EQ(Num("uit_ond_belasting"), 0); // an end drive never wrote it
    // T = 1425.515625 / 1.25 × 0.4 × 0.1 / 2 = 22.80825
    EXPECT_NEAR(Num("uit_draaimoment"), 22.80825, 1e-9);
    EXPECT_NEAR(Num("uit_omwentelingen"), 15 / (kPi * 0.1), 1e-9);
    EXPECT_NEAR(Num("uit_vermogen_as"), 114.04125, 1e-9); // 1140.4125 × 0.4 × 15 / 60
    EXPECT_NEAR(Num("uit_motorvermogen"), 152.055, 1e-9); // × 100 / 75
    EXPECT_DOUBLE_EQ(Num("uit_matgewicht"), 5);
    EXPECT_DOUBLE_EQ(Num("uit_uitzetting_lengte"), 0); // 20 °C: no expansion
    EXPECT_DOUBLE_EQ(Num("uit_uitzetting_breedte"), 0);
    EXPECT_NEAR(Num("uit_lengte_mat"), 20 + 0.1 * kPi + 0.2, 1e-9); // 2·10 + 2·0.05π + 0.02·10
    EXPECT_NEAR(Num("uit_product_op_baan"), 446.41016151377556, 1e-9); // 44.641016 × 10
    // X = 400·1425.515625·0.001·10 / (3·20) / (25·20·1) / sin(18°) = 0.615 < Y = 4 + 2 − 1
    // = 5; both load ratios (0.158, 0.019) take the 100 mm band: 400 / 100 = 4 wheels
    EXPECT_EQ(dm.Invoer("uit_aandrijf_wielen").asInteger(), 5);
    EXPECT_EQ(dm.Invoer("uit_retour_wielen").asInteger(), 5);
    EXPECT_EQ(dm.DriveWheelCount(), 5);
    // 5·1425.515625·0.5⁴·1e9 / (7.68e7·20000) = 0.290022; idler with Fi + Fi / 1.1
    EXPECT_EQ(dm.Invoer("uit_lagers_aandrijfas").asInteger(), 2);
    EXPECT_EQ(dm.Invoer("uit_lagers_retouras").asInteger(), 2);
    EXPECT_NEAR(Num("uit_doorbuiging_aandrijfas"), 0.29002189636230474, 1e-12);
    EXPECT_NEAR(Num("uit_doorbuiging_retouras"), 0.06548881530761719, 1e-12);
    EXPECT_NEAR(Num("uit_hoekverdraaiing"), 0.10890137192327168, 1e-12);
    EXPECT_NEAR(Num("uit_max_hoekverdraaiing"), 5.126953125, 1e-12);
    EXPECT_DOUBLE_EQ(Num("uit_opstartfactor"), 1.25);
    EXPECT_DOUBLE_EQ(Num("uit_max_doorbuiging_aandrijfas"), 2);
    EXPECT_DOUBLE_EQ(Num("uit_max_doorbuiging_retouras"), 2);
    EXPECT_EQ(Str("uit_warning"), "");
    // load row 1: startup = W at the drive, 1425.515625 / 9000 = 15.839 %; continue W / SF
    EXPECT_DOUBLE_EQ(Load(1, "strength"), 9000);
    EXPECT_NEAR(Load(1, "startup"), 1425.515625, 1e-9);
    EXPECT_NEAR(Load(1, "startup_perc"), 15.8390625, 1e-9);
    EXPECT_NEAR(Load(1, "continue"), 1140.4125, 1e-9);
    EXPECT_NEAR(Load(1, "continue_perc"), 12.67125, 1e-9);
    for (int i = 2; i <= 10; ++i)
        EXPECT_TRUE(std::isnan(Load(i, "strength"))) << "load row " << i;
    EXPECT_DOUBLE_EQ(dm.StrengthFirstZone(), 9000);
    EXPECT_DOUBLE_EQ(dm.StrengthLastZone(), 9000);
}

TEST_F(Calculation, SpeedBandsAndThroughput) {
    struct Case {
        const char* field;
        const char* text;
        double sf;
        double speed;
    };
    const Case cases[] = {
        {"matsnelheid", "9.99", 1.0, 9.99}, // truncated to 9: band 0..10
        {"matsnelheid", "10", 1.25, 10},    // band 10..20
        {"matsnelheid", "39.9", 1.5, 39.9}, // band 20..40
        // throughput given: v = 40000 / (44.641016 × 60) = 14.933865 m/min
        {"product_per_uur", "40000", 1.25, 40000 / (44.641016151377556 * 60)},
    };
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        dm.EnterText(c.field, c.text);
        EXPECT_EQ(dm.LastStop(), "") << c.text;
        EXPECT_DOUBLE_EQ(Num("uit_opstartfactor"), c.sf) << c.text;
        EXPECT_NEAR(Num("matsnelheid"), c.speed, 1e-9) << c.text;
    }
    // typing a throughput makes the speed follow it; typing a speed makes it lead again
    Tdm_mat& dm = OpenBase();
    dm.EnterText("product_per_uur", "40000");
    EXPECT_TRUE(dm.Invoer("product_leading").asBoolean());
    dm.EnterText("matsnelheid", "12");
    EXPECT_FALSE(dm.Invoer("product_leading").asBoolean());
    EXPECT_EQ(dm.Invoer("product_per_uur").asInteger(), 32142); // 12 × 44.641016 × 60 = 32141.5
}

TEST_F(Calculation, TypedLoadCountsOnlyForTheFirstPassWhenWeightIsGiven) {
    Tdm_mat& dm = OpenBase();
    // weight 50 g: q = 50 / 1000 × 44.641016 / 0.4 = 5.580127;
    // W = (10.580127·0.25 + 1.375 + 5.580127·0.2)·122.625 = 629.809009
    dm.EnterText("gewicht", "50");
    EXPECT_NEAR(Num("uit_werk_belasting"), 629.8090090629004, 1e-6);
    // the weight's rule then empties the load and makes the weight the required one
    EXPECT_TRUE(dm.Invoer("belasting").isNull());
    EXPECT_FALSE(dm.Invoer("belasting").required());
    EXPECT_TRUE(dm.Invoer("gewicht").required());
    // a typed load counts in the pass its own entry starts...
    dm.EnterText("belasting", "20");
    EXPECT_NEAR(Num("uit_werk_belasting"), 1425.515625, 1e-9);
    EXPECT_FALSE(dm.LoadTyped());
    EXPECT_TRUE(dm.Invoer("belasting").required());
    EXPECT_FALSE(dm.Invoer("gewicht").required());
    // ...and any later pass computes it from the weight again
    dm.EnterText("project", "again");
    EXPECT_NEAR(Num("belasting"), 5.5801270189221945, 1e-9);
    EXPECT_NEAR(Num("uit_werk_belasting"), 629.8090090629004, 1e-6);
}

TEST_F(Calculation, CentreDriveAndInclineReachTheRecord) {
    Tdm_mat& dm = OpenBase();
    dm.ClickCheckBox("aandrijving_centraal", true);
    // W = 12.65625 × 10·9.81·1.05·1.25; ond = 0.5·5·0.25·10·9.81·1.1·1.25 = 84.3046875
    EXPECT_NEAR(Num("uit_werk_belasting"), 1629.5712890625, 1e-9);
    EXPECT_NEAR(Num("uit_ond_belasting"), 84.3046875, 1e-9);
    // back to an end drive: the return pull of the centre drive stays as it was
    dm.ClickCheckBox("aandrijving_centraal", false);
    EXPECT_NEAR(Num("uit_werk_belasting"), 1425.515625, 1e-9);
    EXPECT_NEAR(Num("uit_ond_belasting"), 84.3046875, 1e-9);
    // 1 m up over 10 m: Lh = √99, W = 1657.488888 (see the formula tests)
    dm.EnterText("hoogteverschil", "1000");
    EXPECT_NEAR(Num("uit_werk_belasting"), 1657.4888882741914, 1e-6);
}

TEST_F(Calculation, ThreeZonesGiveThreeLoadRows) {
    Tdm_mat& dm = OpenBase();
    dm.EnterText("temp_zones", "3");
    dm.EnterZoneText(1, "lengte", "4");
    dm.EnterZoneText(1, "temp", "10");
    dm.EnterZoneText(2, "lengte", "3");
    dm.EnterZoneText(2, "temp", "30");
    dm.EnterZoneText(3, "temp", "50"); // moving to zone 3 fills it with the rest, 3 m
    EXPECT_DOUBLE_EQ(Zone(3, "lengte"), 3);
    ASSERT_EQ(dm.LastStop(), "");
    ASSERT_EQ(dm.CheckInput(), nullptr);
    // slope (W − Fi) / L = (1425.515625 − 168.609375) / 10 = 125.690625 per metre
    struct Row {
        int index;
        double strength, startup;
    };
    const Row rows[] = {
        {1, 10000, 168.609375 + 125.690625 * 4}, // 10 °C: tcf 1.0; 671.371875
        {2, 9000, 168.609375 + 125.690625 * 7},  // 30 °C: tcf 0.9; 1048.44375
        {3, 8000, 1425.515625},                  // 50 °C: tcf 0.8; at the drive
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(Load(r.index, "strength"), r.strength) << r.index;
        EXPECT_NEAR(Load(r.index, "startup"), r.startup, 1e-9) << r.index;
        EXPECT_NEAR(Load(r.index, "startup_perc"), r.startup * 100 / r.strength, 1e-9);
        EXPECT_NEAR(Load(r.index, "continue"), r.startup / 1.25, 1e-9) << r.index;
        EXPECT_NEAR(Load(r.index, "continue_perc"), r.startup / 1.25 * 100 / r.strength, 1e-9);
    }
    EXPECT_TRUE(std::isnan(Load(4, "startup")));
    EXPECT_DOUBLE_EQ(dm.StrengthFirstZone(), 10000);
    EXPECT_DOUBLE_EQ(dm.StrengthLastZone(), 8000);
    // zone 1: (8 + 0.05π)·0.1·(−10); zone 2: 6·0.1·10; zone 3: (6 + 0.05π)·0.1·30
    EXPECT_NEAR(Num("uit_uitzetting_lengte"), -(8 + 0.05 * kPi) + 6 + (6 + 0.05 * kPi) * 3, 1e-9);
    EXPECT_NEAR(Num("uit_uitzetting_breedte"), 1.2, 1e-9); // 0.4·0.1·(50 − 20)

    // Back to one zone: the lengths of zones 2 and 3 still count against the conveyor
    // length (4 + 3 + 3 = 10), zone 1 alone is loaded and rows 2 and 3 are emptied.
    dm.EnterText("temp_zones", "1");
    ASSERT_EQ(dm.CheckInput(), nullptr);
    EXPECT_NEAR(Load(1, "startup"), 168.609375 + 125.690625 * 4, 1e-9);
    for (int i = 2; i <= 3; ++i)
        for (const char* f : {"strength", "continue", "continue_perc", "startup", "startup_perc"})
            EXPECT_TRUE(std::isnan(Load(i, f))) << i << " " << f;
}

TEST_F(Calculation, CheckInputNamesTheFirstMissingFieldInRecordOrder) {
    Tdm_mat& dm = Open();
    dm.ResetAll();
    struct Step {
        const char* action; // "pick:" or "type:" followed by field=value; "" for none
        const char* blocking;
    };
    const Step steps[] = {
        {"", "mattype"},
        {"pick:mattype=B10 PP", "lengte"},
        {"type:lengte=10", "breedte"},
        {"type:breedte=400", "p_mat_code"},
        {"pick:p_mat_code=S_PET", "belasting"},
        {"type:belasting=20", "diameter"},
        {"type:diameter=100", "geleidingsmateriaal"},
        {"pick:geleidingsmateriaal=S_SUPPORT_SLIDER_BED", "g_mat_code"},
        {"pick:g_mat_code=S_UHMWPE", "smering"},
        {"pick:smering=D", "tandwiel_grootte"},
        {"pick:tandwiel_grootte=10", "asdiameter"},
        {"pick:asdiameter=25 rd", "product_per_uur"}, // neither throughput nor speed
        {"type:matsnelheid=15", ""},
    };
    for (const Step& s : steps) {
        const std::string action = s.action;
        if (!action.empty()) {
            const auto colon = action.find(':');
            const auto eq = action.find('=');
            const std::string field = action.substr(colon + 1, eq - colon - 1);
            const std::string value = action.substr(eq + 1);
            if (action.starts_with("pick"))
                dm.PickLookup(field, value);
            else
                dm.EnterText(field, value);
        }
        ds::Field* blocking = dm.CheckInput();
        EXPECT_EQ(blocking ? blocking->name() : std::string(), s.blocking) << action;
        if (blocking)
            EXPECT_EQ(dm.PassCount(), 0) << "incomplete input never calculates: " << action;
    }
    EXPECT_GE(dm.PassCount(), 1);
}

TEST_F(Calculation, ZoneLengthsMustAddUpToTheConveyorLength) {
    struct Case {
        const char* zoneLength;
        bool blocked;
    };
    const Case cases[] = {{"10.002", true}, {"9.998", true}, {"10.0005", false}};
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        const int passes = dm.PassCount();
        dm.EnterZoneText(1, "lengte", c.zoneLength);
        ds::Field* blocking = dm.CheckInput();
        if (c.blocked) {
            ASSERT_NE(blocking, nullptr) << c.zoneLength;
            EXPECT_EQ(blocking, &dm.cds_invoer_zones.fieldByName("lengte"));
            EXPECT_EQ(Str("uit_invoerwarning"),
                      "The zone lengths do not add up to the conveyor length.");
            EXPECT_EQ(dm.PassCount(), passes) << "the results keep their previous values";
        } else {
            EXPECT_EQ(blocking, nullptr) << c.zoneLength;
            EXPECT_EQ(Str("uit_invoerwarning"), "");
            EXPECT_EQ(dm.PassCount(), passes + 1);
        }
    }
}

TEST_F(Calculation, FrictionFromTablesTypedValuesAndMissingRows) {
    struct Case {
        const char* what;
        const char* field; // typed, or picked when pick is set
        const char* value;
        bool pick;
        double product, upper, lower;
    };
    const Case cases[] = {
        {"typed product friction", "frc_prod_afw", "0.3", false, 0.3, 0.25, 0.25},
        {"typed wearstrip friction", "frc_geleiding_afw", "0.3", false, 0.2, 0.3, 0.25},
        {"rollers on the return way", "geleidingsmateriaal", "S_SUPPORT_ROLLERS", true, 0.2, 0.25,
         0.05},
        {"lubricated with water", "smering", "W", true, 0.1, 0.125, 0.125},
        // a product whose friction code has no row keeps the coefficient in use
        {"no friction row", "p_mat_code", "S_OTHER", true, 0.2, 0.25, 0.25},
    };
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        if (c.pick)
            dm.PickLookup(c.field, c.value);
        else
            dm.EnterText(c.field, c.value);
        EXPECT_DOUBLE_EQ(Num("uit_wrijf_product"), c.product) << c.what;
        EXPECT_DOUBLE_EQ(Num("uit_wrijf_boven"), c.upper) << c.what;
        EXPECT_DOUBLE_EQ(Num("uit_wrijf_onder"), c.lower) << c.what;
    }
    // a support without friction code takes the carrying way's coefficient for the return
    Tdm_mat& dm = OpenBase();
    dm.EnterText("frc_geleiding_afw", "0.3");
    dm.PickLookup("geleidingsmateriaal", "S_SUPPORT_WEARSTRIPS");
    EXPECT_DOUBLE_EQ(Num("uit_wrijf_onder"), 0.3);
}

TEST_F(Calculation, ThePassReadsTheRowsTheRecordChose) {
    Tdm_mat& dm = OpenBase();
    // something else moved the lookup tables (a list being browsed, a reopened table)
    dm.cds_prod_materiaal.last();
    dm.cds_support.last();
    dm.cds_matserie_boring.last();
    dm.EnterText("project", "again");
    EXPECT_DOUBLE_EQ(Num("uit_wrijf_product"), 0.2);
    EXPECT_DOUBLE_EQ(Num("uit_wrijf_onder"), 0.25);
    EXPECT_NEAR(Num("uit_draaimoment"), 22.80825, 1e-9);
    EXPECT_EQ(dm.cds_prod_materiaal.fieldByName("mat_code").asString(), "S_PET");
    EXPECT_EQ(dm.cds_matserie_boring.fieldByName("boring").asString(), "25 rd");
}

TEST_F(Calculation, WheelCounts) {
    struct Case {
        double W, Fi;
        int drive, idler;
    };
    // From the base pass: X = 0.6150754 per 1425.515625 N/m, Y = 5, strengths 9000.
    const Case cases[] = {
        // X < Y: X = Y = 5; both ratios in the 100 mm band: 4 wheels
        {1425.515625, 168.609375, 5, 5},
        // X = 0.6150754 × 20000 / 1425.515625 = 8.6295 ≥ 5: X = trunc(2 + 8.6295 − 1) = 9;
        // ratio 2.22 in the 50 mm band, not sawable: trunc(400 / 50) + 1 = 9, not more than 9
        {20000, 168.609375, 9, 5},
        // X = 12.944: trunc(13.944) = 13 > 9
        {30000, 168.609375, 13, 5},
        // idler ratio 6000 / 9000 = 0.667 in the 50 mm band: 9 > Y = 5
        {1425.515625, 6000, 5, 9},
    };
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        dm.Matdata().werk_belasting = c.W;
        dm.Matdata().retour_belasting = c.Fi;
        dm.BerekenAantalWielen();
        EXPECT_EQ(dm.Invoer("uit_aandrijf_wielen").asInteger(), c.drive) << c.W << " " << c.Fi;
        EXPECT_EQ(dm.Invoer("uit_retour_wielen").asInteger(), c.idler) << c.W << " " << c.Fi;
        EXPECT_EQ(dm.DriveWheelCount(), c.drive);
        EXPECT_EQ(dm.IdlerWheelCount(), c.idler);
    }
}

TEST_F(Calculation, WheelSpacingBands) {
    Tdm_mat& dm = OpenBase(); // 400 mm wide
    struct Case {
        int series;
        double ratio;
        int wheels;
    };
    const Case cases[] = {
        {10, 0.5, 4},      // up to and including 0.5: 100 mm, sawable: 400 / 100
        {10, 0.500001, 9}, // above 0.5: 50 mm, not sawable: 8 + 1
        {20, 1.0, 6},      // 75 mm: trunc(5.33) + 1
    };
    for (const Case& c : cases)
        EXPECT_EQ(dm.ZoekAantalWielenperAfstand(c.series, c.ratio), c.wheels) << c.ratio;
    // the filter is written with "." whatever the user's decimal separator
    rtl::FormatSettings().decimalSeparator = ',';
    EXPECT_EQ(dm.ZoekAantalWielenperAfstand(10, 0.75), 9);
    EXPECT_EQ(rtl::FormatSettings().decimalSeparator, ',');
    rtl::FormatSettings().decimalSeparator = '.';
    try {
        dm.ZoekAantalWielenperAfstand(20, 1.5);
        ADD_FAILURE() << "no band above 1.0 for series 20";
    } catch (const CalculationStopped& e) {
        EXPECT_STREQ(e.what(), "No wheel spacing is defined for this belt series and load.");
    }
}

TEST_F(Calculation, WheelSpacingMessageWithoutLanguageNamesTheFilter) {
    Tdm_mat dm;
    dm.SetDataDirectory(FixtureDataDir());
    dm.ResetAll();
    dm.EnterText("breedte", "400");
    try {
        dm.ZoekAantalWielenperAfstand(20, 1.5);
        ADD_FAILURE() << "no band above 1.0 for series 20";
    } catch (const CalculationStopped& e) {
        EXPECT_STREQ(e.what(), "Mat afstand tabel niet correct. Gebruikt filter: (matserie = 20) "
                               "and (afst_vanaf < 1.500000) and (afst_tm >= 1.500000)");
    }
}

TEST_F(Calculation, WarningsInTheirOrder) {
    struct Case {
        const char* what;
        std::function<void(Tdm_mat&)> change;
        std::string warning;
    };
    const auto type = [](const char* field, const char* text) {
        return [=](Tdm_mat& dm) { dm.EnterText(field, text); };
    };
    const std::string oneRow = "One row of products across the belt is assumed.\r\n";
    const std::string longConveyor = "Long conveyor, please consult ZRN.\r\n";
    const std::string highSpeed = "High belt speed, please consult ZRN.\r\n";
    const std::string tooHigh = "Belt load too high, do not use this belt.\r\n";
    const std::string high = "High belt load, please consult ZRN.\r\n";
    const std::string sprockets = "Calculated number of sprockets does not fit on the shaft.\r\n";
    const std::string notRecommended = "This application is not recommended.\r\n";
    const Case cases[] = {
        {"none", [](Tdm_mat&) {}, ""},
        // (400 − 400) / ... + 1 = 1 row
        {"one row", type("diameter", "400"), oneRow},
        // 20.3 m > 20 m; exactly 20 m is no warning
        {"long", type("lengte", "20.3"), longConveyor},
        {"at the longest length", type("lengte", "20"), ""},
        // B10 PE has no longest length, so 25 m is no long conveyor. At 10 °C (tcf 1.0):
        // W = (26·0.15 + 1.1·6·0.15 + 20·0.3)·25·9.81·1.25 = 3338.5, 42 % of 8000
        {"no longest length",
         [](Tdm_mat& dm) {
             dm.PickLookup("mattype", "B10 PE");
             dm.EnterZoneText(1, "temp", "10");
             dm.EnterText("lengte", "25");
         },
         ""},
        // PP dry from 30 m/min
        {"speed at the limit", type("matsnelheid", "30"), highSpeed},
        {"speed below the limit", type("matsnelheid", "29"), ""},
        // q = 100: W = (105·0.25 + 1.375 + 20)·122.625 = 5840.02; startup 64.9 % > 60,
        // continue 51.9 % > 50; ratio 0.649 takes the 50 mm band: 9 sprockets, 400 / 50 < 9
        {"high load", type("belasting", "100"), high + sprockets},
        // q = 150: W = (155·0.25 + 1.375 + 30)·122.625 = 8599.08, startup 95.5 % > 80
        {"load too high", type("belasting", "150"), tooHigh + sprockets},
        // wearstrip "other" without a typed coefficient: μb = 1
        {"not recommended", [](Tdm_mat& dm) { dm.PickLookup("g_mat_code", "S_OTHER"); },
         notRecommended},
        {"one row and not recommended",
         [](Tdm_mat& dm) {
             dm.PickLookup("g_mat_code", "S_OTHER");
             dm.EnterText("diameter", "400");
         },
         oneRow + notRecommended},
    };
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        c.change(dm);
        EXPECT_EQ(dm.LastStop(), "") << c.what;
        EXPECT_EQ(Str("uit_warning"), c.warning) << c.what;
    }
}

TEST_F(Calculation, TorsionWarning) {
    Tdm_mat& dm = OpenBase();
    dm.Invoer("uit_hoekverdraaiing").setAsFloat(5.2); // allowed 5.126953
    dm.CheckLimits();
    EXPECT_EQ(Str("uit_warning"), "Torsion of the drive shaft exceeds the maximum.\r\n");
}

// ---- passes that cannot finish ----

struct StopCase {
    const char* what;
    std::function<void(Tdm_mat&)> prepare; // calculates
    std::function<void(Tdm_mat&)> change;  // stops
    std::string message;
};

TEST_F(Calculation, StoppedPassesTellWhyAndStoreNoUndefinedNumber) {
    const StopCase cases[] = {
        {"speed without start-up factor", [](Tdm_mat&) {},
         [](Tdm_mat& dm) { dm.EnterText("matsnelheid", "45"); },
         "No start-up factor is defined for a speed of 45 m/min."},
        {"occupation 0 with a throughput",
         [](Tdm_mat& dm) { dm.EnterText("product_per_uur", "40000"); },
         [](Tdm_mat& dm) { dm.EnterText("bezettingsgraad", "0"); },
         "The occupation must be greater than 0 when a throughput is given."},
        {"product diameter 0", [](Tdm_mat&) {}, [](Tdm_mat& dm) { dm.EnterText("diameter", "0"); },
         "The product diameter must be greater than 0."},
        // 20 m up on a 10 m conveyor: √(L² − H²) has no value; no language text exists
        {"height beyond the length", [](Tdm_mat&) {},
         [](Tdm_mat& dm) { dm.EnterText("hoogteverschil", "20000"); },
         "The calculation cannot be completed: uit_werk_belasting is not a finite number."},
        {"lubricated zone beyond the correction rows",
         [](Tdm_mat& dm) { dm.PickLookup("smering", "W"); },
         // allowed lubricated (up to 80 °C), but the PP rows end at 61 °C
         [](Tdm_mat& dm) { dm.EnterZoneText(1, "temp", "70"); },
         "No strength correction is defined for B10 PP at this temperature."},
    };
    for (const StopCase& c : cases) {
        Tdm_mat& dm = OpenBase();
        c.prepare(dm);
        ASSERT_EQ(dm.LastStop(), "") << c.what;
        const double pull = Num("uit_werk_belasting");
        try {
            c.change(dm);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const CalculationStopped& e) {
            EXPECT_EQ(e.what(), c.message) << c.what;
        }
        EXPECT_EQ(dm.LastStop(), c.message) << c.what;
        EXPECT_EQ(Str("uit_warning"), c.message + "\r\n") << c.what;
        EXPECT_DOUBLE_EQ(Num("uit_werk_belasting"), pull) << c.what << ": later steps keep";
        EXPECT_FALSE(dm.Calculating());
        ExpectAllFinite(dm);
    }
}

TEST_F(Calculation, SpeedStopStillStoresTheEarlierSteps) {
    Tdm_mat& dm = OpenBase();
    EXPECT_THROW(dm.EnterText("matsnelheid", "45"), CalculationStopped);
    EXPECT_DOUBLE_EQ(Num("matsnelheid"), 45); // the typed value stays
    // step 3 ran: 45 × 44.641016 × 60 = 120530.74
    EXPECT_EQ(dm.Invoer("product_per_uur").asInteger(), 120531);
    // a speed with a band calculates again and clears the message
    dm.EnterText("matsnelheid", "15");
    EXPECT_EQ(dm.LastStop(), "");
    EXPECT_EQ(Str("uit_warning"), "");
}

TEST_F(Calculation, SwitchingTheBeltLeavesAZoneWithoutCorrectionButRunsTheRule) {
    Tdm_mat& dm = OpenBase();
    dm.EnterZoneText(1, "temp", "50"); // PP dry up to 60: row 40..61
    ASSERT_EQ(dm.LastStop(), "");
    // B20 PE: PE rows end at 41 °C and the zone is not clamped by the switch
    EXPECT_THROW(dm.PickLookup("mattype", "B20 PE"), CalculationStopped);
    EXPECT_EQ(dm.LastStop(), "No strength correction is defined for B20 PE at this temperature.");
    // the belt type's rule ran in spite of the stop: series 20 sprockets, choice cleared
    EXPECT_EQ(dm.cds_matserie_tandwiel.filter(), "matserie = 20");
    EXPECT_TRUE(dm.Invoer("tandwiel_grootte").isNull());
    EXPECT_EQ(dm.cds_mat.fieldByName("mattype").asString(), "B20 PE");
    ExpectAllFinite(dm);
}

TEST_F(Calculation, NoWheelSpacingStopsAfterThePullIsStored) {
    Tdm_mat& dm = OpenBase();
    dm.EnterText("matsnelheid", "5");
    dm.EnterZoneText(1, "temp", "30");
    // B20 PE at 30 °C: strength 20000 × 0.5 = 10000; sprocket 12, bore 40 rd; 25 m long,
    // 100 kg/m²: W = (108·0.15 + 1.1·8·0.15 + 100·0.3)·25·9.81·1 = 47.52·245.25 = 11654.28;
    // ratio 1.165 has no band for series 20
    try {
        dm.PickLookup("mattype", "B20 PE");
    } catch (const CalculationStopped&) {
    }
    dm.PickLookup("tandwiel_grootte", "12");
    dm.PickLookup("asdiameter", "40 rd");
    dm.EnterText("belasting", "100");
    ASSERT_EQ(dm.LastStop(), "");
    const int drive = dm.DriveWheelCount();
    EXPECT_THROW(dm.EnterText("lengte", "25"), CalculationStopped);
    EXPECT_EQ(dm.LastStop(), "No wheel spacing is defined for this belt series and load.");
    EXPECT_NEAR(Num("uit_werk_belasting"), 11654.28, 1e-6);
    EXPECT_EQ(dm.DriveWheelCount(), drive) << "the wheel step did not finish";
    ExpectAllFinite(dm);
}

} // namespace
} // namespace zrn::belt::test
