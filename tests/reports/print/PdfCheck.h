#pragma once

// Reads printed PDF files back with the poppler tools, the way a user would look at them:
// page count, text per page, and where each word landed.
#include "reports/print/ReportPrint.h"

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace varenta::testing::pdf {

inline QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int PageCount(const QString& path) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run("pdfinfo", {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of one page (1-based), laid out in columns.
inline QString PageText(const QString& path, int page) {
    return Run("pdftotext",
               {"-layout", "-f", QString::number(page), "-l", QString::number(page), path, "-"});
}

// Non-blank lines with their runs of blanks collapsed, for comparing printed lines.
inline QStringList Simplified(const QString& text) {
    QStringList out;
    for (const QString& l : text.split(QRegularExpression(QStringLiteral("[\r\n\f]"))))
        if (!l.trimmed().isEmpty())
            out << l.simplified();
    return out;
}
inline QStringList Simplified(const QStringList& lines) {
    return Simplified(lines.join(QLatin1Char('\n')));
}

struct Word {
    int page = 0; // 1-based
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text; // as pdftotext escapes it (&amp; for &)
};

inline std::vector<Word> Words(const QString& path) {
    std::vector<Word> words;
    const QString html = Run("pdftotext", {"-bbox", path, "-"});
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5)});
    }
    return words;
}

// Printing as on a machine without a printer, for as long as the guard lives: reports go into
// PDF files, into `path` when one is given (otherwise the test sets where).
class NoPrinter {
public:
    explicit NoPrinter(const QString& path = QString()) {
        reports::PrintUi() = {};
        reports::PrintUi().printerAvailable = [] { return false; };
        if (!path.isEmpty())
            reports::PrintUi().choosePdfPath = [path](const QString&) { return path; };
    }
    ~NoPrinter() { reports::PrintUi() = hooks_; }
    NoPrinter(const NoPrinter&) = delete;
    NoPrinter& operator=(const NoPrinter&) = delete;

private:
    reports::PrintHooks hooks_ = reports::PrintUi(); // put back when the guard ends
};

} // namespace varenta::testing::pdf
