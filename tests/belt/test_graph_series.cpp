#include "BeltTestSupport.h"

#include "belt/MatGraph.h"

#include <gtest/gtest.h>

#include <vector>

namespace zrn::belt::test {

namespace {

class GraphSeriesTest : public BeltTest {
protected:
    //! The base conveyor split into three zones of 5, 10 and 5 m at 10, 30 and 50 °C, whose
    //! strengths (B10 PP: 10000 N/m at factors 1.0, 0.9, 0.8) differ.
    Tdm_mat& OpenThreeZones() {
        Tdm_mat& dm = OpenBase();
        dm.EnterText("lengte", "20");
        dm.EnterText("temp_zones", "3");
        const struct {
            int index;
            const char* length;
            const char* temp;
        } zones[] = {{1, "5", "10"}, {2, "10", "30"}, {3, "5", "50"}};
        for (const auto& zone : zones) {
            dm.EnterZoneText(zone.index, "lengte", zone.length);
            dm.EnterZoneText(zone.index, "temp", zone.temp);
        }
        return dm;
    }
};

void ExpectPoints(const std::vector<TGraphPoint>& actual, const std::vector<TGraphPoint>& expected,
                  const char* series) {
    ASSERT_EQ(actual.size(), expected.size()) << series;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << series << " point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-6) << series << " point " << i;
    }
}

} // namespace

TEST_F(GraphSeriesTest, OneZoneHoldsItsStrengthAndDrawsThePullFromIdlerToDrive) {
    Tdm_mat& dm = OpenBase();
    ASSERT_EQ(dm.CheckInput(), nullptr);
    const double s1 = Load(1, "strength");
    const double drive = Load(1, "continue");
    const TMatdata& data = dm.Matdata();
    ASSERT_GT(data.opstartfactor, 0);
    const double idler = data.retour_belasting / data.opstartfactor;

    const TGraphSeries series = GraphSeries(dm);
    ASSERT_TRUE(series.valid);
    ExpectPoints(series.maxLoad, {{0, s1}, {0, s1}, {10, s1}}, "max load");
    ExpectPoints(series.beltLoad, {{0, idler}, {10, drive}}, "belt load");
    EXPECT_DOUBLE_EQ(series.highestStrength, s1);
    EXPECT_DOUBLE_EQ(series.leftAxisMax, 1.1 * s1);
    // The line is the load table's continuous pull: at the drive W / SF.
    EXPECT_NEAR(drive, data.werk_belasting / data.opstartfactor, 1e-6);
}

TEST_F(GraphSeriesTest, ThreeZonesStepAtTheirStartsAndEndAtTheConveyorLength) {
    Tdm_mat& dm = OpenThreeZones();
    ASSERT_EQ(dm.CheckInput(), nullptr);
    EXPECT_DOUBLE_EQ(Load(1, "strength"), 10000);
    EXPECT_DOUBLE_EQ(Load(2, "strength"), 9000);
    EXPECT_DOUBLE_EQ(Load(3, "strength"), 8000);

    const TGraphSeries series = GraphSeries(dm);
    ASSERT_TRUE(series.valid);
    ExpectPoints(series.maxLoad, {{0, 10000}, {0, 10000}, {5, 9000}, {15, 8000}, {20, 8000}},
                 "max load");
    ASSERT_EQ(series.beltLoad.size(), 2u);
    EXPECT_DOUBLE_EQ(series.beltLoad[1].x, 20);
    EXPECT_NEAR(series.beltLoad[1].y, Load(3, "continue"), 1e-6);
    EXPECT_DOUBLE_EQ(series.leftAxisMax, 11000);
    // Percentages at each zone start: the pull there over that zone's strength.
    ASSERT_EQ(series.percent.size(), 4u);
    EXPECT_NEAR(series.percent[2].y, Load(2, "continue") * 100 / 9000, 1e-9);
}

TEST_F(GraphSeriesTest, ImperialUnitsGiveFeetAndTheImperialPull) {
    Tdm_mat& dm = OpenThreeZones();
    const TGraphSeries metric = GraphSeries(dm);
    taal_.SetEenheid(lang::ehImperial);
    const TGraphSeries imperial = GraphSeries(dm);
    ASSERT_TRUE(imperial.valid);
    ASSERT_EQ(imperial.maxLoad.size(), metric.maxLoad.size());
    for (std::size_t i = 0; i < metric.maxLoad.size(); ++i) {
        EXPECT_NEAR(imperial.maxLoad[i].x, taal_.ToImperial("M", metric.maxLoad[i].x), 1e-9);
        EXPECT_NEAR(imperial.maxLoad[i].y, taal_.ToImperial("N/M", metric.maxLoad[i].y), 1e-6);
    }
    for (std::size_t i = 0; i < metric.beltLoad.size(); ++i)
        EXPECT_NEAR(imperial.beltLoad[i].y, taal_.ToImperial("N/M", metric.beltLoad[i].y), 1e-6);
    EXPECT_NEAR(imperial.leftAxisMax, taal_.ToImperial("N/M", metric.leftAxisMax), 1e-6);
    // Reading the graph changes nothing stored.
    EXPECT_DOUBLE_EQ(Zone(2, "lengte"), 10);
}

TEST_F(GraphSeriesTest, CentreDriveStartsAtTheReturnWayPull) {
    Tdm_mat& dm = OpenBase();
    dm.ClickCheckBox("aandrijving_centraal", true);
    ASSERT_EQ(dm.CheckInput(), nullptr);
    const double returnWay = Num("uit_ond_belasting");
    ASSERT_GT(returnWay, 0);
    const TGraphSeries series = GraphSeries(dm);
    ASSERT_FALSE(series.beltLoad.empty());
    EXPECT_DOUBLE_EQ(series.beltLoad.front().y, returnWay);
}

TEST_F(GraphSeriesTest, NothingToDrawBeforeTheFirstCalculationAndCursorsStay) {
    Tdm_mat& dm = Open();
    dm.ResetAll();
    EXPECT_FALSE(GraphSeries(dm).valid);

    OpenThreeZones();
    Tdm_mat& three = *dm_;
    three.cds_invoer_zones.locate("index", {ds::Value(2)});
    three.cds_load_zones.locate("index", {ds::Value(3)});
    GraphSeries(three);
    EXPECT_EQ(three.cds_invoer_zones.fieldByName("index").asInteger(), 2);
    EXPECT_EQ(three.cds_load_zones.fieldByName("index").asInteger(), 3);
}

} // namespace zrn::belt::test
