#include "lang/MetricField.h"

#include "lang/TaalComponent.h"

namespace zrn::lang {

TMetricField::TMetricField(std::string name, std::string eenhCode)
    : ds::Field(std::move(name), ds::FieldType::Float), eenhCode_(std::move(eenhCode)) {}

bool TMetricField::ImperialMode() const {
    return TaalComponent() && TaalComponent()->Eenheid() == ehImperial;
}

double TMetricField::MetricValue() const {
    return ds::Field::asFloat();
}

void TMetricField::SetMetricValue(double value) {
    ds::Field::setAsFloat(value);
}

double TMetricField::asFloat() const {
    const double stored = ds::Field::asFloat();
    return ImperialMode() ? TaalComponent()->ToImperial(eenhCode_, stored) : stored;
}

void TMetricField::setAsFloat(double value) {
    ds::Field::setAsFloat(ImperialMode() ? TaalComponent()->ToMetric(eenhCode_, value) : value);
}

void TMetricField::SubjectChanged(ITaalSubject& subject) {
    notifyChanged();
}

} // namespace zrn::lang
