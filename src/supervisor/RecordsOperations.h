#pragma once

#include <QString>

// The records operations of the supervisor window, apart from its widgets: exporting the
// scores of the data disk in use and backing it up. Each shows its own result or failure and
// records what was done in the disk's audit trail.
namespace varenta::supervisor {

// Exports every client's scores of the data disk in use into the CSV file `path`. True when
// the file was written.
bool ExportScoresTo(const QString& path, bool withNames);

// Backs up the data disk in use into a new dated folder inside `folder`. True when the backup
// was made and checked.
bool BackUpTo(const QString& folder);

// Where the file chooser starts for an export made today, and for a backup.
QString SuggestedExportPath();
QString BackupStartFolder();

} // namespace varenta::supervisor
