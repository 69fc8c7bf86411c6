#pragma once

#include "dataset/Table.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace zrn::common::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// test ends. Table files are written during the tests, so fixtures are copied here first.
class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("zrn_common_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    //! The folder, ending in the separator.
    std::string path() const { return path_.string() + rtl::PathDelim; }
    //! A name inside the folder.
    std::string file(const std::string& name) const { return path() + name; }
    //! Copies a folder of tests/fixtures (recursively) into this one.
    void copyFixture(const std::string& fixture) const {
        std::filesystem::copy(std::string(ZRN_FIXTURES_DIR) + "/" + fixture, path_,
                              std::filesystem::copy_options::recursive);
    }

private:
    std::filesystem::path path_;
};

//! The bytes of a file ("" when it does not exist).
inline std::string FileBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

//! Writes the bytes to a file, replacing it.
inline void WriteBytes(const std::string& fileName, const std::string& bytes) {
    std::ofstream(fileName, std::ios::binary | std::ios::trunc) << bytes;
}

//! True when the file exists.
inline bool Exists(const std::string& fileName) {
    return std::filesystem::exists(fileName);
}

//! A small XML table file: text `code` (10, required) and real `massa`, one row per pair.
inline std::string MassaPacket(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::string xml = "<?xml version=\"1.0\" standalone=\"yes\"?>\n<DATAPACKET Version=\"2.0\">"
                      "<METADATA><FIELDS>"
                      "<FIELD attrname=\"code\" fieldtype=\"string\" WIDTH=\"10\" "
                      "required=\"true\"/><FIELD attrname=\"massa\" fieldtype=\"r8\"/>"
                      "</FIELDS><PARAMS/></METADATA><ROWDATA>";
    for (const auto& [code, massa] : rows)
        xml += std::string("<ROW code=\"") + code + "\" massa=\"" + massa + "\"/>";
    return xml + "</ROWDATA></DATAPACKET>\n";
}

//! The `field` texts of every row, in table order, joined by "|".
inline std::string Column(ds::Table& table, const std::string& field) {
    std::string out;
    for (table.first(); !table.eof(); table.next())
        out += (table.recNo() > 1 ? "|" : "") + table.fieldByName(field).asString();
    return out;
}

} // namespace zrn::common::test
