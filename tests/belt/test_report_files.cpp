// The report file commands without their dialogs: save, make, and the two append rules.

#include "belt/MatRapportFile.h"
#include "belt/d_mat.h"
#include "common/Algemeen.h"
#include "common/RtfDocument.h"
#include "lang/TaalComponent.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zrn::belt {
namespace {

namespace fs = std::filesystem;

const std::string kDir = std::string(ZRN_FIXTURES_DIR) + "/belt_report/";

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AppendedReportText, JoinsOldAndNewLines) {
    struct Case {
        const char* existing;
        const char* addition;
        const char* expected;
    };
    const Case cases[] = {
        {"", "new\r\n", "new\r\n"},                                     // a new file
        {"old 1\r\nold 2\r\n", "new\r\n", "old 1\r\nold 2\r\nnew\r\n"}, // no empty line between
        {"old 1\r\nold 2", "new\r\n", "old 1\r\nold 2\r\nnew\r\n"},
        {"\r\n \r\n   Title\r\nold\r\n", "new\r\n", "   Title\r\nold\r\nnew\r\n"},
        {" \t\r\n", "  new\r\n", "  new\r\n"}, // a blank file starts with the addition as built
    };
    for (const Case& c : cases)
        EXPECT_EQ(AppendedReportText(c.existing, c.addition), c.expected) << c.existing;
}

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zrn_belt_report_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        service_.SetTaalDirectory(kDir + "taal");
        service_.SetTaal("engels");
        module_.SetDataDirectory(kDir + "data");
        module_.SetTaalComponent(&service_);
        common::LoadTable(module_.cds_invoer, kDir + "project.xml");
        module_.PositionLookupRows();
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string File(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_;
    lang::TTaalComponent service_;
    Tdm_mat module_;
};

TEST_F(ReportFileTest, SaveAndMakeReplaceTheFile) {
    const std::string file = File("report.rtf");
    common::SaveRtfDocument(file, "something else\r\n");
    SaveTextReport(module_, file);
    EXPECT_EQ(common::LoadRtfDocumentText(file), module_.BuildTextReport());
    MakeColumnarReport(module_, file);
    EXPECT_EQ(common::LoadRtfDocumentText(file), module_.BuildColumnarLine(true));
}

TEST_F(ReportFileTest, AddToTextReportKeepsTheOldLines) {
    const std::string file = File("report.rtf");
    common::SaveRtfDocument(file, "        Earlier report\r\nits last line\r\n");
    AppendTextReport(module_, file);
    EXPECT_EQ(common::LoadRtfDocumentText(file),
              "        Earlier report\r\nits last line\r\n" + module_.BuildTextReport());
}

TEST_F(ReportFileTest, AddToTextReportCreatesAMissingFile) {
    const std::string file = File("new.rtf");
    AppendTextReport(module_, file);
    EXPECT_EQ(common::LoadRtfDocumentText(file), module_.BuildTextReport());
}

TEST_F(ReportFileTest, AddToColumnarReportWritesTheHeaderOnlyOnce) {
    const std::string file = File("columns.rtf");
    AppendColumnarReport(module_, file);
    const std::string first = module_.BuildColumnarLine(true);
    EXPECT_EQ(common::LoadRtfDocumentText(file), first);
    AppendColumnarReport(module_, file);
    EXPECT_EQ(common::LoadRtfDocumentText(file), first + module_.BuildColumnarLine(false));
}

TEST_F(ReportFileTest, AddToColumnarReportGivesAnEmptyFileItsHeader) {
    for (const char* name : {"empty.rtf", "blank.rtf"}) {
        const std::string file = File(name);
        if (std::string(name) == "empty.rtf")
            std::ofstream(file, std::ios::binary).flush(); // no bytes at all
        else
            common::SaveRtfDocument(file, ""); // a document without text
        AppendColumnarReport(module_, file);
        EXPECT_EQ(common::LoadRtfDocumentText(file), module_.BuildColumnarLine(true)) << name;
    }
}

TEST_F(ReportFileTest, AFileThatIsNoReportIsLeftAlone) {
    const std::string file = File("notes.rtf");
    std::ofstream(file, std::ios::binary) << "plain notes, not a report\n";
    const std::string before = FileBytes(file);
    EXPECT_THROW(AppendTextReport(module_, file), Error);
    EXPECT_THROW(AppendColumnarReport(module_, file), Error);
    EXPECT_EQ(FileBytes(file), before);
}

} // namespace
} // namespace zrn::belt
