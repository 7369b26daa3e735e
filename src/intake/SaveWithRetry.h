#pragma once

#include "app/Errors.h"

#include <QString>

namespace varenta {

// Writes slot `slot` of Clients with SaveClient. When the write fails, the data-disk message
// says why: a missing disk ("Data disk not found!") or a write-protected one asks OK (try
// again) or Cancel; any other failure (a full disk, for example) shows "Error n:description".
// Returns true only when the record reached the disk. On false the caller keeps its window
// and data so the user can try again; a new record that was half written is cut off again,
// so that no partial record counts as a client the next time the disk is read.
bool SaveClientWithRetry(int slot);

// The message a failed client write shows; OK means "try again" when `retryable`.
struct SaveFailureMessage {
    QString title;
    QString text;
    bool retryable = false;
};
SaveFailureMessage DescribeSaveFailure(const VError& e);

} // namespace varenta
