#pragma once

#include "dataset/Field.h"
#include "lang/TaalClient.h"

#include <string>

namespace zrn::lang {

//! A real-number table field holding a physical quantity. The stored value is always
//! metric; every number and text path shows and accepts it in the unit system of its
//! language service (imperial mode: a service whose Eenheid is ehImperial). Calculations
//! and files use the stored value (MetricValue). Range checks apply to the stored value.
//!
//! Without a service, or in the metric system, nothing is converted. In imperial mode a
//! code the unit file lacks (or an empty one) converts every value to 0.
class TMetricField : public ds::Field, public TTaalClient {
public:
    //! A Float field of that name with the unit code of its quantity ("MM", "C", ...).
    explicit TMetricField(std::string name, std::string eenhCode = {});

    //! The unit code of the quantity, a row of the unit file.
    const std::string& EenhCode() const { return eenhCode_; }
    //! Sets the unit code.
    void SetEenhCode(std::string eenhCode) { eenhCode_ = std::move(eenhCode); }

    //! True when values are shown and entered in imperial units.
    bool ImperialMode() const;

    //! The stored metric value (0 for null), never converted.
    double MetricValue() const;
    //! Stores a metric value without conversion (the whole change sequence runs).
    void SetMetricValue(double value);

    //! The value in the current unit system (a null field reads as 0 before conversion).
    double asFloat() const override;
    //! Stores a value given in the current unit system, converted to metric.
    void setAsFloat(double value) override;

    //! The unit system changed: bound controls show the field again.
    void SubjectChanged(ITaalSubject& subject) override;

protected:
    bool AppliesOnAttach() const override { return false; }

private:
    std::string eenhCode_;
};

} // namespace zrn::lang
