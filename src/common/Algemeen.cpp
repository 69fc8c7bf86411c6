#include "common/Algemeen.h"

#include "common/TableFileNames.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "rtl/Error.h"
#include "rtl/NumberFormat.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zrn::common {

namespace {

std::string OpenFailure(const std::string& fileName, int error) {
    return "Cannot open file \"" + fileName + "\". " + std::strerror(error);
}

std::string ReadFileBytes(const std::string& fileName) {
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"),
                                                         &std::fclose);
    if (!file)
        throw Error(OpenFailure(fileName, errno ? errno : ENOENT));
    std::string bytes;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, count);
    if (std::ferror(file.get())) // a folder opens but cannot be read
        throw Error(OpenFailure(fileName, errno ? errno : EIO));
    return bytes;
}

std::string WithCrLfLines(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            text.append(bytes, i, std::string::npos);
            text += "\r\n";
            break;
        }
        text.append(bytes, i, end - i);
        text += "\r\n";
        i = end + 1;
        if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n')
            ++i;
    }
    return text;
}

} // namespace

std::string ReadTextFile(const std::string& fileName) {
    return WithCrLfLines(ReadFileBytes(fileName));
}

std::string FindTableSource(const std::string& fileName) {
    if (auto override = FindFileIgnoringCase(OverrideFileName(fileName)))
        return *override;
    return FindFileIgnoringCase(fileName).value_or(fileName);
}

void ReadTableFile(ds::Table& table, const std::string& fileName) {
    rtl::FileNumberFormat fileFormat;
    table.close();
    const std::string bytes = ReadFileBytes(fileName);
    // A binary packet is taken as it is: the text reader's line-break rule would damage it.
    if (ds::IsBinaryPacket(bytes))
        ds::LoadFromBinary(table, bytes, fileName);
    else
        ds::LoadFromXml(table, WithCrLfLines(bytes), fileName);
    if (!table.isActive())
        table.open();
}

void LoadTable(ds::Table& table, const std::string& fileName) {
    rtl::FileNumberFormat fileFormat;
    table.setFileName({});
    table.close();
    ReadTableFile(table, FindTableSource(fileName));
}

void SaveTable(ds::Table& table, const std::string& fileName) {
    rtl::FileNumberFormat fileFormat;
    if (table.isEditing())
        table.post();
    ds::SaveToFile(table, fileName);
    table.mergeChangeLog();
}

} // namespace zrn::common
