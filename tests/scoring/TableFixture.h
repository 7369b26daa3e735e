#pragma once

#include "store/ClientRecord.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <ostream>
#include <random>
#include <vector>

#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Scoring tables, report texts and paragraph files written into a temporary program folder,
// so tests know every value the scoring reads.
namespace varenta::testing {

struct TableSet {
    std::array<int, 25> significant{};                                   // 1..24
    std::array<std::array<QByteArray, 5>, 4> keys;                       // [section][code]
    std::array<std::array<std::array<std::vector<int>, 5>, 4>, 3> norms; // [g][r][s]: raw 1..N
    std::array<std::array<std::vector<int>, 3>, 4> stressPercentiles;    // [r][g]
    std::array<std::vector<int>, 3> stressBounds;                        // [g]
    std::array<std::vector<int>, 5> scaleItems;                          // s 1..4
    std::array<int, 46> minimumItems{};                                  // 1..45
    std::array<std::array<int, 10>, 6> truth{};                          // [s 2..5][band]
    QStringList scaleNames, rangeNames, significantTexts, choiceTexts, invalidLines;
    std::array<int, 6> paragraphLines{0, 2, 2, 2, 2, 2}; // lines per paragraph, by scale

    // Small hand-workable tables: a deviant answer earns points (section 1: 1; sections 2
    // and 3: the distance from the lowest-risk answer), the lowest-risk answers earn none;
    // every norm is min(99, 3 * raw) up to 40; stress bands of width 10 from 0 to 200 have
    // percentiles 4, 9, 14, ... 99; no truthfulness correction.
    static TableSet Simple();
    static TableSet Random(std::mt19937& rng); // valid tables of full size, random values

    QByteArray ScoringFile() const; // QVB.TXT
    QByteArray TextsFile() const;   // QVRPT.TXT
    QByteArray ParagraphFile(int scale) const;
    void WriteTo(const QString& folder) const;
};

// A client with the lowest-risk answers and no court history.
ClientRecord PlainClient();

inline void Answer(ClientRecord& c, int item, int code) {
    c.Responses[item - 1] = QChar(u'0' + code);
}

// A report's lines, split at CR LF (every line end must be one).
inline QStringList ReportLines(const QByteArray& report) {
    EXPECT_TRUE(report.endsWith("\r\n"));
    EXPECT_EQ(report.count('\n'), report.count("\r\n"));
    return cp1252::Decode(report.chopped(report.endsWith("\r\n") ? 2 : 0)).split("\r\n");
}

// A report's pages, each a list of lines (a form-feed line ends a page; one ending the report
// starts none).
inline QList<QStringList> ReportPages(const QByteArray& report) {
    QList<QStringList> pages{{}};
    for (const QString& line : ReportLines(report)) {
        if (line == "\f")
            pages.append(QStringList());
        else
            pages.last() << line;
    }
    if (pages.last().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace varenta::testing
