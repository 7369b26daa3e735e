#include "app/ProfileFile.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "store/Cp1252.h"

#include <QStringList>

namespace varenta::profile {

namespace {

struct Lines {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
    bool endsWithEol = true;
};

Lines Read(const QString& file) {
    Lines out;
    if (!fileio::Exists(file))
        return out;
    const QString text = cp1252::Decode(fileio::ReadAll(file, MaxFileSize));
    if (!text.contains(QLatin1Char('\r')) && text.contains(QLatin1Char('\n')))
        out.eol = QStringLiteral("\n");
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.endsWithEol = normal.isEmpty() || normal.endsWith(QLatin1Char('\n'));
    out.lines = normal.split(QLatin1Char('\n'));
    if (out.endsWithEol)
        out.lines.removeLast();
    return out;
}

// The section name of a header line, or a null string when the line is not a header.
QString SectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return QString();
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return QString();
    return t.mid(1, close - 1).trimmed();
}

bool KeyOf(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = t.left(eq).trimmed();
    *value = t.mid(eq + 1).trimmed();
    return true;
}

QString Unquote(const QString& v) {
    if (v.size() >= 2 && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) ||
                          (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        return v.mid(1, v.size() - 2);
    return v;
}

} // namespace

QString GetString(const QString& file, const QString& section, const QString& key,
                  const QString& defaultValue, int bufferSize) {
    const std::optional<QString> stored = GetStoredText(file, section, key);
    QString result = stored ? Unquote(*stored) : defaultValue;
    if (bufferSize > 0 && result.size() > bufferSize - 1)
        result.truncate(bufferSize - 1);
    return result;
}

QString ReadProblem(const QString& file) {
    try {
        Read(file);
    } catch (const VError& e) {
        if (e.number() == err::Overflow)
            return e.description();
    }
    return QString();
}

std::optional<QString> GetStoredText(const QString& file, const QString& section,
                                     const QString& key) {
    std::optional<QString> result;
    try {
        const Lines l = Read(file);
        bool inSection = false;
        for (const QString& line : l.lines) {
            const QString s = SectionOf(line);
            if (!s.isNull()) {
                inSection = s.compare(section, Qt::CaseInsensitive) == 0;
                continue;
            }
            QString k, v;
            if (inSection && KeyOf(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
                result = v;
                break;
            }
        }
    } catch (...) {
        // An unreadable profile reads like a missing one: every key takes its default.
    }
    return result;
}

void WriteString(const QString& file, const QString& section, const QString& key,
                 const QString& value) {
    for (const QString* part : {&section, &key, &value}) {
        if (part->contains(QLatin1Char('\n')) || part->contains(QLatin1Char('\r')) ||
            part->contains(QChar(u'\0')))
            throw VError(err::BadFileName,
                         QStringLiteral("The setting %1 of section %2 cannot be stored in %3: "
                                        "it holds a line break, which would write lines of its "
                                        "own into the file. Nothing was changed.")
                             .arg(QString(key).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                  QString(section).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                  file));
    }
    Lines l = Read(file);
    const QString entry = key + QLatin1Char('=') + value;
    int sectionStart = -1;
    int lastInSection = -1;
    int keyLine = -1;
    for (int i = 0; i < l.lines.size(); ++i) {
        const QString s = SectionOf(l.lines[i]);
        if (!s.isNull()) {
            if (sectionStart >= 0)
                break;
            if (s.compare(section, Qt::CaseInsensitive) == 0)
                sectionStart = lastInSection = i;
            continue;
        }
        if (sectionStart < 0)
            continue;
        QString k, v;
        if (KeyOf(l.lines[i], &k, &v)) {
            lastInSection = i;
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                keyLine = i;
                break;
            }
        }
    }
    if (keyLine >= 0) {
        l.lines[keyLine] = entry;
    } else if (sectionStart >= 0) {
        l.lines.insert(lastInSection + 1, entry);
    } else {
        l.lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    }
    QString text = l.lines.join(l.eol);
    if (!l.lines.isEmpty())
        text += l.eol;
    fileio::ReplaceAtomically(file, cp1252::Encode(text), 0644);
}

} // namespace varenta::profile
