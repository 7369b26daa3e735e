#include "reports/ClientListSearch.h"

#include <algorithm>

namespace varenta::reports {

namespace {

bool AllDigits(const QString& s) {
    for (QChar c : s)
        if (!c.isDigit())
            return false;
    return !s.isEmpty();
}

} // namespace

int ClientListSearch::LineOfClient(const QStringList& lines, const QString& number) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].section(QLatin1Char('-'), 0, 0) == number)
            return i;
    return -1;
}

int ClientListSearch::LineOfName(const QStringList& lines, const QString& start, int from) {
    const int n = int(lines.size());
    for (int k = 0; k < n; ++k) {
        const int i = (from + k) % n;
        const QString name = lines[i].section(QLatin1Char('-'), 1);
        if (name.startsWith(start, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

int ClientListSearch::Find(QChar c, qint64 msSinceLastKey, const QStringList& lines, int current) {
    if (lines.isEmpty())
        return -1;
    const bool goOn = msSinceLastKey >= 0 && msSinceLastKey <= PauseMs && !typed_.isEmpty() &&
                      AllDigits(typed_) == c.isDigit();
    if (c.isDigit()) {
        // "1" then "2" is client 12 when there is one; otherwise the new digit starts over.
        if (goOn) {
            const int line = LineOfClient(lines, typed_ + c);
            if (line >= 0) {
                typed_ += c;
                return line;
            }
        }
        typed_ = QString(c);
        return LineOfClient(lines, typed_);
    }
    // A name: the same letter again moves on to the next name with it, as list boxes do.
    if (goOn && !(typed_.size() == 1 && typed_[0].toLower() == c.toLower())) {
        typed_ += c;
        return LineOfName(lines, typed_, std::max(current, 0));
    }
    typed_ = QString(c);
    return LineOfName(lines, typed_, current + 1);
}

} // namespace varenta::reports
