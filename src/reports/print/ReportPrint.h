#pragma once

#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

// Printing report text: through the system's default printer, into a PDF file, or raw through
// the print spooler. Windows are kept out of here: the busy pointer and the PDF file chooser
// are hooks that the window layer fills (tests fill them too).
namespace varenta::print {

// The error number of a failed printout.
inline constexpr int PrinterError = 482;

// Type sizes of the printouts, in points.
inline constexpr double ReportPointSize = 11.5;  // PrintReportFile
inline constexpr double CheckoutPointSize = 9.5; // ReadReportToPrinterC
inline constexpr double DirectPointSize = 9.0;   // PrintDirect

// Where a printout goes.
class PrintTarget {
public:
    static PrintTarget DefaultPrinter() { return PrintTarget(); }
    // A PDF file, laid out as the printer would lay out its pages. Without a page size the
    // default printer's paper is used, else the paper of the user's locale (Letter or A4).
    static PrintTarget PdfFile(const QString& path,
                               std::optional<QPageSize::PageSizeId> paper = std::nullopt);

    bool isPdf() const { return !pdfPath_.isEmpty(); }
    const QString& pdfPath() const { return pdfPath_; }
    std::optional<QPageSize::PageSizeId> paper() const { return paper_; }

private:
    PrintTarget() = default;
    QString pdfPath_;
    std::optional<QPageSize::PageSizeId> paper_;
};

struct PrintResult {
    bool printed = false; // false: the user chose not to print (no printer, PDF declined)
    QString pdfPath;      // the PDF file written, when the pages went into one
    int sheets = 0;       // pages produced (0 for a raw printout: the printer decides)
};

// The window layer's part in printing.
struct PrintHooks {
    std::function<void()> busy;   // hourglass on, pending events processed
    std::function<void()> normal; // hourglass off
    // Asks where to save a PDF (suggesting a path); an empty answer means cancelled.
    std::function<QString(const QString& suggested)> choosePdfPath;
    // Whether the system has a default printer; unset: asks the printing system.
    std::function<bool()> printerAvailable;
};
PrintHooks& Hooks();
void ResetHooks();

// Whether the system has a usable default printer.
bool PrinterAvailable();

// The target a printout goes to: `wanted` when it can be reached; with no printer set up the
// user is told so and offered a PDF file instead. Empty: the user declined.
std::optional<PrintTarget> ResolveTarget(const PrintTarget& wanted);

// Prints the program folder's report file in "Courier New" 11.5 point, one sheet per page of
// the report. Throws VError when the file cannot be read or the printout fails.
PrintResult PrintReportFile(const PrintTarget& target = PrintTarget::DefaultPrinter());

// Prints several report files in one job, each starting on a new sheet (print all, print
// selected): the user is asked about a missing printer once, and one PDF holds them all.
PrintResult PrintReportFiles(const QStringList& paths,
                             const PrintTarget& target = PrintTarget::DefaultPrinter());

// The checkout's printout. With the PrintDOS setting a form-feed line is appended to the
// report file and the file goes raw to the default printer through the spooler; otherwise the
// report is printed like PrintReportFile in 9.5 point. A PDF target always gets pages.
PrintResult ReadReportToPrinterC(const PrintTarget& target = PrintTarget::DefaultPrinter());

// The checkout's direct printout of the report file in 9 point, a new sheet at each page break.
PrintResult PrintDirect(const PrintTarget& target = PrintTarget::DefaultPrinter());

// Prints text (lines ended by CR LF, pages separated by form-feed lines) at a type size.
PrintResult PrintReportText(const QString& text, double pointSize,
                            const PrintTarget& target = PrintTarget::DefaultPrinter());

// Sends a file unchanged to the default printer (`lp -o raw`). Throws VError with the
// spooler's own message when it fails.
void SendRawToPrinter(const QString& path);

// Layout of report pages on sheets. All measures in one unit (the device's).
struct SheetMetrics {
    double width = 0;      // printable width
    double height = 0;     // printable height
    double charWidth = 0;  // advance of one character at the nominal size
    double lineHeight = 0; // line spacing at the nominal size
};
struct Sheet {
    QStringList lines;
    double scale = 1.0; // of the nominal type size
    int reportPage = 0; // 0-based page of the report this sheet prints
};
// Scaling never goes below this share of the nominal size; a page that would need more
// continues on further sheets.
inline constexpr double MinimumScale = 0.75;
// Each report page on one sheet at the nominal size when it fits. Otherwise the type is scaled
// down until the page fits; a page too long even at MinimumScale continues on further sheets,
// and a line too wide even then continues on the next line. No character is dropped or clipped.
std::vector<Sheet> PlanSheets(const QList<QStringList>& pages, const SheetMetrics& metrics);

// The margins around the printed text, in millimetres (the report carries its own left margin).
// Top and bottom are kept narrow so that a page of 58 lines fits Letter paper at 11.5 point.
inline constexpr double SideMarginMm = 6.35;
inline constexpr double TopMarginMm = 5.0;

// The printable area and type measures of a paged device at a type size.
SheetMetrics MeasureSheet(QPagedPaintDevice& device, double pointSize);

// Draws the pages on a paged device (printer or PDF writer); returns the sheets drawn.
int RenderPages(QPagedPaintDevice& device, const QList<QStringList>& pages, double pointSize);

} // namespace varenta::print
