#pragma once

#include "app/Globals.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varenta::testing {

// Points the globals at a program folder holding copies of the built one's own files (tables,
// texts, paragraphs), without the sound folders that scoring and printing never read: quick to
// make, and each test writes its report and copies into a folder of its own. A report left in
// the built folder by a run of the program is not taken along.
inline void UseReportProgramDir(const QString& into) {
    const QDir from(BuiltProgramDir());
    for (const QFileInfo& f : from.entryInfoList(QDir::Files)) {
        const QString name = f.fileName().toLower();
        if (!f.isExecutable() && name != QLatin1String("report.prn") &&
            !name.startsWith(QLatin1String("temp")) && !name.startsWith(QLatin1Char('.')))
            QFile::copy(f.filePath(), QDir(into).filePath(f.fileName()));
    }
    Globals().ProgramDir = into;
}

} // namespace varenta::testing
