#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Small file layer over the operating system's calls, so that every failure carries the
// error numbers the windows classify, and every write reaches the disk before success is
// reported. No write goes through a symbolic link unless the caller asks for it, and every
// scratch file is created afresh under a name no one else can have prepared. All paths
// use "/".
namespace varenta::fileio {

// Joins a folder and a name with "/". An empty folder gives the name alone.
QString Join(const QString& folder, const QString& name);

// A folder path without trailing "/" ("/" itself stays), as the program stores and shows it.
QString WithoutTrailingSlash(QString folder);

// The path of `name` inside `folder`, matching the name without regard to case when a file of
// that exact name does not exist. Returns Join(folder, name) when nothing matches.
QString FindCaseInsensitive(const QString& folder, const QString& name);

bool Exists(const QString& path);
bool IsDirectory(const QString& path);

// Which file a path names: its device and inode. Two paths naming the same file give equal
// ids; a file put in the place of another gives a different one.
struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileId&) const = default;
};

// What a path names, without following a symbolic link at its end.
struct PathInfo {
    bool exists = false;
    bool isLink = false;
    bool isRegular = false;
    bool isDirectory = false;
    qint64 size = 0;
    FileId id;
};
// Throws VError when the path cannot be looked at (a missing file or folder is no error).
PathInfo Inspect(const QString& path);

// The largest file read without a limit of its own: far above anything the program reads,
// far below what would stall it.
inline constexpr qint64 DefaultReadLimit = qint64(16) << 20;

// Reads a whole file. Throws VError (53 when missing). A file larger than `limit` is refused
// before it is read (error 6, naming the file, its size and the limit). `id` receives which
// file was read.
QByteArray ReadAll(const QString& path, qint64 limit = DefaultReadLimit, FileId* id = nullptr);

// Reads `length` bytes at `offset`; fewer when the file ends first. With `fromDisk`, what the
// computer keeps of the file in memory is dropped first where it can be, so that the bytes
// come from the disk itself (used to find out what a failed write left there).
QByteArray ReadAt(const QString& path, qint64 offset, qint64 length, bool fromDisk = false);

// Creates a file that does not exist yet, holding `data`, flushed together with its folder.
// An existing file or a symbolic link of that name is an error: nothing is replaced.
void CreateNew(const QString& path, const QByteArray& data = QByteArray(), int mode = 0600);

// Writes bytes at an offset of an existing file and flushes them to the disk before
// returning. The file is never created and never reached through a symbolic link; when
// `expected` is given, the file opened must be that one, or nothing is written (error 71).
// The file is left readable and writable by its owner only. Throws VError on any failure.
void WriteAt(const QString& path, qint64 offset, const QByteArray& data,
             const FileId* expected = nullptr);

// Replaces a whole file atomically: the new content is written to a new scratch file beside
// it, flushed and moved into place, so a crash leaves either the old file or the new one.
// A `mode` without group or other bits marks a confidential file: it ends with exactly that
// mode whatever the old file had, and a symbolic link in its place is replaced by the file,
// never written through (the file it named keeps what it had). Any other mode (settings,
// files that ship with the program): a replaced file keeps its permissions, a new one gets
// `mode`, and a symbolic link is followed, so the file it names is replaced and the link
// stays. With `device`, the new file must land on that device (the data disk
// that was loaded), or nothing is replaced.
void ReplaceAtomically(const QString& path, const QByteArray& data, int mode = 0600,
                       quint64 device = 0);

// Replaces a scratch file that a later run makes again (a report): written beside and moved
// into place, so it is never seen half-written, but not forced to the disk. The old file (or
// a symbolic link in its place, which is never followed) is removed first, since renaming
// over it would make the file system flush the new one (milliseconds per file); a failure in
// between leaves no file rather than a partial one. The file is left readable by its owner
// only, whatever the old one was.
void ReplaceScratch(const QString& path, const QByteArray& data);

// Appends bytes and flushes them; never through a symbolic link; owner-only afterwards.
void Append(const QString& path, const QByteArray& data);

// Copies a file (replacing the target atomically, owner-only).
void Copy(const QString& from, const QString& to);

// Cuts a file back to `length` bytes and flushes it. Throws VError when the cut fails or the
// file does not have that length afterwards (used to undo a half-written append). With
// `expected`, only that very file is cut (error 71 otherwise).
void Truncate(const QString& path, qint64 length, const FileId* expected = nullptr);

// Deletes a file (a symbolic link itself, never what it names); a missing file is no error.
void Remove(const QString& path);

// Deletes the scratch files that an interrupted replacement of `path` may have left beside
// it (they may hold a whole confidential file). Quiet: what cannot be deleted now is tried
// again the next time.
void RemoveScratchFiles(const QString& path);
// The same for several files of one folder, in one pass over it.
void RemoveScratchFiles(const QString& folder, const QStringList& names);

// Test hooks. Every call of the layer that touches a file is one of these.
enum class Op { Open, Read, Write, Sync, Rename, Truncate, Remove };

// The next writes succeed for `bytes` bytes in all, then fail with `errnoValue` (for example
// ENOSPC for a full disk, EIO for a failing device) on every later call. A negative count
// disarms it.
void InjectWriteFailure(qint64 bytes, int errnoValue);
// Calls of `op` succeed `okCalls` times, then fail with `errnoValue` on every later call.
void InjectFailure(Op op, int errnoValue, int okCalls = 0);
// Runs before every call of the layer, with the operation and the path, so that a test can
// take a disk away or put another file in place between two calls, or fail the call (a
// VError thrown by the hook is the call's error).
void SetCallHook(std::function<void(Op op, const QString& path)> hook);
// Disarms every injected failure and the hook.
void ClearInjectedFailure();

} // namespace varenta::fileio
