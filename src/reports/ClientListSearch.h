#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace varenta::reports {

// Typing in a list of client lines ("12-Name"): digits typed in quick succession read as one
// client number, other characters as the start of a name. Finding a line only moves to it;
// choosing it stays with the user.
class ClientListSearch {
public:
    // Keys further apart than this start a new search.
    static constexpr qint64 PauseMs = 1000;

    // The line (from 0) the typed character leads to, from line `current`; -1 when no line
    // matches. `msSinceLastKey` is the time since the previous typed character.
    int Find(QChar c, qint64 msSinceLastKey, const QStringList& lines, int current);

private:
    static int LineOfClient(const QStringList& lines, const QString& number);
    static int LineOfName(const QStringList& lines, const QString& start, int from);

    QString typed_;
};

} // namespace varenta::reports
