#include "rtl/Paths.h"

#include <filesystem>
#include <system_error>

namespace zrn::rtl {

namespace {
std::string& exeDirOverride() {
    static std::string dir;
    return dir;
}
} // namespace

std::string ExeDirectory() {
    if (!exeDirOverride().empty())
        return exeDirOverride();
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return IncludeTrailingPathDelimiter(std::filesystem::current_path().string());
    return IncludeTrailingPathDelimiter(exe.parent_path().string());
}

void SetExeDirectory(const std::string& dir) {
    exeDirOverride() = dir.empty() ? std::string() : IncludeTrailingPathDelimiter(dir);
}

bool IsAbsolutePath(const std::string& path) {
    // Besides "/..." the Windows forms a stored value may carry stay absolute too.
    return (!path.empty() && path[0] == '/') || path.find(':') != std::string::npos ||
           path.rfind("\\\\", 0) == 0;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == PathDelim)
        return path;
    return path + PathDelim;
}

} // namespace zrn::rtl
