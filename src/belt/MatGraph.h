#pragma once

#include <vector>

namespace zrn::belt {

class Tdm_mat;

//! One point of a chart series: position along the conveyor and a value.
struct TGraphPoint {
    double x = 0; //!< distance from the idler end, in the current unit of "M"
    double y = 0; //!< the value, in the current unit of "N/M" (or percent)

    bool operator==(const TGraphPoint&) const = default;
};

//! What the belt graph shows of the last calculation, in the current unit system: the belt
//! pull from the idler end to the drive, the allowed working load zone by zone (a stepped
//! line: each value holds until the next point) and the load as a percentage of the allowed
//! load.
struct TGraphSeries {
    //! False when there is nothing to draw yet (no calculation): the graph keeps what it
    //! showed.
    bool valid = false;
    std::vector<TGraphPoint> beltLoad; //!< the red line: pull at the idler end, then at the drive
    std::vector<TGraphPoint> maxLoad;  //!< the blue steps: strength of each zone from its start
    std::vector<TGraphPoint> percent;  //!< continuous pull per zone start as % of its strength
    double highestStrength = 0;        //!< the highest strength of the zones in use
    double leftAxisMax = 0;            //!< where the load axis ends: 1.1 x the highest strength
};

//! The series of the belt graph from the module's record, layout rows and load rows as they
//! stand; the current rows of the layout and load rows are kept. Nothing is calculated here
//! beyond placing the zones one after the other.
//!
//! The pull line starts at the idler end with the continuous pull there: for a centre drive
//! the return-way pull `uit_ond_belasting`, for an end drive the idler-side pull of the last
//! pass divided by its start-up factor (the continuous value of the load table's own pull
//! line at the idler end, so the line runs through the load table's continuous values). It
//! ends at the continuous pull of the last zone in use at the drive.
TGraphSeries GraphSeries(Tdm_mat& module);

} // namespace zrn::belt
