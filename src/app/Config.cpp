#include "app/Config.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Paths.h"
#include "app/ProfileFile.h"

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
    return ReadPath(QStringLiteral("Path"), QStringLiteral("FilePath"), QStringLiteral("a:"));
}

void WriteFilePath(const QString& path) {
    profile::WriteString(IniFilePath(), QStringLiteral("Path"), QStringLiteral("FilePath"), path);
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
