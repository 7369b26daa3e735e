#include "store/ClientStore.h"

#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"

#include <QDir>

#include <algorithm>

namespace varenta {

int RecordsInLength(qint64 length) {
    // Nearest whole record: 195 is odd, so there are no ties.
    return int((length + RecordLength / 2) / RecordLength);
}

std::vector<ClientRecord> RecordsOf(const QByteArray& bytes) {
    const int count = RecordsInLength(bytes.size());
    std::vector<ClientRecord> records;
    records.reserve(size_t(count));
    for (int n = 0; n < count; ++n)
        records.push_back(
            ClientRecord::FromBytes(bytes.mid(qsizetype(n) * RecordLength, RecordLength)));
    return records;
}

namespace {

// The longest file that still holds no more than the most clients a disk can hold.
constexpr qint64 kLongestFile = qint64(MaxClients) * RecordLength + RecordLength / 2;

QString CodeName(const QStringList& table, const QString& code, int width) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (ok && n >= 0 && n < table.size())
        return table[n];
    return Fit(QStringLiteral("N/A"), width);
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

VError LinkRefused(const QString& path) {
    return VError(err::PathFileAccess,
                  QStringLiteral("The client data file %1 is a symbolic link to another file. "
                                 "Client records are kept only in a plain file on the data disk "
                                 "itself, so this disk is not used. Put the file itself in the "
                                 "link's place, or choose another data disk.")
                      .arg(Shown(path)));
}

void Remember(const fileio::FileId& id, const QByteArray& content) {
    DataFileStamp& stamp = Globals().DataFile;
    stamp.known = true;
    stamp.device = id.device;
    stamp.inode = id.inode;
    stamp.content = content;
}

// CheckDataDisk, giving what it found of the client data file.
fileio::PathInfo CheckDisk() {
    GlobalState& g = Globals();
    DataFileStamp& stamp = g.DataFile;
    QString marker;
    try {
        marker = ReadMarkerLine(g.DataPath);
    } catch (const VError& e) {
        if (IsDeviceError(e.number()))
            throw;
        throw VError(err::FileNotFound,
                     QStringLiteral("The data disk %1 is not there: its marker file %2 cannot be "
                                    "read. Nothing was written.")
                         .arg(Shown(g.DataPath), QString::fromLatin1(MarkerFileName)));
    }
    if (marker.trimmed() != QStringLiteral("QV"))
        throw VError(err::DiskNotReady,
                     QStringLiteral("%1 no longer holds the data disk that was loaded: its marker "
                                    "file %2 has changed. Nothing was written.")
                         .arg(Shown(g.DataPath), QString::fromLatin1(MarkerFileName)));
    const fileio::PathInfo info = fileio::Inspect(g.DataFilePath);
    if (info.isLink)
        throw LinkRefused(g.DataFilePath);
    if (!info.exists || !info.isRegular)
        throw VError(err::FileNotFound,
                     QStringLiteral("The client data file %1 is no longer there: the data disk "
                                    "was taken out or changed. Nothing was written.")
                         .arg(Shown(g.DataFilePath)));
    if (!stamp.known)
        throw VError(err::DiskNotReady,
                     QStringLiteral("The client data file %1 was never loaded, so nothing is "
                                    "written to it.")
                         .arg(Shown(g.DataFilePath)));
    if (info.id == fileio::FileId{stamp.device, stamp.inode})
        return info;
    // Another file in its place. A disk taken out and put back is mounted afresh and numbers
    // its files anew; it is still the same disk when it holds exactly what was loaded or
    // last written here.
    fileio::FileId id;
    const QByteArray now = fileio::ReadAll(g.DataFilePath, kLongestFile, &id);
    if (now == stamp.content) {
        Remember(id, now);
        fileio::PathInfo same = info;
        same.id = id;
        return same;
    }
    throw VError(err::DiskNotReady,
                 QStringLiteral("%1 is not the client data file that was loaded: another disk or "
                                "another file is in its place. Nothing was written. Choose the "
                                "data disk again (Options, Select Data Drive) to use it.")
                     .arg(Shown(g.DataFilePath)));
}

// Whatever lies past `offset` is the start of `bytes`: an earlier write of this very record
// failed and could not be taken back, so writing it whole now finishes it.
bool OwnUnfinishedAppend(qint64 offset, const QByteArray& bytes) {
    const QByteArray all = fileio::ReadAll(Globals().DataFilePath, kLongestFile);
    return all.size() > offset && all.size() <= offset + RecordLength &&
           bytes.startsWith(all.mid(offset));
}

// What the disk itself holds of the client data file; false when it cannot be read.
bool ReadBack(QByteArray* raw) {
    try {
        CheckDisk();
        *raw = fileio::ReadAt(Globals().DataFilePath, 0, kLongestFile + 1, true);
    } catch (const VError&) {
        return false;
    }
    if (raw->size() > kLongestFile)
        return false;
    Globals().DataFile.content = *raw;
    return true;
}

} // namespace

void LoadClients() {
    GlobalState& g = Globals();
    const QString path = g.DataFilePath;
    const fileio::PathInfo info = fileio::Inspect(path);
    if (info.isLink)
        throw LinkRefused(path);
    if (!info.exists)
        throw VError(err::FileNotFound,
                     QStringLiteral("The client data file %1 is not there.").arg(Shown(path)));
    const int count = RecordsInLength(info.size);
    if (count > MaxClients) {
        // Nothing of this file is kept: a half-loaded table could later be written back.
        for (auto& slot : g.Clients)
            slot = ClientRecord();
        g.ClientCount = 0;
        g.CurrentClient = 0;
        g.DataFile = DataFileStamp();
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("The client data file %1 holds %2 client records, but a data "
                                    "disk can hold at most %3. The file was not loaded.")
                         .arg(path)
                         .arg(count)
                         .arg(MaxClients));
    }
    fileio::FileId id;
    const QByteArray all = fileio::ReadAll(path, kLongestFile, &id);
    const std::vector<ClientRecord> records = RecordsOf(all);
    std::copy(records.begin(), records.end(), g.Clients.begin() + 1);
    const int read = int(records.size());
    g.ClientCount = qint16(read);
    g.CurrentClient = read > 0 ? 1 : 0;
    Remember(id, all);
}

void CreateClientFile() {
    fileio::CreateNew(Globals().DataFilePath);
    LoadClients();
}

void CheckDataDisk() {
    CheckDisk();
}

void SaveClient(int slot, bool* writeBegan) {
    GlobalState& g = Globals();
    if (slot < 1 || slot > MaxClients)
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("Client record %1 cannot be stored: a data disk holds client "
                                    "records 1 to %2.")
                         .arg(slot)
                         .arg(MaxClients));
    const fileio::PathInfo info = CheckDisk();
    const qint64 length = info.size;
    const int inFile = RecordsInLength(length);
    const qint64 offset = qint64(slot - 1) * RecordLength;
    const QByteArray bytes = g.Clients[size_t(slot)].ToBytes();
    if (slot > inFile + 1)
        throw VError(err::PathFileAccess,
                     QStringLiteral("Client record %1 cannot be stored: the client data file %2 "
                                    "holds only %3 records.")
                         .arg(slot)
                         .arg(g.DataFilePath)
                         .arg(inFile));
    const bool isNew = slot > g.ClientCount;
    if (isNew && slot <= inFile && !OwnUnfinishedAppend(offset, bytes))
        throw VError(err::PathFileAccess,
                     QStringLiteral("The client data file %1 changed since it was read: record %2 "
                                    "is already taken. Nothing was written; choose the data disk "
                                    "again to reload it.")
                         .arg(g.DataFilePath)
                         .arg(slot));
    DataFileStamp& stamp = g.DataFile;
    const fileio::FileId id{stamp.device, stamp.inode};
    if (writeBegan)
        *writeBegan = true;
    try {
        fileio::WriteAt(g.DataFilePath, offset, bytes, &id);
    } catch (const VError& e) {
        if (!isNew)
            throw;
        // A new record cut short (a full disk, a failing device) must not read back later as
        // a client of its own: what this append wrote is taken back, and checked. Another
        // file now in its place was never written, and is left alone.
        try {
            const fileio::PathInfo now = fileio::Inspect(g.DataFilePath);
            if (now.id == id && now.size > offset) {
                fileio::Truncate(g.DataFilePath, offset, &id);
                stamp.content.truncate(qsizetype(offset));
            }
        } catch (const VError& undo) {
            VError both(e.number(),
                        e.description() +
                            QStringLiteral(" Part of record %1 may be on the data disk: it could "
                                           "not be taken back (%2).")
                                .arg(slot)
                                .arg(undo.description()));
            both.WithPath(e.path(), e.action());
            throw both;
        }
        throw;
    }
    if (stamp.content.size() < offset + RecordLength)
        stamp.content.resize(qsizetype(offset + RecordLength));
    stamp.content.replace(qsizetype(offset), RecordLength, bytes);
}

RecordOnDisk ReadBackRecord(int slot) {
    const GlobalState& g = Globals();
    QByteArray raw;
    if (slot < 1 || slot > MaxClients || !ReadBack(&raw))
        return RecordOnDisk::Unknown;
    const qint64 offset = qint64(slot - 1) * RecordLength;
    if (raw.size() >= offset + RecordLength &&
        raw.mid(qsizetype(offset), RecordLength) == g.Clients[size_t(slot)].ToBytes())
        return RecordOnDisk::Stored;
    if (slot > g.ClientCount && RecordsInLength(raw.size()) >= slot)
        return RecordOnDisk::Partial;
    return RecordOnDisk::Old;
}

bool ReadBackClients(std::vector<ClientRecord>* records) {
    QByteArray raw;
    if (!ReadBack(&raw))
        return false;
    *records = RecordsOf(raw);
    return true;
}

void ClearClient() {
    ClientRecord& r = CurrentRecord();
    const ClientRecord blank;
    r.ClientName = blank.ClientName;
    r.ClientID = blank.ClientID;
    r.Age = blank.Age;
    r.GenderCode = blank.GenderCode;
    r.RaceCode = blank.RaceCode;
    r.EducationCode = blank.EducationCode;
    for (int q = 1; q <= 8; ++q)
        *r.CourtField(q) = *blank.CourtField(q);
    r.EditCount = blank.EditCount;
}

void InitCodeTables() {
    GlobalState& g = Globals();
    auto fill = [](std::initializer_list<const char*> texts, int width) {
        QStringList out;
        for (const char* t : texts)
            out << Fit(QString::fromLatin1(t), width);
        return out;
    };
    g.GenderNames = fill({"N/A", "Male", "Female"}, 6);
    g.RaceNames =
        fill({"N/A", "Caucasian", "Black", "Hispanic", "Asian", "Native American", "Other"}, 15);
    g.EducationNames = fill({"N/A", "6th Grade Or Less", "7th Grade", "8th Grade", "9th Grade",
                             "10th Grade", "11th Grade", "High School Graduate", "Partial College"},
                            28);
}

QString ClientListLine(int n) {
    return QString::number(n) + QLatin1Char('-') + Fit(Globals().Clients[size_t(n)].ClientName, 25);
}

QString GenderName(const QString& code) {
    return CodeName(Globals().GenderNames, code, 6);
}
QString RaceName(const QString& code) {
    return CodeName(Globals().RaceNames, code, 15);
}
QString EducationName(const QString& code) {
    return CodeName(Globals().EducationNames, code, 28);
}

} // namespace varenta
