#include "store/ClientStore.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"

#include <QFileInfo>

namespace varenta {

int RecordsInLength(qint64 length) {
    // Nearest whole record: 195 is odd, so there are no ties.
    return int((length + RecordLength / 2) / RecordLength);
}

namespace {

QString CodeName(const QStringList& table, const QString& code, int width) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    if (ok && n >= 0 && n < table.size())
        return table[n];
    return Fit(QStringLiteral("N/A"), width);
}

} // namespace

void LoadClients() {
    GlobalState& g = Globals();
    const QString path = g.DataFilePath;
    const qint64 length = fileio::EnsureFile(path);
    const int count = RecordsInLength(length);
    if (count > MaxClients) {
        // Nothing of this file is kept: a half-loaded table could later be written back.
        for (auto& slot : g.Clients)
            slot = ClientRecord();
        g.ClientCount = 0;
        g.CurrentClient = 0;
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("The client data file %1 holds %2 client records, but a data "
                                    "disk can hold at most %3. The file was not loaded.")
                         .arg(path)
                         .arg(count)
                         .arg(MaxClients));
    }
    const QByteArray all =
        count > 0 ? fileio::ReadAt(path, 0, qint64(count) * RecordLength) : QByteArray();
    for (int n = 1; n <= count; ++n)
        g.Clients[size_t(n)] =
            ClientRecord::FromBytes(all.mid((n - 1) * RecordLength, RecordLength));
    g.ClientCount = qint16(count);
    g.CurrentClient = count > 0 ? 1 : 0;
}

void SaveClient(int slot) {
    GlobalState& g = Globals();
    if (slot < 1 || slot > MaxClients)
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("Client record %1 cannot be stored: a data disk holds client "
                                    "records 1 to %2.")
                         .arg(slot)
                         .arg(MaxClients));
    const qint64 length = fileio::EnsureFile(g.DataFilePath);
    const int inFile = RecordsInLength(length);
    if (slot > inFile + 1)
        throw VError(err::PathFileAccess,
                     QStringLiteral("Client record %1 cannot be stored: the client data file %2 "
                                    "holds only %3 records.")
                         .arg(slot)
                         .arg(g.DataFilePath)
                         .arg(inFile));
    if (slot > g.ClientCount && slot <= inFile)
        throw VError(err::PathFileAccess,
                     QStringLiteral("The client data file %1 changed since it was read: record %2 "
                                    "is already taken. Nothing was written; choose the data disk "
                                    "again to reload it.")
                         .arg(g.DataFilePath)
                         .arg(slot));
    try {
        fileio::WriteAt(g.DataFilePath, qint64(slot - 1) * RecordLength,
                        g.Clients[size_t(slot)].ToBytes());
    } catch (const VError&) {
        // A new record cut short (a full disk, a pulled drive) must not read back later as a
        // client of its own: only the bytes of this append are taken away.
        if (slot == inFile + 1 && QFileInfo(g.DataFilePath).size() > length)
            fileio::Truncate(g.DataFilePath, length);
        throw;
    }
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
