#include "ui/common/f_flex_report.h"

#include "common/RtfDocument.h"
#include "common/RtfWriter.h"
#include "lang/TaalClient.h"
#include "lang/TaalComponent.h"
#include "rtl/Cp1252.h"
#include "rtl/Error.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalQt.h"

#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QShowEvent>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>

#include <algorithm>

namespace zrn::ui {

namespace {

constexpr int FontPoints = 8;
constexpr double IndentPoints = 40.0;
constexpr double PointsPerInch = 72.0;
constexpr double PageMarginMillimetres = 20.0;
constexpr int RowFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;

QString NoPrinterText() {
    return QStringLiteral("No printer is available. Use Print to PDF instead.");
}

// "Courier New" where it is installed, else the fixed-pitch font made to its measures.
QFont ReportFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(FontPoints);
    return font;
}

QString FromCp1252(std::string_view text) {
    return QString::fromStdString(rtl::Cp1252ToUtf8(text));
}

std::string LocalFileName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

QPrinterInfo SystemDefaultPrinter() {
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return {};
    return QPrinterInfo::defaultPrinter();
}

double RowWidth(const QFontMetricsF& metrics, const QString& text) {
    return metrics.size(RowFlags, text).width();
}

// The length of the longest beginning of text that fits in width; at least one character, so
// that every row makes progress.
qsizetype FittingLength(const QFontMetricsF& metrics, const QString& text, double width) {
    if (RowWidth(metrics, text) <= width)
        return text.size();
    qsizetype low = 1;
    qsizetype high = text.size() - 1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (RowWidth(metrics, text.left(middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

void PreparePage(QPagedPaintDevice& device) {
    const qreal margin = PageMarginMillimetres;
    device.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

// Paints the lines in order, as the document shows them: the report font, the first row of
// every line indented by 40 points. A line wider than the page goes on in the next row
// instead of being cut off at the margin; a new page starts whenever the next row would not
// fit.
void PaintLines(QPainter& painter, QPagedPaintDevice& device, const QStringList& lines) {
    const QFont font(ReportFont(), &device);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const double pageWidth = device.width();
    const double pageHeight = device.height();
    const double indent = IndentPoints * device.logicalDpiX() / PointsPerInch;
    const double rowHeight = metrics.lineSpacing();

    double y = 0;
    for (const QString& line : lines) {
        QString rest = line;
        double left = indent;
        do {
            const qsizetype length = FittingLength(metrics, rest, pageWidth - left);
            if (y > 0 && y + rowHeight > pageHeight) {
                device.newPage();
                y = 0;
            }
            painter.drawText(QRectF(left, y, pageWidth - left, rowHeight), RowFlags,
                             rest.left(length));
            y += rowHeight;
            rest.remove(0, length);
            left = 0;
        } while (!rest.isEmpty());
    }
}

} // namespace

// Follows the message service only to learn when it goes away: the host's messages look their
// texts up at the moment they are shown.
class Tfrm_flex_report::MessageService : public lang::TTaalClient {
public:
    void SubjectChanged(lang::ITaalSubject&) override {}

protected:
    bool AppliesOnAttach() const override { return false; }
};

Tfrm_flex_report::Tfrm_flex_report(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      messageService_(std::make_unique<MessageService>()) {
    setObjectName(QStringLiteral("frm_flex_report"));
    setWindowTitle(QStringLiteral("Report"));
    setFixedSize(687, 378);

    rtf_report_ = new QTextEdit(this);
    rtf_report_->setObjectName(QStringLiteral("rtf_report"));
    rtf_report_->setFont(ReportFont());
    rtf_report_->document()->setDefaultFont(ReportFont());
    rtf_report_->setLineWrapMode(QTextEdit::NoWrap);
    rtf_report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rtf_report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setCentralWidget(rtf_report_);
    connect(rtf_report_, &QTextEdit::textChanged, this, &Tfrm_flex_report::rtf_reportChange);

    BuildActions();
    BuildMenuAndToolbar();
    rtf_reportChange();
}

Tfrm_flex_report::~Tfrm_flex_report() = default;

void Tfrm_flex_report::BuildActions() {
    act_file_ = new TTaalAction("S_FILE", QStringLiteral("&File"), this);
    act_print_ = new TTaalAction("S_PRINT_TEXT_REPORT", QStringLiteral("&Print Text Report"), this);
    act_print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    act_print_pdf_ = new TTaalAction("S_PRINT_TO_PDF", QStringLiteral("Print to &PDF..."), this);
    act_close_ = new TTaalAction("S_CLOSE", QStringLiteral("&Close"), this);
    for (QAction* action : {act_print_, act_print_pdf_, act_close_})
        addAction(action);

    connect(act_print_, &QAction::triggered, this, [this] { Print(QString()); });
    connect(act_print_pdf_, &QAction::triggered, this, [this] { PrintToPdf(QString()); });
    connect(act_close_, &QAction::triggered, this, &QWidget::close);
}

void Tfrm_flex_report::BuildMenuAndToolbar() {
    mnuFile_ = new QMenu(this);
    mnuFile_->addAction(act_print_);
    mnuFile_->addAction(act_print_pdf_);
    act_file_->setMenu(mnuFile_);
    menuBar()->addAction(act_file_);

    toolBar1_ = new QToolBar(this);
    toolBar1_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar1_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar1_->setMovable(false);
    toolBar1_->setContentsMargins(5, 0, 0, 0);
    toolBar1_->addAction(act_print_);
    addToolBar(toolBar1_);
}

void Tfrm_flex_report::rtf_reportChange() {
    // Setting the indent changes the document again; that change needs no second pass.
    if (indenting_)
        return;
    indenting_ = true;
    QTextCursor all(rtf_report_->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat indent;
    indent.setTextIndent(IndentPoints * rtf_report_->logicalDpiX() / PointsPerInch);
    all.mergeBlockFormat(indent);
    indenting_ = false;
}

void Tfrm_flex_report::PutPlainText(std::string_view text) {
    rtf_report_->setPlainText(FromCp1252(text));
}

std::string Tfrm_flex_report::PlainText() const {
    // The raw text, not toPlainText: that one turns no-break spaces into plain spaces.
    QString text = rtf_report_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    text.remove(QChar::ObjectReplacementCharacter);
    return rtl::Utf8ToCp1252(text.toStdString());
}

void Tfrm_flex_report::LoadFromFile(const QString& fileName) {
    // Read completely before anything changes, so a refused file leaves the document.
    PutPlainText(common::LoadRtfDocumentText(LocalFileName(fileName)));
}

void Tfrm_flex_report::SaveToFile(const QString& fileName) const {
    common::SaveRtfDocument(LocalFileName(fileName), PlainText());
}

QByteArray Tfrm_flex_report::SaveToStream() const {
    return QByteArray::fromStdString(common::TextToRtf(PlainText()));
}

bool Tfrm_flex_report::Print(const QString& title) {
    const QPrinterInfo printerInfo = printerLookup_ ? printerLookup_() : SystemDefaultPrinter();
    if (printerInfo.isNull()) {
        showErrorMessage(MessageParent(), MessageText("S_ERR_NO_PRINTER", NoPrinterText()));
        return false;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(title);
    PreparePage(printer);
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        PaintLines(painter, printer, FromCp1252(PlainText()).split(QStringLiteral("\r\n")));
        printed = painter.end();
    }
    if (!printed)
        showErrorMessage(MessageParent(),
                         QStringLiteral("The printer \"%1\" did not accept the report.")
                             .arg(printerInfo.printerName()));
    return printed;
}

bool Tfrm_flex_report::PrintToPdf(const QString& title) {
    QString caption = HintOf(act_print_pdf_->text());
    if (caption.endsWith(QStringLiteral("...")))
        caption.chop(3);
    QFileDialog dialog(MessageParent(), caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("PDF files (*.pdf)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString fileName = dialog.selectedFiles().constFirst();
    return guarded(MessageParent(), [&] { PrintToPdfFile(fileName, title); });
}

void Tfrm_flex_report::PrintToPdfFile(const QString& fileName, const QString& title) const {
    // Written beside the old file first, so a failure leaves the old file as it was.
    QSaveFile file(fileName);
    const auto fail = [&](const QString& why) {
        throw Error(
            QStringLiteral("Cannot write the file \"%1\": %2").arg(fileName, why).toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setPageSize(QPageSize(QPageSize::A4));
        PreparePage(writer);
        QPainter painter;
        if (!painter.begin(&writer))
            fail(QStringLiteral("the PDF document cannot be started"));
        PaintLines(painter, writer, FromCp1252(PlainText()).split(QStringLiteral("\r\n")));
        if (!painter.end())
            fail(file.errorString());
    }
    if (!file.commit())
        fail(file.errorString());
}

void Tfrm_flex_report::SetMessageService(lang::TTaalComponent* service) {
    messageService_->SetTaalComponent(service);
}

void Tfrm_flex_report::SetPrinterLookup(PrinterLookup lookup) {
    printerLookup_ = std::move(lookup);
}

QString Tfrm_flex_report::MessageText(const std::string& key, const QString& fallback) const {
    lang::ITaalSubject* subject = messageService_->GetSubject();
    if (!subject)
        return fallback;
    try {
        const QString text = TaalToQt(lang::TaalText(*subject, key));
        // A language file without the key would leave the user an empty message.
        return text.isEmpty() ? fallback : text;
    } catch (const Error&) {
        return fallback;
    }
}

QWidget* Tfrm_flex_report::MessageParent() {
    // A message over a hidden window would have nothing to stand on.
    return isVisible() ? this : parentWidget();
}

void Tfrm_flex_report::showEvent(QShowEvent* event) {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    QMainWindow::showEvent(event);
}

} // namespace zrn::ui
