#include "reports/print/Delivery.h"

#include "app/Messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace varenta::reports {

namespace {

const QString Title = QStringLiteral("Print Report");

// The state in which a printer has all of a job and is printing it.
const QString Delivering = QStringLiteral("cups-waiting-for-job-completed");

void Pause(int ms) {
    if (PrintUi().pause) {
        PrintUi().pause(ms);
        return;
    }
    const QDeadlineTimer until(ms);
    while (!until.hasExpired()) {
        // The windows stay painted; no key or click acts while the job is followed.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
}

QString Quoted(const QString& said) {
    QString s = said.trimmed();
    while (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return QStringLiteral("\"%1\"").arg(s);
}

bool HasErrorReason(const QStringList& reasons) {
    for (const QString& r : reasons)
        if (r.endsWith(QLatin1String("-error")))
            return true;
    return false;
}

// What the printer says about itself: its message, else its reasons.
QString PrinterSays(const PrinterStatus& printer, const JobStatus& job) {
    if (!printer.message.isEmpty())
        return printer.message;
    if (!job.message.isEmpty())
        return job.message;
    QStringList reasons;
    for (const QString& r : printer.reasons)
        if (r != Delivering)
            reasons << r;
    return reasons.join(QStringLiteral(", "));
}

// Why the job is not printing, when the service says so plainly; empty when it does not.
QString PlainTrouble(const JobStatus& job, const PrinterStatus& printer) {
    if (job.state == JobState::Held) {
        QString why = QStringLiteral("the print job is held in the printer's queue");
        if (job.reasons.contains(QLatin1String("cups-held-for-authentication")))
            why += QStringLiteral(" until a password is given");
        else if (job.reasons.contains(QLatin1String("job-hold-until-specified")))
            why += QStringLiteral(" until someone releases it");
        return why;
    }
    if (!printer.exists)
        return QStringLiteral("the printer has been removed from this computer");
    if (printer.state == PrinterState::Stopped) {
        const QString said = PrinterSays(printer, job);
        return said.isEmpty() ? QStringLiteral("the printer is stopped")
                              : QStringLiteral("the printer is stopped (%1)").arg(Quoted(said));
    }
    if (job.state == JobState::Stopped)
        return QStringLiteral("the print job has stopped");
    return {};
}

QString StillWaiting(const JobStatus& job, const PrinterStatus& printer) {
    if (job.state == JobState::Unknown || !printer.answered)
        return QStringLiteral("the print service stopped answering");
    QString why = QStringLiteral("it is still waiting after %1 seconds").arg(WatchMs / 1000);
    const QString said = PrinterSays(printer, job);
    if (!said.isEmpty())
        why += QStringLiteral("; the printer says %1").arg(Quoted(said));
    return why;
}

// The printer has all of the job and nothing stops it from printing it.
bool Delivered(const JobStatus& job, const PrinterStatus& printer) {
    return job.state != JobState::Unknown && printer.answered &&
           printer.reasons.contains(Delivering) && !HasErrorReason(printer.reasons);
}

PrintResult Printed(const QString& printer, bool queued = false) {
    PrintResult r;
    r.printed = true;
    r.queued = queued;
    r.printer = printer;
    return r;
}

PrintResult NotPrinted(const QString& printer) {
    PrintResult r;
    r.printer = printer;
    return r;
}

// Asks whether to cancel a job that is not printing; a confidential report must not come out
// later with nobody there, so cancelling is what Enter does.
PrintResult AskAboutJob(int id, const QString& printer, const QString& why) {
    const MsgAnswer answer = MsgBox(
        MsgLines({QStringLiteral("The report was sent to the printer \"%1\", but it has not been "
                                 "printed: %2.")
                      .arg(printer, why),
                  QString(),
                  QStringLiteral("If it stays in the printer's queue, it will print as soon as "
                                 "the printer can print again, perhaps with nobody there to "
                                 "collect it."),
                  QString(),
                  QStringLiteral("Do you want to cancel the print job? Yes cancels it; No leaves "
                                 "it in the queue.")}),
        MsgButtons::YesNo, MsgIcon::Exclamation, Title);
    if (answer != MsgAnswer::Yes)
        return Printed(printer, true);
    if (CurrentPrintService().Cancel(id))
        return NotPrinted(printer);
    // Too late to cancel: it may have printed meanwhile.
    if (CurrentPrintService().Job(id).state == JobState::Completed)
        return Printed(printer);
    MsgBox(MsgLines({QStringLiteral("The print job on the printer \"%1\" could not be cancelled.")
                         .arg(printer),
                     QStringLiteral("It may still print. Ask whoever looks after the printers to "
                                    "remove it from the queue.")}),
           MsgButtons::Ok, MsgIcon::Exclamation, Title);
    return Printed(printer, true);
}

PrintResult Failed(const QString& printer, const JobStatus& job) {
    QString why = job.state == JobState::Canceled
                      ? QStringLiteral("the print job was cancelled in the printer's queue")
                      : QStringLiteral("the print service gave up the print job");
    if (!job.message.isEmpty())
        why += QStringLiteral(" (%1)").arg(Quoted(job.message));
    MsgBox(QStringLiteral("The printer \"%1\" could not print the report: %2.").arg(printer, why),
           MsgButtons::Ok, MsgIcon::Exclamation, Title);
    return NotPrinted(printer);
}

QString SidesValue(Sides sides) {
    switch (sides) {
    case Sides::OneSided:
        return QStringLiteral("one-sided");
    case Sides::LongEdge:
        return QStringLiteral("two-sided-long-edge");
    case Sides::ShortEdge:
        return QStringLiteral("two-sided-short-edge");
    case Sides::PrinterDefault:
        break;
    }
    return {};
}

} // namespace

QList<QPair<QString, QString>> JobOptions(const PrintTarget& target, QPageSize::PageSizeId paper) {
    QList<QPair<QString, QString>> options;
    const QString media = MediaName(paper);
    if (!media.isEmpty())
        options.append({QStringLiteral("media"), media});
    if (target.copies() > 1) {
        options.append({QStringLiteral("copies"), QString::number(target.copies())});
        options.append({QStringLiteral("multiple-document-handling"),
                        target.collate() ? QStringLiteral("separate-documents-collated-copies")
                                         : QStringLiteral("separate-documents-uncollated-copies")});
    }
    const QString sides = SidesValue(target.sides());
    if (!sides.isEmpty())
        options.append({QStringLiteral("sides"), sides});
    return options;
}

PrintResult Deliver(const PrintJob& job, const PrintTarget& target) {
    PrintService& service = CurrentPrintService();
    const int id = service.Submit(job);
    if (!target.watched())
        return Printed(job.printer);
    for (int waited = 0;; waited += PollMs) {
        const JobStatus status = service.Job(id);
        if (status.state == JobState::Completed)
            return Printed(job.printer);
        if (status.state == JobState::Canceled || status.state == JobState::Aborted)
            return Failed(job.printer, status);
        const PrinterStatus printer = service.Printer(job.printer);
        const bool answered = status.state != JobState::Unknown && printer.answered;
        const QString trouble = answered ? PlainTrouble(status, printer) : QString();
        if (!trouble.isEmpty())
            return AskAboutJob(id, job.printer, trouble);
        if (waited >= WatchMs) {
            if (Delivered(status, printer))
                return Printed(job.printer);
            return AskAboutJob(id, job.printer, StillWaiting(status, printer));
        }
        Pause(PollMs);
    }
}

} // namespace varenta::reports
