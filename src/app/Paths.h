#pragma once

#include "app/Errors.h"

#include <QString>

// Where the program's files live, decided here and nowhere else.
//
// Portable: a program folder (the build's bin/, or the folder given with --program-dir) holds
// the executables, the files that ship with them, qvtest.ini and report.prn.
//
// Installed: the executables lie in bin/, the files that ship with them read-only in
// share/varenta; each user keeps qvtest.ini in $XDG_CONFIG_HOME/varenta (started from the
// site default $XDG_CONFIG_DIRS/varenta/qvtest.ini) and report.prn with its print copies in a
// private folder of their own. The installation fixes the layout: `cmake --install` puts a
// marker into share/varenta, found relative to the executable, so a package in /usr and a
// trial install under any prefix behave alike. Nothing is guessed from what is writable.
namespace varenta::paths {

// The marker file in the installed shipped folder.
inline constexpr const char* InstalledMarkerName = "installed-layout";

// The installed shipped folder belonging to executables (or helper programs) in `exeDir`;
// empty when they are not installed (a portable program folder).
QString InstalledDataDir(const QString& exeDir);

// Sets the globals for the layout of executables in `exeDir`. A `programDir` (from
// --program-dir) always means a portable program folder.
void UseLayout(const QString& exeDir, const QString& programDir = QString());
void UsePortable(const QString& programDir);
// The per-user folders come from the environment (XDG_CONFIG_HOME, XDG_RUNTIME_DIR, HOME).
void UseInstalled(const QString& dataDir);
bool Installed();

// The files that ship with the program (read only).
QString ShippedFolder();
QString ShippedFile(const QString& name); // the name matched without regard to case

// qvtest.ini.
QString SettingsFile();
// The folder of report.prn and the print copies: the program folder when portable; when
// installed the user's private report folder, made (mode 0700) when missing. Throws VError
// when that folder cannot be made or is not private.
QString ReportFolder();

// The site default settings file an installed program starts a user's settings from: the
// first $XDG_CONFIG_DIRS/varenta/qvtest.ini that exists (/etc/xdg when unset); empty if none.
QString SiteSettingsFile();

// Installed: makes the user's settings folder and, on their first start, their settings file
// from the site default. Returns a message to show when something is wrong (the settings
// folder unusable, the site default damaged); empty when all is well or when portable.
QString PrepareUserSettings();

// What to tell the user when the settings file could not be written (the data disk is fine).
QString SettingsNotSavedText(const VError& e);

// The user's own private folder for run-time files (the running copy's lock and socket; the
// installed program's reports): $XDG_RUNTIME_DIR/varenta when XDG_RUNTIME_DIR is the user's
// own private folder, else $XDG_CACHE_HOME/varenta (~/.cache/varenta). Not made here.
QString PrivateRuntimeFolder();

// Makes a folder only this user may use: created mode 0700 (missing parents too) and
// checked, never through a symlink, to be a folder owned by this user; group and other
// permissions are taken away. Throws VError (not a data-disk error) naming the folder.
void EnsurePrivateFolder(const QString& folder);

// A helper program shipped with the executables in `exeDir`: beside them in a portable
// program folder, in libexec/varenta when installed.
QString HelperProgram(const QString& exeDir, const QString& name);

} // namespace varenta::paths
