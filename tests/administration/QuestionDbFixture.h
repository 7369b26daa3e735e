#pragma once

// Question databases made on the spot, so tests do not depend on the shipped items.
#include "administration/QuestionDb.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <QStringList>

namespace varenta::testing {

// Item source text of a 116-item table laid out as the test is: items 1-63 true-false,
// 64-97 frequency, 98-116 numbered. `tag` marks the statements so tables can be told apart.
inline QByteArray ItemSourceText(const QString& tag = QStringLiteral("E")) {
    QStringList lines;
    lines << QStringLiteral("# demonstration items");
    lines << administration::QuestionColumns().join(QLatin1Char('\t'));
    for (int id = 1; id <= 116; ++id) {
        QStringList cells;
        cells << QString::number(id) << QStringLiteral("%1 statement %2 ñ").arg(tag).arg(id)
              << QStringLiteral("q%1").arg(id);
        if (id <= 63)
            cells << QStringList{"True", "False", "", "", ""};
        else if (id <= 97)
            cells << QStringList{"Rare or Never", "Sometimes", "Often", "Very Often or Always", ""};
        else
            cells << QStringList{"None", "One", "Two", "Three or more", ""};
        const int answers = id <= 63 ? 2 : 4;
        for (int a = 1; a <= 5; ++a)
            cells << (a <= answers ? QStringLiteral("a%1_%2").arg(id).arg(a) : QString());
        lines << cells.join(QLatin1Char('\t'));
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

// Builds `folder`/qv32.mdb with the named tables (each from ItemSourceText) and points the
// globals at it.
inline QString MakeQuestionDb(const QString& folder,
                              const QStringList& tables = {QStringLiteral("English"),
                                                           QStringLiteral("Spanish")}) {
    QStringList sources;
    for (const QString& t : tables) {
        const QString src = folder + QLatin1Char('/') + t + QStringLiteral(".tsv");
        WriteFile(src, ItemSourceText(t.left(1)));
        sources << src;
    }
    const QString db = folder + QStringLiteral("/qv32.mdb");
    administration::BuildQuestionDb(sources, db);
    Globals().ProgramDir = folder;
    Globals().QuestionDbPath = db;
    return db;
}

} // namespace varenta::testing
