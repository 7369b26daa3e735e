#include "administration/QuestionDb.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Paths.h"
#include "app/StartUp.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <atomic>

namespace varenta::administration {

namespace {

QString Quoted(const QString& identifier) {
    return QLatin1Char('"') +
           QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString NextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("varenta-questions-%1").arg(++counter);
}

VError Damaged(const QString& path, const QString& detail) {
    return VError(err::DbCannotOpen,
                  QStringLiteral("The question database %1 cannot be read (%2). Reinstall the "
                                 "program's files.")
                      .arg(path, detail));
}

} // namespace

const QStringList& QuestionColumns() {
    static const QStringList columns = {QStringLiteral("ID"),
                                        QStringLiteral("TestQuestion"),
                                        QStringLiteral("QuestionAudio"),
                                        QStringLiteral("ANSWER1"),
                                        QStringLiteral("ANSWER2"),
                                        QStringLiteral("ANSWER3"),
                                        QStringLiteral("ANSWER4"),
                                        QStringLiteral("ANSWER5"),
                                        QStringLiteral("ChoiceAudio1"),
                                        QStringLiteral("ChoiceAudio2"),
                                        QStringLiteral("ChoiceAudio3"),
                                        QStringLiteral("ChoiceAudio4"),
                                        QStringLiteral("ChoiceAudio5")};
    return columns;
}

QString QuestionDbLocation() {
    const GlobalState& g = Globals();
    if (!g.QuestionDbPath.isEmpty())
        return g.QuestionDbPath;
    return paths::ShippedFile(QString::fromLatin1(QuestionDbFileName));
}

// ---- QuestionTable ----

QuestionTable QuestionTable::FromRows(const QString& name, const QString& file,
                                      const QStringList& columns,
                                      std::vector<std::vector<QVariant>> rows) {
    QuestionTable t;
    t.name_ = name;
    t.file_ = file;
    for (int i = 0; i < columns.size(); ++i)
        t.index_.insert(columns[i].toLower(), i);
    t.rows_ = std::move(rows);
    t.pos_ = t.rows_.empty() ? -1 : 0;
    return t;
}

void QuestionTable::MoveFirst() {
    pos_ = rows_.empty() ? -1 : 0;
}
void QuestionTable::MoveNext() {
    if (pos_ < int(rows_.size()))
        ++pos_;
}

void QuestionTable::MovePrevious() {
    if (pos_ >= 0)
        --pos_;
}

void QuestionTable::MoveTo(int row) {
    if (row < 0)
        pos_ = -1;
    else if (row >= int(rows_.size()))
        pos_ = int(rows_.size());
    else
        pos_ = row;
}

int QuestionTable::ColumnIndex(const QString& field) const {
    const auto it = index_.constFind(field.toLower());
    if (it == index_.constEnd())
        throw VError(qdb::FieldNotFound,
                     QStringLiteral("The question table %1 in %2 has no field %3.")
                         .arg(name_, file_, field));
    return *it;
}

QVariant QuestionTable::FieldAt(int row, const QString& field) const {
    const int column = ColumnIndex(field);
    if (row < 0 || row >= int(rows_.size()))
        throw VError(
            qdb::NoCurrentRecord,
            QStringLiteral("No current record in the question table %1 of %2.").arg(name_, file_));
    return rows_[size_t(row)][size_t(column)];
}

QVariant QuestionTable::Field(const QString& field) const {
    return FieldAt(pos_, field);
}

QString QuestionTable::Text(const QString& field) const {
    const QVariant v = Field(field);
    return v.isNull() ? QString() : v.toString();
}

// ---- QuestionDb ----

QuestionDb::QuestionDb(const QString& path) : path_(path) {
    if (path_.isEmpty() || !QFileInfo(path_).isFile())
        throw VError(err::DbCannotFindFile,
                     QStringLiteral("The question database %1 was not found. Reinstall the "
                                    "program's files.")
                         .arg(path_.isEmpty() ? QString::fromLatin1(QuestionDbFileName) : path_));
    connection_ = NextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path_);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            const QString detail = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection_);
            connection_.clear();
            throw Damaged(path_, detail);
        }
        // SQLite reads the file lazily: a file that is not a database fails only now.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            const QString detail = probe.lastError().text();
            probe = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection_);
            connection_.clear();
            throw Damaged(path_, detail);
        }
    }
}

QuestionDb::~QuestionDb() {
    Close();
}

void QuestionDb::Close() {
    if (connection_.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

QStringList QuestionDb::TableNames() const {
    QStringList names;
    if (connection_.isEmpty())
        return names;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
            "ORDER BY rowid")))
        throw Damaged(path_, q.lastError().text());
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QuestionTable QuestionDb::OpenTable(const QString& name) const {
    // SQLite matches table names without regard to case; a language table must match exactly.
    if (!TableNames().contains(name))
        throw VError(qdb::TableNotFound,
                     QStringLiteral("The question database %1 has no table %2. Reinstall the "
                                    "program's files.")
                         .arg(path_, name));
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(Quoted(name))))
        throw Damaged(path_, q.lastError().text());
    const QSqlRecord rec = q.record();
    QStringList columns;
    for (int i = 0; i < rec.count(); ++i)
        columns << rec.fieldName(i);
    for (const QString& needed : QuestionColumns()) {
        bool found = false;
        for (const QString& c : columns)
            found = found || c.compare(needed, Qt::CaseInsensitive) == 0;
        if (!found)
            throw Damaged(path_, QStringLiteral("table %1 has no field %2").arg(name, needed));
    }
    std::vector<std::vector<QVariant>> rows;
    while (q.next()) {
        std::vector<QVariant> row;
        row.reserve(size_t(columns.size()));
        for (int i = 0; i < columns.size(); ++i)
            row.push_back(q.value(i));
        rows.push_back(std::move(row));
    }
    if (q.lastError().isValid())
        throw Damaged(path_, q.lastError().text());
    return QuestionTable::FromRows(name, path_, columns, std::move(rows));
}

// ---- Building ----

QuestionTable ReadItemSource(const QString& tsvPath) {
    // An item source is some tens of kilobytes; far larger is not one.
    const QByteArray bytes = fileio::ReadAll(tsvPath, qint64(4) << 20);
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        throw VError(err::BadFileName, QStringLiteral("%1 is not valid UTF-8 text.").arg(tsvPath));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QStringList& columns = QuestionColumns();
    auto fault = [&](int line, const QString& what) {
        return VError(err::BadFileName,
                      QStringLiteral("%1:%2: %3").arg(tsvPath).arg(line).arg(what));
    };
    bool headerSeen = false;
    std::vector<std::vector<QVariant>> rows;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (!headerSeen) {
            if (cells != columns)
                throw fault(i + 1, QStringLiteral("the header line must name the columns %1")
                                       .arg(columns.join(QLatin1Char(' '))));
            headerSeen = true;
            continue;
        }
        if (cells.size() != columns.size())
            throw fault(
                i + 1,
                QStringLiteral("%1 cells, %2 expected").arg(cells.size()).arg(columns.size()));
        const int expectedId = int(rows.size()) + 1;
        bool ok = false;
        const int id = cells[0].trimmed().toInt(&ok);
        if (!ok || id != expectedId)
            throw fault(i + 1,
                        QStringLiteral("item ID %1 expected, found \"%2\"")
                            .arg(expectedId)
                            .arg(cells[0].size() > 40 ? cells[0].left(37) + QStringLiteral("...")
                                                      : cells[0]));
        if (cells[3].isEmpty() || cells[4].isEmpty())
            throw fault(i + 1, QStringLiteral("ANSWER1 and ANSWER2 must not be empty"));
        std::vector<QVariant> row;
        row.push_back(QVariant(id));
        for (int c = 1; c < cells.size(); ++c)
            row.push_back(cells[c].isEmpty() ? QVariant() : QVariant(cells[c]));
        rows.push_back(std::move(row));
    }
    if (!headerSeen)
        throw fault(lines.size(), QStringLiteral("no header line"));
    if (int(rows.size()) != ItemCount)
        throw fault(lines.size(),
                    QStringLiteral("%1 items, %2 expected").arg(rows.size()).arg(ItemCount));
    return QuestionTable::FromRows(QFileInfo(tsvPath).completeBaseName(), tsvPath, columns,
                                   std::move(rows));
}

void BuildQuestionDb(const QStringList& tsvFiles, const QString& outFile) {
    std::vector<QuestionTable> tables;
    QStringList names;
    for (const QString& f : tsvFiles) {
        tables.push_back(ReadItemSource(f));
        if (names.contains(tables.back().name()))
            throw VError(
                err::BadFileName,
                QStringLiteral("Two item sources give the table %1.").arg(tables.back().name()));
        names << tables.back().name();
    }

    const QString scratch =
        outFile + QStringLiteral(".building-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString connection = NextConnectionName();
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(scratch);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery q(db);
            auto run = [&](const QString& sql) {
                if (failure.isEmpty() && !q.exec(sql))
                    failure = q.lastError().text();
            };
            run(QStringLiteral("PRAGMA journal_mode = OFF"));
            run(QStringLiteral("BEGIN"));
            const QStringList& columns = QuestionColumns();
            for (const QuestionTable& t : tables) {
                QStringList defs;
                for (const QString& c : columns)
                    defs << Quoted(c) + (c == QLatin1String("ID") ? QStringLiteral(" INTEGER")
                                                                  : QStringLiteral(" TEXT"));
                run(QStringLiteral("CREATE TABLE %1 (%2)")
                        .arg(Quoted(t.name()), defs.join(QStringLiteral(", "))));
                QStringList marks;
                for (int i = 0; i < columns.size(); ++i)
                    marks << QStringLiteral("?");
                if (failure.isEmpty() &&
                    !q.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                   .arg(Quoted(t.name()), marks.join(QStringLiteral(", ")))))
                    failure = q.lastError().text();
                for (int r = 0; r < t.RecordCount() && failure.isEmpty(); ++r) {
                    for (int c = 0; c < columns.size(); ++c) {
                        const QVariant v = t.FieldAt(r, columns[c]);
                        q.bindValue(c, v.isNull() ? QVariant(QMetaType(c == 0 ? QMetaType::Int
                                                                              : QMetaType::QString))
                                                  : v);
                    }
                    if (!q.exec())
                        failure = q.lastError().text();
                }
            }
            run(QStringLiteral("COMMIT"));
            q = QSqlQuery();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (failure.isEmpty()) {
        try {
            fileio::ReplaceAtomically(outFile, fileio::ReadAll(scratch), 0644);
        } catch (...) {
            fileio::Remove(scratch);
            throw;
        }
    }
    fileio::Remove(scratch);
    if (!failure.isEmpty())
        throw VError(err::DbCannotOpen,
                     QStringLiteral("The question database %1 could not be built: %2")
                         .arg(outFile, failure));
}

} // namespace varenta::administration
