#include "dataset/Packet.h"

#include "dataset/PacketModel.h"
#include "dataset/Table.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zrn::ds {

void LoadFromXml(Table& table, std::string_view xml, const std::string& source) {
    table.close();
    PacketAccess::Apply(table, ReadXmlPacket(xml, source), source);
}

std::string SaveToXml(const Table& table) {
    return WriteXmlPacket(PacketAccess::Extract(table));
}

void LoadFromBinary(Table& table, std::string_view bytes, const std::string& source) {
    table.close();
    PacketAccess::Apply(table, ReadBinaryPacket(bytes, source), source);
}

std::string SaveToBinary(const Table& table) {
    return WriteBinaryPacket(PacketAccess::Extract(table));
}

void LoadFromBytes(Table& table, std::string_view bytes, const std::string& source) {
    if (IsBinaryPacket(bytes))
        LoadFromBinary(table, bytes, source);
    else
        LoadFromXml(table, bytes, source);
}

void LoadFromFile(Table& table, const std::string& path) {
    table.close();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error("Cannot open file \"" + path + "\". " + std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        throw Error("Cannot read file \"" + path + "\"");
    LoadFromBytes(table, content.str(), path);
}

namespace {

bool HasXmlExtension(const std::string& path) {
    std::filesystem::path p(path);
    return text::EqualsIgnoreCase(p.extension().string(), ".xml");
}

} // namespace

void SaveToFile(const Table& table, const std::string& path) {
    std::string data = HasXmlExtension(path) ? SaveToXml(table) : SaveToBinary(table);
    // Written beside the target first, so a failed write never leaves half a table file.
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            throw Error("Cannot create file \"" + path + "\". " + std::strerror(errno));
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            throw Error("Cannot write file \"" + path + "\"");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw Error("Cannot write file \"" + path + "\". " + ec.message());
    }
}

} // namespace zrn::ds
