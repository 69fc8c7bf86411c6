#include "ui/belt/MatReportCommands.h"

#include "belt/MatRapportFile.h"
#include "belt/d_mat.h"
#include "rtl/Error.h"
#include "ui/belt/FileDialogs.h"
#include "ui/common/Clipboard.h"
#include "ui/common/f_flex_report.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>

namespace zrn::ui {

namespace {

const char* const kReportFilter = "RTF-files|*.RTF|All files|*.*";
const char* const kReportExtension = "rtf";
const char* const kPdfFilter = "PDF-files|*.PDF|All files|*.*";

//! True when a report text holds nothing but blanks and line breaks.
bool Blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace

TMatReportCommands::TMatReportCommands(QWidget& window, std::function<Tfrm_flex_report&()> host)
    : window_(window), host_(std::move(host)) {}

belt::Tdm_mat& TMatReportCommands::Module() {
    if (!dm_)
        throw Error("No belt calculation to report");
    return *dm_;
}

QString TMatReportCommands::AskReportFile(const QString& current) {
    TFileDialogRequest request;
    request.save = true;
    request.filter = QString::fromLatin1(kReportFilter);
    request.defaultExtension = QString::fromLatin1(kReportExtension);
    // The report folder lies under the working directory, as the program always had it.
    request.initialDirectory = QDir::current().absoluteFilePath(QStringLiteral("rapport.dat"));
    request.fileName = current;
    request.confirmOverwrite = true;
    return RunFileDialog(&window_, request);
}

void TMatReportCommands::CopyTextReport() {
    Tfrm_flex_report& host = host_();
    host.PutPlainText(Module().BuildTextReport());
    CopyStreamToClipboard(RichTextFormat(), host.SaveToStream());
}

void TMatReportCommands::SaveTextReport() {
    const QString chosen = AskReportFile(textFile_);
    if (chosen.isEmpty())
        return;
    textFile_ = chosen;
    Tfrm_flex_report& host = host_();
    host.PutPlainText(Module().BuildTextReport());
    host.SaveToFile(chosen);
}

void TMatReportCommands::PrintTextReport(const QString& title) {
    Tfrm_flex_report& host = host_();
    host.PutPlainText(Module().BuildTextReport());
    host.Print(title);
}

void TMatReportCommands::PrintTextReportToPdf(const QString& title) {
    TFileDialogRequest request;
    request.save = true;
    request.filter = QString::fromLatin1(kPdfFilter);
    request.defaultExtension = QStringLiteral("pdf");
    request.initialDirectory = QDir::current().absoluteFilePath(QStringLiteral("rapport.dat"));
    const QString chosen = RunFileDialog(&window_, request);
    if (chosen.isEmpty())
        return;
    Tfrm_flex_report& host = host_();
    host.PutPlainText(Module().BuildTextReport());
    host.PrintToPdfFile(chosen, title);
}

void TMatReportCommands::AddToTextReport() {
    if (textFile_.isEmpty()) {
        const QString chosen = AskReportFile(textFile_);
        if (chosen.isEmpty())
            return;
        textFile_ = chosen;
    }
    Append(textFile_, [this](bool) { return Module().BuildTextReport(); });
}

void TMatReportCommands::MakeColumnarReport() {
    const QString chosen = AskReportFile(columnarFile_);
    if (chosen.isEmpty())
        return;
    columnarFile_ = chosen;
    Tfrm_flex_report& host = host_();
    host.PutPlainText(Module().BuildColumnarLine(true));
    host.SaveToFile(chosen);
}

void TMatReportCommands::AddToColumnarReport() {
    if (columnarFile_.isEmpty()) {
        const QString chosen = AskReportFile(columnarFile_);
        if (chosen.isEmpty())
            return;
        columnarFile_ = chosen;
    }
    Append(columnarFile_, [this](bool newFile) { return Module().BuildColumnarLine(newFile); });
}

void TMatReportCommands::Append(const QString& fileName,
                                const std::function<std::string(bool newFile)>& build) {
    Tfrm_flex_report& host = host_();
    std::string existing;
    // A file that exists but is not a report file stops here, before anything is written.
    if (QFileInfo::exists(fileName)) {
        host.LoadFromFile(fileName);
        existing = host.PlainText();
    }
    const std::string addition = build(Blank(existing));
    host.PutPlainText(belt::AppendedReportText(existing, addition));
    host.SaveToFile(fileName);
}

} // namespace zrn::ui
