#include "store/Comments.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"

#include <QDir>

namespace varenta {

namespace {

// The in-memory comments, slots 0..51 of exactly 300 characters; slot i is client record i.
// A record never written (beyond the file's end) holds NUL characters, which stand for an
// empty comment.
std::array<QString, 52> g_comments;
const StateReset resetComments([] { g_comments = {}; });

// A comment as its record holds it: at most 500 characters taken, cut or padded to 300, each
// line break stored as blanks.
QString StoredComment(const QString& text) {
    QString comment = Fit(text.left(500), CommentLength);
    comment.replace(QLatin1String("\r\n"), QLatin1String("  "));
    // A lone line end would break the fixed records apart when read as text.
    comment.replace(QLatin1Char('\r'), QLatin1Char(' '));
    comment.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return comment;
}

} // namespace

QString CommentsFilePath() {
    return fileio::FindCaseInsensitive(Globals().DataPath, QString::fromLatin1(CommentsFileName));
}

void LoadComments() {
    const QString blank(CommentLength, QLatin1Char(' '));
    for (QString& slot : g_comments)
        slot = blank;
    const GlobalState& g = Globals();
    const int count = std::min<int>(g.ClientCount, MaxClients);
    if (count < 1)
        return;
    const QString path = CommentsFilePath();
    if (!fileio::Exists(path))
        return;
    const QByteArray all = fileio::ReadAt(path, 0, qint64(count) * CommentLength);
    for (int i = 1; i <= count; ++i) {
        QByteArray record = all.mid((i - 1) * CommentLength, CommentLength);
        // Past the end of the file a record reads as NULs: an empty comment.
        record.append(QByteArray(CommentLength - record.size(), '\0'));
        g_comments[size_t(i)] = cp1252::Decode(record);
    }
}

QString ReadComment(int record) {
    const int count = std::min<int>(Globals().ClientCount, MaxClients);
    if (record < 1 || record > count)
        return QString();
    const qint64 offset = qint64(record - 1) * CommentLength;
    QByteArray bytes;
    try {
        bytes =
            fileio::ReadAt(fileio::Join(Globals().DataPath, QString::fromLatin1(CommentsFileName)),
                           offset, CommentLength);
    } catch (const VError& e) {
        // The exact name is tried first; only another letter case needs the folder searched.
        if (e.number() != err::FileNotFound)
            throw;
        const QString path = CommentsFilePath();
        if (!fileio::Exists(path))
            return QString(); // no comments file: no comment for anyone
        bytes = fileio::ReadAt(path, offset, CommentLength);
    }
    QString text = cp1252::Decode(bytes);
    text.remove(QChar(u'\0'));
    return text.trimmed();
}

QString CommentText(int slot) {
    if (slot < 0 || slot > MaxClients)
        return QString();
    QString text = g_comments[size_t(slot)];
    text.remove(QChar(u'\0'));
    return text.trimmed();
}

void SaveComment(const QString& text) {
    const GlobalState& g = Globals();
    const int slot = g.CurrentClient;
    const int count = std::min<int>(g.ClientCount, MaxClients);
    if (slot < 1 || slot > count)
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("Client %1 is not stored on this data disk, so its comment "
                                    "cannot be saved.")
                         .arg(slot));
    // Nothing is written unless the disk is still the one loaded, and never in place of a
    // link: the comments must stay where the link puts them, and are not written through it.
    CheckDataDisk();
    const QString path = CommentsFilePath();
    if (fileio::Inspect(path).isLink)
        throw VError(err::PathFileAccess,
                     QStringLiteral("The comments file %1 is a symbolic link to another file. "
                                    "Comments are kept only in a plain file on the data disk "
                                    "itself, so nothing was saved. Put the file itself in the "
                                    "link's place.")
                         .arg(QDir::toNativeSeparators(path)));
    LoadComments();
    const QString comment = StoredComment(text);
    const QString before = g_comments[size_t(slot)];
    g_comments[size_t(slot)] = comment;
    QByteArray file;
    file.reserve(count * CommentLength);
    for (int i = 1; i <= count; ++i)
        file += cp1252::Encode(Fit(g_comments[size_t(i)], CommentLength));
    try {
        fileio::ReplaceAtomically(path, file, 0600, g.DataFile.device);
    } catch (...) {
        g_comments[size_t(slot)] = before;
        throw;
    }
}

bool CommentReachedDisk(const QString& text) {
    const GlobalState& g = Globals();
    const int slot = g.CurrentClient;
    if (slot < 1 || slot > std::min<int>(g.ClientCount, MaxClients))
        return false;
    try {
        CheckDataDisk();
        const QByteArray record = fileio::ReadAt(
            CommentsFilePath(), qint64(slot - 1) * CommentLength, CommentLength, true);
        return record == cp1252::Encode(StoredComment(text));
    } catch (const VError&) {
        return false;
    }
}

} // namespace varenta
