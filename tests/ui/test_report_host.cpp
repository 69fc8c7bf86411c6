#include "ui/common/f_flex_report.h"

#include "common/RtfDocument.h"
#include "rtl/Error.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using zrn::ui::Tfrm_flex_report;

namespace {

// Three report lines with the rule character (0x97) and the degree sign (0xB0).
const std::string ThreeLines = "   Belt report\r\n"
                               "\x97\x97\x97 data \x97\x97\x97\r\n"
                               "Temperature : 40 \xB0"
                               "C";

QByteArray ReadBytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

int Count(const QByteArray& text, const QByteArray& part) {
    return static_cast<int>(text.count(part));
}

// The first-line indent of 40 points in the editor's pixels.
double IndentOf(const Tfrm_flex_report& host) {
    return 40.0 * host.rtf_report()->logicalDpiX() / 72.0;
}

// Every paragraph of the host's document carries the 40 point first-line indent.
void ExpectEveryParagraphIndented(const Tfrm_flex_report& host) {
    const QTextDocument* document = host.rtf_report()->document();
    int number = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next(), ++number)
        EXPECT_DOUBLE_EQ(block.blockFormat().textIndent(), IndentOf(host))
            << "paragraph " << number << ": " << block.text().toStdString();
}

class ReportHost : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(ReportHost, SavesLinesAsIndentedCourierParagraphsThatReadBackIdentical) {
    Tfrm_flex_report host;
    EXPECT_EQ(host.windowTitle(), QStringLiteral("Report"));
    EXPECT_EQ(host.size(), QSize(687, 378));
    EXPECT_EQ(host.rtf_report()->font().pointSize(), 8);
    EXPECT_TRUE(QFontInfo(host.rtf_report()->font()).fixedPitch());

    host.PutPlainText(ThreeLines);
    EXPECT_EQ(host.PlainText(), ThreeLines);
    EXPECT_EQ(host.rtf_report()->toPlainText(),
              QString::fromUtf8("   Belt report\n\u2014\u2014\u2014 data \u2014\u2014\u2014\n"
                                "Temperature : 40 \u00B0C"))
        << "shown decoded from Windows-1252";
    ExpectEveryParagraphIndented(host);

    const QString file = Path(QStringLiteral("report.rtf"));
    host.SaveToFile(file);
    const QByteArray rtf = ReadBytes(file);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.contains("Courier New;"));
    EXPECT_EQ(Count(rtf, "\\pard\\fi800\\f0\\fs16 "), 3) << rtf.toStdString();
    EXPECT_EQ(Count(rtf, "\\par\r\n"), 3);
    EXPECT_EQ(host.SaveToStream(), rtf) << "the stream holds what the file holds";
    EXPECT_EQ(zrn::common::LoadRtfDocumentText(file.toStdString()), ThreeLines);

    Tfrm_flex_report reader;
    reader.LoadFromFile(file);
    EXPECT_EQ(reader.PlainText(), ThreeLines);
    ExpectEveryParagraphIndented(reader);
}

TEST_F(ReportHost, KeepsEveryByteOfAReportText) {
    // A final line break, blank lines, tabs, a no-break space (0xA0) and the bytes that
    // Windows-1252 leaves undefined all survive the trip through the editor.
    const std::string text = "a\r\n\r\n\tb\xA0"
                             "c\x81\x8D\x8F\x90\x9D\xFF\r\n";
    Tfrm_flex_report host;
    host.PutPlainText(text);
    EXPECT_EQ(host.PlainText(), text);
    const QString file = Path(QStringLiteral("bytes.rtf"));
    host.SaveToFile(file);
    Tfrm_flex_report reader;
    reader.LoadFromFile(file);
    EXPECT_EQ(reader.PlainText(), text);
}

TEST_F(ReportHost, EveryChangeIndentsEveryParagraphAgain) {
    Tfrm_flex_report host;
    host.PutPlainText("first\r\nsecond");
    // A paragraph typed in with a format of its own.
    QTextCursor cursor(host.rtf_report()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("third"));
    cursor.movePosition(QTextCursor::Start);
    QTextBlockFormat flush;
    flush.setTextIndent(0);
    cursor.setBlockFormat(flush);
    EXPECT_EQ(host.PlainText(), "first\r\nsecond\r\nthird");
    ExpectEveryParagraphIndented(host);
}

TEST_F(ReportHost, RefusedLoadLeavesTheDocumentAndTheFile) {
    const QString plain = Path(QStringLiteral("plain.rtf"));
    const QByteArray plainBytes = "Belt report\r\nnot rich text\r\n";
    WriteBytes(plain, plainBytes);
    const QString missing = Path(QStringLiteral("missing.rtf"));

    Tfrm_flex_report host;
    host.PutPlainText("kept\r\nlines");
    for (const QString& file : {plain, missing}) {
        try {
            host.LoadFromFile(file);
            ADD_FAILURE() << "loaded " << file.toStdString();
        } catch (const zrn::Error& error) {
            EXPECT_NE(std::string(error.what()).find(file.toStdString()), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(host.PlainText(), "kept\r\nlines");
    }
    EXPECT_EQ(ReadBytes(plain), plainBytes);
    EXPECT_FALSE(QFile::exists(missing));
}

namespace {

// Saves a new text over a report file that cannot be replaced: the save fails with a
// message naming the file, the old file keeps every byte and no other file is left.
void ExpectFailedSaveKeepsTheOldFile(Tfrm_flex_report& host, const QString& file,
                                     const QByteArray& old) {
    host.PutPlainText("the new report");
    try {
        host.SaveToFile(file);
        ADD_FAILURE() << "saving " << file.toStdString() << " succeeded";
    } catch (const zrn::Error& error) {
        EXPECT_NE(std::string(error.what()).find(file.toStdString()), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(host.PlainText(), "the new report") << "the document is not lost";
}

} // namespace

TEST_F(ReportHost, FailedSaveInAReadOnlyFolderKeepsTheOldFileByteForByte) {
    if (geteuid() == 0)
        GTEST_SKIP() << "a read-only folder does not stop the superuser";
    const QString file = Path(QStringLiteral("report.rtf"));
    Tfrm_flex_report host;
    host.PutPlainText(ThreeLines);
    host.SaveToFile(file);
    const QByteArray old = ReadBytes(file);
    const QFileDevice::Permissions writable = QFile::permissions(dir_.path());
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ExpectFailedSaveKeepsTheOldFile(host, file, old);
    QFile::setPermissions(dir_.path(), writable);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(ReportHost, FailedSaveOnAFullDiskKeepsTheOldFileByteForByte) {
    const QString file = Path(QStringLiteral("report.rtf"));
    Tfrm_flex_report host;
    host.PutPlainText(ThreeLines);
    host.SaveToFile(file);
    const QByteArray old = ReadBytes(file);

    // A file size limit makes every write beyond 64 bytes fail, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ExpectFailedSaveKeepsTheOldFile(host, file, old);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

TEST_F(ReportHost, ShownHostIsNormalAndDoesNotWrapALongLine) {
    const std::string longLine(300, 'x');
    Tfrm_flex_report host;
    host.PutPlainText(longLine + "\r\nshort");
    host.setWindowState(Qt::WindowMinimized);
    host.show();
    EXPECT_EQ(host.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), 0);

    QTextDocument* document = host.rtf_report()->document();
    const QTextBlock first = document->firstBlock();
    document->documentLayout()->blockBoundingRect(first); // lays the block out
    ASSERT_NE(first.layout(), nullptr);
    EXPECT_GT(first.layout()->boundingRect().width(), host.rtf_report()->viewport()->width())
        << "the line is wider than the window";
    EXPECT_EQ(first.layout()->lineCount(), 1);
    EXPECT_EQ(host.PlainText(), longLine + "\r\nshort");
}
