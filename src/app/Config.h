#pragma once

#include <QString>

// The configuration file qvtest.ini: in the program folder, or the user's own when installed.
namespace varenta {

inline constexpr const char* IniFileName = "qvtest.ini";

QString IniFilePath();

bool ReadNumLockSetting();
void WriteNumLockSetting(bool on);
bool ReadPrintDosSetting();         // also stores the result in Globals().PrintDOS
void WritePrintDosSetting(bool on); // "True" or "False"; also sets Globals().PrintDOS
QString GetINISndPath();
QString ReadFilePath();
void WriteFilePath(const QString& path);
void WriteSystemDbSetting();

// The folder the sound folder lies under: the configured value, or the program folder when the
// value is empty or names a drive letter (which means nothing on this system).
QString ResolveSndPath(const QString& configured);

// "a:", "F:": a drive letter with a colon and nothing else.
bool IsDriveLetter(const QString& path);

} // namespace varenta
