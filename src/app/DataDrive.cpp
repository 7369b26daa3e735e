#include "app/DataDrive.h"

#include "app/Config.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/Paths.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"

#include <QDir>
#include <QRegularExpression>

namespace varenta {

namespace {

// Thrown out of a step when the handler abandons it; carries what the loop does next.
struct LeaveStep {
    DriveSelection outcome;
    bool showDialog;
};

void RunStep(const StepHandler& handler, const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return;
        } catch (const VError& e) {
            if (!handler)
                throw;
            if (handler(e) == StepAction::Retry)
                continue;
            throw;
        }
    }
}

QString FirstLineOfMarker(const QString& folder) {
    const QString path = fileio::FindCaseInsensitive(folder, QString::fromLatin1(MarkerFileName));
    const QString text = cp1252::Decode(fileio::ReadAll(path));
    const int end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
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
    RunStep(handler, [&] {
        CheckDriveExists(candidate);
        LoadClients();
    });
    QString marker;
    RunStep(handler, [&] { marker = FirstLineOfMarker(candidate); });
    if (marker.trimmed() != QStringLiteral("QV")) {
        MsgBox(QStringLiteral("This is not a %1 data disk.").arg(QString::fromLatin1(ProductName)),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Data Disk Error"));
        result = false;
    }
    RunStep(handler, [&] { LoadClients(); });
    RunStep(handler, [&] {
        const QString test = fileio::Join(candidate, QString::fromLatin1(WriteTestFileName));
        fileio::Remove(test);
        fileio::WriteAt(test, 0, QByteArrayLiteral("test\r\n"));
        fileio::Remove(test);
    });
    return result;
}

DriveSelection SelectDataDrive(bool atStartUp, const DriveSelectionHooks& hooks) {
    GlobalState& g = Globals();
    const QString previous = g.DataPath;
    bool first = true;
    QString candidate;

    // The selection's own handler.
    const StepHandler handler = [&](const VError& e) -> StepAction {
        if (IsDiskMissingError(e.number())) {
            hooks.normalPointer();
            // A drive letter is named in capitals; a folder keeps its own spelling, since
            // folder names differ by case here.
            const QString shown = IsDriveLetter(candidate) ? candidate.toUpper() : candidate;
            const MsgAnswer a =
                MsgBox(QStringLiteral("No test information found on drive ") + shown +
                           QStringLiteral(", would you like to try another drive?"),
                       MsgButtons::YesNo);
            throw LeaveStep{DriveSelection::EndProgram, a == MsgAnswer::Yes};
        }
        if (IsWriteProtectedError(e.number())) {
            hooks.normalPointer();
            const MsgAnswer a = MsgBox(
                MsgLines({QStringLiteral("Data disk write protected!"), QString(),
                          QStringLiteral("Set the data disk to writable and replace in drive.")}),
                MsgButtons::OkCancel, MsgIcon::Critical, QStringLiteral("Data Disk Error"));
            if (a == MsgAnswer::Ok)
                return StepAction::Retry;
            throw LeaveStep{DriveSelection::Left, false};
        }
        hooks.normalPointer();
        MsgBox(QStringLiteral("Error %1:%2").arg(e.number()).arg(e.description()));
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
            if (OpenDataDrive(candidate, handler)) {
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
    if (fileio::Exists(data) && fileio::EnsureFile(data) > 0)
        throw VError(
            err::PathFileAccess,
            QStringLiteral("%1 already holds client records; nothing was changed.").arg(folder));
    fileio::EnsureFile(data);
    fileio::ReplaceAtomically(fileio::Join(folder, QString::fromLatin1(MarkerFileName)),
                              QByteArrayLiteral("QV\r\n"), 0644);
    audit::RecordDisk(audit::Event::DiskPrepared, -1, folder);
}

} // namespace varenta
