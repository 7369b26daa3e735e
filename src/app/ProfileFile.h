#pragma once

#include <QString>

#include <optional>

// Reading and writing keys of a profile file ("[Section]" lines, then "key=value" lines) with
// the rules the configuration file relies on: section and key names match without regard to
// case; a value is trimmed of surrounding blanks (and of one pair of enclosing quotes) and cut
// to the buffer size less one; a missing file or key gives the default.
namespace varenta::profile {

// The largest configuration file read: far above any real one (a few hundred bytes).
inline constexpr qint64 MaxFileSize = 256 * 1024;

QString GetString(const QString& file, const QString& section, const QString& key,
                  const QString& defaultValue, int bufferSize);

// The text stored for a key, trimmed of surrounding blanks but with its quotes and whole;
// nothing when the file or the key is missing or the file cannot be read.
std::optional<QString> GetStoredText(const QString& file, const QString& section,
                                     const QString& key);

// Why the file cannot be read as a profile (too large); empty when it can, or is missing.
QString ReadProblem(const QString& file);

// Sets a key, creating the file, the section or the key as needed; every other line of the
// file is kept as it was. The file is replaced atomically (a file linked here from elsewhere
// is replaced where it lies). A section, key or value holding a line break would write lines
// of its own into the file: it is refused (error 52), as is a file too large to be read.
// Throws VError on failure.
void WriteString(const QString& file, const QString& section, const QString& key,
                 const QString& value);

} // namespace varenta::profile
