#include "app/DataDrive.h"

#include "app/Config.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/Paths.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "store/SaveWithRetry.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace varenta {

namespace {

// The staff comments beside the client records (written by the comments window).
constexpr const char* kCommentsFileName = "Comments.dat";

// Thrown out of a step when the handler abandons it; carries what the loop does next.
struct LeaveStep {
    DriveSelection outcome;
    bool showDialog;
};

void RunStep(const StepHandler& handler, const std::function<void()>& step) {
    if (!handler) {
        step();
        return;
    }
    RetryDataDiskStep(step, [&handler](const VError& e) {
        if (handler(e) == StepAction::Retry)
            return RetryDecision::Retry;
        throw; // abandoned: the error goes on to the caller
    });
}

// The write test: a scratch file made, written and deleted again. It is never left behind,
// whatever fails (a full disk, a failing device).
void WriteTest(const QString& folder) {
    const QString test = fileio::Join(folder, QString::fromLatin1(WriteTestFileName));
    fileio::Remove(test);
    try {
        fileio::CreateNew(test, QByteArrayLiteral("test\r\n"));
        fileio::Remove(test);
    } catch (...) {
        try {
            fileio::Remove(test);
        } catch (const VError&) {
        }
        throw;
    }
}

void CheckDriveExists(const QString& candidate) {
    if (candidate.isEmpty())
        throw VError(err::BadFileName, QStringLiteral("No drive or folder was chosen."));
    if (IsDriveLetter(candidate))
        throw VError(
            err::DiskNotReady,
            QStringLiteral("There is no drive %1 on this computer.").arg(candidate.toUpper()));
}

// The disk is accepted; a settings file that cannot be written only costs remembering it,
// and is no fault of the data disk.
void RememberDataDrive(const QString& candidate) {
    try {
        WriteFilePath(candidate);
    } catch (const VError& e) {
        GlobalState& g = Globals();
        if (g.SettingsProblemShown)
            return;
        g.SettingsProblemShown = true;
        MsgBox(paths::SettingsNotSavedText(e), MsgButtons::Ok, MsgIcon::Exclamation,
               QStringLiteral("Varenta Settings"));
    }
}

} // namespace

bool OpenDataDrive(const QString& candidate, const StepHandler& handler) {
    GlobalState& g = Globals();
    bool result = true;
    g.DataPath = candidate;
    g.DataFilePath = fileio::FindCaseInsensitive(candidate, QString::fromLatin1(DataFileName));
    g.DataFile = DataFileStamp();
    // The client data file is read when it is there; a disk prepared by hand may not have one
    // yet, and it is made only once the marker shows this is a data disk.
    bool dataFileMissing = false;
    auto clear = [&g] {
        for (auto& slot : g.Clients)
            slot = ClientRecord();
        g.ClientCount = 0;
        g.CurrentClient = 0;
    };
    QString linked;
    RunStep(handler, [&] {
        CheckDriveExists(candidate);
        linked = LinkedDataFiles(candidate);
    });
    if (!linked.isEmpty()) {
        clear();
        MsgBox(linked, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Data Disk Error"));
        return false;
    }
    auto load = [&] {
        CheckDriveExists(candidate);
        dataFileMissing = !fileio::Inspect(g.DataFilePath).exists;
        if (dataFileMissing)
            clear();
        else
            LoadClients();
    };
    RunStep(handler, load);
    QString marker;
    RunStep(handler, [&] { marker = ReadMarkerLine(candidate); });
    if (marker.trimmed() != QStringLiteral("QV")) {
        MsgBox(QStringLiteral("This is not a %1 data disk.").arg(QString::fromLatin1(ProductName)),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Data Disk Error"));
        result = false;
    }
    RunStep(handler, load);
    RunStep(handler, [&] { WriteTest(candidate); });
    if (result) {
        // Scratch files of a comment save cut off by a crash hold every comment.
        fileio::RemoveScratchFiles(
            fileio::FindCaseInsensitive(candidate, QString::fromLatin1(kCommentsFileName)));
        if (dataFileMissing)
            RunStep(handler, [&] { CreateClientFile(); });
    }
    return result;
}

DriveSelection SelectDataDrive(bool atStartUp, const DriveSelectionHooks& hooks) {
    GlobalState& g = Globals();
    const QString previous = g.DataPath;
    bool first = true;
    QString candidate;

    // The selection's own handler.
    const StepHandler handler = [&](const VError& e) -> StepAction {
        hooks.normalPointer();
        // A disk that is there but fails is not "no test information": it is said as it is,
        // and answered like a write-protected one.
        if (IsDiskMissingError(e.number()) && !IsDeviceError(e.number())) {
            // A drive letter is named in capitals; a folder keeps its own spelling, since
            // folder names differ by case here.
            const QString shown = IsDriveLetter(candidate) ? candidate.toUpper() : candidate;
            const MsgAnswer a =
                MsgBox(QStringLiteral("No test information found on drive ") + shown +
                           QStringLiteral(", would you like to try another drive?"),
                       MsgButtons::YesNo);
            throw LeaveStep{DriveSelection::EndProgram, a == MsgAnswer::Yes};
        }
        const QString retry = DataDiskRetryText(e);
        if (retry.isEmpty())
            MsgBox(ErrorText(e));
        else if (AskDiskRetry(retry))
            return StepAction::Retry;
        throw LeaveStep{DriveSelection::Left, false};
    };

    for (;;) {
        if (atStartUp && first) {
            candidate = hooks.startUpCandidate.isNull() ? ReadFilePath() : hooks.startUpCandidate;
            first = false;
        } else {
            first = false;
            hooks.normalPointer();
            candidate = hooks.chooseDrive ? hooks.chooseDrive() : QString();
        }
        try {
            // A folder the configuration file could not give back is refused before it is
            // used: the next start would look for another folder.
            const QString unstorable = FilePathProblem(candidate);
            if (!unstorable.isEmpty()) {
                hooks.normalPointer();
                MsgBox(unstorable, MsgButtons::Ok, MsgIcon::Critical,
                       QStringLiteral("Data Disk Error"));
            } else if (OpenDataDrive(candidate, handler)) {
                RememberDataDrive(candidate);
                if (hooks.refreshClientList)
                    hooks.refreshClientList();
                return DriveSelection::Accepted;
            }
            hooks.normalPointer();
            if (MsgBox(QStringLiteral("Drive select unsuccessful, would you like to try again?"),
                       MsgButtons::YesNo) == MsgAnswer::Yes)
                continue;
            if (atStartUp)
                return DriveSelection::EndProgram;
            candidate = previous;
            if (OpenDataDrive(previous, handler)) {
                if (hooks.refreshClientList)
                    hooks.refreshClientList();
                return DriveSelection::KeptPrevious;
            }
            MsgBox(QStringLiteral("Reload of original data disk failed, aborting Program"));
            return DriveSelection::EndProgram;
        } catch (const LeaveStep& leave) {
            if (leave.showDialog)
                continue;
            if (hooks.refreshClientList)
                hooks.refreshClientList();
            return leave.outcome;
        }
    }
}

bool HasMarker(const QString& folder) {
    return fileio::Exists(fileio::FindCaseInsensitive(folder, QString::fromLatin1(MarkerFileName)));
}

void PrepareDataDisk(const QString& folder) {
    if (folder.isEmpty())
        throw VError(err::BadFileName, QStringLiteral("No folder was given for the data disk."));
    if (!QDir().mkpath(folder))
        throw VError(err::PathNotFound,
                     QStringLiteral("The folder %1 cannot be created.").arg(folder));
    if (HasMarker(folder))
        throw VError(err::PathFileAccess,
                     QStringLiteral("%1 is already a data disk; nothing was changed.").arg(folder));
    const QString data = fileio::FindCaseInsensitive(folder, QString::fromLatin1(DataFileName));
    const fileio::PathInfo info = fileio::Inspect(data);
    if (info.exists && (!info.isRegular || info.size > 0))
        throw VError(
            err::PathFileAccess,
            QStringLiteral("%1 already holds client records; nothing was changed.").arg(folder));
    if (!info.exists)
        fileio::CreateNew(data);
    fileio::ReplaceAtomically(fileio::Join(folder, QString::fromLatin1(MarkerFileName)),
                              QByteArrayLiteral("QV\r\n"), 0644);
    audit::RecordDisk(audit::Event::DiskPrepared, -1, folder);
}

QString MarkerFirstLine(const QByteArray& bytes) {
    const QString text = cp1252::Decode(bytes);
    const int end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

QString ReadMarkerLine(const QString& folder) {
    const QString path = fileio::FindCaseInsensitive(folder, QString::fromLatin1(MarkerFileName));
    return MarkerFirstLine(fileio::ReadAt(path, 0, 4096));
}

QString LinkedDataFiles(const QString& folder) {
    QStringList linked;
    for (const char* name : {DataFileName, kCommentsFileName}) {
        const QString path = fileio::FindCaseInsensitive(folder, QString::fromLatin1(name));
        if (fileio::Inspect(path).isLink)
            linked << QFileInfo(path).fileName();
    }
    if (linked.isEmpty())
        return QString();
    return QStringLiteral("The data disk %1 cannot be used: %2 there %3 a symbolic link to another "
                          "file. Client records and comments are kept only in plain files on the "
                          "data disk itself, so that nothing confidential is written elsewhere. "
                          "Put the files themselves in place of the links, or choose another "
                          "data disk.")
        .arg(QDir::toNativeSeparators(folder), linked.join(QStringLiteral(" and ")),
             linked.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"));
}

} // namespace varenta
