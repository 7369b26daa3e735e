#include "reports/PrintSelected.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/Paths.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace varenta::reports {

namespace {

// Every writer of a report replaces the whole file by renaming a new one over it and none
// changes a report in place, so a second name for the same file is as good as a copy and
// costs the file system no new file. Only an owner-only report is shared this way, so the
// copies stay readable by their owner alone. False: the file system has no such names.
bool LinkReport(const QString& from, const QString& to) {
    const QByteArray nativeFrom = QFile::encodeName(from);
    const QByteArray nativeTo = QFile::encodeName(to);
    struct stat st {};
    if (::lstat(nativeFrom.constData(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 077))
        return false;
    if (::unlink(nativeTo.constData()) != 0 && errno != ENOENT)
        throw ErrorFromErrno(errno, to, QStringLiteral("replacing"));
    if (::link(nativeFrom.constData(), nativeTo.constData()) == 0)
        return true;
    if (errno == ENOENT || errno == ENOSPC || errno == EROFS || errno == EIO || errno == EACCES)
        throw ErrorFromErrno(errno, to, QStringLiteral("creating"));
    return false; // EPERM, EXDEV, EMLINK, ENOTSUP: copy the bytes instead
}

// Copies a report for the run's own use. The copies are scratch files, made again by any later
// run, so they are not forced to the disk. New copies are readable by their owner only.
void CopyReport(const QString& from, const QString& to) {
    if (!LinkReport(from, to))
        fileio::ReplaceScratch(to, fileio::ReadAll(from));
}

// Deletes the numbered copies when the run ends, however it ends.
class TempCopies {
public:
    ~TempCopies() {
        for (int k = 1; k <= made_; ++k)
            RemoveQuietly(k);
    }
    void Made(int k) { made_ = std::max(made_, k); }
    static void RemoveQuietly(int k) {
        try {
            fileio::Remove(TempReportPath(k));
        } catch (const VError&) {
            // A copy that cannot be deleted now is deleted by the next run.
        }
    }

private:
    int made_ = 0;
};

// Runs one step, asking whether to try it again while it fails. False: the run stops.
bool RunStep(int client, const BatchPrintHooks& hooks, const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const VError& e) {
            if (!hooks.askRetry || !hooks.askRetry(client, e))
                return false;
        }
    }
}

QString Progress(const char* what, int k, int count) {
    return QStringLiteral("%1 report %2 of %3").arg(QLatin1String(what)).arg(k).arg(count);
}

} // namespace

QString TempReportPath(int k) {
    return fileio::Join(paths::ReportFolder(), QStringLiteral("temp") + QString::number(k));
}

void RemoveLeftoverReports() {
    QString folder;
    try {
        folder = paths::ReportFolder();
    } catch (const VError&) {
        return; // a report folder that cannot be used is named when a report is next written
    }
    QStringList names{QString::fromLatin1(scoring::ReportFileName)};
    for (int k = 1; k <= MaxClients; ++k) {
        names << QStringLiteral("temp") + QString::number(k);
        TempCopies::RemoveQuietly(k);
    }
    fileio::RemoveScratchFiles(folder, names);
}

BatchPrintResult PrintClientReports(const QList<int>& clients,
                                    const scoring::ReportRequest& request,
                                    const BatchPrintHooks& hooks) {
    BatchPrintResult result;
    result.notPrinted = clients;
    const int count = int(clients.size());
    auto progress = [&](const QString& line) {
        if (hooks.progress)
            hooks.progress(line);
    };
    auto score = [&] {
        if (hooks.score)
            hooks.score(request);
        else
            scoring::ScoreClient(request);
    };
    GlobalState& g = Globals();
    TempCopies copies;
    // Copies left by a run that was cut off (a power failure) go now; the copies of this run
    // are created afresh, readable by their owner only.
    RemoveLeftoverReports();

    for (int k = 1; k <= count; ++k) {
        const int client = clients[k - 1];
        progress(Progress("Preparing", k, count));
        g.CurrentClient = qint16(client);
        copies.Made(k);
        if (!RunStep(client, hooks, [&] {
                score();
                CopyReport(scoring::ReportFilePath(), TempReportPath(k));
            })) {
            result.failed = true;
            progress(QString());
            return result;
        }
    }

    for (int k = 1; k <= count; ++k) {
        const int client = clients[k - 1];
        progress(Progress("Printing", k, count));
        g.CurrentClient = qint16(client);
        bool printed = true;
        if (!RunStep(client, hooks, [&] {
                CopyReport(TempReportPath(k), scoring::ReportFilePath());
                printed = hooks.print(client);
            })) {
            result.failed = true;
            break;
        }
        if (!printed) {
            result.declined = true;
            break;
        }
        TempCopies::RemoveQuietly(k);
        result.printed.append(client);
        result.notPrinted.removeFirst();
    }
    progress(QString());
    return result;
}

QString ClientNumbers(const QList<int>& clients) {
    bool consecutive = clients.size() > 2;
    for (int i = 1; consecutive && i < clients.size(); ++i)
        consecutive = clients[i] == clients[i - 1] + 1;
    if (consecutive)
        return QStringLiteral("%1 to %2").arg(clients.first()).arg(clients.last());
    QStringList parts;
    for (int c : clients)
        parts << QString::number(c);
    if (parts.size() <= 1)
        return parts.join(QString());
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString BatchSummary(const BatchPrintResult& result) {
    auto clients = [](const QList<int>& list) {
        return (list.size() == 1 ? QStringLiteral("client ") : QStringLiteral("clients ")) +
               ClientNumbers(list);
    };
    QStringList lines;
    if (result.printed.isEmpty())
        lines << QStringLiteral("No report was printed.");
    else
        lines << QStringLiteral("Printed: the reports of %1.").arg(clients(result.printed));
    if (!result.notPrinted.isEmpty())
        lines << QStringLiteral("Not printed: the reports of %1.").arg(clients(result.notPrinted));
    return MsgLines(lines);
}

} // namespace varenta::reports
