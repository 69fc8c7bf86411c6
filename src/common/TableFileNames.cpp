#include "common/TableFileNames.h"

#include "rtl/Paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace zrn::common {

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string OverrideFileName(const std::string& fileName) {
    const auto nameStart = fileName.rfind(rtl::PathDelim);
    const auto dot = fileName.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    return (hasExtension ? fileName.substr(0, dot) : fileName) + ".CDS";
}

std::optional<std::string> FindFileIgnoringCase(const std::string& fileName) {
    if (fileName.empty())
        return std::nullopt;
    if (IsRegularFile(fileName))
        return fileName;

    const auto nameStart = fileName.rfind(rtl::PathDelim);
    const std::string folder =
        nameStart == std::string::npos ? std::string() : fileName.substr(0, nameStart + 1);
    const std::string name =
        nameStart == std::string::npos ? fileName : fileName.substr(nameStart + 1);
    if (name.empty())
        return std::nullopt;

    std::vector<std::string> matches;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualsIgnoringCase(candidate, name) && IsRegularFile(it->path()))
            matches.push_back(candidate);
    }
    if (matches.empty())
        return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return folder + matches.front();
}

} // namespace zrn::common
