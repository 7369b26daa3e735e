#include "scoring/Comments.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/Cp1252.h"

namespace varenta {

namespace {
std::array<QString, 52> g_comments;
}

QString CommentsFilePath() {
    return fileio::FindCaseInsensitive(Globals().DataPath, QString::fromLatin1(CommentsFileName));
}

std::array<QString, 52>& CommentSlots() {
    return g_comments;
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

QString CommentText(int slot) {
    if (slot < 0 || slot > MaxClients)
        return QString();
    QString text = g_comments[size_t(slot)];
    text.remove(QChar(u'\0'));
    return text.trimmed();
}

} // namespace varenta
