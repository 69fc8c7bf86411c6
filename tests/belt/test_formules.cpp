#include "belt/MatFormules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

// The nine formula steps of the belt calculation, each against values worked out by hand.
namespace zrn::belt {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kSqrt3Half = 0.86602540378443865; // √3 / 2

struct RowsCase {
    double breedte, diameter, bezetting, rijen, perMetre;
};

TEST(MatFormules, RowsAcrossStaggersRowsAndFallsBackToOneRow) {
    const RowsCase cases[] = {
        // (600 - 100) / 86.6025 + 1 = 6.7735; n = 1000 / 100 × 6.7735 = 67.735
        {0.6, 100, 100, 500 / (100 * kSqrt3Half) + 1, 67.735026918962582},
        // (400 - 100) / 86.6025 + 1 = 4.4641; at 50 %: n = 10 × 4.4641 × 0.5 = 22.3205
        {0.4, 100, 50, 300 / (100 * kSqrt3Half) + 1, 22.320508075688775},
        // 300 mm products on a 300 mm belt: (300 - 300) / ... + 1 = 1 < 2, one row; n = 3.333
        {0.3, 300, 100, 1, 1000.0 / 300},
        // (150 - 100) / 86.6025 + 1 = 1.577 < 2 gives one row too; n = 10
        {0.15, 100, 100, 1, 10},
    };
    for (const RowsCase& c : cases) {
        TMatdata m;
        m.breedte = c.breedte;
        m.diameter = c.diameter;
        m.bezettingsgraad = c.bezetting;
        m.RowsAcross();
        EXPECT_NEAR(m.rijen, c.rijen, 1e-9) << c.breedte << " m, " << c.diameter << " mm";
        EXPECT_NEAR(m.producten_per_m, c.perMetre, 1e-9) << c.breedte << " m";
    }
}

TEST(MatFormules, ProductLoadFromProductWeight) {
    TMatdata m;
    m.producten_per_m = 44.641016151377556; // 400 mm belt, 100 mm products
    m.breedte = 0.4;
    m.gewicht = 50;
    m.ProductLoad();
    EXPECT_NEAR(m.producten_per_m2, 111.60254037844389, 1e-9); // 44.641016 / 0.4
    EXPECT_NEAR(m.belasting, 5.5801270189221945, 1e-9);        // 50 / 1000 × 111.60254
}

struct PullCase {
    bool centre;
    double H;
    double Fi, W, ond;
};

TEST(MatFormules, BeltPullForEndAndCentreDriveLevelAndInclined) {
    // L = 10 m, q = 20, mb = 5, μb = 0.25, μp = 0.2, μo = 0.25, a = 1, SF = 1.25, P = 25.
    // Inclined: H = 1 m, Lh = √99 = 9.949874, μo·Lh − H = 1.487469.
    // Z = 0.55·5·1.487469 + 20·0.2·9.949874 + 25·(0.25·9.949874 + 1) = 131.076751
    const PullCase cases[] = {
        // Fi = 5·0.25·10·9.81·1.1·1.25 = 168.609375
        // W = (25·0.25 + 1.1·5·0.25 + 20·0.2)·10·9.81·1.25 = 11.625·122.625 = 1425.515625
        {false, 0, 168.609375, 1425.515625, 7},
        // Fi = 1.487469·5·9.81·1.1·1.25 = 100.320460
        // W = (1.1·5·1.487469 + 20·0.2·9.949874 + 25·(2.487469 + 1))·9.81·1.25 = 1657.488888
        {false, 1, 100.32045990339901, 1657.4888882741914, 7},
        // Fi = (6.25 + 0.625 + 4)·10·9.81·1.1·1.25 = 10.875·134.8875 = 1466.9015625
        // W = (1.1·(6.25 + 0.6875 + 4) + 0.625)·10·9.81·1.05·1.25 = 12.65625·128.75625
        // ond = 0.5·5·0.25·10·9.81·1.1·1.25 = 84.3046875
        {true, 0, 1466.9015625, 1629.5712890625, 84.3046875},
        // Fi = 1.1·131.076751·9.81·1.25 = 1768.061524
        // W = (1.1·131.076751 + 0.5·5·1.487469)·9.81·1.05·1.25 = 1904.344820
        // ond = 0.5·5·1.487469·9.81·1.1·1.25 = 50.160230
        {true, 1, 1768.0615241547412, 1904.344819861828, 50.160229951699506},
    };
    for (const PullCase& c : cases) {
        TMatdata m;
        m.lengte = 10;
        m.hoogteverschil = c.H;
        m.belasting = 20;
        m.massa = 5;
        m.wrijf_boven = 0.25;
        m.wrijf_product = 0.2;
        m.wrijf_onder = 0.25;
        m.stuw = 1;
        m.opstartfactor = 1.25;
        m.aandrijving_centraal = c.centre;
        m.ond_belasting = 7; // an end drive leaves the centre-drive return pull alone
        m.BeltPull();
        const std::string what =
            std::string(c.centre ? "centre" : "end") + " H=" + std::to_string(c.H);
        EXPECT_NEAR(m.retour_belasting, c.Fi, 1e-6) << what;
        EXPECT_NEAR(m.werk_belasting, c.W, 1e-6) << what;
        EXPECT_NEAR(m.ond_belasting, c.ond, 1e-6) << what;
    }
}

TEST(MatFormules, LevelEndDrivePullIsLinearInLength) {
    TMatdata m;
    m.belasting = 20;
    m.massa = 5;
    m.wrijf_boven = m.wrijf_onder = 0.25;
    m.wrijf_product = 0.2;
    m.stuw = 1;
    m.opstartfactor = 1.25;
    m.lengte = 10;
    m.BeltPull();
    const double at10 = m.werk_belasting;
    m.lengte = 30;
    m.BeltPull();
    EXPECT_NEAR(m.werk_belasting, 3 * at10, 1e-9);
}

TEST(MatFormules, TorqueSpeedAndPowerOfTheDriveShaft) {
    TMatdata m;
    m.werk_belasting = 1425.515625;
    m.opstartfactor = 1.25;
    m.breedte = 0.4;
    m.Dp = 0.1;
    m.matsnelheid = 15;
    m.ShaftTorque();
    m.ShaftSpeed();
    m.DrivePower();
    // T = 1425.515625 / 1.25 × 0.4 × 0.1 / 2 = 1140.4125 × 0.02 = 22.80825
    EXPECT_NEAR(m.draaimoment, 22.80825, 1e-9);
    // 15 / (π × 0.1) = 47.746483
    EXPECT_NEAR(m.omwentelingen, 15 / (kPi * 0.1), 1e-9);
    // 1140.4125 × 0.4 × 15 / 60 = 114.04125; motor 114.04125 × 100 / 75 = 152.055
    EXPECT_NEAR(m.vermogen_as, 114.04125, 1e-9);
    EXPECT_NEAR(m.motorvermogen, 152.055, 1e-9);
}

struct ExpansionCase {
    const char* what;
    int zones;
    bool centre;
    double lengths[4];
    double temps[4];
    double expansion, widthExpansion, beltLength;
};

TEST(MatFormules, ThermalExpansionOverTheZones) {
    // L = 10 m, B = 0.4 m, Dp = 0.1 m (half wrap π·0.1/2 = 0.05π), α = 0.1 mm/(m·°C)
    const ExpansionCase cases[] = {
        // li = 2·10 + 0.05π + 0.05π = 20.314159; ΔT = 0; length 20.314159 + 0.02·10
        {"one zone at 20", 1, false, {0, 10}, {0, 20}, 0, 0, 20 + 0.1 * kPi + 0.2},
        // expansion 20.314159·0.1·40 = 81.256637; width 0.4·0.1·40 = 1.6
        {"one zone at 60",
         1,
         false,
         {0, 10},
         {0, 60},
         (20 + 0.1 * kPi) * 4,
         1.6,
         20 + 0.1 * kPi + 0.2},
        // li = 20 + 3·0.05π = 20.471239; 20.471239·0.1·40 = 81.884956, plus 0.5·0.1·40 = 2;
        // length 20.471239 + 0.5 + 0.2
        {"centre drive at 60",
         1,
         true,
         {0, 10},
         {0, 60},
         (20 + 0.15 * kPi) * 4 + 2,
         1.6,
         20 + 0.15 * kPi + 0.7},
        // zone 1: 8 + 0.05π at ΔT 0; zone 2: 6 at ΔT 30 → 18; zone 3: 6 + 0.05π at ΔT 10 →
        // 6.157080; highest 50: width 0.4·0.1·30 = 1.2; length 20 + 0.1π + 0.2
        {"three zones",
         3,
         false,
         {0, 4, 3, 3},
         {0, 20, 50, 30},
         18 + (6 + 0.05 * kPi),
         1.2,
         20 + 0.1 * kPi + 0.2},
    };
    for (const ExpansionCase& c : cases) {
        TMatdata m;
        m.lengte = 10;
        m.breedte = 0.4;
        m.Dp = 0.1;
        m.lin_uitz_coef = 0.1;
        m.temp_zones = c.zones;
        m.aandrijving_centraal = c.centre;
        for (int i = 1; i <= 3; ++i) {
            m.zone_lengte[i] = c.lengths[i];
            m.zone_temp[i] = c.temps[i];
        }
        m.ThermalExpansion();
        EXPECT_NEAR(m.uitzetting_lengte, c.expansion, 1e-9) << c.what;
        EXPECT_NEAR(m.uitzetting_breedte, c.widthExpansion, 1e-9) << c.what;
        EXPECT_NEAR(m.lengte_mat, c.beltLength, 1e-9) << c.what;
    }
}

struct DeflectionCase {
    const char* what;
    double W, Fi, Ls, B, I;
    int nD, nR;
    double fD, fR;
};

TEST(MatFormules, ShaftDeflectionAddsBearingsUntilBothShaftsHold) {
    const DeflectionCase cases[] = {
        // 50 mm beyond the belt: span formula, 5·1425.515625·0.45⁴·1e9 / (7.68e7·20000)
        {"span", 1425.515625, 0, 0.45, 0.4, 20000, 2, 2, 0.1902833662033081, 0},
        // 150 mm beyond: e = (0.5²/2 + 0.05·0.5) / 0.55 = 0.272727;
        // fD = (e⁴/3 − e⁴/8)·1425.515625·1e9 / (2e5·20000) = 0.410757
        {"overhang", 1425.515625, 0, 0.55, 0.4, 20000, 2, 2, 0.41075705504875, 0},
        // 5·12000·1⁴·1e9 / (7.68e7·390625) = 6e13 / 3e13 = 2 exactly: one more bearing,
        // then 2 / 2⁴ = 0.125
        {"exactly 2 mm", 12000, 0, 1, 1, 390625, 3, 2, 0.125, 0},
        // W = 40000 on a 1 m shaft, I = 20000: 130.2 (n 2), 8.14 (n 3), 1.6075 (n 4);
        // Fi = 2000: 5·(2000 + 1818.18)·1e9 / 1.536e12 = 12.429 (n 2), 0.7768 (n 3)
        {"heavy", 40000, 2000, 1, 0.9, 20000, 4, 3, 1.6075102880658432, 0.77681107954545454},
    };
    for (const DeflectionCase& c : cases) {
        TMatdata m;
        m.werk_belasting = c.W;
        m.retour_belasting = c.Fi;
        m.aslengte = c.Ls;
        m.breedte = c.B;
        m.I = c.I;
        m.ShaftDeflection();
        EXPECT_EQ(m.lagers_aandrijfas, c.nD) << c.what;
        EXPECT_EQ(m.lagers_retouras, c.nR) << c.what;
        EXPECT_NEAR(m.doorbuiging_aandrijfas, c.fD, 1e-9) << c.what;
        EXPECT_NEAR(m.doorbuiging_retouras, c.fR, 1e-9) << c.what;
    }
}

TEST(MatFormules, ShaftDeflectionEndsOnAnUndefinedPull) {
    TMatdata m;
    m.werk_belasting = std::nan("");
    m.aslengte = 0.5;
    m.breedte = 0.4;
    m.I = 20000;
    m.ShaftDeflection(); // must return rather than add bearings for ever
    EXPECT_EQ(m.lagers_aandrijfas, 2);
}

TEST(MatFormules, ShaftTorsionAndItsAllowedAngle) {
    TMatdata m;
    m.draaimoment = 22.80825;
    m.aslengte = 0.5;
    m.Ip = 40000;
    m.Dw = 25;
    m.ShaftTorsion();
    // 180·22.80825·0.5·1e6 / (150000π·40000) = 2.0527425e9 / 1.884956e10 = 0.108901
    EXPECT_NEAR(m.hoekverdraaiing, 0.10890137192327168, 1e-12);
    // 11.25·25³·0.5·1000·175 / (40000·75000) = 1.5380859375e10 / 3e9 = 5.126953125
    EXPECT_NEAR(m.max_hoekverdraaiing, 5.126953125, 1e-12);
}

} // namespace
} // namespace zrn::belt
