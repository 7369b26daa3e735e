#pragma once

#include "app/Errors.h"

#include <QString>

#include <functional>

namespace varenta {

// What a caller decides when a step against the data disk failed.
enum class RetryDecision { Retry, GiveUp };

// The one retry loop over the data disk: runs `step` and, while it throws VError, asks `decide`
// and runs it again on Retry. True once the step succeeded, false when `decide` gave up.
// `decide` runs inside the handler, so it may also leave by throwing (or rethrowing).
bool RetryDataDiskStep(const std::function<void()>& step,
                       const std::function<RetryDecision(const VError&)>& decide);

// The message of a data-disk failure the user can mend and retry: a missing disk ("Data disk
// not found!"), a write-protected one, or one that reports a device error. Empty for any other
// failure (a full disk, for example), which callers show as ErrorText.
QString DataDiskRetryText(const VError& e);

// The text of a device error (a disk that is there but fails): which file, and what to do.
QString DeviceErrorText(const VError& e);

// Shows a retry message with OK (try again) and Cancel; true for OK.
bool AskDiskRetry(const QString& text);

// The usual decision: the retry message with OK and Cancel, or ErrorText with OK alone.
// True when the user asks to try again.
bool AskDataDiskRetry(const VError& e);

// Runs a step against the data disk under AskDataDiskRetry. True once the step succeeded;
// false when the user gave up.
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
