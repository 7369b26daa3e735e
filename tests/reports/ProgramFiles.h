#pragma once

#include "app/Globals.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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

// The private copies of reports a print run makes in the program folder; none once it is done.
inline QStringList TempCopies(const TempDir& program) {
    return QDir(program.path()).entryList({QStringLiteral("temp*")}, QDir::Files);
}

// A report file as the viewer shows it: less its final line feed, line ends as a text box
// keeps them (the last line's carriage return dropped).
inline QString ShownReport(const QByteArray& file) {
    QString text = cp1252::Decode(file.chopped(1));
    EXPECT_TRUE(text.endsWith(QLatin1Char('\r')));
    text.chop(1);
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace varenta::testing
