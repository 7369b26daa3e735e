#pragma once

#include <QString>

// Reading and writing keys of a profile file ("[Section]" lines, then "key=value" lines) with
// the rules the configuration file relies on: section and key names match without regard to
// case; a value is trimmed of surrounding blanks (and of one pair of enclosing quotes) and cut
// to the buffer size less one; a missing file or key gives the default.
namespace varenta::profile {

QString GetString(const QString& file, const QString& section, const QString& key,
                  const QString& defaultValue, int bufferSize);

// Sets a key, creating the file, the section or the key as needed; every other line of the
// file is kept as it was. The file is replaced atomically. Throws VError on failure.
void WriteString(const QString& file, const QString& section, const QString& key,
                 const QString& value);

} // namespace varenta::profile
