#pragma once

#include "store/ClientRecord.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

// What every fuzz target shares: a program folder holding the files that ship with the
// program, a data disk, and a message sink that answers every box at once. Each target puts
// the input where the program reads it, runs the reader and what consumes its result, and
// lets only the program's own errors (VError) pass; anything else is a finding.
namespace varenta::fuzz {

// Makes the folders once per process and points the shared state at them: ProgramDir and the
// data disk (marker, client data file of `clients`, no comments file).
void SetUp(const std::vector<ClientRecord>& clients);

QString ProgramDir();
QString DiskDir();

// Writes a file whole (not through the program's own file layer: the input is not its work).
void Put(const QString& path, const QByteArray& bytes);
QByteArray Bytes(const uint8_t* data, size_t size);

// Clients that reach every part of the report between them: low risk, high risk, a mix, an
// invalid test (too many True answers), and one with unanswered items.
std::vector<ClientRecord> VariedClients();

// Scores the current client and writes the report, then reads it back as the viewer and the
// printer do. Program errors are expected; they are swallowed.
void ScoreAndView();

// Loads the disk's clients and the scoring tables, then scores and views every client; a
// program error while loading ends the run quietly.
void LoadAndScoreEveryClient();

// Stops the run with a message: an invariant the input broke.
[[noreturn]] void Broken(const char* what, const QString& detail = QString());

} // namespace varenta::fuzz
