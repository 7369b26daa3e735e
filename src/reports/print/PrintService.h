#pragma once

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The computer's print service as the printing code needs it: which printer is the default,
// what state a printer is in, handing it a job, following the job and cancelling it. The
// system's service is reached through CUPS; tests put a fake in its place.
namespace varenta::reports {

enum class PrinterState { Idle, Processing, Stopped };

struct PrinterStatus {
    bool answered = true; // false: the service did not answer, and nothing below is known
    bool exists = false;
    bool accepting = true;
    PrinterState state = PrinterState::Idle;
    QString message;     // what the service last said about the printer, may be empty
    QStringList reasons; // the printer's state reasons ("media-empty-error", ...), none: empty
    std::optional<QPageSize::PageSizeId> paper; // its default paper, when known
};

// Unknown: the service did not answer when asked.
enum class JobState { Pending, Held, Processing, Stopped, Canceled, Aborted, Completed, Unknown };

struct JobStatus {
    JobState state = JobState::Pending;
    QString message;     // what the service last said about the job's printer
    QStringList reasons; // the job's state reasons ("job-hold-until-specified", ...)
};

struct PrintJob {
    QString printer;
    QString title;                          // the name the queue shows
    QString format;                         // "application/pdf" or "text/plain;charset=utf-8"
    QByteArray data;                        // the whole document
    QList<QPair<QString, QString>> options; // job attributes: media, copies, sides, ...
};

class PrintService {
public:
    virtual ~PrintService() = default;
    // False when the service does not answer at all (not running, not installed).
    virtual bool Reachable() = 0;
    // The user's default printer; empty when none is set up.
    virtual QString DefaultPrinter() = 0;
    virtual PrinterStatus Printer(const QString& name) = 0;
    // Hands the job to the printer's queue; returns the job's number. Throws VError with the
    // service's own words when the queue refuses it.
    virtual int Submit(const PrintJob& job) = 0;
    virtual JobStatus Job(int id) = 0;
    // False when the job could not be cancelled (it has finished already, for instance).
    virtual bool Cancel(int id) = 0;
};

// The print service in use: the system's unless a test has put another in its place.
PrintService& CurrentPrintService();
// Puts `service` in place of the system's; null puts the system's back. Returns the one
// replaced.
std::unique_ptr<PrintService> SetPrintService(std::unique_ptr<PrintService> service);

// The PWG name of a paper size ("iso_a4_210x297mm"), as print jobs ask for it.
QString MediaName(QPageSize::PageSizeId paper);
// The paper a PWG or legacy media name stands for; empty when none or unknown.
std::optional<QPageSize::PageSizeId> PaperOfMedia(const QString& media);

} // namespace varenta::reports
