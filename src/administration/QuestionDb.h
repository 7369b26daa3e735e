#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The question database qv32.mdb beside the program: one table per presentation language
// ("English", "Spanish"), one row per item in item order. It is a SQLite file, built from the
// item sources at build time and only ever read by the program. Failures throw VError naming
// the file, with the numbers the windows' handlers know.
namespace varenta::administration {

// Error numbers of the question database beyond the file-level ones (3024 cannot find file,
// 3051 cannot open file) that app/Errors.h names.
namespace qdb {
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int TableNotFound = 3078;
inline constexpr int FieldNotFound = 3265;
} // namespace qdb

// The columns every question table has, in stored order.
const QStringList& QuestionColumns();

// The question database file: QuestionDbPath as start-up found it, or qv32.mdb in the program
// folder (matched without regard to case) when start-up has not run.
QString QuestionDbLocation();

// One question table, read whole when it is opened, with a current-row cursor in the manner
// of a record set: rows in stored order, first/next/previous/last moves, before-first (BOF)
// and end (EOF) tests, fields by name without regard to case, Null fields as null variants.
// It holds no connection, so it stays usable after the database is closed.
class QuestionTable {
public:
    QuestionTable() = default;

    const QString& name() const { return name_; }
    const QString& file() const { return file_; }
    int RecordCount() const { return int(rows_.size()); }

    // A freshly opened table stands on its first row (BOF and EOF both true when empty).
    void MoveFirst();
    void MoveNext();      // past the last row: EOF; at EOF it stays there
    void MovePrevious();  // before the first row: BOF; at BOF it stays there
    void MoveTo(int row); // 0-based; outside the rows gives BOF or EOF
    bool AtBOF() const { return rows_.empty() || pos_ < 0; }
    bool AtEOF() const { return rows_.empty() || pos_ >= int(rows_.size()); }
    int Position() const { return pos_; } // 0-based; -1 at BOF, RecordCount() at EOF

    // The current row's field; a null variant for Null. Throws VError: 3021 without a current
    // row, 3265 for a field the table does not have.
    QVariant Field(const QString& field) const;
    bool IsNull(const QString& field) const { return Field(field).isNull(); }
    // The field as text, Null giving an empty text.
    QString Text(const QString& field) const;

    // A field of any row without moving the cursor (same errors as Field).
    QVariant FieldAt(int row, const QString& field) const;

    // For the database layer and tests: a table from its columns and rows.
    static QuestionTable FromRows(const QString& name, const QString& file,
                                  const QStringList& columns,
                                  std::vector<std::vector<QVariant>> rows);

private:
    int ColumnIndex(const QString& field) const;

    QString name_;
    QString file_;
    QHash<QString, int> index_; // lower-case field name -> column
    std::vector<std::vector<QVariant>> rows_;
    int pos_ = -1;
};

// An open question database. Opened read-only: the program has one user and never changes
// the file, so read-only access gives it all that exclusive use would, without locking
// anyone out. Each instance has its own connection, closed and removed by Close() or the
// destructor; nothing stays open between operations.
class QuestionDb {
public:
    // Throws VError 3024 when the file is missing, 3051 when it cannot be opened or is not a
    // question database.
    explicit QuestionDb(const QString& path = QuestionDbLocation());
    ~QuestionDb();
    QuestionDb(const QuestionDb&) = delete;
    QuestionDb& operator=(const QuestionDb&) = delete;

    const QString& path() const { return path_; }

    // Table names in stored (creation) order.
    QStringList TableNames() const;
    // Reads a table whole. The name must match exactly (case counts). Throws VError 3078 when
    // there is no such table, 3051 when it lacks a question column or cannot be read.
    QuestionTable OpenTable(const QString& name) const;

    void Close();

private:
    QString path_;
    QString connection_;
};

// Reads one item source: tab-separated UTF-8, "#" comment lines, the header line naming the
// question columns, then one row per item with IDs 1 to 116 in order. An empty cell is Null.
// Throws VError naming the file and line of the first fault.
QuestionTable ReadItemSource(const QString& tsvPath);

// Builds the question database `outFile` from item sources, one table per file named after the
// file (English.tsv gives "English"), created in the order given. The old file is replaced
// only once the new one is complete.
void BuildQuestionDb(const QStringList& tsvFiles, const QString& outFile);

} // namespace varenta::administration
