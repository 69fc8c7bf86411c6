// The belt text report and columnar line on a fixture project whose results are fixed in the
// project file, so every expected line below follows from the format rules alone.

#include "belt/MatRapport.h"
#include "belt/d_mat.h"
#include "common/Algemeen.h"
#include "lang/TaalComponent.h"
#include "rtl/Cp1252.h"
#include "rtl/NumberFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zrn::belt {
namespace {

const std::string kDir = std::string(ZRN_FIXTURES_DIR) + "/belt_report/";

std::string S(int count) {
    return std::string(count, ' ');
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "last line not ended by CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void ExpectLines(const std::vector<std::string>& expected, const std::string& text) {
    const std::vector<std::string> actual = SplitLines(text);
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i)
        EXPECT_EQ(expected[i], actual[i]) << "line " << i + 1;
    EXPECT_EQ(expected.size(), actual.size());
}

// The fixture project: M25-PP belt, 13 m in seven zones, results as a pass left them.
class BeltReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings() = rtl::NumberFormat{'.', ',', "dd-mm-yyyy"};
        service_.SetTaalDirectory(kDir + "taal");
        service_.SetTaal("engels");
        module_.SetDataDirectory(kDir + "data");
        module_.SetTaalComponent(&service_);
        common::LoadTable(module_.cds_invoer, kDir + "project.xml");
        module_.PositionLookupRows();
        // 6.5 products per metre on 13 m: 84.5, which rounds to the even 84.
        module_.Matdata().producten_per_m = 6.5;
        module_.Matdata().lengte = 13;
    }
    void TearDown() override { rtl::FormatSettings() = saved_; }

    std::string Report() { return TMatRapport(module_).TextReport(rtl::Date{2024, 3, 15}); }

    void ClearWarnings() {
        module_.cds_invoer.edit();
        module_.Invoer("uit_warning").clear();
    }

    rtl::NumberFormat saved_;
    lang::TTaalComponent service_;
    Tdm_mat module_;
};

TEST_F(BeltReportTest, EnglishMetricReportLineForLine) {
    const std::string r28(28, '\x97'), r40(40, '\x97');
    const std::string r40x2 = r40 + " " + r40;
    const std::vector<std::string> expected = {
        S(32) + "Belt report test" + S(32),
        "",
        r28 + "  General information   " + r28,
        "Projectname       "
        " : Line 4 packer",
        "Date              "
        " : 15-03-2024",
        r28 + "       DATA INPUT       " + r28,
        r40x2,
        "               BELT DATA                "
        " "
        "              PRODUCT DATA              ",
        r40x2,
        "Belttype          "
        " : M25-PP" +
            S(15) +
            "Material product  "
            " : PET bottles ",
        "- length          "
        " : "
        "13.00        "
        " m" +
            S(6) +
            "Load              "
            " : "
            "45.50        "
            " kg/m\xB2",
        "- width           "
        " : "
        "600.00       "
        " mm" +
            S(5) +
            "Weight product    "
            " : "
            "500          "
            " gr",
        S(42) + "Diameter product  "
                " : "
                "80.00        "
                " mm",
        S(42) + "Occupation        "
                " : 100 %",
        r40x2,
        "             CONVEYOR DATA              "
        " "
        "           TEMPERATURE ZONES            ",
        r40x2,
        "Type of support   "
        " : strips" +
            S(15) +
            "  Nr.     Length [m]     Temp. [\xB0"
            "C]",
        "Wearstrip         "
        " : HDPE " +
            S(14) + " " + r40,
        "Product / hour    "
        " : 3600" +
            S(15) + " " +
            "    1"
            "           2"
            "            20",
        "Beltspeed         "
        " : "
        "8.25         "
        " m/min"
        " "
        "    2"
        "           2"
        "          35.5",
        "Lubrication       "
        " : dry" +
            S(16) + " " +
            "    3"
            "           2"
            "            20",
        "Accumulation      "
        " : "
        "50           "
        " %" +
            S(4) + " " +
            "    4"
            "           2"
            "            20",
        "Height difference "
        " : "
        "0            "
        " mm" +
            S(3) + " " +
            "    5"
            "           2"
            "            20",
        "Nr. temp. zones   "
        " : 7" +
            S(18) + " " +
            "    6"
            "           2"
            "            20",
        // Zone 7 shares its line with the sprocket, two columns wider on the left.
        "Sprocket          "
        " : 16 teeth - Dp 130.2" +
            S(2) + " " +
            "  7"
            "           1"
            "            45",
        "Shaft             "
        " : 40 sq" +
            S(14) + " ",
        "Length shaft      "
        " : "
        "700          "
        " mm" +
            S(3) + " ",
        "Centre drive      "
        " : no" +
            S(17) + " ",
        r28 + "      DATA OUTPUT       " + r28,
        r40,
        "        COEFFICIENT OF FRICTION         ",
        r40,
        "Product to belt           "
        " : 0.25",
        "Belt to wearstrip         "
        " : 0.20",
        "Belt to support           "
        " : 0.18",
        r40x2,
        "                RESULTS                 "
        " "
        "               LOAD TABLE               ",
        r40x2,
        "Max. working load         "
        " : "
        "20000"
        " N/m" +
            S(2) + " " + " Zone Strength  Continuous  Start-up",
        "Belt load                 "
        " : "
        "2716 "
        " N/m" +
            S(2) + " " + "         N/m       N/m   %     N/m   %",
        "Torque                    "
        " : "
        "104  "
        " Nm" +
            S(3) + " " + r40,
        // Percentages round half to even: 6.5 % shows 6.
        "Rpm                       "
        " : "
        "20   "
        " 1/min"
        " "
        "    1  20000      1234   6    1358   6",
        "Shaft power               "
        " : "
        "372  "
        " W" +
            S(4) + " " + "    2  20000      1400   7    1540   8",
        "Motor power               "
        " : "
        "497  "
        " W" +
            S(4) + " " + "    3  20000      1600   8    1760   9",
        "Belt weight               "
        " : "
        "9    "
        " kg/m\xB2"
        " "
        "    4  20000      1800   9    1980  10",
        "Length expansion          "
        " : 31 mm" +
            S(6) + " " + "    5  20000      2000  10    2200  11",
        "Width expansion           "
        " : 3 mm" +
            S(7) + " " + "    6  20000      2200  11    2420  12",
        "Total belt length         "
        " : "
        "26   "
        " m" +
            S(4) + " " + "    7  16000      2469  15    2716  17",
        "Sprockets drive           "
        " : 5    " +
            S(6) + " ",
        "Wheels idler              "
        " : 4    " +
            S(6) + " ",
        "Bearings drive            "
        " : 3    " +
            S(6) + " ",
        "Bearings idler            "
        " : 2    ",
        "Deflection drive          "
        " : 1.23  mm    ( max. 2.00 mm )",
        "Deflection idler          "
        " : 0.50  mm    ( max. 2.00 mm )",
        "Torsion drive             "
        " : 0.75  \xB0     ( max. 1.50 \xB0 )",
        "Start-up factor           "
        " : 1.1  ",
        "Products on conveyor      "
        " : 84   ",
        r40,
        "                REMARKS                 ",
        r40,
        "Long conveyor!",
        "High belt load, consult ZRN.",
    };
    ExpectLines(expected, Report());
}

TEST_F(BeltReportTest, FrenchImperialReportLineForLine) {
    rtl::FormatSettings() = rtl::NumberFormat{',', '.', "dd/mm/yyyy"};
    service_.SetTaal("frans");
    service_.SetEenheid(lang::ehImperial);
    // Expected lines in UTF-8; the report itself is Windows-1252.
    std::string d28, d40;
    for (int i = 0; i < 40; ++i)
        (i < 28 ? d28 : d40) += "—";
    d40 = d28 + d40;
    const std::string d40x2 = d40 + " " + d40;
    const std::vector<std::string> expected = {
        S(32) + "Essai du rapport" + S(32),
        "",
        d28 + " Informations générales " + d28,
        "Projet            "
        " : Line 4 packer",
        "Date              "
        " : 15/03/2024",
        d28 + "    DONNÉES D'ENTRÉE    " + d28,
        d40x2,
        "          SPÉCIFICATION BANDE           "
        " "
        "         SPÉCIFICATION PRODUIT          ",
        d40x2,
        "Type de bande     "
        " : M25-PP" +
            S(15) +
            "Matériau produit  "
            " : bouteilles PET ",
        "- longueur        "
        " : "
        "42,65        "
        " ft" +
            S(5) +
            "Charge            "
            " : "
            "9,32         "
            " lb/ft²",
        "- largeur         "
        " : "
        "23,62        "
        " inch" +
            S(3) +
            "Poids produit     "
            " : "
            "17,6         "
            " oz",
        S(42) + "Diamètre produit  "
                " : "
                "3,15         "
                " inch",
        S(42) + "Occupation        "
                " : 100 %",
        d40x2,
        "        SPÉCIFICATION CONVOYEUR         "
        " "
        "          ZONES DE TEMPÉRATURE          ",
        d40x2,
        "Type de support   "
        " : bandes" +
            S(15) + "   N°   Longueur [ft]    Temp. [°F]",
        "Bande d'usure     "
        " : PEHD " +
            S(14) + " " + d40,
        "Produits / heure  "
        " : 3600" +
            S(15) + " " +
            "    1"
            "        6,56"
            "            68",
        // A left half wider than 40 columns is not cut: its right half moves one on.
        "Vitesse bande     "
        " : "
        "27,07        "
        " ft/min"
        " "
        "    2"
        "        6,56"
        "          95,9",
        "Lubrification     "
        " : à sec" +
            S(14) + " " +
            "    3"
            "        6,56"
            "            68",
        "Accumulation      "
        " : "
        "50           "
        " %" +
            S(4) + " " +
            "    4"
            "        6,56"
            "            68",
        "Dénivelé          "
        " : "
        "0            "
        " inch" +
            S(1) + " " +
            "    5"
            "        6,56"
            "            68",
        "Nb. zones         "
        " : 7" +
            S(18) + " " +
            "    6"
            "        6,56"
            "            68",
        "Pignon            "
        " : 16 dents - Dp 130,2" +
            S(2) + " " +
            "  7"
            "        3,28"
            "           113",
        "Arbre             "
        " : 40 sq" +
            S(14) + " ",
        "Longueur arbre    "
        " : "
        "28           "
        " inch" +
            S(1) + " ",
        "Entraînement central : non" + S(14) + " ",
        d28 + "       RÉSULTATS        " + d28,
        d40,
        "       COEFFICIENT DE FROTTEMENT        ",
        d40,
        "Produit sur bande         "
        " : 0,25",
        "Bande sur bande d'usure   "
        " : 0,20",
        "Bande sur support         "
        " : 0,18",
        d40x2,
        "               RÉSULTATS                "
        " "
        "          TABLEAU DES CHARGES           ",
        d40x2,
        "Charge max.               "
        " : "
        "1370 "
        " lbf/ft"
        " "
        " Zone  Résist.     Continu   Démarr.",
        "Charge bande              "
        " : "
        "186  "
        " lbf/ft"
        " "
        "      lbf/ft    lbf/ft   %  lbf/ft   %",
        "Couple                    "
        " : "
        "77   "
        " lbf·ft"
        " " +
            d40,
        "Tr/min                    "
        " : "
        "20   "
        " 1/min"
        " "
        "    1   1370        85   6      93   6",
        // Imperial power and expansion figures keep their decimals.
        "Puissance arbre           "
        " : "
        "0,50 "
        " hp" +
            S(3) + " " + "    2   1370        96   7     106   8",
        "Puissance moteur          "
        " : "
        "0,67 "
        " hp" +
            S(3) + " " + "    3   1370       110   8     121   9",
        "Poids bande               "
        " : "
        "2    "
        " lb/ft²"
        " "
        "    4   1370       123   9     136  10",
        "Dilatation longueur       "
        " : 1,2 inch" +
            S(3) + " " + "    5   1370       137  10     151  11",
        "Dilatation largeur        "
        " : 0,1 inch" +
            S(3) + " " + "    6   1370       151  11     166  12",
        "Longueur totale           "
        " : "
        "85   "
        " ft" +
            S(3) + " " + "    7   1096       169  15     186  17",
        "Pignons moteur            "
        " : 5    " +
            S(6) + " ",
        "Roues renvoi              "
        " : 4    " +
            S(6) + " ",
        "Paliers moteur            "
        " : 3    " +
            S(6) + " ",
        "Paliers renvoi            "
        " : 2    ",
        "Flèche moteur             "
        " : 0,05  inch  ( max. 0,08 inch )",
        "Flèche renvoi             "
        " : 0,02  inch  ( max. 0,08 inch )",
        "Torsion moteur            "
        " : 0,75  °     ( max. 1,50 ° )",
        "Facteur démarrage         "
        " : 1,1  ",
        "Produits sur convoyeur    "
        " : 84   ",
        d40,
        "               REMARQUES                ",
        d40,
        "Long conveyor!",
        "High belt load, consult ZRN.",
    };
    ExpectLines(expected, rtl::Cp1252ToUtf8(Report()));
}

TEST_F(BeltReportTest, RemarksOnlyWithWarnings) {
    ClearWarnings();
    const std::vector<std::string> lines = SplitLines(Report());
    ASSERT_EQ(lines.size(), 58u);
    EXPECT_EQ(lines.back(), "Products on conveyor      "
                            " : 84   ");
}

TEST_F(BeltReportTest, TypedFrictionOfAnUnlistedMaterialIsNoted) {
    // The unlisted material's friction code is spelt "w_Anders" in the fixture.
    module_.cds_invoer.edit();
    module_.Invoer("p_mat_code").setAsString("S_MAT_OTHER");
    module_.Invoer("frc_prod_afw").setAsFloat(0.35);
    module_.PositionLookupRows();
    const std::vector<std::string> lines = SplitLines(Report());
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[9], "Belttype          "
                        " : M25-PP" +
                            S(15) +
                            "Material product  "
                            " : other coefficient of friction 0.35");
}

TEST_F(BeltReportTest, BuildersKeepTheCursorsOfLayoutAndLoadRows) {
    module_.cds_invoer_zones.setRecNo(3);
    module_.cds_load_zones.setRecNo(5);
    module_.BuildTextReport();
    module_.BuildColumnarLine(true);
    EXPECT_EQ(module_.cds_invoer_zones.recNo(), 3);
    EXPECT_EQ(module_.cds_load_zones.recNo(), 5);
}

TEST_F(BeltReportTest, ColumnarHeaderAndLine) {
    const std::string header =
        S(32) + "Columnar report" + S(33) +
        "\r\n"
        "\r\n"
        "Projectname    Belt- or     Width Amount  Load [%]  Sprock.  "
        "Torque  Power      \r\n" +
        S(15) + "Chaintype     [mm]    [m]    con/st    dr/idl   [Nm]  shaft/motor\r\n" +
        std::string(80, '\x97') + "\r\n";
    // The load percentages are those of zone 7, the last zone in use.
    const std::string line =
        "Line 4 packer  M25-PP       600.0   25.9    15  17    5   4     104    372   497\r\n";
    EXPECT_EQ(module_.BuildColumnarLine(true), header + line);
    EXPECT_EQ(module_.BuildColumnarLine(false), line);
    for (const std::string& text : SplitLines(header + line)) {
        if (!text.empty())
            EXPECT_EQ(text.size(), 80u) << text;
    }
}

TEST_F(BeltReportTest, ColumnarLineCutsALongProjectName) {
    module_.EnterText("project", "A project name too long");
    const std::string line = module_.BuildColumnarLine(false);
    EXPECT_EQ(line.substr(0, 28), "A project name M25-PP       ");
    EXPECT_EQ(line.size(), 82u);
}

} // namespace
} // namespace zrn::belt
