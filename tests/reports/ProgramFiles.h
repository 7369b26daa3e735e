#pragma once

#include "app/Globals.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varenta::testing {

// Points the globals at a program folder holding copies of the built one's own files (tables,
// texts, paragraphs), without the sound folders that scoring and printing never read: quick to
// make, and each test writes its report and copies into a folder of its own.
inline void UseReportProgramDir(const QString& into) {
    const QDir from(BuiltProgramDir());
    for (const QFileInfo& f : from.entryInfoList(QDir::Files)) {
        if (!f.isExecutable())
            QFile::copy(f.filePath(), QDir(into).filePath(f.fileName()));
    }
    Globals().ProgramDir = into;
}

} // namespace varenta::testing
