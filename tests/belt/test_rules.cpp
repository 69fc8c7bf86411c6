#include "BeltTestSupport.h"

#include <cmath>

// The rules that fire when single fields of the input record or of its layout rows change.
namespace zrn::belt::test {
namespace {

class Rules : public BeltTest {};

TEST_F(Rules, PercentagesAreReadAsWholeNumbersAndKeptWithin0To100) {
    struct Case {
        const char* field;
        const char* text;
        long long stored;
    };
    const Case cases[] = {{"stuw", "150", 100},
                          {"bezettingsgraad", "-5", 0},
                          {"stuw", " 40 ", 40},
                          {"bezettingsgraad", "100", 100}};
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        dm.EnterText(c.field, c.text);
        EXPECT_EQ(dm.Invoer(c.field).asInteger(), c.stored) << c.field << " " << c.text;
    }
    Tdm_mat& dm = OpenBase();
    for (const char* text : {"abc", "12.5", ""})
        EXPECT_THROW(dm.EnterText("stuw", text), Error) << "'" << text << "'";
    EXPECT_EQ(dm.Invoer("stuw").asInteger(), 100);
}

TEST_F(Rules, WidthSetsTheShaftLength) {
    Tdm_mat& dm = OpenBase();
    dm.EnterText("breedte", "600");
    EXPECT_DOUBLE_EQ(dm.Metric("aslengte").MetricValue(), 700);
    // in imperial units the shaft shows the converted 700 mm: 700 / 25.4 = 27.559 inch
    taal_.SetEenheid(lang::ehImperial);
    EXPECT_EQ(dm.Invoer("aslengte").text(), "27.6");
    // a width typed in inches is stored in mm, and the shaft follows in mm
    dm.EnterText("breedte", "10");
    EXPECT_DOUBLE_EQ(dm.Metric("breedte").MetricValue(), 254);
    EXPECT_DOUBLE_EQ(dm.Metric("aslengte").MetricValue(), 354);
}

TEST_F(Rules, MoreThanOneZoneRulesOutTheCentreDrive) {
    Tdm_mat& dm = OpenBase();
    dm.ClickCheckBox("aandrijving_centraal", true);
    dm.EnterText("temp_zones", "2");
    ds::Field& centre = dm.Invoer("aandrijving_centraal");
    EXPECT_FALSE(centre.asBoolean());
    EXPECT_TRUE(centre.readOnly());
    EXPECT_THROW(dm.ClickCheckBox("aandrijving_centraal", true), Error);
    dm.EnterText("temp_zones", "1");
    EXPECT_FALSE(centre.readOnly());
    EXPECT_FALSE(centre.asBoolean()) << "unlocking does not change the value";
    for (const char* text : {"0", "11"})
        EXPECT_THROW(dm.EnterText("temp_zones", text), Error) << text;
    EXPECT_EQ(dm.Invoer("temp_zones").asInteger(), 1);
}

TEST_F(Rules, TheConveyorLengthFollowsIntoTheOnlyZone) {
    Tdm_mat& dm = OpenBase();
    dm.EnterText("lengte", "12.5");
    EXPECT_DOUBLE_EQ(Zone(1, "lengte"), 12.5);
    EXPECT_EQ(dm.CheckInput(), nullptr);
    dm.EnterText("temp_zones", "2");
    dm.EnterText("lengte", "14");
    EXPECT_DOUBLE_EQ(Zone(1, "lengte"), 12.5) << "with two zones the user splits the length";
}

TEST_F(Rules, TheLastZoneInUseTakesTheRestOfTheLength) {
    Tdm_mat& dm = OpenBase();
    dm.EnterText("lengte", "20");
    dm.EnterText("temp_zones", "3");
    dm.EnterZoneText(1, "lengte", "10");
    dm.EnterZoneText(2, "lengte", "5");
    EXPECT_TRUE(std::isnan(Zone(3, "lengte")));
    dm.cds_invoer_zones.locate("index", {ds::Value(3)}); // the grid scrolls to zone 3
    EXPECT_DOUBLE_EQ(Zone(3, "lengte"), 5);
    EXPECT_EQ(dm.CheckInput(), nullptr);
    EXPECT_EQ(dm.LastStop(), "");
    // rows beyond the zones in use are read-only
    dm.cds_invoer_zones.locate("index", {ds::Value(4)});
    EXPECT_TRUE(dm.cds_invoer_zones.readOnly());
    EXPECT_THROW(dm.EnterZoneText(5, "lengte", "1"), Error);
}

TEST_F(Rules, ReadOnlyZonesFollowTheZonesInUse) {
    Tdm_mat& dm = OpenBase();
    ds::Table& zones = dm.cds_invoer_zones;
    zones.locate("index", {ds::Value(2)}); // one zone beyond those in use
    EXPECT_TRUE(zones.readOnly());
    dm.EnterText("temp_zones", "2"); // the grid stays on zone 2, which is now in use
    EXPECT_FALSE(zones.readOnly());
    dm.EnterText("temp_zones", "1");
    EXPECT_TRUE(zones.readOnly());
    zones.locate("index", {ds::Value(5)});
    dm.ResetAll(); // a new project starts on zone 1, which takes input
    EXPECT_EQ(zones.recNo(), 1);
    EXPECT_FALSE(zones.readOnly());
    EXPECT_NO_THROW(dm.EnterZoneText(1, "temp", "25"));
}

TEST_F(Rules, ZoneTemperatureStaysWithinTheBeltRange) {
    struct Case {
        const char* lubrication;
        const char* typed;
        double stored;
    };
    // B10 PP: dry 0..60 °C, lubricated 5..80 °C
    const Case cases[] = {{"D", "90", 60}, {"W", "90", 80}, {"D", "-5", 0},
                          {"W", "-5", 5},  {"D", "", 20},   {"W", "33", 33}};
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        dm.PickLookup("smering", c.lubrication);
        try {
            dm.EnterZoneText(1, "temp", c.typed);
        } catch (const CalculationStopped&) {
            // 90 °C clamped to 80 has no PP correction row; the clamp is what counts here
        }
        EXPECT_DOUBLE_EQ(Zone(1, "temp"), c.stored) << c.lubrication << " " << c.typed;
    }
}

TEST_F(Rules, DrierLubricationClampsTheZoneBeingEditedAndCalculates) {
    Tdm_mat& dm = OpenBase();
    dm.PickLookup("smering", "W");
    dm.EnterZoneText(1, "temp", "55"); // lubricated, row 40..61: tcf 0.8
    ASSERT_EQ(dm.LastStop(), "");
    // 75 °C is allowed lubricated, but the PP rows end at 61 °C
    EXPECT_THROW(dm.EnterZoneText(1, "temp", "75"), CalculationStopped);
    // Dry: the pass of the lubrication change still sees 75 °C and stops, then the rule
    // clamps the zone to 60 °C and the pass that follows finishes, so nothing is raised.
    EXPECT_NO_THROW(dm.PickLookup("smering", "D"));
    EXPECT_DOUBLE_EQ(Zone(1, "temp"), 60);
    EXPECT_EQ(dm.LastStop(), "");
    EXPECT_DOUBLE_EQ(Load(1, "strength"), 8000); // 10000 × 0.8 at 60 °C
}

TEST_F(Rules, AnotherSeriesClearsTheSprocketTheSameSeriesKeepsIt) {
    Tdm_mat& dm = OpenBase();
    dm.PickLookup("mattype", "B10 PE"); // series 10 as well
    EXPECT_EQ(Str("tandwiel_grootte"), "10");
    EXPECT_EQ(dm.cds_matserie_tandwiel.filter(), "matserie = 10");
    dm.PickLookup("mattype", "B20 PE");
    EXPECT_TRUE(dm.Invoer("tandwiel_grootte").isNull());
    EXPECT_EQ(dm.cds_matserie_tandwiel.filter(), "matserie = 20");
    EXPECT_EQ(dm.cds_matserie_tandwiel.recordCount(), 1);
    EXPECT_EQ(dm.CheckInput(), &dm.Invoer("tandwiel_grootte"));
}

TEST_F(Rules, AnotherSprocketKeepsABoreOfTheSameName) {
    struct Case {
        const char* bore;
        const char* kept; // "" when cleared
    };
    // sprocket 20 (Dp 200) has bores "25 rd" and "50 rd"; sprocket 10 also has "40 rd"
    const Case cases[] = {{"25 rd", "25 rd"}, {"40 rd", ""}};
    for (const Case& c : cases) {
        Tdm_mat& dm = OpenBase();
        dm.PickLookup("asdiameter", c.bore);
        dm.PickLookup("tandwiel_grootte", "20");
        EXPECT_EQ(Str("asdiameter"), c.kept) << c.bore;
        EXPECT_EQ(dm.cds_matserie_boring.filter(), "matserie = 10 and tanden = 20 and dp = 200.00");
        EXPECT_EQ(dm.cds_matserie_boring.recordCount(), 2);
        if (*c.kept) {
            // the kept bore is the new sprocket's row: Dp 200 mm gives T = W/SF·B·0.1
            EXPECT_DOUBLE_EQ(dm.cds_matserie_boring.fieldByName("Dp").asFloat(), 200);
            EXPECT_NEAR(Num("uit_draaimoment"), 1140.4125 * 0.4 * 0.1, 1e-9);
        }
    }
}

TEST_F(Rules, LoadOrWeightDecidesWhichOfThemIsRequired) {
    Tdm_mat& dm = OpenBase();
    ds::Field& load = dm.Invoer("belasting");
    ds::Field& weight = dm.Invoer("gewicht");
    EXPECT_TRUE(load.required());
    EXPECT_FALSE(weight.required());
    dm.EnterText("gewicht", "50");
    EXPECT_FALSE(load.required());
    EXPECT_TRUE(weight.required());
    EXPECT_TRUE(load.isNull());
    dm.EnterText("diameter", "120"); // the weight is there, so the load is emptied again
    EXPECT_TRUE(load.isNull());
    dm.EnterText("belasting", "30");
    EXPECT_TRUE(load.required());
    EXPECT_FALSE(weight.required());
}

} // namespace
} // namespace zrn::belt::test
