#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QPrinterInfo>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QMenu;
class QTextEdit;
class QToolBar;

namespace zrn::lang {
class TTaalComponent;
}

namespace zrn::ui {

class TTaalAction;

//! The report host: a small window holding one rich-text document, in which the results
//! windows turn a report text into Rich Text Format for the clipboard, for report files and
//! for printing. The program creates one per results window and never shows it.
//!
//! What always holds: after every change of the document each of its paragraphs has a
//! first-line indent of 40 points, whatever was put in or loaded; the document shows the
//! report's Windows-1252 text decoded, and hands it back as Windows-1252. The host's actions
//! keep their designed captions: they follow no language service.
class Tfrm_flex_report : public QMainWindow {
    Q_OBJECT
public:
    //! Finds the printer to print on; a null printer info means that none is available.
    using PrinterLookup = std::function<QPrinterInfo()>;

    //! A hidden host owned by parent (the results window).
    explicit Tfrm_flex_report(QWidget* parent = nullptr);
    ~Tfrm_flex_report() override;

    //! Replaces the whole document by text: Windows-1252, lines separated by CR LF.
    void PutPlainText(std::string_view text);
    //! The document's text without formatting: Windows-1252, lines separated by CR LF.
    std::string PlainText() const;

    //! Replaces the document by the text of the Rich Text Format file fileName. Throws
    //! zrn::Error when the file cannot be read or is not Rich Text Format; the document then
    //! stays as it was.
    void LoadFromFile(const QString& fileName);
    //! Writes the document as Rich Text Format to fileName, replacing the file once the new
    //! content is completely written. Throws zrn::Error naming the file when it cannot be
    //! written; the old file then stays as it was.
    void SaveToFile(const QString& fileName) const;
    //! The document as Rich Text Format bytes, as a report file holds them.
    QByteArray SaveToStream() const;

    //! Prints the document on the default printer without a printer dialog; the print job
    //! carries title. Where no printer is available, or the printer refuses the job, the user
    //! is told so (and pointed at printing to PDF) and the result is false.
    bool Print(const QString& title);
    //! Asks for a PDF file and prints the document into it, the file carrying title. False
    //! when the user cancels or the file cannot be written (the user is told so).
    bool PrintToPdf(const QString& title);
    //! Prints the document into the PDF file fileName, replacing it, laid out as on paper.
    //! Throws zrn::Error naming the file when it cannot be written.
    void PrintToPdfFile(const QString& fileName, const QString& title) const;

    //! The service whose texts the host's own messages use; null: their English texts.
    void SetMessageService(lang::TTaalComponent* service);
    //! Replaces the way the default printer is found (for runs that must not reach a real
    //! printer); an empty lookup restores the system's default printer.
    void SetPrinterLookup(PrinterLookup lookup);

    //! The rich-text editor holding the document.
    QTextEdit* rtf_report() const { return rtf_report_; }
    //! The toolbar with the print button.
    QToolBar* ToolBar1() const { return toolBar1_; }
    //! The heading of the File menu ("S_FILE").
    TTaalAction* act_file() const { return act_file_; }
    //! Prints the document on the default printer without a job title ("S_PRINT_TEXT_REPORT").
    TTaalAction* act_print() const { return act_print_; }
    //! Prints the document into a PDF file the user chooses ("S_PRINT_TO_PDF").
    TTaalAction* act_print_pdf() const { return act_print_pdf_; }
    //! Closes the window ("S_CLOSE").
    TTaalAction* act_close() const { return act_close_; }

protected:
    //! A host that is shown comes up neither minimised nor maximised.
    void showEvent(QShowEvent* event) override;

private:
    class MessageService;

    void BuildActions();
    void BuildMenuAndToolbar();
    //! The change rule: every paragraph gets the first-line indent again.
    void rtf_reportChange();
    //! The text of a language key of the message service, or fallback without one.
    QString MessageText(const std::string& key, const QString& fallback) const;
    //! Where the host's messages appear: over the host when shown, else over its owner.
    QWidget* MessageParent();

    QTextEdit* rtf_report_ = nullptr;
    QToolBar* toolBar1_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    TTaalAction* act_file_ = nullptr;
    TTaalAction* act_print_ = nullptr;
    TTaalAction* act_print_pdf_ = nullptr;
    TTaalAction* act_close_ = nullptr;
    std::unique_ptr<MessageService> messageService_;
    PrinterLookup printerLookup_;
    bool indenting_ = false;
};

} // namespace zrn::ui
