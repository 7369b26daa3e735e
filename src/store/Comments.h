#pragma once

#include <QString>

#include <array>

// Staff comments: the file Comments.dat on the data disk, one fixed record of 300 single-byte
// characters per client record, with no separators. Record i is the comment of client i.
namespace varenta {

inline constexpr const char* CommentsFileName = "Comments.dat";
inline constexpr int CommentLength = 300;

// The comments file of the current data disk (DataPath + "/" + "Comments.dat", found without
// regard to case).
QString CommentsFilePath();

// Reads records 1..ClientCount into their slots; the other slots become blank. A missing file
// gives every client an empty comment and is not created (the disk may be read-only).
void LoadComments();

// A slot's comment as the report prints it: NULs removed, blanks trimmed.
QString CommentText(int slot);

// One client record's comment as the report prints it, read alone from the file (the same
// text LoadComments and CommentText give); empty when the file or the record is missing.
QString ReadComment(int record);

// Stores `text` as the current client's comment (at most 500 characters taken, cut or padded
// to 300, each line break stored as blanks) and rewrites the comments file with records
// 1..ClientCount. The other records are read afresh from the file first, so no comment is lost
// to a stale table. Nothing is written unless the data disk is still the one loaded
// (CheckDataDisk), and never through a symbolic link. The new file replaces the old one only
// once it is complete on the disk: a failed write throws VError and leaves the old file and
// the table as they were.
void SaveComment(const QString& text);

// After a save that failed: whether the disk itself (not what the computer kept of it in
// memory) holds `text` as the current client's comment, so the save got there after all.
bool CommentReachedDisk(const QString& text);

} // namespace varenta
