#pragma once

#include "store/ClientRecord.h"

#include <QString>

#include <vector>

// The client data file DATA401.QV: fixed 195-byte records, record n at byte (n - 1) * 195,
// held in memory in Globals().Clients. Failures throw VError with the numbers the callers'
// handlers classify.
namespace varenta {

inline constexpr const char* DataFileName = "DATA401.QV";

// The number of records a client data file of `length` bytes holds: a trailing part of half a
// record or more counts as one.
int RecordsInLength(qint64 length);

// The records of a client data file's bytes, as many as RecordsInLength counts (a trailing
// part record comes back padded).
std::vector<ClientRecord> RecordsOf(const QByteArray& bytes);

// Reads the whole client data file into Clients, sets ClientCount (the length divided by 195,
// to the nearest whole record) and CurrentClient (1, or 0 with no clients). A file of more
// than 51 records is refused (error 9) and leaves no client loaded. The file must be there:
// it is made only when a data disk is prepared or first accepted (CreateClientFile), never
// by a load, so a disk that was taken out is reported (error 53) instead of being replaced
// by an empty file. A symbolic link is refused. Remembers which file was read and what it
// held, for CheckDataDisk.
void LoadClients();

// Makes the empty client data file of a data disk being prepared or accepted for the first
// time, and takes it as loaded (no clients).
void CreateClientFile();

// Makes sure the data disk is still the one loaded before anything is written to it: its
// marker and its client data file are there, and the client data file is the very file that
// was loaded (or, when the disk was taken out and put back, holds exactly what was loaded or
// last written). Throws VError otherwise (a number the handlers show as "Data disk not
// found!"), having written nothing anywhere.
void CheckDataDisk();

// Writes slot `slot` to record `slot` of the client data file: exactly its own 195 bytes at
// its own offset, flushed to the disk before returning, after CheckDataDisk. The file grows
// by one record when the slot is one past its end. Refuses (without writing) a slot that
// would leave a gap, or a new slot whose place in the file another record already took since
// the file was loaded. A new record cut short is taken back; when even that fails the error
// says so. `writeBegan` is set when bytes may have gone to the disk.
void SaveClient(int slot, bool* writeBegan = nullptr);

// What the data disk holds of record `slot` after a write of it failed, read from the disk
// itself rather than from what the computer kept of the file in memory.
enum class RecordOnDisk {
    Stored,  // exactly the slot's record: the write got there after all
    Old,     // not the slot's record (the old one, or none)
    Partial, // part of a new record that could not be taken back
    Unknown, // the disk cannot be read, or is no longer the one loaded
};
RecordOnDisk ReadBackRecord(int slot);

// The client records as the data disk holds them, read from the disk itself; false when the
// disk cannot be read or is no longer the one loaded.
bool ReadBackClients(std::vector<ClientRecord>* records);

// Blanks the fields of the current slot that the intake windows fill (memory only).
void ClearClient();

// Fills GenderNames, RaceNames and EducationNames.
void InitCodeTables();

// The client list line of client n: "n-" followed by the 25 characters of its name.
QString ClientListLine(int n);

// Display texts of the stored codes, padded to their table's width ("N/A" for code 0 or a
// code outside the table).
QString GenderName(const QString& code);
QString RaceName(const QString& code);
QString EducationName(const QString& code);

} // namespace varenta
