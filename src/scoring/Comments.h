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

// The in-memory comments, slots 0..51 of exactly 300 characters; slot i is client record i.
// A record never written (beyond the file's end) holds NUL characters, which stand for an
// empty comment.
std::array<QString, 52>& CommentSlots();

// Reads records 1..ClientCount into their slots; the other slots become blank. A missing file
// gives every client an empty comment and is not created (the disk may be read-only).
void LoadComments();

// A slot's comment as the report prints it: NULs removed, blanks trimmed.
QString CommentText(int slot);

} // namespace varenta
