#pragma once

#include "lang/u_taal_comps.h"
#include "rtl/NumberFormat.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zrn::lang::test {

//! The small language directory of these tests: units MM, C, BAD, TXT; languages engels
//! and nederlands (the latter with lower-case field names).
inline std::string FixtureTaalDir() {
    return std::string(ZRN_FIXTURES_DIR) + "/lang/";
}

//! Puts the program-wide number format and program folder back after each test.
class TaalTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings().decimalSeparator = '.';
        rtl::FormatSettings().thousandSeparator = ',';
    }
    void TearDown() override {
        rtl::FormatSettings() = saved_;
        rtl::SetExeDirectory("");
    }

    //! A service reading the fixture directory in language "engels".
    void OpenFixture(TTaalComponent& service) {
        service.SetLoading(true);
        service.SetTaal("engels");
        service.SetLoading(false);
        service.SetTaalDirectory(FixtureTaalDir());
    }

private:
    rtl::NumberFormat saved_;
};

//! Makes the observer write name into log each time it is told.
inline void LogInto(TTaalObserver& observer, std::vector<std::string>& log, std::string name) {
    observer.OnTaalChange = [&log, name](TTaalObserver&, ITaalSubject&) { log.push_back(name); };
}

} // namespace zrn::lang::test
