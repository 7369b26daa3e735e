#include "reports/print/ReportPrint.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/print/ReportText.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace varenta::print {

namespace {

constexpr double Epsilon = 1e-9;

PrintHooks& HookStore() {
    static PrintHooks hooks;
    return hooks;
}

// Hourglass for the time the pages are produced, also when producing them fails.
class BusyScope {
public:
    BusyScope() {
        if (Hooks().busy)
            Hooks().busy();
    }
    ~BusyScope() {
        if (Hooks().normal)
            Hooks().normal();
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

QPageSize::PageSizeId DefaultPaper() {
    if (PrinterAvailable()) {
        const QPageSize size = QPrinterInfo::defaultPrinter().defaultPageSize();
        if (size.isValid() && size.id() != QPageSize::Custom)
            return size.id();
    }
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                      : QPageSize::A4;
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

PrintResult PrintToPdf(const QList<QStringList>& pages, double pointSize,
                       const PrintTarget& target) {
    QByteArray bytes;
    int sheets = 0;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(QStringLiteral("Client Report"));
        writer.setCreator(QString::fromLatin1(ProductName));
        writer.setPageLayout(SheetLayout(target.paper().value_or(DefaultPaper())));
        sheets = RenderPages(writer, pages, pointSize);
    }
    WritePdf(target.pdfPath(), bytes);
    return {true, target.pdfPath(), sheets};
}

PrintResult PrintToPrinter(const QList<QStringList>& pages, double pointSize) {
    QPrinter printer(QPrinter::HighResolution);
    if (!printer.isValid())
        throw VError(PrinterError, QStringLiteral("The printer cannot be reached."));
    printer.setDocName(QStringLiteral("Client Report"));
    printer.setCreator(QString::fromLatin1(ProductName));
    // A printer that cannot print this close to the edge keeps its own margins; the layout
    // measures what is left.
    printer.setPageMargins(QMarginsF(SideMarginMm, TopMarginMm, SideMarginMm, TopMarginMm),
                           QPageLayout::Millimeter);
    const int sheets = RenderPages(printer, pages, pointSize);
    if (printer.printerState() == QPrinter::Error)
        throw VError(PrinterError, QStringLiteral("The printer %1 reported an error; the report "
                                                  "may not have been printed.")
                                       .arg(printer.printerName()));
    return {true, QString(), sheets};
}

QList<QStringList> PagesOf(const QString& text, const QString& what) {
    const QList<QStringList> pages = SplitReportPages(text);
    if (pages.isEmpty())
        throw VError(err::InputPastEnd,
                     QStringLiteral("%1 is empty: there is nothing to print.").arg(what));
    return pages;
}

} // namespace

PrintTarget PrintTarget::PdfFile(const QString& path, std::optional<QPageSize::PageSizeId> paper) {
    PrintTarget t;
    t.pdfPath_ = path;
    t.paper_ = paper;
    return t;
}

PrintHooks& Hooks() {
    return HookStore();
}

void ResetHooks() {
    HookStore() = PrintHooks();
}

bool PrinterAvailable() {
    if (Hooks().printerAvailable)
        return Hooks().printerAvailable();
    return !QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull();
}

std::optional<PrintTarget> ResolveTarget(const PrintTarget& wanted) {
    if (wanted.isPdf() || PrinterAvailable())
        return wanted;
    const MsgAnswer answer =
        MsgBox(MsgLines({QStringLiteral("No printer is set up on this computer, so the report "
                                        "cannot be printed."),
                         QStringLiteral("Do you want to save it as a PDF file instead?")}),
               MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Print Report"));
    if (answer != MsgAnswer::Yes || !Hooks().choosePdfPath)
        return std::nullopt;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString path = Hooks().choosePdfPath(fileio::Join(folder, QStringLiteral("Client Report.pdf")));
    if (path.trimmed().isEmpty())
        return std::nullopt;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    return PrintTarget::PdfFile(path, wanted.paper());
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

int RenderPages(QPagedPaintDevice& device, const QList<QStringList>& pages, double pointSize) {
    QPainter painter;
    if (!painter.begin(&device))
        throw VError(PrinterError, QStringLiteral("The printout could not be started."));
    const QFont font = ReportFont(pointSize);
    const QFontMetricsF fm(font, &device);
    const SheetMetrics m = MeasureSheet(device, pointSize);
    const std::vector<Sheet> sheets = PlanSheets(pages, m);
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

PrintResult PrintReportText(const QString& text, double pointSize, const PrintTarget& target) {
    const QList<QStringList> pages = PagesOf(text, QStringLiteral("The report"));
    const std::optional<PrintTarget> resolved = ResolveTarget(target);
    if (!resolved)
        return {};
    BusyScope busy;
    return resolved->isPdf() ? PrintToPdf(pages, pointSize, *resolved)
                             : PrintToPrinter(pages, pointSize);
}

PrintResult PrintReportFile(const PrintTarget& target) {
    return PrintReportText(ReadReportFile(), ReportPointSize, target);
}

PrintResult PrintReportFiles(const QStringList& paths, const PrintTarget& target) {
    QList<QStringList> pages;
    for (const QString& path : paths)
        pages += PagesOf(ReadReportFile(path), QDir::toNativeSeparators(path));
    if (pages.isEmpty())
        throw VError(err::InputPastEnd, QStringLiteral("There is no report to print."));
    const std::optional<PrintTarget> resolved = ResolveTarget(target);
    if (!resolved)
        return {};
    BusyScope busy;
    return resolved->isPdf() ? PrintToPdf(pages, ReportPointSize, *resolved)
                             : PrintToPrinter(pages, ReportPointSize);
}

PrintResult ReadReportToPrinterC(const PrintTarget& target) {
    if (!Globals().PrintDOS || target.isPdf())
        return PrintReportText(ReadReportFile(), CheckoutPointSize, target);
    const QString path = ReportPath();
    if (!fileio::Exists(path))
        throw VError(err::FileNotFound, QStringLiteral("The report file %1 was not found.")
                                            .arg(QDir::toNativeSeparators(path)));
    BusyScope busy;
    // The extra form feed ejects the last sheet; it stays in the file.
    fileio::Append(path, QByteArrayLiteral("\f\r\n"));
    SendRawToPrinter(path);
    return {true, QString(), 0};
}

PrintResult PrintDirect(const PrintTarget& target) {
    return PrintReportText(ReadReportFile(), DirectPointSize, target);
}

} // namespace varenta::print
