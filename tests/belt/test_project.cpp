#include "BeltTestSupport.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

// The project life cycle of the belt module: reset, save and load, clearing the zones, and
// following the language and unit system.
namespace zrn::belt::test {
namespace {

namespace fs = std::filesystem;

// Every stored value of a table's rows, metric, as text: what a project file must give back.
std::map<std::string, std::string> Snapshot(ds::Table& t, const std::string& prefix) {
    std::map<std::string, std::string> out;
    for (int pos = 0; pos < t.recordCount(); ++pos) {
        ds::RowPeek peek = t.peekRow(pos);
        for (int i = 0; i < t.fieldCount(); ++i) {
            ds::Field& f = t.field(i);
            if (!f.isStored() || f.type() == ds::FieldType::Nested)
                continue;
            std::string v;
            if (f.isNull())
                v = "(null)";
            else if (auto* m = dynamic_cast<lang::TMetricField*>(&f))
                v = ds::Value(m->MetricValue()).toString();
            else
                v = ds::Value(f.value()).toString();
            out[prefix + std::to_string(pos) + "." + f.name()] = v;
        }
    }
    return out;
}

std::map<std::string, std::string> ProjectSnapshot(Tdm_mat& dm) {
    auto all = Snapshot(dm.cds_invoer, "record");
    all.merge(Snapshot(dm.cds_invoer_zones, "zone"));
    all.merge(Snapshot(dm.cds_load_zones, "load"));
    return all;
}

class Project : public BeltTest {
protected:
    void SetUp() override {
        BeltTest::SetUp();
        dir_ =
            fs::temp_directory_path() /
            ("belt_project_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::remove_all(dir_);
        BeltTest::TearDown();
    }
    //! A conveyor that uses most inputs: two zones, weight and diameter, typed friction,
    //! height, rollers on the return way.
    Tdm_mat& OpenRich() {
        Tdm_mat& dm = OpenBase();
        dm.EnterText("project", "Round trip");
        dm.EnterText("hoogteverschil", "200");
        dm.EnterText("frc_prod_afw", "0.22");
        dm.PickLookup("geleidingsmateriaal", "S_SUPPORT_ROLLERS");
        dm.EnterText("gewicht", "50");
        dm.EnterText("temp_zones", "2");
        dm.EnterZoneText(1, "lengte", "6");
        dm.EnterZoneText(2, "lengte", "4");
        dm.EnterZoneText(2, "temp", "45");
        dm.EnterText("project", "Round trip"); // one more pass, which refills the load
        EXPECT_EQ(dm.CheckInput(), nullptr);
        EXPECT_EQ(dm.LastStop(), "");
        return dm;
    }
    fs::path dir_;
};

TEST_F(Project, ResetAllBringsBackTheTemplate) {
    Tdm_mat& dm = OpenRich();
    ASSERT_TRUE(dm.Invoer("aandrijving_centraal").readOnly()); // two zones
    dm.ResetAll();
    EXPECT_TRUE(dm.cds_invoer.isEditing());
    for (const char* empty :
         {"project", "mattype", "lengte", "breedte", "p_mat_code", "belasting", "gewicht",
          "diameter", "matsnelheid", "product_per_uur", "tandwiel_grootte", "asdiameter",
          "uit_werk_belasting", "uit_warning"})
        EXPECT_TRUE(dm.Invoer(empty).isNull()) << empty;
    EXPECT_EQ(dm.Invoer("bezettingsgraad").asInteger(), 100);
    EXPECT_EQ(dm.Invoer("stuw").asInteger(), 100);
    EXPECT_TRUE(dm.Invoer("product_leading").asBoolean());
    EXPECT_EQ(dm.Invoer("temp_zones").asInteger(), 1);
    EXPECT_FALSE(dm.Invoer("aandrijving_centraal").readOnly()) << "one zone again";
    // the load is the required one again, whatever the last project switched to
    EXPECT_TRUE(dm.Invoer("belasting").required());
    EXPECT_FALSE(dm.Invoer("gewicht").required());
    ASSERT_EQ(dm.cds_invoer_zones.recordCount(), 10);
    ASSERT_EQ(dm.cds_load_zones.recordCount(), 10);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_TRUE(std::isnan(Zone(i, "lengte"))) << i;
        EXPECT_DOUBLE_EQ(Zone(i, "temp"), 20) << i;
        EXPECT_TRUE(std::isnan(Load(i, "strength"))) << i;
    }
}

TEST_F(Project, SaveAndLoadRestoreInputsRowsResultsLanguageAndUnits) {
    for (const char* name : {"round.MAT", "round.xml"}) {
        Tdm_mat& dm = OpenRich();
        taal_.SetTaal("nederlands");
        taal_.SetEenheid(lang::ehImperial);
        const auto before = ProjectSnapshot(dm);
        const fs::path file = dir_ / name;
        dm.SaveProject(file.string());
        EXPECT_TRUE(dm.cds_invoer.isEditing());
        {
            std::ifstream in(file, std::ios::binary);
            std::string start(5, '\0');
            in.read(start.data(), 5);
            EXPECT_EQ(start == "<?xml", std::string(name).ends_with(".xml")) << name;
        }
        taal_.SetTaal("engels");
        taal_.SetEenheid(lang::ehMetrisch);

        Tdm_mat& loaded = Open(); // a fresh module, as a new input window has
        loaded.LoadProject(file.string());
        EXPECT_EQ(taal_.Taal(), "nederlands") << name;
        EXPECT_EQ(taal_.Eenheid(), lang::ehImperial) << name;
        EXPECT_TRUE(loaded.cds_invoer.isEditing());
        EXPECT_FALSE(loaded.Loading());
        EXPECT_EQ(loaded.LastStop(), "");
        auto after = ProjectSnapshot(loaded);
        // written on save: the language and units of that moment
        EXPECT_EQ(after["record0.taal"], "nederlands");
        EXPECT_EQ(after["record0.eenheid"], "FALSE");
        after.erase("record0.taal");
        after.erase("record0.eenheid");
        auto expected = before;
        expected.erase("record0.taal");
        expected.erase("record0.eenheid");
        EXPECT_EQ(after, expected) << name;
        // the choices are the rows in use again
        EXPECT_EQ(loaded.cds_matserie_tandwiel.filter(), "matserie = 10");
        EXPECT_EQ(loaded.cds_matserie_boring.fieldByName("boring").asString(), "25 rd");
        EXPECT_EQ(loaded.cds_support.fieldByName("Taalcode").asString(), "S_SUPPORT_ROLLERS");
        EXPECT_EQ(loaded.Invoer("tandwiel_grootte").asString(), "10");
        taal_.SetTaal("engels");
        taal_.SetEenheid(lang::ehMetrisch);
    }
}

TEST_F(Project, AFileThatIsNoBeltProjectIsRefused) {
    Tdm_mat& dm = OpenBase();
    for (const std::string file :
         {FixtureDataDir() + "mat.xml", FixtureDataDir() + "missing.MAT"}) {
        try {
            dm.LoadProject(file);
            ADD_FAILURE() << file;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "This file is not a belt project file.") << file;
        }
        EXPECT_FALSE(dm.cds_invoer.isActive());
        EXPECT_FALSE(dm.Loading());
        EXPECT_FALSE(dm.cds_invoer.controlsDisabled());
    }
}

TEST_F(Project, LoadingAProjectThatDoesNotCalculateSaysWhyAfterLoading) {
    Tdm_mat& dm = OpenBase();
    const fs::path file = dir_ / "fast.MAT";
    // the speed has no start-up band in the fixture; the project is saved all the same
    EXPECT_THROW(dm.EnterText("matsnelheid", "45"), CalculationStopped);
    dm.SaveProject(file.string());
    Tdm_mat& loaded = Open();
    EXPECT_THROW(loaded.LoadProject(file.string()), CalculationStopped);
    EXPECT_EQ(loaded.PassCount(), 1);
    EXPECT_EQ(loaded.LastStop(), "No start-up factor is defined for a speed of 45 m/min.");
    EXPECT_TRUE(loaded.cds_invoer.isEditing());
    EXPECT_FALSE(loaded.Loading());
    EXPECT_FALSE(loaded.cds_invoer.controlsDisabled());
    EXPECT_DOUBLE_EQ(loaded.Metric("matsnelheid").MetricValue(), 45);
}

TEST_F(Project, ClearZonesEmptiesEveryZoneAndEndsOnTheFirst) {
    Tdm_mat& dm = OpenRich();
    dm.cds_invoer_zones.locate("index", {ds::Value(2)});
    dm.ClearZones();
    EXPECT_EQ(dm.cds_invoer_zones.recNo(), 1);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_TRUE(std::isnan(Zone(i, "lengte"))) << i;
        // posting an emptied zone in use gives it 20 °C again; the others stay empty
        if (i <= 2)
            EXPECT_DOUBLE_EQ(Zone(i, "temp"), 20) << i;
        else
            EXPECT_TRUE(std::isnan(Zone(i, "temp"))) << i;
    }
    EXPECT_EQ(dm.CheckInput(), &dm.cds_invoer_zones.fieldByName("lengte"));
}

TEST_F(Project, LabelsFormatsAndLookupTextsFollowLanguageAndUnits) {
    Tdm_mat& dm = OpenBase();
    dm.PickLookup("geleidingsmateriaal", "S_SUPPORT_ROLLERS");
    ds::Table& zones = dm.cds_invoer_zones;
    ds::Table& load = dm.cds_load_zones;
    EXPECT_EQ(zones.fieldByName("index").displayLabel(), "nr.");
    EXPECT_EQ(zones.fieldByName("lengte").displayLabel(), "length(m)");
    EXPECT_EQ(zones.fieldByName("temp").displayLabel(), "temp.(°C)");
    EXPECT_EQ(load.fieldByName("index").displayLabel(), " ");
    EXPECT_EQ(load.fieldByName("strength").displayLabel(), "(N/m)");
    EXPECT_EQ(load.fieldByName("startup_perc").displayLabel(), "(%)");
    EXPECT_EQ(dm.Invoer("uit_motorvermogen").displayFormat(), "0");
    EXPECT_EQ(dm.Invoer("uit_uitzetting_lengte").displayFormat(), "0");
    dm.ClickCheckBox("aandrijving_centraal", true);
    EXPECT_EQ(dm.Invoer("aandrijving_centraal").text(), "yes");
    dm.ClickCheckBox("aandrijving_centraal", false);
    EXPECT_EQ(dm.Invoer("aandrijving_centraal").text(), "");
    EXPECT_EQ(dm.cds_smering.fieldByName("smeer_oms").asString(), "Dry");
    EXPECT_EQ(dm.cds_matserie_tandwiel.fieldByName("TandenDP").asString(), "10 teeth - Dp 100");

    taal_.SetEenheid(lang::ehImperial);
    EXPECT_EQ(zones.fieldByName("lengte").displayLabel(), "length(ft)");
    EXPECT_EQ(load.fieldByName("strength").displayLabel(), "(lbf/ft)");
    EXPECT_EQ(dm.Invoer("uit_motorvermogen").displayFormat(), "0.00");
    EXPECT_EQ(dm.Invoer("uit_vermogen_as").displayFormat(), "0.00");
    EXPECT_EQ(dm.Invoer("uit_uitzetting_lengte").displayFormat(), "0.0");
    EXPECT_EQ(dm.Invoer("uit_uitzetting_breedte").displayFormat(), "0.0");

    taal_.SetTaal("nederlands");
    EXPECT_EQ(zones.fieldByName("lengte").displayLabel(), "lengte(ft)");
    EXPECT_EQ(dm.cds_smering.fieldByName("smeer_oms").asString(), "Droog");
    EXPECT_EQ(dm.cds_support.fieldByName("Support").asString(), "Rollen");
    // reopening the lookup tables keeps the record's choices as their current rows
    EXPECT_EQ(dm.cds_support.fieldByName("Taalcode").asString(), "S_SUPPORT_ROLLERS");
}

TEST_F(Project, EveryWriteOfTheDataDirectoryReopensTheTables) {
    const std::string exeDir = std::string(ZRN_FIXTURES_DIR) + "/";
    rtl::SetExeDirectory(exeDir);
    struct Restore {
        ~Restore() { rtl::SetExeDirectory(""); }
    } restore;
    Tdm_mat dm;
    dm.SetDataDirectory("belt"); // relative: beside the program
    ASSERT_EQ(dm.DataDirectory(), exeDir + "belt/");
    dm.cds_invoer.edit();
    dm.Invoer("project").setAsString("unsaved");
    dm.cds_mat.last();
    dm.SetDataDirectory("belt"); // the same value: the path stays, the tables are read again
    EXPECT_EQ(dm.DataDirectory(), exeDir + "belt/");
    EXPECT_TRUE(dm.Invoer("project").isNull());
    EXPECT_EQ(dm.cds_mat.recNo(), 1);
}

TEST_F(Project, LookupTextsStayEmptyWithoutALanguageService) {
    Tdm_mat dm;
    dm.SetDataDirectory(FixtureDataDir());
    EXPECT_EQ(dm.cds_smering.fieldByName("smeer_oms").asString(), "");
    EXPECT_EQ(dm.cds_matserie_tandwiel.fieldByName("TandenDP").asString(), "");
    // the wearstrip list offers only the belt's materials
    EXPECT_EQ(dm.cds_geleiding_materiaal.recordCount(), 2);
    EXPECT_EQ(dm.cds_opstart.recordCount(), 3) << "the file's bands replace the built-in ones";
}

TEST_F(Project, BuiltInStartupBandsUntilAFileReplacesThem) {
    Tdm_mat dm;
    ds::Table& bands = dm.cds_opstart;
    ASSERT_EQ(bands.recordCount(), 7);
    bands.last();
    EXPECT_EQ(bands.fieldByName("v1").asInteger(), 60);
    EXPECT_EQ(bands.fieldByName("v2").asInteger(), 999);
    EXPECT_DOUBLE_EQ(bands.fieldByName("SF").asFloat(), 1.6);
}

} // namespace
} // namespace zrn::belt::test
