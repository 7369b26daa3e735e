#include "supervisor/RecordsOperations.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ScoreExport.h"
#include "store/AuditTrail.h"
#include "store/Backup.h"

#include <QDate>
#include <QDir>

namespace varenta::supervisor {

namespace {

QString Clients(int n) {
    return n == 1 ? QStringLiteral("1 client") : QStringLiteral("%1 clients").arg(n);
}

} // namespace

bool ExportScoresTo(const QString& path, bool withNames) {
    const QString title = QStringLiteral("Export Scores");
    int rows = 0;
    int unscored = 0;
    try {
        reports::ExportOptions options;
        options.withNames = withNames;
        reports::ScoreExport scores(options);
        rows = scores.AddDisk(Globals().DataPath);
        unscored = scores.Unscored();
        reports::SaveExport(path, scores.Bytes());
    } catch (const VError& e) {
        MsgBox(MsgLines({QStringLiteral("The scores could not be exported:"), ErrorText(e),
                         QString(), QStringLiteral("No file was written.")}),
               MsgButtons::Ok, MsgIcon::Exclamation, title);
        return false;
    }
    audit::RecordDisk(
        withNames ? audit::Event::ScoresExportedWithNames : audit::Event::ScoresExported, rows);
    QStringList lines{QStringLiteral("The scores of %1 were saved in").arg(Clients(rows)),
                      QDir::toNativeSeparators(path), QString()};
    if (withNames)
        lines << QStringLiteral("The file holds the clients' names: keep it as confidential as "
                                "the data disk itself.");
    else
        lines << QStringLiteral("The file holds no client names.");
    if (unscored > 0)
        lines << QStringLiteral("%1 could not be scored; the column \"note\" says why.")
                     .arg(Clients(unscored));
    MsgBox(MsgLines(lines), MsgButtons::Ok, MsgIcon::Information, title);
    return true;
}

bool BackUpTo(const QString& folder) {
    const QString title = QStringLiteral("Back Up Data Disk");
    BackupResult r;
    try {
        r = BackUpDataDisk(Globals().DataPath, folder);
    } catch (const VError& e) {
        MsgBox(MsgLines({QStringLiteral("The data disk could not be backed up:"), ErrorText(e),
                         QString(), QStringLiteral("The data disk itself was not changed.")}),
               MsgButtons::Ok, MsgIcon::Exclamation, title);
        return false;
    }
    MsgBox(MsgLines({QStringLiteral("The data disk was backed up into"),
                     QDir::toNativeSeparators(r.folder), QString(),
                     QStringLiteral("%1 copied; every file was read back and is the same as on "
                                    "the data disk.")
                         .arg(Clients(r.clients)),
                     QStringLiteral("To restore the backup, choose its folder with Options, "
                                    "Select Data Drive.")}),
           MsgButtons::Ok, MsgIcon::Information, title);
    return true;
}

QString SuggestedExportPath() {
    return QDir(QDir::homePath())
        .filePath(reports::SuggestedExportName(Globals().DataPath,
                                               QDate::currentDate().toString(Qt::ISODate)));
}

QString BackupStartFolder() {
    return QDir::homePath();
}

} // namespace varenta::supervisor
