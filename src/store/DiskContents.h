#pragma once

#include "store/ClientRecord.h"

#include <QString>

#include <vector>

// A data disk read as it stands, without making it the disk in use: what the score export
// reads and the backup copies. Nothing is created or changed on it, so a write-protected
// disk or a backup folder can be read alike.
namespace varenta {

// Checks that `folder` is a data disk: a folder holding the marker file TID whose first line
// is "QV", and a client data file of at most 51 records. Returns the number of records.
// Throws VError with a sentence naming the folder and what is wrong.
int CheckDataDiskFolder(const QString& folder);

// The client records of a data disk, record 1 first, after the same checks.
std::vector<ClientRecord> ReadClientRecords(const QString& folder);

} // namespace varenta
