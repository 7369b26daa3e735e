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
// The data disk folder. A plain value is read as it always was: its first 49 characters,
// trimmed of blanks. A value in double quotes (how WriteFilePath stores a longer one, or one
// that begins with a quote) is read whole.
QString ReadFilePath();
// Stores the data disk folder so that ReadFilePath gives it back unchanged. Throws VError (52)
// for a path it could not give back (FilePathProblem), storing nothing.
void WriteFilePath(const QString& path);
// Why `path` cannot be stored as the data disk folder so that it reads back unchanged (a line
// break or another control character, a blank at either end, a character the configuration
// file's code page lacks), as a message that says what to do; empty when it can.
QString FilePathProblem(const QString& path);
// Why the configuration file cannot be read (far too large to be one); empty when it can.
QString IniFileProblem();
void WriteSystemDbSetting();

// The folder the sound folder lies under: the configured value, or the program folder when the
// value is empty or names a drive letter (which means nothing on this system).
QString ResolveSndPath(const QString& configured);

// "a:", "F:": a drive letter with a colon and nothing else.
bool IsDriveLetter(const QString& path);

} // namespace varenta
