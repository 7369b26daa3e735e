// The PrintDOS printout: the report goes to the printer as plain text, which the print service
// lays out in fixed pitch for whatever printer it is, page breaks at the form feeds. Nothing
// bypasses the service's filters, so a printer that only understands PostScript or PDF still
// prints every character.
#include "reports/print/Delivery.h"

#include <QPageSize>
#include <QSizeF>

#include <algorithm>
#include <cmath>

namespace varenta::reports {

namespace {

constexpr double MarginInches = 0.5;
constexpr int MarginPoints = 36;

QString RightTrimmed(const QString& line) {
    qsizetype n = line.size();
    while (n > 0 && line[n - 1].isSpace())
        --n;
    return line.left(n);
}

} // namespace

QByteArray PlainTextDocument(const QList<QStringList>& pages) {
    QString text;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0)
            text += QLatin1Char('\f');
        for (const QString& line : pages[p])
            text += RightTrimmed(line) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

std::pair<int, int> TextPitch(const QList<QStringList>& pages, QPageSize::PageSizeId paper) {
    qsizetype widest = 0;
    qsizetype longest = 0;
    for (const QStringList& page : pages) {
        longest = std::max(longest, page.size());
        for (const QString& line : page)
            widest = std::max(widest, RightTrimmed(line).size());
    }
    const QSizeF inches = QPageSize(paper).size(QPageSize::Inch);
    const double width = inches.width() - 2 * MarginInches;
    const double height = inches.height() - 2 * MarginInches;
    const int cpi = std::max(10, int(std::ceil(double(widest) / width - 1e-9)));
    const int lpi = std::max(6, int(std::ceil(double(longest) / height - 1e-9)));
    return {cpi, lpi};
}

PrintResult SendTextToPrinter(const QList<QStringList>& pages, const PrintTarget& target,
                              const QString& title) {
    const QPageSize::PageSizeId paper = target.paper().value_or(QPageSize::A4);
    const auto [cpi, lpi] = TextPitch(pages, paper);
    PrintJob job;
    job.printer = target.printer();
    job.title = title;
    job.format = QStringLiteral("text/plain;charset=utf-8");
    job.data = PlainTextDocument(pages);
    job.options = JobOptions(target, paper);
    job.options.append({QStringLiteral("cpi"), QString::number(cpi)});
    job.options.append({QStringLiteral("lpi"), QString::number(lpi)});
    for (const char* side : {"page-left", "page-right", "page-top", "page-bottom"})
        job.options.append({QString::fromLatin1(side), QString::number(MarginPoints)});
    return Deliver(job, target);
}

} // namespace varenta::reports
