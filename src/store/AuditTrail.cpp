#include "store/AuditTrail.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"

#include <QFileInfo>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace varenta::audit {

namespace {

struct Name {
    Event event;
    const char* keyword;
};

// The stored keywords: other tools read them, so they never change once released.
constexpr Name kNames[] = {
    {Event::AddedOnScreen, "added-on-screen"},
    {Event::AddedFromSheet, "added-from-sheet"},
    {Event::AddedTestClient, "added-test-client"},
    {Event::Edited, "edited"},
    {Event::AnswersFromSheet, "answers-from-sheet"},
    {Event::Verified, "verified"},
    {Event::CommentSaved, "comment-saved"},
    {Event::ReportViewed, "report-viewed"},
    {Event::ReportPrinted, "report-printed"},
    {Event::PrintAll, "print-all"},
    {Event::NamesDeleted, "names-deleted"},
    {Event::DiskPrepared, "disk-prepared"},
    {Event::Backup, "backup"},
    {Event::ScoresExported, "scores-exported"},
    {Event::ScoresExportedWithNames, "scores-exported-with-names"},
};

constexpr int kFields = 6;
constexpr int kLongestShownLine = 200;
// Far beyond what years of events on one disk come to; more is not a trail worth reading.
constexpr qint64 kLargestLog = qint64(64) << 20;

// Login and host names are the system's, but they end up inside tab-separated lines.
QString Safe(const QString& text) {
    QString out;
    for (const QChar c : text.left(64))
        out += (c.isPrint() && !c.isSpace() && c != QLatin1Char('\\')) ? c : QLatin1Char('_');
    return out.isEmpty() ? QStringLiteral("unknown") : out;
}

QString Stamp(const QDateTime& t) {
    const int offset = t.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QString::asprintf("%02d:%02d", minutes / 60, minutes % 60);
}

// Exactly the shape Stamp writes: the ISO parser alone also takes forms such as fractions of
// a minute, which would not be written back as they were read.
bool IsStamp(const QString& field) {
    static constexpr char kShape[] = "dddd-dd-ddTdd:dd:dd+dd:dd";
    if (field.size() != qsizetype(sizeof kShape - 1))
        return false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        const char want = kShape[i];
        const bool ok = want == 'd'   ? (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                        : want == '+' ? (c == QLatin1Char('+') || c == QLatin1Char('-'))
                                      : c == QLatin1Char(want);
        if (!ok)
            return false;
    }
    return true;
}

QString NumberField(int value, int none) {
    return value == none ? QStringLiteral("-") : QString::number(value);
}

// "-" or a whole number of at most six digits.
bool ReadNumber(const QString& field, int none, int* out) {
    if (field == QLatin1String("-")) {
        *out = none;
        return true;
    }
    if (field.isEmpty() || field.size() > 6)
        return false;
    for (const QChar c : field)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    *out = field.toInt();
    return true;
}

QString Shown(QByteArrayView line) {
    QString text =
        QString::fromUtf8(line.first(std::min<qsizetype>(line.size(), kLongestShownLine * 4)));
    for (QChar& c : text)
        if ((!c.isPrint() && c != QLatin1Char('\t')) || c == QChar::ReplacementCharacter)
            c = QLatin1Char('?');
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text.left(kLongestShownLine);
}

Entry ParseLine(QByteArrayView bytes, int number) {
    Entry e;
    e.line = number;
    e.text = Shown(bytes);
    const QStringList fields = QString::fromUtf8(bytes).split(QLatin1Char('\t'));
    if (fields.size() != kFields)
        return e;
    if (!IsStamp(fields[0]))
        return e;
    e.when = QDateTime::fromString(fields[0], Qt::ISODate);
    if (!e.when.isValid())
        return e;
    e.user = fields[1];
    e.computer = fields[2];
    e.keyword = fields[3];
    if (e.user.isEmpty() || e.computer.isEmpty() || e.keyword.isEmpty() || Safe(e.user) != e.user ||
        Safe(e.computer) != e.computer)
        return e;
    for (const QChar c : e.keyword)
        if (!(c >= QLatin1Char('a') && c <= QLatin1Char('z')) && c != QLatin1Char('-'))
            return e;
    if (!ReadNumber(fields[4], 0, &e.record) || !ReadNumber(fields[5], -1, &e.count))
        return e;
    e.event = EventOf(e.keyword);
    e.valid = true;
    return e;
}

QString Clients(int count) {
    return count == 1 ? QStringLiteral("1 client") : QStringLiteral("%1 clients").arg(count);
}

// The data disk whose trail failed and the user was told about it.
void TellOnce(const QString& disk, const QString& why) {
    GlobalState& g = Globals();
    if (g.AuditFailureShownFor == disk)
        return;
    g.AuditFailureShownFor = disk;
    MsgBox(
        MsgLines(
            {QStringLiteral("The audit trail on the data disk %1 could not be written:").arg(disk),
             why, QString(),
             QStringLiteral("Your work is not affected. Until the audit trail can be "
                            "written again, events are not recorded in it and this "
                            "message is not shown again.")}),
        MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Audit Trail"));
}

bool Write(const QString& disk, const QByteArray& lines) {
    if (disk.isEmpty())
        return false; // no data disk in use: nothing happened on one
    try {
        // A disk that went away must not get a trail of its own in the empty mount point.
        if (!fileio::Exists(fileio::FindCaseInsensitive(disk, QString::fromLatin1(DataFileName))))
            throw VError(err::PathNotFound,
                         QStringLiteral("The data disk is not there any more (%1 has no %2).")
                             .arg(disk, QString::fromLatin1(DataFileName)));
        const QString path = LogPath(disk);
        const QFileInfo info(path);
        if (!info.exists()) {
            // A new trail is made whole and its folder entry flushed with it.
            fileio::ReplaceAtomically(path, lines);
        } else {
            const qint64 before = info.size();
            QByteArray out = lines;
            // A line cut short by an earlier failure must not swallow this one.
            if (before > 0 && fileio::ReadAt(path, before - 1, 1) != QByteArrayLiteral("\n"))
                out.prepend('\n');
            try {
                fileio::Append(path, out);
            } catch (const VError&) {
                if (QFileInfo(path).size() > before)
                    fileio::Truncate(path, before);
                throw;
            }
        }
    } catch (const VError& e) {
        TellOnce(disk, ErrorText(e));
        return false;
    } catch (const std::exception& e) {
        TellOnce(disk, QString::fromLocal8Bit(e.what()));
        return false;
    }
    GlobalState& g = Globals();
    if (g.AuditFailureShownFor == disk)
        g.AuditFailureShownFor.clear();
    return true;
}

Entry Now(Event event, int record, int count) {
    Entry e;
    e.when = QDateTime::currentDateTime();
    e.user = UserName();
    e.computer = ComputerName();
    e.event = event;
    e.record = record;
    e.count = count;
    return e;
}

} // namespace

QString Keyword(Event event) {
    for (const Name& n : kNames)
        if (n.event == event)
            return QString::fromLatin1(n.keyword);
    return QStringLiteral("unknown");
}

Event EventOf(const QString& keyword) {
    for (const Name& n : kNames)
        if (keyword == QLatin1String(n.keyword))
            return n.event;
    return Event::Unknown;
}

QByteArray FormatLine(const Entry& e) {
    const QString keyword = e.event == Event::Unknown ? e.keyword : Keyword(e.event);
    return QStringList{Stamp(e.when),
                       Safe(e.user),
                       Safe(e.computer),
                       keyword,
                       NumberField(e.record, 0),
                       NumberField(e.count, -1)}
               .join(QLatin1Char('\t'))
               .toUtf8() +
           '\n';
}

std::vector<Entry> ParseLog(QByteArrayView bytes) {
    std::vector<Entry> entries;
    int number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        ++number;
        if (!line.isEmpty())
            entries.push_back(ParseLine(line, number));
        start = end + 1;
    }
    return entries;
}

QString Describe(const Entry& e) {
    if (!e.valid)
        return QStringLiteral("Line %1 cannot be read: %2").arg(e.line).arg(e.text);
    const QString client = QStringLiteral("Client %1").arg(e.record);
    switch (e.event) {
    case Event::AddedOnScreen:
        return client + QStringLiteral(" added: test taken on screen");
    case Event::AddedFromSheet:
        return client + QStringLiteral(" added: answer sheet keyed in");
    case Event::AddedTestClient:
        return client + QStringLiteral(" added: test client");
    case Event::Edited:
        return client + QStringLiteral(" edited");
    case Event::AnswersFromSheet:
        return client + QStringLiteral(": answer sheet keyed in again");
    case Event::Verified:
        return client + (e.count == 0 ? QStringLiteral(" verified: no answers changed")
                         : e.count == 1
                             ? QStringLiteral(" verified: 1 answer changed")
                             : QStringLiteral(" verified: %1 answers changed").arg(e.count));
    case Event::CommentSaved:
        return client + QStringLiteral(": comment saved");
    case Event::ReportViewed:
        return client + QStringLiteral(": report viewed");
    case Event::ReportPrinted:
        return client + QStringLiteral(": report printed");
    case Event::PrintAll:
        return QStringLiteral("All reports printed (%1)").arg(Clients(e.count));
    case Event::NamesDeleted:
        return QStringLiteral("Names deleted (%1)").arg(Clients(e.count));
    case Event::DiskPrepared:
        return QStringLiteral("Data disk prepared");
    case Event::Backup:
        return QStringLiteral("Data disk backed up (%1)").arg(Clients(e.count));
    case Event::ScoresExported:
        return QStringLiteral("Scores exported without names (%1)").arg(Clients(e.count));
    case Event::ScoresExportedWithNames:
        return QStringLiteral("Scores exported WITH NAMES (%1)").arg(Clients(e.count));
    case Event::Unknown:
        break;
    }
    QString text = QStringLiteral("Event \"%1\"").arg(e.keyword);
    if (e.record > 0)
        text += QStringLiteral(", client %1").arg(e.record);
    if (e.count >= 0)
        text += QStringLiteral(", count %1").arg(e.count);
    return text;
}

QString DisplayLine(const Entry& e) {
    if (!e.valid)
        return Describe(e);
    return QStringLiteral("%1  %2 on %3  %4")
        .arg(e.when.toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")), e.user, e.computer,
             Describe(e));
}

QString LogPath(const QString& disk) {
    return fileio::FindCaseInsensitive(disk, QString::fromLatin1(AuditFileName));
}

std::vector<Entry> ReadLog(const QString& disk) {
    const QString path = LogPath(disk);
    if (!fileio::Exists(path))
        return {};
    const qint64 size = QFileInfo(path).size();
    if (size > kLargestLog)
        throw VError(err::PathFileAccess,
                     QStringLiteral("The audit trail %1 is %2 MB long, more than can be a trail "
                                    "of this program.")
                         .arg(path)
                         .arg(size >> 20));
    return ParseLog(fileio::ReadAll(path));
}

bool Record(Event event, int record, int count) {
    return Write(Globals().DataPath, FormatLine(Now(event, record, count)));
}

bool Record(Event event, const QList<int>& records) {
    if (records.isEmpty())
        return true;
    QByteArray lines;
    for (const int record : records)
        lines += FormatLine(Now(event, record, -1));
    return Write(Globals().DataPath, lines);
}

bool RecordDisk(Event event, int count, const QString& disk) {
    return Write(disk.isEmpty() ? Globals().DataPath : disk, FormatLine(Now(event, 0, count)));
}

QString UserName() {
    static const QString name = [] {
        std::vector<char> buffer(16384);
        passwd pw{};
        passwd* found = nullptr;
        if (::getpwuid_r(::geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found &&
            found->pw_name && *found->pw_name)
            return Safe(QString::fromLocal8Bit(found->pw_name));
        for (const char* var : {"USER", "LOGNAME"})
            if (qEnvironmentVariableIsSet(var) && !qEnvironmentVariableIsEmpty(var))
                return Safe(qEnvironmentVariable(var));
        return QStringLiteral("uid%1").arg(::geteuid());
    }();
    return name;
}

QString ComputerName() {
    static const QString name = Safe(QSysInfo::machineHostName());
    return name;
}

} // namespace varenta::audit
