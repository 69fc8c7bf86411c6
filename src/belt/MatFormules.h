#pragma once

#include <array>

namespace zrn::belt {

//! Gravity, m/s².
inline constexpr double kGravity = 9.81;
//! Allowed deflection of either shaft, mm.
inline constexpr double kMaxShaftDeflection = 2.0;

//! The formula record of one belt calculation: the inputs in the units the formulas use,
//! the nine formula steps and their results. One record lives as long as its data module and
//! is reused by every pass, so a value that a pass does not write keeps the previous pass's.
//!
//! The steps divide by what they are given; the data module checks for the values that would
//! make them divide by zero (speed without start-up factor, diameter 0, ...) before it runs
//! them.
class TMatdata {
public:
    // ---- inputs ----
    double lengte = 0;                    //!< L: conveyor length, m
    double breedte = 0;                   //!< B: belt width, m
    double gewicht = 0;                   //!< product weight, g
    double diameter = 0;                  //!< d: product diameter, mm
    double bezettingsgraad = 0;           //!< occupation, %
    double product_per_uur = 0;           //!< products per hour
    double matsnelheid = 0;               //!< v: belt speed, m/min
    double stuw = 0;                      //!< a: accumulation as a fraction
    double hoogteverschil = 0;            //!< H: height difference, m
    int temp_zones = 1;                   //!< nz: number of temperature zones in use
    double aslengte = 0;                  //!< Ls: shaft length, m
    bool aandrijving_centraal = false;    //!< centre drive
    std::array<double, 11> zone_lengte{}; //!< zone lengths by index 1..10, m
    std::array<double, 11> zone_temp{};   //!< zone temperatures by index 1..10, °C
    double wrijf_boven = 0;               //!< μb: belt to wearstrip, carrying way
    double wrijf_product = 0;             //!< μp: product to belt
    double wrijf_onder = 0;               //!< μo: belt to support, return way
    double opstartfactor = 0;             //!< SF: start-up factor
    double massa = 0;                     //!< mb: belt mass, kg/m²
    double lin_uitz_coef = 0;             //!< α: expansion, mm per m per °C
    double Dp = 0;                        //!< sprocket pitch diameter, m
    double I = 0;                         //!< shaft second moment of area
    double Ip = 0;                        //!< shaft polar moment
    double Dw = 0;                        //!< shaft diameter

    // ---- results ----
    double rijen = 0;                  //!< rows of products across the width (not rounded)
    double producten_per_m = 0;        //!< n: products per metre of belt length
    double producten_per_m2 = 0;       //!< products per square metre
    double belasting = 0;              //!< q: product load, kg/m²
    double werk_belasting = 0;         //!< W: working pull at the drive, N/m
    double retour_belasting = 0;       //!< Fi: pull on the idler side, N/m
    double ond_belasting = 0;          //!< return-way pull of a centre drive, N/m
    double draaimoment = 0;            //!< T: drive shaft torque, N·m
    double omwentelingen = 0;          //!< drive shaft speed, 1/min
    double vermogen_as = 0;            //!< shaft power, W
    double motorvermogen = 0;          //!< motor power (75 % efficiency), W
    double uitzetting_lengte = 0;      //!< thermal length expansion, mm
    double uitzetting_breedte = 0;     //!< thermal width expansion, mm
    double lengte_mat = 0;             //!< total belt length, m
    int lagers_aandrijfas = 2;         //!< nD: bearings on the drive shaft
    int lagers_retouras = 2;           //!< nR: bearings on the idler shaft
    double doorbuiging_aandrijfas = 0; //!< fD: drive shaft deflection, mm
    double doorbuiging_retouras = 0;   //!< fR: idler shaft deflection, mm
    double hoekverdraaiing = 0;        //!< torsion angle of the drive shaft, degrees
    double max_hoekverdraaiing = 0;    //!< allowed torsion angle, degrees

    // ---- the formula steps ----

    //! Rows across the width and products per metre (rijen, producten_per_m).
    void RowsAcross();
    //! Product load from the product weight (producten_per_m2, belasting).
    void ProductLoad();
    //! Pull at the drive and at the idler (werk_belasting, retour_belasting, and
    //! ond_belasting for a centre drive).
    void BeltPull();
    //! Drive shaft torque (draaimoment).
    void ShaftTorque();
    //! Drive shaft revolutions per minute (omwentelingen).
    void ShaftSpeed();
    //! Shaft and motor power (vermogen_as, motorvermogen).
    void DrivePower();
    //! Thermal expansion and total belt length over the zones in use.
    void ThermalExpansion();
    //! Bearings and deflection of both shafts, adding bearings until both bend less than
    //! the allowed deflection.
    void ShaftDeflection();
    //! Torsion angle of the drive shaft and its allowed value.
    void ShaftTorsion();
};

} // namespace zrn::belt
