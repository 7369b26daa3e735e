#include "app/FileIO.h"

#include "app/Errors.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varenta::fileio {

namespace {

qint64 g_failAfter = -1;
int g_failErrno = 0;

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

[[noreturn]] void Fail(int e, const QString& path, const QString& action) {
    throw ErrorFromErrno(e, path, action);
}

// Writes everything, honouring the injected failure.
void WriteFully(int fd, const char* data, qint64 size, qint64 offset, const QString& path) {
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
        do {
            fd_ = ::open(Native(path).constData(), flags | O_CLOEXEC, mode);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0)
            Fail(errno, path_, action);
    }
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void Sync() {
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
    int fd = ::open(Native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString Join(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString FindCaseInsensitive(const QString& folder, const QString& name) {
    const QString exact = Join(folder, name);
    if (QFileInfo::exists(exact))
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

QByteArray ReadAll(const QString& path) {
    Fd fd(path, O_RDONLY, 0, QStringLiteral("opening"));
    QByteArray out;
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
    }
    return out;
}

qint64 EnsureFile(const QString& path) {
    Fd fd(path, O_RDONLY | O_CREAT, 0600, QStringLiteral("opening"));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        Fail(errno, path, QStringLiteral("reading"));
    if (S_ISDIR(st.st_mode))
        Fail(EISDIR, path, QStringLiteral("opening"));
    return qint64(st.st_size);
}

QByteArray ReadAt(const QString& path, qint64 offset, qint64 length) {
    Fd fd(path, O_RDONLY, 0, QStringLiteral("opening"));
    QByteArray out(int(length), Qt::Uninitialized);
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
    out.truncate(int(done));
    return out;
}

void WriteAt(const QString& path, qint64 offset, const QByteArray& data) {
    Fd fd(path, O_WRONLY | O_CREAT, 0600, QStringLiteral("opening"));
    WriteFully(fd.get(), data.constData(), data.size(), offset, path);
    fd.Sync();
    fd.Close();
}

void ReplaceAtomically(const QString& path, const QByteArray& data, int mode) {
    QFileInfo info(path);
    struct stat st {};
    if (::stat(Native(path).constData(), &st) == 0)
        mode = int(st.st_mode & 0777); // a replaced file keeps its permissions
    const QString temp =
        Join(info.absolutePath(), QStringLiteral(".") + info.fileName() + QStringLiteral(".new"));
    try {
        Fd fd(temp, O_WRONLY | O_CREAT | O_TRUNC, mode, QStringLiteral("creating"));
        WriteFully(fd.get(), data.constData(), data.size(), -1, temp);
        fd.Sync();
        fd.Close();
    } catch (...) {
        ::unlink(Native(temp).constData());
        throw;
    }
    if (::rename(Native(temp).constData(), Native(path).constData()) != 0) {
        const int e = errno;
        ::unlink(Native(temp).constData());
        Fail(e, path, QStringLiteral("replacing"));
    }
    SyncFolderOf(path);
}

void ReplaceScratch(const QString& path, const QByteArray& data, int mode) {
    const QFileInfo info(path);
    const QString temp =
        Join(info.absolutePath(), QStringLiteral(".") + info.fileName() + QStringLiteral(".part"));
    struct stat st {};
    if (::stat(Native(path).constData(), &st) == 0)
        mode = int(st.st_mode & 0777);
    try {
        // O_TRUNC: a file left over from a run that was cut off is reused.
        Fd fd(temp, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, mode, QStringLiteral("creating"),
              path);
        WriteFully(fd.get(), data.constData(), data.size(), -1, path);
        fd.Close();
    } catch (...) {
        ::unlink(Native(temp).constData());
        throw;
    }
    if ((::unlink(Native(path).constData()) != 0 && errno != ENOENT) ||
        ::rename(Native(temp).constData(), Native(path).constData()) != 0) {
        const int e = errno;
        ::unlink(Native(temp).constData());
        Fail(e, path, QStringLiteral("replacing"));
    }
}

void Append(const QString& path, const QByteArray& data) {
    Fd fd(path, O_WRONLY | O_CREAT | O_APPEND, 0600, QStringLiteral("opening"));
    WriteFully(fd.get(), data.constData(), data.size(), -1, path);
    fd.Sync();
    fd.Close();
}

void Copy(const QString& from, const QString& to) {
    ReplaceAtomically(to, ReadAll(from));
}

bool Truncate(const QString& path, qint64 length) {
    return ::truncate(Native(path).constData(), off_t(length)) == 0;
}

void Remove(const QString& path) {
    if (::unlink(Native(path).constData()) != 0 && errno != ENOENT)
        Fail(errno, path, QStringLiteral("deleting"));
}

void InjectWriteFailure(qint64 bytes, int errnoValue) {
    g_failAfter = bytes;
    g_failErrno = errnoValue;
}

void ClearInjectedFailure() {
    g_failAfter = -1;
    g_failErrno = 0;
}

} // namespace varenta::fileio
