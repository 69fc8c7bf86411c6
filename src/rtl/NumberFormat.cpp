#include "rtl/NumberFormat.h"

namespace zrn::rtl {

NumberFormat& FormatSettings() {
    static NumberFormat settings;
    return settings;
}

FileNumberFormat::FileNumberFormat()
    : decimal_(FormatSettings().decimalSeparator), thousand_(FormatSettings().thousandSeparator) {
    FormatSettings().decimalSeparator = '.';
    FormatSettings().thousandSeparator = ',';
}

FileNumberFormat::~FileNumberFormat() {
    FormatSettings().decimalSeparator = decimal_;
    FormatSettings().thousandSeparator = thousand_;
}

} // namespace zrn::rtl
