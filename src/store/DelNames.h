#pragma once

#include <QString>

// Makes the clients' names on the data disk unreadable while keeping every other field, so a
// finished disk can leave the office without identifying anyone.
namespace varenta {

// Changes every character of `text` but the blank into another printable character of the
// single-byte code page: direction 0 scrambles, any other value restores. Restoring gives
// back any scrambled name exactly, and also the names scrambled before the rule covered the
// codes whose shift left the code page or gave a control character.
void Encrypt(QString& text, qint16 direction);

// Asks for confirmation, then scrambles and flags the name of every client not flagged yet,
// writing each record as soon as it is done. Shows its own messages. A write that fails and is
// not retried stops the run and says which clients are done; a later run finishes the job.
void DelNames();

} // namespace varenta
