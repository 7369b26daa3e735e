#pragma once

#include <QByteArray>
#include <QString>

// Small file layer over the operating system's calls, so that every failure carries the
// error numbers the windows classify, and every write reaches the disk before success is
// reported. All paths use "/".
namespace varenta::fileio {

// Joins a folder and a name with "/". An empty folder gives the name alone.
QString Join(const QString& folder, const QString& name);

// The path of `name` inside `folder`, matching the name without regard to case when a file of
// that exact name does not exist. Returns Join(folder, name) when nothing matches.
QString FindCaseInsensitive(const QString& folder, const QString& name);

bool Exists(const QString& path);
bool IsDirectory(const QString& path);

// Reads a whole file. Throws VError (53 when missing).
QByteArray ReadAll(const QString& path);

// Length of a file in bytes; creates it empty (owner read/write only) when it is missing.
qint64 EnsureFile(const QString& path);

// Reads `length` bytes at `offset`; fewer when the file ends first.
QByteArray ReadAt(const QString& path, qint64 offset, qint64 length);

// Writes bytes at an offset without truncating, creating the file (mode 0600) when missing,
// and flushes them to the disk before returning. Throws VError on any failure.
void WriteAt(const QString& path, qint64 offset, const QByteArray& data);

// Replaces a whole file atomically: the new content is written beside it, flushed and moved
// into place, so a crash leaves either the old file or the new one. New files get `mode`.
void ReplaceAtomically(const QString& path, const QByteArray& data, int mode = 0600);

// Replaces a scratch file that a later run makes again (a report): written beside and moved
// into place, so it is never seen half-written, but not forced to the disk. The old file is
// removed first, since renaming over it would make the file system flush the new one
// (milliseconds per file); a failure in between leaves no file rather than a partial one.
// A replaced file keeps its permissions; new files get `mode`.
void ReplaceScratch(const QString& path, const QByteArray& data, int mode = 0600);

// Appends bytes and flushes them.
void Append(const QString& path, const QByteArray& data);

// Copies a file (replacing the target atomically).
void Copy(const QString& from, const QString& to);

// Cuts a file back to `length` bytes. Best effort: used to undo a half-written append.
bool Truncate(const QString& path, qint64 length);

// Deletes a file; a missing file is not an error.
void Remove(const QString& path);

// Test hook: the next writes succeed for `bytes` bytes in all, then fail with `errnoValue`
// (for example ENOSPC for a full disk, EIO for a pulled drive). A negative count disarms it.
void InjectWriteFailure(qint64 bytes, int errnoValue);
void ClearInjectedFailure();

} // namespace varenta::fileio
