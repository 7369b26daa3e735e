// Build-time tool: turns the item sources into the question database beside the program.
// Kept apart from varenta-cli so that building the program's data needs only the database
// layer, not every feature the command line links.
#include "administration/QuestionDb.h"
#include "app/Errors.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString out;
    QStringList sources;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else
            sources << args[i];
    }
    if (out.isEmpty() || sources.isEmpty()) {
        std::fprintf(stderr, "usage: build_question_db --out FILE ITEMS.tsv...\n");
        return 2;
    }
    try {
        varenta::administration::BuildQuestionDb(sources, out);
    } catch (const varenta::VError& e) {
        std::fprintf(stderr, "build_question_db: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
