#include "reports/print/ReportText.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/Cp1252.h"

namespace varenta::reports {

namespace {

bool IsBlank(const QString& line) {
    for (QChar c : line)
        if (!c.isSpace())
            return false;
    return true;
}

QStringList SplitLines(const QString& page) {
    QStringList lines;
    QString current;
    bool open = false; // characters seen since the last line end
    for (qsizetype i = 0; i < page.size(); ++i) {
        const QChar c = page[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < page.size() && page[i + 1] == QLatin1Char('\n'))
                ++i;
            lines << current;
            current.clear();
            open = false;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        lines << current;
    return lines;
}

} // namespace

QString ReportPath() {
    return scoring::ReportFilePath();
}

QString ReadReportFile(const QString& path) {
    QByteArray bytes = fileio::ReadAll(path);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    return cp1252::Decode(bytes);
}

QString ReadReportFile() {
    return ReadReportFile(ReportPath());
}

QList<QStringList> SplitReportPages(const QString& text) {
    QList<QStringList> pages;
    const QStringList pieces = text.split(QLatin1Char('\f'));
    for (qsizetype n = 0; n < pieces.size(); ++n) {
        QString piece = pieces[n];
        // The line end after a form feed belongs to the form-feed line.
        if (n > 0) {
            if (piece.startsWith(QLatin1String("\r\n")))
                piece.remove(0, 2);
            else if (piece.startsWith(QLatin1Char('\r')) || piece.startsWith(QLatin1Char('\n')))
                piece.remove(0, 1);
        }
        QStringList lines = SplitLines(piece);
        while (!lines.isEmpty() && IsBlank(lines.last()))
            lines.removeLast();
        if (!lines.isEmpty())
            pages << lines;
    }
    return pages;
}

} // namespace varenta::reports
