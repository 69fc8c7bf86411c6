#include "belt/MatFormules.h"

#include <cmath>
#include <numbers>

namespace zrn::belt {

namespace {
// 150000·π: the torsion formula's shear modulus term for the shaft units in use.
constexpr double kTorsionDivisor = 471238.8980384689858;
} // namespace

void TMatdata::RowsAcross() {
    const double d = diameter;
    rijen = (breedte * 1000.0 - d) / (d * std::sqrt(3.0) / 2.0) + 1.0;
    // A belt narrower than two staggered rows carries the products in one line.
    if (rijen < 2)
        rijen = 1;
    producten_per_m = 1000.0 / d * rijen * bezettingsgraad / 100.0;
}

void TMatdata::ProductLoad() {
    producten_per_m2 = producten_per_m / breedte;
    belasting = gewicht / 1000.0 * producten_per_m2;
}

void TMatdata::BeltPull() {
    const double L = lengte;
    const double H = hoogteverschil;
    const double q = belasting;
    const double mb = massa;
    const double mub = wrijf_boven;
    const double mup = wrijf_product;
    const double muo = wrijf_onder;
    const double a = stuw;
    const double SF = opstartfactor;
    const double g = kGravity;
    const double P = q + mb;
    if (!aandrijving_centraal) {
        if (H == 0) {
            retour_belasting = mb * muo * L * g * 1.1 * SF;
            werk_belasting = (P * mub + 1.1 * mb * muo + q * mup * a) * L * g * SF;
        } else {
            const double Lh = std::sqrt(L * L - H * H);
            retour_belasting = (muo * Lh - H) * mb * g * 1.1 * SF;
            werk_belasting =
                (1.1 * mb * (muo * Lh - H) + q * mup * a * Lh + P * (mub * Lh + H)) * g * SF;
        }
        return;
    }
    if (H == 0) {
        retour_belasting = (P * mub + 0.5 * mb * muo + q * mup * a) * L * g * 1.1 * SF;
        werk_belasting =
            (1.1 * (P * mub + 0.55 * mb * muo + q * mup * a) + 0.5 * mb * muo) * L * g * 1.05 * SF;
        ond_belasting = 0.5 * mb * muo * L * g * 1.1 * SF;
    } else {
        const double Lh = std::sqrt(L * L - H * H);
        const double Z = 0.55 * mb * (muo * Lh - H) + q * mup * a * Lh + P * (mub * Lh + H);
        retour_belasting = 1.1 * Z * g * SF;
        werk_belasting = (1.1 * Z + 0.5 * mb * (muo * Lh - H)) * g * 1.05 * SF;
        ond_belasting = 0.5 * mb * (muo * Lh - H) * g * 1.1 * SF;
    }
}

void TMatdata::ShaftTorque() {
    draaimoment = werk_belasting / opstartfactor * breedte * Dp / 2.0;
}

void TMatdata::ShaftSpeed() {
    omwentelingen = matsnelheid / (std::numbers::pi * Dp);
}

void TMatdata::DrivePower() {
    vermogen_as = werk_belasting / opstartfactor * breedte * matsnelheid / 60.0;
    motorvermogen = vermogen_as * 100.0 / 75.0;
}

void TMatdata::ThermalExpansion() {
    const double halfWrap = std::numbers::pi * Dp / 2.0;
    const int nz = temp_zones;
    double expansion = 0;
    double length = 0;
    double highest = -100;
    for (int i = 1; i <= nz; ++i) {
        // Carrying and return way, plus the wrap round the shafts at the belt's ends.
        double li = 2.0 * zone_lengte[i];
        if (i == 1 || i == nz)
            li += halfWrap;
        if (nz == 1) {
            li += halfWrap;
            if (aandrijving_centraal)
                li += halfWrap;
        }
        expansion += li * lin_uitz_coef * (zone_temp[i] - 20.0);
        length += li;
        if (zone_temp[i] >= highest)
            highest = zone_temp[i];
    }
    uitzetting_breedte = breedte * lin_uitz_coef * (highest - 20.0);
    if (aandrijving_centraal) {
        expansion += 0.5 * lin_uitz_coef * (zone_temp[nz] - 20.0);
        length += 0.5;
    }
    length += 0.02 * lengte;
    uitzetting_lengte = expansion;
    lengte_mat = length;
}

void TMatdata::ShaftDeflection() {
    const double W = werk_belasting;
    const double Fi = retour_belasting;
    const double Ls = aslengte;
    const double B = breedte;
    lagers_aandrijfas = 2;
    lagers_retouras = 2;
    for (;;) {
        const double sD = Ls / (lagers_aandrijfas - 1);
        doorbuiging_aandrijfas = 5.0 * W * std::pow(sD, 4) * 1e9 / (7.68e7 * I);
        const double sR = Ls / (lagers_retouras - 1);
        doorbuiging_retouras = 5.0 * (Fi + Fi / 1.1) * std::pow(sR, 4) * 1e9 / (7.68e7 * I);
        // A shaft that sticks out more than 0.1 m beyond the belt bends as an overhang.
        if (Ls - B > 0.1 && lagers_aandrijfas == 2) {
            const double e = ((B + 0.1) * (B + 0.1) / 2.0 + (Ls - B - 0.1) * (B + 0.1)) / Ls;
            const double e4 = std::pow(e, 4);
            doorbuiging_aandrijfas = (e4 / 3.0 - e4 / 8.0) * W * 1e9 / (2e5 * I);
        }
        // Asked as "too much" rather than "small enough", so an undefined deflection ends
        // the loop instead of adding bearings for ever.
        const bool driveTooMuch = doorbuiging_aandrijfas >= kMaxShaftDeflection;
        const bool idlerTooMuch = doorbuiging_retouras >= kMaxShaftDeflection;
        if (!driveTooMuch && !idlerTooMuch)
            return;
        if (driveTooMuch)
            ++lagers_aandrijfas;
        if (idlerTooMuch)
            ++lagers_retouras;
    }
}

void TMatdata::ShaftTorsion() {
    hoekverdraaiing = 180.0 * draaimoment * aslengte * 1e6 / (kTorsionDivisor * Ip);
    max_hoekverdraaiing = 11.25 * Dw * Dw * Dw * aslengte * 1000.0 * 175.0 / (Ip * 75000.0);
}

} // namespace zrn::belt
