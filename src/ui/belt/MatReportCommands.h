#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace zrn::belt {
class Tdm_mat;
}

namespace zrn::ui {

class Tfrm_flex_report;

//! The report commands of the belt results window: copy, save, print and append the text
//! report, and make or append a columnar report. The reports are built by the data module as
//! it stands; the report host turns them into Rich Text Format for the clipboard, the files
//! and the printer.
//!
//! What always holds: the window remembers one text report file and one columnar report file
//! for its lifetime; a cancelled dialog changes nothing; a report file that cannot be read or
//! written is reported and left as it was.
class TMatReportCommands {
public:
    //! Commands for the module shown by window, using the host that host() returns (created
    //! on first use by the window).
    TMatReportCommands(QWidget& window, std::function<Tfrm_flex_report&()> host);

    //! Sets the data module reported on.
    void SetDataModule(belt::Tdm_mat* module) { dm_ = module; }

    //! Copy text report: the report as rich text on the clipboard.
    void CopyTextReport();
    //! Save text report: asks for the text report file and writes the report into it.
    void SaveTextReport();
    //! Print text report: on the default printer, the job named title.
    void PrintTextReport(const QString& title);
    //! Print text report into a PDF file the user chooses.
    void PrintTextReportToPdf(const QString& title);
    //! Add to text report: appends the report to the text report file (asked for once).
    void AddToTextReport();
    //! Make columnar report: asks for the columnar report file and writes the header and the
    //! line of this calculation into it.
    void MakeColumnarReport();
    //! Add to columnar report: appends this calculation's line to the columnar report file
    //! (asked for once), after the header when the file is new.
    void AddToColumnarReport();

    //! The text report file chosen so far ("" before the first choice).
    const QString& TextReportFile() const { return textFile_; }
    //! The columnar report file chosen so far.
    const QString& ColumnarReportFile() const { return columnarFile_; }

private:
    QString AskReportFile(const QString& current);
    void Append(const QString& fileName, const std::function<std::string(bool newFile)>& build);
    belt::Tdm_mat& Module();

    QWidget& window_;
    std::function<Tfrm_flex_report&()> host_;
    belt::Tdm_mat* dm_ = nullptr;
    QString textFile_;
    QString columnarFile_;
};

} // namespace zrn::ui
