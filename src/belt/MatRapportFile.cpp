#include "belt/MatRapportFile.h"

#include "belt/d_mat.h"
#include "common/RtfDocument.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace zrn::belt {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (!IsBlankOrControl(c))
            return false;
    return true;
}

// The plain text of an existing report file; nothing when there is no such file. A file of
// no bytes at all holds no report yet.
std::optional<std::string> ExistingReportText(const std::string& fileName) {
    std::error_code error;
    const auto status = std::filesystem::status(fileName, error);
    if (!std::filesystem::exists(status))
        return std::nullopt;
    if (std::filesystem::is_regular_file(status) &&
        std::filesystem::file_size(fileName, error) == 0 && !error)
        return std::string();
    return common::LoadRtfDocumentText(fileName);
}

} // namespace

std::string AppendedReportText(std::string_view existing, std::string_view addition) {
    std::string text(existing);
    // One line break between the old lines and the new; a text that already ends with one
    // would otherwise get an empty line before every added calculation.
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
    std::size_t first = 0;
    while (first < text.size() && IsBlankOrControl(text[first]))
        ++first;
    if (first == text.size()) {
        text.clear();
    } else {
        const std::size_t lineEnd = text.find_last_of("\r\n", first);
        text.erase(0, lineEnd == std::string::npos ? 0 : lineEnd + 1);
    }
    text += addition;
    return text;
}

void AppendToReportFile(const std::string& fileName,
                        const std::function<std::string(bool emptyFile)>& build) {
    const std::optional<std::string> existing = ExistingReportText(fileName);
    const bool empty = !existing || IsBlank(*existing);
    common::SaveRtfDocument(fileName,
                            AppendedReportText(existing.value_or(std::string()), build(empty)));
}

void SaveTextReport(Tdm_mat& module, const std::string& fileName) {
    common::SaveRtfDocument(fileName, module.BuildTextReport());
}

void AppendTextReport(Tdm_mat& module, const std::string& fileName) {
    AppendToReportFile(fileName, [&module](bool) { return module.BuildTextReport(); });
}

void MakeColumnarReport(Tdm_mat& module, const std::string& fileName) {
    common::SaveRtfDocument(fileName, module.BuildColumnarLine(true));
}

void AppendColumnarReport(Tdm_mat& module, const std::string& fileName) {
    AppendToReportFile(fileName,
                       [&module](bool emptyFile) { return module.BuildColumnarLine(emptyFile); });
}

} // namespace zrn::belt
