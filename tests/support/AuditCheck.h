#pragma once

#include "store/AuditTrail.h"

#include <QStringList>

namespace varenta::testing {

// The audit trail of a data disk, oldest first, one short text per line: the keyword, the
// record number and the count in brackets where the line has them ("verified 1 (0)",
// "print-all (3)"); "?" for a line that cannot be read.
inline QStringList AuditEvents(const QString& disk) {
    QStringList events;
    for (const audit::Entry& e : audit::ReadLog(disk)) {
        if (!e.valid) {
            events << QStringLiteral("?");
            continue;
        }
        QString text = e.keyword;
        if (e.record > 0)
            text += QStringLiteral(" %1").arg(e.record);
        if (e.count >= 0)
            text += QStringLiteral(" (%1)").arg(e.count);
        events << text;
    }
    return events;
}

} // namespace varenta::testing
