#include "app/Config.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Paths.h"
#include "app/ProfileFile.h"
#include "store/Cp1252.h"

#include <QRegularExpression>

namespace varenta {

namespace {

constexpr int PathBuffer = 50;
constexpr int BoolBuffer = 10;

QString ReadPath(const QString& section, const QString& key, const QString& def) {
    return profile::GetString(IniFilePath(), section, key, def, PathBuffer).trimmed();
}

// True exactly when the stored text begins with "Tru" (case counts); a missing key is true.
bool ReadBool(const QString& key) {
    const QString v = profile::GetString(IniFilePath(), QStringLiteral("Settings"), key,
                                         QStringLiteral("True"), BoolBuffer);
    return v.startsWith(QStringLiteral("Tru"), Qt::CaseSensitive);
}

} // namespace

QString IniFilePath() {
    return paths::SettingsFile();
}

bool ReadNumLockSetting() {
    return ReadBool(QStringLiteral("NumLock"));
}

void WriteNumLockSetting(bool on) {
    profile::WriteString(IniFilePath(), QStringLiteral("Settings"), QStringLiteral("NumLock"),
                         on ? QStringLiteral("True") : QStringLiteral("False"));
}

bool ReadPrintDosSetting() {
    const bool v = ReadBool(QStringLiteral("PrintDOS"));
    Globals().PrintDOS = v;
    return v;
}

void WritePrintDosSetting(bool on) {
    profile::WriteString(IniFilePath(), QStringLiteral("Settings"), QStringLiteral("PrintDOS"),
                         on ? QStringLiteral("True") : QStringLiteral("False"));
    Globals().PrintDOS = on;
}

QString GetINISndPath() {
    return ReadPath(QStringLiteral("Path"), QStringLiteral("SndPath"), QStringLiteral("c:"));
}

QString ReadFilePath() {
    const std::optional<QString> stored =
        profile::GetStoredText(IniFilePath(), QStringLiteral("Path"), QStringLiteral("FilePath"));
    if (!stored)
        return QStringLiteral("a:");
    if (stored->size() >= 2 && stored->startsWith(QLatin1Char('"')) &&
        stored->endsWith(QLatin1Char('"')))
        return stored->mid(1, stored->size() - 2).trimmed();
    return profile::GetString(IniFilePath(), QStringLiteral("Path"), QStringLiteral("FilePath"),
                              QString(), PathBuffer)
        .trimmed();
}

void WriteFilePath(const QString& path) {
    const QString problem = FilePathProblem(path);
    if (!problem.isEmpty())
        throw VError(err::BadFileName, problem);
    // Quotes keep a longer path whole: files written before read a plain value cut to 49.
    const bool quote = path.size() > PathBuffer - 1 || path.startsWith(QLatin1Char('"')) ||
                       path.startsWith(QLatin1Char('\''));
    profile::WriteString(IniFilePath(), QStringLiteral("Path"), QStringLiteral("FilePath"),
                         quote ? QLatin1Char('"') + path + QLatin1Char('"') : path);
}

QString FilePathProblem(const QString& path) {
    QString why;
    for (const QChar c : path) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            why = QStringLiteral("its name holds a line break");
            break;
        }
        if (c.category() == QChar::Other_Control) {
            why = QStringLiteral("its name holds a control character");
            break;
        }
        if (!cp1252::CanEncode(c)) {
            why = QStringLiteral("its name holds the letter \"%1\", which the configuration file "
                                 "cannot keep (it holds the letters of Western European "
                                 "languages only)")
                      .arg(c);
            break;
        }
    }
    if (why.isEmpty() && path != path.trimmed())
        why = QStringLiteral("its name begins or ends with a blank, which the configuration file "
                             "cannot keep");
    if (why.isEmpty())
        return QString();
    QString shown = path;
    shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    shown.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    if (shown.size() > 80)
        shown = shown.left(77) + QStringLiteral("...");
    return QStringLiteral("The folder %1 cannot be used as the data disk: %2, so the program "
                          "could not find it again at the next start. Rename the folder, or "
                          "choose another one.")
        .arg(shown, why);
}

QString IniFileProblem() {
    return profile::ReadProblem(IniFilePath());
}

void WriteSystemDbSetting() {
    profile::WriteString(IniFilePath(), QStringLiteral("Options"), QStringLiteral("SystemDB"),
                         fileio::Join(paths::ShippedFolder(), QStringLiteral("korvex.mda")));
}

bool IsDriveLetter(const QString& path) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z]:$"));
    return re.match(path).hasMatch();
}

QString ResolveSndPath(const QString& configured) {
    if (configured.isEmpty() || IsDriveLetter(configured))
        return paths::ShippedFolder();
    return configured;
}

} // namespace varenta
