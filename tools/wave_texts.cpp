// Build-time tool: what each wave of a language's sound folder says. Reads the item source and
// the instruction texts of the program itself, writes one text file per wave into a folder
// (rewritten only when its text changed, so unchanged waves are not spoken again) and prints
// the wave base names, one a line, for the speech step.
#include "administration/QuestionDb.h"
#include "administration/TestSpec.h"
#include "app/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>

namespace {

using varenta::VError;

// Spoken, not shown: guillemets and double blanks mean nothing to a voice, while a heading
// needs a full stop to be followed by a pause.
QString ForSpeech(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(QChar(u'«')).remove(QChar(u'»'));
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.simplified();
        if (line.isEmpty())
            continue;
        if (!QStringLiteral(".:?!,;").contains(line.back()))
            line += QLatin1Char('.');
        lines << line;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool SafeName(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
    return re.match(name).hasMatch();
}

void WriteIfChanged(const QString& path, const QByteArray& bytes) {
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
        return;
    old.close();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw VError(varenta::err::PermissionDenied, QStringLiteral("cannot write ") + path);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString language, items, textDir;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--language"))
            language = args[i + 1];
        else if (args[i] == QLatin1String("--items"))
            items = args[i + 1];
        else if (args[i] == QLatin1String("--text-dir"))
            textDir = args[i + 1];
    }
    if (language.isEmpty() || items.isEmpty() || textDir.isEmpty()) {
        std::fprintf(stderr, "usage: wave_texts --language NAME --items FILE.tsv --text-dir DIR\n");
        return 2;
    }
    const bool spanish = language.trimmed().toUpper() == QLatin1String("SPANISH");
    try {
        varenta::administration::QuestionTable table =
            varenta::administration::ReadItemSource(items);
        QMap<QString, QString> waves; // base name -> text; sorted, so the output is stable
        const auto add = [&](const QString& name, const QString& text, int row) {
            if (!SafeName(name))
                throw VError(varenta::err::BadFileName,
                             QStringLiteral("%1, row %2: unusable wave name \"%3\"")
                                 .arg(items)
                                 .arg(row + 1)
                                 .arg(name));
            const QString spoken = ForSpeech(text);
            const auto it = waves.constFind(name);
            if (it != waves.constEnd() && *it != spoken)
                throw VError(varenta::err::BadFileName,
                             QStringLiteral("%1, row %2: wave \"%3\" would say two texts")
                                 .arg(items)
                                 .arg(row + 1)
                                 .arg(name));
            waves.insert(name, spoken);
        };

        // The answers many items share are named by letter and recorded once.
        const QMap<QString, QString> shared{{QStringLiteral("T"), QStringLiteral("True")},
                                            {QStringLiteral("F"), QStringLiteral("False")},
                                            {QStringLiteral("Y"), QStringLiteral("Yes")},
                                            {QStringLiteral("N"), QStringLiteral("No")}};
        QMap<QString, QString> sharedText{
            {QStringLiteral("True"), spanish ? QStringLiteral("Cierto") : QStringLiteral("True")},
            {QStringLiteral("False"), spanish ? QStringLiteral("Falso") : QStringLiteral("False")},
            {QStringLiteral("Yes"), spanish ? QStringLiteral("Sí") : QStringLiteral("Yes")},
            {QStringLiteral("No"), QStringLiteral("No")}};
        for (int row = 0; row < table.RecordCount(); ++row) {
            const auto text = [&](const QString& f) {
                const QVariant v = table.FieldAt(row, f);
                return v.isNull() ? QString() : v.toString().trimmed();
            };
            add(text(QStringLiteral("QuestionAudio")), text(QStringLiteral("TestQuestion")), row);
            for (int k = 1; k <= 5; ++k) {
                const QString name = text(QStringLiteral("ChoiceAudio%1").arg(k));
                const QString answer = text(QStringLiteral("ANSWER%1").arg(k));
                if (name.isEmpty() || answer.isEmpty())
                    continue;
                if (shared.contains(name.toUpper()))
                    sharedText[shared[name.toUpper()]] = answer; // the table's own wording
                else
                    add(name, answer, row);
            }
        }
        for (auto it = sharedText.cbegin(); it != sharedText.cend(); ++it)
            add(it.key(), it.value(), -1);
        varenta::administration::SetInstructionTexts(language);
        for (int n = 0; n < 4; ++n)
            add(QStringLiteral("Inst%1").arg(n), varenta::administration::InstructionText(n), -1);

        QDir().mkpath(textDir);
        for (auto it = waves.cbegin(); it != waves.cend(); ++it) {
            WriteIfChanged(QDir(textDir).filePath(it.key() + QStringLiteral(".txt")),
                           it.value().toUtf8());
            std::printf("%s\n", qPrintable(it.key()));
        }
    } catch (const VError& e) {
        std::fprintf(stderr, "wave_texts: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
