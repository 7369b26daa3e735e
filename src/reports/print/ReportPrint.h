#pragma once

#include <QList>
#include <QPageRanges>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QPagedPaintDevice;

// Printing report text: on a printer through the print service (as PDF pages, or as plain text
// for the PrintDOS setting), or into a PDF file. Windows are kept out of here: the busy
// pointer, the PDF file chooser and the wait between looks at a job are hooks that the window
// layer fills (tests fill them too); messages go through MsgBox.
namespace varenta::reports {

// The error number of a failed printout.
inline constexpr int PrinterError = 482;

// Type sizes of the printouts, in points.
inline constexpr double ReportPointSize = 11.5;  // PrintReportFile
inline constexpr double CheckoutPointSize = 9.5; // ReadReportToPrinterC
inline constexpr double DirectPointSize = 9.0;   // PrintDirect

// Two-sided printing, as the print dialog offers it.
enum class Sides { PrinterDefault, OneSided, LongEdge, ShortEdge };

// Where a printout goes.
class PrintTarget {
public:
    static PrintTarget DefaultPrinter() { return PrintTarget(); }
    // A printer chosen by its name (in the print dialog).
    static PrintTarget Printer(const QString& name);
    // A PDF file, laid out as the printer would lay out its pages. Without a page size the
    // default printer's paper is used, else the paper of the user's locale (Letter or A4).
    static PrintTarget PdfFile(const QString& path,
                               std::optional<QPageSize::PageSizeId> paper = std::nullopt);

    bool isPdf() const { return !pdfPath_.isEmpty(); }
    const QString& pdfPath() const { return pdfPath_; }
    const QString& printer() const { return printer_; } // empty: the default printer
    // The paper asked for; a printer without one prints on its own default paper.
    std::optional<QPageSize::PageSizeId> paper() const { return paper_; }
    int copies() const { return copies_; }
    bool collate() const { return collate_; }
    Sides sides() const { return sides_; }
    // Whether a printer that cannot print offers a PDF file instead (a run of several
    // printouts offers it once, before the first).
    bool offersPdf() const { return offersPdf_; }
    // Whether the job is followed until it has printed (a run of several printouts stops
    // following them once the user has chosen to leave one waiting in the queue).
    bool watched() const { return watched_; }
    // The sheets to print, counted from 1 (none chosen: all), and whether the last comes first.
    const QPageRanges& sheets() const { return sheets_; }
    bool lastSheetFirst() const { return lastSheetFirst_; }

    PrintTarget& SetPaper(std::optional<QPageSize::PageSizeId> paper);
    PrintTarget& SetCopies(int copies);
    PrintTarget& SetCollate(bool on);
    PrintTarget& SetSides(Sides sides);
    PrintTarget& SetOffersPdf(bool on);
    PrintTarget& SetWatched(bool on);
    PrintTarget& SetSheets(const QPageRanges& sheets, bool lastSheetFirst = false);

private:
    PrintTarget() = default;
    QString pdfPath_;
    QString printer_;
    std::optional<QPageSize::PageSizeId> paper_;
    int copies_ = 1;
    bool collate_ = true;
    Sides sides_ = Sides::PrinterDefault;
    bool offersPdf_ = true;
    bool watched_ = true;
    QPageRanges sheets_;
    bool lastSheetFirst_ = false;
};

struct PrintResult {
    bool printed = false; // false: not printed (the user declined, or the printer could not)
    bool queued = false;  // sent, not printed yet, and left waiting in the queue at the user's word
    QString printer;      // the printer it went to
    QString pdfPath;      // the PDF file written, when the pages went into one
    int sheets = 0;       // pages produced (0 for a text printout: the printer decides)
};

// The window layer's part in printing.
struct PrintHooks {
    std::function<void()> busy;   // hourglass on, pending events processed
    std::function<void()> normal; // hourglass off
    // Asks where to save a PDF (suggesting a path); an empty answer means cancelled.
    std::function<QString(const QString& suggested)> choosePdfPath;
    // Whether the system has a default printer; unset: asks the print service.
    std::function<bool()> printerAvailable;
    // Waits between two looks at a job; unset: waits that long, the windows kept painted.
    std::function<void(int ms)> pause;
};
PrintHooks& PrintUi();

// A printout sent to a printer is followed this long, looked at this often: long enough for a
// working printer to take it, short enough that nobody walks away before a problem is told.
inline constexpr int WatchMs = 8000;
inline constexpr int PollMs = 250;

// The target a printout goes to, checked before anything is sent: the print service answers
// and the printer exists, accepts jobs and is not stopped. A printer target comes back with
// the printer's name and, unless one was chosen, its default paper. Where the printout cannot
// go, the user is told why and (unless the target says not to) offered a PDF file instead,
// named `pdfName` in the documents folder. Empty: nothing is to be printed.
std::optional<PrintTarget>
ResolveTarget(const PrintTarget& wanted,
              const QString& pdfName = QStringLiteral("Client Report.pdf"));

// The PDF file proposed for the current client's report: its test number in the name.
QString ClientReportPdfName();

// Prints the program folder's report file in "Courier New" 11.5 point, one sheet per page of
// the report. A job sent to a printer is followed for a few seconds; a printer that does not
// print it is named with its state, and the job cancelled unless the user leaves it queued.
// Throws VError when the file cannot be read or the printer refuses the job.
PrintResult PrintReportFile(const PrintTarget& target = PrintTarget::DefaultPrinter());

// Prints several report files in one job, each starting on a new sheet: the user is asked
// about a missing printer once, and one PDF holds them all.
PrintResult PrintReportFiles(const QStringList& paths,
                             const PrintTarget& target = PrintTarget::DefaultPrinter());

// The checkout's printout. With the PrintDOS setting a form-feed line is appended to the
// report file and the report goes to the printer as plain text, which the print service lays
// out in fixed pitch for whatever printer it is; otherwise the report is printed like
// PrintReportFile in 9.5 point. A PDF target always gets pages.
PrintResult ReadReportToPrinterC(const PrintTarget& target = PrintTarget::DefaultPrinter());

// The checkout's direct printout of the report file in 9 point, a new sheet at each page break.
PrintResult PrintDirect(const PrintTarget& target = PrintTarget::DefaultPrinter());

// Prints text (lines ended by CR LF, pages separated by form-feed lines) at a type size.
// `title` names the job in the printer's queue; `pdfName` is proposed for a PDF instead.
PrintResult PrintReportText(const QString& text, double pointSize,
                            const PrintTarget& target = PrintTarget::DefaultPrinter(),
                            const QString& title = QStringLiteral("Client Report"),
                            const QString& pdfName = QStringLiteral("Client Report.pdf"));

// The text the PrintDOS printout hands the print service: its pages in UTF-8, a form feed
// between them and none after the last (which would cost a blank sheet), lines ended by LF.
QByteArray PlainTextDocument(const QList<QStringList>& pages);
// Characters and lines to the inch that fit the widest line and the longest page of `pages`
// on `paper` inside half-inch margins: 10 and 6 (a typewriter's) unless more are needed.
std::pair<int, int> TextPitch(const QList<QStringList>& pages, QPageSize::PageSizeId paper);

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

// Draws the pages on a paged device (printer or PDF writer); returns the sheets drawn. Only the
// sheets in `sheets` are drawn when some are named (a range that names none is an error), the
// last first when asked.
int RenderPages(QPagedPaintDevice& device, const QList<QStringList>& pages, double pointSize,
                const QPageRanges& sheets = {}, bool lastSheetFirst = false);

} // namespace varenta::reports
