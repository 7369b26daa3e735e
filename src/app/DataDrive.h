#pragma once

#include "app/Errors.h"

#include <QString>

#include <functional>

// Choosing and validating the data disk: a folder holding the marker file TID (first line
// "QV") and the client data file DATA401.QV, and which can be written.
namespace varenta {

inline constexpr const char* MarkerFileName = "TID";
inline constexpr const char* WriteTestFileName = "checkWriteTest";

// What the windows supply to the selection loop.
struct DriveSelectionHooks {
    std::function<QString()> chooseDrive;    // shows the drive dialog, returns its result
    std::function<void()> refreshClientList; // clears and rebuilds the main window's list
    std::function<void()> normalPointer = [] {};
    std::function<void()> busyPointer = [] {};
    // At start-up, the drive to try first instead of the stored one (the --data-dir option).
    QString startUpCandidate;
};

enum class DriveSelection {
    Accepted,     // a new disk is in use and stored in the configuration file
    KeptPrevious, // the user gave up; the previous disk was reopened
    Left,         // the handler left the selection at once (Cancel, or an unexpected error)
    EndProgram,   // the program must end
};

// The selection loop. At start-up the stored drive is tried first without the dialog.
DriveSelection SelectDataDrive(bool atStartUp, const DriveSelectionHooks& hooks);

// What a handler decides for a failed step of OpenDataDrive.
enum class StepAction { Retry, Abandon };
using StepHandler = std::function<StepAction(const VError&)>;

// Validates a candidate and loads its clients. False when the marker is wrong or the disk
// cannot be used safely (after telling the user). Errors of a step go to `handler` when given
// (Retry runs the step again), else they are thrown. The client data file is created only on
// a disk whose marker is right; scratch files an interrupted earlier run left there are
// removed.
bool OpenDataDrive(const QString& candidate, const StepHandler& handler = {});

// Prepares a new data disk in `folder` (created when missing): the marker and an empty client
// data file. Refuses a folder that already holds a marker or client records.
void PrepareDataDisk(const QString& folder);

// Whether `folder` holds a marker file (of any content).
bool HasMarker(const QString& folder);

// The first line of a marker file's bytes: the text before the first line end.
QString MarkerFirstLine(const QByteArray& bytes);
// Reads the first line of the marker file of `folder` (its first few kilobytes are all that
// is read). Throws VError (53) when there is none.
QString ReadMarkerLine(const QString& folder);

// The data disk files of `folder` that are symbolic links (client records and comments are
// never written through links), as a message that says what to do; empty when none is.
QString LinkedDataFiles(const QString& folder);

} // namespace varenta
