#include "common/RtfDocument.h"
#include "common/RtfReader.h"
#include "rtl/Cp1252.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using zrn::common::LoadRtfDocumentText;
using zrn::common::RtfToText;

namespace {

std::string readFixture(const std::string& name) {
    std::ifstream in(std::string(ZRN_FIXTURES_DIR) + "/rtf/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A hand-written document with what word processors put around and inside the text.
const std::string Handwritten =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0"
    "{\\fonttbl{\\f0\\fmodern Courier New;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
    "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
    "{\\info{\\title Secret title}{\\author Someone}}"
    "{\\*\\generator Some word processor;}{\\*\\rsidtbl \\rsid123}"
    "{\\header\\pard header text\\par}{\\footer\\pard footer text\\par}\r\n"
    "\\pard\\plain\\fi800\\f0\\fs16 Plain {\\b bold {\\i nested}} end\\par\r\n"
    "Rule \\'97\\'97 and 40 \\'b0C\\par\r\n"
    "Unicode \\u8212\\'97 \\u176? {\\uc2\\u8364\\'80\\'80} euro {\\uc0\\u233}x \\u-4064?\\par\r\n"
    "Pair \\u55357?\\u56832? done\\par\r\n"
    "Words \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\tab end\\par\r\n"
    "Symbols a\\~b\\-c\\_d \\{\\}\\\\ {\\*\\bkmkstart mark}{\\*\\bkmkend mark}\\line "
    "Field {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} after"
    "{\\footnote\\pard note\\par} {\\pict\\pngblip 89504e47}{\\v hidden}\\par\r\n"
    "Binary {\\*\\blob\\bin4 }}{{} after\\par\r\n"
    "\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row\r\n"
    "Param \\fs-20 x\\\r\n"
    "last line without a paragraph mark}trailing garbage {\\par";

} // namespace

TEST(RtfReader, ReadsALibreOfficeDocument) {
    // libreoffice_report.rtf: "soffice --headless --convert-to rtf libreoffice_report.txt".
    std::string expected = zrn::rtl::Utf8ToCp1252(readFixture("libreoffice_report.txt"));
    std::string crlf;
    for (const char c : expected)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf.erase(crlf.size() - 2); // the final paragraph mark adds no empty line
    EXPECT_EQ(LoadRtfDocumentText(std::string(ZRN_FIXTURES_DIR) + "/rtf/libreoffice_report.rtf"),
              crlf);
    EXPECT_EQ(crlf, "Belt report\r\n\r\n  Length : 12,50 m\r\nTemperature 40 \xB0"
                    "C \x97 zone 1\r\nBraces {a} and back\\slash");
}

TEST(RtfReader, ReadsTextAroundDestinationsEscapesAndGroups) {
    const std::string expected = "Plain bold nested end\r\n"
                                 "Rule \x97\x97 and 40 \xB0"
                                 "C\r\n"
                                 "Unicode \x97 \xB0 \x80 euro \xE9x ?\r\n"
                                 "Pair ? done\r\n"
                                 "Words \x97\x96\x95\x91\x92\x93\x94\tend\r\n"
                                 "Symbols a\xA0"
                                 "bc-d {}\\ \r\n"
                                 "Field link after \r\n"
                                 "Binary  after\r\n"
                                 "A\tB\r\n"
                                 "Param x\r\n"
                                 "last line without a paragraph mark";
    EXPECT_EQ(RtfToText(Handwritten), expected);
}

TEST(RtfReader, HighBytesOfAnotherCodePageBecomeQuestionMarks) {
    // Unicode escapes still map to Windows-1252 where the character exists there.
    EXPECT_EQ(RtfToText("{\\rtf1\\ansi\\ansicpg1251 a\\'e0\\u1072?\\u233?b}"), "a??\xE9"
                                                                               "b");
}

TEST(RtfReader, MalformedInputFailsCleanlyOrGivesText) {
    struct Case {
        const char* name;
        std::string rtf;
        bool fails;
        std::string text;
    };
    const std::string deep(100000, '{');
    const Case cases[] = {
        {"empty", "", true, ""},
        {"plain text", "Belt report", true, ""},
        {"cut in the header", "{\\rt", true, ""},
        {"no backslash", "{rtf1 x}", true, ""},
        {"leading blank lines", "\r\n {\\rtf1 x}", false, "x"},
        {"no closing brace", "{\\rtf1 abc\\par def", false, "abc\r\ndef"},
        {"cut after a backslash", "{\\rtf1 abc\\", false, "abc"},
        {"cut in a hex escape", "{\\rtf1 abc\\'4", false, "abc4"},
        {"bad hex escape", "{\\rtf1 a\\'zzb}", false, "azzb"},
        {"cut in a control word", "{\\rtf1 abc\\pa", false, "abc"},
        {"cut after \\u", "{\\rtf1 abc\\u", false, "abc"},
        {"binary longer than the file", "{\\rtf1 a\\bin999999999 bc}", false, "a"},
        {"huge parameters", "{\\rtf1 a\\uc99999999999999 \\u99999999999999 b\\fs-99999999999 c}",
         false, "a?"},
        {"open destination", "{\\rtf1 a{\\*\\x {{{ b", false, "a"},
        {"too many closing braces", "{\\rtf1 a}}}}{\\rtf1 b}", false, "a"},
        {"huge nesting", "{\\rtf1 " + deep + "x", true, ""},
        {"nesting that word processors use", "{\\rtf1 " + std::string(200, '{') + "x}", false, "x"},
    };
    for (const auto& c : cases) {
        try {
            const std::string text = RtfToText(c.rtf);
            EXPECT_FALSE(c.fails) << c.name << " gave " << text;
            EXPECT_EQ(text, c.text) << c.name;
        } catch (const zrn::Error& e) {
            EXPECT_TRUE(c.fails) << c.name << ": " << e.what();
        }
    }
}

TEST(RtfReader, EveryTruncationOfADocumentReadsWithoutFailing) {
    for (std::size_t size = 5; size <= Handwritten.size(); ++size)
        EXPECT_NO_THROW(RtfToText(Handwritten.substr(0, size))) << "cut at " << size;
}
