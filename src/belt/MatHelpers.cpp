#include "belt/MatHelpers.h"

#include "rtl/Error.h"

#include <charconv>
#include <cmath>

namespace zrn::belt::detail {

long long StrToInt(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t");
    const auto end = text.find_last_not_of(" \t");
    long long value = 0;
    if (begin != std::string::npos) {
        const char* first = text.data() + begin;
        const char* last = text.data() + end + 1;
        if (*first == '+')
            ++first;
        auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec == std::errc() && ptr == last && first != last)
            return value;
    }
    throw Error("'" + text + "' is not a valid integer value");
}

double MetricOf(const ds::Field& field) {
    if (auto* metric = dynamic_cast<const lang::TMetricField*>(&field))
        return metric->MetricValue();
    return field.asFloat();
}

void SetMetric(ds::Field& field, double value) {
    if (auto* metric = dynamic_cast<lang::TMetricField*>(&field))
        metric->SetMetricValue(value);
    else
        field.setAsFloat(value);
}

long long Truncate(double value) {
    // Out-of-range values only come from nonsense input; they must not be undefined here.
    constexpr double kLimit = 9.0e18;
    if (std::isnan(value))
        return 0;
    if (value > kLimit)
        return static_cast<long long>(kLimit);
    if (value < -kLimit)
        return -static_cast<long long>(kLimit);
    return static_cast<long long>(std::trunc(value));
}

} // namespace zrn::belt::detail
