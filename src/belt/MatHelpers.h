#pragma once

#include "dataset/Field.h"
#include "lang/MetricField.h"

#include <string>

// Small conversions the belt module's files share.
namespace zrn::belt::detail {

//! A text read as a whole number (blanks around it allowed); anything else is refused with
//! the conversion error "'<text>' is not a valid integer value".
long long StrToInt(const std::string& text);

//! The stored metric value of a quantity field, the plain value of any other number field
//! (0 for null).
double MetricOf(const ds::Field& field);

//! Writes a metric value into a quantity field unconverted, a plain value into any other.
void SetMetric(ds::Field& field, double value);

//! The value truncated towards zero, as a whole number for the look-up filters.
long long Truncate(double value);

} // namespace zrn::belt::detail
