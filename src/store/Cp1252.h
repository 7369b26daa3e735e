#pragma once

#include <QByteArray>
#include <QString>

// The single-byte Windows code page in which client data is stored.
namespace varenta::cp1252 {

QString Decode(const QByteArray& bytes);
QChar DecodeByte(unsigned char byte);

// Encodes text; a character the code page cannot hold becomes "?".
QByteArray Encode(const QString& text);

// Whether a character can be stored as it is.
bool CanEncode(QChar c);
int ByteOf(QChar c); // -1 when the code page has no such character

} // namespace varenta::cp1252
