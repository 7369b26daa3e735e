#pragma once

#include "reports/print/PrintService.h"
#include "reports/print/ReportPrint.h"

// Handing a printout to a printer and seeing it through: used by the printouts of this folder.
namespace varenta::reports {

// The job options a printer target asks for: its paper, copies, collation and sides.
QList<QPair<QString, QString>> JobOptions(const PrintTarget& target, QPageSize::PageSizeId paper);

// Sends `job` to the printer of `target` (resolved: the printer is named) and, unless the
// target says otherwise, follows it for WatchMs. A job that has not printed by then for a
// reason the print service gives (the printer stopped, the job held, the printer never
// reached) is named to the user with the printer's state and cancelled unless the user
// chooses to leave it in the queue; a job the service gave up is reported. Throws VError
// when the printer refuses the job.
PrintResult Deliver(const PrintJob& job, const PrintTarget& target);

// The PrintDOS printout of `pages` on the printer of `target`, as plain text.
PrintResult SendTextToPrinter(const QList<QStringList>& pages, const PrintTarget& target,
                              const QString& title);

} // namespace varenta::reports
