#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The report file as text, and its division into printed pages.
namespace varenta::reports {

// The program folder's report file (its name matched without regard to case).
QString ReportPath();

// The report's text, decoded from the single-byte code page, less its final line feed. A file
// that does not end with a line feed loses nothing. Throws VError when it cannot be read.
QString ReadReportFile(const QString& path);
QString ReadReportFile(); // the program folder's report

// The report's pages: the text is cut at every form feed, the line end closing a form-feed
// line is not a line of the next page, and lines end at CR LF, CR or LF. Blank lines ending a
// page are dropped (they print nothing); a page with nothing on it is not a page at all.
QList<QStringList> SplitReportPages(const QString& text);

} // namespace varenta::reports
