#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Helpers shared by the scoring and the report writer.
namespace varenta::scoring::internal {

// The most a file beside the program may hold: far above any real one (a few kilobytes),
// far below what would stall a report or fill the viewer.
inline constexpr qint64 MaxTableFileSize = 1 << 20;     // QVB.TXT, QVRPT.TXT
inline constexpr qint64 MaxParagraphFileSize = 1 << 18; // paragraph files, INVAL.TXT

// Reads a file beside the program, found without regard to case; a failure names the file and
// its role ("scoring tables", "paragraph", ...). A file larger than `limit` is not read.
QByteArray ReadProgramFile(const char* name, const char* role, qint64 limit);

// A piece of a file's text for a message: at most 40 characters.
QString Short(const QString& text);

// The value of the leading digits of a text ("7x" is 7; "N/A" and "" are 0).
int LeadingNumber(const QString& text);

// A stored date as the report prints it: "N" (any case) is "N/A", a readable month/day/year
// date is "mm/dd/yyyy", anything else is shown as stored, trimmed.
QString FormatReportDate(const QString& stored);

// Text in the Windows code page, converted quickly: most of it is plain ASCII.
QString Decode(QByteArrayView bytes);
QByteArray Encode(const QString& text);

// What a finished report leaves behind: no tables or texts, and only the raw scores and
// percentiles of the score sheet.
void ClearAfterReport();

} // namespace varenta::scoring::internal
