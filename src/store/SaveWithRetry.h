#pragma once

#include "app/Errors.h"

#include <QString>

#include <functional>

namespace varenta {

// The message a failed read or write of the data disk shows: a missing disk ("Data disk not
// found!"), a write-protected one, or one that reports a device error asks OK (try again) or
// Cancel; any other failure (a full disk, for example) shows "Error n:description" with OK
// alone.
struct SaveFailureMessage {
    QString title;
    QString text;
    bool retryable = false;
};
SaveFailureMessage DescribeSaveFailure(const VError& e);

// The text of a device error (a disk that is there but fails): which file, and what to do.
QString DeviceErrorText(const VError& e);

// Shows that message; true when the user asks to try again.
bool AskDataDiskRetry(const VError& e);

// Runs a step against the data disk, asking to try again while it fails. True once the step
// succeeded; false when the user gave up.
bool RunWithRetry(const std::function<void()>& step);

// Writes slot `slot` of Clients with SaveClient under RunWithRetry. Returns true only when the
// record reached the disk. When the user gives up after a write had begun, the disk is read
// back and the user told what it holds when that is not simply the old record: the record
// stored after all (true), part of a new one left, or nothing known. On false the caller
// keeps its window and data so the user can try again later.
bool SaveClientWithRetry(int slot);

// The refusal shown when a data disk already holds as many clients as it can.
void ShowDiskFull();

} // namespace varenta
