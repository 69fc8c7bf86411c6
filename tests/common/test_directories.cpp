#include "common/DataDirectory.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

namespace zrn::common {
namespace {

// Puts the program folder somewhere known for one test.
class ExeDirectoryGuard {
public:
    explicit ExeDirectoryGuard(const std::string& dir) { rtl::SetExeDirectory(dir); }
    ~ExeDirectoryGuard() { rtl::SetExeDirectory({}); }
};

TEST(CompleteDirectory, RelativeBesideTheProgramAbsoluteKept) {
    ExeDirectoryGuard exe("/opt/zrn");
    struct Case {
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"data", "/opt/zrn/data/"},
        {"data/", "/opt/zrn/data/"},
        {"sub/taal", "/opt/zrn/sub/taal/"},
        {"/srv/zrn/data", "/srv/zrn/data/"},
        {"/srv/zrn/data/", "/srv/zrn/data/"},
        {"/", "/"},
        // Stored values from elsewhere keep their form and only get the separator.
        {"C:\\ZRN\\data", "C:\\ZRN\\data/"},
        {"\\\\server\\zrn\\data", "\\\\server\\zrn\\data/"},
        // Nothing given: the program folder itself, never the root folder.
        {"", "/opt/zrn/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(CompleteDirectory(c.value), c.expected);
    }
}

TEST(DataDirectoryProperty, StoresCompletedValueAndTellsWhetherItChanged) {
    ExeDirectoryGuard exe("/opt/zrn");
    DataDirectoryProperty dir;
    EXPECT_EQ(dir.value(), "");
    EXPECT_TRUE(dir.set("data"));
    EXPECT_EQ(dir.value(), "/opt/zrn/data/");
    // The same folder again, however it is spelt, changes nothing.
    EXPECT_FALSE(dir.set("data"));
    EXPECT_FALSE(dir.set("/opt/zrn/data/"));
    EXPECT_FALSE(dir.set("/opt/zrn/data"));
    EXPECT_EQ(dir.value(), "/opt/zrn/data/");
    EXPECT_TRUE(dir.set("C:\\data"));
    EXPECT_EQ(dir.value(), "C:\\data/");
}

} // namespace
} // namespace zrn::common
