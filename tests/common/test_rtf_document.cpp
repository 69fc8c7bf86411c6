#include "common/RtfDocument.h"
#include "common/RtfReader.h"
#include "common/RtfWriter.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;
using zrn::common::LoadRtfDocumentText;
using zrn::common::RtfToText;
using zrn::common::SaveRtfDocument;
using zrn::common::TextToRtf;

namespace {

// Rule character and degree sign of the report text.
const std::string Rule = "\x97\x97\x97\x97";
const std::string ThreeLines = "   Belt report\r\n" + Rule + " data " + Rule +
                               "\r\nTemperature : 40 \xB0"
                               "C";

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++n;
    return n;
}

int paperWidth(const std::string& rtf) {
    std::smatch match;
    const std::regex paperw(R"(\\paperw(\d+))");
    return std::regex_search(rtf, match, paperw) ? std::stoi(match[1]) : -1;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(RtfWriter, ThreeLinesAreThreeCourierParagraphsWithTheIndent) {
    const std::string rtf = TextToRtf(ThreeLines);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u);
    EXPECT_NE(rtf.find("{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}"), std::string::npos);
    EXPECT_EQ(count(rtf, "\\pard\\fi800\\f0\\fs16 "), 3u);
    EXPECT_EQ(count(rtf, "\\par\r\n"), 3u);
    EXPECT_EQ(count(rtf, "\\'97"), 8u);
    EXPECT_EQ(count(rtf, "\\'b0"), 1u);
    for (const char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "not plain ASCII";
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
}

TEST(RtfWriter, ReadsBackTheTextItWrote) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"three lines with rule and degree", ThreeLines, ThreeLines},
        {"final line break kept", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"lone LF becomes CR LF", "a\nb\n\nc", "a\r\nb\r\n\r\nc"},
        {"lone CR becomes CR LF", "a\rb", "a\r\nb"},
        {"empty text", "", ""},
        {"only a line break", "\r\n", "\r\n"},
        {"escapes and tabs", "{x}\\y\tz \\par", "{x}\\y\tz \\par"},
        {"leading and trailing blanks", "  two  ", "  two  "},
        {"every high byte", std::string("\x80\x81\x9f\xa0\xff"),
         std::string("\x80\x81\x9f\xa0\xff")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RtfToText(TextToRtf(c.text)), c.expected) << c.name;
}

TEST(RtfWriter, PageIsWideEnoughThatNoLineWraps) {
    EXPECT_EQ(paperWidth(TextToRtf(ThreeLines)), 11906) << "a normal report stays on A4";

    const std::string longLine(200, 'x');
    const std::string rtf = TextToRtf("short\r\n" + longLine);
    // Margins (2 x 1134) + first-line indent + 200 columns of 96 twips.
    EXPECT_GE(paperWidth(rtf), 2 * 1134 + 800 + 200 * 96);
    EXPECT_EQ(RtfToText(rtf), "short\r\n" + longLine) << "the long line stays one line";

    EXPECT_EQ(paperWidth(TextToRtf(std::string(5000, 'x'))), 31680) << "widest page there is";
}

class RtfDocumentFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("zrn_rtf_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
};

TEST_F(RtfDocumentFile, SavesAndLoadsReplacingTheOldFile) {
    const std::string file = (dir_ / "report.rtf").string();
    SaveRtfDocument(file, "old report\r\n");
    SaveRtfDocument(file, ThreeLines);
    EXPECT_EQ(readFile(file), TextToRtf(ThreeLines));
    EXPECT_EQ(LoadRtfDocumentText(file), ThreeLines);
    EXPECT_EQ(filesInDir(), 1u) << "no temporary file left behind";

    // What the report commands do to add a report to an existing file.
    SaveRtfDocument(file, LoadRtfDocumentText(file) + "\r\nnext report");
    EXPECT_EQ(LoadRtfDocumentText(file), ThreeLines + "\r\nnext report");
}

TEST_F(RtfDocumentFile, FailedSaveNamesTheFileAndLeavesNoTrace) {
    // A directory where the file should go cannot be replaced by it.
    const fs::path target = dir_ / "taken.rtf";
    fs::create_directory(target);
    const std::string inMissingDir = (dir_ / "missing" / "report.rtf").string();
    for (const std::string& file : {target.string(), inMissingDir}) {
        try {
            SaveRtfDocument(file, ThreeLines);
            ADD_FAILURE() << "saving to " << file << " succeeded";
        } catch (const zrn::Error& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(filesInDir(), 1u) << "no temporary file left behind";
}

TEST_F(RtfDocumentFile, LoadingRefusesMissingAndNonRtfFiles) {
    const std::string missing = (dir_ / "missing.rtf").string();
    const std::string plain = (dir_ / "plain.rtf").string();
    std::ofstream(plain) << "Belt report\r\n";
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {missing, "Cannot open the file \"" + missing + "\""},
        {plain, "The file is not a Rich Text Format document: " + plain},
    };
    for (const auto& c : cases) {
        try {
            LoadRtfDocumentText(c.file);
            ADD_FAILURE() << "loaded " << c.file;
        } catch (const zrn::Error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}
