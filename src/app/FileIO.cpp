#include "app/FileIO.h"

#include "app/Errors.h"
#include "app/Globals.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <array>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varenta::fileio {

namespace {

qint64 g_failAfter = -1;
int g_failErrno = 0;

struct InjectedFailure {
    bool armed = false;
    int errnoValue = 0;
    int okCalls = 0;
};
std::array<InjectedFailure, 7> g_failures;
std::function<void(Op, const QString&)> g_hook;
bool g_inHook = false;
const StateReset resetFaults([] {
    ClearInjectedFailure();
    g_inHook = false;
});

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

[[noreturn]] void Fail(int e, const QString& path, const QString& action) {
    throw ErrorFromErrno(e, path, action);
}

// Every call that touches a file passes here first: the test hook runs, then an injected
// failure of this kind of call fires.
void Touch(Op op, const QString& path, const QString& action) {
    if (g_hook && !g_inHook) {
        g_inHook = true;
        try {
            g_hook(op, path);
        } catch (...) {
            g_inHook = false;
            throw;
        }
        g_inHook = false;
    }
    InjectedFailure& f = g_failures[size_t(op)];
    if (!f.armed)
        return;
    if (f.okCalls > 0) {
        --f.okCalls;
        return;
    }
    Fail(f.errnoValue, path, action);
}

// A size as people read it; `up` rounds up, so that a file just over a limit never reads as
// the limit itself.
QString SizeText(qint64 bytes, bool up) {
    const auto in = [&](qint64 unit) { return (bytes + (up ? unit - 1 : 0)) / unit; };
    constexpr qint64 kMB = 1024 * 1024;
    if (bytes < 10 * 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < kMB)
        return QStringLiteral("%1 KB").arg(in(1024));
    if (bytes % kMB == 0 || bytes >= 100 * kMB)
        return QStringLiteral("%1 MB").arg(in(kMB));
    const qint64 tenths = in(kMB / 10);
    return QStringLiteral("%1.%2 MB").arg(tenths / 10).arg(tenths % 10);
}

[[noreturn]] void FailTooLarge(const QString& path, qint64 size, qint64 limit, bool atLeast) {
    throw VError(err::Overflow,
                 QStringLiteral("%1 is %2%3, more than the %4 such a file can hold, so it was "
                                "not read. Replace it with a file of the right kind.")
                     .arg(QDir::toNativeSeparators(path),
                          atLeast ? QStringLiteral("at least ") : QString(), SizeText(size, true),
                          SizeText(limit, false)));
}

[[noreturn]] void FailLink(const QString& path) {
    throw VError(err::PathFileAccess,
                 QStringLiteral("%1 is a symbolic link to another file. Confidential files are "
                                "never written through links, so nothing was written. Put the "
                                "file itself in the link's place.")
                     .arg(QDir::toNativeSeparators(path)));
}

// Writes everything, honouring the injected failure.
void WriteFully(int fd, const char* data, qint64 size, qint64 offset, const QString& path) {
    Touch(Op::Write, path, QStringLiteral("writing"));
    qint64 done = 0;
    while (done < size) {
        qint64 chunk = size - done;
        if (g_failAfter >= 0) {
            if (g_failAfter == 0) {
                errno = g_failErrno;
                Fail(g_failErrno, path, QStringLiteral("writing"));
            }
            chunk = std::min(chunk, g_failAfter);
        }
        ssize_t n = offset >= 0 ? ::pwrite(fd, data + done, size_t(chunk), off_t(offset + done))
                                : ::write(fd, data + done, size_t(chunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, path, QStringLiteral("writing"));
        }
        if (n == 0)
            Fail(ENOSPC, path, QStringLiteral("writing"));
        if (g_failAfter >= 0)
            g_failAfter -= n;
        done += n;
    }
}

class Fd {
public:
    // `shown`: the name errors give, when the file opened is a stand-in for it.
    Fd(const QString& path, int flags, int mode, const QString& action,
       const QString& shown = QString())
        : path_(shown.isEmpty() ? path : shown) {
        Touch(Op::Open, path_, action);
        do {
            fd_ = ::open(Native(path).constData(), flags | O_CLOEXEC, mode);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) {
            if (errno == ELOOP && (flags & O_NOFOLLOW) && !(flags & O_EXCL))
                FailLink(path_);
            Fail(errno, path_, action);
        }
    }
    // Takes over a descriptor opened elsewhere.
    Fd(int fd, const QString& shown) : path_(shown), fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    struct stat Stat() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            Fail(errno, path_, QStringLiteral("reading"));
        return st;
    }
    // Owner-only, whatever the file had: confidential files must not stay readable by others.
    // A file system without permissions (a FAT stick) or a file of another owner cannot be
    // changed; that is no reason to lose the write.
    void MakeMode(int mode) {
        const struct stat st = Stat();
        if (int(st.st_mode & 07777) != mode)
            (void)::fchmod(fd_, mode_t(mode));
    }
    void Sync() {
        Touch(Op::Sync, path_, QStringLiteral("flushing"));
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
            Fail(errno, path_, QStringLiteral("flushing"));
    }
    void Close() {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR)
            Fail(errno, path_, QStringLiteral("closing"));
    }

private:
    QString path_;
    int fd_ = -1;
};

void SyncFolderOf(const QString& path) {
    const QString dir = QFileInfo(path).absolutePath();
    Touch(Op::Sync, dir, QStringLiteral("flushing the folder of"));
    int fd = ::open(Native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // a folder we may not open still holds the file; its entry is flushed with it
    const int rc = ::fsync(fd);
    const int e = errno;
    ::close(fd);
    if (rc != 0 && e != EINVAL && e != EROFS && e != ENOTSUP && e != EBADF)
        Fail(e, path, QStringLiteral("flushing the folder of"));
}

// A new scratch file beside `target`, created under a fresh name: never an existing file,
// never through a symbolic link someone put there.
QString CreateScratch(const QString& target, int mode, std::unique_ptr<Fd>* fd) {
    const QFileInfo info(target);
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0;; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix += QLatin1Char(kChars[QRandomGenerator::system()->bounded(36)]);
        const QString temp =
            Join(info.absolutePath(), QStringLiteral(".") + info.fileName() + QLatin1Char('.') +
                                          suffix + QStringLiteral(".tmp"));
        Touch(Op::Open, target, QStringLiteral("creating"));
        const int raw = ::open(Native(temp).constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode_t(mode));
        if (raw >= 0) {
            *fd = std::make_unique<Fd>(raw, target);
            (*fd)->MakeMode(mode);
            return temp;
        }
        if ((errno == EEXIST || errno == EINTR) && attempt < 20)
            continue;
        Fail(errno, target, QStringLiteral("creating"));
    }
}

void Rename(const QString& from, const QString& to) {
    Touch(Op::Rename, to, QStringLiteral("replacing"));
    if (::rename(Native(from).constData(), Native(to).constData()) != 0)
        Fail(errno, to, QStringLiteral("replacing"));
}

} // namespace

QString Join(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString WithoutTrailingSlash(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString FindCaseInsensitive(const QString& folder, const QString& name) {
    const QString exact = Join(folder, name);
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return Join(folder, entry);
    }
    return exact;
}

bool Exists(const QString& path) {
    return QFileInfo::exists(path);
}

bool IsDirectory(const QString& path) {
    return QFileInfo(path).isDir();
}

PathInfo Inspect(const QString& path) {
    PathInfo info;
    struct stat st {};
    if (::lstat(Native(path).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return info;
        Fail(errno, path, QStringLiteral("looking at"));
    }
    info.exists = true;
    info.isLink = S_ISLNK(st.st_mode);
    info.isRegular = S_ISREG(st.st_mode);
    info.isDirectory = S_ISDIR(st.st_mode);
    info.size = qint64(st.st_size);
    info.id = {quint64(st.st_dev), quint64(st.st_ino)};
    return info;
}

QByteArray ReadAll(const QString& path, qint64 limit, FileId* id) {
    Fd fd(path, O_RDONLY, 0, QStringLiteral("opening"));
    const struct stat st = fd.Stat();
    if (S_ISDIR(st.st_mode))
        Fail(EISDIR, path, QStringLiteral("reading"));
    if (S_ISREG(st.st_mode) && qint64(st.st_size) > limit)
        FailTooLarge(path, qint64(st.st_size), limit, false);
    if (id)
        *id = {quint64(st.st_dev), quint64(st.st_ino)};
    Touch(Op::Read, path, QStringLiteral("reading"));
    QByteArray out;
    out.reserve(qsizetype(std::min<qint64>(qint64(st.st_size), limit) + 1));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, path, QStringLiteral("reading"));
        }
        if (n == 0)
            break;
        out.append(buf, n);
        // A file that grows while it is read, or a device that never ends.
        if (out.size() > limit)
            FailTooLarge(path, out.size(), limit, true);
    }
    return out;
}

QByteArray ReadAt(const QString& path, qint64 offset, qint64 length, bool fromDisk) {
    Fd fd(path, O_RDONLY, 0, QStringLiteral("opening"));
    if (fromDisk)
        (void)::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
    Touch(Op::Read, path, QStringLiteral("reading"));
    QByteArray out(qsizetype(length), Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        ssize_t n =
            ::pread(fd.get(), out.data() + done, size_t(length - done), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno, path, QStringLiteral("reading"));
        }
        if (n == 0)
            break;
        done += n;
    }
    out.truncate(qsizetype(done));
    return out;
}

void CreateNew(const QString& path, const QByteArray& data, int mode) {
    Fd fd(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode, QStringLiteral("creating"));
    try {
        fd.MakeMode(mode);
        WriteFully(fd.get(), data.constData(), data.size(), -1, path);
        fd.Sync();
        fd.Close();
        SyncFolderOf(path);
    } catch (...) {
        ::unlink(Native(path).constData());
        throw;
    }
}

void WriteAt(const QString& path, qint64 offset, const QByteArray& data, const FileId* expected) {
    Fd fd(path, O_WRONLY | O_NOFOLLOW, 0, QStringLiteral("opening"));
    const struct stat st = fd.Stat();
    if (!S_ISREG(st.st_mode))
        Fail(EISDIR, path, QStringLiteral("opening"));
    if (expected && !(FileId{quint64(st.st_dev), quint64(st.st_ino)} == *expected))
        throw VError(err::DiskNotReady,
                     QStringLiteral("%1 is no longer the file that was loaded; nothing was "
                                    "written to it.")
                         .arg(QDir::toNativeSeparators(path)));
    fd.MakeMode(0600);
    WriteFully(fd.get(), data.constData(), data.size(), offset, path);
    fd.Sync();
    fd.Close();
}

void ReplaceAtomically(const QString& path, const QByteArray& data, int mode, quint64 device) {
    const bool confidential = (mode & 077) == 0;
    QString target = path;
    const PathInfo info = Inspect(path);
    if (info.isLink && !confidential) {
        // A settings file kept elsewhere and linked here: the file itself is replaced.
        const QFileInfo link(path);
        const QString canonical = link.canonicalFilePath();
        target = canonical.isEmpty() ? link.symLinkTarget() : canonical;
    }
    if (!confidential) {
        struct stat st {};
        if (::stat(Native(target).constData(), &st) == 0)
            mode = int(st.st_mode & 07777); // a replaced file keeps its permissions
    }
    RemoveScratchFiles(target);
    std::unique_ptr<Fd> fd;
    const QString temp = CreateScratch(target, mode, &fd);
    try {
        if (device != 0 && quint64(fd->Stat().st_dev) != device)
            throw VError(err::DiskNotReady,
                         QStringLiteral("The folder of %1 is no longer on the data disk that "
                                        "was loaded; nothing was written.")
                             .arg(QDir::toNativeSeparators(path)));
        WriteFully(fd->get(), data.constData(), data.size(), -1, target);
        fd->Sync();
        fd->Close();
        Rename(temp, target);
    } catch (...) {
        ::unlink(Native(temp).constData());
        throw;
    }
    SyncFolderOf(target);
}

void ReplaceScratch(const QString& path, const QByteArray& data) {
    RemoveScratchFiles(path);
    std::unique_ptr<Fd> fd;
    const QString temp = CreateScratch(path, 0600, &fd);
    try {
        WriteFully(fd->get(), data.constData(), data.size(), -1, path);
        fd->Close();
        Touch(Op::Remove, path, QStringLiteral("replacing"));
        if (::unlink(Native(path).constData()) != 0 && errno != ENOENT)
            Fail(errno, path, QStringLiteral("replacing"));
        Rename(temp, path);
    } catch (...) {
        ::unlink(Native(temp).constData());
        throw;
    }
}

void Append(const QString& path, const QByteArray& data) {
    Fd fd(path, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW, 0600, QStringLiteral("opening"));
    fd.MakeMode(0600);
    WriteFully(fd.get(), data.constData(), data.size(), -1, path);
    fd.Sync();
    fd.Close();
}

void Copy(const QString& from, const QString& to) {
    ReplaceAtomically(to, ReadAll(from));
}

void Truncate(const QString& path, qint64 length, const FileId* expected) {
    Fd fd(path, O_WRONLY | O_NOFOLLOW, 0, QStringLiteral("opening"));
    const struct stat st = fd.Stat();
    if (expected && !(FileId{quint64(st.st_dev), quint64(st.st_ino)} == *expected))
        throw VError(err::DiskNotReady,
                     QStringLiteral("%1 is no longer the file that was loaded; it was not cut "
                                    "back.")
                         .arg(QDir::toNativeSeparators(path)));
    Touch(Op::Truncate, path, QStringLiteral("cutting back"));
    if (::ftruncate(fd.get(), off_t(length)) != 0)
        Fail(errno, path, QStringLiteral("cutting back"));
    fd.Sync();
    if (qint64(fd.Stat().st_size) != length)
        Fail(EIO, path, QStringLiteral("cutting back"));
    fd.Close();
}

void Remove(const QString& path) {
    Touch(Op::Remove, path, QStringLiteral("deleting"));
    if (::unlink(Native(path).constData()) != 0 && errno != ENOENT)
        Fail(errno, path, QStringLiteral("deleting"));
}

void RemoveScratchFiles(const QString& path) {
    const QFileInfo info(path);
    RemoveScratchFiles(info.absolutePath(), {info.fileName()});
}

void RemoveScratchFiles(const QString& folder, const QStringList& names) {
    std::vector<QByteArray> prefixes;
    for (const QString& name : names)
        prefixes.push_back(Native(QStringLiteral(".") + name + QLatin1Char('.')));
    const QByteArray dirName = Native(folder);
    DIR* dir = ::opendir(dirName.constData());
    if (!dir)
        return;
    std::vector<QByteArray> found;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        for (const QByteArray& prefix : prefixes) {
            if (!name.startsWith(prefix))
                continue;
            const QByteArray rest = name.mid(prefix.size());
            // The names this layer uses now (".NAME.xxxxxx.tmp") and used before (".NAME.new",
            // ".NAME.part").
            if (rest == "new" || rest == "part" || (rest.size() == 10 && rest.endsWith(".tmp")))
                found.push_back(name);
        }
    }
    ::closedir(dir);
    for (const QByteArray& name : found)
        ::unlink((dirName + '/' + name).constData());
}

void InjectWriteFailure(qint64 bytes, int errnoValue) {
    g_failAfter = bytes;
    g_failErrno = errnoValue;
}

void InjectFailure(Op op, int errnoValue, int okCalls) {
    g_failures[size_t(op)] = {true, errnoValue, okCalls};
}

void SetCallHook(std::function<void(Op, const QString&)> hook) {
    g_hook = std::move(hook);
}

void ClearInjectedFailure() {
    g_failAfter = -1;
    g_failErrno = 0;
    g_failures = {};
    g_hook = nullptr;
}

} // namespace varenta::fileio
