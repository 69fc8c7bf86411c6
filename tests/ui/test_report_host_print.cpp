#include "ui/common/Clipboard.h"
#include "ui/common/f_flex_report.h"

#include "UiTestSupport.h"
#include "lang/TaalComponent.h"
#include "rtl/Error.h"
#include "ui/lang/TaalAction.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using zrn::ui::Tfrm_flex_report;

namespace {

const QString NoPrinterEnglish =
    QStringLiteral("No printer is available. Use Print to PDF instead.");
const QString NoPrinterDutch =
    QStringLiteral("Er is geen printer beschikbaar. Gebruik in plaats daarvan Afdrukken naar PDF.");

QByteArray ReadBytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number of page objects of a PDF file.
int PageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

// A text as a PDF string holds it: UTF-16, big-endian, after a byte order mark.
QByteArray PdfText(const QString& text) {
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text) {
        bytes += static_cast<char>(c.unicode() >> 8);
        bytes += static_cast<char>(c.unicode() & 0xFF);
    }
    return bytes;
}

std::string Lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(i) + (i < count ? "\r\n" : "");
    return text;
}

} // namespace

TEST(ReportClipboard, HoldsTheReportAsRichTextOnly) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("an earlier copy"));

    Tfrm_flex_report host;
    host.PutPlainText("Belt report\r\n\x97\x97\x97");
    const QByteArray rtf = host.SaveToStream();
    zrn::ui::CopyStreamToClipboard(zrn::ui::RichTextFormat(), rtf);

    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")), rtf);
    EXPECT_EQ(data->data(QStringLiteral("application/rtf")), rtf);
    EXPECT_FALSE(data->hasText()) << "the earlier text is gone and no plain text is added";
    EXPECT_FALSE(data->hasHtml());
    for (const QString& format : data->formats())
        EXPECT_TRUE(zrn::ui::RichTextFormat().contains(format)) << format.toStdString();
}

class ReportPrint : public zrn::ui::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        host_.PutPlainText("Belt report\r\nline two");
        host_.SetPrinterLookup([] { return QPrinterInfo(); });
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    Tfrm_flex_report host_;
};

TEST_F(ReportPrint, WithoutAPrinterTheUserIsToldInTheServicesLanguage) {
    struct Case {
        const char* name;
        const char* language; // null: no service given
        bool serviceGone;     // the service is destroyed before printing
        QString message;
    };
    const Case cases[] = {
        {"no service", nullptr, false, NoPrinterEnglish},
        {"Dutch service", "nederlands", false, NoPrinterDutch},
        {"service destroyed first", "nederlands", true, NoPrinterEnglish},
    };
    for (const Case& c : cases) {
        auto service = std::make_unique<zrn::lang::TTaalComponent>();
        if (c.language) {
            service->SetTaalDirectory("taal");
            service->SetTaal(c.language);
            host_.SetMessageService(service.get());
        } else {
            host_.SetMessageService(nullptr);
        }
        if (c.serviceGone)
            service.reset();

        zrn::ui::test::MessageCatcher catcher;
        EXPECT_FALSE(host_.Print(QStringLiteral("Belt results"))) << c.name;
        host_.act_print()->trigger();
        EXPECT_EQ(catcher.messages, QStringList({c.message, c.message})) << c.name;
    }
}

TEST_F(ReportPrint, PrintsIntoAPdfFileWithPagesAsNeeded) {
    const QString shortFile = Path(QStringLiteral("short.pdf"));
    host_.PrintToPdfFile(shortFile, QStringLiteral("Belt results"));
    const QByteArray shortPdf = ReadBytes(shortFile);
    EXPECT_TRUE(shortPdf.startsWith("%PDF")) << shortPdf.left(16).toStdString();
    EXPECT_EQ(PageCount(shortPdf), 1);
    EXPECT_TRUE(shortPdf.contains(PdfText(QStringLiteral("Belt results"))))
        << "the document carries the title";

    // 200 rows of 8 point text fill more than one A4 page, and fewer than five.
    host_.PutPlainText(Lines(200));
    const QString longFile = Path(QStringLiteral("long.pdf"));
    host_.PrintToPdfFile(longFile, QStringLiteral("Belt results"));
    const QByteArray longPdf = ReadBytes(longFile);
    EXPECT_TRUE(longPdf.startsWith("%PDF"));
    EXPECT_GE(PageCount(longPdf), 2);
    EXPECT_LE(PageCount(longPdf), 4);
}

TEST_F(ReportPrint, PdfThatCannotBeWrittenFailsAndLeavesNoFile) {
    const QString file = Path(QStringLiteral("missing/report.pdf"));
    try {
        host_.PrintToPdfFile(file, QString());
        ADD_FAILURE() << "wrote " << file.toStdString();
    } catch (const zrn::Error& error) {
        EXPECT_NE(std::string(error.what()).find(file.toStdString()), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
