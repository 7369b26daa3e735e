#include "reports/print/ReportPrint.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/print/Delivery.h"
#include "reports/print/ReportText.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace varenta::reports {

namespace {

constexpr double Epsilon = 1e-9;

PrintHooks g_hooks;
const StateReset resetHooks([] { g_hooks = {}; });

// Hourglass for the time the pages are produced, also when producing them fails.
class BusyScope {
public:
    BusyScope() {
        if (PrintUi().busy)
            PrintUi().busy();
    }
    ~BusyScope() {
        if (PrintUi().normal)
            PrintUi().normal();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

QString RightTrimmed(const QString& line) {
    qsizetype n = line.size();
    while (n > 0 && line[n - 1].isSpace())
        --n;
    return line.left(n);
}

QFont ReportFont(double pointSize) {
    QFont font(QStringLiteral("Courier New"));
    // Should the face be missing, any fixed-pitch face keeps the columns in place.
    font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    font.setFixedPitch(true);
    font.setKerning(false);
    font.setPointSizeF(pointSize);
    return font;
}

QPageLayout SheetLayout(QPageSize::PageSizeId paper) {
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                       QMarginsF(SideMarginMm, TopMarginMm, SideMarginMm, TopMarginMm),
                       QPageLayout::Millimeter);
}

QPageSize::PageSizeId LocalePaper() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                      : QPageSize::A4;
}

// The default printer's paper, else the paper of the user's locale.
QPageSize::PageSizeId DefaultPaper() {
    if (PrintUi().printerAvailable ? PrintUi().printerAvailable()
                                   : CurrentPrintService().Reachable()) {
        const QString printer = CurrentPrintService().DefaultPrinter();
        if (!printer.isEmpty())
            if (const auto paper = CurrentPrintService().Printer(printer).paper)
                return *paper;
    }
    return LocalePaper();
}

// Lines too wide for the sheet even at the smallest scale go on over further lines.
QStringList WrapLines(const QStringList& lines, int columns) {
    QStringList out;
    for (const QString& raw : lines) {
        QString line = RightTrimmed(raw);
        while (line.size() > columns) {
            out << line.left(columns);
            line = line.mid(columns);
        }
        out << line;
    }
    return out;
}

int Columns(const QStringList& lines) {
    qsizetype widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, RightTrimmed(line).size());
    return int(widest);
}

bool IsBlank(const QString& line) {
    return RightTrimmed(line).isEmpty();
}

void WritePdf(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!QDir(info.absolutePath()).exists())
        throw VError(err::PathNotFound,
                     QStringLiteral("The folder %1 does not exist, so the PDF file cannot be "
                                    "saved there.")
                         .arg(QDir::toNativeSeparators(info.absolutePath())));
    fileio::ReplaceAtomically(path, bytes, 0600);
}

// The pages as a PDF document on `paper`.
QByteArray RenderPdf(const QList<QStringList>& pages, double pointSize, QPageSize::PageSizeId paper,
                     const QString& title, const PrintTarget& target, int* sheets) {
    QByteArray bytes;
    {
        // The document is complete only once the writer has gone.
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(title);
        writer.setCreator(QString::fromLatin1(ProductName));
        writer.setPageLayout(SheetLayout(paper));
        *sheets = RenderPages(writer, pages, pointSize, target.sheets(), target.lastSheetFirst());
    }
    return bytes;
}

PrintResult PrintToPdf(const QList<QStringList>& pages, double pointSize, const PrintTarget& target,
                       const QString& title) {
    PrintResult r;
    const QByteArray bytes = RenderPdf(pages, pointSize, target.paper().value_or(DefaultPaper()),
                                       title, target, &r.sheets);
    WritePdf(target.pdfPath(), bytes);
    r.printed = true;
    r.pdfPath = target.pdfPath();
    return r;
}

// The pages go to the printer as a PDF document on the paper it was resolved with (its own
// default unless the user chose another); the print service makes of it what the printer
// needs, and the job is followed there.
PrintResult PrintToPrinter(const QList<QStringList>& pages, double pointSize,
                           const PrintTarget& target, const QString& title) {
    const QPageSize::PageSizeId paper = target.paper().value_or(LocalePaper());
    int sheets = 0;
    PrintJob job;
    job.printer = target.printer();
    job.title = title;
    job.format = QStringLiteral("application/pdf");
    job.data = RenderPdf(pages, pointSize, paper, title, target, &sheets);
    job.options = JobOptions(target, paper);
    PrintResult r = Deliver(job, target);
    r.sheets = sheets;
    return r;
}

QList<QStringList> PagesOf(const QString& text, const QString& what) {
    const QList<QStringList> pages = SplitReportPages(text);
    if (pages.isEmpty())
        throw VError(err::InputPastEnd,
                     QStringLiteral("%1 is empty: there is nothing to print.").arg(what));
    return pages;
}

} // namespace

PrintTarget PrintTarget::Printer(const QString& name) {
    PrintTarget t;
    t.printer_ = name;
    return t;
}

PrintTarget PrintTarget::PdfFile(const QString& path, std::optional<QPageSize::PageSizeId> paper) {
    PrintTarget t;
    t.pdfPath_ = path;
    t.paper_ = paper;
    return t;
}

PrintTarget& PrintTarget::SetPaper(std::optional<QPageSize::PageSizeId> paper) {
    paper_ = paper;
    return *this;
}
PrintTarget& PrintTarget::SetCopies(int copies) {
    copies_ = std::max(1, copies);
    return *this;
}
PrintTarget& PrintTarget::SetCollate(bool on) {
    collate_ = on;
    return *this;
}
PrintTarget& PrintTarget::SetSides(Sides sides) {
    sides_ = sides;
    return *this;
}
PrintTarget& PrintTarget::SetOffersPdf(bool on) {
    offersPdf_ = on;
    return *this;
}
PrintTarget& PrintTarget::SetWatched(bool on) {
    watched_ = on;
    return *this;
}
PrintTarget& PrintTarget::SetSheets(const QPageRanges& sheets, bool lastSheetFirst) {
    sheets_ = sheets;
    lastSheetFirst_ = lastSheetFirst;
    return *this;
}

PrintHooks& PrintUi() {
    return g_hooks;
}

namespace {

// Why `wanted` cannot take a printout now; empty when it can. Names the printer found.
QString CannotPrint(const PrintTarget& wanted, QString* printer, PrinterStatus* status) {
    if (PrintUi().printerAvailable && wanted.printer().isEmpty() && !PrintUi().printerAvailable())
        return QStringLiteral("No printer is set up on this computer");
    if (!CurrentPrintService().Reachable())
        return QStringLiteral("The print service of this computer is not running or cannot be "
                              "reached");
    *printer =
        wanted.printer().isEmpty() ? CurrentPrintService().DefaultPrinter() : wanted.printer();
    if (printer->isEmpty())
        return QStringLiteral("No printer is set up on this computer");
    *status = CurrentPrintService().Printer(*printer);
    if (!status->answered)
        return QStringLiteral("The print service of this computer is not answering");
    const QString said =
        status->message.isEmpty() ? QString() : QStringLiteral(" (\"%1\")").arg(status->message);
    if (!status->exists)
        return QStringLiteral("The printer \"%1\" does not exist on this computer").arg(*printer);
    if (!status->accepting)
        return QStringLiteral("The printer \"%1\" is not accepting print jobs%2")
            .arg(*printer, said);
    if (status->state == PrinterState::Stopped)
        return QStringLiteral("The printer \"%1\" is stopped%2").arg(*printer, said);
    return {};
}

} // namespace

std::optional<PrintTarget> ResolveTarget(const PrintTarget& wanted, const QString& pdfName) {
    if (wanted.isPdf())
        return wanted;
    QString printer;
    PrinterStatus status;
    const QString why = CannotPrint(wanted, &printer, &status);
    if (why.isEmpty()) {
        PrintTarget resolved = PrintTarget::Printer(printer);
        resolved.SetPaper(wanted.paper() ? wanted.paper() : status.paper)
            .SetCopies(wanted.copies())
            .SetCollate(wanted.collate())
            .SetSides(wanted.sides())
            .SetOffersPdf(wanted.offersPdf())
            .SetWatched(wanted.watched())
            .SetSheets(wanted.sheets(), wanted.lastSheetFirst());
        return resolved;
    }
    const QString cannot = why + QStringLiteral(", so the report cannot be printed.");
    if (!wanted.offersPdf()) {
        MsgBox(cannot, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Print Report"));
        return std::nullopt;
    }
    const MsgAnswer answer =
        MsgBox(MsgLines({cannot, QStringLiteral("Do you want to save it as a PDF file instead?")}),
               MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Print Report"));
    if (answer != MsgAnswer::Yes || !PrintUi().choosePdfPath)
        return std::nullopt;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString path = PrintUi().choosePdfPath(fileio::Join(folder, pdfName));
    if (path.trimmed().isEmpty())
        return std::nullopt;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    PrintTarget pdf = PrintTarget::PdfFile(path, wanted.paper());
    pdf.SetSheets(wanted.sheets(), wanted.lastSheetFirst());
    return pdf;
}

QString ClientReportPdfName() {
    const int client = Globals().CurrentClient;
    return client > 0 ? QStringLiteral("Client Report %1.pdf").arg(client)
                      : QStringLiteral("Client Report.pdf");
}

std::vector<Sheet> PlanSheets(const QList<QStringList>& pages, const SheetMetrics& m) {
    std::vector<Sheet> sheets;
    const int wrapColumns =
        std::max(1, int(std::floor(m.width / (m.charWidth * MinimumScale) + Epsilon)));
    for (int p = 0; p < pages.size(); ++p) {
        const QStringList lines = WrapLines(pages[p], wrapColumns);
        const int columns = Columns(lines);
        const double widthScale =
            columns > 0 ? std::min(1.0, m.width / (columns * m.charWidth)) : 1.0;
        const double heightScale =
            lines.isEmpty() ? 1.0 : std::min(1.0, m.height / (lines.size() * m.lineHeight));
        const double scale = std::min(widthScale, heightScale);
        if (scale >= MinimumScale - Epsilon) {
            sheets.push_back({lines, scale, p});
            continue;
        }
        // Too long for one sheet: go on over as many as needed at the width's scale.
        const int perSheet =
            std::max(1, int(std::floor(m.height / (m.lineHeight * widthScale) + Epsilon)));
        qsizetype at = 0;
        while (at < lines.size()) {
            if (at > 0) // a continued sheet starts with text, not with the blank before it
                while (at < lines.size() && IsBlank(lines[at]))
                    ++at;
            if (at >= lines.size())
                break;
            sheets.push_back({lines.mid(at, perSheet), widthScale, p});
            at += perSheet;
        }
    }
    return sheets;
}

SheetMetrics MeasureSheet(QPagedPaintDevice& device, double pointSize) {
    const QFontMetricsF fm(ReportFont(pointSize), &device);
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    SheetMetrics m;
    m.width = area.width();
    m.height = area.height();
    m.charWidth = fm.horizontalAdvance(QLatin1Char('M'));
    m.lineHeight = fm.lineSpacing();
    return m;
}

int RenderPages(QPagedPaintDevice& device, const QList<QStringList>& pages, double pointSize,
                const QPageRanges& chosen, bool lastSheetFirst) {
    const QFont font = ReportFont(pointSize);
    const QFontMetricsF fm(font, &device);
    const SheetMetrics m = MeasureSheet(device, pointSize);
    std::vector<Sheet> sheets;
    {
        std::vector<Sheet> all = PlanSheets(pages, m);
        for (size_t i = 0; i < all.size(); ++i)
            if (chosen.isEmpty() || chosen.contains(int(i) + 1))
                sheets.push_back(std::move(all[i]));
        if (sheets.empty())
            throw VError(PrinterError,
                         QStringLiteral("The pages chosen (%1) are not in the report, which has %2 "
                                        "pages.")
                             .arg(chosen.toString())
                             .arg(all.size()));
    }
    if (lastSheetFirst)
        std::reverse(sheets.begin(), sheets.end());
    QPainter painter;
    if (!painter.begin(&device))
        throw VError(PrinterError, QStringLiteral("The printout could not be started."));
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (size_t i = 0; i < sheets.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            throw VError(PrinterError, QStringLiteral("The printer could not start a new page."));
        }
        painter.save();
        painter.scale(sheets[i].scale, sheets[i].scale);
        for (qsizetype k = 0; k < sheets[i].lines.size(); ++k) {
            const QString line = RightTrimmed(sheets[i].lines[k]);
            if (!line.isEmpty())
                painter.drawText(QPointF(0, fm.ascent() + k * m.lineHeight), line);
        }
        painter.restore();
    }
    if (!painter.end())
        throw VError(PrinterError, QStringLiteral("The printout could not be finished."));
    return int(sheets.size());
}

namespace {

PrintResult PrintPages(const QList<QStringList>& pages, double pointSize, const PrintTarget& wanted,
                       const QString& title, const QString& pdfName) {
    const std::optional<PrintTarget> target = ResolveTarget(wanted, pdfName);
    if (!target)
        return {};
    BusyScope busy;
    return target->isPdf() ? PrintToPdf(pages, pointSize, *target, title)
                           : PrintToPrinter(pages, pointSize, *target, title);
}

const QString CheckoutTitle = QStringLiteral("Checkout Report");
const QString CheckoutPdf = QStringLiteral("Checkout Report.pdf");

} // namespace

PrintResult PrintReportText(const QString& text, double pointSize, const PrintTarget& target,
                            const QString& title, const QString& pdfName) {
    return PrintPages(PagesOf(text, QStringLiteral("The report")), pointSize, target, title,
                      pdfName);
}

PrintResult PrintReportFile(const PrintTarget& target) {
    return PrintReportText(ReadReportFile(), ReportPointSize, target,
                           QStringLiteral("Client Report"), ClientReportPdfName());
}

PrintResult PrintReportFiles(const QStringList& paths, const PrintTarget& target) {
    QList<QStringList> pages;
    for (const QString& path : paths)
        pages += PagesOf(ReadReportFile(path), QDir::toNativeSeparators(path));
    if (pages.isEmpty())
        throw VError(err::InputPastEnd, QStringLiteral("There is no report to print."));
    return PrintPages(pages, ReportPointSize, target, QStringLiteral("Client Reports"),
                      QStringLiteral("Client Reports.pdf"));
}

PrintResult ReadReportToPrinterC(const PrintTarget& target) {
    if (!Globals().PrintDOS || target.isPdf())
        return PrintReportText(ReadReportFile(), CheckoutPointSize, target, CheckoutTitle,
                               CheckoutPdf);
    const QString path = ReportPath();
    if (!fileio::Exists(path))
        throw VError(err::FileNotFound, QStringLiteral("The report file %1 was not found.")
                                            .arg(QDir::toNativeSeparators(path)));
    const QList<QStringList> pages = PagesOf(ReadReportFile(path), QStringLiteral("The report"));
    const std::optional<PrintTarget> resolved = ResolveTarget(target, CheckoutPdf);
    if (!resolved)
        return {};
    BusyScope busy;
    if (resolved->isPdf())
        return PrintToPdf(pages, CheckoutPointSize, *resolved, CheckoutTitle);
    // The extra form feed ejected the last sheet of a line printer; it stays in the file. The
    // print service lays out plain text itself and needs none after the last page.
    fileio::Append(path, QByteArrayLiteral("\f\r\n"));
    return SendTextToPrinter(pages, *resolved, CheckoutTitle);
}

PrintResult PrintDirect(const PrintTarget& target) {
    return PrintReportText(ReadReportFile(), DirectPointSize, target, CheckoutTitle, CheckoutPdf);
}

} // namespace varenta::reports
