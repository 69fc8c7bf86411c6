#include "common/Algemeen.h"
#include "common/TableFileNames.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "rtl/Error.h"
#include "rtl/NumberFormat.h"

#include "../rtl/SettingsGuard.h"
#include "TableFileFixtures.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace zrn::common {
namespace {

using test::Column;
using test::Exists;
using test::FileBytes;
using test::MassaPacket;
using test::ScratchDir;
using test::WriteBytes;

// A table with the declared fields of MassaPacket.
void DeclareMassa(ds::Table& table) {
    table.addStringField("code", 10).setRequired(true);
    table.addFloatField("massa");
}

TEST(ReadTextFile, EveryLineEndsInCrLf) {
    ScratchDir dir;
    struct Case {
        const char* bytes;
        const char* text;
    };
    const Case cases[] = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"a\r\r\nb", "a\r\n\r\nb\r\n"},
        {"\n", "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
        WriteBytes(dir.file("t.txt"), c.bytes);
        EXPECT_EQ(ReadTextFile(dir.file("t.txt")), c.text);
    }
}

TEST(ReadTextFile, MissingFileNamesIt) {
    ScratchDir dir;
    try {
        ReadTextFile(dir.file("nothing.xml"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + dir.file("nothing.xml") +
                                             "\". No such file or directory");
    }
}

TEST(TableFileNames, OverrideNameReplacesTheExtension) {
    struct Case {
        const char* name;
        const char* override;
    };
    const Case cases[] = {
        {"data/mat.xml", "data/mat.CDS"}, {"data/ketting.XML", "data/ketting.CDS"},
        {"a/b.c.xml", "a/b.c.CDS"},       {"mat", "mat.CDS"},
        {"dir.v2/mat", "dir.v2/mat.CDS"}, {"data/mat.CDS", "data/mat.CDS"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OverrideFileName(c.name), c.override) << c.name;
}

TEST(LoadTable, OverridePreferredAndIgnoredAgainAfterRemoval) {
    ScratchDir dir;
    WriteBytes(dir.file("mat.xml"), MassaPacket({{"xml", "1"}}));
    {
        ds::Table edited;
        DeclareMassa(edited);
        LoadTable(edited, dir.file("mat.xml"));
        edited.edit();
        edited.fieldByName("code").setAsString("override");
        SaveTable(edited, dir.file("mat.CDS"));
    }
    ds::Table table;
    DeclareMassa(table);
    LoadTable(table, dir.file("mat.xml"));
    EXPECT_EQ(Column(table, "code"), "override");
    EXPECT_EQ(table.fileName(), "");

    std::filesystem::remove(dir.file("mat.CDS"));
    LoadTable(table, dir.file("mat.xml"));
    EXPECT_EQ(Column(table, "code"), "xml");
}

// The names on disk and the names the program asks for need not agree in case.
TEST(LoadTable, NamesMatchedIgnoringCase) {
    struct Case {
        const char* onDisk;
        const char* overrideOnDisk; // "" for none
        const char* asked;
        const char* expected;
    };
    const Case cases[] = {
        {"ketting.XML", "", "ketting.xml", "file"},
        {"KETTING.xml", "", "ketting.XML", "file"},
        {"mat.xml", "MAT.cds", "mat.xml", "override"},
        {"mat.xml", "mat.Cds", "MAT.XML", "override"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.onDisk) + " " + c.overrideOnDisk + " asked as " + c.asked);
        ScratchDir dir;
        WriteBytes(dir.file(c.onDisk), MassaPacket({{"file", "1"}}));
        if (*c.overrideOnDisk)
            WriteBytes(dir.file(c.overrideOnDisk), MassaPacket({{"override", "1"}}));
        ds::Table table;
        LoadTable(table, dir.file(c.asked));
        EXPECT_EQ(Column(table, "code"), c.expected);
    }
}

TEST(TableFiles, DecimalCommaOfTheUserNeverReachesTheFile) {
    rtl::test::SettingsGuard comma(',');
    ScratchDir dir;
    WriteBytes(dir.file("t.xml"), MassaPacket({{"a", "0.25"}}));
    ds::Table table;
    DeclareMassa(table);
    LoadTable(table, dir.file("t.xml"));
    EXPECT_DOUBLE_EQ(table.fieldByName("massa").asFloat(), 0.25);
    EXPECT_EQ(rtl::FormatSettings().decimalSeparator, ',');
    EXPECT_EQ(table.fieldByName("massa").asString(), "0,25");

    table.edit();
    table.fieldByName("massa").setAsFloat(0.75);
    table.fieldByName("code").setAsString("b");
    SaveTable(table, dir.file("out.xml"));
    EXPECT_EQ(rtl::FormatSettings().decimalSeparator, ',');
    const std::string xml = FileBytes(dir.file("out.xml"));
    EXPECT_NE(xml.find("massa=\"0.75\""), std::string::npos) << xml;
}

TEST(SaveTable, FormFollowsTheExtension) {
    struct Case {
        const char* name;
        bool xml;
    };
    const Case cases[] = {{"t1.xml", true},  {"t2.XML", true},  {"t3.Xml", true},
                          {"t4.MAT", false}, {"t5.CDS", false}, {"t6.xml.bak", false}};
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ds::Table table;
        DeclareMassa(table);
        table.open();
        table.append();
        table.fieldByName("code").setAsString("x\r\ny");
        table.fieldByName("massa").setAsFloat(13.0 / 10.0);
        // Left in insert: saving posts it.
        SaveTable(table, dir.file(c.name));
        EXPECT_EQ(table.state(), ds::TableState::Browse);
        EXPECT_EQ(table.changeCount(), 0);

        const std::string bytes = FileBytes(dir.file(c.name));
        EXPECT_EQ(ds::IsBinaryPacket(bytes), !c.xml);
        EXPECT_EQ(bytes.rfind("<?xml", 0) == 0, c.xml);

        // Read back whole: a binary file must not go through the text reader's line rule.
        ds::Table back;
        LoadTable(back, dir.file(c.name));
        EXPECT_EQ(Column(back, "code"), "x\r\ny");
        EXPECT_DOUBLE_EQ(back.fieldByName("massa").asFloat(), 1.3);
    }
}

// Makes writes to files beyond a few bytes fail, for the length of one test (also as root,
// whom a read-only folder does not stop).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(SaveTable, FailedSaveLeavesTheOldFile) {
    enum class Failure { RequiredFieldEmpty, WriteFails };
    for (Failure failure : {Failure::RequiredFieldEmpty, Failure::WriteFails}) {
        SCOPED_TRACE(failure == Failure::WriteFails ? "write fails" : "required field empty");
        ScratchDir dir;
        const std::string old = MassaPacket({{"old", "1"}, {"old2", "2"}});
        WriteBytes(dir.file("t.xml"), old);
        ds::Table table;
        DeclareMassa(table);
        LoadTable(table, dir.file("t.xml"));
        table.edit();
        if (failure == Failure::WriteFails)
            table.fieldByName("code").setAsString("new");
        else
            table.fieldByName("code").clear();
        table.fieldByName("massa").setAsFloat(1000000.5);

        if (failure == Failure::WriteFails) {
            table.post();
            FileSizeLimit limit(16);
            EXPECT_THROW(SaveTable(table, dir.file("t.xml")), Error);
        } else {
            EXPECT_THROW(SaveTable(table, dir.file("t.xml")), Error);
            EXPECT_EQ(table.state(), ds::TableState::Edit);
        }
        EXPECT_EQ(FileBytes(dir.file("t.xml")), old);
        // Nothing left beside it, and the edit is still pending for another try.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1);
        if (failure == Failure::WriteFails) {
            EXPECT_GT(table.changeCount(), 0);
        }
    }
}

TEST(LoadTable, EditedAndClosedTableLeavesItsFileAlone) {
    ScratchDir dir;
    const std::string original = MassaPacket({{"a", "1"}});
    WriteBytes(dir.file("t.xml"), original);
    WriteBytes(dir.file("bound.xml"), original);
    ds::Table table;
    DeclareMassa(table);
    // A binding from before is dropped, changes and all, not written back.
    table.setFileName(dir.file("bound.xml"));
    LoadTable(table, dir.file("t.xml"));
    table.edit();
    table.fieldByName("massa").setAsFloat(2);
    table.post();
    table.close();
    EXPECT_EQ(FileBytes(dir.file("t.xml")), original);
    EXPECT_EQ(FileBytes(dir.file("bound.xml")), original);
}

TEST(LoadTable, FailureLeavesTableClosedAndNamesTheFile) {
    struct Case {
        const char* what;
        const char* bytes; // nullptr: no file at all
    };
    const Case cases[] = {
        {"missing", nullptr},
        {"not a packet", "hello\n"},
        {"declared field missing",
         "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA>"
         "<FIELDS><FIELD attrname=\"code\" fieldtype=\"string\" WIDTH=\"10\"/></FIELDS>"
         "<PARAMS/></METADATA><ROWDATA/></DATAPACKET>"},
        {"truncated binary", "ZRNTABL\x1a\x01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        WriteBytes(dir.file("good.xml"), MassaPacket({{"a", "1"}}));
        if (c.bytes)
            WriteBytes(dir.file("t.xml"), c.bytes);
        ds::Table table;
        DeclareMassa(table);
        LoadTable(table, dir.file("good.xml"));
        try {
            LoadTable(table, dir.file("t.xml"));
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(dir.file("t.xml")), std::string::npos) << e.what();
        }
        EXPECT_FALSE(table.isActive());
    }
}

} // namespace
} // namespace zrn::common
