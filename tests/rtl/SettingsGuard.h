#pragma once

#include "rtl/NumberFormat.h"

namespace zrn::rtl::test {

// Sets the program-wide number format for one test and puts the previous one back after it,
// so a failing case cannot leave a decimal comma behind for the next test.
class SettingsGuard {
public:
    //! '.' with ',' for thousands, or ',' with '.' for thousands.
    explicit SettingsGuard(char decimalSeparator) : saved_(FormatSettings()) {
        FormatSettings().decimalSeparator = decimalSeparator;
        FormatSettings().thousandSeparator = decimalSeparator == ',' ? '.' : ',';
    }
    ~SettingsGuard() { FormatSettings() = saved_; }
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;

private:
    NumberFormat saved_;
};

} // namespace zrn::rtl::test
