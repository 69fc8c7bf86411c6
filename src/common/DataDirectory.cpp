#include "common/DataDirectory.h"

#include "rtl/Paths.h"

namespace zrn::common {

std::string CompleteDirectory(const std::string& value) {
    // Whether the value is relative is decided before the separator is added, so an empty
    // value stays beside the executable instead of becoming the root folder.
    std::string path = rtl::IsAbsolutePath(value) ? value : rtl::ExeDirectory() + value;
    return rtl::IncludeTrailingPathDelimiter(path);
}

bool DataDirectoryProperty::set(const std::string& value) {
    if (value == value_)
        return false;
    std::string completed = CompleteDirectory(value);
    if (completed == value_)
        return false;
    value_ = std::move(completed);
    return true;
}

} // namespace zrn::common
