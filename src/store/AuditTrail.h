#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <vector>

// The audit trail: the file Audit.log on the data disk, one line appended for every change to
// a client record and every report, print, export or copy made of them, so a court service
// can show who did what with a confidential record. A line holds the date and time, the
// computer user, the computer, what was done, the record number and a count: never a name,
// an answer or the text of a comment.
//
// Writing the trail never stops the work it records: a log that cannot be written is told to
// the user once (per data disk, until a line goes through again) and the work goes on.
namespace varenta::audit {

inline constexpr const char* AuditFileName = "Audit.log";

enum class Event {
    Unknown,                 // a line of a later version, or one this version cannot read
    AddedOnScreen,           // a new client took the test on screen; its record was first written
    AddedFromSheet,          // a new client's answers were keyed from the answer sheet
    AddedTestClient,         // a test client (Non-Deviant) or a demonstration client was added
    Edited,                  // an existing client's information or court history was stored
    AnswersFromSheet,        // an existing client's answers were keyed again from the answer sheet
    Verified,                // verification by re-keying; count: answers changed
    CommentSaved,            // the client's comment was stored
    ReportViewed,            // the client's report was scored and shown
    ReportPrinted,           // the client's report went to the printer (or a PDF file)
    PrintAll,                // every client's report printed; count: reports printed
    NamesDeleted,            // Delete Names; count: names made unreadable in this run
    DiskPrepared,            // the data disk was prepared
    Backup,                  // the whole disk was copied and checked; count: clients copied
    ScoresExported,          // the scores went to a file without names; count: clients
    ScoresExportedWithNames, // the same, with the clients' names
};

// One line of the trail.
struct Entry {
    QDateTime when; // with its offset from UTC
    QString user;
    QString computer;
    Event event = Event::Unknown;
    QString keyword;    // the event as stored
    int record = 0;     // 0: the event concerns the whole disk
    int count = -1;     // -1: none
    bool valid = false; // false: the line could not be read; `text` holds what it says
    int line = 0;       // from 1
    QString text;       // the stored line (control characters shown as "?")
};

// The stored keyword of an event ("report-printed") and back (Unknown when not known).
QString Keyword(Event event);
Event EventOf(const QString& keyword);

// The line stored for an event, with its line end.
QByteArray FormatLine(const Entry& entry);

// Reads a whole trail, oldest line first. Never fails: a line it cannot read is returned as
// an entry with `valid` false, so nothing is left out of what is shown.
std::vector<Entry> ParseLog(QByteArrayView bytes);

// What an entry says, for people: "Client 3 verified: 2 answers changed".
QString Describe(const Entry& entry);
// The whole line as the supervisor's window lists it.
QString DisplayLine(const Entry& entry);

// The trail of a data disk folder (found without regard to case).
QString LogPath(const QString& disk);

// Reads the trail of a data disk. A disk without one gives no entries; a file that cannot be
// read throws VError.
std::vector<Entry> ReadLog(const QString& disk);

// Appends one line for an event on a client record of the data disk in use. Never throws.
// True when the line reached the disk.
bool Record(Event event, int record, int count = -1);
// One line for each record, written at once (reports printed one after another).
bool Record(Event event, const QList<int>& records);
// An event on the whole disk: the one in use, or the folder given.
bool RecordDisk(Event event, int count = -1, const QString& disk = QString());

// The user and computer names the lines carry: the login name and the host name, with
// anything that could break a line replaced.
QString UserName();
QString ComputerName();

} // namespace varenta::audit
