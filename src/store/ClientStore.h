#pragma once

#include <QString>

// The client data file DATA401.QV: fixed 195-byte records, record n at byte (n - 1) * 195,
// held in memory in Globals().Clients. Failures throw VError with the numbers the callers'
// handlers classify.
namespace varenta {

inline constexpr const char* DataFileName = "DATA401.QV";

// The number of records a client data file of `length` bytes holds: a trailing part of half a
// record or more counts as one.
int RecordsInLength(qint64 length);

// Reads the whole client data file (creating it empty when missing) into Clients, sets
// ClientCount (the length divided by 195, to the nearest whole record) and CurrentClient
// (1, or 0 with no clients). A file of more than 51 records is refused (error 9) and leaves
// no client loaded.
void LoadClients();

// Writes slot `slot` to record `slot` of the client data file: exactly its own 195 bytes at
// its own offset, flushed to the disk before returning. The file grows by one record when the
// slot is one past its end. Refuses (without writing) a slot that would leave a gap, or a new
// slot whose place in the file another record already took since the file was loaded.
void SaveClient(int slot);

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
