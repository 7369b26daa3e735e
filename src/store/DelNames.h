#pragma once

#include <QString>

// Makes the clients' names on the data disk unreadable while keeping every other field, so a
// finished disk can leave the office without identifying anyone.
namespace varenta {

// Shifts every character of `text` but the blank: direction 0 scrambles, any other value
// restores. A character whose shifted code would leave the single-byte code page (and one the
// code page cannot hold at all) is left as it is, so no character is ever lost or replaced.
void Encrypt(QString& text, qint16 direction);

// Asks for confirmation, then scrambles and flags the name of every client not flagged yet,
// writing each record as soon as it is done. Shows its own messages. A write that fails and is
// not retried stops the run and says which clients are done; a later run finishes the job.
void DelNames();

} // namespace varenta
